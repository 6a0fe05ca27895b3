// The colour scales of the property pictures: the continuous ramp of the flowfield colour table and its
// banded variant, the tick steps of a legend, and the 257-entry ramp of the OpenGL surface pictures.
#ifndef QR4T_APP_DISPLAYS_COLOUR_SCALE_H
#define QR4T_APP_DISPLAYS_COLOUR_SCALE_H

#include <array>
#include <cstdint>

// Colour numbers listed for SET_BANDED_RAMP.
constexpr int BANDED_RAMP_ENTRIES = 40;

// Loads the continuous scale into the toolkit's colour table: 0 black, 255 white, 1..254 blue through
// cyan, green and yellow to red, defined in the order 0, 255, 1, ..., 254.
void SET_COLOUR_RAMP();
// As SET_COLOUR_RAMP, but every colour 1..254 shows the colour of the nearest listed number at or
// below it (blue before the first); entries outside 1..254 and repeats have no effect.
void SET_BANDED_RAMP(const std::array<int, BANDED_RAMP_ENTRIES>& listed);

// The colour number 1..254 of a value on a scale starting at `low` and spanning `span`:
// (v - low) x 255 / span, held to 1..254 before it is truncated. A span of 0 (a uniform property) or
// one that is not finite gives 1; a negative span (no value counted yet) follows the formula.
int property_colour(double v, double low, double span);

// Writes v = m * 10^e with m in 1..10 and picks the legend's major and minor tick steps (in units of
// 10^e) from m. A value that is not a positive finite number has no steps: false, all outputs 0.
bool LEGEND_STEPS(float v, float& major, float& minor, float& m, int& e);

// The ramp of the OpenGL surface pictures: three planes of 257 bytes (red 0..256, green 0..256, blue
// 0..256). Entry 0 black (the selected triangle), 1..255 the property scale, 256 grey (entry planes).
struct ColourRamp {
    static constexpr int ENTRIES = 257;
    std::array<std::uint8_t, 3 * ENTRIES> bytes{};
    // Entry i as the three bytes that glColor3ubv takes.
    std::array<std::uint8_t, 3> entry(int i) const
    {
        return {bytes[i], bytes[ENTRIES + i], bytes[2 * ENTRIES + i]};
    }
};

// Writes all 771 bytes of the ramp.
void FILL_COLOUR_RAMP(ColourRamp& ramp);

// The two ramps: VIEW_RAMP of the surface display window's view, PICTURE_RAMP of the live surface
// picture; both hold the same values once filled.
extern ColourRamp VIEW_RAMP;
extern ColourRamp PICTURE_RAMP;

#endif
