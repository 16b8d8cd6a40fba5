#include "ORVD3D_PrimitiveMesh.h"

#include <optional>

#include "ORVD3D_GraphicsSystem.h"
#include "ORV_DrawHelper.h"
#include "ORV_ProblemReport.h"

ORVD3D_PrimitiveMesh::ORVD3D_PrimitiveMesh(const wchar_t* meshFileName)
    : m_MeshFileName(meshFileName != nullptr ? meshFileName : L"")
{
    if (ORVD3D_MeshResource* mesh = LookUpMesh())
        SetMaterial(mesh->GetMaterial());
}

ORVD3D_PrimitiveMesh::ORVD3D_PrimitiveMesh(const wchar_t* meshFileName, FileWrittenByProgram)
    : m_MeshFileName(meshFileName != nullptr ? meshFileName : L"")
{
    // Not written yet: the status slot hears of it, the player does not.
    std::wstring found;
    std::optional<ORV_ProblemReporterScope> quiet;
    if (!ORVD3D_Resource::LocateFile(m_MeshFileName.c_str(), found))
        quiet.emplace(nullptr);
    if (ORVD3D_MeshResource* mesh = LookUpMesh())
        SetMaterial(mesh->GetMaterial());
}

ORVD3D_PrimitiveMesh::~ORVD3D_PrimitiveMesh() = default;

ORVD3D_MeshResource* ORVD3D_PrimitiveMesh::LookUpMesh() const
{
    return ORVD3D_GraphicsSystem::GetInstance().GetMeshResource(m_MeshFileName.c_str());
}

ORV_BoundingVolume* ORVD3D_PrimitiveMesh::GetBoundingVolume(int)
{
    ORVD3D_MeshResource* mesh = LookUpMesh();
    return mesh != nullptr ? mesh->GetBoundingBox() : nullptr;
}

void ORVD3D_PrimitiveMesh::SetupDrawAttributes(ORV_DrawHelper& helper)
{
    ORV_Primitive::SetupDrawAttributes(helper);
    helper.SetShadeColor(m_ShadeColor);
    helper.SetShadeMode(m_ShadeMode);
    helper.SetFillMode(m_FillMode);
    // The mesh is shared: its subset 0 carries the material of whichever
    // primitive drew it last.
    if (ORVD3D_MeshResource* mesh = LookUpMesh())
        mesh->SetMaterial(m_Material);
}

bool ORVD3D_PrimitiveMesh::DrawPrimitive(int, ORV_DrawHelper&)
{
    ORVD3D_MeshResource* mesh = LookUpMesh();
    if (mesh == nullptr)
        return false;
    mesh->Render(m_Texturing, !m_Lighting, m_Color);
    return true;
}
