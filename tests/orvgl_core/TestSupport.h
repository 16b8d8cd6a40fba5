#pragma once

#include <gtest/gtest.h>

#include "ORV_BoundingBox.h"
#include "ORV_Primitive.h"
#include "ORV_SceneNode.h"
#include "d3dx9math.h"

inline void ExpectNear(D3DXVECTOR3 actual, D3DXVECTOR3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectBox(const ORV_BoundingBox& box, D3DXVECTOR3 min, D3DXVECTOR3 max, float tolerance = 1e-5f)
{
    ExpectNear(box.GetMin(), min, tolerance);
    ExpectNear(box.GetMax(), max, tolerance);
}

// A primitive with a fixed box (or none) that counts live instances, so
// ownership tests can see every deletion.
class CountedPrimitive : public ORV_Primitive
{
public:
    static inline int s_Live = 0;
    static inline int s_Deleted = 0;

    explicit CountedPrimitive(bool hasBox = false) : m_HasBox(hasBox) { ++s_Live; }
    CountedPrimitive(D3DXVECTOR3 min, D3DXVECTOR3 max) : m_HasBox(true), m_Box(min, max) { ++s_Live; }
    ~CountedPrimitive() override
    {
        --s_Live;
        ++s_Deleted;
    }

    ORV_BoundingVolume* GetBoundingVolume(int) override { return m_HasBox ? &m_Box : nullptr; }
    bool DrawPrimitive(int, ORV_DrawHelper&) override
    {
        ++drawn;
        return true;
    }

    int drawn = 0;

private:
    bool m_HasBox;
    ORV_BoundingBox m_Box;
};

class CountedNode : public ORV_SceneNode
{
public:
    static inline int s_Live = 0;
    static inline int s_Deleted = 0;

    explicit CountedNode(const wchar_t* name) : ORV_SceneNode(name) { ++s_Live; }
    ~CountedNode() override
    {
        --s_Live;
        ++s_Deleted;
    }
};
