#include "ORVD3D_DrawHelper.h"

#include <cmath>
#include <vector>

#include "ORVD3D_GraphicsSystem.h"

namespace {

// Vertex of DrawPoint: kPointFVF, 32 bytes.
struct PointVertex
{
    float x, y, z;
    float nx, ny, nz;
    float size;
    DWORD color;
};
static_assert(sizeof(PointVertex) == ORVD3D_DrawHelper::kPointStride);

// Vertex of the line, circle and rectangles: kShapeFVF, 36 bytes.
struct ShapeVertex
{
    float x, y, z;
    float nx, ny, nz;
    DWORD color;
    float u, v;
};
static_assert(sizeof(ShapeVertex) == ORVD3D_DrawHelper::kShapeStride);

IDirect3DDevice9* Device()
{
    return ORVD3D_GraphicsSystem::GetInstance().GetD3DDevice();
}

D3DCOLORVALUE ToColorValue(ORV_Color color)
{
    return {color.GetRf(), color.GetGf(), color.GetBf(), color.GetAf()};
}

// Degrees to radians with the factor the circle has always used.
constexpr float kRadiansPerDegree = 0.01745329238474369f;

}  // namespace

ORVD3D_DrawHelper::~ORVD3D_DrawHelper()
{
    if (m_pMatrixStack != nullptr) {
        m_pMatrixStack->Release();
        m_pMatrixStack = nullptr;
    }
}

void ORVD3D_DrawHelper::SetWorldFromTop(IDirect3DDevice9* device)
{
    device->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
}

bool ORVD3D_DrawHelper::InitializeModelTransform()
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return false;
    if (m_pMatrixStack == nullptr) {
        D3DXCreateMatrixStack(0, &m_pMatrixStack);
        if (m_pMatrixStack == nullptr)
            return false;
    }
    m_pMatrixStack->LoadIdentity();
    SetWorldFromTop(device);
    return true;
}

bool ORVD3D_DrawHelper::PushModelTransform()
{
    return ChangeModelTransform(&ID3DXMatrixStack::Push);
}

bool ORVD3D_DrawHelper::PopModelTransform()
{
    return ChangeModelTransform(&ID3DXMatrixStack::Pop);
}

bool ORVD3D_DrawHelper::ChangeModelTransform(HRESULT (ID3DXMatrixStack::*change)())
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return false;
    if (m_pMatrixStack == nullptr && !InitializeModelTransform())
        return false;
    (m_pMatrixStack->*change)();
    SetWorldFromTop(device);
    return true;
}

bool ORVD3D_DrawHelper::AccumulateModelTransform(D3DXVECTOR3 translation, D3DXVECTOR3 scale,
                                                 const D3DXMATRIX3X3& rotation, D3DXVECTOR3 pivot)
{
    if (m_pMatrixStack == nullptr)
        InitializeModelTransform();
    IDirect3DDevice9* device = Device();
    if (device == nullptr || m_pMatrixStack == nullptr)
        return false;

    D3DXMATRIX rotation4;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            rotation4.m[row][column] = rotation.m[row][column];
    rotation4.m[3][3] = 1.0f;

    // Each Local step acts before the ones already on the top, so a point
    // of the node is moved off the pivot, scaled, rotated, put back and
    // translated, then the earlier top applies.
    m_pMatrixStack->TranslateLocal(translation.x, translation.y, translation.z);
    m_pMatrixStack->TranslateLocal(pivot.x, pivot.y, pivot.z);
    m_pMatrixStack->MultMatrixLocal(&rotation4);
    m_pMatrixStack->ScaleLocal(scale.x, scale.y, scale.z);
    m_pMatrixStack->TranslateLocal(-pivot.x, -pivot.y, -pivot.z);
    SetWorldFromTop(device);
    return true;
}

bool ORVD3D_DrawHelper::TransformPoint(D3DXVECTOR3* point)
{
    // No stack yet means no transform has been set up: the point stays.
    if (point == nullptr || m_pMatrixStack == nullptr)
        return false;
    const D3DXVECTOR3 in = *point;
    D3DXVec3TransformCoord(point, &in, m_pMatrixStack->GetTop());
    return true;
}

bool ORVD3D_DrawHelper::DrawPoint(D3DXVECTOR3 position)
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return false;
    const PointVertex vertex{position.x, position.y, position.z, 0.0f, 1.0f, 0.0f, m_PointSize, m_Color.GetARGB()};
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    device->SetFVF(kPointFVF);
    device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &vertex, kPointStride);
    return true;
}

bool ORVD3D_DrawHelper::DrawLine(D3DXVECTOR3 start, D3DXVECTOR3 end)
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return false;
    const D3DXVECTOR3 d = end - start;
    // Only a line rising to the upper right gets the perpendicular in the
    // XY plane (not normalised); every other line takes +X.
    D3DXVECTOR3 normal(1.0f, 0.0f, 0.0f);
    if (d.x > 0.01f && d.y > 0.01f)
        normal = D3DXVECTOR3(-d.y, d.x, 0.0f);
    const DWORD endColor = m_ShadeMode != 0 ? m_ShadeColor.GetARGB() : m_Color.GetARGB();
    const ShapeVertex vertices[2] = {
        {start.x, start.y, start.z, normal.x, normal.y, normal.z, m_Color.GetARGB(), 0.0f, 0.0f},
        {end.x, end.y, end.z, normal.x, normal.y, normal.z, endColor, 1.0f, 1.0f},
    };
    device->SetFVF(kShapeFVF);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, vertices, kShapeStride);
    return true;
}

bool ORVD3D_DrawHelper::DrawCircle(D3DXVECTOR3 center, float radius)
{
    // Written so that a NaN radius is refused too.
    if (!(radius > 0.0f))
        return false;
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return false;

    int count = 40;
    if (m_Lod == 0)
        count = 10;
    else if (m_Lod == 1)
        count = 20;
    const float step = (360.0f / static_cast<float>(count - 2)) * kRadiansPerDegree;
    const DWORD color = m_Color.GetARGB();

    // Centre, count - 2 points round the rim, then the first rim point
    // again to close the fan.
    std::vector<ShapeVertex> vertices(static_cast<std::size_t>(count));
    vertices[0] = {center.x, center.y, center.z, 0.0f, 0.0f, 1.0f, color, 0.5f, 0.5f};
    for (int i = 0; i <= count - 3; ++i) {
        const float a = static_cast<float>(i) * step;
        const float c = std::cos(a);
        const float s = std::sin(a);
        vertices[static_cast<std::size_t>(i) + 1] = {
            c * radius + center.x, s * radius + center.y, center.z, 0.0f, 0.0f, 1.0f, color,
            c * 0.5f + 0.5f,       0.5f - s * 0.5f};
    }
    vertices[static_cast<std::size_t>(count) - 1] = vertices[1];
    if (m_ShadeMode == 1)
        vertices[0].color = m_ShadeColor.GetARGB();

    device->SetFVF(kShapeFVF);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, static_cast<UINT>(count - 2), vertices.data(), kShapeStride);
    return true;
}

bool ORVD3D_DrawHelper::DrawRectangle(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2, bool inXZ)
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return false;
    // The second coordinate of the rectangle: y in the XY plane, z in XZ.
    const float a1 = inXZ ? corner1.z : corner1.y;
    const float a2 = inXZ ? corner2.z : corner2.y;
    const float minX = std::fmin(corner1.x, corner2.x);
    const float maxX = std::fmax(corner1.x, corner2.x);
    const float minA = std::fmin(a1, a2);
    const float maxA = std::fmax(a1, a2);
    const float centerX = (corner1.x + corner2.x) / 2.0f;
    const float centerA = (a1 + a2) / 2.0f;
    const DWORD color = m_Color.GetARGB();

    auto vertex = [&](float x, float a, float u, float v) {
        return inXZ ? ShapeVertex{x, 0.0f, a, 0.0f, 1.0f, 0.0f, color, u, v}
                    : ShapeVertex{x, a, 0.0f, 0.0f, 0.0f, 1.0f, color, u, v};
    };
    ShapeVertex vertices[6] = {
        vertex(centerX, centerA, 0.5f, 0.5f), vertex(minX, maxA, 1.0f, 0.0f), vertex(minX, minA, 1.0f, 1.0f),
        vertex(maxX, minA, 0.0f, 1.0f),       vertex(maxX, maxA, 0.0f, 0.0f), vertex(minX, maxA, 1.0f, 0.0f),
    };
    if (m_ShadeMode == 1)
        vertices[0].color = m_ShadeColor.GetARGB();

    device->SetFVF(kShapeFVF);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 4, vertices, kShapeStride);
    return true;
}

bool ORVD3D_DrawHelper::DrawRectangleXY(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2)
{
    return DrawRectangle(corner1, corner2, false);
}

bool ORVD3D_DrawHelper::DrawRectangleXZ(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2)
{
    return DrawRectangle(corner1, corner2, true);
}

void ORVD3D_DrawHelper::SetShadeMode(int mode)
{
    ORV_DrawHelper::SetShadeMode(mode);
    if (IDirect3DDevice9* device = Device())
        device->SetRenderState(D3DRS_SHADEMODE, m_ShadeMode == 1 ? D3DSHADE_GOURAUD : D3DSHADE_FLAT);
}

void ORVD3D_DrawHelper::SetFillMode(int mode)
{
    ORV_DrawHelper::SetFillMode(mode);
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return;
    DWORD fill = D3DFILL_POINT;
    if (m_FillMode == 2)
        fill = D3DFILL_SOLID;
    else if (m_FillMode == 1)
        fill = D3DFILL_WIREFRAME;
    device->SetRenderState(D3DRS_FILLMODE, fill);
}

bool ORVD3D_DrawHelper::EnableBlending(bool on)
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return true;
    if (on) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    } else {
        // The blend factors stay as they were; only blending goes off.
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    }
    return true;
}

bool ORVD3D_DrawHelper::EnableTexture(bool on)
{
    if (Device() == nullptr)
        return true;
    ORVD3D_GraphicsSystem& system = ORVD3D_GraphicsSystem::GetInstance();
    if (on)
        system.ActivateTexture(GetTextureFileName(), 0);  // a missing texture leaves stage 0 alone
    else
        system.DeactivateTexture(0);
    return true;
}

bool ORVD3D_DrawHelper::EnableLighting(bool on)
{
    IDirect3DDevice9* device = Device();
    if (device == nullptr)
        return true;
    if (on) {
        D3DMATERIAL9 material{};
        material.Diffuse = ToColorValue(m_Material.GetDiffuse());
        material.Ambient = ToColorValue(m_Material.GetAmbient());
        material.Specular = ToColorValue(m_Material.GetSpecular());
        material.Emissive = ToColorValue(m_Material.GetEmissive());
        material.Power = m_Material.GetPower();
        device->SetRenderState(D3DRS_LIGHTING, TRUE);
        device->SetMaterial(&material);
    } else {
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
    }
    return true;
}
