// Window utilities of the current window (cursor, title, placement, scrolling), beeping, and two small
// text scans that the dialog and grid code use. Platform-neutral.
#ifndef QR4T_TOOLKIT_WIN_WINDOW_UTILITIES_H
#define QR4T_TOOLKIT_WIN_WINDOW_UTILITIES_H

#include "toolkit/common/sentinels.h"

#include <string_view>

// The unsigned decimal number of the text's leading digits: no sign, no blanks skipped; 0 when the
// text does not begin with a digit. Digits past the 32-bit range keep the largest value 4294967295.
unsigned IStrToUInt(std::string_view text);
// Position (1-based) of the last character that is not a blank; 0 for an empty or all-blank text.
// The text ends at its first NUL.
int IStrTrimLength(std::string_view text);

// The default system beep when beeping is enabled; IOsBeepNow is the same; IOsBeepEnable sets the
// flag (non-zero on). Beeping starts enabled.
void IOsBeep();
void IOsBeepNow();
void IOsBeepEnable(int on);
// The beep flag (1 enabled).
int os_beep_enabled();
// The number of beeps sounded so far (while enabled); `sounded` counts one more first. Tests read it
// to see that a key or a leave was refused.
int os_beep_count(bool sounded = false);

// Cursor of the client windows: 0 arrow, 1 hourglass, 2 arrow with hourglass, 3 cross, 4 I-beam,
// 5 no-entry, 6 four-way size, 7 north-south, 8 west-east, 9 north-east/south-west,
// 10 north-west/south-east, 11 up arrow, any other n the cursor resource n; shown at once.
void WCursorShape(int n);
// Moves the mouse cursor to pixel (x, y) of the current window's client area.
void WCursorMoveTo(int x, int y);
// Caption of the current window.
void WWinSetTitle(std::string_view title);
// flag = 1 when the current window lies inside a parent window, else 0.
void WWinIsInsideParent(int& flag);
// Scrolls the current window's client contents by dx, dy pixels and fills the uncovered strip with
// the colour (packed RGB, -1 the window-text background); no expose follows.
void WWinScroll(int dx, int dy, int colour);
// Places the current window: x, y (WIN_UNSET keep), client width and height (in and out; WIN_UNSET keep,
// always kept for a window combined with a dialog), state (-1 keep, 0 minimised, 1 normal,
// 2 maximised). width and height return the new client size.
void WWinPlacement(int x, int y, int& width, int& height, int state);

// Toolbar resource ids of a window at its opening, by side: top, left, right, bottom (0 none).
struct WinToolbarIds {
    int id[4] = {};
};

// The full form of opening the main window: flags, position (WIN_UNSET centred), client size (below 1:
// 80 % of the screen), menu resource id (0 none), the dialog to combine (0 none; as for child
// windows: error 1007 or 1045 when it cannot be combined), the title, the toolbars and the colour count
// of a 256-colour display (16, 32, 64 or 128; any other 16). Nothing when it is open.
void WWinOpenMain(int flags, int x, int y, int width, int height, int menu, int dialog,
                  std::string_view title, const WinToolbarIds& toolbars = {}, int colour_count = 16);

// The full form of opening a child window: besides the short form of entry.h, the dialog to combine
// (0 none; a caption-less child-style control dialog, shown modeless filling the client, which takes
// its size: error 1007 when it cannot be made, 1045 for another style) and the parent window (flag 16
// inside it, flag 256 owned by it: error 1003 when it is not open, 1016 hidden, 1046 combined with a
// dialog, 1056 converted to another kind).
// A top-level child window may also have a menu bar (menu resource id, 0 none) and toolbars.
void WWinOpenChild(int& handle, int flags, int x, int y, int width, int height, int dialog,
                   std::string_view title, int parent, int menu = 0, const WinToolbarIds& toolbars = {});

#endif
