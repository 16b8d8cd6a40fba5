#include "QuietAudio.h"

#include <dlfcn.h>

namespace {

// ALSA's error handler type: file, line, function, error, printf format.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);

void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietAudioBackendErrors()
{
    // The sound library loads ALSA itself when it first plays; loading it
    // here first (and keeping it loaded) lets the handler set now stay in
    // place for that use.
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL);
    if (alsa == nullptr)
        return;
    if (auto set = reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(DropAlsaError);
}
