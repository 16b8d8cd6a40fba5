#pragma once

#include "d3dx9math.h"

// A rotation as a quaternion: vector part (x, y, z), scalar part w. A value
// type; the default is the identity rotation.
class ORV_Quaternion
{
public:
    ORV_Quaternion() = default;
    ORV_Quaternion(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}

    // The turn by angle degrees about axis (normalised here; a zero axis is
    // used as it is).
    static ORV_Quaternion FromAxisAngleDegrees(D3DXVECTOR3 axis, float degrees);

    // Index 0, 1, 2 give x, y, z; index 3 gives w.
    float& operator[](int index);
    float operator[](int index) const;

    // Hamilton product this (x) q: q acts first, then this.
    ORV_Quaternion operator*(const ORV_Quaternion& q) const;

    float Length() const;

    bool operator==(const ORV_Quaternion& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
    bool operator!=(const ORV_Quaternion& q) const { return !(*this == q); }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};
