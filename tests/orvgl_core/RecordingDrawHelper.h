#pragma once

#include <string>
#include <vector>

#include "ORV_DrawHelper.h"
#include "d3dx9math.h"

// A drawing helper for tests: realises the model-transform contract on a
// D3DX matrix stack (which it owns) and records every shape call with the
// attributes that were current and its points already carried into the
// root frame.
class RecordingDrawHelper : public ORV_DrawHelper
{
public:
    struct Call
    {
        std::string op;                  // "point", "line", "circle", "rectXY", "rectXZ"
        std::vector<D3DXVECTOR3> points; // transformed by the stack top
        std::vector<D3DXVECTOR3> local;  // as given
        float radius = 0.0f;
        ORV_Color color;
        ORV_Color shadeColor;
        int shadeMode = 0;
        int fillMode = 0;
        float pointSize = 0.0f;
    };

    RecordingDrawHelper() = default;
    ~RecordingDrawHelper() override;

    bool DrawPoint(D3DXVECTOR3 p) override { return Record("point", "DrawPoint", {p}); }
    bool DrawLine(D3DXVECTOR3 a, D3DXVECTOR3 b) override { return Record("line", "DrawLine", {a, b}); }
    bool DrawCircle(D3DXVECTOR3 center, float radius) override
    {
        Record("circle", "DrawCircle", {center});
        shapes.back().radius = radius;
        return true;
    }
    // The rectangles lie at 0 of the model frame whatever the corners say.
    bool DrawRectangleXY(D3DXVECTOR3 a, D3DXVECTOR3 b) override
    {
        return Record("rectXY", "DrawRectangleXY", {{a.x, a.y, 0.0f}, {b.x, b.y, 0.0f}});
    }
    bool DrawRectangleXZ(D3DXVECTOR3 a, D3DXVECTOR3 b) override
    {
        return Record("rectXZ", "DrawRectangleXZ", {{a.x, 0.0f, a.z}, {b.x, 0.0f, b.z}});
    }
    bool ResetAttributes() override;
    bool AccumulateModelTransform(D3DXVECTOR3 translation, D3DXVECTOR3 scale,
                                  const D3DXMATRIX3X3& rotation, D3DXVECTOR3 pivot) override;
    bool PushModelTransform() override;
    bool PopModelTransform() override;
    bool InitializeModelTransform() override;
    bool TransformPoint(D3DXVECTOR3* point) override
    {
        *point = Transformed(*point);
        return true;
    }
    void SetShadeMode(int mode) override;
    void SetFillMode(int mode) override;
    void SetTextureFileName(const wchar_t* name) override;
    bool EnableBlending(bool on) override { return Switch("EnableBlending", blending, on); }
    bool EnableTexture(bool on) override { return Switch("EnableTexture", texturing, on); }
    bool EnableLighting(bool on) override { return Switch("EnableLighting", lighting, on); }

    // Number of matrices on the stack, 0 before it exists.
    int Depth() const;
    D3DXVECTOR3 Transformed(D3DXVECTOR3 p) const;

    std::vector<Call> shapes;
    // Every virtual call by name, in order (state commands with their argument).
    std::vector<std::string> log;
    int pushes = 0;
    int pops = 0;
    bool blending = false;
    bool texturing = false;
    bool lighting = false;

private:
    bool Record(const char* op, const char* name, std::initializer_list<D3DXVECTOR3> pts);
    bool Switch(const char* name, bool& state, bool on);
    ID3DXMatrixStack* Stack();

    ID3DXMatrixStack* m_Stack = nullptr;
};
