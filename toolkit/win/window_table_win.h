// The window table and the current window: the Win32 side of the toolkit's windows.
//
// Every toolkit window is a pair of system windows: a frame (caption, border, status bar) and a
// client of class "WINTCLIENT" filling the rest, in which all drawing happens and from which mouse,
// key and paint events come. Slot 0 is the main window, slots 1..20 the child windows.
#ifndef QR4T_TOOLKIT_WIN_WINDOW_TABLE_WIN_H
#define QR4T_TOOLKIT_WIN_WINDOW_TABLE_WIN_H

#include "toolkit/win/entry.h"

#include <windows.h>

constexpr int WIN_SLOTS = 21;  // 0 main window, 1..20 child windows
constexpr int STATUS_BAR_ID = 999;

// Pending expose or resize of a window, completed while no wait or poll was dispatching it.
struct WinPendingMessage {
    int type = 0;  // 0 none, 7 expose, 8 resize
    int value1 = 0;
    int value2 = 0;
    int source_kind = 0;
    int field = -1;
    int x = 0;
    int y = 0;
    int time = 0;
};

// One slot of the window table; a slot is in use while its frame handle is not null.
struct WinSlot {
    HWND frame = nullptr;       // frame window ("VUVUZUVODER" for slot 0, "RORERIDUZ" for 1..20)
    HWND client = nullptr;      // client window ("WINTCLIENT")
    HWND status_bar = nullptr;  // "msctls_statusbar32", id STATUS_BAR_ID, or null
    HWND toolbars[4] = {};      // top, left, right, bottom, or null
    HMENU menu = nullptr;
    HACCEL accelerators = nullptr;
    RECT normal_rect = {-999, 0, 0, 0};  // kept while an inside-parent window is maximised
    unsigned media_device = 0;           // media device opened for the window (closed with it), or 0
    WinPendingMessage pending;
    int status_part_styles[255] = {};
};

// Kinds of window record (word 0).
enum WinRecordKind : int {
    RECORD_OWN_KEYS = 1,       // the window handles its keyboard itself
    RECORD_BITMAP_VIEWER = 2,  // converted into a bitmap viewer
    RECORD_WITH_DIALOG = 3,    // combined with a dialog
    RECORD_GRID = 4,           // converted into a grid window
};

// WinRecord: attached as user data (GWLP_USERDATA) to a frame that has been combined with something
// else; plain windows have none. Words by kind: 2 bitmap viewer, 3 window combined with a dialog.
struct WinRecord {
    int kind = 0;               // word 0: a WinRecordKind, 0 none
    HWND toolbars[4] = {};      // words 1..4 (viewer): the window's toolbars at conversion
    HWND inner = nullptr;       // word 5: the viewer control, the combined dialog or the inner control
    HWND status_bar = nullptr;  // word 6 (viewer): the window's status bar
    int mode = 0;               // word 7 (viewer): 1 modal, 2 modeless, 3 semi-modeless
    int closed = 0;             // word 8 (viewer): closed flag of the modal loop
    HBITMAP bitmap = nullptr;   // word 9 (viewer): the bitmap shown
    int bitmap_width = 0;       // words 10, 11: its size in pixels
    int bitmap_height = 0;
    int fit_width = -999;  // words 12, 13: frame size remembered for page sizing; -999 none
    int fit_height = -999;
    int bitmap_slot = -1;         // the off-screen bitmap slot shown (0..19)
    HACCEL accelerators[2] = {};  // words 13, 14 (kinds 1 and 4): the window's own accelerator tables
};

// The record of a frame, or null for a plain window.
WinRecord* win_record(HWND frame);

struct WinTable {
    WinSlot slot[WIN_SLOTS];
    HWND default_owner = nullptr;  // frame of the window that last took the keyboard focus
    bool main_hidden = false;
    HCURSOR client_cursor = nullptr;
    HINSTANCE instance = nullptr;
    ATOM main_class = 0;            // "VUVUZUVODER"
    ATOM client_class = 0;          // "WINTCLIENT"
    ATOM child_class = 0;           // "RORERIDUZ"
    UINT find_replace_message = 0;  // the registered message number of "commdlg_FindReplace"
};

extern WinTable WIN_TABLE;

// The current window: the slot whose client device context is the drawing context.
struct WinCurrentWindow {
    int window = 0;  // current window number 0..20
    int width = 0;   // its client size in pixels
    int height = 0;
    int main_open = 0;            // -1 once the main window is open
    int options[WIN_SLOTS] = {};  // flags each window was opened with (-1 after closing the current)
    int dialog = 0;               // current dialog id when combined with the window
    HDC dc = nullptr;             // the current window's client context (acquired while current)
};

extern WinCurrentWindow WIN_CURRENT;

// Display facts read once at start-up.
struct WinScreenInfo {
    int width = 0;
    int height = 0;
    int colours = 0;
    int colour_class = 0;
    int platform = 2;
    int major_version = 0;
};

extern WinScreenInfo WIN_SCREEN;

// Reads the display facts (once).
void read_screen_info();

// Window number 0..20 whose frame or client is the handle, else -1.
int WWinFromHandle(HWND hwnd);
// Gives the keyboard focus to a toolkit window and draws the child windows' captions.
void WWinActivate(HWND hwnd);
// Client size of a slot in pixels.
void client_size(int slot, int& width, int& height);
// Makes a slot current: releases the old context, acquires the new one. Returns false when invalid.
bool WWinMakeCurrent(int handle, bool reselect);

// Clears pixels x1..x2, y1..y2 of the current window to a colour (-1 the text background).
void WWinClear(int x1, int y1, int x2, int y2, int colour);
// Window units 0..9999 of the current window to pixels.
void WGrUnitsToPixels(int x, int y, int& px, int& py);
// Destroys every window of the toolkit.
void WWinCloseDown();
// Stops (when asked) and closes the media device recorded for a window, and forgets it.
void close_media_device(WinSlot& slot, bool stop);

// The outer size of a dialog to combine with a window: the dialog id, -1 when it cannot be created,
// -2 when it is not a caption-less child-style control dialog.
int combined_dialog_size(int dialog, int& width, int& height);
// A window to combine with dialog `dialog`: the client size becomes the dialog's, the frame fixed and
// neither maximised nor hidden. Returns the dialog id, -1 or -2 as combined_dialog_size.
int fit_combined_dialog(int dialog, int& flags, int& width, int& height);
// After the window opened: the combined dialog becomes the current dialog; -1 raises error 1007,
// -2 error 1045.
void combined_dialog_result(int dialog);
// Loads the dialog into the window's client, shows it modeless there and attaches the kind-3 record.
void combine_dialog(int slot, int dialog);

// Window procedures.
LRESULT CALLBACK WWinFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK WWinClientProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Registers the three window classes once. Returns false on failure.
bool register_window_classes();

// The menu bar (top-level windows) and the toolbars of a window being opened, the frame grown by them;
// a frame whose position was centred moves up (left) by half the height (width) a bar adds, to stay
// centred, unless it opens maximised.
struct WinToolbarIds;
void open_window_bars(int slot, int menu, const WinToolbarIds& toolbars, bool x_centred, bool y_centred);

// Frame and client creation shared by the main and child windows: returns false when either fails.
// `client_w`/`client_h` are the wanted client size; the frame is grown around it.
bool create_frame_and_client(int slot, const char* cls, DWORD style, DWORD ex_style, HWND parent, int x,
                             int y, int client_w, int client_h, bool status_bar, bool sizing,
                             const char* title);

#endif
