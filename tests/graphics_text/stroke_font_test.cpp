// Stroke fonts: the built-in glyph data against the font metrics, the decoder of the stroke text, the
// installer and save slot, and the width tables.

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/stroke_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct BuiltinCase {
    const StrokeFontData* data;
    const char* name;
    float m1, m2, m3, m4;
    int m5, m6, m7;
    char pen_up;    // the pen-up mark the font's data use
    int baseline;   // grid row of the baseline
    int cap;        // grid row of the capitals' top
    int cap_slack;  // how far the outline of a filled font reaches past the centre line
};

const BuiltinCase BUILTINS[] = {
    {&STROKE_FONT_STANDARD, "standard.chr", 7.68f, 11.88f, 6.0f, 11.0f, 8, 1, 0, 'u', 2, 11, 0},
    {&STROKE_FONT_FIXED_PLAIN, "fixed.chr", 36.3f, 55.0f, 55.0f, 55.0f, 8, 0, 0, 'v', 15, 42, 3},
    {&STROKE_FONT_FIXED_BOLD, "fixedbld.chr", 36.3f, 55.0f, 55.0f, 55.0f, 8, 0, 0, 'v', 15, 42, 3},
    {&STROKE_FONT_ROMAN_PLAIN, "roman.chr", 36.3f, 55.0f, 55.0f, 55.0f, 8, 0, 1, 'v', 15, 42, 3},
    {&STROKE_FONT_ROMAN_BOLD, "romanbld.chr", 36.3f, 55.0f, 55.0f, 55.0f, 8, 0, 1, 'v', 15, 42, 3},
    {&STROKE_FONT_SWISS_PLAIN, "swiss.chr", 36.3f, 55.0f, 55.0f, 55.0f, 8, 0, 1, 'v', 15, 42, 3},
    {&STROKE_FONT_SWISS_BOLD, "swissbld.chr", 36.3f, 55.0f, 55.0f, 55.0f, 8, 0, 1, 'v', 15, 42, 3},
    {&STROKE_FONT_SYMBOL, "symbol.chr", 30.25f, 55.0f, 55.0f, 55.0f, 8, 0, 1, 'v', 15, 42, 3},
};

// Installs a built-in font into a fresh record so that the decoder sees it as the renderer does.
GrStrokeFontRecord installed(const StrokeFontData& d)
{
    const GrStrokeFontRecord kept = GrStrokeFont;
    IGrStrokeFontInstall(d.cell_width, d.cell_height, d.x_extent, d.y_extent, d.charset, d.mode,
                         d.proportional, 0, d.name, d.strokes, d.lower, d.upper);
    GrStrokeFontRecord font = GrStrokeFont;
    GrStrokeFont = kept;
    return font;
}

struct Box {
    int x1 = 1000, y1 = 1000, x2 = -1000, y2 = -1000;
    void add(const StrokePoint& p)
    {
        x1 = std::min(x1, p.x);
        y1 = std::min(y1, p.y);
        x2 = std::max(x2, p.x);
        y2 = std::max(y2, p.y);
    }
};

Box glyph_box(const GrStrokeFontRecord& font, int code)
{
    Box box;
    for (const StrokeRun& run : stroke_glyph_runs(font, code)) {
        for (const StrokePoint& p : run) {
            box.add(p);
        }
    }
    return box;
}

}  // namespace

// Every built-in font: its metrics, the shape of its start tables, and every glyph inside the glyph
// box, within the advance it is given (one cell, or its width factor), on the baseline and cap height.
TEST(StrokeFontData, BuiltinFontsFollowTheirMetrics)
{
    IGrCharTables(0);
    for (const BuiltinCase& c : BUILTINS) {
        SCOPED_TRACE(c.name);
        const StrokeFontData& d = *c.data;
        EXPECT_EQ(d.name, c.name);
        EXPECT_EQ(d.cell_width, c.m1);
        EXPECT_EQ(d.cell_height, c.m2);
        EXPECT_EQ(d.x_extent, c.m3);
        EXPECT_EQ(d.y_extent, c.m4);
        EXPECT_EQ(d.charset, c.m5);
        EXPECT_EQ(d.mode, c.m6);
        EXPECT_EQ(d.proportional, c.m7);

        // Start tables: from 1, never falling, 127 closing 126 where 161 begins, the end marker.
        ASSERT_LE(d.strokes.size(), static_cast<std::size_t>(STROKE_TEXT_LENGTH));
        EXPECT_EQ(d.lower.front(), 1);
        EXPECT_TRUE(std::is_sorted(d.lower.begin(), d.lower.end()));
        EXPECT_TRUE(std::is_sorted(d.upper.begin(), d.upper.end()));
        EXPECT_EQ(d.lower.back(), d.upper.front());
        EXPECT_EQ(d.upper.back(), static_cast<int>(d.strokes.size()) + 1);
        for (const char ch : d.strokes) {
            ASSERT_TRUE(stroke_value(ch) >= 0 || ch == c.pen_up) << "character " << ch;
        }

        const GrStrokeFontRecord font = installed(d);
        int glyphs = 0;
        for (int code = 33; code <= 255; ++code) {
            if (code >= 127 && code <= 160) {
                EXPECT_TRUE(stroke_glyph_runs(font, code).empty()) << code;
                continue;
            }
            const std::vector<StrokeRun> runs = stroke_glyph_runs(font, code);
            if (runs.empty()) {
                continue;
            }
            ++glyphs;
            for (const StrokeRun& run : runs) {
                EXPECT_GE(run.size(), d.mode == 0 ? 3u : 2u) << code;
                EXPECT_LE(run.size(), static_cast<std::size_t>(STROKE_RUN_POINTS)) << code;
            }
            // Inside the glyph box, and within the glyph's own advance about the box's centre line.
            const Box box = glyph_box(font, code);
            EXPECT_GE(box.x1, 0) << code;
            EXPECT_GE(box.y1, 0) << code;
            EXPECT_LE(box.x2, d.x_extent) << code;
            EXPECT_LE(box.y2, d.y_extent) << code;
            const float advance = d.cell_width * (d.proportional != 0 ? stroke_width_factor(code) : 1.0f);
            const float half = d.mode == 1 ? d.x_extent / 2.0f : advance / 2.0f;
            EXPECT_GE(box.x1, d.x_extent / 2.0f - half - 0.5f) << code;
            EXPECT_LE(box.x2, d.x_extent / 2.0f + half + 0.5f) << code;
        }
        // Every printable ASCII character has a glyph; the text fonts also the Latin-1 letters.
        for (int code = 33; code <= 126; ++code) {
            EXPECT_FALSE(stroke_glyph_runs(font, code).empty()) << code;
        }
        if (d.name != "symbol.chr") {
            EXPECT_EQ(glyphs, 94 + 95);
        } else {
            EXPECT_GT(glyphs, 94);
        }
        // Capitals stand on the baseline and reach the cap height.
        const Box h = glyph_box(font, 'H');
        EXPECT_NEAR(h.y1, c.baseline, c.cap_slack);
        EXPECT_NEAR(h.y2, c.cap, c.cap_slack);
    }
}

// The few glyph facts of "standard.chr" that others rely on.
TEST(StrokeFontData, StandardFontGlyphs)
{
    const GrStrokeFontRecord font = installed(STROKE_FONT_STANDARD);
    EXPECT_EQ(font.lower[0], 1);
    EXPECT_EQ(font.lower[1], 10);
    EXPECT_EQ(font.lower[2], 19);
    EXPECT_EQ(font.lower[3], 38);
    const std::vector<StrokeRun> bang = stroke_glyph_runs(font, '!');
    ASSERT_EQ(bang.size(), 2u);
    EXPECT_EQ(bang[0].size(), 2u);
    EXPECT_EQ(bang[0][0].x, 3);
    EXPECT_EQ(bang[0][0].y, 2);
    EXPECT_EQ(bang[0][1].y, 3);
    EXPECT_EQ(bang[1][0].y, 6);
    EXPECT_EQ(bang[1][1].y, 11);
    EXPECT_EQ(font.strokes.substr(static_cast<std::size_t>(font.lower['A' - 33] - 1), 11), "023B62u1555");
    // Only the first 16 characters of the alphabet: the strings read as hexadecimal pairs.
    for (const char ch : STROKE_FONT_STANDARD.strokes) {
        EXPECT_TRUE(ch == 'u' || (stroke_value(ch) >= 0 && stroke_value(ch) <= 15)) << ch;
    }
}

// A small font made in the test: glyphs of '!' (33), '"' (34) and '#' (35), the rest empty.
namespace {

void install_fixture(std::string_view strokes, const StrokeStarts& lower, int charset = 8)
{
    StrokeStartsUpper upper;
    upper.fill(lower.back());
    IGrStrokeFontInstall(10.0f, 10.0f, 10.0f, 10.0f, charset, 1, 0, 0, "fixture.chr", strokes, lower, upper);
}

StrokeStarts starts(int a, int b, int c, int rest)
{
    StrokeStarts s;
    s.fill(rest);
    s[0] = a;
    s[1] = b;
    s[2] = c;
    return s;
}

}  // namespace

TEST(StrokeFontDecode, RunsAndPenUps)
{
    // '!': (0,0)-(1,1)-(2,2), pen up, (3,3)-(4,4); '"' ends exactly one character before '#' starts.
    const std::string strokes = "001122u3344"
                                "5566u7788"
                                "99AA";
    install_fixture(strokes, starts(1, 12, 21, 25));
    const std::vector<StrokeRun> bang = stroke_glyph_runs(GrStrokeFont, '!');
    ASSERT_EQ(bang.size(), 2u);
    ASSERT_EQ(bang[0].size(), 3u);
    EXPECT_EQ(bang[0][2].x, 2);
    EXPECT_EQ(bang[1][1].y, 4);
    const std::vector<StrokeRun> quote = stroke_glyph_runs(GrStrokeFont, '"');
    ASSERT_EQ(quote.size(), 2u);
    EXPECT_EQ(quote[1][1].x, 8);  // the last point of the glyph is drawn
    EXPECT_EQ(quote[1][1].y, 8);
    EXPECT_EQ(stroke_glyph_runs(GrStrokeFont, '#').size(), 1u);
    EXPECT_TRUE(stroke_glyph_runs(GrStrokeFont, '$').empty());  // no glyph
    EXPECT_EQ(stroke_value('0'), 0);
    EXPECT_EQ(stroke_value('A'), 10);
    EXPECT_EQ(stroke_value('a'), 36);
    EXPECT_EQ(stroke_value('t'), 55);
    EXPECT_EQ(stroke_value('u'), -1);
    EXPECT_EQ(stroke_value(' '), -1);
}

// Font data handed to the installer are not validated: the decoder must stay inside the stroke text
// whatever the start tables say, and bound the runs.
TEST(StrokeFontDecode, BadDataStaysInside)
{
    struct Case {
        const char* what;
        std::string strokes;
        StrokeStarts lower;
        std::size_t runs;    // runs of '!'
        std::size_t points;  // points of its first run
    };
    const std::string long_run(2 * 200, '5');  // 200 points in one run
    const Case cases[] = {
        {"start 0", "0011", starts(0, 5, 5, 5), 0, 0},
        {"negative start", "0011", starts(-7, 5, 5, 5), 0, 0},
        {"next start before start", "0011", starts(4, 2, 2, 2), 0, 0},
        {"start past the text", "0011", starts(17001, 17005, 17005, 17005), 0, 0},
        {"end past the text", "0011", starts(16999, 99999, 99999, 99999), 0, 0},
        {"one-point run dropped", "00u1122", starts(1, 8, 8, 8), 1, 2},
        {"lone character ends a run", "0011u2", starts(1, 7, 7, 7), 1, 2},
        {"run cut at 150 points", long_run, starts(1, 401, 401, 401), 1, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        install_fixture(c.strokes, c.lower);
        const std::vector<StrokeRun> runs = stroke_glyph_runs(GrStrokeFont, '!');
        ASSERT_EQ(runs.size(), c.runs);
        if (c.runs > 0) {
            EXPECT_EQ(runs[0].size(), c.points);
        }
    }
}

TEST(StrokeFontDecode, CodeMapping)
{
    const struct {
        int code, charset, mapped;
    } cases[] = {
        {31, 8, 32},   {32, 8, 32},   {65, 8, 65},  {126, 8, 126}, {127, 8, 32}, {128, 8, 32}, {160, 8, 32},
        {161, 8, 161}, {255, 8, 255}, {161, 7, 32}, {255, 7, 32},  {65, 7, 65},  {0, 8, 32},   {256, 8, 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stroke_map_code(c.code, c.charset), c.mapped) << c.code << " in set " << c.charset;
    }
}

TEST(StrokeFontInstall, StrokeTextLengthAndSlots)
{
    const StrokeStarts lower = starts(1, 5, 5, 5);
    const std::string exact(STROKE_TEXT_LENGTH, '1');
    install_fixture(exact, lower);
    EXPECT_EQ(GrStrokeFont.strokes, exact);
    install_fixture(exact + "2", lower);
    EXPECT_EQ(GrStrokeFont.strokes, exact);  // the 17001st character is lost
    install_fixture("0011", lower);
    EXPECT_EQ(GrStrokeFont.strokes.size(), static_cast<std::size_t>(STROKE_TEXT_LENGTH));
    EXPECT_EQ(GrStrokeFont.strokes.substr(0, 5), "0011 ");
    EXPECT_EQ(GrStrokeFont.name.size(), static_cast<std::size_t>(STROKE_NAME_LENGTH));
    EXPECT_EQ(GrStrokeFont.name.substr(0, 12), "fixture.chr ");

    // The symbol slot takes the metrics and glyphs, never the main slot's name or bold state.
    GrStrokeFont.bold = 1;
    IGrStrokeFontStandard(1);
    EXPECT_EQ(GrStrokeFont.name.substr(0, 12), "fixture.chr ");
    EXPECT_EQ(GrStrokeFont.bold, 1);
    EXPECT_EQ(GrStrokeFontSymbolSlot.cell_width, 7.68f);
    EXPECT_EQ(GrStrokeFontSymbolSlot.strokes.substr(0, 9), "3233u363B");
    // The main slot: installing clears the bold state.
    IGrStrokeFontStandard();
    EXPECT_EQ(GrStrokeFont.name.substr(0, 13), "standard.chr ");
    EXPECT_EQ(GrStrokeFont.bold, 0);
    EXPECT_EQ(GrStrokeFont.mode, 1);
}

TEST(StrokeFontInstall, InstallersAndSwap)
{
    const struct {
        void (*install)();
        const char* name;
        int proportional;
    } cases[] = {
        {IGrStrokeFontFixedBold, "fixedbld.chr", 0}, {IGrStrokeFontFixedPlain, "fixed.chr", 0},
        {IGrStrokeFontRomanBold, "romanbld.chr", 1}, {IGrStrokeFontRomanPlain, "roman.chr", 1},
        {IGrStrokeFontSwissBold, "swissbld.chr", 1}, {IGrStrokeFontSwissPlain, "swiss.chr", 1},
    };
    for (const auto& c : cases) {
        c.install();
        EXPECT_EQ(GrStrokeFont.name.substr(0, std::string_view(c.name).size() + 1),
                  std::string(c.name) + " ");
        EXPECT_EQ(GrStrokeFont.mode, 0);
        EXPECT_EQ(GrStrokeFont.proportional, c.proportional);
    }
    // Save the swiss font, draw with another, copy it back: every field returns but the bold state.
    IGrStrokeFontSwap(1);
    IGrStrokeFontStandard();
    GrStrokeFont.bold = 1;
    IGrStrokeFontSwap(0);
    EXPECT_EQ(GrStrokeFont.name.substr(0, 10), "swiss.chr ");
    EXPECT_EQ(GrStrokeFont.cell_width, 36.3f);
    EXPECT_EQ(GrStrokeFont.mode, 0);
    EXPECT_EQ(GrStrokeFont.bold, 1);
    EXPECT_EQ(GrStrokeFont.strokes.substr(0, 20), std::string(STROKE_FONT_SWISS_PLAIN.strokes.substr(0, 20)));
}

TEST(StrokeFontTables, RestoreAndRefuse)
{
    IGrCharTables(0);
    EXPECT_FLOAT_EQ(stroke_width_factor(32), 0.70f);
    EXPECT_FLOAT_EQ(stroke_width_factor('W'), 1.50f);
    EXPECT_FLOAT_EQ(stroke_width_factor('i'), 0.46f);
    EXPECT_FLOAT_EQ(stroke_width_factor(126), 0.90f);
    EXPECT_FLOAT_EQ(stroke_width_factor(161), 0.55f);
    EXPECT_FLOAT_EQ(stroke_width_factor(198), 1.49f);
    EXPECT_FLOAT_EQ(stroke_width_factor(255), 0.83f);

    // One code restored alone.
    GrCharWidths.lower['W' - 32] = 3.0f;
    GrCharWidths.lower['M' - 32] = 3.0f;
    IGrCharTables('W');
    EXPECT_FLOAT_EQ(stroke_width_factor('W'), 1.50f);
    EXPECT_FLOAT_EQ(stroke_width_factor('M'), 3.0f);
    GrCharWidths.upper[0] = 3.0f;
    IGrCharTables(0);
    EXPECT_FLOAT_EQ(stroke_width_factor('M'), 1.30f);
    EXPECT_FLOAT_EQ(stroke_width_factor(161), 0.55f);

    // Codes of no table: error 66 and nothing changes.
    for (const int code : {127, 160, 31, 256, -1}) {
        GrCharWidths.lower[0] = 2.0f;
        ERROR_STATE.last_error = 0;
        IGrCharTables(code);
        EXPECT_EQ(ERROR_STATE.last_error, GR_ERR_CHAR_TABLE) << code;
        EXPECT_FLOAT_EQ(GrCharWidths.lower[0], 2.0f);
    }
    IGrCharTables(0);

    // Width in cells: fixed mode counts characters, proportional sums the factors (127 as a blank).
    EXPECT_FLOAT_EQ(stroke_text_cells("iW\x7f", 0, 8), 3.0f);
    EXPECT_FLOAT_EQ(stroke_text_cells("iW\x7f", 1, 8), 0.46f + 1.50f + 0.70f);
    EXPECT_FLOAT_EQ(stroke_text_cells("\xA1", 1, 7), 0.70f);
}

// The code of a text's first character: characters above 127 give 128..255, never a negative code that
// would map a Latin-1 letter of the upper table to a blank.
TEST(StrokeFontTables, CharacterCodeOfTheFirstCharacter)
{
    const struct {
        std::string_view text;
        int code;
    } cases[] = {
        {"A", 65},     {"Ab", 65},        {" x", 32}, {std::string_view("\0z", 2), 0},
        {"\xFF", 255}, {"\xA1rest", 161}, {"", 32},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IStrCharCode(c.text), c.code) << c.text;
    // The upper table's letters keep their own width factors in proportional text.
    IGrCharTables(0);
    EXPECT_FLOAT_EQ(stroke_text_cells("\xC6", 1, 8), 1.49f);
}
