// LOAD_DISPLAY_DIALOGS on the headless toolkit: which control dialogs are loaded, filled and shown
// where, the run-start settings, and the unit system a run starts in.
#include "app/displays/displays.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/entry.h"

#include "display_case.h"

#include <algorithm>
#include <vector>

namespace {

using LoadDisplayDialogsTest = DisplayCaseTest;

std::vector<std::string> recorded(const std::string& prefix)
{
    std::vector<std::string> r;
    for (const std::string& c : HEADLESS.calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            r.push_back(c);
    return r;
}

int field_state(int dialog, int field)
{
    auto it = HEADLESS.field_states.find({dialog, field});
    return it == HEADLESS.field_states.end() ? -1 : it->second;
}

TEST_F(LoadDisplayDialogsTest, NewRunShowsTheBarsOfItsUnitsAndStartsTheSettings)
{
    load_case(1);  // one surface, no gas reactions
    LOAD_DISPLAY_DIALOGS();
    EXPECT_EQ(recorded("WDialogShow"), (std::vector<std::string>{
                                           "WDialogShow 129 7000 0 0 2",
                                           "WDialogShow 112 5000 2345 0 2",
                                           "WDialogShow 119 0 2345 0 2",
                                           "WDialogShow 126 7000 340 0 2",
                                           "WDialogShow 120 0 0 0 2",
                                       }));
    // The thirteen dialogs of the paused displays follow the log, in order (those without a template
    // yet are refused with error 1007).
    std::vector<std::string> loads = recorded("WDialogLoad");
    const std::vector<int> later = {130, 131, 132, 133, 117, 128, 118, 135, 139, 124, 141, 140, 125};
    ASSERT_GE(loads.size(), later.size());
    for (size_t i = 0; i < later.size(); ++i)
        EXPECT_EQ(loads[loads.size() - later.size() + i].substr(0, 15),
                  "WDialogLoad " + std::to_string(later[i]));
    EXPECT_EQ(loads[loads.size() - later.size() - 1], "WDialogLoad 120");

    const DisplaySettings& d = DISPLAY;
    EXPECT_EQ(d.FLOW_PLANE_AXIS.current, 3);
    EXPECT_EQ(d.FLOW_PLANE_AXIS.previous, 2);
    EXPECT_EQ(d.FLOW_PROPERTY.current, 10);
    EXPECT_EQ(d.FLOW_PROPERTY.previous, 10);
    EXPECT_EQ(d.SURF_DISPLAY_PROPERTY.current, 2);
    EXPECT_EQ(d.SURF_DISPLAY_PROPERTY.previous, 2);
    const int spares[5] = {1, 1, 1, 2, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(d.DISPLAY_SPARE[i].current, spares[i]) << "spare " << i + 1;
    EXPECT_EQ(d.VIEW_MODE_3D, 1);
    EXPECT_EQ(HEADLESS.calls.back(), "IGrColourN 0");

    // One surface: the surface spins are disabled, and field 1017 of 121 and 122 as well.
    for (int forces : {IDD_FORCES_SI, IDD_FORCES_ENGLISH, IDD_FORCES_COEFFICIENTS})
        EXPECT_EQ(field_state(forces, IDC_FORCE_SURFACE), 0) << forces;
    EXPECT_EQ(field_state(IDD_FORCES_ENGLISH, IDC_FORCE_SURFACE_LABEL), 0);
    EXPECT_EQ(field_state(IDD_FORCES_COEFFICIENTS, IDC_FORCE_SURFACE_LABEL), 0);
    // No gas reactions: the reaction fields of the log are disabled.
    for (int field : {1053, 1054, 1056, 1065})
        EXPECT_EQ(field_state(IDD_LOG, field), 0) << field;
    // The toolbars show what their templates give: z checked, property 10, division and element 1.
    EXPECT_EQ((HEADLESS.radio[{IDD_FLOW_TOOLBAR_RATIO, IDC_FLOW_AXIS_X}]), 3);
    EXPECT_EQ((HEADLESS.menus[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_PROPERTY}]), 10);
    EXPECT_EQ((HEADLESS.menus[{IDD_SURFACE_TOOLBAR, IDC_SURF_PROPERTY}]), 3);
    EXPECT_EQ((HEADLESS.integers[{IDD_FLOW_TOOLBAR_SI, IDC_FLOW_DIVISION}]), 1);
    EXPECT_EQ((HEADLESS.radio[{IDD_OUTPUT_UNITS, IDC_UNITS_RATIO}]), 1);
    // The lists hold the property names as they are shown: 29 flowfield and 22 surface names.
    const struct {
        int dialog, item;
        const char* name;
    } names[] = {
        {IDD_FLOW_TOOLBAR_SI, 10, "Temperature"},
        {IDD_FLOW_TOOLBAR_RATIO, 15, "m.c.t. / m.f.p"},
        {IDD_FLOW_TOOLBAR_ENGLISH, 29, "Fraction of Species 12"},
        {IDD_SURFACE_TOOLBAR, 6, "Shear Stress Magnitude"},
        {IDD_SURFACE_TOOLBAR, 22, "Fraction of Species 12"},
    };
    for (const auto& n : names) {
        WDialogSelect(n.dialog);
        HEADLESS.menus[{n.dialog, 1157}] = n.item;
        int item = 0;
        std::string text;
        WDialogGetMenu(1157, item, text);
        EXPECT_EQ(text, n.name) << n.dialog << " item " << n.item;
    }
}

TEST_F(LoadDisplayDialogsTest, WithoutSurfacesNoSurfaceDialogIsLoaded)
{
    load_case(3);  // re-entry: gas reactions
    SURFACE.SURFACE_COUNT = 0;
    SURFACE.SOLID_TRIANGLE_COUNT = 0;
    RUN.OUTPUT_UNITS = 2;
    LOAD_DISPLAY_DIALOGS();
    for (int dialog : {119, 121, 122, 126})
        EXPECT_EQ(HEADLESS.loaded_dialogs.count(dialog), 0u) << dialog;
    EXPECT_EQ(recorded("WDialogShow"), (std::vector<std::string>{
                                           "WDialogShow 129 7000 0 0 2",
                                           "WDialogShow 127 5000 2345 0 2",
                                           "WDialogShow 120 0 0 0 2",
                                       }));
    EXPECT_EQ(field_state(IDD_LOG, 1054), -1) << "with gas reactions the fields stay as they are";

    // The handler after an output skips the surface toolbar.
    RUN.OUTPUT_COUNT = 1;
    HEADLESS.calls.clear();
    HANDLE_DISPLAY_CONTROLS();
    EXPECT_EQ(HEADLESS.count("WDialogSelect 119"), 0);
    EXPECT_GT(HEADLESS.count("WDialogSelect 127"), 0);
}

TEST_F(LoadDisplayDialogsTest, ContinuedRunPutsItsPlaneAndViewIntoTheSpins)
{
    load_case(1);
    DISPLAY.RUN_TYPE = 1;
    SAMPLES.SAMPLE_COUNT = 5;  // a sample to continue: the restored settings stand
    DISPLAY.FLOW_PLANE_DIVISION.set(3);
    DISPLAY.FLOW_PLANE_ELEMENT.set(2);
    DISPLAY.SURF_VIEW_ZOOM.set(4);
    DISPLAY.SURF_VIEW_ELEVATION.set(-2);
    DISPLAY.FLOW_PROPERTY.set(13);
    LOAD_DISPLAY_DIALOGS();
    for (int toolbar : {112, 127, 134}) {
        EXPECT_EQ((HEADLESS.integers[{toolbar, IDC_FLOW_DIVISION}]), 3) << toolbar;
        EXPECT_EQ((HEADLESS.integers[{toolbar, IDC_FLOW_ELEMENT}]), 2) << toolbar;
    }
    EXPECT_EQ((HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_ZOOM}]), 4);
    EXPECT_EQ((HEADLESS.integers[{IDD_SURFACE_TOOLBAR, IDC_SURF_ELEVATION}]), -2);
    EXPECT_EQ(DISPLAY.FLOW_PROPERTY.current, 13) << "a continued run with a sample keeps property 13";

    // With an empty sample the run-start settings replace the restored ones.
    DISPLAY.FLOW_PLANE_DIVISION.set(3);
    SAMPLES.SAMPLE_COUNT = 0;
    LOAD_DISPLAY_DIALOGS();
    EXPECT_EQ(DISPLAY.FLOW_PROPERTY.current, 10);
    EXPECT_EQ(DISPLAY.FLOW_PLANE_DIVISION.current, 1);
}

// A unit system from the options file or the restart set that cannot be shown: outside 1..3 it is SI
// without a word; dimensionless with the stream at rest is refused once, then SI. Before, the refusal
// came back at every poll.
TEST_F(LoadDisplayDialogsTest, UnitSystemsThatCannotBeShownStartInSI)
{
    const struct {
        int units;
        int boxes;
    } cases[] = {{3, 1}, {7, 0}, {0, 0}, {-1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        TearDown();
        SetUp();
        load_case(2);  // vacuum system: the stream is at rest
        ASSERT_LT(GAS.STREAM_SPEED, 0.001f);
        RUN.OUTPUT_UNITS = c.units;
        LOAD_DISPLAY_DIALOGS();
        for (int poll = 0; poll < 3; ++poll)
            HANDLE_DISPLAY_CONTROLS();
        EXPECT_EQ(RUN.OUTPUT_UNITS, 1);
        EXPECT_EQ(HEADLESS.count("WMessageBox 0 3 1 |Cannot choose \"Non-dimensional\" for zero stream "
                                 "speed|Option not available|"),
                  c.boxes);
        EXPECT_EQ(HEADLESS.count("WMessageBox"), c.boxes);
        EXPECT_EQ(HEADLESS.count("WDialogShow 112 5000 2345"), 1);
        EXPECT_EQ((HEADLESS.radio[{IDD_OUTPUT_UNITS, IDC_UNITS_SI}]), 1);
    }
}

}  // namespace
