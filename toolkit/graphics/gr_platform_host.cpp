// The host build's answers to the graphics reset's platform questions (no windows, no display).
#ifndef _WIN32
#include "toolkit/graphics/gr_platform.h"

#include "toolkit/graphics/gr_state.h"

void gr_select_current_window()
{
    GrTarget.kind = TARGET_WINDOW;
}

int gr_display_colour_class()
{
    return 256;
}
#endif
