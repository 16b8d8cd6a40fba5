// The translation rules from Direct3D values to GL's, checked without a
// context.
#include <gtest/gtest.h>

#include <cmath>

#include "D3DToGL.h"
#include "GLVertexLayout.h"

namespace {

TEST(D3DToGL, LightsBecomeGLParametersWithTheDirectionalSignFlipped)
{
    D3DLIGHT9 sun{};
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Direction = {0.0f, -1.0f, 0.5f};
    sun.Diffuse = {0.8f, 0.7f, 0.6f, 1.0f};
    const d3dtogl::LightParameters s = d3dtogl::LightFromD3D(sun);
    // GL wants the way towards the light, with w = 0.
    EXPECT_EQ(s.position[0], 0.0f);
    EXPECT_EQ(s.position[1], 1.0f);
    EXPECT_EQ(s.position[2], -0.5f);
    EXPECT_EQ(s.position[3], 0.0f);
    EXPECT_EQ(s.diffuse.v[1], 0.7f);
    EXPECT_EQ(s.spotCutoff, 180.0f);

    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Position = {1.0f, 2.0f, 3.0f};
    point.Attenuation1 = 0.5f;
    d3dtogl::LightParameters p = d3dtogl::LightFromD3D(point);
    EXPECT_EQ(p.position[3], 1.0f);
    EXPECT_EQ(p.position[2], 3.0f);
    EXPECT_EQ(p.attenuation[0], 0.0f);
    EXPECT_EQ(p.attenuation[1], 0.5f);
    point.Attenuation1 = 0.0f;  // all zero: no attenuation rather than a division by zero
    p = d3dtogl::LightFromD3D(point);
    EXPECT_EQ(p.attenuation[0], 1.0f);
    EXPECT_EQ(d3dtogl::ClampShininess(500.0f), 128.0f);  // GL's limit
    EXPECT_EQ(d3dtogl::ClampShininess(std::nanf("")), 0.0f);

    // Spot: cut off at half the outer cone, half the light midway between
    // the half-angles of the two cones.
    D3DLIGHT9 spot = point;
    spot.Type = D3DLIGHT_SPOT;
    spot.Direction = {0.0f, 0.0f, -1.0f};
    spot.Theta = 0.7853982f;
    spot.Phi = 1.0471976f;
    const d3dtogl::LightParameters c = d3dtogl::LightFromD3D(spot);
    EXPECT_NEAR(c.spotCutoff, 30.0f, 1e-3f);
    const float middle = (0.7853982f + 1.0471976f) / 4.0f;
    EXPECT_NEAR(std::pow(std::cos(middle), c.spotExponent), 0.5f, 1e-3f);
    EXPECT_EQ(c.spotDirection[2], -1.0f);
}

TEST(D3DToGL, VertexLayoutsFollowTheFVFFieldOrder)
{
    // The draw helper's point vertex: position, normal, size, colour.
    const GLVertexLayout point = GLVertexLayout::FromFVF(0x72);
    ASSERT_TRUE(point.valid);
    EXPECT_EQ(point.normalOffset, 12);
    EXPECT_EQ(point.pointSizeOffset, 24);
    EXPECT_EQ(point.diffuseOffset, 28);
    EXPECT_EQ(point.size, 32u);
    // Its line vertex: position, normal, colour, u, v.
    const GLVertexLayout line = GLVertexLayout::FromFVF(0x152);
    ASSERT_TRUE(line.valid);
    EXPECT_EQ(line.pointSizeOffset, -1);
    EXPECT_EQ(line.diffuseOffset, 24);
    EXPECT_EQ(line.texCoordOffset, 28);
    EXPECT_EQ(line.size, 36u);

    EXPECT_FALSE(GLVertexLayout::FromFVF(D3DFVF_NORMAL).valid);               // no position
    EXPECT_FALSE(GLVertexLayout::FromFVF(D3DFVF_XYZ | 0x10000).valid);        // 1-D texture coordinates
    EXPECT_FALSE(GLVertexLayout::FromFVF(D3DFVF_XYZ | 0x004).valid);          // transformed positions
}

}  // namespace
