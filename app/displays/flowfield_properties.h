// The flowfield property table that the live flowfield picture and the section display share: what each
// property code shows (its row of VAR or SPECIES_VAR), its title, its kind and the unit text and
// conversion of each kind in the three unit systems, the code-15 cap, the logarithmic option, the
// well-sampled test, and the frame of user units in which a plane of the box is drawn.
//
// Codes 1..17 are the gas properties (VAR rows 1..17) in both displays. Codes 18 and up differ: the live
// display shows the number fraction of species code - 17 (VAR row code, codes 18..29, species 1..12);
// the section display shows SPECIES_VAR row code - 17 of its chosen species (codes 18..28).
#ifndef QR4T_APP_DISPLAYS_FLOWFIELD_PROPERTIES_H
#define QR4T_APP_DISPLAYS_FLOWFIELD_PROPERTIES_H

#include "app/state/results.h"
#include "base/array.h"

#include <string>

// Which of the two flowfield displays a code belongs to.
enum class FlowDisplay {
    LIVE,     // DRAW_FLOWFIELD_PROPERTIES: codes 1..29
    SECTION,  // the flowfield section display: codes 1..28
};

// Codes 1..VAR_FRACTION are the VAR rows of the gas (app/state/results.h), by the rows' names; the
// mean collision separation (VAR_SEP_MFP) is capped at SEP_MFP_RATIO before conversion.
constexpr int LIVE_PROPERTY_CODES = VAR_FRACTION + 12;  // the live display offers species fractions 1..12
constexpr int SECTION_PROPERTY_CODES = VAR_FRACTION + SPECIES_VAR_ROWS;  // then SPECIES_VAR rows 1..11

// How a property's value is converted and labelled.
enum class PropertyKind {
    NONE,            // a count or ratio: shown as it is, no unit text
    NUMBER_DENSITY,  // per cubic metre
    DENSITY,         // kg per cubic metre
    VELOCITY,        // m/s
    TEMPERATURE,     // K
    PRESSURE,        // Pa
    TIME,            // s: the mean collision time, SI in every unit system
    LENGTH,          // m: the mean free path, SI in the dimensionless system
};

// Whether a code exists in a display (1..29 live, 1..28 section).
bool flow_property_code_valid(int code, FlowDisplay display);
// The kind of a valid code.
PropertyKind flow_property_kind(int code, FlowDisplay display);
// The legend title: for the live display the whole title ("Fraction Species 3" for code 20); for the
// section display's species codes 18..28 the part after "Species" and the species number, which that
// display writes apart ("x Comp Trans. Temp.").
std::string flow_property_title(int code, FlowDisplay display);
// The unit text of a code in unit system 1 SI, 2 English, 3 dimensionless; empty for kind NONE.
std::string flow_property_unit_text(int code, FlowDisplay display, int units);

// The stored value of a code for a cell: its VAR row, or for section codes 18..28 the SPECIES_VAR row
// code - 17 of the species.
float flow_property_raw(int code, int cell, FlowDisplay display, int species = 1);
// A stored value of a kind converted for the unit system (1 unchanged; 2 English, temperatures
// 1.8 T - 459.4; 3 over the stream's reference value, time and length unchanged).
float convert_flow_value(float v, PropertyKind kind, int units);
// The display value of a code for a cell: the raw value, for code 15 capped at SEP_MFP_RATIO, then
// converted for OUTPUT_UNITS.
float FLOW_DISPLAY_VALUE(int code, int cell, FlowDisplay display, int species = 1);

// The logarithmic option: below this a converted value has no logarithm.
constexpr float LOG_FLOOR = 1.0e-6f;
// log10 of a converted value into `out`; false (out untouched) when the value is at most LOG_FLOOR or
// not a finite number.
bool log_display_value(float v, float& out);

// A cell is well sampled when its sample size (VAR row 1, truncated toward zero) is above 40 or above
// twice SAMPLE_COUNT: more than 40 molecules in the sample, or more than two per sample.
bool WELL_SAMPLED(int cell);
// The sample size of a cell truncated toward zero (clamped first, so that any real gives an integer).
int sample_size_count(int cell);

// ---- the plane frame

// The user units (left, right, bottom, top) of the last plane picture drawn normal to each axis
// (1 x, 2 y, 3 z): written by both flowfield displays, read by the section display's window to turn a
// mouse position into a point of the plane.
extern Array<float, 1> PLANE_FRAME_LEFT;
extern Array<float, 1> PLANE_FRAME_RIGHT;
extern Array<float, 1> PLANE_FRAME_BOTTOM;
extern Array<float, 1> PLANE_FRAME_TOP;

// Height-to-width factors of the frames: the live picture's area is wider than high, the section
// picture's square.
constexpr float LIVE_FRAME_ASPECT = 1.2725f;
constexpr float SECTION_FRAME_ASPECT = 1.0f;

// The in-plane axes of a plane normal to `axis`: across and up (1 x, 2 y, 3 z). Normal to x: z across,
// y up; normal to y: x across, z up; normal to z: x across, y up.
int plane_across_axis(int axis);
int plane_up_axis(int axis);
// The letters of those axes ("x", "y", "z").
const char* axis_letter(int axis);

// Works out the frame of the plane normal to `axis` for the aspect factor k, stores it as element
// `axis` of the four arrays and sets it as the user units (IGrUnits). With H the box extent across and
// V up, H is compared with k V: the larger gets a margin of 5 % of itself (of V when k V is the larger)
// on each side, and the other direction is padded by half the difference plus that margin, so that the
// box section sits in the middle.
void SET_PLANE_FRAME(int axis, float k);

#endif
