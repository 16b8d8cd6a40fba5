#pragma once

#include "ORV_BoundingVolume.h"
#include "d3dx9math.h"

// Axis-aligned box given by its min and max corners; a value type. Valid
// when min <= max on every axis (a single point is valid); the empty box is
// min (1, 1, 1), max (-1, -1, -1). The default box is the point at the
// origin, not the empty box.
class ORV_BoundingBox final : public ORV_BoundingVolume
{
public:
    static constexpr int kType = 0;

    ORV_BoundingBox() = default;
    ORV_BoundingBox(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2);
    // From a centre and a size.
    ORV_BoundingBox(float cx, float cy, float cz, float width, float height, float depth);
    ORV_BoundingBox(const ORV_BoundingBox& other) = default;
    ORV_BoundingBox& operator=(const ORV_BoundingBox& other) = default;
    ~ORV_BoundingBox() = default;

    // The box spanned by two points given in any order.
    void Set(float x1, float y1, float z1, float x2, float y2, float z2);
    void MakeInvalid();
    bool IsValid() const;

    D3DXVECTOR3 GetMin() const { return m_Min; }
    D3DXVECTOR3 GetMax() const { return m_Max; }
    float Width() const { return m_Max.x - m_Min.x; }
    float Height() const { return m_Max.y - m_Min.y; }
    float Depth() const { return m_Max.z - m_Min.z; }

    // Moves the box, keeping its size, so that its centre is (x, y, z).
    void SetCenter(float x, float y, float z);

    // Grows to enclose other; an invalid other changes nothing, and adding
    // to an invalid box copies other.
    void Add(const ORV_BoundingBox& other);

    int GetType() const override { return kType; }
    D3DXVECTOR3 GetCenter() const override;
    void Add(const ORV_BoundingVolume* other) override;
    bool Intersects(const ORV_BoundingVolume* other) const override;
    bool ContainsPoint(float x, float y, float z) const override;
    void Draw(ORV_DrawHelper* helper) const override;

private:
    D3DXVECTOR3 m_Min;
    D3DXVECTOR3 m_Max;
};
