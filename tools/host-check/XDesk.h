#pragma once

namespace hostcheck
{
// The host's own connection to the X server, for what a host does without a toolkit: plain
// top-level windows to embed plug-in editors in, the window tree under them, and the pointer
// moved and clicked as the server's own input (the XTEST extension), so that a plug-in receives
// the events a user's mouse produces.
class XDesk
{
public:
    XDesk();
    ~XDesk();

    bool ok() const noexcept { return display != nullptr; }
    bool canMovePointer() const noexcept { return xtest; }

    // A mapped top-level window at (x, y) on the screen; 0 on failure.
    unsigned long createWindow (int x, int y, int width, int height);
    void destroyWindow (unsigned long window);
    int countChildren (unsigned long window);

    void movePointer (int x, int y);
    void button (bool down);
    void click (int x, int y);

private:
    void* display = nullptr;
    bool xtest = false;
};
}
