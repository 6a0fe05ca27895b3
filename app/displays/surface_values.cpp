// The surface property values, their colour range, the legend strip and the colour index of every solid
// triangle, shared by the live surface picture and the surface display window.
#include "app/displays/surface_values.h"

#include "app/displays/colour_scale.h"
#include "app/displays/display_dialogs.h"
#include "app/displays/surface_window_state.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/entry.h"

#include <cmath>

namespace {

constexpr float RANGE_START = 1.0E6f;  // the lowest value starts here, the highest at its negative
constexpr float LOG_FLOOR = 1.0E-6f;
constexpr int MIN_SAMPLES = 4;  // a triangle is counted with more samples than this
constexpr int MAX_LEGEND_MARKS = 1000;

enum Quantity {
    NO_UNIT,
    FLUX,
    STRESS,
    HEAT,
    TEMPERATURE
};

Quantity quantity(SurfaceDisplay display, int code)
{
    if (code == VARS_NUMBER_FLUX)
        return FLUX;
    if (display == SurfaceDisplay::LIVE) {
        if (code >= VARS_PRESSURE && code <= LIVE_SHEAR_MAGNITUDE)
            return STRESS;
        if (code >= LIVE_INCIDENT_HEAT && code <= LIVE_NET_HEAT)
            return HEAT;
        return code == LIVE_SURFACE_TEMP ? TEMPERATURE : NO_UNIT;
    }
    if ((code >= VARS_PRESSURE && code <= VARS_SHEAR_2) || code == window_row(WINDOW_SHEAR_MAGNITUDE) ||
        code == window_row(WINDOW_SHEAR_VECTORS))
        return STRESS;
    if (code >= VARS_INCIDENT_HEAT && code <= VARS_NET_HEAT)
        return HEAT;
    return code == VARS_SURFACE_TEMP ? TEMPERATURE : NO_UNIT;
}

// A triangle counts towards the range with more than 4 samples (the sample size truncated).
bool well_sampled(float samples)
{
    return std::trunc(samples) > MIN_SAMPLES;
}

}  // namespace

int window_row(int after_fractions)
{
    return GAS.SPECIES_COUNT + after_fractions;
}

int surface_row_count(SurfaceDisplay display)
{
    return display == SurfaceDisplay::LIVE ? LIVE_FRACTION + GAS.SPECIES_COUNT
                                           : window_row(WINDOW_SHEAR_VECTORS);
}

bool surface_results_ready()
{
    const Array<float, 2>& VARS = RESULTS.VARS;
    const int triangles = SURFACE.SOLID_TRIANGLE_COUNT;
    return triangles > 0 && VARS.allocated() && VARS.extent(1) >= VARS_FRACTION + GAS.SPECIES_COUNT &&
           VARS.extent(2) >= triangles && SURFACE.SOLID_TRIANGLE.allocated() &&
           SURFACE.SOLID_TRIANGLE.extent(2) >= triangles;
}

void fill_surface_values(Array<float, 2>& VARL, SurfaceDisplay display)
{
    const SurfaceState& S = SURFACE;
    const Array<float, 2>& VARS = RESULTS.VARS;
    const int vars_rows = VARS_FRACTION + GAS.SPECIES_COUNT;
    const int rows = surface_row_count(display);
    for (int t = 1; t <= S.SOLID_TRIANGLE_COUNT; ++t) {
        const float magnitude = std::sqrt(VARS(VARS_SHEAR_1, t) * VARS(VARS_SHEAR_1, t) +
                                          VARS(VARS_SHEAR_2, t) * VARS(VARS_SHEAR_2, t));
        if (display == SurfaceDisplay::LIVE) {
            for (int r = VARS_SAMPLE_SIZE; r <= VARS_SHEAR_2; ++r)
                VARL(r, t) = VARS(r, t);
            VARL(LIVE_SHEAR_MAGNITUDE, t) = magnitude;
            for (int r = VARS_INCIDENT_HEAT; r <= vars_rows; ++r)
                VARL(r + 1, t) = VARS(r, t);
        } else {
            for (int r = VARS_SAMPLE_SIZE; r <= vars_rows; ++r)
                VARL(r, t) = VARS(r, t);
            int before = 0;  // solid triangles of the surfaces before k
            float number = 0.0f;
            for (int k = 1; k <= S.SURFACE_COUNT; ++k) {
                if (t > before && t <= before + S.SURFACE_SOLID_COUNT(k)) {
                    number = static_cast<float>(t - before);
                    break;
                }
                before += S.SURFACE_SOLID_COUNT(k);
            }
            VARL(window_row(WINDOW_TRIANGLE_NUMBER), t) = number;
            VARL(window_row(WINDOW_SHEAR_MAGNITUDE), t) = magnitude;
            VARL(window_row(WINDOW_SHEAR_VECTORS), t) = magnitude;
        }
    }

    const int units = RUN.OUTPUT_UNITS;
    if (units != UNITS_ENGLISH && units != UNITS_RATIO)
        return;
    const GasState& G = GAS;
    const float q = G.STREAM_MASS_DENSITY * 0.5f * G.STREAM_SPEED * G.STREAM_SPEED;
    const float heat_divisor = G.STREAM_SPEED * q;
    for (int r = 1; r <= rows; ++r) {
        const Quantity what = quantity(display, r);
        if (what == NO_UNIT)
            continue;
        for (int t = 1; t <= S.SOLID_TRIANGLE_COUNT; ++t) {
            float& v = VARL(r, t);
            if (units == UNITS_ENGLISH) {
                switch (what) {
                case FLUX: v *= 0.092903f; break;
                case STRESS: v *= 0.0208854f; break;
                case HEAT: v *= 8.8114E-5f; break;
                default: v = v * 1.8f - 459.4f; break;
                }
            } else {
                switch (what) {
                case FLUX: v /= G.STREAM_DENSITY * G.STREAM_SPEED; break;
                case STRESS: v /= q; break;
                case HEAT: v /= heat_divisor; break;
                default: v /= G.STREAM_TEMP; break;
                }
            }
        }
    }
}

std::string surface_title(SurfaceDisplay display, int code)
{
    static const char* const common[] = {"Sample Size", "Number Flux", "Pressure", "Shear St., dirn. 1",
                                         "Shear St., dirn. 2"};
    if (code >= VARS_SAMPLE_SIZE && code <= VARS_SHEAR_2)
        return common[code - 1];
    auto species_title = [](int s) {
        return s >= 1 && s <= 12 ? "Fraction Species " + std::to_string(s) : std::string();
    };
    if (display == SurfaceDisplay::LIVE) {
        static const char* const live[] = {"Shear St. Magnitude", "Incident Heat Flux", "Reflected Heat Flux",
                                           "Net Heat Flux", "Surface Temperature"};
        if (code >= LIVE_SHEAR_MAGNITUDE && code <= LIVE_SURFACE_TEMP)
            return live[code - LIVE_SHEAR_MAGNITUDE];
        return code > LIVE_FRACTION ? species_title(code - LIVE_FRACTION) : std::string();
    }
    static const char* const window[] = {"Incident Heat Flux", "Reflected Heat Flux", "Net Heat Flux",
                                         "Surface Temperature"};
    if (code >= VARS_INCIDENT_HEAT && code <= VARS_SURFACE_TEMP)
        return window[code - VARS_INCIDENT_HEAT];
    if (code == VARS_FRACTION + 1 || (code > VARS_FRACTION && code < window_row(WINDOW_TRIANGLE_NUMBER)))
        return species_title(code - VARS_FRACTION);
    if (code == window_row(WINDOW_TRIANGLE_NUMBER))
        return "Triangle Number";
    if (code == window_row(WINDOW_SHEAR_MAGNITUDE))
        return "Shear Stress Magnitude";
    if (code == window_row(WINDOW_SHEAR_VECTORS))
        return "Shear Stress Magnitude and Direction";
    return "";
}

std::string surface_unit(SurfaceDisplay display, int code, int units)
{
    const int system = units == UNITS_ENGLISH ? 1 : units == UNITS_RATIO ? 2 : 0;
    switch (quantity(display, code)) {
    case FLUX: {
        static const char* const text[] = {"/sq m /s", "/sq ft /s", "/ Stream N. Dens.*Speed"};
        return text[system];
    }
    case STRESS: {
        static const char* const text[] = {"N/sq m", "lbf/sq ft", "Coefficient"};
        return text[system];
    }
    case HEAT: {
        const char* english = display == SurfaceDisplay::LIVE ? "Btu/sq ft/s" : "Btu/sq ft/sec";
        const char* const text[] = {"W/sq m", english, "Coefficient"};
        return text[system];
    }
    case TEMPERATURE: {
        static const char* const text[] = {"K", "F", "/ Stream Temperature"};
        return text[system];
    }
    default: return "";
    }
}

SurfaceScale surface_scale(const Array<float, 2>& VARL, int code, bool log, bool refuse_flat_log,
                           int range_low, int range_high)
{
    SurfaceScale scale;
    const int triangles = SURFACE.SOLID_TRIANGLE_COUNT;
    float lowest = RANGE_START, highest = -RANGE_START;
    for (int t = 1; t <= triangles; ++t) {
        if (code != VARS_SAMPLE_SIZE && !well_sampled(VARL(VARS_SAMPLE_SIZE, t)))
            continue;
        const float v = VARL(code, t);
        if (v < lowest)
            lowest = v;
        if (v > highest)
            highest = v;
    }
    if (log) {
        if (lowest <= LOG_FLOOR || (refuse_flat_log && highest - lowest <= LOG_FLOOR)) {
            scale.log_refused = true;
        } else {
            float log_low = RANGE_START, log_high = -RANGE_START;
            for (int t = 1; t <= triangles; ++t) {
                if (!well_sampled(VARL(VARS_SAMPLE_SIZE, t)))
                    continue;
                const float v = std::log10(std::fabs(VARL(code, t)));
                if (v < log_low)
                    log_low = v;
                if (v > log_high)
                    log_high = v;
            }
            lowest = log_low;
            highest = log_high;
            scale.log = true;
        }
    }
    if (highest - lowest < 0.0f)
        return scale;
    scale.counted = true;
    if (highest - lowest < 1.0E-6f) {
        lowest *= 0.99f;
        highest *= 1.01f;
    }
    float lo = lowest, hi = highest;
    if (range_low != 0 || range_high != 0) {
        const float d = highest - lowest;
        lo = lowest + static_cast<float>(range_low) * 0.03f * d;
        hi = highest + static_cast<float>(range_high) * 0.03f * d;
        if (hi < lo) {
            const float m = (lo + hi) / 2.0f;
            lo = m > 0.0f ? 0.985f * m : 1.015f * m;
            hi = m > 0.0f ? 1.015f * m : 0.985f * m;
        }
    }
    scale.lo = lo;
    scale.R = hi - lo;
    return scale;
}

int surface_colour_index(float v, const SurfaceScale& scale)
{
    if (!(scale.R > 0.0f) || !std::isfinite(scale.R))
        return 1;
    double x = v;
    if (scale.log) {
        if (!(v > LOG_FLOOR))
            return 1;
        x = std::log10(static_cast<double>(v));
    }
    const double k = (x - scale.lo) * 255.0 / scale.R;
    if (!(k >= 1.0))  // below 1, or not a number
        return 1;
    if (k > 255.0)
        return 255;
    return static_cast<int>(k);
}

void colour_solid_triangles(const Array<float, 2>& VARL, int code, const SurfaceScale& scale)
{
    for (int t = 1; t <= SURFACE.SOLID_TRIANGLE_COUNT; ++t)
        SURFACE.SOLID_TRIANGLE(2, t) = surface_colour_index(VARL(code, t), scale);
}

LegendMarks legend_marks(float lo, float R, float major, float minor, int e)
{
    LegendMarks marks;
    if (!(R > 0.0f) || !std::isfinite(R) || !(major > 0.0f) || !(minor > 0.0f))
        return marks;
    const float hi = lo + R;
    const double decade = std::pow(10.0, e);
    // Each pass walks outwards from 0 in whole steps k; it starts at the step next to the near end of the
    // scale when 0 lies outside it, so that a narrow range far from 0 costs no more than its own marks.
    auto pass = [&](double step, int direction, auto&& mark) {
        const double near = direction > 0 ? lo : -hi;
        long long k = near > 0.0 ? static_cast<long long>(std::floor(near / step)) : 0;
        for (int n = 0; n < MAX_LEGEND_MARKS; ++n, ++k) {
            const float v = static_cast<float>(direction * k * step);
            if (direction > 0 ? v > lo : v < hi)
                mark(v, direction * k);
            const float next = static_cast<float>(direction * (k + 1) * step);
            if (direction > 0 ? !(next < hi) : !(next > lo))
                break;
        }
    };
    const double small = minor * decade, large = major * decade;
    auto add_minor = [&](float v, long long) { marks.minor.push_back((v - lo) / R); };
    auto add_major = [&](float v, long long k) {
        marks.major.push_back((v - lo) / R);
        marks.labels.push_back(static_cast<float>(k * static_cast<double>(major)));
    };
    if (hi > 0.0f)
        pass(small, 1, add_minor);
    if (lo < 0.0f)
        pass(small, -1, add_minor);
    if (hi > 0.0f)
        pass(large, 1, add_major);
    if (lo < 0.0f)
        pass(large, -1, add_major);
    return marks;
}

namespace {

// Where each part of a legend strip goes: graphics areas in fractions of the window (y up), text in
// 0..9999 window units (y down).
struct LegendLayout {
    float area[4];
    float units[4];
    int fill, text_fg, text_bg, line;
    int title_x, title_log_x, title_y;
    int log_x, log_y;
    int unit_x, unit_ratio_x, unit_y;
    int x10_x, x10_y, exponent_x, exponent_y;
    float bar_bottom, bar_top, minor_top, major_top;
    int label_offset, label_y;
};

LegendLayout legend_layout(SurfaceDisplay display)
{
    if (display == SurfaceDisplay::WINDOW)
        return {{0.0f, 0.107f, 1.0f, 0.164f},
                {-1.166666f, 0.0f, 1.055555f, 0.112f},
                0,
                0,
                15,
                223,
                2500,
                3000,
                8550,
                2500,
                8550,
                2500,
                2500,
                8800,
                4300,
                8800,
                4600,
                8730,
                0.07f,
                0.112f,
                0.0775f,
                0.085f,
                5250,
                8800};
    const bool white = DISPLAY.SURF_WHITE_BACKGROUND.current == 1;
    return {{0.0f, 0.0f, 0.5f, 0.1f},
            {-0.055555f, 0.0f, 1.055555f, 0.1f},
            white ? 0 : 223,
            white ? 0 : 15,
            white ? 15 : 0,
            white ? 223 : 0,
            500,
            800,
            9900,
            200,
            9900,
            3000,
            2100,
            9900,
            3700,
            9900,
            4000,
            9830,
            0.065f,
            0.1f,
            0.0725f,
            0.08f,
            250,
            9600};
}

}  // namespace

void SURFACE_LEGEND_STRIP(SurfaceDisplay display, int code, const SurfaceScale& scale)
{
    const LegendLayout g = legend_layout(display);
    if (display == SurfaceDisplay::WINDOW)
        WWinSelect(0);
    IGrArea(g.area[0], g.area[1], g.area[2], g.area[3]);
    IGrUnits(g.units[0], g.units[1], g.units[2], g.units[3]);
    IGrFillPattern(4, 0, 0);
    IGrColourN(g.fill);
    IGrRectangle(g.units[0], g.units[1], g.units[2], g.units[3]);
    WGrTextColour(g.text_fg, g.text_bg);

    if (scale.log)
        WGrTextString(g.log_x, g.log_y, "Log10");
    WGrTextString(scale.log ? g.title_log_x : g.title_x, g.title_y, surface_title(display, code));
    // A range that is not a positive number has no scale: the strip shows its title only.
    float major = 0.0f, minor = 0.0f, mantissa = 0.0f;
    int e = 0;
    if (!LEGEND_STEPS(scale.R, major, minor, mantissa, e))
        return;
    const int units = RUN.OUTPUT_UNITS;
    if (scale.R > 1.0E-10f)
        WGrTextString(units == UNITS_RATIO ? g.unit_ratio_x : g.unit_x, g.unit_y,
                      surface_unit(display, code, units));
    if (e != 0) {
        WGrTextString(g.x10_x, g.x10_y, "x10");
        WGrTextInteger(g.exponent_x, g.exponent_y, -e, 3);
    }

    SET_COLOUR_RAMP();
    for (int i = 1; i <= 254; ++i) {
        IGrColourN(i);
        IGrRectangle((i - 1) / 254.0f, g.bar_bottom, i / 254.0f, g.bar_top);
    }
    IGrPaletteInit();

    IGrColourN(g.line);
    const bool ticks = DISPLAY.FLOW_COLOUR_MAP.current != 2;
    if (ticks)
        IGrLine(0.0f, g.bar_bottom, 1.0f, g.bar_bottom);
    const LegendMarks marks = legend_marks(scale.lo, scale.R, major, minor, e);
    if (ticks)
        for (float f : marks.minor)
            IGrLine(f, g.bar_bottom, f, g.minor_top);
    for (std::size_t i = 0; i < marks.major.size(); ++i) {
        const float f = marks.major[i];
        if (ticks)
            IGrLine(f, g.bar_bottom, f, g.major_top);
        WGrTextColour(g.text_fg, g.text_bg);
        WGrTextReal(static_cast<int>(f * 4500.0f + static_cast<float>(g.label_offset)) - 170, g.label_y,
                    marks.labels[i], "(F5.1)");
    }
}

void SET_SURFACE_WINDOW_PROPERTY()
{
    SurfaceWindowState& s = S3D;
    fill_surface_values(s.VARL, SurfaceDisplay::WINDOW);
    const int code = s.S3D_PROPERTY;
    const SurfaceScale scale =
        surface_scale(s.VARL, code, s.S3D_LOG_SCALE == 1, true, s.S3D_RANGE_LOW, s.S3D_RANGE_HIGH);
    if (scale.log_refused) {
        s.S3D_LOG_SCALE = 0;
        s.S3D_LOG_SCALE_PREV = 0;
        WDialogSelect(IDD_SURFACE_WINDOW_OPTIONS);
        WDialogPutInteger(IDC_S3D_LOG_SPIN, 0);
        WDialogPutCheckBox(IDC_S3D_LOG_CHECK, 0);
    }
    if (!scale.counted)
        return;
    SURFACE_LEGEND_STRIP(SurfaceDisplay::WINDOW, code, scale);
    colour_solid_triangles(s.VARL, code, scale);
    IGrSelectTarget(0, 0);
}
