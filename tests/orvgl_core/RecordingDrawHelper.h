#pragma once

#include <string>
#include <vector>

#include "ORV_DrawHelper.h"
#include "d3dx9math.h"

// A drawing helper for tests: realises the model-transform contract on a
// D3DX matrix stack (which it owns) and records every shape with the colour
// and fill mode current and its points carried into the root frame, and
// every call by name in order.
class RecordingDrawHelper : public ORV_DrawHelper
{
public:
    struct Call
    {
        std::string op;
        std::vector<D3DXVECTOR3> points;
        ORV_Color color;
        int fillMode = 0;
    };

    ~RecordingDrawHelper() override
    {
        if (m_Stack)
            m_Stack->Release();
    }

    bool DrawPoint(D3DXVECTOR3 p) override { return Record("point", {p}); }
    bool DrawLine(D3DXVECTOR3 a, D3DXVECTOR3 b) override { return Record("line", {a, b}); }
    bool DrawCircle(D3DXVECTOR3 c, float) override { return Record("circle", {c}); }
    // The rectangles lie at 0 of the model frame whatever the corners say.
    bool DrawRectangleXY(D3DXVECTOR3 a, D3DXVECTOR3 b) override
    {
        return Record("rectXY", {{a.x, a.y, 0.0f}, {b.x, b.y, 0.0f}});
    }
    bool DrawRectangleXZ(D3DXVECTOR3 a, D3DXVECTOR3 b) override
    {
        return Record("rectXZ", {{a.x, 0.0f, a.z}, {b.x, 0.0f, b.z}});
    }
    bool ResetAttributes() override
    {
        log.push_back("ResetAttributes");
        return ORV_DrawHelper::ResetAttributes();
    }
    // The last *Local call acts first on a point: -pivot, scale, rotate,
    // +pivot, +translation.
    bool AccumulateModelTransform(D3DXVECTOR3 t, D3DXVECTOR3 s, const D3DXMATRIX3X3& rotation,
                                  D3DXVECTOR3 pivot) override
    {
        log.push_back("AccumulateModelTransform");
        D3DXMATRIX r;
        D3DXMatrixIdentity(&r);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                r.m[row][col] = rotation.m[row][col];
        ID3DXMatrixStack* stack = Stack();
        stack->TranslateLocal(t.x, t.y, t.z);
        stack->TranslateLocal(pivot.x, pivot.y, pivot.z);
        stack->MultMatrixLocal(&r);
        stack->ScaleLocal(s.x, s.y, s.z);
        stack->TranslateLocal(-pivot.x, -pivot.y, -pivot.z);
        return true;
    }
    bool PushModelTransform() override
    {
        log.push_back("PushModelTransform");
        ++pushes;
        return SUCCEEDED(Stack()->Push());
    }
    bool PopModelTransform() override
    {
        log.push_back("PopModelTransform");
        ++pops;
        return SUCCEEDED(Stack()->Pop());
    }
    bool InitializeModelTransform() override
    {
        if (!m_Stack && FAILED(D3DXCreateMatrixStack(0, &m_Stack)))
            return false;
        return SUCCEEDED(m_Stack->LoadIdentity());
    }
    bool TransformPoint(D3DXVECTOR3* point) override
    {
        *point = Transformed(*point);
        return true;
    }
    void SetTextureFileName(const wchar_t* name) override
    {
        ORV_DrawHelper::SetTextureFileName(name);
        log.push_back("SetTextureFileName");
    }
    bool EnableBlending(bool on) override { return Switch("EnableBlending", on); }
    bool EnableTexture(bool on) override { return Switch("EnableTexture", on); }
    bool EnableLighting(bool on) override { return Switch("EnableLighting", on); }

    // Number of matrices on the stack, 0 before it exists.
    int Depth() const { return m_Stack ? static_cast<int>(m_Stack->GetDepth()) : 0; }
    D3DXVECTOR3 Transformed(D3DXVECTOR3 p) const
    {
        D3DXVECTOR3 out = p;
        if (m_Stack)
            D3DXVec3TransformCoord(&out, &p, m_Stack->GetTop());
        return out;
    }

    std::vector<Call> shapes;
    std::vector<std::string> log;  // state switches with their argument
    int pushes = 0;
    int pops = 0;

private:
    bool Record(const char* op, std::initializer_list<D3DXVECTOR3> pts)
    {
        Call call{op, {}, m_Color, m_FillMode};
        for (const D3DXVECTOR3& p : pts)
            call.points.push_back(Transformed(p));
        shapes.push_back(call);
        log.push_back(op);
        return true;
    }
    bool Switch(const char* name, bool on)
    {
        log.push_back(std::string(name) + (on ? " 1" : " 0"));
        return true;
    }
    ID3DXMatrixStack* Stack()
    {
        if (!m_Stack)
            InitializeModelTransform();
        return m_Stack;
    }

    ID3DXMatrixStack* m_Stack = nullptr;
};
