// HANDLE_DISPLAY_CONTROLS: after every poll of the message queue, reads the controls of the modeless
// control dialogs into the display settings (the (current, previous) pairs), keeps them in their
// limits, converts the plane position and the moment point when the unit system changes, and redraws
// the displays whose settings changed. It never changes the simulation state.
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"
#include "app/displays/section_state.h"

#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/number_text.h"

#include <algorithm>
#include <string>

namespace {

constexpr int GAS_PROPERTIES = 17;  // flowfield properties before the species fractions
constexpr int SURFACE_PROPERTIES = 10;

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

// ---- A. the unit system

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

// ---- C. the flowfield toolbar of the unit system

void read_flowfield_toolbar()
{
    DisplaySettings& d = DISPLAY;
    WDialogSelect(flow_toolbar(RUN.OUTPUT_UNITS));

    // 1-2. The property; a new one clears the log scale and the range shifts.
    read_list(IDC_FLOW_PROPERTY, d.FLOW_PROPERTY.current);
    if (d.FLOW_PROPERTY.current > GAS_PROPERTIES + GAS.SPECIES_COUNT)
        d.FLOW_PROPERTY.current = GAS_PROPERTIES;
    if (changed(d.FLOW_PROPERTY)) {
        WDialogPutCheckBox(IDC_FLOW_LOG_SCALE, 0);
        WDialogPutInteger(IDC_FLOW_RANGE_LOW, 0);
        WDialogPutInteger(IDC_FLOW_RANGE_HIGH, 0);
        d.FLOW_RANGE_LOW.previous = 0;
        d.FLOW_RANGE_HIGH.previous = 0;
        // The box is cleared before the drawing, so that the new property is drawn as the box shows.
        if (d.FLOW_LOG_SCALE.current == 1)
            d.FLOW_LOG_SCALE.set(0);
        DRAW_FLOWFIELD_PROPERTIES();
        d.FLOW_PROPERTY.previous = d.FLOW_PROPERTY.current;
    }

    // 3. The log scale; the spins keep their text.
    WDialogGetCheckBox(IDC_FLOW_LOG_SCALE, d.FLOW_LOG_SCALE.current);
    if (changed(d.FLOW_LOG_SCALE)) {
        d.FLOW_RANGE_LOW.set(0);
        d.FLOW_RANGE_HIGH.set(0);
        DRAW_FLOWFIELD_PROPERTIES();
        d.FLOW_LOG_SCALE.previous = d.FLOW_LOG_SCALE.current;
    }

    // 4. The range shifts.
    WDialogGetInteger(IDC_FLOW_RANGE_LOW, d.FLOW_RANGE_LOW.current);
    WDialogGetInteger(IDC_FLOW_RANGE_HIGH, d.FLOW_RANGE_HIGH.current);
    if (changed(d.FLOW_RANGE_LOW) || changed(d.FLOW_RANGE_HIGH)) {
        DRAW_FLOWFIELD_PROPERTIES();
        d.FLOW_RANGE_LOW.previous = d.FLOW_RANGE_LOW.current;
        d.FLOW_RANGE_HIGH.previous = d.FLOW_RANGE_HIGH.current;
    }

    // 5. The axis; a new one starts again at division 1, element 1 with the spins of its counts.
    read_radio(IDC_FLOW_AXIS_X, d.FLOW_PLANE_AXIS.current);
    const int axis = d.FLOW_PLANE_AXIS.current;
    if (changed(d.FLOW_PLANE_AXIS)) {
        d.FLOW_PLANE_AXIS.previous = axis;
        WDialogPutInteger(IDC_FLOW_DIVISION, 1);
        WDialogPutInteger(IDC_FLOW_ELEMENT, 1);
        WDialogPutInteger(IDC_FLOW_RANGE_LOW, 0);
        WDialogPutInteger(IDC_FLOW_RANGE_HIGH, 0);
        d.FLOW_PLANE_DIVISION.set(1);
        d.FLOW_PLANE_ELEMENT.set(1);
        d.FLOW_RANGE_LOW.set(0);
        d.FLOW_RANGE_HIGH.set(0);
        DRAW_FLOWFIELD_PROPERTIES();
        WDialogRangeInteger(IDC_FLOW_DIVISION, 1, division_count(axis));
        WDialogRangeInteger(IDC_FLOW_ELEMENT, 1, element_count(axis));
    }

    // 6. Division and element, clamped to the counts of the axis; a corrected value is written back.
    int& division = d.FLOW_PLANE_DIVISION.current;
    int& element = d.FLOW_PLANE_ELEMENT.current;
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
    if (changed(d.FLOW_PLANE_DIVISION) || changed(d.FLOW_PLANE_ELEMENT)) {
        d.FLOW_PLANE_DIVISION.previous = division;
        d.FLOW_PLANE_ELEMENT.previous = element;
        DRAW_FLOWFIELD_PROPERTIES();
    }

    // 7. The plane through the middle of the chosen elements, in the unit system.
    const float stored = element_layer_centre(axis, division, element);
    WDialogPutReal(IDC_FLOW_POSITION, shown_length(stored, RUN.OUTPUT_UNITS, axis), "(G13.7)");

    // 8. The background.
    WDialogGetCheckBox(IDC_FLOW_WHITE, d.FLOW_WHITE_BACKGROUND.current);
    if (changed(d.FLOW_WHITE_BACKGROUND)) {
        DRAW_FLOWFIELD_PROPERTIES();
        d.FLOW_WHITE_BACKGROUND.previous = d.FLOW_WHITE_BACKGROUND.current;
    }

    // 9. The paused section display.
    int pause = 0;
    WDialogGetCheckBox(IDC_FLOW_PAUSE, pause);
    if (pause == 1)
        RUN_SECTION_DISPLAY();
}

// ---- D. the surface toolbar and the forces dialog

void read_surface_toolbar()
{
    DisplaySettings& d = DISPLAY;
    WDialogSelect(IDD_SURFACE_TOOLBAR);

    // 1-2. The property; a new one clears the log scale and the range shifts.
    read_list(IDC_SURF_PROPERTY, d.SURF_DISPLAY_PROPERTY.current);
    if (d.SURF_DISPLAY_PROPERTY.current > SURFACE_PROPERTIES + GAS.SPECIES_COUNT)
        d.SURF_DISPLAY_PROPERTY.current = SURFACE_PROPERTIES;
    if (changed(d.SURF_DISPLAY_PROPERTY)) {
        WDialogPutCheckBox(IDC_SURF_LOG_SCALE, 0);
        d.SURF_LOG_SCALE.set(0);
        WDialogPutInteger(IDC_SURF_RANGE_LOW, 0);
        WDialogPutInteger(IDC_SURF_RANGE_HIGH, 0);
        d.SURF_RANGE_LOW.previous = 0;
        d.SURF_RANGE_HIGH.previous = 0;
        DRAW_SURFACE_PROPERTIES();
        d.SURF_DISPLAY_PROPERTY.previous = d.SURF_DISPLAY_PROPERTY.current;
    }

    // 3. The log scale.
    WDialogGetCheckBox(IDC_SURF_LOG_SCALE, d.SURF_LOG_SCALE.current);
    if (changed(d.SURF_LOG_SCALE)) {
        WDialogPutInteger(IDC_SURF_RANGE_LOW, 0);
        WDialogPutInteger(IDC_SURF_RANGE_HIGH, 0);
        d.SURF_RANGE_LOW.previous = 0;
        d.SURF_RANGE_HIGH.previous = 0;
        DRAW_SURFACE_PROPERTIES();
        d.SURF_LOG_SCALE.previous = d.SURF_LOG_SCALE.current;
    }

    // 4. The view steps, one after the other.
    const std::pair<int, DisplayPair*> view[] = {
        {IDC_SURF_ZOOM, &d.SURF_VIEW_ZOOM},           {IDC_SURF_SHIFT_H, &d.SURF_VIEW_SHIFT_H},
        {IDC_SURF_SHIFT_V, &d.SURF_VIEW_SHIFT_V},     {IDC_SURF_AZIMUTH, &d.SURF_VIEW_AZIMUTH},
        {IDC_SURF_ELEVATION, &d.SURF_VIEW_ELEVATION},
    };
    for (const auto& [field, pair] : view) {
        WDialogGetInteger(field, pair->current);
        if (changed(*pair)) {
            pair->previous = pair->current;
            DRAW_SURFACE_PROPERTIES();
        }
    }

    // 5. The range shifts.
    WDialogGetInteger(IDC_SURF_RANGE_LOW, d.SURF_RANGE_LOW.current);
    WDialogGetInteger(IDC_SURF_RANGE_HIGH, d.SURF_RANGE_HIGH.current);
    if (changed(d.SURF_RANGE_LOW) || changed(d.SURF_RANGE_HIGH)) {
        d.SURF_RANGE_LOW.previous = d.SURF_RANGE_LOW.current;
        d.SURF_RANGE_HIGH.previous = d.SURF_RANGE_HIGH.current;
        DRAW_SURFACE_PROPERTIES();
    }

    // 6. The background.
    WDialogGetCheckBox(IDC_SURF_WHITE, d.SURF_WHITE_BACKGROUND.current);
    if (changed(d.SURF_WHITE_BACKGROUND)) {
        DRAW_SURFACE_PROPERTIES();
        d.SURF_WHITE_BACKGROUND.previous = d.SURF_WHITE_BACKGROUND.current;
    }

    // 7. The paused surface display window.
    int pause = 0;
    WDialogGetCheckBox(IDC_SURF_PAUSE, pause);
    if (pause == 1)
        SURFACE_DISPLAY_WINDOW();

    // 8. The surface of the forces; a number outside 1..SURFACE_COUNT returns to the previous one.
    if (SURFACE.SURFACE_COUNT == 1) {
        d.FORCE_SURFACE.set(1);
        return;
    }
    WDialogSelect(forces_dialog(RUN.OUTPUT_UNITS));
    WDialogGetInteger(IDC_FORCE_SURFACE, d.FORCE_SURFACE.current);
    if (d.FORCE_SURFACE.current > SURFACE.SURFACE_COUNT || d.FORCE_SURFACE.current < 1) {
        d.FORCE_SURFACE.current = d.FORCE_SURFACE.previous;
        WDialogPutInteger(IDC_FORCE_SURFACE, d.FORCE_SURFACE.previous);
    } else if (changed(d.FORCE_SURFACE)) {
        SHOW_FORCES_AND_MOMENTS();
        d.FORCE_SURFACE.previous = d.FORCE_SURFACE.current;
    }
}

// ---- E. the reaction that the progress log counts

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
    if (!changed(r))
        return;
    r.previous = r.current;
    if (r.current <= NAMED_REACTIONS) {
        std::string number;
        IIntegerToString(r.current, number, "(I4)");
        WDialogPutString(IDC_LOG_NOTE, "Reaction type " + number + REACTION_TEXTS[r.current - 1]);
    }
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
