// Window text, portable part: colour rules, unit conversions and in-line codes.

#include "toolkit/graphics/window_text.h"

#include "toolkit/graphics/hardcopy_dispatch.h"

#include <gtest/gtest.h>

TEST(WindowTextColours, Rules)
{
    const struct {
        int text, background;  // requested
        int want_text, want_background;
    } cases[] = {
        {16, 16, 16, 17},  // the system text colour on the system window colour
        {-1, 3, 4, 3},     // text kept, background taken
        {17, 15, 4, 15},   // 17 is no text colour
        {0, -5, 0, 2},     // background kept
        {9, 17, 9, 2},     // 17 cannot be asked for directly
    };
    WGrTextState.text_colour = 4;
    WGrTextState.background_colour = 2;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << "," << c.background);
        const int kept_text = WGrTextState.text_colour, kept_background = WGrTextState.background_colour;
        WGrTextColour(c.text, c.background);
        EXPECT_EQ(WGrTextState.text_colour, c.want_text);
        EXPECT_EQ(WGrTextState.background_colour, c.want_background);
        EXPECT_EQ(WGrTextDrawing.text_colour, c.want_text);
        EXPECT_EQ(WGrTextDrawing.background_colour, c.want_background);
        WGrTextState.text_colour = kept_text;
        WGrTextState.background_colour = kept_background;
    }
    WGrTextColourDefine(3, 1, 2, 3);
    EXPECT_EQ(WGrTextColours[3], 1 + 2 * 256 + 3 * 65536);
    WGrTextColourDefine(18, 1, 2, 3);  // out of the table: ignored
    WGrTextColours = WGR_TEXT_DEFAULT_COLOURS;
    EXPECT_EQ(WGrTextColours[9], 0x0000FF);
    EXPECT_EQ(WGrTextColours[13], 0xFF0000);

    WGrTextUnderlineSet(7);
    EXPECT_EQ(WGrTextState.underline, 1);
    EXPECT_EQ(WGrTextDrawing.underline, 1);
    WGrTextUnderlineSet(0);
    EXPECT_EQ(WGrTextDrawing.underline, 0);
    // The flag forwarder of the layout's attribute codes: any non-zero flag is 1.
    WGrTextFlagSet(-3);
    EXPECT_EQ(WGrTextState.underline, 1);
    EXPECT_EQ(WGrTextDrawing.underline, 1);
    WGrTextFlagSet(0);
    EXPECT_EQ(WGrTextState.underline, 0);
    EXPECT_EQ(WGrTextDrawing.underline, 0);
}

TEST(WindowTextUnits, PixelsAndUnits)
{
    EXPECT_EQ(window_pixels_to_units(0, 1000), 4);  // trunc(0.5 x 9999 / 1000)
    EXPECT_EQ(window_pixels_to_units(999, 1000), 9994);
    EXPECT_EQ(window_pixels_to_units(500, 1), 0);
    EXPECT_EQ(window_pixels_to_units(500, 0), 0);
    EXPECT_EQ(window_units_to_pixels(9999, 1000), 999);
    EXPECT_EQ(window_units_to_pixels(5000, 1000), 499);
    EXPECT_EQ(window_units_to_pixels(0, 1000), 0);
    // The product comes first: no overflow and no lost precision for large windows.
    EXPECT_EQ(window_units_to_pixels(9999, 60000), 59999);
    // The two conversions are not exact inverses (extent - 1 one way, extent the other): a pixel
    // position kept in units comes back at most one pixel short.
    for (int p = 0; p < 718; p += 37) {
        const int back = window_units_to_pixels(window_pixels_to_units(p, 718), 718);
        EXPECT_GE(back, p - 1) << p;
        EXPECT_LE(back, p) << p;
    }
}

TEST(WindowTextCodes, StripMarkers)
{
    const struct {
        const char* text;
        const char* copy;
    } cases[] = {
        {"x~1y~0z", "xyz"}, {"a~~b", "a~b"},      {"x~Zy", "xy"}, {"ab~", "ab"},
        {"ab~   ", "ab"},   {"plain  ", "plain"}, {"~~~~", "~~"}, {"", ""},
    };
    for (const auto& c : cases) {
        std::string copy = "old";
        int length = -1;
        WGrTextStripMarkers(c.text, '~', copy, length);
        EXPECT_EQ(copy, c.copy) << c.text;
        EXPECT_EQ(length, static_cast<int>(copy.size()));
    }
}

TEST(WindowTextCodes, Pieces)
{
    WindowTextPiece start;
    start.text_colour = 2;
    start.background_colour = 17;

    // x, then y in bold, then z in the starting style.
    auto p = window_text_pieces("x~1y~0z", '~', start);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].text, "x");
    EXPECT_EQ(p[0].bold, 0);
    EXPECT_EQ(p[1].text, "y");
    EXPECT_EQ(p[1].bold, 1);
    EXPECT_EQ(p[2].text, "z");
    EXPECT_EQ(p[2].bold, 0);
    EXPECT_EQ(p[2].background_colour, 17);  // the restored background keeps 17

    // Two markers draw one; an unknown code draws nothing and changes nothing.
    p = window_text_pieces("a~~b", '~', start);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].text, "a~b");
    p = window_text_pieces("x~Zy", '~', start);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].text, "xy");

    // Italic, underline, colours: "A".."Q" the background (Q = 16 stored as 17), "a".."q" the text.
    p = window_text_pieces("~3i~5u~Bb~jt~Qq  ", '~', start);
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0].italic, 1);
    EXPECT_EQ(p[1].underline, 1);
    EXPECT_EQ(p[2].background_colour, 1);
    EXPECT_EQ(p[3].text_colour, 9);
    EXPECT_EQ(p[4].background_colour, 17);
    EXPECT_EQ(p[4].text, "q");
    EXPECT_EQ(p[4].italic, 1);

    // A marker as the last non-blank character ends the text.
    p = window_text_pieces("ab~  ", '~', start);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].text, "ab");
}
