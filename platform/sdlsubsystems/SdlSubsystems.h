// SDL2's subsystems are started by the sound player's thread (audio) and by
// the GUI thread (game controllers), and SDL's own start and stop are not
// safe to call from two threads at once (they share the event subsystem's
// count). Every start and stop in the program goes through these two
// functions, which take turns.
#pragma once

#include <SDL.h>

// SDL_InitSubSystem under the program's lock. The first call also tells SDL
// to leave SIGINT and SIGTERM alone: the game handles them itself. True when
// the subsystems are running.
bool StartSdlSubsystems(Uint32 flags);

// SDL_QuitSubSystem under the same lock; once for every successful start.
void StopSdlSubsystems(Uint32 flags);
