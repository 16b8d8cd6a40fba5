// The keyboard behind DirectInput in the windowed game: the application
// feeds it every key-down and key-up event of the toolkit, and it reads as
// the program's keyboard only while the main window is the active window
// (the foreground rule of the DirectInput device). Gamepads and joysticks
// are read into the same keys: their sticks and d-pads hold the arrows,
// Start or A holds P, so a key is down when the keyboard or any controller
// holds it, and controllers too count only while the main window is active.
//
// Owned through a shared pointer by whoever installs it (SetDIKeySource);
// the keyboard device keeps a reference. It holds only a weak reference to
// the main window, and owns its controller reader.
#pragma once

#include <functional>
#include <memory>

#include <wx/toplevel.h>
#include <wx/weakref.h>

#include "DIKeySource.h"

class GamepadKeys;

class CWxKeySource : public DIKeySource
{
public:
    CWxKeySource();
    ~CWxKeySource() override;

    // The window whose activity decides whether the keyboard is the game's.
    void SetMainWindow(wxTopLevelWindow* window) { m_MainWindow = window; }
    // Replaces the activity test (tests, which have no window manager to
    // activate a window).
    void SetActiveTest(std::function<bool()> isActive) { m_ActiveTest = std::move(isActive); }

    bool IsActive() const override;
    // The keys held on the keyboard and on the controllers. Reading polls
    // the controllers (the device reads once per tick, and only while the
    // main window is active).
    DIKeyState ReadKeys() const override;

    // A key event: true when the key is one the keyboard reports.
    bool OnKey(int wxKeyCode, bool down);
    // Every key up: keys let go while another window had the keyboard never
    // send their key-up here. Controllers are read afresh on every poll and
    // hold nothing over.
    void ReleaseAll() { m_Keys.fill(0); }

private:
    wxWeakRef<wxTopLevelWindow> m_MainWindow;
    std::function<bool()> m_ActiveTest;
    DIKeyState m_Keys{};
    std::unique_ptr<GamepadKeys> m_Gamepads;
};
