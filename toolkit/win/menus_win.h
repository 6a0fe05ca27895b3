// The Win32 side of menus and toolbars that the window code calls: loading, freeing, the frame
// messages of menus and toolbars, accelerator translation and the layout of the bars.
#ifndef QR4T_TOOLKIT_WIN_MENUS_WIN_H
#define QR4T_TOOLKIT_WIN_MENUS_WIN_H

#include <windows.h>

// The slot whose menu and toolbars the item operations address: the current window's when it has a
// menu or a toolbar, else the main window's.
int menu_addressed_slot();
// Loads a menu template, numbers its items from its item-number list and greys its disabled items.
HMENU WMenuLoad(int id);
// Frees the help strings attached to the items of a window's menu.
void WMenuFreeData(int window);
// Restacks a window's bars: status bar, then the toolbars top, left, right, bottom.
void WWinZOrderBars(int window);

// Gives a newly created frame of a slot its menu (with accelerators and help strings), growing the
// frame so that its client keeps its size. False when the menu cannot be loaded.
bool window_menu_attach(int slot, int menu_id);
// Menu help, menu loop, toolbar tooltips and clean-up at destruction for the frame procedure; true
// when the message was handled and `result` is the answer.
bool menu_frame_message(HWND frame, int slot, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
// Translates a keyboard message with the accelerators of its window's menu, else of the main
// window's; true when it became a command.
bool translate_window_accelerators(MSG& msg);
// Translates a keyboard message for the active modeless dialog: with the table of the window it is
// combined with, else with the main window's when the dialog's "[Dialog]" flag is set.
bool translate_dialog_accelerators(HWND dialog, MSG& msg);

// ---- toolbars (toolbars_win.cpp)

// Lays out the toolbars and the client of a slot in its frame (after a resize).
void toolbars_layout(int slot);
// The state of a toolbar button of a slot: option 1 enabled, 2 pressed; false when no toolbar has it.
bool toolbar_button_get(int slot, int id, int option, int& value);
// Sets it on every toolbar of the slot; false when no toolbar has it.
bool toolbar_button_set(int slot, int id, int option, int value);
// The registered tooltip text of a button of a slot, or null.
const char* toolbar_tip_text(int slot, int id);
// Forgets the toolbars and tooltips of a slot whose frame is destroyed.
void toolbars_forget(int slot);

#endif
