// The bitmap viewer: a child window converted to show an off-screen bitmap larger than the window,
// with scroll bars; scrolling raises MsgBitmapView, and mouse and key messages from the viewer carry
// source kind 2 and user positions that account for the scroll position.
#ifndef QR4T_TOOLKIT_WIN_BITMAP_VIEWER_H
#define QR4T_TOOLKIT_WIN_BITMAP_VIEWER_H

// Converts the current window into a viewer of bitmap `slot` (0..19) scrolled to (scroll_x, scroll_y)
// (below 1: 0); mode 1 modal (returns when the user closes the window), 2 modeless, 3 semi-modeless.
// status 0 done; 1 the current window is the main window; 2 bad or empty slot; 3 the bitmap is the
// drawing surface; 4 the window is converted to another kind; 5 inside a parent, mode changed to 2;
// 6 the viewer cannot be made; 9 the window has child windows. A viewer just shows the new bitmap.
void WBitmapView(int slot, int scroll_x, int scroll_y, int& mode, int& status);
// Option 3 the bitmap handle shown (slot + 1), 4 and 5 the scroll positions, 101 and 102 the bitmap
// size, 103 the bitmap row at the lower edge of the view; 0 for a window that is not a viewer.
void WBitmapViewInfo(int window, int option, int& value);
// True when a viewer window shows bitmap `slot`.
bool bitmap_in_view(int slot);
// A pixel of a viewer window (px from the left, py upwards from the bottom row) to user units of the
// current graphics area, adding the scroll position; the plain device conversion for other windows.
void IGrPixelToUser(float px, float py, float& x, float& y, int window);

#endif
