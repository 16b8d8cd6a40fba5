// Keeps the sound backend quiet on a machine without audio: ALSA's library
// writes its failures to open a device straight to stderr, while the game
// is to stay silent there and say nothing.
#pragma once

// Routes ALSA's error messages nowhere, if ALSA's library is on the
// machine; otherwise does nothing. Call before the first sound.
void QuietAudioBackendErrors();
