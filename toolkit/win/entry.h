// Entry operations of the windows, events and dialogs toolkit that the simulation core calls.
//
// These declarations are platform-neutral (integers, reals, strings; no Win32 types), so that both
// builds include them: in the win build the toolkit implements them on the Win32 API, in the host build
// toolkit/headless answers them from a script and records the calls. A failing operation sets the
// toolkit's last error number and returns; the core tests no result.
//
// Optional arguments of the toolkit appear as defaults. Positions of windows and dialogs are in units
// 0..9999 of the main window's client area.
#ifndef QR4T_TOOLKIT_WIN_ENTRY_H
#define QR4T_TOOLKIT_WIN_ENTRY_H

#include <optional>
#include <string>
#include <string_view>

// ---- messages

// Message types of WinMessage.
enum WinMessageType {
    MsgNone = -1,
    MsgKey = 1,
    MsgMenu = 2,
    MsgButton = 3,
    MsgMouseDown = 4,
    MsgMouseUp = 5,
    MsgMouseMove = 6,
    MsgExpose = 7,
    MsgResize = 8,
    MsgCloseRequest = 9,
    MsgFieldChanged = 10,
    MsgTabChanged = 11,
    MsgNonClientClick = 12,
    MsgTimer = 13,
    MsgBitmapView = 15,
    MsgDoubleClick = 16,
};

// The 12-word record that the wait and poll operations fill.
struct WinMessage {
    int window = 0;        // toolkit window number 0..20, or the dialog's resource id
    int value1 = 0;        // type-dependent: key code, menu id, button id, mouse button, width ...
    int value2 = 0;        // type-dependent: key state, focus field, height ...
    int source_kind = -1;  // 0 toolkit window, 1 dialog picture field, 2 bitmap viewer, -1 none
    int field = -1;        // dialog field id for source kind 1, else -1
    int x = 0;             // position in 0..9999 window units (pixels for field messages)
    int y = 0;             // as x; grows downwards
    float x2 = 0.0f;       // expose: second corner in user units
    float y2 = 0.0f;
    float user_x = 0.0f;  // position in the user units of the graphics area
    float user_y = 0.0f;
    int time = 0;  // system message time in milliseconds
};

// Waits for the next toolkit message.
void WMsgWait(int& type, WinMessage& message);
// Returns the next waiting message without waiting; type MsgNone when none waits.
void WMsgPeek(int& type, WinMessage& message);

// ---- start-up and windows

// Starts the toolkit with a settings file; one blank means the default settings file.
void WInitialise(std::string_view settings_file);
// Screen information; option 1 is the screen width in pixels.
int WInfoScreen(int option);

// What the application fills to open the main window (26 words in the toolkit's own record).
struct WinOpenRecord {
    int flags = 0;  // style bits (0x43: system menu, minimise box, fixed frame)
    int x = 0;      // position in pixels (-5 centres the window)
    int y = 0;
    int width = 0;  // client size in pixels
    int height = 0;
    int menu = 0;       // menu resource id, 0 for none
    std::string title;  // at most 80 characters
};

void WWinOpen(const WinOpenRecord& record, int colour_count = 16);
// Opens a child window (at most 20); handle -1 on failure; flags 7 = system menu and both boxes.
void WWinOpenChild(int& handle, int flags, int x, int y, int width, int height, std::string_view title);
void WWinSelect(int handle);
void WWinRaise(int handle);
void WWinCloseChild(int handle);
// Fills the current window with its background colour.
void WWinClear();
// Clears a rectangle of the current window, corners in 0..9999 window units (y from the top), to the
// window-text background colour.
void WGrRectangleClear(int x1, int y1, int x2, int y2);
// Window units 0..9999 of the current window to its client pixels.
void WGrUnitsToPixels(int x, int y, int& px, int& py);

// ---- off-screen bitmaps (up to 20, compatible with the screen)

// Creates a bitmap of width x height pixels filled with colour number 0 of the colour table.
// handle 1..20; 0 when all 20 are in use, -1 when the system bitmap cannot be made (error 1020).
void WBitmapCreate(int& handle, int width, int height);
// Copies bitmap `handle` into the current drawing target with the transfer mode. area_mode 1: the
// rectangle spanned by (x1, y1) and (x2, y2), nothing when a corner is absent; 2: the current
// graphics area; any other: the whole target. stretch 0: one to one from the bitmap's top-left
// corner, cut to the rectangle; else the whole bitmap scaled into it. A bad handle gives error 1021.
void WBitmapPut(int handle, int area_mode, int stretch, std::optional<int> x1 = std::nullopt,
                std::optional<int> y1 = std::nullopt, std::optional<int> x2 = std::nullopt,
                std::optional<int> y2 = std::nullopt);
// Deletes bitmap `handle`; error 1021 when there is no such bitmap, 1036 (not deleted) while a bitmap
// viewer shows it.
void WBitmapDestroy(int handle);

// ---- dialogs

void WDialogLoad(int dialog);
void WDialogSelect(int dialog);
// x, y in 0..9999 units (-1 default position); mode 1 modal, 2 modeless.
void WDialogShow(int x, int y, int focus_field = 0, int mode = 1);
void WDialogHide();
void WDialogUnload(int flag = 0);
void WDialogPutString(int field, std::string_view text);
void WDialogPutInteger(int field, int value);
void WDialogGetInteger(int field, int& value);
void WDialogRangeInteger(int field, int minimum, int maximum);
void WDialogPutReal(int field, float value, std::string_view format);
void WDialogPutDouble(int field, double value, std::string_view format);
void WDialogPutRadioButton(int field);
void WDialogGetRadioButton(int field, int& position);
void WDialogPutCheckBox(int field, int state);
void WDialogGetCheckBox(int field, int& state);
// 0 disabled, 1 enabled, 2 enabled read-only, 3 hidden.
void WDialogFieldState(int field, int state);
void WDialogRangeProgressBar(int field, int minimum, int maximum);
void WDialogPutProgressBar(int field, int value, int mode = 0);

// Modal message box. Buttons: 1 OK/Cancel, 2 Retry/Cancel, 3 Yes/No, 4 Yes/No/Cancel,
// 5 Abort/Retry/Ignore, other a single OK. Icon: 1 stop, 2 question, 3 exclamation, 4 information.
void WMessageBox(int buttons, int icon, int default_button, std::string_view text, std::string_view title);

// ---- operating system

void IOsDeleteFile(std::string_view path);
void IOsCopyFile(std::string_view source, std::string_view target);

// The number text operations (IRealToString, IIntegerToString ...) are portable: number_text.h.

#endif
