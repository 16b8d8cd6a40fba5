// The main window on a scaled desktop, run at GDK_SCALE=1 and 2 (see
// CMakeLists.txt): each view's frame fills its canvas on screen at the
// screen's resolution (no black quarter), and a drag in the map view with
// the real pointer turns the map camera one degree per logical pixel.
#include <cstdlib>
#include <memory>
#include <string>

#include <wx/glcanvas.h>

#include "ShellTestSupport.h"

// Last: Xlib's macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace std::chrono_literals;

// The canvas's client area on screen in physical pixels.
wxRect PhysicalScreenRect(const wxWindow& canvas)
{
    const double scale = canvas.GetContentScaleFactor();
    const wxPoint origin = canvas.ClientToScreen(wxPoint(0, 0));
    const wxSize size = canvas.GetClientSize();
    return wxRect(static_cast<int>(origin.x * scale), static_cast<int>(origin.y * scale),
                  static_cast<int>(size.x * scale), static_cast<int>(size.y * scale));
}

TEST_F(ShellTest, EachViewDrawsItsWholeCanvasAtTheScreensResolution)
{
    CTutorialDlg& dialog = MakeMainWindow();
    ASSERT_TRUE(dialog.IsInitialized());
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    ASSERT_NE(display, nullptr);
    CDrawOnlyHandler* views[] = {&dialog.GetMainView(), &dialog.GetGroundView(), &dialog.GetMapView()};
    // No quarter of a canvas is a tenth black: the frame covers it all. A
    // busy server may show a frame late, so the screen is read again after
    // more ticks (a view that leaves a quarter undrawn does so every frame).
    std::string blackQuarters;
    for (int attempt = 0; attempt < 20; ++attempt) {
        Tick(3);
        PumpEvents(100ms);
        XSync(display.get(), False);
        const Window root = DefaultRootWindow(display.get());
        XWindowAttributes size{};
        XGetWindowAttributes(display.get(), root, &size);
        const std::unique_ptr<XImage, int (*)(XImage*)> shot(
            XGetImage(display.get(), root, 0, 0, static_cast<unsigned>(size.width), static_cast<unsigned>(size.height),
                      AllPlanes, ZPixmap),
            +[](XImage* image) { return XDestroyImage(image); });
        ASSERT_NE(shot, nullptr);
        blackQuarters.clear();
        for (int v = 0; v < 3; ++v) {
            const wxRect screen = PhysicalScreenRect(*views[v]->GetViewWindow().GetCanvas());
            for (int quarter = 0; quarter < 4; ++quarter) {
                const int x0 = screen.x + (quarter % 2) * screen.width / 2;
                const int y0 = screen.y + (quarter / 2) * screen.height / 2;
                int black = 0, total = 0;
                for (int y = y0; y < y0 + screen.height / 2; y += 2)
                    for (int x = x0; x < x0 + screen.width / 2; x += 2, ++total)
                        black += (XGetPixel(shot.get(), x, y) & 0xFFFFFFu) == 0 ? 1 : 0;
                if (black * 10 >= total)
                    blackQuarters += "view " + std::to_string(v) + " quarter " + std::to_string(quarter) + "; ";
            }
        }
        if (blackQuarters.empty())
            break;
    }
    EXPECT_EQ(blackQuarters, "");
}

TEST_F(ShellTest, AMapViewDragTurnsTheCameraOneDegreePerLogicalPixel)
{
    CTutorialDlg& dialog = MakeMainWindow();
    ASSERT_TRUE(dialog.IsInitialized());
    wxGLCanvas* map = dialog.GetMapView().GetViewWindow().GetCanvas();
    const double scale = map->GetContentScaleFactor();
    if (const char* expected = std::getenv("GDK_SCALE")) {
        EXPECT_EQ(scale, std::atof(expected));
    }
    // 30 logical pixels right and 10 down, moved by the real pointer in the
    // screen's pixels.
    const wxRect screen = PhysicalScreenRect(*map);
    const int x = screen.x + screen.width / 2;
    const int y = screen.y + screen.height / 2;
    const std::string moves[] = {
        "mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1",
        "mousemove --sync " + std::to_string(x + static_cast<int>(30 * scale)) + " " +
            std::to_string(y + static_cast<int>(10 * scale)),
        "mouseup 1",
    };
    for (const std::string& move : moves) {
        ASSERT_EQ(std::system(("xdotool " + move).c_str()), 0) << move;
        PumpEvents(100ms);
    }
    EXPECT_FLOAT_EQ(dialog.GetMapView().GetCamera()->m_RotationY, 30.0f);
    // Down the screen is down in device coordinates too.
    EXPECT_FLOAT_EQ(dialog.GetMapView().GetCamera()->m_RotationX, -10.0f);
}

}  // namespace
