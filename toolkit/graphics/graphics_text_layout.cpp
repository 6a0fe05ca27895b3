// Placement of graphics text.

#include "toolkit/graphics/graphics_text_layout.h"

#include <cmath>

float text_angle_normalise(float angle)
{
    const double a = angle;
    if (!std::isfinite(a)) {
        return 0.0f;  // no direction to keep: the text runs along the x axis
    }
    // Whole turns added so that the sum is positive, then the remainder of one turn.
    const double turns = std::floor(std::round(std::fabs(a)) / 360.0) + 1.0;
    double r = std::fmod(a + 360.0 * turns, 360.0);
    if (r < 0.0) {
        r += 360.0;
    }
    // Rounding to 4 bytes can lift a remainder just below 360 to 360 itself.
    float stored = static_cast<float>(r);
    if (stored >= 360.0f) {
        stored = 0.0f;
    }
    return stored;
}

TextPlacement horizontal_text_placement(float x, float y, int justification, float length,
                                        float requested_length, float requested_cell, float co, float sB)
{
    const double j = justification * 0.5;
    const double before = j * length;
    const double after = (1.0 - j) * requested_length;
    const double next = after + j * requested_cell;
    TextPlacement p;
    p.start_x = static_cast<float>(x - before * co);
    p.start_y = static_cast<float>(y - before * sB);
    p.end_x = static_cast<float>(x + after * co);
    p.end_y = static_cast<float>(y + after * sB);
    p.next_x = static_cast<float>(x + next * co);
    p.next_y = static_cast<float>(y + next * sB);
    return p;
}

TextPlacement vertical_text_placement(float x, float y, int justification, int n, float hx, float hy)
{
    const double jn = justification * 0.5 * n;
    TextPlacement p;
    p.start_x = static_cast<float>(x + jn * hx);
    p.start_y = static_cast<float>(y + jn * hy);
    p.end_x = static_cast<float>(x + (jn - n) * hx);
    p.end_y = static_cast<float>(y + (jn - n) * hy);
    p.next_x = x;
    p.next_y = y;
    return p;
}
