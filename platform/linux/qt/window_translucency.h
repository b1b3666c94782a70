// Whether the window system blends a translucent window with what lies behind it. On X11 that
// takes a compositing manager; without one (a bare X server, a window manager that does not
// composite) the transparent pixels of a window show black.
#pragma once

namespace ornav::linux_platform {

// On X11: whether a compositing manager runs now on the display's default screen (it owns the
// _NET_WM_CM_S<screen> selection). The other platforms Qt runs on (Wayland, offscreen) always
// blend. Asks the X server each time: a compositing manager may start or end at any moment.
bool windowTranslucencyAvailable();

}  // namespace ornav::linux_platform
