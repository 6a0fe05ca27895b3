// Graphics-text placement: angle normalisation and justified start, end and current point.

#include "toolkit/graphics/graphics_text_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(GraphicsTextAngle, Normalise)
{
    const struct {
        float in, out;
    } cases[] = {
        {0.0f, 0.0f},      {-90.0f, 270.0f}, {720.0f, 0.0f},  {359.5f, 359.5f},
        {360.0f, 0.0f},    {-360.0f, 0.0f},  {-0.5f, 359.5f}, {45.0f, 45.0f},
        {-1000.0f, 80.0f}, {1e7f, 280.0f},   {-1e-7f, 0.0f},  // a remainder that rounds up to a whole turn is
                                                              // 0, not 360
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(text_angle_normalise(c.in), c.out, 1e-3) << c.in;
        EXPECT_LT(text_angle_normalise(c.in), 360.0f) << c.in;
        EXPECT_GE(text_angle_normalise(c.in), 0.0f) << c.in;
    }
    EXPECT_EQ(text_angle_normalise(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(text_angle_normalise(std::numeric_limits<float>::infinity()), 0.0f);
}

// Justification 0, 1, 2 of a text of 10 fixed cells of 8 units along 30 degrees: it starts 0, 5 and
// 10 cells before the point; the current point goes to its end, half a cell past its middle, one cell
// past the point.
TEST(GraphicsTextPlacement, HorizontalJustification)
{
    const float co = std::cos(0.5235988f), sB = std::sin(0.5235988f);
    const float cell = 8.0f, length = 10 * cell;
    const struct {
        int justification;
        float start_cells, end_cells, next_cells;
    } cases[] = {{0, 0.0f, 10.0f, 10.0f}, {1, -5.0f, 5.0f, 5.5f}, {2, -10.0f, 0.0f, 1.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.justification);
        const TextPlacement p =
            horizontal_text_placement(100.0f, 50.0f, c.justification, length, length, cell, co, sB);
        EXPECT_NEAR(p.start_x, 100.0f + c.start_cells * cell * co, 1e-3);
        EXPECT_NEAR(p.start_y, 50.0f + c.start_cells * cell * sB, 1e-3);
        EXPECT_NEAR(p.end_x, 100.0f + c.end_cells * cell * co, 1e-3);
        EXPECT_NEAR(p.end_y, 50.0f + c.end_cells * cell * sB, 1e-3);
        EXPECT_NEAR(p.next_x, 100.0f + c.next_cells * cell * co, 1e-3);
        EXPECT_NEAR(p.next_y, 50.0f + c.next_cells * cell * sB, 1e-3);
    }
    // A device cell of its own: the start follows the cell in use, the end and the current point the
    // requested cell.
    const TextPlacement p = horizontal_text_placement(0.0f, 0.0f, 1, 60.0f, 80.0f, 8.0f, 1.0f, 0.0f);
    EXPECT_NEAR(p.start_x, -30.0f, 1e-4);
    EXPECT_NEAR(p.end_x, 40.0f, 1e-4);
    EXPECT_NEAR(p.next_x, 44.0f, 1e-4);
}

TEST(GraphicsTextPlacement, VerticalJustification)
{
    // 4 cells of height 10 straight up: left-justified hangs from the point, centred straddles it,
    // right-justified stands on it.
    const struct {
        int justification;
        float start_y, end_y;
    } cases[] = {{0, 0.0f, -40.0f}, {1, 20.0f, -20.0f}, {2, 40.0f, 0.0f}};
    for (const auto& c : cases) {
        const TextPlacement p = vertical_text_placement(5.0f, 0.0f, c.justification, 4, 0.0f, 10.0f);
        EXPECT_NEAR(p.start_y, c.start_y, 1e-4) << c.justification;
        EXPECT_NEAR(p.end_y, c.end_y, 1e-4) << c.justification;
        EXPECT_NEAR(p.start_x, 5.0f, 1e-4);
    }
}
