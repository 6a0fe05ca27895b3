// The control dialogs of the result displays: loading, filling and showing them before the time-step
// loop, the redraw of every display, the picture save, and the conversions between the unit systems.
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"

#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"

#include <cstdlib>
#include <string>

namespace {

constexpr float FOOT = 0.3048f;  // metres per foot

// The dialogs of the paused displays, loaded with the others so that those displays find them.
constexpr int LATER_DIALOGS[] = {
    IDD_STREAMLINE_START,   IDD_SURFACE_WINDOW_OPTIONS,  IDD_SURFACE_WINDOW_PROPERTY,
    IDD_TRIANGLE_VALUES_SI, IDD_TRIANGLE_VALUES_ENGLISH, IDD_TRIANGLE_VALUES_RATIO,
    IDD_SECTION_PLANE_SI,   IDD_SECTION_PLANE_ENGLISH,   IDD_SECTION_PLANE_RATIO,
    IDD_POINT_REPORT_SI,    IDD_POINT_REPORT_ENGLISH,    IDD_POINT_REPORT_RATIO,
    IDD_COLOUR_MAP,
};

// The stored (scaled) box extent along an axis 1..3.
float stored_extent(int axis)
{
    const BoxState& B = BOX;
    return axis == 1 ? B.XMAX - B.XMIN : axis == 2 ? B.YMAX - B.YMIN : B.ZMAX - B.ZMIN;
}

// The unit system the run starts in. A value outside 1..3 (an options file or restart set that holds
// something else) is SI. The dimensionless system needs a stream speed: without one it is refused once
// here, with the box the handler shows, and the run starts in SI; otherwise the handler would refuse it
// again at every poll, since the old and the new value are both 3.
void settle_output_units()
{
    int& units = RUN.OUTPUT_UNITS;
    if (units < UNITS_SI || units > UNITS_RATIO)
        units = UNITS_SI;
    if (units == UNITS_RATIO && GAS.STREAM_SPEED < MIN_RATIO_STREAM_SPEED) {
        WMessageBox(0, 3, 1, RATIO_REFUSED_TEXT, RATIO_REFUSED_TITLE);
        units = UNITS_SI;
    }
}

// The run-start values of the display settings, for a run whose sample is empty.
void set_run_start_display_settings()
{
    DisplaySettings& d = DISPLAY;
    set_continued_run_display_settings();
    d.FLOW_PROPERTY.set(10);
    d.FLOW_PLANE_AXIS.current = 3;
    d.FLOW_PLANE_AXIS.previous = 2;  // differs, so that the first reading of the toolbar redraws
    d.FLOW_PLANE_DIVISION.set(1);
    d.FLOW_PLANE_ELEMENT.set(1);
    d.SURF_VIEW_ZOOM.set(0);
    d.SURF_VIEW_SHIFT_H.set(0);
    d.SURF_VIEW_SHIFT_V.set(0);
    d.SURF_VIEW_AZIMUTH.set(0);
    d.SURF_VIEW_ELEVATION.set(0);
    d.VIEW_MODE_3D = 1;
}

}  // namespace

int dialog_of_units(int units, int si, int english, int ratio)
{
    return units == UNITS_ENGLISH ? english : units == UNITS_RATIO ? ratio : si;
}

int flow_toolbar(int units)
{
    return dialog_of_units(units, IDD_FLOW_TOOLBAR_SI, IDD_FLOW_TOOLBAR_ENGLISH, IDD_FLOW_TOOLBAR_RATIO);
}

int forces_dialog(int units)
{
    return dialog_of_units(units, IDD_FORCES_SI, IDD_FORCES_ENGLISH, IDD_FORCES_COEFFICIENTS);
}

void read_radio(int field, int& setting)
{
    int position = FIELD_EMPTY;
    WDialogGetRadioButton(field, position);
    if (position != FIELD_EMPTY)
        setting = position;
}

bool changed(const DisplayPair& p)
{
    return p.current != p.previous;
}

void read_spin(int field, int& setting)
{
    WDialogGetInteger(field, setting);
}

void read_check_box(int field, int& setting)
{
    WDialogGetCheckBox(field, setting);
}

bool redraw_if_changed(std::initializer_list<DisplayPair*> pairs, void (*redraw)())
{
    bool any = false;
    for (const DisplayPair* p : pairs)
        any = any || changed(*p);
    if (!any)
        return false;
    for (DisplayPair* p : pairs)
        p->previous = p->current;
    redraw();
    return true;
}

void read_control_rows(int dialog, std::initializer_list<ControlRow> rows)
{
    const ControlRow* row = rows.begin();
    while (row != rows.end()) {
        const ControlRow* group_end = row;
        while (group_end != rows.end() && group_end->redraw == row->redraw)
            ++group_end;
        WDialogSelect(dialog);
        bool any = false;
        for (const ControlRow* r = row; r != group_end; ++r) {
            r->read(r->field, r->pair->current);
            any = any || changed(*r->pair);
        }
        if (any) {
            for (const ControlRow* r = row; r != group_end; ++r)
                r->pair->previous = r->pair->current;
            row->redraw();
        }
        row = group_end;
    }
}

void hide_main_bars()
{
    const int units = RUN.OUTPUT_UNITS;
    const bool surfaces = SURFACE.SURFACE_COUNT > 0;
    WWinSelect(0);
    for (int dialog : {surfaces ? IDD_SURFACE_TOOLBAR : 0, IDD_OUTPUT_UNITS, flow_toolbar(units),
                       surfaces ? forces_dialog(units) : 0, IDD_LOG}) {
        if (dialog == 0)
            continue;
        WDialogSelect(dialog);
        WDialogHide();
    }
}

void show_main_bars(int units_focus)
{
    const int units = RUN.OUTPUT_UNITS;
    const bool surfaces = SURFACE.SURFACE_COUNT > 0;
    const struct {
        int dialog, x, y, focus;
    } bars[] = {
        {surfaces ? IDD_SURFACE_TOOLBAR : 0, SURFACE_TOOLBAR_X, SURFACE_TOOLBAR_Y, 0},
        {IDD_LOG, LOG_X, LOG_Y, 0},
        {IDD_OUTPUT_UNITS, UNITS_BAR_X, UNITS_BAR_Y, units_focus},
        {flow_toolbar(units), FLOW_TOOLBAR_X, FLOW_TOOLBAR_Y, 0},
        {surfaces ? forces_dialog(units) : 0, FORCES_X, FORCES_Y, 0},
    };
    for (const auto& bar : bars) {
        if (bar.dialog == 0)
            continue;
        WDialogSelect(bar.dialog);
        WDialogShow(bar.x, bar.y, bar.focus, MODELESS);
    }
}

void refuse_log_scale(DisplayPair& setting, int dialog, int box)
{
    setting.set(0);
    WDialogSelect(dialog);
    WDialogPutCheckBox(box, 0);
}

int units_radio(int units)
{
    return dialog_of_units(units, IDC_UNITS_SI, IDC_UNITS_ENGLISH, IDC_UNITS_RATIO);
}

float convert_length(float v, int from, int to, int axis)
{
    // Through metres. The dimensionless length is the true length over the true extent (the stored
    // extent over SCALE_FACTOR), so that a point keeps its place in the box whatever the scale factor.
    const double true_extent = static_cast<double>(stored_extent(axis)) / BOX.SCALE_FACTOR;
    double metres = v;
    if (from == UNITS_ENGLISH)
        metres = v * static_cast<double>(FOOT);
    else if (from == UNITS_RATIO)
        metres = v * true_extent;
    if (to == UNITS_ENGLISH)
        return static_cast<float>(metres / FOOT);
    if (to == UNITS_RATIO)
        return static_cast<float>(metres / true_extent);
    return static_cast<float>(metres);
}

float shown_length(float stored, int units, int axis)
{
    if (units == UNITS_RATIO)
        return static_cast<float>(static_cast<double>(stored) / stored_extent(axis));
    const float metres = static_cast<float>(static_cast<double>(stored) / BOX.SCALE_FACTOR);
    return units == UNITS_ENGLISH ? static_cast<float>(metres / static_cast<double>(FOOT)) : metres;
}

void LOAD_DISPLAY_DIALOGS()
{
    const DisplaySettings& d = DISPLAY;
    const bool continued = d.RUN_TYPE < 3;
    settle_output_units();
    const int units = RUN.OUTPUT_UNITS;

    // The "Output Units" bar.
    WDialogLoad(IDD_OUTPUT_UNITS);
    WDialogSelect(IDD_OUTPUT_UNITS);
    WDialogPutRadioButton(units_radio(units));
    WDialogShow(UNITS_BAR_X, UNITS_BAR_Y, 0, MODELESS);

    // The flowfield toolbars; only that of the unit system is shown.
    for (int system : {UNITS_SI, UNITS_ENGLISH, UNITS_RATIO}) {
        const int toolbar = flow_toolbar(system);
        WDialogLoad(toolbar);
        WDialogSelect(toolbar);
        WDialogPutRadioButton(IDC_FLOW_AXIS_Z);
        if (continued) {
            WDialogPutInteger(IDC_FLOW_DIVISION, d.FLOW_PLANE_DIVISION.current);
            WDialogPutInteger(IDC_FLOW_ELEMENT, d.FLOW_PLANE_ELEMENT.current);
        }
        if (system == units)
            WDialogShow(FLOW_TOOLBAR_X, FLOW_TOOLBAR_Y, 0, MODELESS);
    }

    // The surface toolbar and the forces dialogs, when there are surfaces.
    if (SURFACE.SURFACE_COUNT > 0) {
        WDialogLoad(IDD_SURFACE_TOOLBAR);
        WDialogSelect(IDD_SURFACE_TOOLBAR);
        if (continued) {
            WDialogPutInteger(IDC_SURF_ZOOM, d.SURF_VIEW_ZOOM.current);
            WDialogPutInteger(IDC_SURF_SHIFT_H, d.SURF_VIEW_SHIFT_H.current);
            WDialogPutInteger(IDC_SURF_AZIMUTH, d.SURF_VIEW_AZIMUTH.current);
            WDialogPutInteger(IDC_SURF_SHIFT_V, d.SURF_VIEW_SHIFT_V.current);
            WDialogPutInteger(IDC_SURF_ELEVATION, d.SURF_VIEW_ELEVATION.current);
        }
        WDialogShow(SURFACE_TOOLBAR_X, SURFACE_TOOLBAR_Y, 0, MODELESS);
        for (int forces : {IDD_FORCES_COEFFICIENTS, IDD_FORCES_ENGLISH, IDD_FORCES_SI}) {
            WDialogLoad(forces);
            WDialogSelect(forces);
            if (SURFACE.SURFACE_COUNT < 2) {
                WDialogFieldState(IDC_FORCE_SURFACE, 0);
                if (forces != IDD_FORCES_SI)
                    WDialogFieldState(IDC_FORCE_SURFACE_LABEL, 0);
            }
            // Every forces dialog starts with the moment point at the origin, so that a change of unit
            // system converts a number rather than an empty field.
            for (int field : {IDC_POINT_X, IDC_POINT_Y, IDC_POINT_Z})
                WDialogPutReal(field, 0.0f, "(G10.4)");
        }
        // The SI dialog is shown whatever the unit system; the handler shows another on a change.
        WDialogShow(FORCES_X, FORCES_Y, 0, MODELESS);
    }

    // The progress log.
    WDialogLoad(IDD_LOG);
    WDialogSelect(IDD_LOG);
    if (GAS.GAS_REACTIONS == 0)
        for (int field :
             {IDC_LOG_REACTIONS, IDC_LOG_REACTION_TYPE, IDC_LOG_REACTION_TYPE_LABEL, IDC_LOG_REACTIONS_LABEL})
            WDialogFieldState(field, 0);
    WDialogShow(LOG_X, LOG_Y, 0, MODELESS);

    // The dialogs of the paused displays, loaded but not shown.
    for (int dialog : LATER_DIALOGS)
        WDialogLoad(dialog);

    // A run whose sample is empty starts from the run-start settings.
    if (SAMPLES.SAMPLE_COUNT == 0)
        set_run_start_display_settings();

    IGrColourN(0);
}

void REDRAW_ALL_DISPLAYS()
{
    if (SURFACE.SOLID_TRIANGLE_COUNT > 0) {
        SHOW_FORCES_AND_MOMENTS();
        DRAW_SURFACE_PROPERTIES();
    }
    PLOT_MOLECULE_HISTORY();
    DRAW_FLOWFIELD_PROPERTIES();
}

std::string FOUR_DIGIT_TEXT(int n)
{
    std::string digits = std::to_string(std::llabs(static_cast<long long>(n)));
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

void SAVE_DISPLAY_PICTURE()
{
    const std::string name = "D3D" + FOUR_DIGIT_TEXT(RUN.PICTURE_COUNTER) + ".BMP";
    IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    IGrSaveImage(name);
}
