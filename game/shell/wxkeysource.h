// The keyboard behind DirectInput in the windowed game: the application
// feeds it every key-down and key-up event of the toolkit, and it reads as
// the program's keyboard only while the main window is the active window
// (the foreground rule of the DirectInput device).
//
// Owned through a shared pointer by whoever installs it (SetDIKeySource);
// the keyboard device keeps a reference. It holds only a weak reference to
// the main window.
#pragma once

#include <functional>

#include <wx/toplevel.h>
#include <wx/weakref.h>

#include "DIKeySource.h"

class CWxKeySource : public DIKeySource
{
public:
    CWxKeySource() = default;

    // The window whose activity decides whether the keyboard is the game's.
    void SetMainWindow(wxTopLevelWindow* window) { m_MainWindow = window; }
    // Replaces the activity test (tests, which have no window manager to
    // activate a window).
    void SetActiveTest(std::function<bool()> isActive) { m_ActiveTest = std::move(isActive); }

    bool IsActive() const override;
    DIKeyState ReadKeys() const override { return m_Keys; }

    // A key event: true when the key is one the keyboard reports.
    bool OnKey(int wxKeyCode, bool down);
    // Every key up: keys let go while another window had the keyboard never
    // send their key-up here.
    void ReleaseAll() { m_Keys.fill(0); }

private:
    wxWeakRef<wxTopLevelWindow> m_MainWindow;
    std::function<bool()> m_ActiveTest;
    DIKeyState m_Keys{};
};
