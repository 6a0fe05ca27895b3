// RUN_SECTION_DISPLAY: the flowfield section display, the paused and detailed view of one plane of the
// flowfield. It hides the main window's control bars, opens its window with three dialogs beside it
// (property and plane, point report, instructions with the scale and colour choices) and runs its own
// message loop until a close request: left presses report the flow at a point, right presses add
// flow-direction lines, the dialogs choose plane, property, species, scale, colours and range, and the
// picture spin saves the window's picture as "D3Dnnnn.BMP". The time-step loop waits meanwhile.
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"
#include "app/displays/flowfield_properties.h"
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"

#include <algorithm>

namespace {

constexpr const char* SECTION_TITLE =
    "Distribution of Flowfield Properties (Uniform over each Computational Cell)";
constexpr int MAX_FLOW_LINES = 50;

// The display's dialogs stand in a left column of the main window's client, given in its 0..9999 units
// (as every pop-up dialog is placed): rows 0, 238 and 540 of its 718, which on a 1024 x 768 screen are
// the screen pixels (2, 23), (2, 261) and (2, 563). The window opens beside them at screen pixel
// (393, 23), its client 621 x 690 pixels.
constexpr int PLANE_DIALOG_X = 0, PLANE_DIALOG_Y = 0;
constexpr int REPORT_DIALOG_X = 0, REPORT_DIALOG_Y = 3320;
constexpr int MAP_DIALOG_X = 0, MAP_DIALOG_Y = 7531;
constexpr int WINDOW_X = 393, WINDOW_Y = 23;
constexpr int DEFAULT_FRAME = 7;  // system menu, minimise and maximise boxes

void show_plane_position()
{
    SectionDisplayState& s = SECTION;
    WDialogSelect(section_plane_dialog(RUN.OUTPUT_UNITS));
    WDialogPutReal(IDC_SECTION_POSITION,
                   shown_length(s.SECTION_PLANE_POSITION, RUN.OUTPUT_UNITS, s.JSDIR.current), "(G12.6)");
}

// ---- opening and closing

void open_display()
{
    const int units = RUN.OUTPUT_UNITS;
    SectionDisplayState& s = SECTION;

    // The main window without its bars, and the display's opening state.
    hide_main_bars();
    WWinClear();
    IGrColourN(RAMP_WHITE);
    open_section_display_state();

    // The three dialogs: plane and property, point report, instructions with scale and colours.
    WDialogSelect(section_plane_dialog(units));
    WDialogPutRadioButton(IDC_SECTION_AXIS_Z);
    WDialogPutRadioButton(IDC_SECTION_TEMPERATURE);
    show_plane_position();
    for (int field : {IDC_SECTION_DIVISION, IDC_SECTION_ELEMENT, IDC_SECTION_SPECIES})
        WDialogPutInteger(field, 1);
    WDialogShow(PLANE_DIALOG_X, PLANE_DIALOG_Y, 0, MODELESS);

    WDialogSelect(point_report_dialog(units));
    WDialogPutInteger(IDC_REPORT_SPECIES, s.REPORT_SPECIES.current);
    WDialogShow(REPORT_DIALOG_X, REPORT_DIALOG_Y, 0, MODELESS);

    WDialogSelect(IDD_COLOUR_MAP);
    WDialogPutRadioButton(IDC_MAP_LINEAR);
    WDialogPutRadioButton(IDC_MAP_COLOUR_1);
    WDialogPutRadioButton(IDC_MAP_BLACK);
    WDialogPutInteger(IDC_MAP_RANGE_LOW, 0);
    WDialogPutInteger(IDC_MAP_RANGE_HIGH, 0);
    WDialogPutInteger(IDC_MAP_PICTURE, RUN.PICTURE_COUNTER);
    WDialogShow(MAP_DIALOG_X, MAP_DIALOG_Y, 0, MODELESS);

    // The window beside them, and its first picture.
    WWinOpenChild(s.SECTION_WINDOW, DEFAULT_FRAME, WINDOW_X, WINDOW_Y, SECTION_PICTURE_WIDTH,
                  SECTION_PICTURE_HEIGHT, SECTION_TITLE);
    WWinRaise(s.SECTION_WINDOW);
    DRAW_FLOWFIELD_SECTION();
    CLEAR_POINT_REPORT();
}

void close_display()
{
    const int units = RUN.OUTPUT_UNITS;
    for (int dialog : {section_plane_dialog(units), point_report_dialog(units), IDD_COLOUR_MAP}) {
        WDialogSelect(dialog);
        WDialogHide();
    }

    // The main window's bars where they were first shown; the pause box that opened the display is
    // cleared so that the handler does not open it again.
    show_main_bars(0);
    WDialogSelect(flow_toolbar(units));
    WDialogPutCheckBox(IDC_FLOW_PAUSE, 0);

    WWinCloseChild(SECTION.SECTION_WINDOW);
    WWinSelect(0);
    WWinClear();
    IGrColourN(RAMP_WHITE);
    // The cleared main window gets its live displays back now, not only at the next output.
    REDRAW_ALL_DISPLAYS();
}

// ---- one pass of the loop: the dialogs

// A new plane: no range shifts, no reported point, no flow-direction lines, and the picture anew.
void plane_changed()
{
    SectionDisplayState& s = SECTION;
    s.SECTION_RANGE_LOW.set(0);
    s.SECTION_RANGE_HIGH.set(0);
    WDialogSelect(IDD_COLOUR_MAP);
    WDialogPutInteger(IDC_MAP_RANGE_LOW, 0);
    WDialogPutInteger(IDC_MAP_RANGE_HIGH, 0);
    CLEAR_POINT_REPORT();
    DISPLAY.FLOW_LINE_COUNT = 0;
    DRAW_FLOWFIELD_SECTION();
}

// Reads a division or element spin and holds it to 1..limit (writing a corrected value back).
void read_plane_spin(int field, DisplayPair& setting, int limit)
{
    WDialogSelect(section_plane_dialog(RUN.OUTPUT_UNITS));
    WDialogGetInteger(field, setting.current);
    const int held = std::clamp(setting.current, 1, std::max(limit, 1));
    if (held != setting.current) {
        setting.current = held;
        WDialogPutInteger(field, held);
    }
}

// Reads a species spin; a new value is held to 1..SPECIES_COUNT (written back when corrected).
bool read_species_spin(int field, DisplayPair& setting)
{
    WDialogGetInteger(field, setting.current);
    if (!changed(setting))
        return false;
    const int held = std::clamp(setting.current, 1, std::max(GAS.SPECIES_COUNT, 1));
    if (held != setting.current) {
        setting.current = held;
        WDialogPutInteger(field, held);
    }
    setting.previous = setting.current;
    return true;
}

// A new axis starts at element 1 of division 1, without flow-direction lines.
void redraw_new_axis()
{
    SectionDisplayState& s = SECTION;
    s.SECTION_DIVISION.set(1);
    s.SECTION_ELEMENT.set(1);
    DISPLAY.FLOW_LINE_COUNT = 0;
    s.SECTION_PLANE_POSITION = section_plane_position();
    show_plane_position();
    WDialogPutInteger(IDC_SECTION_DIVISION, 1);
    WDialogPutInteger(IDC_SECTION_ELEMENT, 1);
    plane_changed();
}

void redraw_new_element()
{
    SECTION.SECTION_PLANE_POSITION = section_plane_position();
    show_plane_position();
    plane_changed();
}

// A new division also clears the box that deletes the lines.
void redraw_new_division()
{
    SECTION.SECTION_PLANE_POSITION = section_plane_position();
    show_plane_position();
    WDialogSelect(IDD_COLOUR_MAP);
    WDialogPutCheckBox(IDC_MAP_DELETE_LINES, 0);
    plane_changed();
}

// The scale radio group: position 1 linear (0), 2 logarithmic (1).
void read_scale(int field, int& log_scale)
{
    int position = log_scale + 1;
    read_radio(field, position);
    log_scale = position - 1;
}

// The background radio group: position 1 white (1), 2 black (0).
void read_background(int field, int& white)
{
    int position = white == 1 ? 1 : 2;
    read_radio(field, position);
    white = position == 1 ? 1 : 0;
}

void read_dialogs()
{
    SectionDisplayState& s = SECTION;
    DisplaySettings& d = DISPLAY;
    const int plane_dialog = section_plane_dialog(RUN.OUTPUT_UNITS);

    read_control_rows(plane_dialog, {{IDC_SECTION_AXIS_X, &s.JSDIR, read_radio, redraw_new_axis}});
    const int axis = s.JSDIR.current;
    read_plane_spin(IDC_SECTION_ELEMENT, s.SECTION_ELEMENT, element_count(axis));
    redraw_if_changed({&s.SECTION_ELEMENT}, redraw_new_element);
    read_plane_spin(IDC_SECTION_DIVISION, s.SECTION_DIVISION, division_count(axis));
    redraw_if_changed({&s.SECTION_DIVISION}, redraw_new_division);

    // The species of the picture, and the property.
    WDialogSelect(plane_dialog);
    if (read_species_spin(IDC_SECTION_SPECIES, s.SECTION_SPECIES))
        DRAW_FLOWFIELD_SECTION();
    read_control_rows(plane_dialog,
                      {{IDC_SECTION_SAMPLE_SIZE, &s.SECTION_PROPERTY, read_radio, DRAW_FLOWFIELD_SECTION}});

    // The species of the point report: reported again at the stored point.
    WDialogSelect(point_report_dialog(RUN.OUTPUT_UNITS));
    if (read_species_spin(IDC_REPORT_SPECIES, s.REPORT_SPECIES)) {
        SHOW_POINT_REPORT();
        DRAW_FLOWFIELD_SECTION();
    }

    // Scale, colour map, range shifts and background.
    read_control_rows(
        IDD_COLOUR_MAP,
        {
            {IDC_MAP_LINEAR, &s.SECTION_LOG_SCALE, read_scale, DRAW_FLOWFIELD_SECTION},
            {IDC_MAP_COLOUR_1, &d.FLOW_COLOUR_MAP, read_radio, DRAW_FLOWFIELD_SECTION},
            {IDC_MAP_RANGE_LOW, &s.SECTION_RANGE_LOW, read_spin, DRAW_FLOWFIELD_SECTION},
            {IDC_MAP_RANGE_HIGH, &s.SECTION_RANGE_HIGH, read_spin, DRAW_FLOWFIELD_SECTION},
            {IDC_MAP_WHITE, &s.SECTION_WHITE_BACKGROUND, read_background, DRAW_FLOWFIELD_SECTION},
        });

    // The picture: a spin above the counter saves the window's picture under the counter's number.
    // The spin is not written back, so a spin raised by k saves one picture in each of the next k
    // passes; the counter advances even when the file cannot be written (the toolkit reports that).
    WDialogSelect(IDD_COLOUR_MAP);
    int picture = 0;
    WDialogGetInteger(IDC_MAP_PICTURE, picture);
    if (picture > RUN.PICTURE_COUNTER) {
        SAVE_DISPLAY_PICTURE();
        ++RUN.PICTURE_COUNTER;
        DRAW_FLOWFIELD_SECTION();
    }

    // Deleting the flow-direction lines.
    WDialogSelect(IDD_COLOUR_MAP);
    int delete_lines = 0;
    WDialogGetCheckBox(IDC_MAP_DELETE_LINES, delete_lines);
    if (delete_lines == 1) {
        WDialogPutCheckBox(IDC_MAP_DELETE_LINES, 0);
        d.FLOW_LINE_COUNT = 0;
        DRAW_FLOWFIELD_SECTION();
    }
}

// ---- one pass of the loop: the message

// A mouse press at (X, Y) in 0..9999 units of the window: logged, turned into a point of the plane
// with the frame of the last picture; inside the box the left button reports the flow there and the
// right one adds a flow-direction line through it.
void mouse_press(int button, int X, int Y)
{
    SectionDisplayState& s = SECTION;
    DisplaySettings& d = DISPLAY;
    write_list(UNIT_DIAG, {"JSDIR=3, I", button, " X,Y", static_cast<float>(X), static_cast<float>(Y)});
    const int axis = std::clamp(s.JSDIR.current, 1, 3);
    float h = 0.0f, v = 0.0f;
    section_press_point(X, Y, h, v);
    if (axis == 1) {
        s.SECTION_PICK_Z = h;
        s.SECTION_PICK_Y = v;
    } else {
        s.SECTION_PICK_X = h;
        (axis == 2 ? s.SECTION_PICK_Z : s.SECTION_PICK_Y) = v;
    }
    const int across = plane_across_axis(axis), up = plane_up_axis(axis);
    auto inside = [](float c, int a) { return box_minimum(a) < c && c < box_maximum(a); };
    if (!inside(h, across) || !inside(v, up))
        return;
    if (button == 1) {
        s.SECTION_POINT_SHOWN = 1;
        SHOW_POINT_REPORT();
        DRAW_FLOWFIELD_SECTION();
    } else if (button == 3 && d.FLOW_LINE_COUNT < MAX_FLOW_LINES) {
        const int i = std::max(d.FLOW_LINE_COUNT, 0);
        d.FLOW_LINE_COUNT = i + 1;
        d.FLOW_LINE_X[i] = h;
        d.FLOW_LINE_Y[i] = v;
        s.SECTION_PLANE_POSITION = section_plane_position();
        DRAW_FLOWFIELD_SECTION();
    }
}

}  // namespace

void section_press_point(int X, int Y, float& across, float& up)
{
    const int axis = std::clamp(SECTION.JSDIR.current, 1, 3);
    const double left = PLANE_FRAME_LEFT(axis), right = PLANE_FRAME_RIGHT(axis);
    const double bottom = PLANE_FRAME_BOTTOM(axis), top = PLANE_FRAME_TOP(axis);
    across = static_cast<float>(left + (right - left) * X / 10000.0);
    up = static_cast<float>(bottom + (top - bottom) * (9000.0 - Y) / 9000.0);
}

void RUN_SECTION_DISPLAY()
{
    open_display();
    for (;;) {
        // No busy pause: the picture is drawn at the start of every pass, then the dialogs are read.
        DRAW_FLOWFIELD_SECTION();
        read_dialogs();

        int type = MsgNone;
        WinMessage message;
        WMsgWait(type, message);
        if (type == MsgMouseDown) {
            mouse_press(message.value1, message.x, message.y);
        } else if (type == MsgExpose) {
            WWinRaise(SECTION.SECTION_WINDOW);
            DRAW_FLOWFIELD_SECTION();
        } else if (type == MsgCloseRequest) {
            close_display();
            return;
        }
    }
}
