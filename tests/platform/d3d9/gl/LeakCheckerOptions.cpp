// Options for the leak checker of sanitizer builds (unused otherwise).
//
// With the GL driver loaded, the leak checker of our compiler's runtime
// misreads the main thread's dynamic thread-local storage on this C
// library and crashes while scanning it. We scan no thread-local storage
// (nothing of ours lives there); the C library's own objects reachable only
// from there (the dynamic loader's table of loaded objects, the message of
// the driver loader's last failed dlopen) are then not leaks.
extern "C" const char* __lsan_default_options()
{
    return "use_tls=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:add_to_global_resize\n"
           "leak:_dlerror_run\n";
}
