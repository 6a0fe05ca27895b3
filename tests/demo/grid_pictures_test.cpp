// The pictures of divisions, elements and cells on the headless toolkit: what is drawn for a chosen
// plane, the framing of the box, the plane position, the spins' reset on a new axis, the saved picture
// and the order in which windows and dialogs are closed. The box is 20 m on each side (scale factor 1),
// 4 divisions of 2 elements per axis (elements of 2.5 m), around a block 6.9 .. 13.1 m on each axis:
// the four central divisions of every z layer are surface divisions, and the 2 x 2 x 2 elements from
// 7.5 to 12.5 m lie wholly inside the block.
#include "app/geometry/geometry.h"
#include "app/geometry/grid_pictures.h"
#include "base/random.h"
#include "tests/geometry/geometry_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// A rectangle as the headless record shows it, with the colour selected before it.
struct Drawn {
    int colour;
    std::string rectangle;  // "x1 y1 x2 y2"
};

std::vector<Drawn> rectangles()
{
    std::vector<Drawn> out;
    int colour = -1;
    for (const std::string& c : HEADLESS.calls) {
        if (c.rfind("IGrColourN ", 0) == 0)
            colour = std::stoi(c.substr(11));
        else if (c.rfind("IGrRectangle ", 0) == 0)
            out.push_back({colour, c.substr(13)});
    }
    return out;
}

int count_colour(const std::vector<Drawn>& drawn, int colour)
{
    return static_cast<int>(
        std::count_if(drawn.begin(), drawn.end(), [&](const Drawn& d) { return d.colour == colour; }));
}

// The text that dialog 138 holds in a field.
std::string field_text(int field)
{
    return HEADLESS.texts[std::make_pair(138, field)];
}

// Index of the first recorded call that begins with the text, or -1.
int position_of(const std::string& prefix)
{
    for (size_t i = 0; i < HEADLESS.calls.size(); ++i)
        if (HEADLESS.calls[i].rfind(prefix, 0) == 0)
            return static_cast<int>(i);
    return -1;
}

class GridPicturesTest : public GeometryRunTest {
protected:
    void SetUp() override
    {
        GeometryRunTest::SetUp();
        keep = RANDOM_STATE;
        set_box(0.0f, 20.0f, 4, 2);
        set_surfaces({block(6.9f, 13.1f, 6.9f, 13.1f, 6.9f, 13.1f)});
    }
    void TearDown() override
    {
        RANDOM_STATE = keep;
        GeometryRunTest::TearDown();
    }
    // The plane that the next picture reads from dialog 138: axis 1..3 and division, element.
    static void choose_plane(int axis, int division, int element)
    {
        HEADLESS.radio[std::make_pair(138, 1005)] = axis;
        HEADLESS.integers[std::make_pair(138, 1015)] = division;
        HEADLESS.integers[std::make_pair(138, 1046)] = element;
    }
    RandomState keep;
};

TEST_F(GridPicturesTest, DivisionsPictureColoursLevelsCutAndInsideElements)
{
    SET_DIVISIONS_AND_ELEMENTS();
    choose_plane(3, 1, 1);
    DRAW_DIVISIONS_AND_ELEMENTS();  // the axis read (z) is remembered for the next call
    HEADLESS.reset();
    choose_plane(3, 2, 2);  // z from 7.5 to 10 m
    DRAW_DIVISIONS_AND_ELEMENTS();

    const std::vector<Drawn> drawn = rectangles();
    ASSERT_EQ(drawn.size(), 12u + 4u * 4u);   // 12 flow divisions whole, 4 surface divisions by element
    EXPECT_EQ(count_colour(drawn, 0), 4);     // the elements wholly inside the block
    EXPECT_EQ(count_colour(drawn, 208), 12);  // the elements that the block's faces cut
    const int level_colour = static_cast<int>(1.0f / float(DIVISIONS.MAX_DIVISION_LEVEL) * 160.0f + 32.0f);
    EXPECT_EQ(count_colour(drawn, level_colour), 12) << "every division around the block is at level 1";
    // The first division drawn is x 1, y 1; the element inside the block at x, y 7.5 .. 10 m is black.
    EXPECT_EQ(drawn[0].rectangle, "0 0 5 5");
    const auto inside =
        std::find_if(drawn.begin(), drawn.end(), [](const Drawn& d) { return d.colour == 0; });
    EXPECT_EQ(inside->rectangle, "7.5 7.5 10 10");
    EXPECT_EQ(field_text(1007), "8.750000    ");  // (G13.7): four trailing blanks;

    // Opening and closing: the legend with "Stop Program" cleared, the window at its place, and both
    // dialogs unloaded once the window is closed.
    EXPECT_GE(position_of("WDialogPutCheckBox 1081 0"), 0);
    EXPECT_GE(
        position_of("WWinOpenChild 7 135 23 878 690 |Flowfield Divisions and Elements in Specified Planes"),
        0);
    EXPECT_LT(position_of("WWinCloseChild 1"), position_of("WDialogUnload 138"));
    EXPECT_TRUE(HEADLESS.loaded_dialogs.empty());
    EXPECT_EQ(HEADLESS.count("IGrSaveImage"), 0);
}

TEST_F(GridPicturesTest, CellsPicturePaintsElementsByCellAndSavesThePicture)
{
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    choose_plane(3, 1, 1);
    DRAW_CELLS();  // the axis read (z) is remembered for the next call
    HEADLESS.reset();
    choose_plane(3, 2, 2);
    DRAW_CELLS();

    const std::vector<Drawn> drawn = rectangles();
    ASSERT_EQ(drawn.size(), 64u);          // every element of the plane
    EXPECT_EQ(count_colour(drawn, 0), 4);  // no cell inside the block
    for (const Drawn& d : drawn)
        if (d.colour != 0) {
            EXPECT_GE(d.colour, 16);
            EXPECT_LE(d.colour, 205);
        }
    // Box 20 x 20 in a window of aspect 1.2725: 5 % above and below, the width padded to the aspect.
    EXPECT_EQ(HEADLESS.count("IGrUnits -3.725 -1 23.725 21"), 1);
    EXPECT_EQ(HEADLESS.count("IGrFillPattern 4"), 1);
    // Saved after the last drawing, before the window closes.
    EXPECT_GT(position_of("IGrSaveImage DSCELLS.BMP"), position_of("WMsgWait 9"));
    EXPECT_LT(position_of("IGrSaveImage DSCELLS.BMP"), position_of("WWinCloseChild 1"));
    EXPECT_TRUE(HEADLESS.loaded_dialogs.empty());
}

// "Stop Program" of the legend: checked by the user while the divisions picture is up, the next
// drawing pass stops the program instead of drawing; left clear, the picture draws again.
TEST_F(GridPicturesTest, StopProgramCheckBoxStopsBeforeTheNextDrawing)
{
    SET_DIVISIONS_AND_ELEMENTS();
    for (int checked : {0, 1}) {
        HEADLESS.reset();
        choose_plane(3, 1, 1);
        HEADLESS.wait_hook = [checked](int& type, WinMessage&) {
            if (HEADLESS.count("WMsgWait") == 0) {  // the first wait; a close request after it
                HEADLESS.checks[std::make_pair(104, 1081)] = checked;  // the user's click
                type = MsgFieldChanged;
            }
        };
        bool stopped = false;
        try {
            DRAW_DIVISIONS_AND_ELEMENTS();
        } catch (const ProgramStopRequest&) {
            stopped = true;
        }
        EXPECT_EQ(stopped, checked == 1);
        const size_t per_picture = 16;  // 4 x 4 divisions of the z layer 1, none cut by the block
        EXPECT_EQ(rectangles().size(), (checked ? 1 : 2) * per_picture) << "checked " << checked;
    }
}

// The elements of one cell share a colour, and a message other than a close request draws again.
TEST_F(GridPicturesTest, AnyOtherMessageDrawsAgainWithTheSameColours)
{
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    HEADLESS.reset();
    choose_plane(3, 1, 1);
    HEADLESS.wait_types = {MsgFieldChanged, MsgKey};
    DRAW_CELLS();
    const std::vector<Drawn> drawn = rectangles();
    ASSERT_EQ(drawn.size(), 3u * 64u);
    for (size_t i = 0; i < 64; ++i) {
        EXPECT_EQ(drawn[i].colour, drawn[64 + i].colour);
        EXPECT_EQ(drawn[i].colour, drawn[128 + i].colour);
    }
    EXPECT_EQ(HEADLESS.count("IGrSaveImage DSCELLS.BMP"), 1);
}

// A new axis starts at division 1, element 1; the same axis keeps what the spins hold. A division
// outside the range (an emptied field reads -999) is taken as the nearest in range.
TEST_F(GridPicturesTest, NewAxisResetsTheSpinsSameAxisKeepsThem)
{
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    choose_plane(2, 1, 1);
    DRAW_CELLS();
    choose_plane(1, 3, 2);
    DRAW_CELLS();
    EXPECT_EQ(field_text(1007), "1.250000    ");  // x division 1, element 1
    choose_plane(1, 3, 2);
    DRAW_CELLS();
    EXPECT_EQ(field_text(1007), "13.75000    ");  // x division 3, element 2
    choose_plane(1, 9, -999);
    DRAW_CELLS();
    EXPECT_EQ(field_text(1007), "16.25000    ");  // x division 4, element 1
}

// A box wider than 1.2725 times its height gets 5 % margins at the sides and is centred in height.
TEST_F(GridPicturesTest, WideBoxIsFramedAtItsSides)
{
    set_box(0.0f, 20.0f, 4, 2);
    BOX.YMAX = 10.0f;
    set_surfaces({});
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    HEADLESS.reset();
    choose_plane(3, 1, 1);
    DRAW_CELLS();
    EXPECT_EQ(HEADLESS.count("IGrUnits -1 -4.6375 21 14.6375"), 1);
}

}  // namespace
