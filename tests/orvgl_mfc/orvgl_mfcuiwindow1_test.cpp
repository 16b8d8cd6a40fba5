#include <array>

#include <wx/glcanvas.h>
#include <wx/panel.h>
#include <wx/weakref.h>

#include "MfcTestSupport.h"
#include "ORVMFC_MouseFlags.h"
#include "ORVMFC_WindowHandle.h"
#include "ORV_IWindowHandler.h"
#include "orvgl_mfcuiwindow1.h"

namespace {

constexpr int kViewId = 1003;
const wxRect kViewRect(20, 30, 160, 120);
// A button (1) or a move (0), down, key flags, x, y.
using MouseCall = std::array<int, 5>;

class RecordingHandler : public ORV_IWindowHandler
{
public:
    bool IsGraphicsReady() override { return false; }
    bool Initialize(HWND window) override
    {
        ++initializes;
        initializedWith = window;
        return initializeResult;
    }
    void ShutDown() override { ++shutDowns; }
    void BeginDraw() override {}
    void EndDraw() override {}
    void DrawGraphics() override {}
    void HandleMouseButton(bool down, UINT flags, int x, int y) override
    {
        mouse.push_back({1, down, static_cast<int>(flags), x, y});
    }
    void HandleMouseMove(UINT flags, int x, int y) override { mouse.push_back({0, 0, static_cast<int>(flags), x, y}); }

    bool initializeResult = true;
    int initializes = 0;
    int shutDowns = 0;
    HWND initializedWith;
    std::vector<MouseCall> mouse;
};

class UIWindowTest : public FrameTest
{
protected:
    void CreateView(ORVMFC_UIWindow& window)
    {
        AddPlaceholder(m_Frame, kViewId, kViewRect);
        ASSERT_TRUE(window.ReplaceDialogControl(m_Frame, kViewId));
        ASSERT_TRUE(PumpUntil([&] { return window.GetCanvas()->IsShownOnScreen(); }));
    }
    // A mouse event as wx delivers it, with the buttons and keys it reports
    // held as MK_ flags.
    static void Send(wxWindow* window, wxEventType type, int x, int y, UINT held)
    {
        wxMouseEvent event(type);
        event.SetEventObject(window);
        event.SetPosition(wxPoint(x, y));
        event.SetLeftDown(held & MK_LBUTTON);
        event.SetMiddleDown(held & MK_MBUTTON);
        event.SetRightDown(held & MK_RBUTTON);
        event.SetShiftDown(held & MK_SHIFT);
        event.SetControlDown(held & MK_CONTROL);
        window->GetEventHandler()->ProcessEvent(event);
    }
};

TEST_F(UIWindowTest, ReplaceDialogControlTakesThePlaceholdersPlace)
{
    ORVMFC_UIWindow window(true);
    EXPECT_FALSE(IsWindow(window.GetSafeHwnd()));
    EXPECT_FALSE(window.ReplaceDialogControl(m_Frame, 4242));
    EXPECT_EQ(window.GetCanvas(), nullptr);
    // Placeholders nest in panels under wx: the canvas goes where it was.
    auto* panel = new wxPanel(m_Frame, wxID_ANY, wxPoint(100, 50), wxSize(300, 300));
    wxWeakRef<wxWindow> placeholder = AddPlaceholder(panel, kViewId, kViewRect, wxBORDER_SUNKEN);
    ASSERT_TRUE(window.ReplaceDialogControl(m_Frame, kViewId));
    EXPECT_FALSE(placeholder);
    wxGLCanvas* canvas = window.GetCanvas();
    EXPECT_EQ(m_Frame->FindWindow(kViewId), canvas);
    EXPECT_EQ(canvas->GetParent(), panel);
    EXPECT_EQ(canvas->GetRect(), kViewRect);
    EXPECT_EQ(canvas->GetWindowStyleFlag() & wxBORDER_MASK, wxBORDER_SUNKEN);
    EXPECT_EQ(WindowFromHandle(window.GetSafeHwnd()), canvas);
}

TEST_F(UIWindowTest, AttachViewportInitialisesOnceAndForwardsTheMouseWithItsKeyFlags)
{
    ORVMFC_UIWindow window(true);
    RecordingHandler early;
    // Before the window exists an attach succeeds without initialising.
    EXPECT_TRUE(window.AttachViewport(&early));
    EXPECT_EQ(early.initializes, 0);
    ASSERT_NO_FATAL_FAILURE(CreateView(window));
    RecordingHandler first;
    EXPECT_TRUE(window.AttachViewport(&first));
    EXPECT_TRUE(window.AttachViewport(&first));
    EXPECT_EQ(early.shutDowns, 1);
    EXPECT_EQ(first.initializes, 1);
    EXPECT_EQ(first.shutDowns, 0);
    EXPECT_EQ(first.initializedWith, window.GetSafeHwnd());
    RecordingHandler failing;
    failing.initializeResult = false;
    EXPECT_FALSE(window.AttachViewport(&failing));
    EXPECT_EQ(first.shutDowns, 1);
    EXPECT_EQ(window.GetHandler(), nullptr);
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].text, L"Error attaching viewport to window!");
    EXPECT_EQ(m_Boxes[0].owner, window.GetSafeHwnd());
    // Mouse buttons go to the attached handler, captured while held.
    EXPECT_TRUE(window.AttachViewport(&first));
    wxGLCanvas* canvas = window.GetCanvas();
    // GTK reports the state before the event: the pressed button still up,
    // the released one still down.
    Send(canvas, wxEVT_LEFT_DOWN, 10, 20, 0);
    EXPECT_TRUE(canvas->HasCapture());
    Send(canvas, wxEVT_MOTION, 30, 40, MK_LBUTTON | MK_SHIFT);
    Send(canvas, wxEVT_RIGHT_DOWN, 31, 41, MK_LBUTTON | MK_CONTROL);
    // Released outside the window: still delivered, in client coordinates.
    Send(canvas, wxEVT_LEFT_UP, -5, 500, MK_LBUTTON | MK_RBUTTON);
    EXPECT_FALSE(canvas->HasCapture());
    Send(canvas, wxEVT_RIGHT_UP, 7, 8, MK_RBUTTON);
    Send(canvas, wxEVT_MIDDLE_DOWN, 1, 2, 0);
    Send(canvas, wxEVT_MIDDLE_UP, 3, 4, MK_MBUTTON);
    EXPECT_FALSE(canvas->HasCapture());
    const std::vector<MouseCall> expected = {
        {1, 1, MK_LBUTTON, 10, 20},
        {0, 0, MK_LBUTTON | MK_SHIFT, 30, 40},
        {1, 1, MK_LBUTTON | MK_RBUTTON | MK_CONTROL, 31, 41},
        {1, 0, MK_RBUTTON, -5, 500},
        {1, 0, 0, 7, 8},
        {1, 1, MK_MBUTTON, 1, 2},
        {1, 0, 0, 3, 4},
    };
    EXPECT_EQ(first.mouse, expected);
    // A null handler only detaches.
    first.mouse.clear();
    EXPECT_TRUE(window.AttachViewport(nullptr));
    EXPECT_EQ(first.shutDowns, 2);
    Send(canvas, wxEVT_MOTION, 5, 5, 0);
    EXPECT_TRUE(first.mouse.empty());
}

}  // namespace
