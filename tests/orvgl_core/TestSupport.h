#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ORV_BoundingBox.h"
#include "ORV_DrawHelper.h"
#include "ORV_Primitive.h"
#include "d3dx9math.h"

inline void ExpectNear(D3DXVECTOR3 actual, D3DXVECTOR3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectBox(const ORV_BoundingBox& box, D3DXVECTOR3 min, D3DXVECTOR3 max, float tolerance = 1e-5f)
{
    ExpectNear(box.GetMin(), min, tolerance);
    ExpectNear(box.GetMax(), max, tolerance);
}

// A primitive with a fixed box (or none) that counts its deletions.
class CountedPrimitive : public ORV_Primitive
{
public:
    static inline int s_Deleted = 0;

    explicit CountedPrimitive(bool hasBox = false) : m_HasBox(hasBox) {}
    CountedPrimitive(D3DXVECTOR3 min, D3DXVECTOR3 max) : m_HasBox(true), m_Box(min, max) {}
    ~CountedPrimitive() override { ++s_Deleted; }
    ORV_BoundingVolume* GetBoundingVolume(int) override { return m_HasBox ? &m_Box : nullptr; }
    bool DrawPrimitive(int, ORV_DrawHelper&) override { return ++drawn; }

    int drawn = 0;

private:
    bool m_HasBox;
    ORV_BoundingBox m_Box;
};

// Realises the model-transform contract on a D3DX matrix stack and records
// every shape (points carried into the root frame) and every call in order.
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

    RecordingDrawHelper() { D3DXCreateMatrixStack(0, &m_Stack); }
    ~RecordingDrawHelper() override { m_Stack->Release(); }

    bool DrawPoint(D3DXVECTOR3 p) override { return Record("point", {p}); }
    bool DrawLine(D3DXVECTOR3 a, D3DXVECTOR3 b) override { return Record("line", {a, b}); }
    bool DrawCircle(D3DXVECTOR3 c, float) override { return Record("circle", {c}); }
    // The rectangles lie at 0 of the model frame whatever the corners say.
    bool DrawRectangleXY(D3DXVECTOR3 a, D3DXVECTOR3 b) override { return Record("rectXY", {a, b}, 2); }
    bool DrawRectangleXZ(D3DXVECTOR3 a, D3DXVECTOR3 b) override { return Record("rectXZ", {a, b}, 1); }
    bool ResetAttributes() override { return Log("ResetAttributes") && ORV_DrawHelper::ResetAttributes(); }
    // The last *Local call acts first: -pivot, scale, rotate, +pivot, +t.
    bool AccumulateModelTransform(D3DXVECTOR3 t, D3DXVECTOR3 s, const D3DXMATRIX3X3& rotation,
                                  D3DXVECTOR3 pivot) override
    {
        D3DXMATRIX r;
        D3DXMatrixIdentity(&r);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                r.m[row][col] = rotation.m[row][col];
        m_Stack->TranslateLocal(t.x, t.y, t.z);
        m_Stack->TranslateLocal(pivot.x, pivot.y, pivot.z);
        m_Stack->MultMatrixLocal(&r);
        m_Stack->ScaleLocal(s.x, s.y, s.z);
        m_Stack->TranslateLocal(-pivot.x, -pivot.y, -pivot.z);
        return Log("AccumulateModelTransform");
    }
    bool PushModelTransform() override { return ++pushes && Log("PushModelTransform") && SUCCEEDED(m_Stack->Push()); }
    bool PopModelTransform() override { return ++pops && Log("PopModelTransform") && SUCCEEDED(m_Stack->Pop()); }
    bool InitializeModelTransform() override { return SUCCEEDED(m_Stack->LoadIdentity()); }
    bool TransformPoint(D3DXVECTOR3* point) override
    {
        const D3DXVECTOR3 local = *point;
        D3DXVec3TransformCoord(point, &local, m_Stack->GetTop());
        return true;
    }
    void SetTextureFileName(const wchar_t* name) override
    {
        ORV_DrawHelper::SetTextureFileName(name);
        Log("SetTextureFileName");
    }
    bool EnableBlending(bool on) override { return Log(on ? "EnableBlending 1" : "EnableBlending 0"); }
    bool EnableTexture(bool on) override { return Log(on ? "EnableTexture 1" : "EnableTexture 0"); }
    bool EnableLighting(bool on) override { return Log(on ? "EnableLighting 1" : "EnableLighting 0"); }

    std::vector<Call> shapes;
    std::vector<std::string> log;
    int pushes = 0;
    int pops = 0;

private:
    bool Log(const char* entry)
    {
        log.push_back(entry);
        return true;
    }
    bool Record(const char* op, std::initializer_list<D3DXVECTOR3> pts, int flatAxis = -1)
    {
        shapes.push_back({op, pts, m_Color, m_FillMode});
        for (D3DXVECTOR3& p : shapes.back().points) {
            if (flatAxis >= 0)
                (&p.x)[flatAxis] = 0;
            TransformPoint(&p);
        }
        return Log(op);
    }

    ID3DXMatrixStack* m_Stack = nullptr;
};
