// The main window on a scaled desktop. The same tests run at GDK_SCALE=1
// and GDK_SCALE=2 (see CMakeLists.txt): each view's back buffer has its
// canvas's size in the screen's pixels and its frame fills the canvas on
// screen (no black quarter), and a drag in the map view with the real
// pointer turns the map camera by one degree per logical pixel, as far at
// scale 2 as at scale 1.
#include <cstdlib>
#include <string>

#include <wx/glcanvas.h>

#include "GLSwapChain.h"
#include "ShellTestSupport.h"
#include "tutorialdlg.h"

// Last: Xlib's macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace std::chrono_literals;

// The root window's pixels, in the X server's (physical) pixels.
class ScreenShot
{
public:
    explicit ScreenShot(Display* display) : m_Display(display)
    {
        const Window root = DefaultRootWindow(display);
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, root, &attributes);
        m_Image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    }
    ~ScreenShot()
    {
        if (m_Image)
            XDestroyImage(m_Image);
    }
    ScreenShot(const ScreenShot&) = delete;
    ScreenShot& operator=(const ScreenShot&) = delete;

    bool IsValid() const { return m_Image != nullptr; }
    // Pure black: what a view left undrawn shows.
    bool IsBlack(int x, int y) const { return (XGetPixel(m_Image, x, y) & 0xFFFFFFu) == 0; }

private:
    Display* m_Display;
    XImage* m_Image = nullptr;
};

// The canvas's client area on screen in physical pixels.
wxRect PhysicalScreenRect(const wxWindow& canvas)
{
    const double scale = canvas.GetContentScaleFactor();
    const wxPoint origin = canvas.ClientToScreen(wxPoint(0, 0));
    const wxSize size = canvas.GetClientSize();
    return wxRect(static_cast<int>(origin.x * scale), static_cast<int>(origin.y * scale),
                  static_cast<int>(size.x * scale), static_cast<int>(size.y * scale));
}

// Runs xdotool on the test's display; true when it succeeded.
bool Xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

class HiDpiTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        m_Display = XOpenDisplay(nullptr);
        ASSERT_NE(m_Display, nullptr);
    }
    void TearDown() override
    {
        if (m_Display)
            XCloseDisplay(m_Display);
        ShellTest::TearDown();
    }

    Display* m_Display = nullptr;
};

TEST_F(HiDpiTest, EachViewDrawsItsWholeCanvasAtTheScreensResolution)
{
    CTutorialDlg& dialog = MakeMainWindow();
    ASSERT_TRUE(dialog.IsInitialized());
    const char* names[] = {"main", "ground", "map"};
    CDrawOnlyHandler* views[] = {&dialog.GetMainView(), &dialog.GetGroundView(), &dialog.GetMapView()};
    // No quarter of a canvas is mostly black: the frame covers it all. On a
    // busy machine the server may show a frame late, so the screen is read
    // again after a few more ticks (a view that leaves a quarter undrawn
    // leaves it so in every frame).
    std::string blackQuarters;
    for (int attempt = 0; attempt < 20; ++attempt) {
        Tick(3);
        PumpEvents(100ms);
        XSync(m_Display, False);
        const ScreenShot shot(m_Display);
        ASSERT_TRUE(shot.IsValid());
        blackQuarters.clear();
        for (int v = 0; v < 3; ++v) {
            const wxRect screen = PhysicalScreenRect(*views[v]->GetViewWindow().GetCanvas());
            for (int quarter = 0; quarter < 4; ++quarter) {
                const int x0 = screen.x + (quarter % 2) * screen.width / 2;
                const int y0 = screen.y + (quarter / 2) * screen.height / 2;
                int black = 0;
                int total = 0;
                for (int y = y0; y < y0 + screen.height / 2; y += 2)
                    for (int x = x0; x < x0 + screen.width / 2; x += 2, ++total)
                        black += shot.IsBlack(x, y) ? 1 : 0;
                if (black * 10 >= total)
                    blackQuarters += std::string(names[v]) + " quarter " + std::to_string(quarter) + "; ";
            }
        }
        if (blackQuarters.empty())
            break;
    }
    EXPECT_EQ(blackQuarters, "");
    for (int v = 0; v < 3; ++v) {
        // The frame was drawn at the canvas's size in physical pixels.
        const auto* chain = dynamic_cast<const GLSwapChain*>(views[v]->GetSwapChain());
        ASSERT_NE(chain, nullptr);
        const wxRect screen = PhysicalScreenRect(*views[v]->GetViewWindow().GetCanvas());
        EXPECT_EQ(chain->Target().storageWidth, screen.width) << names[v];
        EXPECT_EQ(chain->Target().storageHeight, screen.height) << names[v];
    }
}

TEST_F(HiDpiTest, AMapViewDragTurnsTheCameraOneDegreePerLogicalPixel)
{
    CTutorialDlg& dialog = MakeMainWindow();
    ASSERT_TRUE(dialog.IsInitialized());
    wxGLCanvas* map = dialog.GetMapView().GetViewWindow().GetCanvas();
    ASSERT_NE(map, nullptr);
    const double scale = map->GetContentScaleFactor();
    const char* expected = std::getenv("GDK_SCALE");
    if (expected) {
        EXPECT_EQ(scale, std::atof(expected));
    }

    // 30 logical pixels right and 10 down, moved by the real pointer in the
    // screen's pixels.
    const wxRect screen = PhysicalScreenRect(*map);
    const int x = screen.x + screen.width / 2;
    const int y = screen.y + screen.height / 2;
    const auto physical = [scale](int logical) { return static_cast<int>(logical * scale); };
    ORV_Camera* camera = dialog.GetMapView().GetCamera();
    ASSERT_TRUE(Xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1"));
    PumpEvents(100ms);
    ASSERT_TRUE(
        Xdotool("mousemove --sync " + std::to_string(x + physical(30)) + " " + std::to_string(y + physical(10))));
    PumpEvents(100ms);
    ASSERT_TRUE(Xdotool("mouseup 1"));
    PumpEvents(100ms);

    EXPECT_FLOAT_EQ(camera->m_RotationY, 30.0f);
    // Down the screen is down in device coordinates too.
    EXPECT_FLOAT_EQ(camera->m_RotationX, -10.0f);
}

}  // namespace
