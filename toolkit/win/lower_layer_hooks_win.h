// The window layer's answers to the layers below it. The error report (toolkit/common) shows its text in
// the main window's status bar or a box and ends the process; the graphics reset and target selection
// (toolkit/graphics) bind windows and read the display. Those layers call these through their hook
// tables, ERROR_SCREEN_HOOKS, OS_EXIT_HOOK and GR_PLATFORM_HOOKS, never by name, so that they link and
// build without this layer.
#ifndef QR4T_TOOLKIT_WIN_LOWER_LAYER_HOOKS_WIN_H
#define QR4T_TOOLKIT_WIN_LOWER_LAYER_HOOKS_WIN_H

#include <string>
#include <string_view>

// Fills the hook tables of the lower layers. WInitialise calls it, and so does the start of any process
// that uses the window table (a static initialiser beside it), so that tests which open windows without
// WInitialise see the same channels as the program.
void win_set_lower_layer_hooks();

// error_screen_win.cpp: part 1 of the main window's status bar; the "Library Error" box with OK and
// Cancel (1 for OK, 0 for Cancel); the abnormal-exit box, a task-modal stop box without owner.
void error_status_bar_write(const std::string& text);
int error_box_answer(const std::string& text);
void error_stop_box(std::string_view title, std::string_view text);

// os_utilities_win.cpp: ends the process at once with the code.
[[noreturn]] void os_exit_process(int code);

#endif
