// One call made on a headless device, as its recorder keeps it.
//
// The recorder copies everything a call was given (vertex and index data
// included), so a record stays valid after the caller's buffers are gone.
// Fields a call does not use keep their zero values.
#pragma once

#include <string>
#include <vector>

#include "d3d9.h"

struct HeadlessCall
{
    std::string name;  // the method name, e.g. "SetRenderState"
    // The integer arguments in the order of the call's parameter list (enum
    // values, indices, counts, flags, colours). Listed per call in
    // HeadlessDevice.h.
    std::vector<DWORD> args;
    float value = 0.0f;  // Clear's z
    HRESULT result = D3D_OK;
    // The object a call names: texture of SetTexture/GetTexture/CreateTexture,
    // surface of SetRenderTarget/GetRenderTarget/GetBackBuffer, swap chain of
    // GetSwapChain/CreateAdditionalSwapChain/Present, mesh key of
    // DrawMeshSubsetEXT/ForgetMeshEXT. Only for comparison: it may be gone.
    const void* object = nullptr;
    HWND window;  // Present's window (the chain's own when none was given)

    D3DMATRIX matrix{};       // SetTransform / GetTransform
    D3DLIGHT9 light{};        // SetLight / GetLight
    D3DMATERIAL9 material{};  // SetMaterial / GetMaterial
    D3DVIEWPORT9 viewport{};  // SetViewport / GetViewport

    // DrawPrimitiveUP and DrawMeshSubsetEXT: a copy of the vertex bytes.
    UINT stride = 0;
    UINT vertexCount = 0;
    std::vector<BYTE> vertices;
    // DrawMeshSubsetEXT only.
    unsigned long long version = 0;
    std::vector<WORD> indices;

    // args[i]; throws std::out_of_range when the call has fewer arguments.
    DWORD Arg(size_t i) const;

    // Fields of recorded vertex `vertex` at byte `offset` within it. Throw
    // std::out_of_range when the field does not lie inside the copied bytes.
    float VertexFloat(UINT vertex, UINT offset) const;
    DWORD VertexDword(UINT vertex, UINT offset) const;
    D3DXVECTOR3 VertexVector3(UINT vertex, UINT offset) const;
};
