#pragma once

#include "d3dx9math.h"

class ORV_DrawHelper;

// Abstract bounding volume. Volumes are small value objects owned by whoever
// holds them; nothing deletes one through this base, so its destructor is
// protected and not virtual.
class ORV_BoundingVolume
{
public:
    virtual int GetType() const = 0;
    virtual D3DXVECTOR3 GetCenter() const = 0;
    virtual void Add(const ORV_BoundingVolume* other) = 0;
    virtual bool Intersects(const ORV_BoundingVolume* other) const = 0;
    virtual bool ContainsPoint(float x, float y, float z) const = 0;
    // Draws the outline with the helper's current attributes; the base draws
    // nothing.
    virtual void Draw(ORV_DrawHelper* helper) const;

protected:
    ORV_BoundingVolume() = default;
    ORV_BoundingVolume(const ORV_BoundingVolume&) = default;
    ORV_BoundingVolume& operator=(const ORV_BoundingVolume&) = default;
    ~ORV_BoundingVolume() = default;
};
