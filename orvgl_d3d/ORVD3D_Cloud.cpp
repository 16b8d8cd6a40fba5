#include "ORVD3D_Cloud.h"

#include "ORVD3D_GraphicsSystem.h"
#include "ORV_DrawHelper.h"
#include "ORV_XformInfo.h"

namespace {

// A centre sphere and one on each side along X, Y and Z.
constexpr D3DXVECTOR3 kSphereOffsets[7] = {
    {0.0f, 0.0f, 0.0f},  {0.1f, 0.0f, 0.0f}, {-0.1f, 0.0f, 0.0f}, {0.0f, 0.1f, 0.0f},
    {0.0f, -0.1f, 0.0f}, {0.0f, 0.0f, 0.1f}, {0.0f, 0.0f, -0.1f},
};

}  // namespace

ORVD3D_Cloud::ORVD3D_Cloud()
{
    SetLighting(false);
}

ORVD3D_Cloud::~ORVD3D_Cloud() = default;

bool ORVD3D_Cloud::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    bool drawn = false;
    ORV_XformInfo xform;
    for (const D3DXVECTOR3& offset : kSphereOffsets) {
        ORVD3D_MeshResource* sphere = ORVD3D_GraphicsSystem::GetInstance().GetMeshResource(L"sphere.x");
        if (sphere == nullptr)
            continue;
        helper.PushModelTransform();
        xform.SetScale(0.05f, 0.05f, 0.05f);
        xform.SetTranslation(offset.x, offset.y, offset.z);
        xform.SetUpModelTransform(helper);
        // Texturing off here leaves stage 0 as the attributes set it, so a
        // textured cloud shows its texture on every sphere.
        sphere->Render(false, true, m_Color);
        helper.PopModelTransform();
        drawn = true;
    }
    return drawn;
}
