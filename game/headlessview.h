// A game view with no window behind it: a headless window surface of a
// fixed size and a handler that draws the game's frame into it, as the
// game shell's views do.
//
// Owns its window surface; the HWND it binds to is weak, as everywhere.
#pragma once

#include <memory>

#include "HeadlessWindow.h"
#include "ORVD3D_WindowHandler.h"

class CModelOwner;

class CHeadlessView : public ORVD3D_WindowHandler
{
public:
    // The camera starts as the game's view handlers start it.
    CHeadlessView(CModelOwner& models, int width, int height);
    ~CHeadlessView() override;

    // Binds the handler to its window (a swap chain of the one device).
    bool Attach() { return Initialize(HWND(m_Surface)); }

    void DrawGraphics() override;

    const std::shared_ptr<HeadlessWindow>& GetSurface() const { return m_Surface; }
    int GetDrawCount() const { return m_DrawCount; }

private:
    CModelOwner& m_Models;
    std::shared_ptr<HeadlessWindow> m_Surface;
    int m_DrawCount = 0;
};
