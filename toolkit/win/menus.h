// Menus, toolbars and their items, addressed by command id. Platform-neutral.
//
// The addressed menu is the current window's when it has a menu or a toolbar, otherwise the main
// window's. A toolbar button with the id of a menu item follows that item's enabled and checked state.
#ifndef QR4T_TOOLKIT_WIN_MENUS_H
#define QR4T_TOOLKIT_WIN_MENUS_H

#include <string_view>

// Option 1 enabled, 2 check-marked; value 0 or 1 (other options or values are ignored). An item
// found neither in the menu nor on a toolbar reports error 1001.
void WMenuSetState(int item, int option, int value);
// 1 or 0 from the menu, else from the toolbar button with that id.
void WMenuGetState(int item, int option, int& result);
// Gives a top-level window its menu bar; id 0 removes it. Out: -1 when the menu cannot be loaded,
// -2 when the window is missing or is a window inside another.
void WMenuSet(int& menu, int window);
// Shows the menu as a pop-up at x, y (client pixels of the current window); -1 when it cannot be
// loaded.
void WMenuPopup(int& menu, int x, int y);
// Item operations; -1 in the id on failure.
void WMenuItemText(int& item, std::string_view text);
void WMenuItemHelp(int& item, std::string_view text);
void WMenuItemDelete(int& item);
// Inserts the new item (a separator for id 0) at the reference item's position plus offset minus 1.
void WMenuItemInsert(int& reference, int offset, int new_item, std::string_view text);

// Creates or replaces the toolbar of a window on a side (0 top, 1 left, 2 right, 3 bottom); id 0
// removes it. Out: -1 in the id when the resource is missing; the frame's width and height changes,
// -1 for both when there is none.
void WToolbarSet(int& toolbar, int window, int side, int& width_change, int& height_change);
// Tooltip text of a toolbar button (at most 79 characters; a one-character text frees the entry);
// -1 in the id when no toolbar has the button.
void WToolbarTipSet(int& button, std::string_view text);

#endif
