// The palette handling of the window procedures while the OpenGL surface has a palette (an 8-bit
// display): a paint or palette change of a window, and the application's activation, realise the
// palettes again.
#ifndef QR4T_TOOLKIT_WIN_GL_PALETTE_WIN_H
#define QR4T_TOOLKIT_WIN_GL_PALETTE_WIN_H

#include <windows.h>

// For the surface's own window: the surface's palette in the surface's contexts; for any other toolkit
// window: the graphics core's palette in that window's context. Nothing while the surface has no
// palette.
void gl_realise_palettes(HWND window);

#endif
