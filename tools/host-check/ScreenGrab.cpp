#include "ScreenGrab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <cstdio>

namespace hostcheck
{
namespace
{
std::atomic<int> errors { 0 };

int onXError (Display* display, XErrorEvent* event)
{
    // Without a window manager JUCE asks for properties whose atoms do not exist; the first few
    // errors are shown, the rest only counted.
    if (++errors <= 3)
    {
        char text[128] = {};
        XGetErrorText (display, event->error_code, text, (int) sizeof (text));
        std::fprintf (stderr, "X error (ignored): %s, request %d.%d\n", text, (int) event->request_code, (int) event->minor_code);
    }
    return 0;
}
}

void prepareXlibForHosting()
{
    XInitThreads();
    XSetErrorHandler (onXError);
}

int xErrorCount() { return errors.load(); }

namespace
{
bool searchClipped (Display* d, Window w, unsigned parentW, unsigned parentH, int width, int height)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XWindowAttributes a;
    if (! XGetWindowAttributes (d, w, &a))
        return false;
    if (a.width == width && a.height == height && parentW == 1 && parentH == 1)
        return true;
    bool found = false;
    if (XQueryTree (d, w, &root, &parent, &children, &count))
    {
        for (unsigned i = 0; i < count && ! found; ++i)
            found = searchClipped (d, children[i], (unsigned) a.width, (unsigned) a.height, width, height);
        if (children != nullptr)
            XFree (children);
    }
    return found;
}
}

bool hasClientClippedByEmbedder (int width, int height)
{
    Display* display = XOpenDisplay (nullptr);
    if (display == nullptr)
        return false;
    const bool found = searchClipped (display, DefaultRootWindow (display), 0, 0, width, height);
    XCloseDisplay (display);
    return found;
}

bool grabScreen (int x, int y, int width, int height, std::vector<std::uint32_t>& pixels)
{
    Display* display = XOpenDisplay (nullptr);
    if (display == nullptr)
        return false;

    bool ok = false;
    const Window root = DefaultRootWindow (display);
    XWindowAttributes attributes;
    XGetWindowAttributes (display, root, &attributes);
    if (width > 0 && height > 0 && x >= 0 && y >= 0 && x + width <= attributes.width && y + height <= attributes.height)
    {
        if (XImage* image = XGetImage (display, root, x, y, (unsigned) width, (unsigned) height, AllPlanes, ZPixmap))
        {
            pixels.resize ((size_t) width * (size_t) height);
            for (int row = 0; row < height; ++row)
                for (int col = 0; col < width; ++col)
                    pixels[(size_t) row * (size_t) width + (size_t) col] = (std::uint32_t) (XGetPixel (image, col, row) & 0xffffff);
            XDestroyImage (image);
            ok = true;
        }
    }
    XCloseDisplay (display);
    return ok;
}
}
