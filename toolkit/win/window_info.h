// Information on the current window and the current dialog, and the status-bar operations.
// Platform-neutral: integers and texts only.
#ifndef QR4T_TOOLKIT_WIN_WINDOW_INFO_H
#define QR4T_TOOLKIT_WIN_WINDOW_INFO_H

#include <string_view>

// Facts of the current window: 1, 2 client width and height in pixels; 3 the flags it was opened
// with; 4 its number; 5, 6 frame x, y (units 0..9999 of the main client for a window inside it,
// else screen pixels); 7, 8 screen position of its client origin; 9 show state (0 minimised,
// 1 normal, 2 maximised); 10 the kind word of its window record, 0 for a plain window.
int WWinInfo(int option);

// Facts of the dialogs: 1 the button that closed the last modal show; 2 the field that had the focus
// then; 3 the current dialog id; 4 the answer of the last message box or file chooser; 5 the dialog of
// the last modal show; 6, 7 x, y and 8, 9 width, height of the current dialog (units of the main
// client for a dialog inside it, else pixels).
int WDialogInfo(int option);

// The frame rectangle of the current window (kinds 0, 1) or dialog (kinds 2, 3): kinds 0 and 2 give
// left and top, kinds 1 and 3 width and height. child = 1 when it has the child style, the rectangle
// then being in the main window's client coordinates. A minimised window gives its restored place.
void WWinRect(int kind, int& first, int& second, int& child);
// Screen coordinates of the current window's client origin.
void WWinClientOrigin(int& x, int& y);
// 0 minimised, 2 maximised, else 1.
void WWinShowState(int& state);
// The system window-text colour for code 45, else the window background colour (packed RGB).
void WWinSysColour(int code, int& colour);
void WWinMouseButtons(int& count);
// Kind word of the current window's window record; 0 without one.
void WWinRecordKind(int& kind);

// ---- status bar of the current window

// Stores the width (pixels) and style of part n (1..255): style 0 no borders, 2 pop-out, other normal.
void WWinStatusBarPart(int part, int width, int style);
// Divides the status bar into n parts with the stored widths and sets their texts again.
void WWinStatusBarParts(int n);
// Sets the text of part n with its stored style and redraws it; nothing without a status bar.
void WWinStatusBarSet(int part, std::string_view text);
// Trims the text and sets it into part 1..255; other part numbers are ignored.
void WWinStatusBarText(int part, std::string_view text);

#endif
