#include "d3dx9math.h"

#include <cmath>
#include <cstring>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace {

// A row-vector D3D matrix and a column-vector GLM matrix of the same
// transform share their memory layout, so conversion is a plain copy.
glm::mat4 ToGlm(const D3DMATRIX& m)
{
    glm::mat4 g;
    std::memcpy(glm::value_ptr(g), &m.m[0][0], sizeof(float) * 16);
    return g;
}

D3DXMATRIX FromGlm(const glm::mat4& g)
{
    D3DXMATRIX m;
    std::memcpy(&m.m[0][0], glm::value_ptr(g), sizeof(float) * 16);
    return m;
}

glm::vec3 ToGlm(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}
D3DXVECTOR3 FromGlm(const glm::vec3& v)
{
    return {v.x, v.y, v.z};
}

}  // namespace

D3DXMATRIX::D3DXMATRIX() : D3DMATRIX{}
{
    std::memset(&m[0][0], 0, sizeof(m));
}

D3DXMATRIX::D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
                       float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44)
    : D3DMATRIX{}
{
    const float v[16] = {m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44};
    std::memcpy(&m[0][0], v, sizeof(v));
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const
{
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, this, &other);
    return out;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& other)
{
    D3DXMatrixMultiply(this, this, &other);
    return *this;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m[r][c] != other.m[r][c])
                return false;
    return true;
}

float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b)
{
    return glm::dot(ToGlm(*a), ToGlm(*b));
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b)
{
    *out = FromGlm(glm::cross(ToGlm(*a), ToGlm(*b)));
    return out;
}

float D3DXVec3Length(const D3DXVECTOR3* v)
{
    return glm::length(ToGlm(*v));
}

float D3DXVec3LengthSq(const D3DXVECTOR3* v)
{
    return D3DXVec3Dot(v, v);
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v)
{
    const float length = D3DXVec3Length(v);
    if (length == 0.0f) {
        *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return out;
    }
    *out = *v / length;
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m)
{
    const glm::vec4 r = ToGlm(*m) * glm::vec4(v->x, v->y, v->z, 1.0f);
    *out = r.w != 0.0f ? D3DXVECTOR3(r.x / r.w, r.y / r.w, r.z / r.w) : D3DXVECTOR3(r.x, r.y, r.z);
    return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m)
{
    const glm::vec4 r = ToGlm(*m) * glm::vec4(v->x, v->y, v->z, 0.0f);
    *out = D3DXVECTOR3(r.x, r.y, r.z);
    return out;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out)
{
    *out = FromGlm(glm::mat4(1.0f));
    return out;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* m)
{
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return *m == identity;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b)
{
    // Row vectors: p * A * B. In column-vector terms that is B * A * p.
    *out = FromGlm(ToGlm(*b) * ToGlm(*a));
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z)
{
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz)
{
    D3DXMatrixIdentity(out);
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle)
{
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, axis);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    // Right-handed turn of a row vector: v' = v * M.
    *out =
        D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0.0f, t * n.x * n.y - s * n.z,
                   t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0.0f, t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x,
                   t * n.z * n.z + c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m)
{
    const glm::mat4 g = ToGlm(*m);
    const float det = glm::determinant(g);
    if (determinant)
        *determinant = det;
    if (det == 0.0f || !std::isfinite(det))
        return nullptr;
    *out = FromGlm(glm::inverse(g));
    return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m)
{
    *out = FromGlm(glm::transpose(ToGlm(*m)));
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up)
{
    D3DXVECTOR3 zaxis = *eye - *at;
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVECTOR3 xaxis;
    D3DXVec3Cross(&xaxis, up, &zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    D3DXVECTOR3 yaxis;
    D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
    *out = D3DXMATRIX(xaxis.x, yaxis.x, zaxis.x, 0.0f, xaxis.y, yaxis.y, zaxis.y, 0.0f, xaxis.z, yaxis.z, zaxis.z, 0.0f,
                      -D3DXVec3Dot(&xaxis, eye), -D3DXVec3Dot(&yaxis, eye), -D3DXVec3Dot(&zaxis, eye), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar)
{
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    *out = D3DXMATRIX(xScale, 0.0f, 0.0f, 0.0f, 0.0f, yScale, 0.0f, 0.0f, 0.0f, 0.0f, zFar / (zNear - zFar), -1.0f,
                      0.0f, 0.0f, zNear * zFar / (zNear - zFar), 0.0f);
    return out;
}

namespace {

class MatrixStack final : public ID3DXMatrixStack
{
public:
    MatrixStack() : m_Stack(1) { D3DXMatrixIdentity(&m_Stack.back()); }

    ULONG AddRef() override { return ++m_RefCount; }
    ULONG Release() override
    {
        const ULONG count = --m_RefCount;
        if (count == 0)
            delete this;
        return count;
    }

    HRESULT Push() override
    {
        m_Stack.push_back(m_Stack.back());
        return S_OK;
    }
    HRESULT Pop() override
    {
        if (m_Stack.size() <= 1)
            return E_FAIL;
        m_Stack.pop_back();
        return S_OK;
    }
    HRESULT LoadIdentity() override
    {
        D3DXMatrixIdentity(&m_Stack.back());
        return S_OK;
    }
    HRESULT LoadMatrix(const D3DXMATRIX* m) override
    {
        m_Stack.back() = *m;
        return S_OK;
    }
    D3DXMATRIX* GetTop() override { return &m_Stack.back(); }
    HRESULT MultMatrixLocal(const D3DXMATRIX* m) override
    {
        D3DXMatrixMultiply(&m_Stack.back(), m, &m_Stack.back());
        return S_OK;
    }
    HRESULT TranslateLocal(float x, float y, float z) override
    {
        D3DXMATRIX t;
        return MultMatrixLocal(D3DXMatrixTranslation(&t, x, y, z));
    }
    HRESULT ScaleLocal(float x, float y, float z) override
    {
        D3DXMATRIX s;
        return MultMatrixLocal(D3DXMatrixScaling(&s, x, y, z));
    }
    UINT GetDepth() const override { return static_cast<UINT>(m_Stack.size()); }

private:
    ~MatrixStack() override = default;

    ULONG m_RefCount = 1;
    std::vector<D3DXMATRIX> m_Stack;
};

}  // namespace

HRESULT D3DXCreateMatrixStack(DWORD /*flags*/, ID3DXMatrixStack** stack)
{
    if (!stack)
        return E_INVALIDARG;
    *stack = new MatrixStack();
    return S_OK;
}
