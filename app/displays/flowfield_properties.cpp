// The flowfield property table, its unit conversions, the well-sampled test and the plane frame.
#include "app/displays/flowfield_properties.h"

#include "app/displays/display_dialogs.h"
#include "app/state/box.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gr_area.h"

#include <cmath>

namespace {

struct PropertyRow {
    const char* title;  // legend title (the section display's where it differs, below)
    PropertyKind kind;
};

// The gas properties of both displays, codes (VAR rows) 1..VAR_FRACTION.
constexpr PropertyRow GAS_PROPERTIES[VAR_FRACTION] = {
    {"Sample Size", PropertyKind::NONE},
    {"Number Density", PropertyKind::NUMBER_DENSITY},
    {"Density", PropertyKind::DENSITY},
    {"Velocity in x dirn.", PropertyKind::VELOCITY},
    {"Velocity in y dirn.", PropertyKind::VELOCITY},
    {"Velocity in z dirn.", PropertyKind::VELOCITY},
    {"Translational Temp.", PropertyKind::TEMPERATURE},
    {"Rotational Temp.", PropertyKind::TEMPERATURE},
    {"Vibrational Temp.", PropertyKind::TEMPERATURE},
    {"Temperature", PropertyKind::TEMPERATURE},
    {"Mach Number", PropertyKind::NONE},
    {"Molecules per Cell", PropertyKind::NONE},
    {"Mean Collision Time", PropertyKind::TIME},
    {"Mean Free Path", PropertyKind::LENGTH},
    {"Mean Coll. Sep. / m.f.p.", PropertyKind::NONE},
    {"Flow Speed", PropertyKind::VELOCITY},
    {"Scalar Pressure nkT", PropertyKind::PRESSURE},
};
constexpr const char* SECTION_SEP_MFP_TITLE = "Mean. Coll. Sep. / m.f.p.";

// Section codes 18..28: SPECIES_VAR rows 1..11 of the chosen species.
constexpr PropertyRow SPECIES_PROPERTIES[SPECIES_VAR_ROWS] = {
    {"Sample Size", PropertyKind::NONE},
    {"Number Fraction", PropertyKind::NONE},
    {"x Comp Trans. Temp.", PropertyKind::TEMPERATURE},
    {"y Comp Trans. Temp.", PropertyKind::TEMPERATURE},
    {"z Comp Trans. Temp.", PropertyKind::TEMPERATURE},
    {"Translational Temp.", PropertyKind::TEMPERATURE},
    {"Rotational Temp.", PropertyKind::TEMPERATURE},
    {"Vibrational Temp.", PropertyKind::TEMPERATURE},
    {"x Comp. Diff. Vel.", PropertyKind::VELOCITY},
    {"y Comp. Diff. Vel.", PropertyKind::VELOCITY},
    {"z Comp. Diff. Vel.", PropertyKind::VELOCITY},
};

// Unit texts of each kind: SI, English, dimensionless (as the live display writes them).
struct UnitTexts {
    const char* si;
    const char* english;
    const char* ratio;
};
constexpr UnitTexts KIND_UNITS[] = {
    {"", "", ""},                                      // NONE
    {"/ cu m", "/ cu ft", "/ Stream Number Density"},  // NUMBER_DENSITY
    {"kg / cu m", "lbm / cu ft", "/ Stream Density"},  // DENSITY
    {"m/s", "ft/s", "/ Stream Speed"},                 // VELOCITY
    {"K", "F", "/ Stream Temperature"},                // TEMPERATURE
    {"Pa", "lbf / sq ft", "/ Stream Pressure"},        // PRESSURE
    {"sec", "sec", "sec"},                             // TIME
    {"m", "ft", "m"},                                  // LENGTH
};

// English factors (4-byte constants) and the temperature offset.
constexpr float PER_CU_FT = 0.028317f;      // cubic feet per cubic metre
constexpr float LBM_PER_CU_FT = 0.062428f;  // lbm / cu ft per kg / cu m
constexpr float FT_PER_M = 3.28084f;
constexpr float LBF_PER_SQ_FT = 0.0208854f;  // lbf / sq ft per Pa
constexpr float RANKINE_PER_K = 1.8f;
constexpr float FAHRENHEIT_OFFSET = 459.4f;

constexpr float MARGIN = 0.05f;  // of the plane frame, a share of the longer side

bool species_code(int code)
{
    return code > VAR_FRACTION;
}

float axis_min(int axis)
{
    return axis == 1 ? BOX.XMIN : axis == 2 ? BOX.YMIN : BOX.ZMIN;
}

float axis_max(int axis)
{
    return axis == 1 ? BOX.XMAX : axis == 2 ? BOX.YMAX : BOX.ZMAX;
}

Array<float, 1> axis_array()
{
    Array<float, 1> a;
    a.allocate(3);
    return a;
}

}  // namespace

// All 0 until the first picture of a plane.
Array<float, 1> PLANE_FRAME_LEFT = axis_array();
Array<float, 1> PLANE_FRAME_RIGHT = axis_array();
Array<float, 1> PLANE_FRAME_BOTTOM = axis_array();
Array<float, 1> PLANE_FRAME_TOP = axis_array();

bool flow_property_code_valid(int code, FlowDisplay display)
{
    return code >= 1 && code <= (display == FlowDisplay::LIVE ? LIVE_PROPERTY_CODES : SECTION_PROPERTY_CODES);
}

PropertyKind flow_property_kind(int code, FlowDisplay display)
{
    if (!species_code(code))
        return GAS_PROPERTIES[code - 1].kind;
    if (display == FlowDisplay::LIVE)
        return PropertyKind::NONE;  // a number fraction
    return SPECIES_PROPERTIES[code - VAR_FRACTION - 1].kind;
}

std::string flow_property_title(int code, FlowDisplay display)
{
    if (!species_code(code)) {
        if (code == VAR_SEP_MFP && display == FlowDisplay::SECTION)
            return SECTION_SEP_MFP_TITLE;
        return GAS_PROPERTIES[code - 1].title;
    }
    if (display == FlowDisplay::LIVE)
        return "Fraction Species " + std::to_string(code - VAR_FRACTION);
    return SPECIES_PROPERTIES[code - VAR_FRACTION - 1].title;
}

std::string flow_property_unit_text(int code, FlowDisplay display, int units)
{
    const PropertyKind kind = flow_property_kind(code, display);
    const UnitTexts& t = KIND_UNITS[static_cast<int>(kind)];
    if (units == UNITS_ENGLISH) {
        if (display == FlowDisplay::SECTION && kind == PropertyKind::PRESSURE)
            return "lbf/sq ft";
        return t.english;
    }
    if (units != UNITS_RATIO)
        return t.si;
    // The section display writes some of its ratio texts without the blank after the stroke: the
    // temperatures, the pressure, and the flow speed and diffusion velocities (not u, v, w).
    if (display == FlowDisplay::SECTION) {
        if (kind == PropertyKind::TEMPERATURE)
            return "/Stream Temperature";
        if (kind == PropertyKind::PRESSURE)
            return "/Stream Pressure";
        if (kind == PropertyKind::VELOCITY && (code == VAR_SPEED || species_code(code)))
            return "/Stream Speed";
    }
    return t.ratio;
}

float flow_property_raw(int code, int cell, FlowDisplay display, int species)
{
    if (display == FlowDisplay::SECTION && species_code(code))
        return RESULTS.SPECIES_VAR(code - VAR_FRACTION, cell, species);
    return RESULTS.VAR(code, cell);
}

float convert_flow_value(float v, PropertyKind kind, int units)
{
    const GasState& G = GAS;
    const double x = v;
    if (units == UNITS_ENGLISH) {
        switch (kind) {
        case PropertyKind::NUMBER_DENSITY: return static_cast<float>(x * PER_CU_FT);
        case PropertyKind::DENSITY: return static_cast<float>(x * LBM_PER_CU_FT);
        case PropertyKind::VELOCITY:
        case PropertyKind::LENGTH: return static_cast<float>(x * FT_PER_M);
        case PropertyKind::TEMPERATURE:
            return static_cast<float>(static_cast<float>(x * RANKINE_PER_K) - double(FAHRENHEIT_OFFSET));
        case PropertyKind::PRESSURE: return static_cast<float>(x * LBF_PER_SQ_FT);
        default: return v;
        }
    }
    if (units == UNITS_RATIO) {
        switch (kind) {
        case PropertyKind::NUMBER_DENSITY: return static_cast<float>(x / G.STREAM_DENSITY);
        case PropertyKind::DENSITY: return static_cast<float>(x / G.STREAM_MASS_DENSITY);
        case PropertyKind::VELOCITY: return static_cast<float>(x / G.STREAM_SPEED);
        case PropertyKind::TEMPERATURE: return static_cast<float>(x / G.STREAM_TEMP);
        case PropertyKind::PRESSURE: return static_cast<float>(x / G.STREAM_PRESSURE);
        default: return v;
        }
    }
    return v;
}

float FLOW_DISPLAY_VALUE(int code, int cell, FlowDisplay display, int species)
{
    float v = flow_property_raw(code, cell, display, species);
    if (code == VAR_SEP_MFP && v > RUN.SEP_MFP_RATIO)
        v = RUN.SEP_MFP_RATIO;
    return convert_flow_value(v, flow_property_kind(code, display), RUN.OUTPUT_UNITS);
}

bool log_display_value(float v, float& out)
{
    if (!(v > LOG_FLOOR) || !std::isfinite(v))
        return false;
    out = static_cast<float>(std::log10(double(v)));
    return true;
}

int sample_size_count(int cell)
{
    return gr_trunc(RESULTS.VAR(VAR_SAMPLE_SIZE, cell));
}

bool WELL_SAMPLED(int cell)
{
    // In 8 bytes: twice a sample count near the integer limit must not wrap.
    const long long n = sample_size_count(cell);
    return n > 40 || n > 2LL * SAMPLES.SAMPLE_COUNT;
}

int plane_across_axis(int axis)
{
    return axis == 1 ? 3 : 1;
}

int plane_up_axis(int axis)
{
    return axis == 2 ? 3 : 2;
}

const char* axis_letter(int axis)
{
    return axis == 1 ? "x" : axis == 2 ? "y" : "z";
}

void SET_PLANE_FRAME(int axis, float k)
{
    const int across = plane_across_axis(axis), up = plane_up_axis(axis);
    const float h_low = axis_min(across), h_high = axis_max(across);
    const float v_low = axis_min(up), v_high = axis_max(up);
    const float H = static_cast<float>(double(h_high) - h_low);
    const float V = static_cast<float>(double(v_high) - v_low);
    const float A = static_cast<float>(double(k) * V);
    float left, right, bottom, top;
    if (H <= A) {
        const float m = static_cast<float>(double(MARGIN) * V);
        const float p = static_cast<float>((double(A) - H) / 2.0 + m);
        bottom = static_cast<float>(double(v_low) - m);
        top = static_cast<float>(double(v_high) + m);
        left = static_cast<float>(double(h_low) - p);
        right = static_cast<float>(double(h_high) + p);
    } else {
        const float m = static_cast<float>(double(MARGIN) * H);
        const float p = static_cast<float>((double(H) - A) / 2.0 + m);
        left = static_cast<float>(double(h_low) - m);
        right = static_cast<float>(double(h_high) + m);
        bottom = static_cast<float>(double(v_low) - p);
        top = static_cast<float>(double(v_high) + p);
    }
    PLANE_FRAME_LEFT(axis) = left;
    PLANE_FRAME_RIGHT(axis) = right;
    PLANE_FRAME_BOTTOM(axis) = bottom;
    PLANE_FRAME_TOP(axis) = top;
    IGrUnits(left, bottom, right, top);
}
