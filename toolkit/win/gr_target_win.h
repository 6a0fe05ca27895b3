// Drawing target selection (Win32 build): kind 1 window (number < 0: the current window), 2 off-screen
// bitmap (number < 0: bitmap 1), 3 picture field of the current dialog. An invalid choice reports error 1019
// and selects the current window; another kind is only recorded. The graphics core reaches these through
// GR_PLATFORM_HOOKS (toolkit/graphics/gr_platform.h).
#ifndef QR4T_TOOLKIT_WIN_GR_TARGET_WIN_H
#define QR4T_TOOLKIT_WIN_GR_TARGET_WIN_H

// The body of IGrSelectTarget.
void gr_select_target(int kind, int number);
// Makes the current window the drawing target (kind 1, its number) and sets up its surface.
void gr_select_current_window();
// The display's colour class (2, 8, 16, 32..128 with a reduced palette, or 256), read from the screen.
int gr_display_colour_class();
// A resize of the current graphics window: its new size is adopted and the window-text font rescaled;
// other windows are ignored.
void IGrSurfaceResize(int window, int width, int height);

#endif
