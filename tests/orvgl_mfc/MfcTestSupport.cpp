#include "MfcTestSupport.h"

#include <chrono>
#include <ostream>

#include <wx/app.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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
        // Log lines go to stderr instead of modal boxes.
        delete wxLog::SetActiveTarget(new wxLogStderr);
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

void Pump(int ms)
{
    PumpUntil([] { return false; }, ms);
}

namespace {

// The byte of pixel that mask selects, scaled to 0..255.
unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255u / max);
}

}  // namespace

wxImage GrabScreen(const wxRect& rect)
{
    // Straight from the X server on wx's own connection, so everything wx
    // and GL sent before is drawn first (wxScreenDC may answer from a copy
    // it took earlier).
    Display* display = wxGetX11Display();
    XImage* shot = XGetImage(display, DefaultRootWindow(display), rect.x, rect.y, static_cast<unsigned>(rect.width),
                             static_cast<unsigned>(rect.height), AllPlanes, ZPixmap);
    wxImage image(rect.GetSize());
    if (!shot)
        return image;
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            image.SetRGB(x, y, Channel(pixel, shot->red_mask), Channel(pixel, shot->green_mask),
                         Channel(pixel, shot->blue_mask));
        }
    }
    XDestroyImage(shot);
    return image;
}

bool RecordingHandler::Initialize(HWND window)
{
    ++initializes;
    initializedWith = window;
    return initializeResult;
}

void RecordingHandler::HandleMouseButton(bool down, UINT keyFlags, int x, int y)
{
    mouse.push_back({true, down, keyFlags, x, y});
}

void RecordingHandler::HandleMouseMove(UINT keyFlags, int x, int y)
{
    mouse.push_back({false, false, keyFlags, x, y});
}

MessageBoxRecorder::MessageBoxRecorder()
{
    m_Previous = SetMessageBoxHandler([this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
        boxes.push_back({owner, text, caption, type});
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(m_Previous);
}

void FrameTest::SetUp()
{
    m_Frame = new wxFrame(nullptr, wxID_ANY, wxS("test"), wxPoint(0, 0), wxSize(500, 400), wxBORDER_NONE);
    m_Frame->Show();
    ASSERT_TRUE(PumpUntil([this] { return m_Frame->IsShownOnScreen(); }));
}

void FrameTest::TearDown()
{
    m_Frame->Destroy();
    Pump(10);
}

wxStaticText* FrameTest::AddPlaceholder(wxWindow* parent, int id, const wxRect& rect, long border)
{
    return new wxStaticText(parent, id, wxS("Placeholder"), rect.GetPosition(), rect.GetSize(),
                            border | wxST_NO_AUTORESIZE);
}
