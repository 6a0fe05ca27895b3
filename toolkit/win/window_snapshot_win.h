// Window snapshots: while a modal box is up, the plain toolkit windows and the dialogs with pictures
// paint from bitmaps copied when the box came up (WinBackingBitmap).
#ifndef QR4T_TOOLKIT_WIN_WINDOW_SNAPSHOT_WIN_H
#define QR4T_TOOLKIT_WIN_WINDOW_SNAPSHOT_WIN_H

#include <windows.h>

// Mode 1 takes (or nests) a snapshot of every plain window and picture dialog, any other mode releases
// one level; `leave_out` is a window number left out (-1 none); error is always 0.
void WWinSnapshot(int mode, int leave_out, int& error);
// True while any window or dialog holds a snapshot.
bool snapshots_held();
// WM_PAINT of a client window while snapshots are held: the window, or the outer window holding the
// snapshot, is repainted from its bitmap. False when no snapshot covers it (the expose is raised).
bool snapshot_paint_window(HWND client);
// WM_PAINT of a dialog (part = the dialog) or of one of its fields (part = the field) while the dialog
// holds a snapshot: that part is painted from it. False when the dialog holds none.
bool snapshot_paint_dialog_part(HWND dlg, HWND part);
// Forgets the snapshot of a dialog that is being destroyed.
void snapshot_forget_dialog(HWND dlg);

#endif
