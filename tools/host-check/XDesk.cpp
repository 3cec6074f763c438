#include "XDesk.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace hostcheck
{
namespace
{
Display* dpy (void* d) { return static_cast<Display*> (d); }
}

XDesk::XDesk()
{
    display = XOpenDisplay (nullptr);
    if (display == nullptr)
        return;
    int event = 0, error = 0, major = 0, minor = 0;
    xtest = XTestQueryExtension (dpy (display), &event, &error, &major, &minor) != 0;
}

XDesk::~XDesk()
{
    if (display != nullptr)
        XCloseDisplay (dpy (display));
}

unsigned long XDesk::createWindow (int x, int y, int width, int height)
{
    if (display == nullptr)
        return 0;
    auto* d = dpy (display);
    const int screen = DefaultScreen (d);
    const Window w = XCreateSimpleWindow (d, RootWindow (d, screen), x, y, (unsigned) width, (unsigned) height, 0,
                                          BlackPixel (d, screen), WhitePixel (d, screen));
    XMapRaised (d, w);
    XSync (d, False);
    return (unsigned long) w;
}

void XDesk::destroyWindow (unsigned long window)
{
    if (display == nullptr || window == 0)
        return;
    XDestroyWindow (dpy (display), (Window) window);
    XSync (dpy (display), False);
}

int XDesk::countChildren (unsigned long window)
{
    if (display == nullptr || window == 0)
        return -1;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (! XQueryTree (dpy (display), (Window) window, &root, &parent, &children, &count))
        return -1;
    if (children != nullptr)
        XFree (children);
    return (int) count;
}

void XDesk::movePointer (int x, int y)
{
    if (! xtest)
        return;
    XTestFakeMotionEvent (dpy (display), -1, x, y, CurrentTime);
    XSync (dpy (display), False);
}

void XDesk::button (bool down)
{
    if (! xtest)
        return;
    XTestFakeButtonEvent (dpy (display), 1, down ? True : False, CurrentTime);
    XSync (dpy (display), False);
}

void XDesk::click (int x, int y)
{
    movePointer (x, y);
    button (true);
    button (false);
}
}
