// Dialog operations beyond those the simulation core calls (entry.h): further field reads and puts,
// field states and the results of the last modal show and message box. Platform-neutral.
#ifndef QR4T_TOOLKIT_WIN_DIALOGS_H
#define QR4T_TOOLKIT_WIN_DIALOGS_H

#include "toolkit/common/sentinels.h"

#include <string>
#include <string_view>
#include <vector>

// The field's window text.
void WDialogGetString(int field, std::string& text);
// Empty field: FIELD_EMPTY and error 1010.
void WDialogGetReal(int field, float& value);
void WDialogGetDouble(int field, double& value);
void WDialogRangeDouble(int field, double minimum, double maximum);
// 1-based selected option of a list or combo field and its text; none: FIELD_EMPTY and error 1010.
void WDialogGetMenu(int field, int& option, std::string& text);
// Empties a field of the current dialog by its kind (a grid is cleared, menus included); the value
// becomes 0.0 and undefined. -1 in the id for no field or a field of another kind.
void WDialogFieldClear(int& field);
// Enables (1) or disables (0) the tab of page dialog `page` in the current dialog's tab controls. A
// disabled tab shows a grey embossed label and cannot be chosen by mouse or arrow keys.
void WDialogTabEnable(int page, int state);
// The page dialog id of the selected tab of tab control `field`.
void WDialogTabCurrent(int field, int& page);
// Selects the enabled tab of page dialog `page` and shows its page when the tab control is visible;
// page becomes -1 when no enabled tab of the current dialog has that page.
void WDialogTabSelect(int& page);
// Trackbar fields (not a trackbar: error 1006). The range, redrawn, and the tic frequency when above 0.
void WDialogTrackbarRange(int field, int minimum, int maximum, int tics);
// Line size, and page size (page above 0, else the line size).
void WDialogTrackbarSteps(int field, int line, int page);
// The position, redrawn; with the selection-range style mode 0 also selects start..end and mode 2
// clears the selection.
void WDialogTrackbarPut(int field, int position, int start, int end, int mode);
// The position and the selection; start and end are FIELD_EMPTY when there is no selection or the
// trackbar has no selection-range style.
void WDialogTrackbarGet(int field, int& position, int& start, int& end);
void WDialogTrackbarRangeGet(int field, int& minimum, int& maximum);
// The kind of a field (1 static text ... 17 tree view).
void WDialogFieldKind(int field, int& kind);
// 3 hidden, 0 disabled, 2 a read-only edit, numeric or grid field, else 1.
void WDialogFieldStateOf(int field, int& state);
// Foreground and background colour at once (each red -1 keeps, red 256 the system default), then the
// field is repainted.
void WDialogFieldColours(int field, int red, int green, int blue, int back_red, int back_green,
                         int back_blue);
// The field's rectangle in the dialog's client pixels: mode 1 its client area, else its outer one.
void WDialogFieldRect(int field, int& x, int& y, int& width, int& height, int mode);
// Pixels of 4 horizontal and 8 vertical dialog units of the current dialog (1005 without one).
void WDialogBaseUnits(int& x, int& y);
// Tree-view fields, items by their ids (not a tree view: error 1006). status -2: no item has the id;
// -3: the item has no children.
void WDialogTreeSelect(int field, int id, int& status);
void WDialogTreeDelete(int field, int id, int& status);
// 1 collapsed, 2 expanded, or the status -2 or -3.
void WDialogTreeState(int field, int id, int& state);
// Expands (expand non-zero) or collapses an item with children.
void WDialogTreeExpand(int field, int id, int expand, int& status);
// The id of the selected item; FIELD_EMPTY when none is selected.
void WDialogTreeSelected(int field, int& id);
// The caption of the current dialog (1005 without one).
void WDialogSetTitle(std::string_view title);
// The length of a field's text (1005, 1006).
void WDialogFieldTextLength(int field, int& length);
// The kind of a list or combo field: 1 list box, 2 drop-down list, 3 editable combo, 4 list box of
// several selections; 0 for no such field or another kind (nothing is raised).
int WDialogListKind(int field);
// Appends an option to a list or combo field (1005, 1006).
void WDialogListAdd(int field, std::string_view text);
// Selects the 0-based option; false when the field has no such option.
bool WDialogListSelect(int field, int index);
// An editable combo shows the option with exactly that text, else the text in its edit part.
void WDialogComboSelectText(int field, std::string_view text);
// Spin steps: small and large (large 0: the small step); a real spin keeps them as 4-byte reals.
// Not a spin field: error 1006.
void WDialogSpinSteps(int field, double small, double large);
// List boxes (another field: error 1006); items 0-based. The number of items.
void WDialogListCount(int field, int& count);
// 1 when item `index` is selected, else 0.
void WDialogListItemState(int field, int index, int& state);
// Selects (state 1) or deselects item `index` of a list box of several selections when it differs.
void WDialogListItemSelect(int field, int index, int state);
// Selects (state 1) or deselects the items first..last of a list box of several selections.
void WDialogListRangeSelect(int field, int first, int last, int state);
// Tab stops (dialog units) of a list box or multi-line edit field, kept in the field record; a
// single-line edit field or another kind: error 1006.
void WDialogTabStops(int field, const std::vector<int>& stops);
// Grid fields (another field: error 1006): option 1 sets (on non-zero) or clears the grid window
// style bit 0x1000, option 2 the bit 0x4000.
void WDialogGridStyle(int field, int option, int on);
// Image kinds of WDialogFieldImage.
enum FieldImageKind {
    FIELD_IMAGE_BITMAP = 0,     // bitmap resource of the program
    FIELD_IMAGE_ICON = 2,       // icon resource of the program
    FIELD_IMAGE_OFFSCREEN = 3,  // a copy of off-screen bitmap 1..20 (WBitmapCreate)
};
// A button or static field shows an image instead of its text; status -2 when there is no such image
// (or kind), -1 for another field (error 1006).
void WDialogFieldImage(int field, int image, int kind, int& status);
// Gives the field the focus; edit, numeric and combo fields get the caret at `caret` (-1: the whole
// text selected). The field becomes the dialog's current one; a child-style dialog inside the main
// window comes to the top.
void WDialogFieldFocus(int field, int caret);
// Resizes the current dialog's client area to width x height dialog units (0 or less keeps that
// size). Fields that leave the client area are hidden, those that come back get their state again;
// the focus moves on from a hidden field. error -1 (and nothing done) for a dialog combined with a
// window, else 0.
void WDialogResize(int width, int height, int& error);
// Inserts item `id` with `text` into tree field `field`: where 0 as the last child of item
// `relative` (relative 0: at the top level), 1 right after item `relative` among its siblings.
// status -2 when no item has the id `relative`.
void WDialogTreeInsert(int field, int id, std::string_view text, int relative, int where, int& status);
// Position of a progress bar of the current dialog (-1 without such a field).
int dialog_progress_position(int field);
// Results of the last modal show: option 1 the button that ended it, 2 the field that had the focus,
// 3 the dialog it ended.
void WDialogModalResult(int option, int& value);
// Answer of the last message box: 1 OK, Yes or Retry; 0 Cancel or Ignore; 2 No or Abort; -1 error.
int message_box_last_answer();
// The system style and the toolkit's answer of a message box (portable mapping, tested on its own).
unsigned message_box_style(int buttons, int icon, int default_button);
int message_box_answer(int system_answer);

#endif
