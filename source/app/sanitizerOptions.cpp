// Defaults for the address sanitizer build. The X11, SDL and ALSA libraries
// keep a few allocations until the process ends; reporting them at every exit
// would bury the leaks that are ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libX11.so\n"
           "leak:libSDL-1.2.so\n"
           "leak:libasound.so\n"
           "leak:libxcb.so\n";
}
