#include "drawandmousehandler.h"

#include "ORVMFC_MouseFlags.h"

void CDrawAndMouseHandler::HandleMouseButton(bool down, UINT keyFlags, int x, int y)
{
    int deviceX = 0;
    int deviceY = 0;
    if (!HardwareToDevice(x, y, &deviceX, &deviceY))
        return;
    if (!down)
        return;
    ORV_Camera* camera = GetCamera();
    if (keyFlags & MK_LBUTTON)
        camera->BeginRotate(deviceX, deviceY);
    else if (keyFlags & MK_MBUTTON)
        camera->BeginTrack(deviceX, deviceY);
    else if (keyFlags & MK_RBUTTON)
        camera->BeginZoom(deviceX);
}

void CDrawAndMouseHandler::HandleMouseMove(UINT keyFlags, int x, int y)
{
    int deviceX = 0;
    int deviceY = 0;
    if (!HardwareToDevice(x, y, &deviceX, &deviceY))
        return;
    ORV_Camera* camera = GetCamera();
    if (keyFlags & MK_LBUTTON)
        camera->RotateTo(deviceX, deviceY);
    else if (keyFlags & MK_MBUTTON)
        camera->TrackTo(deviceX, deviceY);
    else if (keyFlags & MK_RBUTTON)
        camera->ZoomTo(deviceX);
}
