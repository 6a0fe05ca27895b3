// The molecule number history plot and the forces display on the headless toolkit: the curve, the
// number labels and the deviation bar of the ring, and the forces and moments of the three unit systems
// with the reference area that the coefficients ask for once.
#include "app/displays/displays.h"
#include "app/state/display.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include "flow_plane_case.h"

namespace {

class HistoryPlotTest : public FlowPlaneTest {
protected:
    void SetUp() override
    {
        FlowPlaneTest::SetUp();
        ASSERT_TRUE(RUN.NM_HISTORY.allocate(2, 200));
        RUN.HISTORY_INDEX = 1;
        BOX.SCALE_FACTOR = 1.0f;
    }
    // Writes one sample into the ring, as the kernel's sampling step does.
    static void sample(float time, float nm)
    {
        RunState& R = RUN;
        R.NM_HISTORY(1, R.HISTORY_INDEX) = time;
        R.NM_HISTORY(2, R.HISTORY_INDEX) = nm;
        R.HISTORY_INDEX = R.HISTORY_INDEX == 200 ? 1 : R.HISTORY_INDEX + 1;
    }
};

TEST_F(HistoryPlotTest, CurveLabelsAndDeviationBar)
{
    for (int k = 0; k <= 10; ++k)
        sample(0.5f + 0.1f * k, 1000.0f + 10.0f * k);  // NM 1000 .. 1100
    PLOT_MOLECULE_HISTORY();
    EXPECT_EQ(HEADLESS.count("IGrRectangle -1 -50 101 120"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 1960 1000 10"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 230 1100 10"), 1);
    // The ring's unwritten slots (time 0) pull the time axis to 0; the newest entry is drawn first.
    const auto moves = calls_of("IGrMoveTo");
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_NEAR(moves[0].numbers[0], 100.0, 1e-4);
    EXPECT_NEAR(moves[0].numbers[1], 100.0, 1e-4);
    const auto lines = calls_of("IGrLineTo");
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_NEAR(lines.back().numbers[0], 0.5 * 100 / 1.5, 1e-3);
    EXPECT_NEAR(lines.back().numbers[1], 0.0, 1e-4);
    // One standard deviation of 1050 molecules in the plot's scale: sqrt(1050) / 100 of half the height.
    const auto arrows = calls_of("IGrArrow");
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_NEAR(arrows[0].numbers[3], 33.80, 0.005);
    EXPECT_NEAR(arrows[1].numbers[3], 66.20, 0.005);
    EXPECT_EQ(arrows[0].numbers[4], 2);
    // "Past", the time span / SCALE_FACTOR, right of "Past" by its width.
    const auto past = calls_of("WGrTextReal");
    ASSERT_EQ(past.size(), 1u);
    EXPECT_EQ(past[0].numbers[0], 5030 + 4 * HEADLESS_TEXT_CHARACTER_WIDTH);
    EXPECT_NEAR(past[0].numbers[2], 1.5, 1e-6);
    EXPECT_EQ(past[0].text, "(E11.3)");
}

// The deviation bar against the texts of the picture, in the window units the texts are placed in (0 at
// the top of the window, baselines): the area and units the picture set map the bar's ends into the
// window. The bar must end below the baseline of "1 standard deviation" and above the row of "Past ...
// seconds" (one row of text is the pitch from that row down to the title's baseline).
TEST_F(HistoryPlotTest, DeviationBarStaysOffTheLabels)
{
    struct Case {
        const char* what;
        float first_nm, last_nm;
        double low_end, high_end;  // the bar's ends in the plot's y units
    };
    const Case cases[] = {
        {"spread of 100 about 1050: the bar in scale", 1000.0f, 1100.0f, 33.80, 66.20},
        {"spread of 50 about 150000: a deviation of 387 spans the curve's band", 149975.0f, 150025.0f, 0.0,
         100.0},
        {"spread of 2 about a million", 999999.0f, 1000001.0f, 0.0, 100.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(RUN.NM_HISTORY.allocate(2, 200));
        RUN.HISTORY_INDEX = 1;
        for (int k = 0; k <= 4; ++k)
            sample(0.5f + 0.1f * k, c.first_nm + (c.last_nm - c.first_nm) * k / 4.0f);
        HEADLESS.calls.clear();
        PLOT_MOLECULE_HISTORY();

        const auto area = calls_of("IGrArea"), units = calls_of("IGrUnits");
        ASSERT_EQ(area.size(), 1u);
        ASSERT_EQ(units.size(), 1u);
        auto window_y = [&](double y) {
            const auto& a = area[0].numbers;
            const auto& u = units[0].numbers;
            const double fraction = a[1] + (y - u[1]) / (u[3] - u[1]) * (a[3] - a[1]);
            return (1.0 - fraction) * 9999.0;
        };
        auto baseline = [&](const std::string& text) {
            for (const RecordedCall& t : calls_of("WGrTextString"))
                if (t.text == text)
                    return t.numbers[1];
            ADD_FAILURE() << "no text " << text;
            return 0.0;
        };
        const double past = baseline("Past");
        const double row = baseline("Molecule Number History") - past;
        const double deviation_label = baseline("1 standard deviation");
        ASSERT_GT(row, 0.0);

        const auto arrows = calls_of("IGrArrow");
        ASSERT_EQ(arrows.size(), 2u);
        for (const RecordedCall& arrow : arrows) {
            EXPECT_EQ(arrow.numbers[0], 50.0);
            EXPECT_EQ(arrow.numbers[1], 50.0);
            EXPECT_EQ(arrow.numbers[2], 50.0);
            const double tip = window_y(arrow.numbers[3]);
            EXPECT_GT(tip, deviation_label) << "bar end at plot y " << arrow.numbers[3];
            EXPECT_LT(tip, past - row) << "bar end at plot y " << arrow.numbers[3];
        }
        EXPECT_NEAR(arrows[0].numbers[3], c.low_end, 0.005);
        EXPECT_NEAR(arrows[1].numbers[3], c.high_end, 0.005);
    }
}

TEST_F(HistoryPlotTest, RingWrapsAroundNewestFirst)
{
    for (int k = 1; k <= 203; ++k)
        sample(float(k), 500.0f + k);
    ASSERT_EQ(RUN.HISTORY_INDEX, 4);
    PLOT_MOLECULE_HISTORY();
    EXPECT_EQ(calls_of("IGrLineTo").size(), 199u);  // every other entry, through slot 200 back to 1
    const auto moves = calls_of("IGrMoveTo");
    EXPECT_NEAR(moves[0].numbers[0], 100.0, 1e-4);  // k = 203 in slot 3
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 1960 504 10"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 230 703 10"), 1);
}

TEST_F(HistoryPlotTest, FlatAndEmptyHistories)
{
    // All NM equal: background and labels, no curve and no bar.
    for (int k = 1; k <= 5; ++k)
        sample(float(k), 800.0f);
    PLOT_MOLECULE_HISTORY();
    EXPECT_EQ(HEADLESS.count("IGrRectangle -1 -50 101 120"), 1);
    EXPECT_EQ(HEADLESS.count("IGrLineTo"), 0);
    EXPECT_EQ(HEADLESS.count("IGrArrow"), 0);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 1960 800 10"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger 4000 230 800 10"), 1);

    // An empty ring: background and the texts; no number labels from the 1e20 start values (before,
    // they were converted to integers out of range).
    HEADLESS.calls.clear();
    ASSERT_TRUE(RUN.NM_HISTORY.allocate(2, 200));
    PLOT_MOLECULE_HISTORY();
    EXPECT_EQ(HEADLESS.count("IGrRectangle -1 -50 101 120"), 1);
    EXPECT_EQ(HEADLESS.count("IGrMoveTo"), 0);
    EXPECT_EQ(HEADLESS.count("WGrTextInteger"), 0);
    EXPECT_EQ(HEADLESS.count("WGrTextString 4550 2220 |Molecule Number History|"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextString 5400 230 |1 standard deviation|"), 1);
}

class ForcesTest : public DisplayCaseTest {
protected:
    // One surface with the momentum sums (2, -1, 0.5) and moment sums (3, 0, -2) x 1e-18 over a sample
    // of 0.001 s with FNUM 1e15; a box of extent 2 m on each axis at scale factor `scale`.
    void start(float scale = 1.0f)
    {
        SURFACE.SURFACE_COUNT = 1;
        SURFACE.SOLID_TRIANGLE_COUNT = 1;
        ASSERT_TRUE(SAMPLES.SURF_FORCE_SAMPLE.allocate(6, 1));
        const double sums[6] = {2, -1, 0.5, 3, 0, -2};
        for (int i = 1; i <= 6; ++i)
            SAMPLES.SURF_FORCE_SAMPLE(i, 1) = sums[i - 1] * 1e-18;
        RUN.FNUM = 1.0e15f;
        BOX.SCALE_FACTOR = scale;
        BOX.XMAX = BOX.YMAX = BOX.ZMAX = 2.0f * scale;
        SAMPLES.SAMPLE_START_TIME = 0.5f * scale;
        RUN.TIME = double(SAMPLES.SAMPLE_START_TIME) + 0.001 * scale;
        DISPLAY.FORCE_SURFACE.set(1);
        for (int dialog : {IDD_FORCES_SI, IDD_FORCES_ENGLISH, IDD_FORCES_COEFFICIENTS}) {
            WDialogLoad(dialog);
            HEADLESS.texts[{dialog, IDC_POINT_X}] = "1.0";
            HEADLESS.texts[{dialog, IDC_POINT_Y}] = "0.0";
            HEADLESS.texts[{dialog, IDC_POINT_Z}] = "0.0";
        }
        HEADLESS.calls.clear();
    }
    static void expect_fields(int dialog, const int fields[3], const double want[3], double tolerance)
    {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(fields[i]);
            EXPECT_NEAR(std::stod(field_text(dialog, fields[i])), want[i], tolerance);
        }
    }
};

constexpr int FORCE_FIELDS[3] = {IDC_FORCE_X, IDC_FORCE_Y, IDC_FORCE_Z};
constexpr int MOMENT_FIELDS[3] = {IDC_MOMENT_X, IDC_MOMENT_Y, IDC_MOMENT_Z};

TEST_F(ForcesTest, SiAndEnglish)
{
    start();
    RUN.OUTPUT_UNITS = 1;
    SHOW_FORCES_AND_MOMENTS();
    const double f_si[3] = {2, -1, 0.5}, m_si[3] = {-2, -0.5, 2};
    expect_fields(IDD_FORCES_SI, FORCE_FIELDS, f_si, 1e-5);
    expect_fields(IDD_FORCES_SI, MOMENT_FIELDS, m_si, 1e-5);
    EXPECT_EQ(HEADLESS.calls.back(), "IGrColourN 0");

    // English: forces / 4.448, the moment terms x 0.74, the point (1 ft, 0, 0) in feet.
    RUN.OUTPUT_UNITS = 2;
    SHOW_FORCES_AND_MOMENTS();
    const double f_en[3] = {0.4496, -0.2248, 0.1124}, m_en[3] = {-1.48, -0.1124, 1.995};
    expect_fields(IDD_FORCES_ENGLISH, FORCE_FIELDS, f_en, 1e-4);
    expect_fields(IDD_FORCES_ENGLISH, MOMENT_FIELDS, m_en, 1e-3);
}

TEST_F(ForcesTest, CoefficientsAtEveryScaleFactor)
{
    for (float scale : {1.0f, 20.0f}) {
        SCOPED_TRACE(scale);
        start(scale);
        RUN.OUTPUT_UNITS = 3;
        RUN.REFERENCE_AREA = 2.0f;
        DISPLAY.REFERENCE_LENGTH = 0.5f;
        GAS.STREAM_MASS_DENSITY = 1.0e-4f;
        GAS.STREAM_SPEED = 1000.0f;
        HEADLESS.texts[{IDD_FORCES_COEFFICIENTS, IDC_POINT_X}] = "0.5";  // half the box: 1 m
        SHOW_FORCES_AND_MOMENTS();
        const double f[3] = {0.02, -0.01, 0.005}, m[3] = {-0.04, -0.01, 0.04};
        expect_fields(IDD_FORCES_COEFFICIENTS, FORCE_FIELDS, f, 1e-6);
        expect_fields(IDD_FORCES_COEFFICIENTS, MOMENT_FIELDS, m, 1e-6);
        EXPECT_EQ(field_text(IDD_FORCES_COEFFICIENTS, IDC_REFERENCE_AREA), "2.000");
        EXPECT_EQ(field_text(IDD_FORCES_COEFFICIENTS, IDC_REFERENCE_LENGTH), "0.5000");
        EXPECT_EQ(HEADLESS.count("WDialogLoad 136"), 0);  // the area was given
    }
}

TEST_F(ForcesTest, NothingChangesWithoutElapsedTimeOrSurface)
{
    start();
    RUN.TIME = SAMPLES.SAMPLE_START_TIME;  // right after a sample reset
    SHOW_FORCES_AND_MOMENTS();
    EXPECT_EQ(HEADLESS.calls, std::vector<std::string>{"IGrColourN 0"});

    // A surface number outside the surfaces reads no sums.
    start();
    DISPLAY.FORCE_SURFACE.set(2);
    SHOW_FORCES_AND_MOMENTS();
    EXPECT_EQ(HEADLESS.calls, std::vector<std::string>{"IGrColourN 0"});
}

TEST_F(ForcesTest, ReferenceAreaAskedOnceInEitherUnits)
{
    start();
    RUN.OUTPUT_UNITS = 3;
    GAS.STREAM_MASS_DENSITY = 1.0e-4f;
    GAS.STREAM_SPEED = 1000.0f;
    ASSERT_LT(RUN.REFERENCE_AREA, 0.0f);
    // The user types 2 (sq ft) and 1 (ft) with "Eng. Units (US)".
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, IDC_AREA, 2});
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, IDC_LENGTH, 1});
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, IDC_AREA_SI, 2});
    SHOW_FORCES_AND_MOMENTS();
    EXPECT_NEAR(RUN.REFERENCE_AREA, 0.185806, 1e-6);
    EXPECT_NEAR(DISPLAY.REFERENCE_LENGTH, 0.3048, 1e-7);
    EXPECT_EQ(HEADLESS.count("WDialogShow 136"), 1);
    SHOW_FORCES_AND_MOMENTS();
    EXPECT_EQ(HEADLESS.count("WDialogShow 136"), 1);  // not asked again
}

TEST_F(ForcesTest, ZeroAreaIsRefusedAndAskedAgain)
{
    // "OK" on the dialog as it comes up: the template's 1.0 and 1.0 in SI.
    ASK_REFERENCE_AREA();
    EXPECT_EQ(RUN.REFERENCE_AREA, 1.0f);
    EXPECT_EQ(DISPLAY.REFERENCE_LENGTH, 1.0f);
    EXPECT_EQ(HEADLESS.count("WMessageBox"), 0);
    HEADLESS.calls.clear();

    // Before, an area of 0 made every coefficient infinite and was never asked for again.
    RUN.REFERENCE_AREA = -1.0f;
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, IDC_AREA, 0});
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, IDC_LENGTH, 3});
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, 0, 0});  // "OK": the next answer is for the next show
    HEADLESS.answers.push_back({IDD_REFERENCE_AREA, IDC_AREA, 5});
    ASK_REFERENCE_AREA();
    EXPECT_EQ(HEADLESS.count("WDialogShow 136"), 2);
    EXPECT_EQ(HEADLESS.count("WMessageBox"), 1);
    EXPECT_EQ(RUN.REFERENCE_AREA, 5.0f);  // SI: the radio group starts at "SI Units"
    EXPECT_EQ(DISPLAY.REFERENCE_LENGTH, 3.0f);
}

}  // namespace
