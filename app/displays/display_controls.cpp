// HANDLE_DISPLAY_CONTROLS: after every poll of the message queue, reads the controls of the modeless
// control dialogs into the display settings (the (current, previous) pairs), keeps them in their
// limits, converts the plane position and the moment point when the unit system changes, and redraws
// the displays whose settings changed. It never changes the simulation state.
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"
#include "app/displays/section_state.h"
#include "app/displays/surface_values.h"

#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/number_text.h"

#include <algorithm>
#include <string>

namespace {

// The texts of the gas reactions 1..23 that the progress log names after "Reaction type" and the number.
constexpr const char* REACTION_TEXTS[] = {
    " is O2+N->2O+N",    " is O2+NO->2O+NO",  " is O2+N2->2O+N2",  " is 2O2->2O+O2", " is O2+O->3O",
    " is N2+O->2N+O",    " is N2+O2->2N+O2",  " is N2+NO->2N+NO",  " is 2N2->2N+N2", " is N2+N->3N",
    " is NO+N2->N+O+N2", " is NO+O2->N+O+O2", " is 2NO->N+O+NO",   " is NO+O->N+2O", " is NO+N->2N+O",
    " is NO+O->O2+N",    " is N2+O->NO+N",    " is O2+N->NO+O",    " is NO+N->N2+O", " is O+O+M1->O2+M1",
    " is N+N+M2->N2+M2", " is 3N->N2+N",      " is N+O+M3->NO+M3",
};
constexpr int NAMED_REACTIONS = static_cast<int>(sizeof REACTION_TEXTS / sizeof REACTION_TEXTS[0]);

// A list selection into a setting: an empty list leaves the setting as it is.
void read_list(int field, int& setting)
{
    int item = FIELD_EMPTY;
    std::string text;
    WDialogGetMenu(field, item, text);
    if (item != FIELD_EMPTY)
        setting = item;
}

// ---- the unit system

// Carries the moment point and the plane position from the old system's dialogs to the new ones and
// shows those. A field that reads empty is not carried: a converted -999 would be taken for a value.
void change_unit_system(int old_units, int new_units)
{
    DisplaySettings& d = DISPLAY;
    if (SURFACE.SURFACE_COUNT > 0) {
        const int fields[3] = {IDC_POINT_X, IDC_POINT_Y, IDC_POINT_Z};
        float point[3];
        WDialogSelect(forces_dialog(old_units));
        for (int i = 0; i < 3; ++i)
            WDialogGetReal(fields[i], point[i]);
        WDialogSelect(forces_dialog(new_units));
        for (int i = 0; i < 3; ++i)
            if (point[i] != FIELD_EMPTY)
                WDialogPutReal(fields[i], convert_length(point[i], old_units, new_units, i + 1), "(G10.4)");
        WDialogShow(FORCES_X, FORCES_Y, 0, MODELESS);
    }
    float position = FIELD_EMPTY;
    WDialogSelect(flow_toolbar(old_units));
    WDialogGetReal(IDC_FLOW_POSITION, position);
    read_radio(IDC_FLOW_AXIS_X, d.FLOW_PLANE_AXIS.current);
    WDialogSelect(flow_toolbar(new_units));
    if (position != FIELD_EMPTY)
        WDialogPutReal(IDC_FLOW_POSITION,
                       convert_length(position, old_units, new_units, d.FLOW_PLANE_AXIS.current), "(G10.4)");
    WDialogShow(FLOW_TOOLBAR_X, FLOW_TOOLBAR_Y, 0, MODELESS);
    DRAW_FLOWFIELD_PROPERTIES();
    if (SURFACE.SURFACE_COUNT > 0) {
        DRAW_SURFACE_PROPERTIES();
        SHOW_FORCES_AND_MOMENTS();
    }
}

void read_unit_system()
{
    int& units = RUN.OUTPUT_UNITS;
    const int old_units = units;
    WDialogSelect(IDD_OUTPUT_UNITS);
    read_radio(IDC_UNITS_SI, units);
    if (units < UNITS_SI || units > UNITS_RATIO)
        units = old_units;
    if (GAS.STREAM_SPEED < MIN_RATIO_STREAM_SPEED && units == UNITS_RATIO) {
        WMessageBox(0, 3, 1, RATIO_REFUSED_TEXT, RATIO_REFUSED_TITLE);
        units = old_units;
        WDialogSelect(IDD_OUTPUT_UNITS);
        WDialogPutRadioButton(units_radio(units));
    }
    if (units != old_units)
        change_unit_system(old_units, units);
}

// ---- the flowfield toolbar of the unit system

// A new flowfield property starts on a linear scale without range shifts: the box is cleared before
// the drawing, so that the new property is drawn as the box shows.
void redraw_new_flow_property()
{
    DisplaySettings& d = DISPLAY;
    WDialogSelect(flow_toolbar(RUN.OUTPUT_UNITS));
    WDialogPutCheckBox(IDC_FLOW_LOG_SCALE, 0);
    WDialogPutInteger(IDC_FLOW_RANGE_LOW, 0);
    WDialogPutInteger(IDC_FLOW_RANGE_HIGH, 0);
    d.FLOW_RANGE_LOW.previous = 0;
    d.FLOW_RANGE_HIGH.previous = 0;
    if (d.FLOW_LOG_SCALE.current == 1)
        d.FLOW_LOG_SCALE.set(0);
    DRAW_FLOWFIELD_PROPERTIES();
}

// A new scale drops the range shifts; the spins keep their text.
void redraw_new_flow_scale()
{
    DISPLAY.FLOW_RANGE_LOW.set(0);
    DISPLAY.FLOW_RANGE_HIGH.set(0);
    DRAW_FLOWFIELD_PROPERTIES();
}

// A new axis starts again at division 1, element 1, with the spins of its counts.
void redraw_new_flow_axis()
{
    DisplaySettings& d = DISPLAY;
    const int axis = d.FLOW_PLANE_AXIS.current;
    WDialogSelect(flow_toolbar(RUN.OUTPUT_UNITS));
    WDialogPutInteger(IDC_FLOW_DIVISION, 1);
    WDialogPutInteger(IDC_FLOW_ELEMENT, 1);
    WDialogPutInteger(IDC_FLOW_RANGE_LOW, 0);
    WDialogPutInteger(IDC_FLOW_RANGE_HIGH, 0);
    d.FLOW_PLANE_DIVISION.set(1);
    d.FLOW_PLANE_ELEMENT.set(1);
    d.FLOW_RANGE_LOW.set(0);
    d.FLOW_RANGE_HIGH.set(0);
    DRAW_FLOWFIELD_PROPERTIES();
    WDialogSelect(flow_toolbar(RUN.OUTPUT_UNITS));
    WDialogRangeInteger(IDC_FLOW_DIVISION, 1, division_count(axis));
    WDialogRangeInteger(IDC_FLOW_ELEMENT, 1, element_count(axis));
}

void read_flowfield_toolbar()
{
    DisplaySettings& d = DISPLAY;
    const int toolbar = flow_toolbar(RUN.OUTPUT_UNITS);

    // The property, held to the species of the run.
    WDialogSelect(toolbar);
    read_list(IDC_FLOW_PROPERTY, d.FLOW_PROPERTY.current);
    if (d.FLOW_PROPERTY.current > VAR_FRACTION + GAS.SPECIES_COUNT)
        d.FLOW_PROPERTY.current = VAR_PRESSURE;
    redraw_if_changed({&d.FLOW_PROPERTY}, redraw_new_flow_property);

    read_control_rows(toolbar,
                      {
                          {IDC_FLOW_LOG_SCALE, &d.FLOW_LOG_SCALE, read_check_box, redraw_new_flow_scale},
                          {IDC_FLOW_RANGE_LOW, &d.FLOW_RANGE_LOW, read_spin, DRAW_FLOWFIELD_PROPERTIES},
                          {IDC_FLOW_RANGE_HIGH, &d.FLOW_RANGE_HIGH, read_spin, DRAW_FLOWFIELD_PROPERTIES},
                          {IDC_FLOW_AXIS_X, &d.FLOW_PLANE_AXIS, read_radio, redraw_new_flow_axis},
                      });

    // Division and element, held to the counts of the axis; a corrected value is written back.
    const int axis = d.FLOW_PLANE_AXIS.current;
    int& division = d.FLOW_PLANE_DIVISION.current;
    int& element = d.FLOW_PLANE_ELEMENT.current;
    WDialogSelect(toolbar);
    WDialogGetInteger(IDC_FLOW_DIVISION, division);
    WDialogGetInteger(IDC_FLOW_ELEMENT, element);
    auto clamp_into = [](int& value, int limit, bool upper, int field) {
        if (upper ? value > limit : value < limit) {
            value = limit;
            WDialogPutInteger(field, value);
        }
    };
    clamp_into(division, 1, false, IDC_FLOW_DIVISION);
    clamp_into(element, 1, false, IDC_FLOW_ELEMENT);
    clamp_into(division, std::max(division_count(axis), 1), true, IDC_FLOW_DIVISION);
    clamp_into(element, std::max(element_count(axis), 1), true, IDC_FLOW_ELEMENT);
    redraw_if_changed({&d.FLOW_PLANE_DIVISION, &d.FLOW_PLANE_ELEMENT}, DRAW_FLOWFIELD_PROPERTIES);

    // The plane through the middle of the chosen elements, in the unit system.
    const float stored = element_layer_centre(axis, division, element);
    WDialogSelect(toolbar);
    WDialogPutReal(IDC_FLOW_POSITION, shown_length(stored, RUN.OUTPUT_UNITS, axis), "(G13.7)");

    read_control_rows(
        toolbar, {{IDC_FLOW_WHITE, &d.FLOW_WHITE_BACKGROUND, read_check_box, DRAW_FLOWFIELD_PROPERTIES}});

    // The paused section display.
    int pause = 0;
    WDialogSelect(toolbar);
    WDialogGetCheckBox(IDC_FLOW_PAUSE, pause);
    if (pause == 1)
        RUN_SECTION_DISPLAY();
}

// ---- the surface toolbar and the forces dialog

// A new scale shows the range shifts at 0.
void redraw_new_surface_scale()
{
    DisplaySettings& d = DISPLAY;
    WDialogSelect(IDD_SURFACE_TOOLBAR);
    WDialogPutInteger(IDC_SURF_RANGE_LOW, 0);
    WDialogPutInteger(IDC_SURF_RANGE_HIGH, 0);
    d.SURF_RANGE_LOW.previous = 0;
    d.SURF_RANGE_HIGH.previous = 0;
    DRAW_SURFACE_PROPERTIES();
}

// A new surface property starts on a linear scale without range shifts.
void redraw_new_surface_property()
{
    WDialogSelect(IDD_SURFACE_TOOLBAR);
    WDialogPutCheckBox(IDC_SURF_LOG_SCALE, 0);
    DISPLAY.SURF_LOG_SCALE.set(0);
    redraw_new_surface_scale();
}

void read_surface_toolbar()
{
    DisplaySettings& d = DISPLAY;

    // The property, held to the species of the run.
    WDialogSelect(IDD_SURFACE_TOOLBAR);
    read_list(IDC_SURF_PROPERTY, d.SURF_DISPLAY_PROPERTY.current);
    if (d.SURF_DISPLAY_PROPERTY.current > LIVE_FRACTION + GAS.SPECIES_COUNT)
        d.SURF_DISPLAY_PROPERTY.current = LIVE_SURFACE_TEMP;
    redraw_if_changed({&d.SURF_DISPLAY_PROPERTY}, redraw_new_surface_property);

    // The scale, the view steps, the range shifts and the background (one drawing for them all).
    read_control_rows(IDD_SURFACE_TOOLBAR,
                      {
                          {IDC_SURF_LOG_SCALE, &d.SURF_LOG_SCALE, read_check_box, redraw_new_surface_scale},
                          {IDC_SURF_ZOOM, &d.SURF_VIEW_ZOOM, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_SHIFT_H, &d.SURF_VIEW_SHIFT_H, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_SHIFT_V, &d.SURF_VIEW_SHIFT_V, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_AZIMUTH, &d.SURF_VIEW_AZIMUTH, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_ELEVATION, &d.SURF_VIEW_ELEVATION, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_RANGE_LOW, &d.SURF_RANGE_LOW, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_RANGE_HIGH, &d.SURF_RANGE_HIGH, read_spin, DRAW_SURFACE_PROPERTIES},
                          {IDC_SURF_WHITE, &d.SURF_WHITE_BACKGROUND, read_check_box, DRAW_SURFACE_PROPERTIES},
                      });

    // The paused surface display window.
    int pause = 0;
    WDialogSelect(IDD_SURFACE_TOOLBAR);
    WDialogGetCheckBox(IDC_SURF_PAUSE, pause);
    if (pause == 1)
        SURFACE_DISPLAY_WINDOW();

    // The surface of the forces; a number outside 1..SURFACE_COUNT returns to the previous one.
    if (SURFACE.SURFACE_COUNT == 1) {
        d.FORCE_SURFACE.set(1);
        return;
    }
    WDialogSelect(forces_dialog(RUN.OUTPUT_UNITS));
    WDialogGetInteger(IDC_FORCE_SURFACE, d.FORCE_SURFACE.current);
    if (d.FORCE_SURFACE.current > SURFACE.SURFACE_COUNT || d.FORCE_SURFACE.current < 1) {
        d.FORCE_SURFACE.current = d.FORCE_SURFACE.previous;
        WDialogPutInteger(IDC_FORCE_SURFACE, d.FORCE_SURFACE.previous);
    } else {
        redraw_if_changed({&d.FORCE_SURFACE}, SHOW_FORCES_AND_MOMENTS);
    }
}

// ---- the reaction that the progress log counts

// The log's note names a reaction of the table (the log dialog is selected).
void write_reaction_note()
{
    const int reaction = DISPLAY.LOG_REACTION.current;
    if (reaction > NAMED_REACTIONS)
        return;
    std::string number;
    IIntegerToString(reaction, number, "(I4)");
    WDialogPutString(IDC_LOG_NOTE, "Reaction type " + number + REACTION_TEXTS[reaction - 1]);
}

void read_log_reaction()
{
    DisplayPair& r = DISPLAY.LOG_REACTION;
    WDialogSelect(IDD_LOG);
    WDialogGetInteger(IDC_LOG_REACTION_TYPE, r.current);
    if (r.current > GAS.GAS_REACTIONS || r.current < 1) {
        r.current = r.previous;
        WDialogPutInteger(IDC_LOG_REACTION_TYPE, r.previous);
        return;
    }
    redraw_if_changed({&r}, write_reaction_note);
}

}  // namespace

void HANDLE_DISPLAY_CONTROLS()
{
    read_unit_system();
    if (RUN.OUTPUT_COUNT >= 1) {
        read_flowfield_toolbar();
        if (SURFACE.SURFACE_COUNT > 0)
            read_surface_toolbar();
    }
    if (GAS.GAS_REACTIONS > 0)
        read_log_reaction();
}
