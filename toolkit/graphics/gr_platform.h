// What the graphics reset needs of the platform: the window target and the display's colour class.
// The win build answers from the window table; the host build, which has no windows, answers for a
// true-colour display and keeps the target record only.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_PLATFORM_H
#define QR4T_TOOLKIT_GRAPHICS_GR_PLATFORM_H

// Makes the current window the drawing target (kind 1, its number) and sets up its surface.
void gr_select_current_window();
// The display's colour class (2, 8, 16, 32..128 with a reduced palette, or 256).
int gr_display_colour_class();

#endif
