// The Windows side of ScreenGrab.h: pixels come from the screen through GDI; there is no Xlib
// to prepare and no embedding window of another toolkit.

#include "ScreenGrab.h"

#include <windows.h>

namespace hostcheck
{
void prepareXlibForHosting() {}

int xErrorCount() { return 0; }

bool hasClientClippedByEmbedder (int, int) { return false; }

bool grabScreen (int x, int y, int width, int height, std::vector<std::uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || x < 0 || y < 0
        || x + width > GetSystemMetrics (SM_CXSCREEN) || y + height > GetSystemMetrics (SM_CYSCREEN))
        return false;

    HDC screen = GetDC (nullptr);
    if (screen == nullptr)
        return false;
    HDC memory = CreateCompatibleDC (screen);

    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof (info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection (screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);

    bool ok = false;
    if (memory != nullptr && bitmap != nullptr && bits != nullptr)
    {
        HGDIOBJ old = SelectObject (memory, bitmap);
        if (BitBlt (memory, 0, 0, width, height, screen, x, y, SRCCOPY))
        {
            GdiFlush();
            const auto* source = static_cast<const std::uint32_t*> (bits);
            pixels.assign (source, source + (size_t) width * (size_t) height);
            for (auto& p : pixels)
                p &= 0xffffff;
            ok = true;
        }
        SelectObject (memory, old);
    }
    if (bitmap != nullptr)
        DeleteObject (bitmap);
    if (memory != nullptr)
        DeleteDC (memory);
    ReleaseDC (nullptr, screen);
    return ok;
}
}
