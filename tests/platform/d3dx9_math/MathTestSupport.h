#pragma once

#include <gtest/gtest.h>

#include "d3dx9math.h"

inline void ExpectMatrixNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected,
                             float tolerance = 1e-5f)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << "row " << r << " col " << c;
}

inline void ExpectVecNear(D3DXVECTOR3 actual, D3DXVECTOR3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline D3DXVECTOR3 Coord(D3DXVECTOR3 v, const D3DXMATRIX& m)
{
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}
