// The map view: draws like the other views and lets the mouse move its
// camera: a left drag orbits, a middle drag pans, a right drag zooms. The
// gestures change only the camera; the next tick that draws the view shows
// them.
#pragma once

#include "drawonlyhandler.h"

class CDrawAndMouseHandler : public CDrawOnlyHandler
{
public:
    using CDrawOnlyHandler::CDrawOnlyHandler;

    // A press starts the gesture of the first button held, in the order
    // left, middle, right; a release changes nothing.
    void HandleMouseButton(bool down, UINT keyFlags, int x, int y) override;
    // Continues the gesture of the first button held, in the same order.
    void HandleMouseMove(UINT keyFlags, int x, int y) override;
};
