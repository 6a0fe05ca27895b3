// Values that stand for "not given" or "nothing there" in the toolkit's calls.
#ifndef QR4T_TOOLKIT_COMMON_SENTINELS_H
#define QR4T_TOOLKIT_COMMON_SENTINELS_H

// A window position or size not given: placing a window keeps its current one, opening a window
// centres it.
constexpr int WIN_UNSET = -999999;

// What a field, list or radio group without a value reads (as an integer or a real), with error 1010.
constexpr int FIELD_EMPTY = -999;

#endif
