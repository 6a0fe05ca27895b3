// Graphics text through a recording screen device: angle and size settings, font choice, stroke glyph
// output, hardware text with its whole-character clipping, stroke substitutes and number text.

#include "toolkit/graphics/graphics_text.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/stroke_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Seen {
    int op;
    GrPrimitiveBlockRecord block;
    int line_width;
};
std::vector<Seen> SEEN;

int MEASURED_WIDTH = -1;  // what the screen answers to op 25 (pixels), -1 no answer

void record(int op)
{
    SEEN.push_back({op, GrPrimitiveBlock, GrLineState.line_width});
    if (op == GrOpTextWidth && MEASURED_WIDTH >= 0) {
        GrPrimitiveBlock.NVAL = MEASURED_WIDTH;
        GrPrimitiveBlock.NPTS = 1;
    }
}

std::vector<Seen> seen_ops(int op)
{
    std::vector<Seen> out;
    std::copy_if(SEEN.begin(), SEEN.end(), std::back_inserter(out),
                 [op](const Seen& s) { return s.op == op; });
    return out;
}

std::string block_text(const Seen& s)
{
    return std::string(s.block.TEXT.data(), static_cast<std::size_t>(s.block.IX(1)));
}

// The graphics state of a 640 x 480 window, screen output only, the standard stroke font installed.
class GraphicsText : public ::testing::Test {
protected:
    void SetUp() override
    {
        gr_records_clear();
        GrOutputSwitch.screen = 1;
        GrOutputSwitch.hardcopy = 0;
        GrScreenDevice = record;
        IGrColourTableInit();
        IGrSurfaceSetup(1, 0, 640, 480);
        IGrCharTables(0);
        IGrStrokeFontStandard();
        ERROR_STATE = ErrorState{};
        SEEN.clear();
        MEASURED_WIDTH = -1;
    }
    void TearDown() override
    {
        GrScreenDevice = nullptr;
        GrOutputSwitch = GrOutputSwitchRecord{};
    }
    // The requested cell in device units.
    static float cell_w() { return GrTextState.char_width * GrDeviceArea.width; }
    static float cell_h() { return GrTextState.char_height * GrDeviceArea.height; }
};

TEST_F(GraphicsText, TextAngleKeepsItsRangeAndTheAspectFactor)
{
    const struct {
        float in, out;
    } cases[] = {{-90.0f, 270.0f}, {720.0f, 0.0f}, {359.5f, 359.5f}};
    for (const auto& c : cases) {
        SEEN.clear();
        IGrTextAngle(c.in);
        EXPECT_FLOAT_EQ(GrTextState.angle, c.out);
        EXPECT_EQ(seen_ops(GrOpTextAngle).size(), 1u);
    }
    // K from the user ranges and area fractions kept at the last change: x range twice the y range.
    GrUnits.text_x_range = 2.0f;
    GrUnits.text_y_range = 1.0f;
    IGrTextAngle(30.0f);
    EXPECT_NEAR(GrTextState.angle_cos, std::cos(3.14159265 / 6), 1e-6);
    EXPECT_NEAR(GrTextState.angle_sin_aspect, 2 * 0.5, 1e-6);
    EXPECT_NEAR(GrTextState.angle_sin_aspect2, 0.5 / 2, 1e-6);
    // A zero range gives no division by zero: K stays 1.
    GrUnits.text_y_range = 0.0f;
    IGrTextAngle(30.0f);
    EXPECT_NEAR(GrTextState.angle_sin_aspect, 0.5, 1e-6);
}

TEST_F(GraphicsText, CharacterScaleAndSize)
{
    gr_char_scale(0.0f, 2.0f);
    EXPECT_FLOAT_EQ(GrTextState.char_width, 1.0f / 75.0f);
    EXPECT_FLOAT_EQ(GrTextState.char_height, 2.0f / 25.0f);
    EXPECT_EQ(seen_ops(GrOpFont).size(), 1u);  // op 21 to the screen (no stroke font in use)
    // With the screen off the screen's cells per surface side come from the request.
    GrOutputSwitch.screen = 0;
    GrArea.width = 0.5f;
    IGrCharSize(0.02f, 0.05f);
    EXPECT_NEAR(GrTextState.screen_cells_x, 1.0 / (0.5 * 0.02), 1e-3);
}

TEST_F(GraphicsText, FontChoice)
{
    // Face 0 without a name: error 1058, effective face 2 for proportional text, 1 for fixed.
    gr_char_font(100);
    EXPECT_EQ(ERROR_STATE.last_error, GR_ERR_NO_FACE_NAME);
    EXPECT_EQ(GrTextState.hardware_face, 0);
    EXPECT_EQ(GrTextState.effective_face, 2);
    ERROR_STATE = ErrorState{};
    gr_char_font(100, {}, {}, {}, {}, 1);
    EXPECT_EQ(ERROR_STATE.last_error, GR_ERR_NO_FACE_NAME);
    EXPECT_EQ(GrTextState.effective_face, 1);
    // A name given in the same call counts.
    ERROR_STATE = ErrorState{};
    gr_char_font(100, {}, {}, {}, "Verdana");
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    EXPECT_EQ(std::string(GrTextState.face_name.data(), 8), "Verdana ");

    gr_char_font(101);
    EXPECT_EQ(GrTextState.text_mode, 0);
    EXPECT_EQ(GrTextState.effective_face, 1);
    gr_char_font(102);
    EXPECT_EQ(GrTextState.text_mode, 2);
    EXPECT_EQ(GrTextState.effective_face, 2);

    // The stroke font: its spacing; bold switches a filled family to its other weight; italic slants.
    IGrStrokeFontSwiss();
    gr_char_font(1);
    EXPECT_EQ(GrTextState.font_kind, 1);
    EXPECT_EQ(GrTextState.text_mode, 1);
    gr_char_font({}, 3);
    EXPECT_EQ(GrStrokeFont.name.substr(0, 13), "swissbld.chr ");
    EXPECT_EQ(GrStrokeFont.bold, 1);
    EXPECT_FLOAT_EQ(GrTextState.slant, ITALIC_SLANT);
    gr_char_font({}, 0);
    EXPECT_EQ(GrStrokeFont.name.substr(0, 10), "swiss.chr ");
    EXPECT_FLOAT_EQ(GrTextState.slant, 0.0f);
    gr_char_font({}, {}, {}, {}, {}, 1);
    EXPECT_EQ(GrTextState.text_mode, 0);
    gr_char_font({}, {}, {}, {}, {}, 0);
    EXPECT_EQ(GrTextState.text_mode, 1);
    // Sizes of 0 or less are not taken.
    gr_char_font({}, {}, -1.0f, 0.05f);
    EXPECT_FLOAT_EQ(GrTextState.char_width, 0.01333333f);
    EXPECT_FLOAT_EQ(GrTextState.char_height, 0.05f);
}

// Stroked glyphs: two-point runs as lines, longer runs as polylines; bold doubles the line width for
// the text and restores it. Filled glyphs: solid polygons flagged as glyphs, the fill style restored.
TEST_F(GraphicsText, StrokeGlyphOutput)
{
    GrLineState.line_width = 3;
    GrTextState.style = 1;
    IGrStrokeGlyphs(100.0f, 100.0f, "A", 20.0f, 30.0f);
    std::vector<int> ops;
    for (const Seen& s : SEEN) {
        ops.push_back(s.op);
    }
    EXPECT_EQ(ops, (std::vector<int>{GrOpLineWidth, GrOpPolyline, GrOpLine, GrOpLineWidth}));
    EXPECT_EQ(SEEN[0].line_width, 6);
    EXPECT_EQ(SEEN[1].block.NPTS, 3);
    EXPECT_EQ(SEEN[3].line_width, 3);
    EXPECT_EQ(GrLineState.line_width, 3);

    SEEN.clear();
    GrTextState.style = 0;
    IGrStrokeFontRomanPlain();
    GrPrimitiveBlock.FILL(FILL_STYLE) = 1;
    IGrStrokeGlyphs(100.0f, 100.0f, "O", 20.0f, 30.0f);
    ASSERT_FALSE(SEEN.empty());
    for (const Seen& s : SEEN) {
        EXPECT_EQ(s.op, GrOpPolygonSolid);
        EXPECT_EQ(s.block.FILL(FILL_STYLE), 4);
        EXPECT_EQ(s.block.FILL(FILL_TEXT_WORD), 1);
    }
    EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_STYLE), 1);
    EXPECT_EQ(GrPrimitiveBlock.FILL(FILL_TEXT_WORD), 0);
}

// Centred stroke text of 10 fixed cells starts 5 cells before its point; the current point goes half a
// cell past the middle.
TEST_F(GraphicsText, CentredStrokeTextAndCurrentPoint)
{
    gr_char_font(1);
    GrTextState.justification = 1;
    gr_char_out(0.5f, 0.5f, "!!!!!!!!!!");
    const std::vector<Seen> lines = seen_ops(GrOpLine);
    ASSERT_EQ(lines.size(), 20u);  // two runs per "!"
    float px = 0.0f, py = 0.0f;
    IGrUserToDevice(0.5f, 0.5f, px, py);
    // The bar of "!" lies at grid x 3, the middle of the glyph box, which is centred in its cell.
    EXPECT_NEAR(lines[0].block.X(1), px - 5 * cell_w() + cell_w() / 2, 1e-3);
    EXPECT_NEAR(lines[18].block.X(1), px + 4 * cell_w() + cell_w() / 2, 1e-3);
    float cx = 0.0f, cy = 0.0f;
    IGrUserToDevice(GrCurrentPoint.x, GrCurrentPoint.y, cx, cy);
    EXPECT_NEAR(cx, px + 5.5f * cell_w(), 1e-2);
    EXPECT_NEAR(cy, py, 1e-3);
}

// Hardware text whose first cells stick out of the area loses whole characters from its start.
TEST_F(GraphicsText, HardwareTextClipsWholeCharacters)
{
    GrTextState.justification = 0;
    float ux = 0.0f, uy = 0.0f;
    IGrDeviceToUser(GrDeviceArea.x1 - 1.5f * cell_w(), 240.0f, ux, uy);
    gr_char_out(ux, uy, "ABCDEF");
    const std::vector<Seen> text = seen_ops(GrOpText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(block_text(text[0]), "CDEF");
    EXPECT_NEAR(text[0].block.X(1), GrDeviceArea.x1 + 0.5f * cell_w(), 1e-3);
    // Wholly outside: nothing is sent.
    SEEN.clear();
    gr_char_out(-5.0f, 0.5f, "ABC");
    EXPECT_TRUE(seen_ops(GrOpText).empty());
}

// A device that cannot turn text gets a stroke substitute of the effective face's family; the active
// stroke font and the slant come back afterwards.
TEST_F(GraphicsText, StrokeSubstituteForTurnedText)
{
    GrDeviceInfo.text_real[0] = -1.0f;     // no smallest size
    GrDeviceInfo.angle_resolution[0] = 1;  // level text only
    GrTextState.style = 2;
    IGrTextAngle(45.0f);
    SEEN.clear();
    gr_char_out(0.5f, 0.5f, "Ab");
    EXPECT_TRUE(seen_ops(GrOpText).empty());
    EXPECT_FALSE(seen_ops(GrOpPolygonSolid).empty());
    EXPECT_EQ(GrStrokeFont.name.substr(0, 13), "standard.chr ");
    EXPECT_FLOAT_EQ(GrTextState.slant, 0.0f);
    // Level text on that device is hardware text again.
    IGrTextAngle(0.5f);
    SEEN.clear();
    gr_char_out(0.5f, 0.5f, "Ab");
    EXPECT_EQ(seen_ops(GrOpText).size(), 1u);
}

// Text that the screen measures (proportional, face 2) is centred on its point across the width the
// screen measured, whatever the requested cell. Fault: the screen's cell was used only when a height
// was known as well, so the measured cells were multiplied by the requested cell width instead.
TEST_F(GraphicsText, MeasuredTextIsCentredOnItsPoint)
{
    GrDeviceInfo.text_real[0] = 1.7e38f;  // the screen draws its own fonts
    gr_char_font(102, 0, 0.03f, 0.05f);
    GrTextState.justification = 1;
    GrTextState.screen_cells_x = 80.0f;  // the average letter, as the screen's font reported it
    GrTextState.screen_cells_y = 0.0f;
    MEASURED_WIDTH = 60;
    SEEN.clear();
    gr_char_out(0.5f, 0.5f, "Ab 1.0");
    const std::vector<Seen> text = seen_ops(GrOpText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(block_text(text[0]), "Ab 1.0");
    float px = 0.0f, py = 0.0f;
    IGrUserToDevice(0.5f, 0.5f, px, py);
    EXPECT_NEAR(text[0].block.X(1), px - 30.0f, 1e-2);
    EXPECT_NEAR(text[0].block.X(3), px + 30.0f, 1e-2);
    EXPECT_NEAR(text[0].block.Y(1), py, 1e-3);
}

// Widths in cells: fixed text counts characters; measured text asks the screen (op 25) and converts
// its pixels with the screen's cells; without an answer, and in mode 1, the width factors add up.
TEST_F(GraphicsText, HardTextWidth)
{
    GrTextState.text_mode = 0;
    EXPECT_FLOAT_EQ(IGrHardTextWidth("Wil"), 3.0f);
    GrTextState.text_mode = 1;
    EXPECT_FLOAT_EQ(IGrHardTextWidth("Wil"), 1.50f + 0.46f + 0.46f);
    EXPECT_TRUE(seen_ops(GrOpTextWidth).empty());
    GrTextState.text_mode = 2;
    GrTextState.screen_cells_x = 80.0f;
    MEASURED_WIDTH = 24;
    EXPECT_NEAR(IGrHardTextWidth("Wil"), 24.0 * 80.0 / GrSurface.extent_x, 1e-5);
    const std::vector<Seen> asked = seen_ops(GrOpTextWidth);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].block.NVAL, 3);
    EXPECT_EQ(std::string(asked[0].block.TEXT.data(), 3), "Wil");
    EXPECT_FLOAT_EQ(IGrHardTextWidth("Wil", 1), 1.50f + 0.46f + 0.46f);  // the hardware flag: no asking
    MEASURED_WIDTH = -1;
    EXPECT_FLOAT_EQ(IGrHardTextWidth("Wil"), 1.50f + 0.46f + 0.46f);
}

// Style bit 8: the box behind the text is filled in the previous colour before the glyphs, and the
// colours come back.
TEST_F(GraphicsText, TextOnAFilledBox)
{
    gr_char_font(1, 8);
    gr_colour_n(31);
    gr_colour_n(223);
    SEEN.clear();
    gr_char_out(0.2f, 0.5f, "AB");
    ASSERT_GE(SEEN.size(), 3u);
    EXPECT_EQ(SEEN[0].op, GrOpColour);
    EXPECT_EQ(SEEN[1].op, GrOpPolygonSolid);
    EXPECT_EQ(SEEN[1].block.NPTS, 4);
    EXPECT_EQ(SEEN[2].op, GrOpColour);
    EXPECT_EQ(GrColourState.number[GR_CURRENT], 223);
    EXPECT_EQ(GrColourState.number[GR_PREVIOUS], 31);
    EXPECT_FALSE(seen_ops(GrOpPolyline).empty());  // then the glyphs
}

TEST_F(GraphicsText, NumberText)
{
    IGrCharSize(0.001f, 0.01f);
    GrTextState.justification = 0;
    GrTextState.number_justification = 2;
    SEEN.clear();
    gr_integer_out(0.0f, 0.5f, 42);
    std::vector<Seen> text = seen_ops(GrOpText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(block_text(text[0]), "         42");  // "(I11)"
    SEEN.clear();
    GrTextState.number_justification = 0;
    gr_integer_out(0.0f, 0.5f, -7, 150);  // the width is capped at 100
    text = seen_ops(GrOpText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].block.IX(1), 100);
    EXPECT_EQ(block_text(text[0]).substr(0, 3), "-7 ");
    SEEN.clear();
    GrTextState.number_justification = 1;
    gr_real_out(0.0f, 0.5f, 1.5f, "(F7.2)");
    text = seen_ops(GrOpText);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(block_text(text[0]), " 1.50  ");
}

}  // namespace
