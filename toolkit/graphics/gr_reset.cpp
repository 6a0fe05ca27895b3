// The graphics reset.
#include "toolkit/graphics/gr_reset.h"

#include "toolkit/graphics/chart_setup.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_platform.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/stroke_font.h"

namespace {

bool has_option(std::string_view options, char upper)
{
    for (char c : options)
        if (c == upper || c == upper - 'A' + 'a')
            return true;
    return false;
}

}  // namespace

void IGrInitGraphics(std::string_view options)
{
    // 1. Reset values of the area, text, colour and line records (the colour classes stay).
    const int screen_class = GrColourState.screen_class;
    const int hardcopy_class = GrColourState.hardcopy_class;
    GrArea = GrAreaRecord{};
    GrTextState = GrTextStateRecord{};
    GrColourState = GrColourStateRecord{};
    GrColourState.screen_class = screen_class;
    GrColourState.hardcopy_class = hardcopy_class;
    GrLineState = GrLineStateRecord{};
    // 2. Screen output unless H.
    GrOutputSwitch.screen = has_option(options, 'H') ? 0 : 1;
    // 3. The current window becomes the drawing target.
    GR_PLATFORM_HOOKS.select_current_window();
    // 4. The screen's device facts, colours, raster mode, line type, width and font.
    if (GrOutputSwitch.screen != 0) {
        IGrScreenDriver(GrOpOpen);
        GrColourState.screen_class = GR_PLATFORM_HOOKS.display_colour_class();
        GrColourState.hardcopy_class = GrColourState.screen_class;
        auto& C = GrColourState;
        const int previous = C.model == 1 ? C.number[GR_PREVIOUS] : C.rgb[GR_PREVIOUS];
        const int current = C.model == 1 ? C.number[GR_CURRENT] : C.rgb[GR_CURRENT];
        gr_colour_n(previous);
        gr_colour_n(current);
        IGrScreenDriver(GrOpPlotMode);
        IGrScreenDriver(GrOpLineType);
        IGrScreenDriver(GrOpLineWidth);
        IGrScreenDriver(GrOpFont);
    }
    // 5. The text face is selected again.
    IGrFontSelect();
    // 6, 7. Character width tables and the built-in stroke font.
    IGrCharTables(0);
    IGrStrokeFontStandard();
    // 8. Any open hardcopy ends (and a waiting command runs); nothing is opened.
    HcPageUsed = 0;
    if (HcFrontEnd.end)
        HcFrontEnd.end();
    // 9-12. The hardcopy options 1..28: kept across op 1 only with P after a device was initialised,
    // and then applied again through the option setter, in order.
    const bool keep = has_option(options, 'P') && HcDeviceBlock.initialised_device != 0;
    const HcOptionsRecord saved = HcOptions;
    for (int n = 1; n <= HC_OPTION_LOW_LAST; ++n)
        HcOptions(n) = 0;
    GrPrimitiveBlock.NVAL = keep ? -998 : 0;
    IHcDriverCall(GrOpInitialise);
    if (HcDeviceNumber >= 1 && HcDeviceNumber <= HC_DEVICE_COUNT && HcDriverTable(HcDeviceNumber))
        HcDeviceBlock.initialised_device = HcDeviceNumber;
    GrPrimitiveBlock.NVAL = 0;
    if (keep && HcFrontEnd.option_set)
        for (int n = 1; n <= HC_OPTION_LOW_LAST; ++n)
            HcFrontEnd.option_set(n, saved(n));
    // 13. User units 0..1 on both axes.
    gr_units(0.0f, 0.0f, 1.0f, 1.0f);
    // 14. Outline-only fill, no emulation pending, current point at the origin.
    auto& B = GrPrimitiveBlock;
    B.FILL(FILL_STYLE) = 0;
    B.FILL(FILL_OUTLINE) = 1;
    B.FILL(FILL_SCREEN_PASS) = 0;
    B.FILL(FILL_HARD_PASS) = 0;
    B.span_mode = 0;
    B.colour_record = 0;
    GrCurrentPoint = GrCurrentPointRecord{};
    // 15. Chart settings.
    pg_chart_reset();
}
