// The state of the section display and of the surface display window: their values on opening, what
// a reopening keeps, the plane coordinate and the streamline store's size.
#include "app/displays/section_state.h"
#include "app/displays/surface_window_state.h"

#include "display_case.h"

namespace {

using DisplayStateTest = DisplayCaseTest;

TEST_F(DisplayStateTest, SectionPlaneIsTheCentreOfTheFirstElementLayer)
{
    load_case(1);  // delta wing: scale factor 20, z from 0 to 10 (stored)
    ASSERT_FLOAT_EQ(BOX.SCALE_FACTOR, 20.0f);
    open_section_display_state();
    EXPECT_EQ(SECTION.JSDIR.current, 3);
    EXPECT_NEAR(SECTION.SECTION_PLANE_POSITION, 0.2083333f, 1e-6f);
    EXPECT_FLOAT_EQ(SECTION.SECTION_PLANE_POSITION, BOX.ZMIN + 0.5f * DIVISIONS.ELEMENT_WIDTH_Z);
    // Division 2, element 3 along x: one division width and two and a half element widths in.
    EXPECT_FLOAT_EQ(element_layer_centre(1, 2, 3),
                    BOX.XMIN + DIVISIONS.DIVISION_WIDTH_X + 2.5f * DIVISIONS.ELEMENT_WIDTH_X);
}

TEST_F(DisplayStateTest, ReopeningKeepsCounterLinesAndPicksAndResetsTheRest)
{
    load_case(1);
    open_section_display_state();
    SECTION.JSDIR.set(1);
    SECTION.SECTION_DIVISION.set(4);
    SECTION.SECTION_PROPERTY.set(20);
    SECTION.SECTION_SPECIES.set(2);
    SECTION.SECTION_LOG_SCALE.set(1);
    SECTION.SECTION_WHITE_BACKGROUND.set(1);
    SECTION.SECTION_POINT_SHOWN = 1;
    SECTION.SECTION_PICK_X = 1.5f;
    SECTION.SECTION_POINT_Z = 2.5f;
    DISPLAY.FLOW_COLOUR_MAP.set(2);
    DISPLAY.FLOW_LINE_COUNT = 3;
    DISPLAY.FLOW_LINE_X[2] = 4.0f;
    RUN.PICTURE_COUNTER = 9;

    open_section_display_state();
    EXPECT_EQ(SECTION.JSDIR.current, 3);
    EXPECT_EQ(SECTION.JSDIR.previous, 3);
    EXPECT_EQ(SECTION.SECTION_DIVISION.current, 1);
    EXPECT_EQ(SECTION.SECTION_PROPERTY.current, 10);
    EXPECT_EQ(SECTION.SECTION_SPECIES.current, 1);
    EXPECT_EQ(SECTION.SECTION_LOG_SCALE.current, 0);
    EXPECT_EQ(SECTION.SECTION_WHITE_BACKGROUND.current, 0);
    EXPECT_EQ(SECTION.SECTION_POINT_SHOWN, 0);
    EXPECT_EQ(DISPLAY.FLOW_COLOUR_MAP.current, 1);
    EXPECT_EQ(DISPLAY.FLOW_LINE_COUNT, 0);
    EXPECT_EQ(DISPLAY.FLOW_LINE_X[2], 4.0f) << "the line store keeps its points";
    EXPECT_EQ(SECTION.SECTION_PICK_X, 1.5f);
    EXPECT_EQ(SECTION.SECTION_POINT_Z, 2.5f);
    EXPECT_EQ(RUN.PICTURE_COUNTER, 9);
}

TEST_F(DisplayStateTest, StreamlineStoreSpansTheElementsOfTheThreeAxes)
{
    load_case(1);
    const int dm1 = BOX.DIVISIONS_X * BOX.ELEMENTS_PER_DIVISION_X +
                    BOX.DIVISIONS_Y * BOX.ELEMENTS_PER_DIVISION_Y +
                    BOX.DIVISIONS_Z * BOX.ELEMENTS_PER_DIVISION_Z;
    EXPECT_EQ(dm1, 126);
    EXPECT_EQ(streamline_max_points(), 126);
    BOX.DIVISIONS_X = BOX.DIVISIONS_Y = BOX.DIVISIONS_Z = 4;
    BOX.ELEMENTS_PER_DIVISION_X = BOX.ELEMENTS_PER_DIVISION_Y = BOX.ELEMENTS_PER_DIVISION_Z = 5;
    EXPECT_EQ(streamline_max_points(), 60);
}

TEST_F(DisplayStateTest, SurfaceWindowOpensAfreshAndFreesItsArrays)
{
    load_case(1);
    S3D.S3D_PROPERTY = 7;
    S3D.S3D_SPECIES = 2;
    S3D.STREAMLINE_COUNT = 5;
    S3D.S3D_SELECTED_SOLID = 12;
    S3D.S3D_SHOW_AXES = 1;
    open_surface_window_state();
    EXPECT_EQ(S3D.S3D_PROPERTY, 3);
    EXPECT_EQ(S3D.S3D_SPECIES, 1);
    EXPECT_EQ(S3D.STREAMLINE_COUNT, 0);
    EXPECT_EQ(S3D.S3D_SELECTED_SOLID, 0);
    EXPECT_EQ(S3D.S3D_SHOW_AXES, 0);
    EXPECT_EQ(S3D.STREAMLINE_MAX_POINTS, 126);
    EXPECT_EQ(S3D.VARL.extent(1), GAS.SPECIES_COUNT + 12);
    EXPECT_EQ(S3D.VARL.extent(2), SURFACE.SOLID_TRIANGLE_COUNT);
    EXPECT_EQ(S3D.STREAM_UP_Z.extent(1), 20);
    EXPECT_EQ(S3D.STREAM_UP_Z.extent(2), 126);
    EXPECT_EQ(S3D.STREAM_POINT_COUNT.extent(1), 2);
    EXPECT_EQ(S3D.STREAMLINE_START.extent(3), 21);
    close_surface_window_state();
    EXPECT_FALSE(S3D.VARL.allocated());
    EXPECT_FALSE(S3D.STREAM_DOWN_X.allocated());
    EXPECT_FALSE(S3D.STREAMLINE_START.allocated());
}

}  // namespace
