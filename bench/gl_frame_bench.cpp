// The cost of a drawn frame on the OpenGL device, with no display: EGL
// offscreen windows at the main window's sizes stand in for the three view
// canvases, and the game's own tick draws the real scene into them. After
// 200 steps of a fixed key script, each iteration runs one drawn tick (all
// three views) and then one bare tick (each view cleared and presented,
// nothing drawn: the floor no scene can go below). Reported, in
// milliseconds: median and 95th percentile of the drawn tick, of each view,
// and of the bare tick, and the drawn-to-bare ratio of the medians.
//
// An offscreen window reads its frame back when presented, as a window
// system copies a software renderer's frame to the screen, so a present
// waits for the frame to be finished.
#include <benchmark/benchmark.h>

#include <stb/stb_image_write.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchDataFolder.h"
#include "DIKeySource.h"
#include "EglOffscreenContext.h"
#include "EglOffscreenWindow.h"
#include "GLDirect3D9.h"
#include "ORVD3D_GraphicsSystem.h"
#include "ORVD3D_WindowHandler.h"
#include "ORV_Clock.h"
#include "SoundSinks.h"
#include "dinput.h"
#include "gametick.h"
#include "keyboardinput.h"
#include "keyscript.h"
#include "model.h"
#include "modelowner.h"

namespace {

using Clock = std::chrono::steady_clock;

// Client sizes of the main window and its views at scale 1 with the
// desktop's default font (Xvfb, GTK 3 on Debian 12).
constexpr int kDialogWidth = 1000, kDialogHeight = 638;
constexpr int kMainWidth = 548, kMainHeight = 583;
constexpr int kGroundWidth = 438, kGroundHeight = 232;
constexpr int kMapWidth = 438, kMapHeight = 308;

constexpr int kWarmUpSteps = 200;
constexpr int kMeasuredTicks = 300;

// SOARE_BENCH_TICKS=N measures N ticks instead (a short run under an
// instruction counter such as callgrind).
int MeasuredTicks()
{
    const char* ticks = std::getenv("SOARE_BENCH_TICKS");
    const int n = ticks ? std::atoi(ticks) : 0;
    return n > 0 ? n : kMeasuredTicks;
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// CPU time of the whole process (the renderer's threads included), which a
// machine shared with other work disturbs less than wall time.
double ProcessCpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// With SOARE_BENCH_FRAMES=DIR, the last frame of each view as a PNG there.
void SaveFrame(const RgbaImage& frame, const char* name)
{
    const char* folder = std::getenv("SOARE_BENCH_FRAMES");
    if (!folder || !*folder || frame.pixels.empty())
        return;
    const std::string path = std::string(folder) + "/" + name + ".png";
    if (!stbi_write_png(path.c_str(), frame.width, frame.height, 4, frame.pixels.data(), frame.width * 4))
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

// Median and 95th percentile of samples (sorted in place).
struct Spread
{
    double median = 0.0;
    double p95 = 0.0;
};

Spread SpreadOf(std::vector<double>& samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        const auto i = static_cast<size_t>(q * static_cast<double>(samples.size() - 1) + 0.5);
        return samples[std::min(i, samples.size() - 1)];
    };
    return {at(0.5), at(0.95)};
}

// A game view drawing into an offscreen window, timing each frame.
class BenchView : public ORVD3D_WindowHandler
{
public:
    BenchView(CModelOwner& models, std::shared_ptr<EglOffscreenWindow> window)
        : m_Models(models), m_Window(std::move(window))
    {}

    bool Attach() { return Initialize(HWND(std::static_pointer_cast<IWindowSurface>(m_Window))); }

    void DrawGraphics() override
    {
        const Clock::time_point start = Clock::now();
        DrawGameView(*this, m_pDevice, m_Models);
        m_Last = Clock::now() - start;
    }

    // A frame with nothing in it: cleared to the sky and presented.
    void DrawBare()
    {
        const Clock::time_point start = Clock::now();
        BeginDraw();
        m_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSkyColor, 1.0f, 0);
        EndDraw();
        m_Last = Clock::now() - start;
    }

    // The time of the last frame; zero once taken.
    Clock::duration TakeLast()
    {
        const Clock::duration last = m_Last;
        m_Last = {};
        return last;
    }

    const EglOffscreenWindow& Window() const { return *m_Window; }

private:
    CModelOwner& m_Models;
    std::shared_ptr<EglOffscreenWindow> m_Window;
    Clock::duration m_Last{};
};

void PlaceCamera(ORV_WindowHandler& view, D3DXVECTOR3 eye, float fov, float nearPlane, float farPlane)
{
    ORV_Camera* camera = view.GetCamera();
    camera->SetLookAt(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    camera->SetPosition(eye);
    camera->SetPerspective(fov, nearPlane, farPlane);
}

// A gentle left turn with the nose held up now and then: the craft circles
// over the island, so every view shows land, clouds and updrafts.
unsigned ScriptKeys(int step)
{
    return (step % 4 == 0 ? kKeyLeft : 0u) | (step % 50 == 0 ? kKeyDown : 0u);
}

void BM_GLDrawnFrame(benchmark::State& state)
{
    BenchDataFolder folder;
    std::string error;
    const std::shared_ptr<EglOffscreenContext> context = EglOffscreenContext::Create(&error);
    if (!context) {
        state.SkipWithError(("no offscreen OpenGL: " + error).c_str());
        return;
    }
    state.SetLabel(context->Description());

    const Direct3DFactory previousFactory = InstallOpenGLDirect3D();
    auto keys = std::make_shared<ScriptedKeySource>();
    const std::shared_ptr<DIKeySource> previousKeys = SetDIKeySource(keys);
    const std::shared_ptr<SoundSink> previousSound = SetSoundSink(std::make_shared<SilentSoundSink>());
    auto time = std::make_shared<ORV_ManualTimeSource>();

    const auto focus = std::make_shared<EglOffscreenWindow>(context, kDialogWidth, kDialogHeight);
    // The dialog itself has no GL drawable.
    focus->SetRealised(false);
    {
        CModelOwner models([time] { return std::make_unique<CModel>(time); });
        BenchView mainView(models, std::make_shared<EglOffscreenWindow>(context, kMainWidth, kMainHeight));
        BenchView groundView(models, std::make_shared<EglOffscreenWindow>(context, kGroundWidth, kGroundHeight));
        BenchView mapView(models, std::make_shared<EglOffscreenWindow>(context, kMapWidth, kMapHeight));
        ORVD3D_GraphicsSystem& graphics = ORVD3D_GraphicsSystem::GetInstance();
        CKeyboardInput keyboard;
        bool ready = graphics.CreateGraphicsContext(HWND(std::static_pointer_cast<IWindowSurface>(focus))) &&
                     mainView.Attach() && groundView.Attach() && mapView.Attach();
        if (ready) {
            PlaceCamera(mainView, D3DXVECTOR3(0.0f, 10.0f, -25.0f), 45.0f, 0.1f, 400.0f);
            PlaceCamera(groundView, D3DXVECTOR3(30.0f, 30.0f, 30.0f), 45.0f, 0.5f, 150.0f);
            PlaceCamera(mapView, D3DXVECTOR3(-0.01f, 60.0f, 0.0f), 50.0f, 0.5f, 75.0f);
            ready = models.GetModel() != nullptr;
            keyboard.Initialize(HWND(std::static_pointer_cast<IWindowSurface>(focus)));
        }
        if (!ready) {
            state.SkipWithError("the game could not start on the OpenGL device");
        } else {
            CModel& model = *models.GetModel();
            bool pWasDown = false;
            int step = 0;
            const auto tick = [&] {
                const unsigned held = ScriptKeys(step++);
                keys->SetKeyDown(DIK_LEFT, (held & kKeyLeft) != 0);
                keys->SetKeyDown(DIK_DOWN, (held & kKeyDown) != 0);
                time->Advance(25);
                RunGameTick(keyboard, model, CGameViews{mainView, groundView, mapView}, pWasDown);
            };
            for (int i = 0; i < kWarmUpSteps; ++i)
                tick();
            mainView.TakeLast();
            groundView.TakeLast();
            mapView.TakeLast();

            BenchView* const views[] = {&mainView, &groundView, &mapView};
            std::vector<double> drawn, bare, perView[3];
            double drawnCpu = 0.0;
            double bareCpu = 0.0;
            for (auto _ : state) {
                Clock::time_point start = Clock::now();
                double cpu = ProcessCpuMilliseconds();
                tick();
                drawn.push_back(Milliseconds(Clock::now() - start));
                drawnCpu += ProcessCpuMilliseconds() - cpu;
                for (int v = 0; v < 3; ++v)
                    perView[v].push_back(Milliseconds(views[v]->TakeLast()));

                start = Clock::now();
                cpu = ProcessCpuMilliseconds();
                for (BenchView* view : views)
                    view->DrawBare();
                bare.push_back(Milliseconds(Clock::now() - start));
                bareCpu += ProcessCpuMilliseconds() - cpu;
            }
            tick();
            SaveFrame(mainView.Window().LastFrame(), "main");
            SaveFrame(groundView.Window().LastFrame(), "ground");
            SaveFrame(mapView.Window().LastFrame(), "map");
            const auto iterations = static_cast<double>(std::max<size_t>(drawn.size(), 1));
            state.counters["tick_cpu_ms"] = drawnCpu / iterations;
            state.counters["bare_cpu_ms"] = bareCpu / iterations;
            const Spread d = SpreadOf(drawn);
            const Spread b = SpreadOf(bare);
            state.counters["tick_median_ms"] = d.median;
            state.counters["tick_p95_ms"] = d.p95;
            state.counters["bare_median_ms"] = b.median;
            state.counters["bare_p95_ms"] = b.p95;
            state.counters["tick_to_bare"] = b.median > 0.0 ? d.median / b.median : 0.0;
            const char* names[] = {"main", "ground", "map"};
            for (int v = 0; v < 3; ++v) {
                const Spread s = SpreadOf(perView[v]);
                state.counters[std::string(names[v]) + "_median_ms"] = s.median;
                state.counters[std::string(names[v]) + "_p95_ms"] = s.p95;
            }
            if (mainView.Window().SwapCount() == 0)
                state.SkipWithError("nothing was presented");
        }
        graphics.ReleaseGraphicsContext();
        mainView.ShutDown();
        groundView.ShutDown();
        mapView.ShutDown();
        models.DeleteModel();
    }
    SetSoundSink(previousSound);
    SetDIKeySource(previousKeys);
    SetDirect3DFactory(previousFactory);
}

}  // namespace

BENCHMARK(BM_GLDrawnFrame)->Iterations(MeasuredTicks())->Unit(benchmark::kMillisecond);
