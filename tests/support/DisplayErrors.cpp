#include "DisplayErrors.h"

#include <atomic>

#if defined(__linux__)
 #include <X11/Xlib.h>
#endif

namespace
{
std::atomic<int> errors { 0 };

#if defined(__linux__)
int onError (Display*, XErrorEvent*)
{
    ++errors;
    return 0;
}
#endif
}

void DisplayErrors::tolerate()
{
#if defined(__linux__)
    XSetErrorHandler (onError);
#endif
}

int DisplayErrors::count() { return errors.load(); }
