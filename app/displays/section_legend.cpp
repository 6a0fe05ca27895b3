// The legend strip of the flowfield section picture: the property's title (with the species and
// "Log10" where they apply), its units, a bar of the 254 property colours, ticks at nice-number levels
// with their labels and a power-of-ten multiplier. It also fills CONTOUR_BAND, the colour numbers at the
// minor tick levels, from which the banded colour map is built. Drawn in the graphics area (0, 0) to
// (1, 0.1) of the picture in user units -0.055555..1.055555 across and 0..0.1 up; the bar covers 0..1
// across, so a level lies at x = (level - low) / span.
#include "app/displays/section_display.h"

#include "app/displays/colour_scale.h"
#include "app/displays/flowfield_properties.h"
#include "app/displays/section_state.h"
#include "app/state/display.h"
#include "app/state/run.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/entry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

constexpr float TINY_SPAN = 1.0e-10f;  // a span at most this shows the title alone
constexpr float TEXT_Y = 0.02f;
constexpr float BAR_BOTTOM = 0.065f, BAR_TOP = 0.1f;
constexpr float MINOR_TICK_TOP = 0.0725f, MAJOR_TICK_TOP = 0.08f;
constexpr float LABEL_Y = 0.046f;
constexpr int BANDED_MAP = 2;

// The title offsets of codes 1..28 from the title's x position.
constexpr float TITLE_OFFSETS[SECTION_PROPERTY_CODES] = {
    0.0f,  0.05f, 0.0f,  0.1f, 0.1f, 0.1f,  0.07f, 0.04f, 0.04f, 0.0f,  0.02f, 0.07f, 0.05f, 0.04f,
    0.12f, 0.0f,  0.07f, 0.0f, 0.0f, 0.07f, 0.07f, 0.07f, 0.08f, 0.03f, 0.01f, 0.05f, 0.05f, 0.05f,
};

// Visits the levels k x step (k = 0, 1, 2, ... upward while the level is below `high`, or 0, -1, -2,
// ... downward while it is above `low`). The walk starts at the first multiple that can lie in the
// range instead of at 0, which gives the same levels without stepping through the empty stretch
// between 0 and a range far from it.
void walk_levels(float step, float low, float high, bool upward, const std::function<void(long long)>& visit)
{
    const double s = step;
    if (upward) {
        long long k = std::max(0LL, static_cast<long long>(std::floor(low / s)) - 1);
        for (; static_cast<float>(k * s) < high; ++k)
            visit(k);
    } else {
        long long k = std::min(0LL, static_cast<long long>(std::ceil(high / s)) + 1);
        for (; static_cast<float>(k * s) > low; --k)
            visit(k);
    }
}

float bar_x(double level, const SectionScale& scale)
{
    return static_cast<float>((level - scale.low) / scale.span);
}

// The units of a code at (0.6, 0.02), or at (0.75, 0.02) for the species codes.
void draw_units(int code, int units)
{
    const std::string text = flow_property_unit_text(code, FlowDisplay::SECTION, units);
    if (!text.empty())
        IGrCharOut(code > VAR_FRACTION ? 0.75f : 0.6f, TEXT_Y, text);
}

// The colour numbers of the minor levels for the banded map, from entry 1 on, never past the last.
void fill_bands(float minor_step, const SectionScale& scale)
{
    int n = 0;
    auto add = [&](double level) {
        if (n >= CONTOUR_BAND_ENTRIES)
            return;
        double k = (level - scale.low) / scale.span * 255.0;
        k = std::clamp(k, 1.0, 254.0);
        CONTOUR_BAND(++n) = static_cast<int>(k);
    };
    if (scale.high > 0.0f)
        walk_levels(minor_step, scale.low, scale.high, true, [&](long long k) {
            const float level = static_cast<float>(k * double(minor_step));
            if (level > scale.low)
                add(level);
        });
    if (scale.low < 0.0f)
        walk_levels(minor_step, scale.low, scale.high, false, [&](long long k) {
            const float level = static_cast<float>(k * double(minor_step));
            // 0 is counted by the upward run.
            if (level < scale.high && (scale.high < 0.0f || level < -0.0001 * scale.span))
                add(level);
        });
}

}  // namespace

void draw_section_legend(const SectionScale& scale)
{
    const SectionDisplayState& s = SECTION;
    const int code = std::clamp(s.SECTION_PROPERTY.current, 1, SECTION_PROPERTY_CODES);
    const bool white = s.SECTION_WHITE_BACKGROUND.current == 1;
    const bool log = s.SECTION_LOG_SCALE.current == 1;
    const int map = DISPLAY.FLOW_COLOUR_MAP.current;
    const int text_colour = white ? DEFAULT_BLACK : DEFAULT_WHITE;

    // The strip.
    IGrArea(0.0f, 0.0f, 1.0f, 0.1f);
    IGrFillPattern(4, 0, 0);
    IGrColourN(white ? DEFAULT_WHITE : DEFAULT_BLACK);
    IGrUnits(-0.055555f, 0.0f, 1.055555f, 0.1f);
    IGrRectangle(-0.055555f, 0.0f, 1.055555f, 0.1f);

    // Title, species and scale kind.
    IGrColourN(text_colour);
    IGrCharFont(102, 0, 0.018f, 0.27f);
    const float x0 = log ? 0.2f : 0.15f;
    const float offset = TITLE_OFFSETS[code - 1];
    const std::string title = flow_property_title(code, FlowDisplay::SECTION);
    if (code > VAR_FRACTION) {
        IGrCharOut(x0, TEXT_Y, "Species");
        IGrIntegerOut(x0 + 0.07f, TEXT_Y, s.SECTION_SPECIES.current, 2);
        IGrCharOut(x0 + 0.25f + offset, TEXT_Y, title);
    } else {
        IGrCharOut(x0 + offset, TEXT_Y, title);
    }
    if (log)
        IGrCharOut(0.005f, TEXT_Y, "Log10");

    // A span of (nearly) nothing, or a negative one: the title alone.
    if (!(scale.span > TINY_SPAN))
        return;

    // Units, steps and the multiplier.
    draw_units(code, RUN.OUTPUT_UNITS);
    float major = 0.0f, minor = 0.0f, mantissa = 0.0f;
    int e = 0;
    if (!LEGEND_STEPS(scale.span, major, minor, mantissa, e))
        return;
    if (e != 0) {
        IGrCharOut(0.93f, 0.018f, "x10");
        IGrCharFont(102, 0, 0.015f, 0.22f);
        const float x = 0.97f + (e > 0 ? 0.008f : 0.003f) + (std::abs(e) > 9 ? 0.006f : 0.0f);
        IGrIntegerOut(x, 0.023f, -e, 3);
        IGrCharFont(102, 0, 0.018f, 0.27f);
    }
    const double power = std::pow(10.0, e);
    const float minor_step = static_cast<float>(minor * power);
    const float major_step = static_cast<float>(major * power);

    // The bands, and the palette of the bar.
    if (map == BANDED_MAP)
        fill_bands(minor_step, scale);
    if (map == 1) {
        SET_COLOUR_RAMP();
    } else if (map == BANDED_MAP) {
        std::array<int, BANDED_RAMP_ENTRIES> listed{};
        for (int i = 1; i <= BANDED_RAMP_ENTRIES; ++i)
            listed[i - 1] = CONTOUR_BAND(i);
        SET_BANDED_RAMP(listed);
    }

    // The bar.
    for (int i = 1; i <= 254; ++i) {
        IGrColourN(i);
        IGrRectangle((i - 1) / 254.0f, BAR_BOTTOM, i / 254.0f, BAR_TOP);
    }

    // The default colours again; the base line.
    IGrPaletteInit();
    IGrColourN(text_colour);
    const bool lines = map != BANDED_MAP;
    if (lines)
        IGrLine(0.0f, BAR_BOTTOM, 1.0f, BAR_BOTTOM);

    // Minor ticks.
    if (lines) {
        if (scale.high > 0.0f)
            walk_levels(minor_step, scale.low, scale.high, true, [&](long long k) {
                const float level = static_cast<float>(k * double(minor_step));
                if (level > scale.low)
                    IGrLine(bar_x(level, scale), BAR_BOTTOM, bar_x(level, scale), MINOR_TICK_TOP);
            });
        if (scale.low < 0.0f)
            walk_levels(minor_step, scale.low, scale.high, false, [&](long long k) {
                const float level = static_cast<float>(k * double(minor_step));
                if (level < scale.high)
                    IGrLine(bar_x(level, scale), BAR_BOTTOM, bar_x(level, scale), MINOR_TICK_TOP);
            });
    }

    // Major ticks and labels (mantissa units; 0 is labelled once, by the upward run).
    if (scale.high > 0.0f)
        walk_levels(major_step, scale.low, scale.high, true, [&](long long k) {
            const float level = static_cast<float>(k * double(major_step));
            if (!(level > scale.low))
                return;
            const float x = bar_x(level, scale);
            if (lines)
                IGrLine(x, BAR_BOTTOM, x, MAJOR_TICK_TOP);
            IGrRealOut(x - 0.009f, LABEL_Y, static_cast<float>(k * double(major)), "(F5.1)");
        });
    if (scale.low < 0.0f)
        walk_levels(major_step, scale.low, scale.high, false, [&](long long k) {
            const float level = static_cast<float>(k * double(major_step));
            if (!(level < scale.high))
                return;
            const float x = bar_x(level, scale);
            if (lines)
                IGrLine(x, BAR_BOTTOM, x, MAJOR_TICK_TOP);
            const float label = static_cast<float>(k * double(major));
            if (label < -1.0e-9f)
                IGrRealOut(x - 0.011f, LABEL_Y, label, "(F5.1)");
        });
}
