// The work of WInitialise (entry.h) without its once-only guard and its version exit, so that tests can
// run the start-up under different environments in one process.
#ifndef QR4T_TOOLKIT_WIN_INITIALISE_WIN_H
#define QR4T_TOOLKIT_WIN_INITIALISE_WIN_H

#include <string_view>

// Puts the toolkit's records into their start state and applies the environment and the settings file
// (the named one when it exists). Returns true when the settings asked for the version box.
bool toolkit_start_state(std::string_view settings_name);

#endif
