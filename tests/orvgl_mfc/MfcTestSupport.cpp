#include "MfcTestSupport.h"

#include <chrono>

#include <wx/app.h>
#include <wx/log.h>
#include <wx/utils.h>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE() << "wx assertion at " << file.utf8_string() << ":" << line << " in " << func.utf8_string() << ": "
                  << cond.utf8_string() << " " << msg.utf8_string();
}

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
        wxSetAssertHandler(&FailOnAssert);
    }

    void TearDown() override
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

[[maybe_unused]] ::testing::Environment* const g_WxEnvironment = ::testing::AddGlobalTestEnvironment(new WxEnvironment);

}  // namespace

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
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

void FrameTest::SetUp()
{
    m_PreviousBoxes = SetMessageBoxHandler([this](HWND owner, const wchar_t* text, const wchar_t*, UINT) {
        m_Boxes.push_back({owner, text});
        return IDOK;
    });
    m_Frame = new wxFrame(nullptr, wxID_ANY, wxS("test"), wxPoint(0, 0), wxSize(500, 400), wxBORDER_NONE);
    m_Frame->Show();
    ASSERT_TRUE(PumpUntil([this] { return m_Frame->IsShownOnScreen(); }));
}

void FrameTest::TearDown()
{
    m_Frame->Destroy();
    Pump(10);
    SetMessageBoxHandler(m_PreviousBoxes);
}
