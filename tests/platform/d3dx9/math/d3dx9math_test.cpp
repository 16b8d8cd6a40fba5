#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "d3dx9math.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

D3DXVECTOR3 Coord(D3DXVECTOR3 v, const D3DXMATRIX& m)
{
    return *D3DXVec3TransformCoord(&v, &v, &m);
}

void ExpectNear(D3DXVECTOR3 got, D3DXVECTOR3 want, const char* what)
{
    const D3DXVECTOR3 d = got - want;
    EXPECT_LT(D3DXVec3Length(&d), 1e-5f) << what << ": " << got.x << " " << got.y << " " << got.z;
}

D3DXMATRIX g_Made;  // the makers below return a copy of it
const auto Translation = [](float x, float y, float z) { return *D3DXMatrixTranslation(&g_Made, x, y, z); };
const auto Scaling = [](float x, float y, float z) { return *D3DXMatrixScaling(&g_Made, x, y, z); };
const auto Rotation = [](D3DXVECTOR3 axis, float angle) { return *D3DXMatrixRotationAxis(&g_Made, &axis, angle); };
const auto LookAt = [](D3DXVECTOR3 eye, D3DXVECTOR3 at, D3DXVECTOR3 up) {
    return *D3DXMatrixLookAtRH(&g_Made, &eye, &at, &up);
};

}  // namespace

// Where each kind of matrix carries a point: row vectors, the first factor of
// a product applied first, right-handed turns and views, depth 0..1.
TEST(D3DXMatrix, CarriesPointsWhereTheGameExpectsAndInverts)
{
    D3DXMATRIX projective = Translation(10, 20, 30);
    projective._44 = 2.0f;  // the sum is divided by w
    D3DXMATRIX wFromX;
    D3DXMatrixIdentity(&wFromX);
    wFromX._14 = 1.0f;  // w = x + 1: taken from the fourth column
    D3DXMATRIX lens;
    D3DXMatrixPerspectiveFovRH(&lens, kPi / 2, 2.0f, 1.0f, 11.0f);
    const struct
    {
        const char* what;
        D3DXMATRIX m;
        D3DXVECTOR3 in, want;
    } cases[] = {
        {"moved, then scaled", Translation(1, 0, 0) * Scaling(2, 3, 4), {0, 1, 1}, {2, 3, 4}},
        {"scaled, then moved", Scaling(2, 3, 4) * Translation(1, 0, 0), {0, 1, 1}, {1, 3, 4}},
        {"divided by w", projective, {2, 4, 6}, {6, 12, 18}},
        {"projective w", wFromX, {3, 8, 4}, {0.75f, 2, 1}},
        {"quarter turn about z", Rotation({0, 0, 1}, kPi / 2), {1, 0, 0}, {0, 1, 0}},
        {"a third about the diagonal", Rotation({1, 1, 1}, 2 * kPi / 3), {0, 1, 0}, {0, 0, 1}},
        // Looking from +x at the origin: the origin ahead at -z, +y up, the
        // world's -z to the right.
        {"look: target ahead", LookAt({3, 0, 0}, {0, 0, 0}, {0, 1, 0}), {0, 0, 0}, {0, 0, -3}},
        {"look: right", LookAt({3, 0, 0}, {0, 0, 0}, {0, 1, 0}), {3, 0, -1}, {1, 0, 0}},
        {"look: general", LookAt({4, 5, 6}, {1, -1, 2}, {0, 1, 0}), {1, -1, 2}, {0, 0, -std::sqrt(61.0f)}},
        {"depth between", lens, {0, 0, -4}, {0, 0, 0.825f}},
        {"frustum corner", lens, {2, 1, -1}, {1, 1, 0}},
    };
    for (const auto& c : cases)
        ExpectNear(Coord(c.in, c.m), c.want, c.what);

    // A direction ignores translation; a cross is right-handed; zero normalises to zero.
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), zero;
    D3DXVECTOR3 out;
    EXPECT_EQ(*D3DXVec3TransformNormal(&out, &x, &projective), x);
    EXPECT_EQ(*D3DXVec3Cross(&out, &x, &y), D3DXVECTOR3(0, 0, 1));
    EXPECT_EQ(*D3DXVec3Normalize(&out, &zero), zero);

    // An inverse undoes; a singular matrix is refused and left alone.
    const D3DXMATRIX m = Scaling(2, 2, 2) * Rotation({1, 2, 3}, 0.7f) * Translation(1, 2, 3);
    D3DXMATRIX inv;
    float det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &m), &inv);
    EXPECT_NEAR(det, 8.0f, 1e-4f);
    ExpectNear(Coord(Coord({5, -1, 2}, m), inv), {5, -1, 2}, "round trip");

    const D3DXMATRIX flat = Scaling(1, 0, 1);
    D3DXMATRIX untouched = m;
    EXPECT_EQ(D3DXMatrixInverse(&untouched, &det, &flat), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_EQ(untouched, m);
}

// Local operations (their order is pinned by the scene graph's tests) leave
// the stack's last entry, which cannot be popped.
TEST(D3DXMatrixStack, KeepsItsLastEntryAndIsFreedOnce)
{
    ID3DXMatrixStack* stack = nullptr;
    ASSERT_EQ(D3DXCreateMatrixStack(0, &stack), S_OK);
    EXPECT_EQ(D3DXCreateMatrixStack(0, nullptr), E_INVALIDARG);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack->GetTop()));
    EXPECT_TRUE(FAILED(stack->Pop()));
    ASSERT_EQ(stack->Push(), S_OK);
    stack->TranslateLocal(10, 0, 0);
    EXPECT_EQ(stack->Pop(), S_OK);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack->GetTop()) && stack->GetDepth() == 1u);
    EXPECT_EQ(stack->Release(), 0u);  // the sanitizer build checks it is freed once
}
