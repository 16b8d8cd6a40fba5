// Small vector helpers the asset maker uses on D3DXVECTOR3 values; plain
// inline arithmetic so the generators stay readable.
#pragma once

#include <cmath>

#include "d3dx9math.h"

namespace assets {

inline float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float Length(const D3DXVECTOR3& v)
{
    return std::sqrt(Dot(v, v));
}

// A zero vector stays zero rather than turning into NaNs.
inline D3DXVECTOR3 Normalized(const D3DXVECTOR3& v)
{
    const float len = Length(v);
    return len > 0.0f ? v / len : D3DXVECTOR3{};
}

inline D3DXVECTOR3 Lerp(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float t)
{
    return a + (b - a) * t;
}

constexpr float kPi = 3.14159265358979323846f;

}  // namespace assets
