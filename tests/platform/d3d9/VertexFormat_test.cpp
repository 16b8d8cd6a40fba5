#include <gtest/gtest.h>

#include "VertexFormat.h"

namespace {

TEST(VertexFormat, FieldsFollowTheFVFOrderAndOnlyUntransformedTwoFloatFormatsDraw)
{
    const struct
    {
        const char* what;
        DWORD fvf;
        int normal, pointSize, diffuse, specular, texCoord;
        UINT size;
        bool known, drawable;
    } cases[] = {
        {"position, normal, colour, u, v", 0x152, 12, -1, 24, -1, 28, 36, true, true},
        {"everything, two sets", 0x2F2, 12, 24, 28, 32, 36, 52, true, true},
        {"pre-transformed, colour", 0x044, -1, -1, 16, -1, -1, 20, true, false},
        {"three blend weights, normal", 0x00A | 0x010, 24, -1, -1, -1, -1, 36, true, false},
        {"XYZW", 0x4002, -1, -1, -1, -1, -1, 16, true, false},
        {"3-D coordinates in the second set", 0x202 | (1u << 18), -1, -1, -1, -1, 12, 32, true, false},
        {"1-D coordinates", 0x102 | 0x30000, -1, -1, -1, -1, 12, 16, true, false},
        {"no position", D3DFVF_NORMAL, -1, -1, -1, -1, -1, 0, false, false},
        {"nine sets", 0x902, -1, -1, -1, -1, -1, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const VertexFormat f = VertexFormat::FromFVF(c.fvf);
        EXPECT_EQ(f.known, c.known);
        EXPECT_EQ(f.drawable, c.drawable);
        if (!c.known)
            continue;
        EXPECT_EQ(f.normalOffset, c.normal);
        EXPECT_EQ(f.pointSizeOffset, c.pointSize);
        EXPECT_EQ(f.diffuseOffset, c.diffuse);
        EXPECT_EQ(f.specularOffset, c.specular);
        EXPECT_EQ(f.texCoordOffset, c.texCoord);
        EXPECT_EQ(f.size, c.size);
    }
    // Five points, lines, strip segments, triangles, strip and fan triangles; no type.
    const UINT vertices[] = {0, 5, 10, 6, 15, 7, 7};
    for (DWORD type = 0; type < std::size(vertices); ++type)
        EXPECT_EQ(VerticesForPrimitives(static_cast<D3DPRIMITIVETYPE>(type), 5), vertices[type]) << type;
}

}  // namespace
