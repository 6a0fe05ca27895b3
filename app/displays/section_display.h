// The flowfield section display: its picture (one property over one plane of elements, the surface
// traces, the point marker, the flow-direction lines and the axis arrows, drawn off screen and copied
// whole into the section window), the picture's legend, the point report and its reset, and the
// dialogs of the display by unit system. The window loop itself is RUN_SECTION_DISPLAY (displays.h).
#ifndef QR4T_APP_DISPLAYS_SECTION_DISPLAY_H
#define QR4T_APP_DISPLAYS_SECTION_DISPLAY_H

#include "base/array.h"

// ---- the picture

// Size of the section window's client and of the off-screen picture, in pixels: a square plot area of
// 621 x 621 over a legend strip of 69 rows.
constexpr int SECTION_PICTURE_WIDTH = 621;
constexpr int SECTION_PICTURE_HEIGHT = 690;

// Colour numbers of the section picture. In the default colour table 0 is white and 223 black; under
// the property ramps 0 is black and 255 white.
constexpr int DEFAULT_WHITE = 0;
constexpr int DEFAULT_BLACK = 223;
constexpr int COLOUR_PLOT_CLEAR = 55;  // selected while the plot area is cleared
constexpr int COLOUR_OVERLAY = 215;    // marker, flow-direction lines, axis arrows and letters
constexpr int RAMP_BLACK = 0;          // bodies on the black background, traces on the white one
constexpr int RAMP_WHITE = 255;        // bodies on white, traces and cells without data on black

// The colour numbers at the minor tick levels of the legend (entries 1..60), from which the banded
// colour map (FLOW_COLOUR_MAP 2) is built; zeroed at the start of every drawing.
constexpr int CONTOUR_BAND_ENTRIES = 60;
extern Array<int, 1> CONTOUR_BAND;

// The colour scale of one drawing: its ends (log10 values on a logarithmic scale) and span.
struct SectionScale {
    float low = 0.0f;
    float high = 0.0f;
    float span = 0.0f;  // high - low
};

// Draws the whole picture of the section display into an off-screen bitmap of 621 x 690 pixels and
// copies it into SECTION_WINDOW, which is left the current window and drawing target. Leaves the plane
// frame of JSDIR, the triangle marks, CONTOUR_BAND and, when a logarithmic scale is impossible, the
// linear scale (with "Linear" checked in dialog 125).
void DRAW_FLOWFIELD_SECTION();

// The scale limits of the present settings and results (the range passes and the range shifts, with
// the fall-back to a linear scale); DRAW_FLOWFIELD_SECTION starts with it.
SectionScale section_scale();

// The colour number 1..254 of a value on the scale: (v - low) x 255 / span, held to 1..254 before it is
// truncated; 1 for a span of 0 (a uniform property). v is the log10 value on a logarithmic scale.
int scale_colour(double v, const SectionScale& scale);

// The legend strip in the graphics area (0, 0) to (1, 0.1) of the picture: title, units, colour bar,
// ticks and labels; fills CONTOUR_BAND for the banded colour map. The default colour table is in force
// afterwards.
void draw_section_legend(const SectionScale& scale);

// The trace of triangle t on the plane normal to `axis` at `position`: the crossings of its edges
// (corner 1-2, 2-3, 3-1) with the plane, as in-plane (across, up) points; true when exactly two edges
// cross it strictly between their corners.
bool plane_trace(int t, int axis, float position, float& h1, float& v1, float& h2, float& v2);

// The point of the plane under a mouse press at (X, Y) in 0..9999 units of the section window, by the
// frame of the last picture of JSDIR: the picture fills the window's width and the upper nine tenths
// of its height.
void section_press_point(int X, int Y, float& across, float& up);

// ---- the point report

// Withdraws the marked point (SECTION_POINT_SHOWN := 0), writes 0 into every number field of the point
// report of the unit system, and blanks the message line of its property dialog, which is left current.
void CLEAR_POINT_REPORT();
// Reports the flow at the picked point of the plane (the pick coordinates and SECTION_PLANE_POSITION)
// in the point-report dialog of the unit system, for the gas and for REPORT_SPECIES; a point in no cell
// blanks the report and says so in the property dialog's message line.
void SHOW_POINT_REPORT();
constexpr const char* NOT_IN_FLOWFIELD_TEXT = "The selected point is not within the flowfield.";

// ---- the dialogs of the display by unit system (1 SI, 2 English, 3 dimensionless)

int section_plane_dialog(int units);  // 118, 135, 139
int point_report_dialog(int units);   // 124, 141, 140

#endif
