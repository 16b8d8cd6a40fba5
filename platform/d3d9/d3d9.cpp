#include "d3d9.h"

#include <utility>

namespace {

Direct3DFactory& Factory()
{
    static Direct3DFactory factory;
    return factory;
}

}  // namespace

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
