// Present parameters of a windowed device or view, as the graphics system
// asks for them: a 32-bit back buffer sized by its window (the focus window
// when window is null) and, unless asked otherwise, a depth-stencil buffer.
#pragma once

#include "d3d9.h"

inline D3DPRESENT_PARAMETERS WindowedParameters(HWND window = HWND(), BOOL depth = TRUE,
                                                D3DFORMAT depthFormat = D3DFMT_D24S8)
{
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.hDeviceWindow = window;
    params.EnableAutoDepthStencil = depth;
    params.AutoDepthStencilFormat = depth ? depthFormat : D3DFMT_UNKNOWN;
    return params;
}
