// Vector and matrix types and functions with D3DX names and D3DX results.
//
// Conventions are Direct3D's: row vectors (a point p maps as p * M), so a
// product A * B applies A first. The sixteen floats of a D3DXMATRIX, stored
// row by row, are exactly a column-major OpenGL matrix of the same transform,
// which is how the OpenGL device hands them to GL unchanged. The arithmetic
// underneath is GLM's.
#pragma once

#include "wintypes.h"

struct D3DVECTOR
{
    float x;
    float y;
    float z;
};

// D3D's matrix names its elements both ways; the anonymous struct is what
// every compiler we build with supports, though ISO C++ does not name it.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
struct D3DMATRIX
{
    union
    {
        struct
        {
            float _11, _12, _13, _14;
            float _21, _22, _23, _24;
            float _31, _32, _33, _34;
            float _41, _42, _43, _44;
        };
        float m[4][4];
    };
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

struct D3DXVECTOR3 : public D3DVECTOR
{
    constexpr D3DXVECTOR3() : D3DVECTOR{0.0f, 0.0f, 0.0f} {}
    constexpr D3DXVECTOR3(float vx, float vy, float vz) : D3DVECTOR{vx, vy, vz} {}
    constexpr D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR{v.x, v.y, v.z} {}

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    D3DXVECTOR3& operator*=(float s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    D3DXVECTOR3& operator/=(float s)
    {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }

    constexpr D3DXVECTOR3 operator+() const { return *this; }
    constexpr D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
    constexpr D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return {x + v.x, y + v.y, z + v.z}; }
    constexpr D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return {x - v.x, y - v.y, z - v.z}; }
    constexpr D3DXVECTOR3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr D3DXVECTOR3 operator/(float s) const { return {x / s, y / s, z / s}; }
    friend constexpr D3DXVECTOR3 operator*(float s, const D3DXVECTOR3& v) { return v * s; }

    constexpr bool operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
    constexpr bool operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};

// A 4x4 matrix, m[row][column], row-vector convention.
struct D3DXMATRIX : public D3DMATRIX
{
    D3DXMATRIX();  // all zero, as a value-initialised D3DMATRIX
    D3DXMATRIX(const D3DMATRIX& other) : D3DMATRIX(other) {}
    D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24, float m31,
               float m32, float m33, float m34, float m41, float m42, float m43, float m44);

    float& operator()(UINT row, UINT column) { return m[row][column]; }
    float operator()(UINT row, UINT column) const { return m[row][column]; }

    D3DXMATRIX operator*(const D3DXMATRIX& other) const;  // this first, then other
    D3DXMATRIX& operator*=(const D3DXMATRIX& other);
    bool operator==(const D3DXMATRIX& other) const;
    bool operator!=(const D3DXMATRIX& other) const { return !(*this == other); }
};

// The 3x3 rotation matrix handed to the drawing interface: m[row][column],
// row-vector convention (v' = v * M), rows in order.
struct D3DXMATRIX3X3
{
    float m[3][3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};

    float& operator()(UINT row, UINT column) { return m[row][column]; }
    float operator()(UINT row, UINT column) const { return m[row][column]; }
};

// --- vectors ---------------------------------------------------------------
float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);
float D3DXVec3Length(const D3DXVECTOR3* v);
float D3DXVec3LengthSq(const D3DXVECTOR3* v);
// A zero vector stays zero (D3DX's behaviour; no NaNs).
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);
// (v, 1) * m, divided by the resulting w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
// (v, 0) * m: a direction, no translation.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

// --- matrices --------------------------------------------------------------
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
bool D3DXMatrixIsIdentity(const D3DXMATRIX* m);
// out = a * b: a applies first. out may alias a or b.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz);
// Right-handed rotation by angle radians about axis (normalised here).
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle);
// Returns null (and leaves out alone) when m is singular. determinant may be null.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
// zaxis = normalize(eye - at), xaxis = normalize(up x zaxis), yaxis = zaxis x xaxis.
D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);
// Depth maps to 0..1 (near..far), as Direct3D expects.
D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar);

// --- matrix stack ----------------------------------------------------------
// Reference-counted like a COM object: D3DXCreateMatrixStack hands out one
// reference; Release drops it and frees the stack at zero. The stack always
// holds at least one matrix; a new stack's top is the identity.
class ID3DXMatrixStack
{
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    virtual HRESULT Push() = 0;          // duplicates the top
    virtual HRESULT Pop() = 0;           // fails (and keeps it) on the last matrix
    virtual HRESULT LoadIdentity() = 0;  // top := identity; entries below stay
    virtual HRESULT LoadMatrix(const D3DXMATRIX* m) = 0;
    virtual D3DXMATRIX* GetTop() = 0;
    // The *Local forms put the new transform before the top: top := X * top,
    // so X acts in the top's local frame.
    virtual HRESULT MultMatrixLocal(const D3DXMATRIX* m) = 0;
    virtual HRESULT TranslateLocal(float x, float y, float z) = 0;
    virtual HRESULT ScaleLocal(float x, float y, float z) = 0;

    virtual UINT GetDepth() const = 0;  // number of matrices held (>= 1)

protected:
    virtual ~ID3DXMatrixStack() = default;
};

HRESULT D3DXCreateMatrixStack(DWORD flags, ID3DXMatrixStack** stack);
