// Helpers for the tests of the dialog glue: a wx application for the whole
// run, event pumping, and a frame for controls with message boxes recorded.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "ORV_MessageBox.h"

// One wx application for the whole run: GTK is initialised once per process.
class WxEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        wxApp::SetInstance(new wxApp);
        static char name[] = "orvgl_mfc_tests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no X display";
        ASSERT_TRUE(wxTheApp->CallOnInit());
        delete wxLog::SetActiveTarget(new wxLogStderr);  // not modal boxes
        wxSetAssertHandler(
            [](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
                ADD_FAILURE() << "wx assertion at " << file.utf8_string() << ":" << line << ": " << cond.utf8_string()
                              << " " << msg.utf8_string();
            });
    }
    void TearDown() override
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};
inline ::testing::Environment* const g_WxEnvironment = ::testing::AddGlobalTestEnvironment(new WxEnvironment);

// Runs the event loop until done() or timeoutMs pass; returns done().
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();
        wxMilliSleep(5);
    }
    return true;
}

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
    void SetUp() override
    {
        m_PreviousBoxes = SetMessageBoxHandler([this](HWND owner, const wchar_t* text, const wchar_t*, UINT) {
            m_Boxes.push_back({owner, text});
            return IDOK;
        });
        m_Frame = new wxFrame(nullptr, wxID_ANY, wxS("test"), wxPoint(0, 0), wxSize(500, 400), wxBORDER_NONE);
        m_Frame->Show();
        ASSERT_TRUE(PumpUntil([this] { return m_Frame->IsShownOnScreen(); }));
    }
    void TearDown() override
    {
        m_Frame->Destroy();
        Pump(10);
        SetMessageBoxHandler(m_PreviousBoxes);
    }
    // A bordered static control, as a dialog template's placeholder.
    wxStaticText* AddPlaceholder(wxWindow* parent, int id, const wxRect& rect, long border = wxBORDER_SIMPLE)
    {
        return new wxStaticText(parent, id, wxS("Placeholder"), rect.GetPosition(), rect.GetSize(),
                                border | wxST_NO_AUTORESIZE);
    }

    struct Box
    {
        HWND owner;
        std::wstring text;
    };
    wxFrame* m_Frame = nullptr;
    std::vector<Box> m_Boxes;
    ORV_MessageBoxHandler m_PreviousBoxes;
};
