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

    // Both meshes run along their own Z: each is scaled to its width and its
    // share of the arrow's length, turned onto X and moved out to its place.
    auto drawPart = [&](ORVD3D_MeshResource* part, float width, float length, float place) {
        helper.PushModelTransform();
        ORV_XformInfo xform;
        xform.SetScale(width, width, length / part->GetBoundingBox()->Depth());
        xform.RotateYDegrees(-90.0f);
        xform.SetTranslation(place, 0.0f, 0.0f);
        xform.SetUpModelTransform(helper);
        part->Render(false, true, m_Color);
        helper.PopModelTransform();
    };
    drawPart(cylinder, 0.025f, 0.8f, 0.4f);  // the shaft
    drawPart(cone, 0.08f, 0.3f, 0.85f);      // the head
    return true;
}
