// The Win32 side of dialog picture fields, used by the dialog procedure and the message code.
#ifndef QR4T_TOOLKIT_WIN_PICTURE_FIELDS_WIN_H
#define QR4T_TOOLKIT_WIN_PICTURE_FIELDS_WIN_H

#include <windows.h>

// A mouse event on a picture dialog (field 0, source the dialog) or a picture field (source the
// field): raises 104, 105, 106 or 116 with the field in word 11 and the button in word 13 of the
// dialog's record. False when the event is not a picture's (not a picture, or a modal show).
bool picture_mouse_event(HWND dlg, HWND source, int field, UINT msg, WPARAM wp, LPARAM lp);
// WM_PAINT of a dialog: repaints it from its snapshot while one is held, else raises the expose
// (107, word 11 = 0) of a picture dialog. False when the dialog paints as usual.
bool picture_dialog_paint(HWND dlg);
// Marks a field as a picture (its field record) and puts the picture handling in front of it: its
// exposes and, for a static, its mouse events reach the application.
void mark_picture_field(HWND field);

#endif
