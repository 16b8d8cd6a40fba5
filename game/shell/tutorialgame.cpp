#include "tutorialgame.h"

#include <cstdlib>
#include <iostream>

#include <wx/init.h>
#include <wx/log.h>

#include "keyscript.h"
#include "tutorialapp.h"

namespace {

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool HasDisplayEnvironment()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

int RunTutorialGame(const SoareOptions& options, const KeyScript& replay)
{
    return RunTutorialGameReporting(options, replay, std::cout, std::cerr);
}

int RunTutorialGameReporting(const SoareOptions& options, const KeyScript& replay, std::ostream& out, std::ostream& err)
{
    if (!HasDisplayEnvironment()) {
        err << "soare: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset); "
               "use --headless to run without one"
            << std::endl;
        return 1;
    }

    // The toolkit sees only the program's name: the command line has been
    // read already, and its own options are not the game's.
    char name[] = "soare";
    char* argv[] = {name, nullptr};
    int argc = 1;
    bool started = false;
    {
        // Its own complaint would be a second, less clear line.
        wxLogNull quiet;
        started = wxEntryStart(argc, argv);
    }
    if (!started) {
        const char* display = std::getenv("DISPLAY");
        err << "soare: cannot open the display" << (display && *display ? std::string(" ") + display : std::string())
            << "; use --headless to run without one" << std::endl;
        return 1;
    }

    int status = 1;
    if (CTutorialApp* app = CTutorialApp::Get()) {
        app->SetRecordFile(options.record);
        app->SetVarioAtStart(options.vario);
        if (options.replay)
            app->SetReplay(replay);
        app->SetStatsOutput(options.stats ? &out : nullptr);
        if (app->CallOnInit())
            status = app->OnRun();
        app->OnExit();
    }
    wxEntryCleanup();
    return status;
}
