#include "SdlSubsystems.h"

#include <mutex>

namespace {

std::mutex& SubsystemMutex()
{
    static std::mutex mutex;
    return mutex;
}

}  // namespace

bool StartSdlSubsystems(Uint32 flags)
{
    std::lock_guard<std::mutex> lock(SubsystemMutex());
    // Read when the event subsystem starts: without it, SDL would turn
    // Ctrl+C into a quit event that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(flags) == 0;
}

void StopSdlSubsystems(Uint32 flags)
{
    std::lock_guard<std::mutex> lock(SubsystemMutex());
    SDL_QuitSubSystem(flags);
}
