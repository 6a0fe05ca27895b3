// The surface property values of the two surface displays (the live picture in the main window and the
// surface display window): the work array VARL with its derived rows, the unit conversions, the colour
// range, the legend strip and the colour index of every solid triangle.
#ifndef QR4T_APP_DISPLAYS_SURFACE_VALUES_H
#define QR4T_APP_DISPLAYS_SURFACE_VALUES_H

#include "app/state/results.h"
#include "base/array.h"

#include <string>
#include <vector>

// Which display a VARL belongs to: the live picture holds SPECIES_COUNT + 10 rows (the shear magnitude
// in row 6), the window SPECIES_COUNT + 12 (the triangle number and the magnitude twice at the end).
enum class SurfaceDisplay {
    LIVE,
    WINDOW
};

// Rows of VARL, the property codes of the displays. Both begin with the VARS rows VARS_SAMPLE_SIZE ..
// VARS_SHEAR_2. The live picture then holds the shear magnitude and the VARS rows from
// VARS_INCIDENT_HEAT on, one row further down, the species fractions last:
constexpr int LIVE_SHEAR_MAGNITUDE = VARS_SHEAR_2 + 1;
constexpr int LIVE_INCIDENT_HEAT = VARS_INCIDENT_HEAT + 1;
constexpr int LIVE_NET_HEAT = VARS_NET_HEAT + 1;
constexpr int LIVE_SURFACE_TEMP = VARS_SURFACE_TEMP + 1;
constexpr int LIVE_FRACTION = VARS_FRACTION + 1;  // row LIVE_FRACTION + s: the fraction of species s
// The window holds every VARS row where VARS has it, then three rows after the species fractions,
// which window_row places:
constexpr int WINDOW_TRIANGLE_NUMBER = VARS_FRACTION + 1;  // the triangle's number within its surface
constexpr int WINDOW_SHEAR_MAGNITUDE = VARS_FRACTION + 2;
constexpr int WINDOW_SHEAR_VECTORS = VARS_FRACTION + 3;  // the magnitude, drawn with the stress vectors
// The window's row of WINDOW_TRIANGLE_NUMBER, WINDOW_SHEAR_MAGNITUDE or WINDOW_SHEAR_VECTORS in a run of
// SPECIES_COUNT species.
int window_row(int after_fractions);

// The number of rows of a display's VARL.
int surface_row_count(SurfaceDisplay display);
// True when the kernel's surface results are there to be shown: VARS holds all its rows for
// every solid triangle (the kernel allocates it when the flow is set up).
bool surface_results_ready();

// Fills VARL (allocated with surface_row_count rows and SOLID_TRIANGLE_COUNT columns) from VARS and
// converts every column to the unit system OUTPUT_UNITS.
void fill_surface_values(Array<float, 2>& VARL, SurfaceDisplay display);

// The legend title of a property code; empty for a code without one (a species above 12).
std::string surface_title(SurfaceDisplay display, int code);
// The unit text of a property code in a unit system 1..3; empty for a quantity without a unit.
std::string surface_unit(SurfaceDisplay display, int code, int units);

// The colour scale of a property: the lower end lo and the range R, in the converted units or in
// log10 units with the log option on.
struct SurfaceScale {
    bool counted = false;      // false: no triangle had enough samples, nothing is drawn
    bool log = false;          // the log option is in force
    bool log_refused = false;  // the log option was asked for and switched off
    float lo = 0.0f;
    float R = 0.0f;
};

// The range of the property `code` over the triangles with more than 4 samples (every triangle for the
// sample size), the log option, the widening of a flat range and the user limits (steps of 3 % of the
// range). The log option is refused when the lowest value is at most 1.0E-6, and with refuse_flat_log
// (the window) also when the range is at most 1.0E-6; the caller then switches its setting off.
SurfaceScale surface_scale(const Array<float, 2>& VARL, int code, bool log, bool refuse_flat_log,
                           int range_low, int range_high);

// Colour index 1..255 of a value on the scale, clamped in floating point; NaN gives 1. A range that is
// not a positive finite number gives 1 for every value.
int surface_colour_index(float v, const SurfaceScale& scale);

// Writes SOLID_TRIANGLE(2, t) for every solid triangle from VARL(code, t).
void colour_solid_triangles(const Array<float, 2>& VARL, int code, const SurfaceScale& scale);

// The tick marks and labels of a legend strip, as fractions 0..1 of the bar.
struct LegendMarks {
    std::vector<float> minor;   // minor ticks
    std::vector<float> major;   // major ticks, one per label
    std::vector<float> labels;  // the label mantissas (the value is label x 10^E)
};
// From the scale lo, R and the steps of LEGEND_STEPS(R): both passes outwards from 0, each stopping
// before it reaches an end of the scale.
LegendMarks legend_marks(float lo, float R, float major, float minor, int e);

// Draws the legend strip of the live picture or of the window (the window's strip goes into the main
// window, which is selected first).
void SURFACE_LEGEND_STRIP(SurfaceDisplay display, int code, const SurfaceScale& scale);

// The window's values, legend and triangle colours from S3D_PROPERTY, S3D_LOG_SCALE, S3D_RANGE_LOW and
// S3D_RANGE_HIGH, into the window's VARL (which must be allocated).
void SET_SURFACE_WINDOW_PROPERTY();

#endif
