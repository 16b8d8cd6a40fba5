// Sanitizer builds: with the GL driver loaded the leak checker misreads the
// thread-local storage and crashes; nothing of ours lives there.
extern "C" const char* __lsan_default_options()
{
    return "use_tls=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:add_to_global_resize\n"
           "leak:_dlerror_run\n";
}
