// Helpers for the tests of the dialog glue: a wx application for the whole
// run (set up once, before the first test), event pumping, a recording
// window handler, a message box recorder and a frame to put controls in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/stattext.h>

#include "ORV_IWindowHandler.h"
#include "ORV_MessageBox.h"

// Runs the event loop until done() or timeoutMs pass; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
// Runs the event loop for about ms.
void Pump(int ms = 50);

// What the screen shows in rect (screen coordinates).
wxImage GrabScreen(const wxRect& rect);

struct MouseCall
{
    bool button;  // false: a move
    bool down;
    UINT flags;
    int x;
    int y;
    bool operator==(const MouseCall&) const = default;
};

class RecordingHandler : public ORV_IWindowHandler
{
public:
    bool IsGraphicsReady() override { return false; }
    bool Initialize(HWND window) override;
    void ShutDown() override { ++shutDowns; }
    void BeginDraw() override {}
    void EndDraw() override {}
    void DrawGraphics() override { ++draws; }
    void HandleMouseButton(bool down, UINT keyFlags, int x, int y) override;
    void HandleMouseMove(UINT keyFlags, int x, int y) override;

    bool initializeResult = true;
    int initializes = 0;
    int shutDowns = 0;
    int draws = 0;
    HWND initializedWith;
    std::vector<MouseCall> mouse;
};

// Records ORV_MessageBox calls while it lives.
class MessageBoxRecorder
{
public:
    struct Box
    {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT type;
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<Box> boxes;

private:
    ORV_MessageBoxHandler m_Previous;
};

// A shown 500 x 400 frame at the screen's top-left corner (Xvfb has no
// window manager, so client coordinates plus the frame's position are screen
// coordinates), destroyed after each test.
class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A bordered static control, as a dialog template's placeholder.
    wxStaticText* AddPlaceholder(wxWindow* parent, int id, const wxRect& rect, long border = wxBORDER_SIMPLE);

    wxFrame* m_Frame = nullptr;
    MessageBoxRecorder m_Boxes;
};
