// The control dialogs of the result displays by unit system, and the conversions of lengths between
// the unit systems; shared by LOAD_DISPLAY_DIALOGS and HANDLE_DISPLAY_CONTROLS.
#ifndef QR4T_APP_DISPLAYS_DISPLAY_DIALOGS_H
#define QR4T_APP_DISPLAYS_DISPLAY_DIALOGS_H

#include "app/state/display.h"
#include "resources/dialog_ids.h"

#include <initializer_list>

// Unit systems of OUTPUT_UNITS.
enum OutputUnits {
    UNITS_SI = 1,
    UNITS_ENGLISH = 2,
    UNITS_RATIO = 3,  // dimensionless
};

// Positions of the control dialogs in 0..9999 units of the main window's client area.
constexpr int UNITS_BAR_X = 7000, UNITS_BAR_Y = 0;
constexpr int FLOW_TOOLBAR_X = 5000, FLOW_TOOLBAR_Y = 2345;
constexpr int SURFACE_TOOLBAR_X = 0, SURFACE_TOOLBAR_Y = 2345;
constexpr int FORCES_X = 7000, FORCES_Y = 340;
constexpr int LOG_X = 0, LOG_Y = 0;
constexpr int MODELESS = 2;

// Below this stream speed the dimensionless system has no reference speed and is refused.
constexpr float MIN_RATIO_STREAM_SPEED = 0.001f;
constexpr const char* RATIO_REFUSED_TEXT = "Cannot choose \"Non-dimensional\" for zero stream speed";
constexpr const char* RATIO_REFUSED_TITLE = "Option not available";
// Title of the reference area dialog and of its refusal.
constexpr const char* REFERENCE_AREA_TITLE = "Characteristic Area";

// The dialog of a unit system among the three sets (SI, English, dimensionless); SI for any other.
int dialog_of_units(int units, int si, int english, int ratio);
// The flowfield toolbar and the forces dialog of a unit system 1..3.
int flow_toolbar(int units);
int forces_dialog(int units);

// The checked position of a radio group into a setting; a group without a checked button (-999)
// leaves the setting as it is.
void read_radio(int field, int& setting);
// A display setting whose control differs from what was last drawn.
bool changed(const DisplayPair& p);
// A spin's or a check box's value into a setting (readers of a ControlRow, beside read_radio).
void read_spin(int field, int& setting);
void read_check_box(int field, int& setting);

// A row of a control table: a control of a display dialog, the setting that mirrors it, how the
// control is read, and the picture (with what goes before it) that a new value redraws.
struct ControlRow {
    int field;
    DisplayPair* pair;
    void (*read)(int field, int& setting);
    void (*redraw)();
};
// Reads the rows' controls of the dialog, in order, into their settings. Consecutive rows with the
// same redraw are one group: when a setting of the group differs from what was last drawn, every
// setting of the group takes its value as drawn and the picture is redrawn once. The dialog is
// selected again for each group, since a redraw may select another one.
void read_control_rows(int dialog, std::initializer_list<ControlRow> rows);
// When any of the settings differs from what was last drawn: each takes its value as drawn, then
// `redraw` runs. True when it ran.
bool redraw_if_changed(std::initializer_list<DisplayPair*> pairs, void (*redraw)());

// The main window's control bars (the toolbars, the forces dialog of the unit system, the units bar,
// the log): hidden, with the main window made current first, while a paused display has the screen;
// shown again where they were first shown, the units bar with the focus on `units_focus` (0 none).
// Without surfaces the surface toolbar and the forces dialogs were never loaded and are left alone.
void hide_main_bars();
void show_main_bars(int units_focus);
// A logarithmic scale that a picture cannot take: the setting and the toolbar's box both return to
// linear, so that the box is not read as a new request for the logarithm at every poll.
void refuse_log_scale(DisplayPair& setting, int dialog, int box);
// The radio button of the "Output Units" bar for a unit system.
int units_radio(int units);

// A length v shown in unit system `from` converted to unit system `to`, along the axis 1 x, 2 y, 3 z:
// SI metres, English feet, dimensionless the true length over the true box extent of that axis.
float convert_length(float v, int from, int to, int axis);
// A stored (scaled) coordinate along an axis shown in a unit system: SI the true length, English that
// in feet, dimensionless the coordinate over the stored box extent.
float shown_length(float stored, int units, int axis);

#endif
