// What a test can ask of the headless Direct3D objects, and the object counts
// they keep for it.
#pragma once

#include <memory>

#include "d3d9.h"

// Shared by a headless Direct3D object, every device it makes and every
// object those make, so a test can still read them after all are released.
// "Alive" counts go down when the object is freed: after a clean shutdown
// every one of them is 0.
struct HeadlessCounters
{
    int direct3DCreated = 0;
    int direct3DAlive = 0;
    int devicesCreated = 0;
    int devicesAlive = 0;
    int swapChainsCreated = 0;  // additional swap chains only
    int swapChainsAlive = 0;
    int texturesCreated = 0;
    int texturesAlive = 0;
};

struct HeadlessOptions
{
    // CreateDevice fails with createDeviceError (after checking its
    // arguments) instead of making a device, for testing error paths.
    bool failCreateDevice = false;
    HRESULT createDeviceError = D3DERR_NOTAVAILABLE;
    // New devices record their calls from the start (see
    // HeadlessDevice::SetRecording), so the calls made right after creation
    // can be checked too.
    bool recordFromStart = false;
    // The mode GetAdapterDisplayMode reports.
    D3DDISPLAYMODE displayMode{1920, 1080, 60, D3DFMT_X8R8G8B8};
    // Null: the Direct3D object makes its own.
    std::shared_ptr<HeadlessCounters> counters;
};
