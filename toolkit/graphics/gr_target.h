// Drawing target selection (Win32 build): kind 1 window (number < 0: the current window), 2 off-screen
// bitmap (number < 0: bitmap 1), 3 picture field of the current dialog. An invalid choice reports error 1019
// and selects the current window; another kind is only recorded.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_TARGET_H
#define QR4T_TOOLKIT_GRAPHICS_GR_TARGET_H

// The body of IGrSelectTarget.
void gr_select_target(int kind, int number);
// A resize of the current graphics window: its new size is adopted and the window-text font rescaled;
// other windows are ignored.
void IGrSurfaceResize(int window, int width, int height);

#endif
