#pragma once

// Tests that put a window on the screen meet the protocol errors of an X server without a window
// manager (JUCE asks for properties whose atoms do not exist there). Xlib's default handler ends
// the process on the first one; this installs a handler that only counts them, as a host does.
namespace DisplayErrors
{
void tolerate();
int count();
}
