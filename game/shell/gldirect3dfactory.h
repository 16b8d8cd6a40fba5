// The Direct3D factory of the windowed game: OpenGL Direct3D objects when
// the display can give the views a GL context, otherwise an object whose
// CreateDevice fails, so that the graphics system reports the failure as it
// reports any device that cannot be made.
#pragma once

#include <functional>

#include "d3d9.h"

// The factory; displaySupportsGL is asked at every Direct3DCreate9.
Direct3DFactory MakeShellDirect3DFactory(std::function<bool()> displaySupportsGL);

// True when the display offers the double-buffered RGBA visual the view
// canvases ask for.
bool DisplaySupportsViewCanvases();
