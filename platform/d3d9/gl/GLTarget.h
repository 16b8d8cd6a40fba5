// Where a back buffer's Direct3D pixels land in the GL storage that holds
// them. A back buffer keeps the size Direct3D was given (in logical pixels)
// while its storage has the size it is shown at on screen: twice as large on
// a desktop scaled by 2, or the size of another window it is presented into.
// Viewports, clears and point sizes are scaled on their way to GL, so that a
// frame looks as Direct3D's would after the stretch of its present, drawn at
// the screen's own resolution.
#pragma once

#include <algorithm>
#include <cmath>

#include "d3d9.h"

// A rectangle in GL window coordinates (origin bottom-left).
struct GLRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const GLRect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

struct GLTarget
{
    UINT width = 1;  // the back buffer's Direct3D size
    UINT height = 1;
    int storageWidth = 1;  // the storage's size in pixels
    int storageHeight = 1;

    float ScaleX() const { return static_cast<float>(storageWidth) / static_cast<float>(width); }
    float ScaleY() const { return static_cast<float>(storageHeight) / static_cast<float>(height); }
    // What a pixel-sized thing (a point, a line's width) grows by.
    float PixelScale() const { return std::max(0.5f * (ScaleX() + ScaleY()), 0.0f); }

    // A rectangle of the back buffer (Direct3D pixels, origin top-left) in
    // storage pixels. Edges are rounded each on its own, so rectangles that
    // share an edge still share it.
    GLRect ToStorage(UINT x, UINT y, UINT w, UINT h) const
    {
        const auto edge = [](UINT at, int storage, UINT size) {
            return static_cast<int>(std::lround(static_cast<double>(at) * storage / size));
        };
        const int left = edge(x, storageWidth, width);
        const int right = edge(x + w, storageWidth, width);
        const int top = edge(y, storageHeight, height);
        const int bottom = edge(y + h, storageHeight, height);
        return GLRect{left, storageHeight - bottom, right - left, bottom - top};
    }
};
