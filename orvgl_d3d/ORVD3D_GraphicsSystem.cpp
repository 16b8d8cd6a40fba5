#include "ORVD3D_GraphicsSystem.h"

#include <cwchar>
#include <memory>

#include "ORV_MessageBox.h"
#include "ORV_StatusEcho.h"

namespace {

// Recursive binary search of a table sorted in wcscmp order over low..high;
// the index of the element named name, or -1.
template <class Resource>
int FindInTable(const ORV_PointerArray<Resource*>& table, const wchar_t* name, int low, int high)
{
    if (high < low)
        return -1;
    const int middle = (low + high) / 2;
    if (middle < 0 || middle > table.Count() - 1)
        return -1;
    const int comparison = std::wcscmp(name, table[middle]->GetFileName());
    if (comparison == 0)
        return middle;
    if (low == high)
        return -1;
    if (comparison > 0 && middle < high)
        return FindInTable(table, name, middle + 1, high);
    if (comparison < 0 && middle > low)
        return FindInTable(table, name, low, middle - 1);
    return -1;
}

// Inserts before the first element whose name sorts after the new one; the
// table owns the resource from here on.
template <class Resource>
Resource* InsertSorted(ORV_PointerArray<Resource*>& table, std::unique_ptr<Resource> resource)
{
    const wchar_t* name = resource->GetFileName();
    int at = 0;
    while (at < table.Count() && std::wcscmp(name, table[at]->GetFileName()) >= 0)
        ++at;
    Resource* added = resource.release();
    table.InsertAt(at, added);
    return added;
}

// The lookup both tables share: found, or loaded and inserted in order.
template <class Resource>
Resource* LookUp(ORV_PointerArray<Resource*>& table, ORVD3D_FailedLoads& failures, IDirect3DDevice9* device,
                 const wchar_t* name, bool createIfMissing)
{
    if (name == nullptr || *name == L'\0')
        return nullptr;
    const int found = FindInTable(table, name, 0, table.Count() - 1);
    if (found >= 0)
        return table[found];
    if (!createIfMissing)
        return nullptr;

    // A load that failed before is reported again from memory while its
    // file stays as it was: a bad file is read once, not on every draw.
    const std::wstring key = name;
    if (const std::wstring* report = failures.Recall(key)) {
        EchoToStatus0(report->c_str());
        return nullptr;
    }
    // Stamped before loading: a file that changes during the load is
    // looked at again next time.
    std::wstring located;
    std::vector<ORVD3D_FileStamp> looked;
    ORVD3D_Resource::LocateFile(name, located, &looked);
    auto resource = std::make_unique<Resource>();
    if (!resource->Load(device, name)) {
        if (!resource->GetFailureReport().empty())
            failures.Remember(key, std::move(looked), resource->GetFailureReport());
        return nullptr;
    }
    return InsertSorted(table, std::move(resource));
}

template <class Resource>
void EmptyTable(ORV_PointerArray<Resource*>& table)
{
    for (int i = table.Count() - 1; i >= 0; --i)
        table.RemoveAt(i);
}

// What every chain of the game presents with: windowed, discarding, in the
// adapter's current format (zero without an interface to ask), shown at
// once; everything else zero.
D3DPRESENT_PARAMETERS WindowedPresentParameters(IDirect3D9* d3d)
{
    D3DDISPLAYMODE mode{};
    if (d3d != nullptr)
        d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = mode.Format;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return params;
}

}  // namespace

ORVD3D_GraphicsSystem& ORVD3D_GraphicsSystem::GetInstance()
{
    static ORVD3D_GraphicsSystem instance;
    return instance;
}

ORVD3D_GraphicsSystem::ORVD3D_GraphicsSystem() : m_Textures(true), m_Meshes(true) {}

ORVD3D_GraphicsSystem::~ORVD3D_GraphicsSystem()
{
    ReleaseGraphicsContext();
}

bool ORVD3D_GraphicsSystem::CreateGraphicsContext(HWND focusWindow)
{
    if (m_pD3DDevice != nullptr && m_pD3D != nullptr)
        return true;

    // An interface left from a creation whose device failed is replaced, not
    // leaked.
    if (m_pD3D != nullptr) {
        m_pD3D->Release();
        m_pD3D = nullptr;
    }
    m_pD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (m_pD3D == nullptr)
        return false;

    // Otherwise zero: the back buffer takes the focus window's client size
    // and the focus window is the device window.
    D3DPRESENT_PARAMETERS params = WindowedPresentParameters(m_pD3D);
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;

    if (FAILED(m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focusWindow,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &m_pD3DDevice)) ||
        m_pD3DDevice == nullptr) {
        if (m_pD3DDevice != nullptr) {
            m_pD3DDevice->Release();
            m_pD3DDevice = nullptr;
        }
        ORV_MessageBox(HWND{}, L"D3D Creation Failed during CreateDevice",
                       L"ORVD3D_GraphicsSystem::CreateGraphicsContext", MB_OK);
        return false;
    }

    // The fixed states: nothing else in the program sets culling, specular,
    // material sources, normalisation or depth testing.
    m_pD3DDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_pD3DDevice->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    m_pD3DDevice->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pD3DDevice->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pD3DDevice->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pD3DDevice->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    m_pD3DDevice->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    m_pD3DDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    m_pD3DDevice->SetTransform(D3DTS_WORLD, &identity);
    m_pD3DDevice->SetTransform(D3DTS_VIEW, &identity);
    m_pD3DDevice->SetTransform(D3DTS_PROJECTION, &identity);
    return true;
}

IDirect3DSwapChain9* ORVD3D_GraphicsSystem::CreateSwapChain(HWND viewWindow)
{
    if (!IsWindow(viewWindow))
        return nullptr;
    RECT client;
    GetClientRect(viewWindow, &client);
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    // Without a device there is nothing to hand out; counting the request
    // would cost the first real view the device's own chain.
    if (m_pD3DDevice == nullptr)
        return nullptr;

    IDirect3DSwapChain9* swapChain = nullptr;
    if (m_SwapChainCount != 0) {
        D3DPRESENT_PARAMETERS params = WindowedPresentParameters(m_pD3D);
        params.hDeviceWindow = viewWindow;
        params.BackBufferWidth = static_cast<UINT>(width);
        params.BackBufferHeight = static_cast<UINT>(height);
        if (FAILED(m_pD3DDevice->CreateAdditionalSwapChain(&params, &swapChain)))
            swapChain = nullptr;
    } else {
        // The first view shares the device's own back and depth buffers.
        if (FAILED(m_pD3DDevice->GetSwapChain(0, &swapChain)))
            swapChain = nullptr;
    }
    ++m_SwapChainCount;
    return swapChain;
}

void ORVD3D_GraphicsSystem::ReleaseGraphicsContext()
{
    EmptyTable(m_Textures);
    EmptyTable(m_Meshes);
    m_FailedTextures.Clear();
    m_FailedMeshes.Clear();
    if (m_pD3DDevice != nullptr) {
        m_pD3DDevice->Release();
        m_pD3DDevice = nullptr;
    }
    if (m_pD3D != nullptr) {
        m_pD3D->Release();
        m_pD3D = nullptr;
    }
}

void ORVD3D_GraphicsSystem::ForgetFailedLoad(const wchar_t* fileName)
{
    if (fileName == nullptr)
        return;
    m_FailedTextures.Forget(fileName);
    m_FailedMeshes.Forget(fileName);
}

void ORVD3D_GraphicsSystem::SetFailureRecheckIntervalEXT(ORVD3D_FailedLoads::Clock::duration interval)
{
    m_FailedTextures.SetRecheckInterval(interval);
    m_FailedMeshes.SetRecheckInterval(interval);
}

ORVD3D_TextureResource* ORVD3D_GraphicsSystem::GetTextureResource(const wchar_t* fileName, bool createIfMissing)
{
    return LookUp(m_Textures, m_FailedTextures, m_pD3DDevice, fileName, createIfMissing);
}

ORVD3D_MeshResource* ORVD3D_GraphicsSystem::GetMeshResource(const wchar_t* fileName, bool createIfMissing)
{
    return LookUp(m_Meshes, m_FailedMeshes, m_pD3DDevice, fileName, createIfMissing);
}

ORVD3D_MeshResource* ORVD3D_GraphicsSystem::AdoptMeshResource(const wchar_t* fileName, ID3DXMesh* mesh)
{
    if (fileName == nullptr || *fileName == L'\0' || mesh == nullptr)
        return nullptr;
    if (ORVD3D_MeshResource* existing = GetMeshResource(fileName, false))
        return existing;
    auto resource = std::make_unique<ORVD3D_MeshResource>();
    if (!resource->Adopt(m_pD3DDevice, fileName, mesh))
        return nullptr;
    return InsertSorted(m_Meshes, std::move(resource));
}

bool ORVD3D_GraphicsSystem::ActivateTexture(const wchar_t* fileName, int stage)
{
    ORVD3D_TextureResource* texture = GetTextureResource(fileName, true);
    if (texture == nullptr || m_pD3DDevice == nullptr)
        return false;
    const auto s = static_cast<DWORD>(stage);
    // The stage's first argument stays the texture, so its colour and alpha
    // replace the lit colour.
    m_pD3DDevice->SetTextureStageState(s, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_pD3DDevice->SetTextureStageState(s, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    m_pD3DDevice->SetTexture(s, texture->GetD3DTexture());
    return true;
}

void ORVD3D_GraphicsSystem::DeactivateTexture(int stage)
{
    if (m_pD3DDevice == nullptr)
        return;
    const auto s = static_cast<DWORD>(stage);
    m_pD3DDevice->SetTexture(s, nullptr);
    m_pD3DDevice->SetTextureStageState(s, D3DTSS_COLOROP, D3DTOP_DISABLE);
}

void ORVD3D_GraphicsSystem::ResetForTestingEXT()
{
    ReleaseGraphicsContext();
    m_SwapChainCount = 0;
    SetFailureRecheckIntervalEXT(ORVD3D_FailedLoads::kDefaultRecheckInterval);
}
