#include "RecordingDrawHelper.h"

RecordingDrawHelper::~RecordingDrawHelper()
{
    if (m_Stack)
        m_Stack->Release();
}

RecordingDrawHelper::Call RecordingDrawHelper::Make(const char* op,
                                                    std::initializer_list<D3DXVECTOR3> pts) const
{
    Call call;
    call.op = op;
    for (const D3DXVECTOR3& p : pts)
    {
        call.local.push_back(p);
        call.points.push_back(Transformed(p));
    }
    call.color = m_Color;
    call.shadeColor = m_ShadeColor;
    call.shadeMode = m_ShadeMode;
    call.fillMode = m_FillMode;
    call.pointSize = m_PointSize;
    return call;
}

D3DXVECTOR3 RecordingDrawHelper::Transformed(D3DXVECTOR3 p) const
{
    if (!m_Stack)
        return p;
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, m_Stack->GetTop());
    return out;
}

int RecordingDrawHelper::Depth() const
{
    return m_Stack ? static_cast<int>(m_Stack->GetDepth()) : 0;
}

bool RecordingDrawHelper::DrawPoint(D3DXVECTOR3 position)
{
    shapes.push_back(Make("point", {position}));
    log.push_back("DrawPoint");
    return true;
}

bool RecordingDrawHelper::DrawLine(D3DXVECTOR3 start, D3DXVECTOR3 end)
{
    shapes.push_back(Make("line", {start, end}));
    log.push_back("DrawLine");
    return true;
}

bool RecordingDrawHelper::DrawCircle(D3DXVECTOR3 center, float radius)
{
    Call call = Make("circle", {center});
    call.radius = radius;
    shapes.push_back(call);
    log.push_back("DrawCircle");
    return true;
}

bool RecordingDrawHelper::DrawRectangleXY(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2)
{
    // The shape lies at z = 0 of the model frame whatever the corners say.
    shapes.push_back(Make("rectXY", {D3DXVECTOR3(corner1.x, corner1.y, 0.0f),
                                     D3DXVECTOR3(corner2.x, corner2.y, 0.0f)}));
    log.push_back("DrawRectangleXY");
    return true;
}

bool RecordingDrawHelper::DrawRectangleXZ(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2)
{
    shapes.push_back(Make("rectXZ", {D3DXVECTOR3(corner1.x, 0.0f, corner1.z),
                                     D3DXVECTOR3(corner2.x, 0.0f, corner2.z)}));
    log.push_back("DrawRectangleXZ");
    return true;
}

bool RecordingDrawHelper::ResetAttributes()
{
    log.push_back("ResetAttributes");
    return ORV_DrawHelper::ResetAttributes();
}

bool RecordingDrawHelper::AccumulateModelTransform(D3DXVECTOR3 translation, D3DXVECTOR3 scale,
                                                   const D3DXMATRIX3X3& rotation,
                                                   D3DXVECTOR3 pivot)
{
    log.push_back("AccumulateModelTransform");
    if (!m_Stack)
        InitializeModelTransform();
    D3DXMATRIX r;
    D3DXMatrixIdentity(&r);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            r.m[row][col] = rotation.m[row][col];
    // Each *Local call acts before the current top, so the last one given
    // acts first on a point: -pivot, scale, rotate, +pivot, +translation.
    m_Stack->TranslateLocal(translation.x, translation.y, translation.z);
    m_Stack->TranslateLocal(pivot.x, pivot.y, pivot.z);
    m_Stack->MultMatrixLocal(&r);
    m_Stack->ScaleLocal(scale.x, scale.y, scale.z);
    m_Stack->TranslateLocal(-pivot.x, -pivot.y, -pivot.z);
    return true;
}

bool RecordingDrawHelper::PushModelTransform()
{
    log.push_back("PushModelTransform");
    if (!m_Stack)
        InitializeModelTransform();
    ++pushes;
    return SUCCEEDED(m_Stack->Push());
}

bool RecordingDrawHelper::PopModelTransform()
{
    log.push_back("PopModelTransform");
    if (!m_Stack)
        InitializeModelTransform();
    ++pops;
    return SUCCEEDED(m_Stack->Pop());
}

bool RecordingDrawHelper::InitializeModelTransform()
{
    if (!m_Stack && FAILED(D3DXCreateMatrixStack(0, &m_Stack)))
        return false;
    return SUCCEEDED(m_Stack->LoadIdentity());
}

bool RecordingDrawHelper::TransformPoint(D3DXVECTOR3* point)
{
    *point = Transformed(*point);
    return true;
}

void RecordingDrawHelper::SetShadeMode(int mode)
{
    ORV_DrawHelper::SetShadeMode(mode);
    log.push_back("SetShadeMode " + std::to_string(mode));
}

void RecordingDrawHelper::SetFillMode(int mode)
{
    ORV_DrawHelper::SetFillMode(mode);
    log.push_back("SetFillMode " + std::to_string(mode));
}

bool RecordingDrawHelper::EnableBlending(bool on)
{
    blending = on;
    log.push_back(on ? "EnableBlending 1" : "EnableBlending 0");
    return true;
}

void RecordingDrawHelper::SetTextureFileName(const wchar_t* name)
{
    ORV_DrawHelper::SetTextureFileName(name);
    log.push_back("SetTextureFileName");
}

bool RecordingDrawHelper::EnableTexture(bool on)
{
    texturing = on;
    log.push_back(on ? "EnableTexture 1" : "EnableTexture 0");
    return true;
}

bool RecordingDrawHelper::EnableLighting(bool on)
{
    lighting = on;
    log.push_back(on ? "EnableLighting 1" : "EnableLighting 0");
    return true;
}
