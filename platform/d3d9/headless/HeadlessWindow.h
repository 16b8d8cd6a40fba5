// A window surface with no display behind it: it has a client size that a
// test or the headless run sets, and counts what is asked of it. Stands in
// for view windows wherever no real window exists.
//
// Ownership: held by a std::shared_ptr; HWNDs made from it are weak.
#pragma once

#include "Window.h"

class HeadlessWindow final : public IWindowSurface
{
public:
    HeadlessWindow(int width, int height);

    void GetClientSize(int* width, int* height) const override;
    // False for a negative size, or while resizing is switched off.
    bool SetClientSize(int width, int height) override;
    bool MakeCurrent() override;
    void SwapBuffers() override;

    void SetResizable(bool resizable) { m_Resizable = resizable; }
    int MakeCurrentCount() const { return m_MakeCurrentCalls; }
    int SwapCount() const { return m_Swaps; }

private:
    int m_Width;
    int m_Height;
    bool m_Resizable = true;
    int m_MakeCurrentCalls = 0;
    int m_Swaps = 0;
};
