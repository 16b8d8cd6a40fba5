// PlaySoundW, the one call of the Windows multimedia library the game makes.
//
// PlaySoundW hands the request to the installed sound sink and returns at
// once. By default the sink plays WAV files on SDL2's audio (SoundSinks.h);
// the headless run installs a silent sink and the tests a recording one.
#pragma once

#include "wintypes.h"

using HMODULE = void*;

constexpr DWORD SND_SYNC = 0x00000000;
constexpr DWORD SND_ASYNC = 0x00000001;
constexpr DWORD SND_NODEFAULT = 0x00000002;
constexpr DWORD SND_FILENAME = 0x00020000;

// Plays the WAV file name (a path relative to the working directory).
// Only the asynchronous form exists: the call never waits for the sound,
// and SND_SYNC is treated as SND_ASYNC. A null name stops what is playing.
// TRUE when the sink accepted the sound (the file was read and decoded, or
// the sink records or drops requests); FALSE otherwise. With no audio device
// the sound is dropped silently and the result is still TRUE.
BOOL PlaySoundW(const wchar_t* name, HMODULE module, DWORD flags);
