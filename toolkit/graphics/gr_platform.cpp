// The graphics core's platform answers without windows: the host build's, and the win build's until the
// window layer sets its own.
#include "toolkit/graphics/gr_platform.h"

#include "toolkit/graphics/gr_state.h"

namespace {

void record_target(int kind, int)
{
    GrTarget.kind = kind;
}

void record_window_target()
{
    GrTarget.kind = TARGET_WINDOW;
}

int true_colour_class()
{
    return 256;
}

}  // namespace

GrPlatformHooks GR_PLATFORM_HOOKS{record_target, record_window_target, true_colour_class};
