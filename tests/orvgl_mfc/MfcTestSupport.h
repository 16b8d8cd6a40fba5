// Helpers for the tests of the dialog glue: a wx application for the whole
// run, event pumping, a message box recorder and a frame for controls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stattext.h>

#include "ORV_MessageBox.h"

// Runs the event loop until done() or timeoutMs pass; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
inline void Pump(int ms = 50)
{
    PumpUntil([] { return false; }, ms);
}

// A shown 500 x 400 frame at the screen's top-left corner (Xvfb has no
// window manager, so client coordinates plus the frame's position are screen
// coordinates), destroyed after each test; message boxes are recorded.
class FrameTest : public ::testing::Test
{
protected:
    struct Box
    {
        HWND owner;
        std::wstring text;
    };

    void SetUp() override;
    void TearDown() override;

    // A bordered static control, as a dialog template's placeholder.
    wxStaticText* AddPlaceholder(wxWindow* parent, int id, const wxRect& rect, long border = wxBORDER_SIMPLE)
    {
        return new wxStaticText(parent, id, wxS("Placeholder"), rect.GetPosition(), rect.GetSize(),
                                border | wxST_NO_AUTORESIZE);
    }

    wxFrame* m_Frame = nullptr;
    std::vector<Box> m_Boxes;
    ORV_MessageBoxHandler m_PreviousBoxes;
};
