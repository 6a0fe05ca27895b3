// The live flowfield picture of a small flowfield, drawn by the display code itself in a main window
// while a hardcopy device is open, so that the same picture reaches the screen and the device. The
// window's client area can be saved as the screen reference, and printed through the screen driver's
// hardcopy page (op 20), which sends it to the Windows printer as one bitmap.
#include "tools/hcscene/hcscene.h"

#include "app/displays/displays.h"
#include "app/state/display.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "tests/displays/flow_box.h"
#include "toolkit/common/error_state.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/entry.h"

#include <cstdio>

namespace {

// The flowfield: the z plane of 3 x 2 divisions of 2 x 2 elements, box 0..6 by 0..4, one cell per
// element; cell c at 100 c K, so that the colours climb across the plane and up it; the element of cell
// 8 lies in a body and cell 17 has too few molecules to be shown (two colours of their own).
bool make_flowfield()
{
    const float low[3] = {0, 0, 0}, high[3] = {6, 4, 1};
    const int divisions[3] = {3, 2, 1}, elements[3] = {2, 2, 1};
    if (!make_flow_box(low, high, divisions, elements))
        return false;
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 100.0f * static_cast<float>(c);
    flow_element_cell(2, 2, 1) = -1;
    RESULTS.VAR(VAR_SAMPLE_SIZE, 17) = 10.0f;
    DisplaySettings& d = DISPLAY;
    d.FLOW_PROPERTY.set(VAR_TEMP);
    d.FLOW_PLANE_AXIS.set(3);
    d.FLOW_PLANE_DIVISION.set(1);
    d.FLOW_PLANE_ELEMENT.set(1);
    d.FLOW_WHITE_BACKGROUND.set(0);
    return true;
}

}  // namespace

bool draw_display_picture(const DisplayRequest& request)
{
    // The toolkit starts as the program's does: the hardcopy drivers, the settings (WINTINIT), then the
    // main window, whose opening resets the graphics with the screen on.
    IHcDriversInstall();
    WInitialise(" ");
    WinOpenRecord window;
    window.flags = 67;
    window.width = DISPLAY_WIDTH;
    window.height = DISPLAY_HEIGHT;
    window.title = "hcscene";
    WWinOpen(window);
    if (!make_flowfield()) {
        std::fprintf(stderr, "hcscene: no memory for the flowfield\n");
        return false;
    }
    WWinSelect(0);
    WWinClear();
    ERROR_STATE.last_error = 0;
    if (request.device) {
        IHcDeviceSelect(GrOpInitialise, *request.device);
        for (auto [n, v] : request.options)
            IHcOptionSet(n, v);
        IHcOpen(request.out ? std::optional<std::string_view>(*request.out) : std::nullopt,
                request.title ? std::optional<std::string_view>(*request.title) : std::nullopt);
    }
    DRAW_FLOWFIELD_PROPERTIES();
    if (request.device)
        IHcOpen("S", " ");
    // The whole client area: saved as the screen reference, and printed as the graphics area.
    IGrSelectTarget(1, -1);
    IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    if (request.screen)
        IGrSaveImage(*request.screen);
    if (request.print)
        IGrScreenDriver(GrOpHardcopyPage);
    return true;
}
