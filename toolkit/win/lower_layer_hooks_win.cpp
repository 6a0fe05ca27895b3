// Fills the hook tables through which the error report and the graphics core reach the window layer.
#include "toolkit/win/lower_layer_hooks_win.h"

#include "toolkit/common/debug_log.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gr_platform.h"
#include "toolkit/win/gr_target_win.h"

void win_set_lower_layer_hooks()
{
    ERROR_SCREEN_HOOKS.status_bar_write = error_status_bar_write;
    ERROR_SCREEN_HOOKS.box_answer = error_box_answer;
    ERROR_SCREEN_HOOKS.stop_box = error_stop_box;
    OS_EXIT_HOOK = os_exit_process;
    GR_PLATFORM_HOOKS.select_target = gr_select_target;
    GR_PLATFORM_HOOKS.select_current_window = gr_select_current_window;
    GR_PLATFORM_HOOKS.display_colour_class = gr_display_colour_class;
}
