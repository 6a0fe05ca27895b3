#include "app/state/display.h"

DisplaySettings DISPLAY;

void set_continued_run_display_settings()
{
    DisplaySettings& d = DISPLAY;
    d.FLOW_PROPERTY.set(13);
    d.SURF_DISPLAY_PROPERTY.set(2);
    d.FORCE_SURFACE.set(1);
    d.LOG_REACTION.set(1);
    d.FLOW_COLOUR_MAP.set(1);
    d.FLOW_LOG_SCALE.set(0);
    d.SURF_LOG_SCALE.set(0);
    d.FLOW_WHITE_BACKGROUND.set(0);
    d.SURF_WHITE_BACKGROUND.set(0);
    d.FLOW_RANGE_LOW.set(0);
    d.FLOW_RANGE_HIGH.set(0);
    d.SURF_RANGE_LOW.set(0);
    d.SURF_RANGE_HIGH.set(0);
    const int spare[5] = {1, 1, 1, 2, 1};
    for (int i = 0; i < 5; ++i)
        d.DISPLAY_SPARE[i].set(spare[i]);
    d.VIEW_MODE_3D = 1;
}
