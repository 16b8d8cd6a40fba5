#include "RecordingDrawHelper.h"

RecordingDrawHelper::~RecordingDrawHelper()
{
    if (m_Stack)
        m_Stack->Release();
}

bool RecordingDrawHelper::Record(const char* op, const char* name, std::initializer_list<D3DXVECTOR3> pts)
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
    shapes.push_back(call);
    log.push_back(name);
    return true;
}

bool RecordingDrawHelper::Switch(const char* name, bool& state, bool on)
{
    state = on;
    log.push_back(std::string(name) + (on ? " 1" : " 0"));
    return true;
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

ID3DXMatrixStack* RecordingDrawHelper::Stack()
{
    if (!m_Stack)
        InitializeModelTransform();
    return m_Stack;
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
    D3DXMATRIX r;
    D3DXMatrixIdentity(&r);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            r.m[row][col] = rotation.m[row][col];
    // Each *Local call acts before the current top, so the last one given
    // acts first on a point: -pivot, scale, rotate, +pivot, +translation.
    ID3DXMatrixStack* stack = Stack();
    stack->TranslateLocal(translation.x, translation.y, translation.z);
    stack->TranslateLocal(pivot.x, pivot.y, pivot.z);
    stack->MultMatrixLocal(&r);
    stack->ScaleLocal(scale.x, scale.y, scale.z);
    stack->TranslateLocal(-pivot.x, -pivot.y, -pivot.z);
    return true;
}

bool RecordingDrawHelper::PushModelTransform()
{
    log.push_back("PushModelTransform");
    ++pushes;
    return SUCCEEDED(Stack()->Push());
}

bool RecordingDrawHelper::PopModelTransform()
{
    log.push_back("PopModelTransform");
    ++pops;
    return SUCCEEDED(Stack()->Pop());
}

bool RecordingDrawHelper::InitializeModelTransform()
{
    if (!m_Stack && FAILED(D3DXCreateMatrixStack(0, &m_Stack)))
        return false;
    return SUCCEEDED(m_Stack->LoadIdentity());
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

void RecordingDrawHelper::SetTextureFileName(const wchar_t* name)
{
    ORV_DrawHelper::SetTextureFileName(name);
    log.push_back("SetTextureFileName");
}
