#include "ORVD3D_MeshResource.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "Utf8.h"
#include "d3dx9tex.h"

namespace {

D3DCOLORVALUE ToColorValue(ORV_Color color)
{
    return {color.GetRf(), color.GetGf(), color.GetBf(), color.GetAf()};
}

ORV_Color FromColorValue(const D3DCOLORVALUE& value)
{
    return ORV_Color(value.r, value.g, value.b, value.a);
}

// Folder of the located mesh file, with a trailing "/", or empty when the
// path names no folder. "/" is looked for first, a backslash only when there
// is no "/".
std::wstring FolderOf(const std::wstring& path)
{
    std::size_t separator = path.rfind(L'/');
    if (separator == std::wstring::npos)
        separator = path.rfind(L'\\');
    if (separator == std::wstring::npos)
        return {};
    return path.substr(0, separator) + L"/";
}

bool IsFinite(const D3DXVECTOR3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// True when every vertex position of mesh is a finite point. The box alone
// cannot tell: it passes over a position that is not a number.
bool HasFinitePositions(ID3DXMesh* mesh)
{
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    if (FAILED(mesh->GetVertexBuffer(&vertexBuffer)) || vertexBuffer == nullptr)
        return false;
    bool finite = false;
    void* data = nullptr;
    if (SUCCEEDED(vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY)) && data != nullptr) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        const std::size_t stride = D3DXGetFVFVertexSize(mesh->GetFVF());
        finite = true;
        for (DWORD i = 0; i < mesh->GetNumVertices() && finite; ++i) {
            D3DXVECTOR3 position;
            std::memcpy(&position, bytes + std::size_t{i} * stride, sizeof position);
            finite = IsFinite(position);
        }
        vertexBuffer->Unlock();
    }
    vertexBuffer->Release();
    return finite;
}

std::string Corners(const ORV_BoundingBox& box)
{
    const D3DXVECTOR3 lo = box.GetMin();
    const D3DXVECTOR3 hi = box.GetMax();
    char text[200];
    std::snprintf(text, sizeof text, "%g, %g, %g and %g, %g, %g", static_cast<double>(lo.x), static_cast<double>(lo.y),
                  static_cast<double>(lo.z), static_cast<double>(hi.x), static_cast<double>(hi.y),
                  static_cast<double>(hi.z));
    return text;
}

// A box whose corners and sizes are all finite numbers: the sizes of a box
// from -3e38 to 3e38 overflow, and whatever is worked out from them is no
// number at all.
bool IsFiniteBox(const ORV_BoundingBox& box)
{
    return box.IsValid() && IsFinite(box.GetMin()) && IsFinite(box.GetMax()) && std::isfinite(box.Width()) &&
           std::isfinite(box.Height()) && std::isfinite(box.Depth());
}

}  // namespace

ORVD3D_MeshResource::ORVD3D_MeshResource()
{
    m_BoundingBox.MakeInvalid();
}

ORVD3D_MeshResource::~ORVD3D_MeshResource()
{
    ORVD3D_MeshResource::Unload();
}

void ORVD3D_MeshResource::Unload()
{
    ORVD3D_Resource::Unload();
    m_BoundingBox.MakeInvalid();
    m_Materials = ORV_Array<D3DMATERIAL9>();
    for (int i = 0; i < m_SubsetTextures.Count(); ++i) {
        if (m_SubsetTextures[i] != nullptr) {
            m_SubsetTextures[i]->Release();
            m_SubsetTextures[i] = nullptr;
        }
    }
    m_SubsetTextures = ORV_Array<IDirect3DTexture9*>();
    if (m_pMesh != nullptr) {
        m_pMesh->Release();
        m_pMesh = nullptr;
    }
}

bool ORVD3D_MeshResource::CreateFromPath(const wchar_t* locatedPath)
{
    if (m_pDevice == nullptr || locatedPath == nullptr)
        return false;

    ID3DXBuffer* materialBuffer = nullptr;
    DWORD materialCount = 0;
    if (FAILED(D3DXLoadMeshFromXW(locatedPath, D3DXMESH_SYSTEMMEM, m_pDevice, nullptr, &materialBuffer, nullptr,
                                  &materialCount, &m_pMesh)) ||
        m_pMesh == nullptr) {
        if (materialBuffer != nullptr)
            materialBuffer->Release();
        m_pMesh = nullptr;
        Unload();
        return false;
    }

    // A mesh that cannot be placed in the world is refused whole, whatever
    // the reader let through: a flight computed from it would be no number.
    ComputeBoundingBox();
    std::string refusal;
    if (!HasFinitePositions(m_pMesh))
        refusal = "a vertex position is not a finite number";
    else if (!IsFiniteBox(m_BoundingBox))
        refusal = "the mesh's size is not a finite number (its vertices reach " + Corners(m_BoundingBox) + ")";
    if (!refusal.empty()) {
        if (materialBuffer != nullptr)
            materialBuffer->Release();
        Unload();
        m_FailureReason = refusal;
        return false;
    }

    const std::wstring folder = FolderOf(locatedPath);
    const auto* entries =
        materialBuffer != nullptr ? static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer()) : nullptr;
    if (entries == nullptr)
        materialCount = 0;
    for (DWORD i = 0; i < materialCount; ++i) {
        m_Materials.Add(entries[i].MatD3D);
        m_SubsetTextures.Add(nullptr);
        const char* textureName = entries[i].pTextureFilename;
        if (textureName != nullptr && *textureName != '\0')
            m_SubsetTextures[static_cast<int>(i)] = LoadSubsetTexture(folder + Utf8ToWide(textureName), locatedPath);
    }
    if (materialBuffer != nullptr)
        materialBuffer->Release();
    return true;
}

// Subset textures lie beside the mesh file, not in the search folders. A
// texture that cannot be had leaves its subset untextured; the status slot
// hears nothing of it, the problem reporter does.
IDirect3DTexture9* ORVD3D_MeshResource::LoadSubsetTexture(const std::wstring& path, const wchar_t* meshPath)
{
    std::string reason;
    IDirect3DTexture9* texture = nullptr;
    // A composed path too long for the path limit is refused rather than
    // cut (a cut name would load some other file).
    if (path.size() > kMaxTexturePath) {
        reason = "the path is longer than " + std::to_string(kMaxTexturePath) + " characters";
    } else if (CheckBeforeReading(path, reason)) {
        if (FAILED(D3DXCreateTextureFromFileW(m_pDevice, path.c_str(), &texture))) {
            reason = ReasonFromReader(path);
            if (texture != nullptr) {
                texture->Release();
                texture = nullptr;
            }
        } else if (texture == nullptr) {
            reason = "cannot be loaded";
        }
    }
    if (texture == nullptr)
        ReportFileProblem(path, reason + " (a texture of " + QuotePath(meshPath) + ")");
    return texture;
}

bool ORVD3D_MeshResource::Adopt(IDirect3DDevice9* device, const wchar_t* fileName, ID3DXMesh* mesh)
{
    const std::wstring name = fileName != nullptr ? fileName : L"";
    Unload();
    if (device == nullptr || mesh == nullptr || name.empty())
        return false;
    m_pDevice = device;
    m_pDevice->AddRef();
    m_FileName = name;
    m_pMesh = mesh;
    m_pMesh->AddRef();
    D3DMATERIAL9 white{};
    white.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m_Materials.Add(white);
    m_SubsetTextures.Add(nullptr);
    ComputeBoundingBox();
    return true;
}

// The box over every vertex position, in mesh coordinates. A mesh whose box
// cannot be computed keeps the invalid box rather than one made of whatever
// the corners held.
void ORVD3D_MeshResource::ComputeBoundingBox()
{
    m_BoundingBox.MakeInvalid();
    if (m_pMesh == nullptr)
        return;
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    if (SUCCEEDED(m_pMesh->GetVertexBuffer(&vertexBuffer)) && vertexBuffer != nullptr) {
        void* data = nullptr;
        if (SUCCEEDED(vertexBuffer->Lock(0, 0, &data, D3DLOCK_NOSYSLOCK)) && data != nullptr) {
            D3DXVECTOR3 minimum;
            D3DXVECTOR3 maximum;
            const HRESULT boxResult =
                D3DXComputeBoundingBox(static_cast<const D3DXVECTOR3*>(data), m_pMesh->GetNumVertices(),
                                       D3DXGetFVFVertexSize(m_pMesh->GetFVF()), &minimum, &maximum);
            vertexBuffer->Unlock();
            if (SUCCEEDED(boxResult))
                m_BoundingBox.Set(minimum.x, minimum.y, minimum.z, maximum.x, maximum.y, maximum.z);
        }
        vertexBuffer->Release();
    }
}

ORV_Material ORVD3D_MeshResource::GetMaterial() const
{
    ORV_Material material;
    if (m_Materials.Count() > 0) {
        const D3DMATERIAL9& first = m_Materials[0];
        material.SetPower(first.Power);
        material.SetDiffuse(FromColorValue(first.Diffuse));
        material.SetSpecular(FromColorValue(first.Specular));
        material.SetAmbient(FromColorValue(first.Ambient));
        material.SetEmissive(FromColorValue(first.Emissive));
    }
    return material;
}

void ORVD3D_MeshResource::SetMaterial(const ORV_Material& material)
{
    if (m_Materials.Count() == 0)
        return;
    D3DMATERIAL9& first = m_Materials[0];
    first.Diffuse = ToColorValue(material.GetDiffuse());
    first.Ambient = ToColorValue(material.GetAmbient());
    first.Specular = ToColorValue(material.GetSpecular());
    first.Emissive = ToColorValue(material.GetEmissive());
    first.Power = material.GetPower();
}

void ORVD3D_MeshResource::Render(bool texturing, bool overrideColor, ORV_Color color)
{
    if (m_pDevice == nullptr || m_pMesh == nullptr)
        return;

    // All terms zero but the emissive one: lights cannot change the colour.
    D3DMATERIAL9 overrideMaterial{};
    overrideMaterial.Emissive = ToColorValue(color);

    DWORD savedLighting = TRUE;
    if (overrideColor) {
        m_pDevice->GetRenderState(D3DRS_LIGHTING, &savedLighting);
        m_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
    }
    for (int i = 0; i < m_Materials.Count(); ++i) {
        if (overrideColor && !texturing) {
            m_pDevice->SetMaterial(&overrideMaterial);
        } else {
            m_pDevice->SetMaterial(&m_Materials[i]);
            // A subset without a texture keeps whatever stage 0 holds.
            if (texturing && m_SubsetTextures[i] != nullptr) {
                m_pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
                m_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
                m_pDevice->SetTexture(0, m_SubsetTextures[i]);
            }
        }
        m_pMesh->DrawSubset(static_cast<DWORD>(i));
    }
    if (overrideColor)
        m_pDevice->SetRenderState(D3DRS_LIGHTING, savedLighting);
}
