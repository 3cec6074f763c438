#pragma once

#include <cstdint>
#include <vector>

namespace hostcheck
{
// Reads the pixels the X server shows in a screen rectangle (0x00RRGGBB each, row by row), as
// the user would see them, child windows of other toolkits included. False when there is no
// display or the area is off screen.
bool grabScreen (int x, int y, int width, int height, std::vector<std::uint32_t>& pixels);

// What a host does before any toolkit touches Xlib: thread support (the host's and each plug-in's
// toolkit talk to the server from their own threads) and an error handler that reports protocol
// errors instead of ending the process. JUCE does both only inside a JUCEApplication.
void prepareXlibForHosting();

// True when some window of exactly width × height sits inside a 1 × 1 parent: an embedding host
// window that never learnt its client's size, which hides the client however it paints.
bool hasClientClippedByEmbedder (int width, int height);

// Protocol errors reported since prepareXlibForHosting.
int xErrorCount();
}
