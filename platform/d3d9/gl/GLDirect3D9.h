// The OpenGL Direct3D object: hands out devices that draw with OpenGL
// through the windows they are given (see GLDevice). Making the GL context
// and the windows is the caller's business (the shell's GL canvases, or
// EglOffscreenWindow for rendering without a display).
#pragma once

#include <string>
#include <utility>

#include "GLDevice.h"
#include "RefCounted.h"
#include "d3d9.h"

struct GLDirect3D9Options
{
    // What GetAdapterDisplayMode reports; only its format matters to callers.
    D3DDISPLAYMODE displayMode{1920, 1080, 60, D3DFMT_X8R8G8B8};
    // The devices' lighting program as GLSL text; empty: their own. Tests
    // hand in text the driver refuses.
    std::string lightingProgram;
};

// The caller of CreateOpenGLDirect3D9 holds its one reference. It holds
// nothing of the devices it creates; a device does not hold it either.
class GLDirect3D9 final : public RefCounted<IDirect3D9>
{
public:
    explicit GLDirect3D9(GLDirect3D9Options options) : m_Options(std::move(options)) {}

    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    // Refuses (D3DERR_INVALIDCALL) a null device or params pointer, an
    // adapter other than D3DADAPTER_DEFAULT, a window that is not a window
    // (the device window, or the focus window when no device window is
    // given) and a back buffer of zero size. Fills in the back-buffer size
    // (0 means the window's client size), format and count in *params, as
    // Direct3D does. Refuses (D3DERR_NOTAVAILABLE, with one line on
    // stderr quoting the driver) when GL does not take the device's lighting
    // program; see GLDevice::CheckLightingProgram for where that is asked.
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

private:
    ~GLDirect3D9() override = default;

    GLDirect3D9Options m_Options;
};

// A new OpenGL Direct3D object with one reference for the caller.
IDirect3D9* CreateOpenGLDirect3D9(GLDirect3D9Options options = {});

// Makes Direct3DCreate9 return OpenGL Direct3D objects. Returns the factory
// installed before.
Direct3DFactory InstallOpenGLDirect3D(GLDirect3D9Options options = {});
