// Edge cases of the case-data readers: the scale factor, the moving-wall stop, the reaction-pair
// tables, the items read only under a condition, early ends and missing files, and the surface
// numbering and copy rules.
#include "app/casedata/casedata.h"
#include "case_files.h"
#include "case_test_support.h"

#include <cmath>
#include <vector>

namespace {

using CaseEdgeTest = CaseFolderTest;

// Reads the flow data of the template with the given items; returns the summary.
std::string read_flow(const Items& items)
{
    write_file("QR4TD.DAT", flow_file(items));
    READ_FLOW_DATA();
    return read_file("QR4TD.TXT");
}

bool has_line(const std::string& text, const std::string& line)
{
    return text.find(line + "\r\n") != std::string::npos;
}

// The scale factor is 10 over the smallest extent when the x extent is below 10, else 1.
TEST_F(CaseEdgeTest, ScaleFactor)
{
    struct Case {
        const char* x;
        const char* y;
        const char* z;
        float factor;
    };
    const Case cases[] = {
        {"2.", "1.", "4.", 10.0f},   // y smallest
        {"10.", "1.", "1.", 1.0f},   // x extent exactly 10
        {"20.", "0.5", "1.", 1.0f},  // x extent 20 keeps 1 whatever y is
        {"5.", "2.", "0.5", 20.0f},  // z smallest
        {"8.", "8.", "8.", 1.25f},   // equal extents
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " " + c.y + " " + c.z);
        BOX = BoxState{};
        read_flow({{"XMAX", c.x}, {"YMAX", c.y}, {"ZMAX", c.z}});
        EXPECT_EQ(BOX.SCALE_FACTOR, c.factor);
        EXPECT_EQ(BOX.XMAX, static_cast<float>(std::stod(c.x) * c.factor));
        EXPECT_EQ(BOX.ZMAX, static_cast<float>(double(std::stof(c.z)) * c.factor));
        // The reference time is scaled like a length; the summary shows it as read.
        EXPECT_EQ(RUN.REF_TIME, static_cast<float>(double(1.e-5f) * c.factor));
        reopen_log();
    }
}

// A moving wall on a side other than side 1: the message box of 84 characters, then a stop before
// any later side is read; the summary ends with the side's label.
TEST_F(CaseEdgeTest, MovingWallOnlyAtMinimumX)
{
    write_file("QR4TD.DAT", flow_file({{"SIDE2", "7"}}));
    EXPECT_THROW(READ_FLOW_DATA(), FatalStopped);
    const std::string text =
        "Boundary   2 has been set as a moving wall!  (. Only boundary 1 at x=XMIN can move.)";
    ASSERT_EQ(text.size(), 84u);
    ASSERT_EQ(HEADLESS.count("WMessageBox"), 1);
    EXPECT_EQ(HEADLESS.calls.back(), "WMessageBox 0 1 0 |" + text + "|Illegal Boundary Specification|");
    std::string summary = written("QR4TD.TXT");
    const std::string tail = " The side at the minimum x coord is\r\n a stream boundary\r\n"
                             " The side at the maximum x coord is\r\n";
    EXPECT_EQ(summary.substr(summary.size() - tail.size()), tail);
    EXPECT_EQ(written("DIAG.TXT").find("The data summary"), std::string::npos);
}

// Code 7 on side 1 is the moving wall: its speed is read after the six sides. With code 7 on side 3
// as well the program stops at side 3.
TEST_F(CaseEdgeTest, MovingWallAtSideOne)
{
    std::string summary = read_flow({{"SIDE1", "7"}, {"WALL", "120.  wall speed"}});
    EXPECT_EQ(BOX.WALL_SPEED, 120.0f);
    EXPECT_TRUE(
        has_line(summary, " The side at the minimum x coord is\r\n a specular wall moving into the flow"));
    EXPECT_TRUE(has_line(summary, " The speed of the moving wall is   120.0000    "));
    EXPECT_EQ(HEADLESS.count("WMessageBox"), 0);

    reopen_log();
    write_file("QR4TD.DAT", flow_file({{"SIDE1", "7"}, {"SIDE3", "7"}, {"WALL", "120."}}));
    EXPECT_THROW(READ_FLOW_DATA(), FatalStopped);
    EXPECT_NE(HEADLESS.calls.back().find("|Boundary   3 has been"), std::string::npos);
}

// The reaction-pair tables of reactions 1 and 2 between species 2 and 1 and reaction 3 between two
// molecules of species 1: symmetric counts and lists, reactants kept as read.
TEST_F(CaseEdgeTest, ReactionPairTables)
{
    read_flow({{"REACTIONS", "3"},
               {"A", "2"},
               {"B", "1"},
               {"P1", "0"},
               {"P2", "1"},
               {"P3", "2"},
               {"MORE_REACTIONS",
                "2\n1\n0\n2\n1\n0.\n0.\n1.\n0.\n0.\n"      // reaction 2: exchange of 2 and 1
                "1\n1\n2\n2\n1\n0.\n0.\n1.\n0.\n0.\n"}});  // reaction 3: dissociation of 1 by 1
    const auto& G = GAS;
    EXPECT_EQ(G.REACTION_PAIR_COUNT(1, 2), 2);
    EXPECT_EQ(G.REACTION_PAIR_COUNT(2, 1), 2);
    EXPECT_EQ(G.REACTION_PAIR_LIST(1, 1, 2), 1);
    EXPECT_EQ(G.REACTION_PAIR_LIST(1, 2, 1), 1);
    EXPECT_EQ(G.REACTION_PAIR_LIST(2, 1, 2), 2);
    EXPECT_EQ(G.REACTION_PAIR_LIST(2, 2, 1), 2);
    EXPECT_EQ(G.REACTION_PAIR_COUNT(1, 1), 1);
    EXPECT_EQ(G.REACTION_PAIR_LIST(1, 1, 1), 3);
    EXPECT_EQ(G.REACTION_PAIR_LIST(2, 1, 1), 0);
    EXPECT_EQ(G.REACTION_PAIR_COUNT(2, 2), 0);
    EXPECT_EQ(G.REACTION_REACTANTS(1, 1), 2);
    EXPECT_EQ(G.REACTION_REACTANTS(2, 2), 1);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(1, 3), 2);
    EXPECT_EQ(G.REACTION_PRODUCTS(1, 3, 1), 2);
    EXPECT_EQ(G.REACTION_PRODUCTS(1, 3, 2), 2);
    EXPECT_EQ(G.REACTION_PRODUCTS(2, 3, 1), 1);
}

// A recombination whose third body is a species stores the species code; the summary says so.
TEST_F(CaseEdgeTest, RecombinationWithThirdBodySpecies)
{
    std::string summary = read_flow({{"P3", "2"}});
    EXPECT_EQ(GAS.REACTION_PRODUCTS(2, 1, 1), 2);
    EXPECT_EQ(GAS.REACTION_PRODUCT_COUNT(2, 1), 0);
    EXPECT_TRUE(has_line(summary, " The species code of the third-body is           2"));
}

// Items read only under a condition: the next line always holds the next item that is due.
TEST_F(CaseEdgeTest, ConditionalItems)
{
    // Steady sampling: item 71, not item 69; the averaging fraction is 1.
    std::string summary = read_flow({{"SAMPLING", "1"}, {"SECOND_SAMPLING", ""}, {"STEADY", "7"}});
    EXPECT_EQ(RUN.STEADY_AFTER_OUTPUTS, 7);
    EXPECT_EQ(RUN.AVERAGING_FRACTION, 1.0f);
    EXPECT_TRUE(has_line(summary, " Steady flow is assumed after           7  output intervals"));
    EXPECT_EQ(summary.find("Fraction of time interval"), std::string::npos);
    EXPECT_EQ(RUN.MNM, 1000);

    // Any other sampling value reads neither and echoes the steady-flow text.
    reopen_log();
    RUN = RunState{};
    summary = read_flow({{"SAMPLING", "2"}, {"SECOND_SAMPLING", ""}});
    EXPECT_TRUE(has_line(summary, " The sampling is for an eventual steady flow"));
    EXPECT_EQ(RUN.AVERAGING_FRACTION, 1.0f);
    EXPECT_EQ(RUN.STEADY_AFTER_OUTPUTS, 0);
    EXPECT_EQ(RUN.MNM, 1000);

    // Initial gas 2 reads the secondary stream but writes no "x =" line; the position is scaled.
    reopen_log();
    summary = read_flow({{"XMAX", "2."},
                         {"ZMAX", "1."},
                         {"INITIAL_GAS", "2"},
                         {"SECONDARY", "0.5\n1.E19\n300.\n0.\n0.\n0.\n1.\n0."}});
    EXPECT_EQ(BOX.SCALE_FACTOR, 10.0f);
    EXPECT_EQ(GAS.SEPARATION_X, 5.0f);
    EXPECT_EQ(GAS.SECONDARY_FRACTION(1), 1.0f);
    EXPECT_TRUE(has_line(summary, " A flow separation boundary divides the stream and secondary stream at"));
    EXPECT_EQ(summary.find(" x ="), std::string::npos);
    EXPECT_EQ(RUN.MNM, 1000);
}

// The files end early or are missing: fatal errors that name the unit and the file; the log gets no
// completion line.
TEST_F(CaseEdgeTest, EarlyEndAndMissingFiles)
{
    std::string flow = flow_file();
    std::size_t last = flow.rfind("0  sub-cells");
    ASSERT_NE(last, std::string::npos);
    write_file("QR4TD.DAT", flow.substr(0, last));
    try {
        READ_FLOW_DATA();
        FAIL() << "a file without item 76 was accepted";
    } catch (const FatalStopped& stop) {
        std::string message = stop.what();
        EXPECT_NE(message.find("QR4TD.DAT"), std::string::npos) << message;
        EXPECT_EQ(message.find("unit 4"), std::string::npos) << message;  // no internal words for the user
        EXPECT_NE(message.find("sub-cell mode"), std::string::npos) << message;
    }
    EXPECT_EQ(written("DIAG.TXT").find("The data summary"), std::string::npos);

    reopen_log();
    std::filesystem::remove("QR4TD.DAT");
    try {
        READ_FLOW_DATA();
        FAIL() << "a missing file was accepted";
    } catch (const FatalStopped& stop) {
        std::string message = stop.what();
        EXPECT_NE(message.find("QR4TD.DAT"), std::string::npos) << message;
        EXPECT_EQ(message.find("unit 4"), std::string::npos) << message;  // no internal words for the user
    }
    std::filesystem::remove("QR4SD.DAT");
    EXPECT_THROW(READ_SURFACE_DATA(), FatalStopped);
}

// A slash ends a read and leaves the item as it was: a newly allocated element stays zero.
TEST_F(CaseEdgeTest, SlashLeavesItemUnset)
{
    std::string flow = flow_file();
    std::size_t fraction = flow.find("0.5       fractions");
    ASSERT_NE(fraction, std::string::npos);
    flow.replace(fraction, 3, "/  ");
    write_file("QR4TD.DAT", flow);
    READ_FLOW_DATA();
    EXPECT_EQ(GAS.STREAM_FRACTION(1), 0.0f);
    EXPECT_EQ(GAS.STREAM_FRACTION(2), 0.5f);
}

// Two surfaces: the second surface's points and triangles have global numbers after the first's,
// and the coordinates are stored scaled but echoed as read.
TEST_F(CaseEdgeTest, SurfaceNumberingAndScaling)
{
    write_file("QR4TD.DAT", flow_file({{"XMAX", "2."}, {"ZMAX", "1."}}));
    write_file("QR4SD.DAT", "2\n4\n1\n1\n4\n2\n0\n"
                            "0. 0. 0.\n1. 0. 0.\n0. 1. 0.\n0. 0. 1.\n"
                            "1 3 2\n3\n1 2 4\n1\n300.\n0.\n0.\n0.\n0.\n0.\n0.5\n"
                            "0.5 0.25 0.\n1. 0.25 0.\n0.5 1. 0.\n0.5 0.25 1.\n"
                            "1 2 3\n1\n-300.\n1.\n0.\n0.\n0.\n0.\n0.\n4 2 3\n0\n");
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    const auto& S = SURFACE;
    ASSERT_EQ(BOX.SCALE_FACTOR, 10.0f);
    EXPECT_EQ(S.POINT_X(5), 5.0f);
    EXPECT_EQ(S.POINT_Y(5), 2.5f);
    EXPECT_EQ(S.POINT_Z(5), 0.0f);
    EXPECT_EQ(S.TRIANGLE(1, 3), 5);
    EXPECT_EQ(S.TRIANGLE(1, 4), 8);
    EXPECT_EQ(S.TRIANGLE(TRIANGLE_KIND, 1), -1);
    // Solid numbers run across surfaces: the first solid triangle of surface 2 is k = 2.
    EXPECT_EQ(S.TRIANGLE(TRIANGLE_KIND, 3), 2);
    EXPECT_EQ(S.TRIANGLE(TRIANGLE_KIND, 4), 3);
    EXPECT_EQ(S.SOLID_PROPERTIES(1, 3), -300.0f);
    EXPECT_EQ(S.SOLID_PROPERTIES(2, 3), 1.0f);
    std::string summary = written("QR4SD.TXT");
    EXPECT_TRUE(has_line(summary, " Points and triangles up to this surface           4           2"));
    EXPECT_TRUE(has_line(summary, " Point           1  is at  0.5000000      0.2500000       0.000000    "));
    EXPECT_TRUE(
        has_line(summary, " Triangle           2  is defined by points           4           2           3"));
    EXPECT_TRUE(has_line(summary, " Diffuse adiabatic with a minimum temperature of   300.0000    "));
}

// The kind of the previous triangle is not carried into the next surface: code 0 on the first
// triangle of surface 2 stops, after the line naming triangle 0.
TEST_F(CaseEdgeTest, CopyCodeOnFirstTriangleOfSurface)
{
    write_file("QR4TD.DAT", flow_file());
    write_file("QR4SD.DAT", "2\n3\n1\n0\n3\n1\n0\n"
                            "0. 0. 0.\n1. 0. 0.\n0. 1. 0.\n"
                            "1 3 2\n1\n300.\n0.\n0.\n0.\n0.\n0.\n0.5\n"
                            "5. 0. 0.\n6. 0. 0.\n5. 1. 0.\n"
                            "1 3 2\n0\n");
    READ_FLOW_DATA();
    try {
        READ_SURFACE_DATA();
        FAIL() << "code 0 on a first triangle was accepted";
    } catch (const FatalStopped& stop) {
        EXPECT_NE(
            std::string(stop.what()).find("QR4SD.DAT item 7 (property code of triangle 1 of surface 2)"),
            std::string::npos)
            << stop.what();
    }
    std::string summary = written("QR4SD.TXT");
    const std::string tail = " Triangle           1  has the same properties as triangle           0\r\n"
                             " No values available for previous triangle\r\n";
    EXPECT_EQ(summary.substr(summary.size() - tail.size()), tail);
    EXPECT_TRUE(has_line(read_file("DIAG.TXT"), " No values available for previous triangle"));
}

// A negative number of surfaces means none: no array, the totals 0.
TEST_F(CaseEdgeTest, NegativeSurfaceCountMeansNone)
{
    write_file("QR4TD.DAT", flow_file());
    write_file("QR4SD.DAT", "-1\n");
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    EXPECT_EQ(SURFACE.SURFACE_COUNT, -1);
    EXPECT_EQ(SURFACE.TRIANGLE_COUNT, 0);
    EXPECT_FALSE(SURFACE.SURFACE_POINT_COUNT.allocated());
    EXPECT_TRUE(has_line(read_file("DIAG.TXT"), " Surface Data has been Read"));
}

}  // namespace
