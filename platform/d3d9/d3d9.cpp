#include "d3d9.h"

#include <utility>

namespace {

Direct3DFactory& Factory()
{
    static Direct3DFactory factory;
    return factory;
}

}  // namespace

void D3D9DefaultRenderStatesEXT(DWORD* states, bool hasDepthBuffer)
{
    constexpr DWORD kFloatOne = 0x3F800000u;  // 1.0f as a render-state value
    for (DWORD i = 0; i < D3DRS_STATECOUNT_EXT; ++i)
        states[i] = 0;
    states[D3DRS_ZENABLE] = hasDepthBuffer ? D3DZB_TRUE : D3DZB_FALSE;
    states[D3DRS_FILLMODE] = D3DFILL_SOLID;
    states[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    states[D3DRS_ZWRITEENABLE] = TRUE;
    states[D3DRS_ALPHATESTENABLE] = FALSE;
    states[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    states[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    states[D3DRS_CULLMODE] = D3DCULL_CCW;
    states[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    states[D3DRS_ALPHABLENDENABLE] = FALSE;
    states[D3DRS_SPECULARENABLE] = FALSE;
    states[D3DRS_LIGHTING] = TRUE;
    states[D3DRS_AMBIENT] = 0;
    states[D3DRS_COLORVERTEX] = TRUE;
    states[D3DRS_LOCALVIEWER] = TRUE;
    states[D3DRS_NORMALIZENORMALS] = FALSE;
    states[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    states[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    states[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    states[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    states[D3DRS_POINTSIZE] = kFloatOne;
    states[D3DRS_POINTSIZE_MIN] = kFloatOne;
    states[D3DRS_POINTSPRITEENABLE] = FALSE;
    states[D3DRS_POINTSCALEENABLE] = FALSE;
    states[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
}

IDirect3D9* Direct3DCreate9(UINT sdkVersion)
{
    if (sdkVersion != D3D_SDK_VERSION || !Factory())
        return nullptr;
    return Factory()();
}

Direct3DFactory SetDirect3DFactory(Direct3DFactory factory)
{
    return std::exchange(Factory(), std::move(factory));
}
