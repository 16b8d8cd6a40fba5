// Leak checker options of sanitizer builds: with the GL driver loaded, the
// checker misreads the main thread's dynamic thread-local storage and
// crashes scanning it. Nothing of ours lives there; the C library's objects
// reachable only from there are then not leaks.
extern "C" const char* __lsan_default_options()
{
    return "use_tls=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:add_to_global_resize\n"
           "leak:_dlerror_run\n";
}
