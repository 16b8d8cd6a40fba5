#include <cmath>
#include <numbers>

#include "MathTestSupport.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

TEST(D3DXVec3, CrossIsRightHandedAndNormalizeKeepsZero)
{
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
    D3DXVECTOR3 out;
    D3DXVec3Cross(&out, &x, &y);
    EXPECT_EQ(out, D3DXVECTOR3(0, 0, 1));
    const D3DXVECTOR3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), 32.0f);
    EXPECT_FLOAT_EQ(D3DXVec3LengthSq(&a), 14.0f);

    const D3DXVECTOR3 v(3, 4, 0);
    D3DXVec3Normalize(&out, &v);
    ExpectVecNear(out, {0.6f, 0.8f, 0});
    const D3DXVECTOR3 zero;
    out = D3DXVECTOR3(7, 7, 7);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_EQ(out, D3DXVECTOR3(0, 0, 0));  // no NaN
    D3DXVECTOR3 inPlace(0, -2, 0);
    D3DXVec3Normalize(&inPlace, &inPlace);
    EXPECT_EQ(inPlace, D3DXVECTOR3(0, -1, 0));
}

TEST(D3DXVec3, TransformCoordDividesByWAndNormalIgnoresTranslation)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 10, 20, 30);
    m._44 = 2.0f;
    ExpectVecNear(Coord({2, 4, 6}, m), {6, 12, 18});  // (2+10, 4+20, 6+30) / 2

    D3DXMATRIX t;
    D3DXMatrixTranslation(&t, 10, 20, 30);
    const D3DXVECTOR3 dir(1, 0, 0);
    D3DXVECTOR3 out;
    D3DXVec3TransformNormal(&out, &dir, &t);
    EXPECT_EQ(out, dir);
    // w comes from the fourth column of the row: a projective term.
    D3DXMATRIX p;
    D3DXMatrixIdentity(&p);
    p._14 = 1.0f;  // w = x + 1
    ExpectVecNear(Coord({3, 8, 4}, p), {0.75f, 2, 1});
}

TEST(D3DXMatrix, MultiplyAppliesTheFirstArgumentFirst)
{
    D3DXMATRIX translate, scale, out;
    D3DXMatrixTranslation(&translate, 1, 0, 0);
    D3DXMatrixScaling(&scale, 2, 3, 4);
    D3DXMatrixMultiply(&out, &translate, &scale);
    ExpectVecNear(Coord({0, 1, 1}, out), {2, 3, 4});  // moved, then scaled
    D3DXMatrixMultiply(&out, &scale, &translate);
    ExpectVecNear(Coord({0, 1, 1}, out), {1, 3, 4});  // scaled, then moved
    ExpectMatrixNear(translate * scale,
                     D3DXMATRIX(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 2, 0, 0, 1));

    // Output aliasing either input.
    D3DXMATRIX a = translate;
    D3DXMatrixMultiply(&a, &a, &scale);
    ExpectMatrixNear(a, translate * scale);
    D3DXMATRIX b = scale;
    D3DXMatrixMultiply(&b, &translate, &b);
    ExpectMatrixNear(b, translate * scale);

    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&id));
    EXPECT_FALSE(D3DXMatrixIsIdentity(&translate));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&(id *= id)));
    EXPECT_EQ(D3DXMATRIX().m[3][3], 0.0f);  // the default matrix is zero

    D3DXMATRIX tt;
    D3DXMatrixTranspose(&tt, &translate);
    EXPECT_EQ(tt._14, 1.0f);
    EXPECT_EQ(tt._41, 0.0f);
}

TEST(D3DXMatrix, RotationAxisIsRightHandedForRowVectors)
{
    D3DXMATRIX r;
    const D3DXVECTOR3 z(0, 0, 1);
    D3DXMatrixRotationAxis(&r, &z, kPi / 2);
    ExpectVecNear(Coord({1, 0, 0}, r), {0, 1, 0});
    ExpectMatrixNear(r, D3DXMATRIX(0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1), 1e-6f);

    const D3DXVECTOR3 x(2, 0, 0);  // not unit: normalised inside
    D3DXMatrixRotationAxis(&r, &x, kPi / 2);
    ExpectVecNear(Coord({0, 1, 0}, r), {0, 0, 1});
    const D3DXVECTOR3 y(0, 1, 0);
    D3DXMatrixRotationAxis(&r, &y, kPi / 2);
    ExpectVecNear(Coord({0, 0, 1}, r), {1, 0, 0});

    // 120 degrees about (1, 1, 1) cycles the axes x -> y -> z.
    const D3DXVECTOR3 diag(1, 1, 1);
    D3DXMatrixRotationAxis(&r, &diag, 2 * kPi / 3);
    ExpectVecNear(Coord({1, 0, 0}, r), {0, 1, 0});
    ExpectVecNear(Coord({0, 1, 0}, r), {0, 0, 1});
}

TEST(D3DXMatrix, InverseUndoesAndRefusesSingular)
{
    D3DXMATRIX t, s, r, m;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 2, 2);
    const D3DXVECTOR3 axis(1, 2, 3);
    D3DXMatrixRotationAxis(&r, &axis, 0.7f);
    m = s * r * t;
    D3DXMATRIX inv;
    float det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &m), &inv);
    EXPECT_NEAR(det, 8.0f, 1e-4f);
    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    ExpectMatrixNear(m * inv, id);
    ExpectVecNear(Coord(Coord({5, -1, 2}, m), inv), {5, -1, 2});
    EXPECT_NE(D3DXMatrixInverse(&inv, nullptr, &m), nullptr);

    D3DXMATRIX flat;
    D3DXMatrixScaling(&flat, 1, 0, 1);
    D3DXMATRIX untouched = t;
    EXPECT_EQ(D3DXMatrixInverse(&untouched, &det, &flat), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_EQ(untouched, t);
}

TEST(D3DXMatrix, LookAtRHMatchesHandComputedAxes)
{
    // Eye on +X looking at the origin: z = (1,0,0), x = up x z = (0,0,-1),
    // y = z x x = (0,1,0), last row -dot(axis, eye).
    const D3DXVECTOR3 eye(3, 0, 0), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX v;
    D3DXMatrixLookAtRH(&v, &eye, &at, &up);
    ExpectMatrixNear(v, D3DXMATRIX(0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -3, 1));
    ExpectVecNear(Coord(at, v), {0, 0, -3});  // in front lies at negative z
    ExpectVecNear(Coord(eye, v), {0, 0, 0});

    // A long, tilted up vector: only its part across the view counts.
    const D3DXVECTOR3 eye2(1, 2, 3), at2(1, 2, -7), up2(0, 5, 2);
    D3DXMatrixLookAtRH(&v, &eye2, &at2, &up2);
    ExpectMatrixNear(v, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1));

    // A general case, against the formula written out by hand.
    const D3DXVECTOR3 eye3(4, 5, 6), at3(1, -1, 2), up3(0, 1, 0);
    D3DXMatrixLookAtRH(&v, &eye3, &at3, &up3);
    const float zl = std::sqrt(9.0f + 36.0f + 16.0f);
    const D3DXVECTOR3 zx(3 / zl, 6 / zl, 4 / zl);
    const float xl = std::sqrt(zx.z * zx.z + zx.x * zx.x);
    const D3DXVECTOR3 xx(zx.z / xl, 0, -zx.x / xl);  // (0,1,0) x z
    const D3DXVECTOR3 yx(zx.y * xx.z - zx.z * xx.y, zx.z * xx.x - zx.x * xx.z,
                         zx.x * xx.y - zx.y * xx.x);
    auto dot = [](D3DXVECTOR3 a, D3DXVECTOR3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    ExpectMatrixNear(v, D3DXMATRIX(xx.x, yx.x, zx.x, 0, xx.y, yx.y, zx.y, 0, xx.z, yx.z, zx.z, 0,
                                   -dot(xx, eye3), -dot(yx, eye3), -dot(zx, eye3), 1));
}

TEST(D3DXMatrix, PerspectiveFovRHMapsNearToZeroAndFarToOne)
{
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovRH(&p, kPi / 2, 2.0f, 1.0f, 11.0f);
    ExpectMatrixNear(p, D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1.1f, -1, 0, 0, -1.1f, 0));
    EXPECT_NEAR(Coord({0, 0, -1}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Coord({0, 0, -11}, p).z, 1.0f, 1e-6f);
    EXPECT_NEAR(Coord({0, 0, -4}, p).z, 0.825f, 1e-5f);  // depth grows with distance
    // The frustum's corner at the near plane lands on the corner of clip space.
    ExpectVecNear(Coord({2, 1, -1}, p), {1, 1, 0});

    D3DXMatrixPerspectiveFovRH(&p, kPi / 3, 1.0f, 0.5f, 100.0f);
    EXPECT_NEAR(p._22, 1.0f / std::tan(kPi / 6), 1e-5f);
    EXPECT_NEAR(p._33, 100.0f / (0.5f - 100.0f), 1e-6f);
    EXPECT_NEAR(p._43, 0.5f * 100.0f / (0.5f - 100.0f), 1e-5f);
    EXPECT_EQ(p._34, -1.0f);
    EXPECT_EQ(p._44, 0.0f);
}

}  // namespace
