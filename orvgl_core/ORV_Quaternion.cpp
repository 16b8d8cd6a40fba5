#include "ORV_Quaternion.h"

#include <cassert>
#include <cmath>
#include <numbers>

ORV_Quaternion ORV_Quaternion::FromAxisAngleDegrees(D3DXVECTOR3 axis, float degrees)
{
    const float radians = degrees * std::numbers::pi_v<float> / 180.0f;
    const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    // A zero axis cannot be normalised; it gives a pure scalar quaternion.
    if (length > 0.0f)
        axis /= length;
    const float s = std::sin(radians / 2.0f);
    return ORV_Quaternion(axis.x * s, axis.y * s, axis.z * s, std::cos(radians / 2.0f));
}

float& ORV_Quaternion::operator[](int index)
{
    assert(index >= 0 && index < 4);
    switch (index) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return w;
    }
}

float ORV_Quaternion::operator[](int index) const
{
    return const_cast<ORV_Quaternion&>(*this)[index];
}

ORV_Quaternion ORV_Quaternion::operator*(const ORV_Quaternion& q) const
{
    // (pv, pw) (x) (qv, qw) = (pw qv + qw pv + pv x qv, pw qw - pv . qv)
    return ORV_Quaternion(w * q.x + q.w * x + (y * q.z - z * q.y), w * q.y + q.w * y + (z * q.x - x * q.z),
                          w * q.z + q.w * z + (x * q.y - y * q.x), w * q.w - (x * q.x + y * q.y + z * q.z));
}

float ORV_Quaternion::Length() const
{
    return std::sqrt(x * x + y * y + z * z + w * w);
}
