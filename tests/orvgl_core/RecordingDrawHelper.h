#pragma once

#include <string>
#include <vector>

#include "ORV_DrawHelper.h"
#include "d3dx9math.h"

// A drawing helper for tests: realises the model-transform contract on a
// D3DX matrix stack and records every shape call with the attributes that
// were current and its points already carried into the root frame.
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

    bool DrawPoint(D3DXVECTOR3 position) override;
    bool DrawLine(D3DXVECTOR3 start, D3DXVECTOR3 end) override;
    bool DrawCircle(D3DXVECTOR3 center, float radius) override;
    bool DrawRectangleXY(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2) override;
    bool DrawRectangleXZ(D3DXVECTOR3 corner1, D3DXVECTOR3 corner2) override;
    bool ResetAttributes() override;
    bool AccumulateModelTransform(D3DXVECTOR3 translation, D3DXVECTOR3 scale,
                                  const D3DXMATRIX3X3& rotation, D3DXVECTOR3 pivot) override;
    bool PushModelTransform() override;
    bool PopModelTransform() override;
    bool InitializeModelTransform() override;
    bool TransformPoint(D3DXVECTOR3* point) override;
    void SetShadeMode(int mode) override;
    void SetFillMode(int mode) override;
    bool EnableBlending(bool on) override;
    void SetTextureFileName(const wchar_t* name) override;
    bool EnableTexture(bool on) override;
    bool EnableLighting(bool on) override;

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
    Call Make(const char* op, std::initializer_list<D3DXVECTOR3> pts) const;

    ID3DXMatrixStack* m_Stack = nullptr;
};
