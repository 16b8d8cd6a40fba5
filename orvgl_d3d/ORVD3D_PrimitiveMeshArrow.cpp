#include "ORVD3D_PrimitiveMeshArrow.h"

#include "ORVD3D_GraphicsSystem.h"
#include "ORV_DrawHelper.h"
#include "ORV_XformInfo.h"

ORVD3D_PrimitiveMeshArrow::ORVD3D_PrimitiveMeshArrow()
{
    SetLighting(false);
}

ORVD3D_PrimitiveMeshArrow::~ORVD3D_PrimitiveMeshArrow() = default;

bool ORVD3D_PrimitiveMeshArrow::DrawPrimitive(int, ORV_DrawHelper& helper)
{
    ORVD3D_GraphicsSystem& system = ORVD3D_GraphicsSystem::GetInstance();
    ORVD3D_MeshResource* cylinder = system.GetMeshResource(L"cylinder.x");
    ORVD3D_MeshResource* cone = system.GetMeshResource(L"cone.x");
    if (cylinder == nullptr || cone == nullptr)
        return false;

    // Both meshes run along their own Z: each is scaled to its share of the
    // arrow's length (shaft 0.8, head 0.3), turned onto X and moved out.
    helper.PushModelTransform();
    ORV_XformInfo shaft;
    shaft.SetScale(0.025f, 0.025f, 0.8f / cylinder->GetBoundingBox()->Depth());
    shaft.RotateYDegrees(-90.0f);
    shaft.SetTranslation(0.4f, 0.0f, 0.0f);
    shaft.SetUpModelTransform(helper);
    cylinder->Render(false, true, m_Color);
    helper.PopModelTransform();

    helper.PushModelTransform();
    ORV_XformInfo head;
    head.SetScale(0.08f, 0.08f, 0.3f / cone->GetBoundingBox()->Depth());
    head.RotateYDegrees(-90.0f);
    head.SetTranslation(0.85f, 0.0f, 0.0f);
    head.SetUpModelTransform(helper);
    cone->Render(false, true, m_Color);
    helper.PopModelTransform();
    return true;
}
