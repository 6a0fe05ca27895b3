// The dialog manager's records: the table of loaded dialogs, the record of each dialog window and
// the record of each field window.
#ifndef QR4T_TOOLKIT_WIN_DIALOGS_WIN_H
#define QR4T_TOOLKIT_WIN_DIALOGS_WIN_H

#include "toolkit/graphics/gdi_owners_win.h"

#include <windows.h>

#include <string>
#include <vector>

constexpr int DIALOG_SLOTS = 100;

// One per loaded dialog, attached to the dialog window (DWLP_USER). Words as the dialog manager uses
// them: shown flag, current and previous field, tab pages, show mode, owner ...
struct DialogRecord {
    int id = 0;                 // word 0: resource id
    int shown = 0;              // word 2: 1 after a show, 0 after a hide
    int current_field = 0;      // word 3: field of the last event, or the button that ended a modal show
    int previous_field = 0;     // word 4: word 3 before its last change; after a show the focused field
    int tab_shown = 0;          // word 5: page dialog shown by the last tab change
    int tab_left = 0;           // word 6: page dialog hidden by the last tab change
    int mode = 0;               // word 7: 1 modal, 2 modeless, 3 semi-modeless
    HWND owner = nullptr;       // word 8
    HWND reenable = nullptr;    // word 9: window to re-enable when this dialog ends or is hidden
    int change_detail = 0;      // word 10: long parameter of the last field change
    int picture_field = 0;      // word 11
    int picture = 0;            // word 12: the dialog itself is a drawing target
    int mouse_button = 0;       // word 13
    int dialog_flag = 0;        // word 14: "[Dialog]" flag: accelerators of the main window apply
    HWND combined = nullptr;    // word 15: window the dialog is combined with
    HWND last_focus = nullptr;  // word 16: last focused field
};

// One per field window. A range is active only when minimum <= maximum.
struct FieldRecord {
    double value = 0.0;
    double minimum = 1000.0;
    double maximum = -1000.0;
    double small_step = 1.0;
    double large_step = 5.0;
    int defined = 0;
    HWND spin = nullptr;  // up-down control of a spin field
    int picture = 0;
    int foreground = -1;  // packed RGB, -1 system default
    int background = -1;
    SolidBrush background_brush;  // paints the background colour; freed with the record
    int tab_pressed = 0;
    int max_length = 0;
    int state = 1;                // 0 disabled, 1 enabled, 2 read-only, 3 hidden
    std::string format;           // "[Formats]" text; empty = "(G15.5E2)"
    std::vector<int> tab_stops;   // tab stops of a list box or multi-line edit field
    ShownImage image;             // bitmap or icon shown by a button or static field
    WNDPROC base_proc = nullptr;  // the field's procedure before the dialog manager's handling
};

struct DialogTable {
    HWND modal = nullptr;                // slot 0: the window of the modal dialog now running
    HWND loaded[DIALOG_SLOTS + 1] = {};  // slots 1..100, dense in load order
    int count = 0;
    int current_slot = 0;
    int current_id = 0;
    HWND active = nullptr;
    HWND default_owner = nullptr;
    int semi_modeless = 0;
    HWND last_semi_modeless = nullptr;
    int creating = 0;
    int show_focus = 0;
    int show_x = -1;
    int show_y = -1;
};

extern DialogTable DIALOG_TABLE;

// Results of the last modal show and message box.
struct DialogResults {
    int exit_button = 0;
    int focus_field = 0;
    int dialog = 0;
    int message_box_answer = 0;
};

extern DialogResults DIALOG_RESULTS;

// Field kinds as the field operations tell them apart.
enum FieldKind {
    FK_NONE = 0,
    FK_STATIC_TEXT = 1,
    FK_STATIC = 2,
    FK_GROUP = 3,
    FK_EDIT = 4,
    FK_INTEGER = 5,
    FK_REAL = 6,
    FK_DOUBLE = 7,
    FK_BUTTON = 8,
    FK_CHECK = 9,
    FK_RADIO = 10,
    FK_COMBO = 11,
    FK_LIST = 12,
    FK_TAB = 13,
    FK_PROGRESS = 14,
    FK_GRID = 15,
    FK_TRACKBAR = 16,
    FK_TREE = 17,
};

DialogRecord* dialog_record(HWND dialog);
// The field `id` of the current dialog, reporting 1005 (no dialog) or 1006 (no such field) when there
// is none.
HWND field_or_report(int id);
// The field `id` of the current dialog when it is of kind `kind` (FieldKind); 1005 or 1006 otherwise.
HWND field_of_kind(int id, int kind);
// 3 hidden, 0 disabled, 2 a read-only edit, numeric or grid field, else 1.
int field_state_of(HWND field);
FieldRecord* field_record(HWND field);
FieldRecord& make_field_record(HWND field);
void free_field_record(HWND field);
HWND current_dialog_window();
int WDialogSlotFromId(int id);
int WDialogFieldKindOf(HWND field);
bool is_numeric_class(HWND field);
// The numeric class kind: 5 integer, 6 real, 7 double; spin flag.
int numeric_kind(HWND field, bool& spin);

// A child-style dialog that lies in the main window (a child of its frame or client).
bool dialog_in_main_window(HWND dialog);
// 1 when the window is the modal dialog now running or a child-style page inside it, else 0.
int WDialogIsModal(HWND dialog);

// Applies the companion text of resource `id` to the fields of a dialog; slot -1 for a grid's template
// dialog (a menu then selects its first item).
void WDialogApplyRcdata(HWND dialog, int id, int slot);
// A field's foreground (which 1) or background (2) colour: red -1 keeps it, 256 the system default.
void WDialogFieldColour(HWND field, int which, int red, int green, int blue);
// The page dialog id of tab `index` of a tab control (its data word's low half); -1 for no such tab.
int tab_page(HWND tab, int index);
// Fills a tree-view field from a menu resource; the item with id `selected` is selected.
void fill_tree_from_menu(HWND tree, int menu_id, int selected);

// The dialog procedure and the numeric classes.
// Private message by which the dialog procedure hands an up-down control's change (wParam: the step,
// +1 or -1 times the count) to its buddy numeric field.
constexpr UINT SPIN_STEP_MESSAGE = WM_USER + 77;
INT_PTR CALLBACK WDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
void WDialogRegisterNumericClasses();
// Valid (0) or invalid (1) text of a numeric field that loses the focus to `gaining`.
int WDialogFieldValidate(HWND field, HWND gaining, int force);
// The numeric field whose refused text waits for the push button that took the focus (null: none);
// taking it clears it.
HWND take_pending_button_field();
// The numeric field whose refused text holds a tab control on its tab (null: none); taking it clears
// it.
HWND take_pending_tab_field();
// The numeric field whose refused text waits for a push button or holds a tab control, without
// clearing it; null when none waits.
HWND waiting_refused_field();
// Puts back the text and value that a numeric field had when the focus arrived, and arms the saving
// for the next field.
void restore_saved_field(HWND field);
// Gives the focus back to a field whose text was refused, with the text selected; a push button that
// took the focus gets its look back (tab_pressed: the field was left by Tab).
void WDialogFieldReject(HWND gaining, HWND field, int tab_pressed);
// Puts the dialog manager's handling in front of a system control of a dialog (edit fields, buttons,
// trackbars, tab controls and tree views; other fields are left as they are).
void install_control_handling(HWND field);
// A trackbar moved (by the mouse too) while Shift is held: the selection runs from the anchor that
// Shift set to the position.
void trackbar_shift_selection(HWND trackbar);
// The same for the up-down control of a spin field: a left button press gives the focus to the field.
void install_updown_handling(HWND updown);
// Loads the bitmap (IMAGE_BITMAP) or icon (IMAGE_ICON) resource `id` and shows it in a button or static
// field, keeping it in the field record; false when there is no such image.
bool show_resource_image(HWND field, int id, UINT type);

// Raises a dialog message (3 button, 10 field changed, 11 tab changed) for the application.
void post_dialog_message(int type, int dialog_id, int value1, int value2, int x, int y);

// Fills a field's text with value and format (the core put).
void field_put_text(HWND field, double value, const std::string& text, const std::string& format);

// Unloads the dialog of a window combined with it (the window is closing).
void dialog_unload_combined(HWND dialog);
// Destroys every loaded dialog and clears the dialog table (the toolkit's close-down).
void dialogs_close_down();

void WWinDisableOthers(HWND keep, bool windows);
void WWinEnableOthers(HWND keep, bool windows);

#endif
