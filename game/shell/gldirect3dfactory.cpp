#include "gldirect3dfactory.h"

#include <wx/glcanvas.h>

#include "GLDirect3D9.h"
#include "RefCounted.h"

namespace {

// A Direct3D object on a display without GL: it reports a display mode and
// makes no device.
class CNoGLDirect3D9 final : public RefCounted<IDirect3D9>
{
public:
    HRESULT GetAdapterDisplayMode(UINT /*adapter*/, D3DDISPLAYMODE* mode) override
    {
        if (mode == nullptr)
            return D3DERR_INVALIDCALL;
        *mode = D3DDISPLAYMODE{0, 0, 0, D3DFMT_X8R8G8B8};
        return D3D_OK;
    }
    HRESULT CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*, IDirect3DDevice9** device) override
    {
        if (device)
            *device = nullptr;
        return D3DERR_NOTAVAILABLE;
    }

private:
    ~CNoGLDirect3D9() override = default;
};

}  // namespace

Direct3DFactory MakeShellDirect3DFactory(std::function<bool()> displaySupportsGL)
{
    return [supported = std::move(displaySupportsGL)]() -> IDirect3D9* {
        if (supported && !supported())
            return new CNoGLDirect3D9();
        return CreateOpenGLDirect3D9();
    };
}

bool DisplaySupportsViewCanvases()
{
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().DoubleBuffer().EndList();
    return wxGLCanvas::IsDisplaySupported(attributes);
}
