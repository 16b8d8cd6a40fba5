// Helpers of the mesh-primitive, light and window-handler tests: small shape
// meshes standing in for the asset maker's, and a replay of a headless
// device's recorded calls that tells, for every draw, the world transform,
// material, lighting and stage-0 texture it was drawn with.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "D3DTestSupport.h"
#include "ORVD3D_DrawHelper.h"
#include "ORV_Primitive.h"

// A box from (x0, y0, z0) to (x1, y1, z1) as twelve triangles, one material.
inline XFileMesh MakeBlock(float x0, float y0, float z0, float x1, float y1, float z1)
{
    XFileMesh block;
    block.positions = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                       {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    block.faces = {{0, 1, 5}, {0, 5, 4}, {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6},
                   {3, 0, 4}, {3, 4, 7}, {0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}};
    block.materials.resize(1);
    block.materials[0].material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    return block;
}

// Writes box.x (a cube from -0.5 to 0.5), cylinder.x (a square prism, z
// from -1.5 to 1.5), cone.x (a square pyramid with its apex, vertex 0, at
// (0, 0, -1) and its base at z = 1) and sphere.x (an octahedron of radius 1)
// into the current folder: the sizes of the asset maker's meshes.
inline void WriteShapeMeshes()
{
    WriteTestMesh("box.x", MakeBlock(-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f));
    WriteTestMesh("cylinder.x", MakeBlock(-1, -1, -1.5f, 1, 1, 1.5f));
    XFileMesh cone = MakeBlock(-1, -1, -1, 1, 1, 1);
    cone.positions = {{0, 0, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}};
    cone.faces = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 1}, {1, 3, 2}, {1, 4, 3}};
    WriteTestMesh("cone.x", cone);
    XFileMesh sphere = cone;
    sphere.positions = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    sphere.faces = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4}, {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    WriteTestMesh("sphere.x", sphere);
}

// Options of a headless context that records from its creation on.
inline HeadlessOptions Recording()
{
    HeadlessOptions options;
    options.recordFromStart = true;
    return options;
}

// The graphics system's device as the headless device it is in these tests.
inline HeadlessDevice* CurrentDevice()
{
    return dynamic_cast<HeadlessDevice*>(ORVD3D_GraphicsSystem::GetInstance().GetD3DDevice());
}

// One draw call with the device state it was made in.
struct RecordedDraw
{
    const HeadlessCall* call = nullptr;
    D3DXMATRIX world;
    D3DMATERIAL9 material{};
    DWORD lighting = TRUE;
    const void* texture0 = nullptr;
};

// Replays calls (from an identity world) and returns every draw of the kind
// named ("DrawMeshSubsetEXT" or "DrawPrimitiveUP").
inline std::vector<RecordedDraw> DrawsIn(const std::vector<HeadlessCall>& calls,
                                         const std::string& kind = "DrawMeshSubsetEXT")
{
    std::vector<RecordedDraw> draws;
    RecordedDraw state;
    D3DXMatrixIdentity(&state.world);
    for (const HeadlessCall& call : calls) {
        if (call.name == "SetTransform" && call.Arg(0) == D3DTS_WORLD)
            state.world = D3DXMATRIX(call.matrix);
        else if (call.name == "SetMaterial")
            state.material = call.material;
        else if (call.name == "SetRenderState" && call.Arg(0) == D3DRS_LIGHTING)
            state.lighting = call.Arg(1);
        else if (call.name == "SetTexture" && call.Arg(0) == 0)
            state.texture0 = call.object;
        else if (call.name == kind) {
            state.call = &call;
            draws.push_back(state);
        }
    }
    return draws;
}

inline D3DXVECTOR3 Apply(const D3DXMATRIX& m, D3DXVECTOR3 point)
{
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &point, &m);
    return out;
}

inline ::testing::AssertionResult Near(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected,
                                       float tolerance = 1e-5f)
{
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance &&
        std::abs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not (" << expected.x << ", " << expected.y << ", "
                                         << expected.z << ")";
}

// The packed colour a material's emissive term holds.
inline ORV_Color EmissiveOf(const D3DMATERIAL9& material)
{
    return ORV_Color(material.Emissive.r, material.Emissive.g, material.Emissive.b, material.Emissive.a);
}

// Draws primitive once through a fresh Direct3D helper and returns the draws
// of kind it made (valid until the device's calls are cleared).
// Devices draw only inside a scene: one is open while a test draws
// straight through the helper, as the window handler opens one per frame.
class SceneScope
{
public:
    explicit SceneScope(IDirect3DDevice9* device) : m_Device(device) { m_Device->BeginScene(); }
    ~SceneScope() { m_Device->EndScene(); }
    SceneScope(const SceneScope&) = delete;
    SceneScope& operator=(const SceneScope&) = delete;

private:
    IDirect3DDevice9* m_Device;
};

inline std::vector<RecordedDraw> DrawOnce(ORV_Primitive& primitive, HeadlessDevice* device,
                                          const std::string& kind = "DrawMeshSubsetEXT")
{
    ORVD3D_DrawHelper helper;
    helper.InitializeModelTransform();
    const SceneScope scene(device);
    device->ClearCalls();
    primitive.Draw(helper.GetLod(), helper);
    return DrawsIn(device->Calls(), kind);
}
