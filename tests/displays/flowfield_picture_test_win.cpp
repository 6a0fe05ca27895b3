// The live flowfield picture in a real main window, read back pixel by pixel: the colours of element
// centres (scale colours, body, unsampled cell) on both backgrounds, and three cells of the colour bar.
#include "app/displays/clear_display_state.h"
#include "app/displays/displays.h"
#include "app/displays/flowfield_properties.h"
#include "app/state/clear_state.h"
#include "app/state/display.h"
#include "app/state/run.h"

#include "../win/win_test_support.h"
#include "flow_box.h"

#include <gtest/gtest.h>

namespace {

// The picture area of the live display: x 0.5..1 and y 0.1..0.68 (from the bottom) of the client; the
// legend strip y 0..0.1.
POINT plane_pixel(float x, float y, int w, int h)
{
    const double fx =
        (double(x) - PLANE_FRAME_LEFT(3)) / (double(PLANE_FRAME_RIGHT(3)) - PLANE_FRAME_LEFT(3));
    const double fy =
        (double(y) - PLANE_FRAME_BOTTOM(3)) / (double(PLANE_FRAME_TOP(3)) - PLANE_FRAME_BOTTOM(3));
    return {static_cast<LONG>((0.5 + 0.5 * fx) * w), static_cast<LONG>(h - 1 - (0.1 + 0.58 * fy) * h)};
}

// Colour i of the bar: x (i - 0.5) / 254 in the strip's units -0.055555..1.055555, y 0.0825 of 0..0.1.
POINT bar_pixel(int i, int w, int h)
{
    const double p = (i - 0.5) / 254.0;
    const double fx = (p + 0.055555) / 1.11111;
    return {static_cast<LONG>((0.5 + 0.5 * fx) * w), static_cast<LONG>(h - 1 - 0.0825 * h)};
}

TEST(FlowfieldPictureScreen, ElementsAndBarInTheirColours)
{
    open_test_main_window();
    clear_every_state_group();
    clear_display_state();
    // The z plane of 2 x 2 divisions of 2 x 2 elements, box 0..4 square; cell c at 100 c K; the element
    // of cell 6 in a body; cell 15 with 10 molecules in 20 samples.
    const float low[3] = {0, 0, 0}, high[3] = {4, 4, 1};
    const int divisions[3] = {2, 2, 1}, elements[3] = {2, 2, 1};
    ASSERT_TRUE(make_flow_box(low, high, divisions, elements));
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 100.0f * c;
    flow_element_cell(2, 2, 1) = -1;
    RESULTS.VAR(VAR_SAMPLE_SIZE, 15) = 10.0f;
    DISPLAY.FLOW_PROPERTY.set(VAR_TEMP);
    DISPLAY.FLOW_PLANE_AXIS.set(3);
    DISPLAY.FLOW_PLANE_DIVISION.set(1);
    DISPLAY.FLOW_PLANE_ELEMENT.set(1);

    const COLORREF BLUE = RGB(0, 0, 255), WHITE = RGB(255, 255, 255), BLACK = RGB(0, 0, 0);
    for (int white : {0, 1}) {
        SCOPED_TRACE(white);
        DISPLAY.FLOW_WHITE_BACKGROUND.set(white);
        WWinSelect(0);
        DRAW_FLOWFIELD_PROPERTIES();
        HWND client = WIN_TABLE.slot[0].client;
        RECT r{};
        GetClientRect(client, &r);
        const int w = r.right, h = r.bottom;
        HDC dc = GetDC(client);
        auto centre = [&](int c) {
            const POINT p = plane_pixel((c - 1) % 4 + 0.5f, (c - 1) / 4 + 0.5f, w, h);
            return GetPixel(dc, p.x, p.y);
        };
        EXPECT_EQ(centre(1), BLUE);                   // colour 1
        EXPECT_EQ(centre(10), RGB(96, 255, 0));       // colour 153
        EXPECT_EQ(centre(16), RGB(255, 12, 0));       // colour 254
        EXPECT_EQ(centre(6), white ? WHITE : BLACK);  // the body
        EXPECT_EQ(centre(15), white ? BLUE : WHITE);  // not well sampled
        for (const auto& [i, colour] : {std::pair{1, BLUE}, {128, RGB(0, 255, 3)}, {254, RGB(255, 12, 0)}}) {
            const POINT p = bar_pixel(i, w, h);
            EXPECT_EQ(GetPixel(dc, p.x, p.y), colour) << "bar colour " << i;
        }
        // The strip left of the bar shows the background.
        EXPECT_EQ(GetPixel(dc, w / 2 + 3, h - 3), white ? WHITE : BLACK);
        ReleaseDC(client, dc);
    }
}

}  // namespace
