// The OpenGL rendering context of the toolkit: one surface at a time.
#ifndef QR4T_TOOLKIT_WIN_GL_SURFACE_H
#define QR4T_TOOLKIT_WIN_GL_SURFACE_H

// Binds the surface: kind 0 off, 1 toolkit window (number -1: the current window), 2 off-screen bitmap
// (number: its handle 1..20, below 1: 1), 3 the current dialog (number 0) or its field with that
// identifier. Flags: bit 1 colour-index pixels, bit 2 double buffering.
// Errors: 1019 no such target, 1035 the system refused (its code kept as the last system error).
void WGlSelectTarget(int kind, int number = -1, int flags = 0);
// Presents the surface's picture: a window or field (whose context lives in a hidden window of its own)
// gets the drawn buffer copied into it; a bitmap's buffers are swapped.
void WGlSwapBuffers();
// Sets a palette entry on an 8-bit display; does nothing without a palette.
void WGlPaletteEntry(int index, int rgb, int mode);
// Kind of the current surface (0 none).
int gl_surface_kind();

// The core (number: for kind 2 the bitmap slot 0..19): status 0 done, -1 invalid target, else the
// system's error code.
void GlSurfaceSet(int kind, int number, int flags, int& status);

#endif
