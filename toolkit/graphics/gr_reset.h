// The graphics reset: puts the whole process-wide graphics state back to its defaults for the current
// window (called once when the main window opens, with a blank option string).
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_RESET_H
#define QR4T_TOOLKIT_GRAPHICS_GR_RESET_H

#include <string_view>

// Option letters (any case): H screen output off; P keep the hardcopy options when a hardcopy device
// has been initialised before. Other characters are ignored.
void IGrInitGraphics(std::string_view options);

#endif
