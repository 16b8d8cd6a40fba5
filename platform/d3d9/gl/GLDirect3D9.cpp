#include "GLDirect3D9.h"

#include <cstdio>
#include <utility>

#include "GLTexture.h"

HRESULT GLDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    if (adapter != D3DADAPTER_DEFAULT || !mode)
        return D3DERR_INVALIDCALL;
    *mode = m_Options.displayMode;
    return D3D_OK;
}

HRESULT GLDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE /*type*/, HWND focusWindow, DWORD behaviorFlags,
                                  D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device)
{
    D3DPRESENT_PARAMETERS resolved{};
    HWND deviceWindow;
    if (const HRESULT result = DeviceChecks::CreateDevice(adapter, focusWindow, params, device,
                                                          m_Options.displayMode.Format, &resolved, &deviceWindow);
        result != D3D_OK)
        return result;

    auto* created = new GLDevice(resolved, focusWindow, deviceWindow, behaviorFlags, m_Options.lightingProgram);
    std::string error;
    if (!created->CheckLightingProgram(&error)) {
        std::fprintf(stderr, "GL device: %s\n", error.c_str());
        created->Release();
        return D3DERR_NOTAVAILABLE;
    }
    *params = resolved;
    *device = created;
    return D3D_OK;
}

IDirect3D9* CreateOpenGLDirect3D9(GLDirect3D9Options options)
{
    return new GLDirect3D9(std::move(options));
}

Direct3DFactory InstallOpenGLDirect3D(GLDirect3D9Options options)
{
    return SetDirect3DFactory([options]() -> IDirect3D9* { return CreateOpenGLDirect3D9(options); });
}
