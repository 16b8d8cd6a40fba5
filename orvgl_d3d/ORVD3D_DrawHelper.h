// The drawing interface realised on the graphics system's device: a D3DX
// matrix stack whose top is always the device's world transform, attributes
// mapped to render states, texture stages and materials, and shapes drawn
// from vertices held in memory.
//
// Owns its matrix stack (created by the first transform operation). The
// device is fetched from the graphics system on every call and never kept,
// so a helper outliving the context simply draws nothing.
#pragma once

#include "ORV_DrawHelper.h"
#include "d3d9.h"
#include "d3dx9math.h"

class ORVD3D_DrawHelper : public ORV_DrawHelper
{
public:
    ORVD3D_DrawHelper() = default;
    ~ORVD3D_DrawHelper() override;

    bool DrawPoint(D3DXVECTOR3 position) override;
    bool DrawLine(D3DXVECTOR3 start, D3DXVECTOR3 end) override;
    bool DrawCircle(D3DXVECTOR3 center, float radius) override;
    bool DrawRectangleXY(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2) override;
    bool DrawRectangleXZ(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2) override;
    bool AccumulateModelTransform(D3DXVECTOR3 translation, D3DXVECTOR3 scale, const D3DXMATRIX3X3& rotation,
                                  D3DXVECTOR3 pivot) override;
    bool PushModelTransform() override;
    bool PopModelTransform() override;
    bool InitializeModelTransform() override;
    // Before any stack exists the point is left unchanged (the identity
    // applies) and the result is false.
    bool TransformPoint(D3DXVECTOR3* point) override;
    void SetShadeMode(int mode) override;
    void SetFillMode(int mode) override;
    bool EnableBlending(bool on) override;
    bool EnableTexture(bool on) override;
    // Without a device nothing is sent and the result is still true.
    bool EnableLighting(bool on) override;

    // Vertex formats of the shapes.
    static constexpr DWORD kPointFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE;
    static constexpr UINT kPointStride = 32;
    static constexpr DWORD kShapeFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    static constexpr UINT kShapeStride = 36;

private:
    // Puts the stack's top into the device's world transform.
    void SetWorldFromTop(IDirect3DDevice9* device);
    // Push or Pop on the stack (made first if need be), then the device's
    // world transform from its top.
    bool ChangeModelTransform(HRESULT (ID3DXMatrixStack::*change)());
    bool DrawRectangle(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2, bool inXZ);

    ID3DXMatrixStack* m_pMatrixStack = nullptr;
};
