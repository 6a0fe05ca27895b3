// DRAW_DIVISIONS_AND_ELEMENTS and DRAW_CELLS: pictures of one plane of divisions and elements.
//
// Both open the plane dialog 138 and a child window, then cycle: pause, read the plane (axis normal to
// it, division and element along that axis), write its position, draw every division or element of the
// plane as a filled rectangle, and wait for the next message. A close request ends the picture; any
// other message (a changed field, a key, a click) draws it again. Nothing else runs meanwhile.
#include "app/geometry/grid_pictures.h"
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "base/fatal.h"
#include "resources/dialog_ids.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace {

// Places. The dialogs stand in the strip left of the picture, the plane dialog at its top and the
// legend below it: 22 and 282 pixels down the 718-pixel client area, in 0..9999 window units. The
// picture window is 878 x 690 pixels at (135, 23), so its client area has the aspect 1.2725 that the
// user units keep.
constexpr int DIALOG_X = 0;
constexpr int PLANE_DIALOG_Y = 306;
constexpr int LEGEND_DIALOG_Y = 3927;
constexpr int PICTURE_X = 135, PICTURE_Y = 23, PICTURE_WIDTH = 878, PICTURE_HEIGHT = 690;
constexpr int CHILD_FRAME_FLAGS = 7;  // system menu, minimise and maximise boxes
constexpr float PICTURE_ASPECT = 1.2725f;
constexpr int TITLE_LENGTH = 62;  // the titles are passed blank-padded to this length
constexpr int FILL_SOLID = 4;

// Colour numbers of the divisions picture.
constexpr int COLOUR_CUT_ELEMENT = 208;   // partly in the flow
constexpr int COLOUR_FLOW_ELEMENT = 48;   // wholly in the flow
constexpr int COLOUR_EMPTY_ELEMENT = 16;  // no sub-element in the flow
constexpr int COLOUR_NO_CELL = 0;         // inside a body

// The pause before each drawing: the picture is drawn again at most this often.
constexpr std::chrono::milliseconds CYCLE_PAUSE(50);

// The axis read in the previous cycle, per picture (0 before the first cycle of the run).
int divisions_axis = 0;
int cells_axis = 0;

// One axis of the lattice (scaled lengths).
struct Axis {
    double minimum;
    double extent;
    double division_width;
    double element_width;
    int divisions;
    int elements;
};

Axis lattice_axis(int axis)
{
    const auto& B = BOX;
    const auto& D = DIVISIONS;
    switch (axis) {
    case 1:
        return {B.XMIN,        D.BOX_EXTENT_X,           D.DIVISION_WIDTH_X, D.ELEMENT_WIDTH_X,
                B.DIVISIONS_X, B.ELEMENTS_PER_DIVISION_X};
    case 2:
        return {B.YMIN,        D.BOX_EXTENT_Y,           D.DIVISION_WIDTH_Y, D.ELEMENT_WIDTH_Y,
                B.DIVISIONS_Y, B.ELEMENTS_PER_DIVISION_Y};
    default:
        return {B.ZMIN,        D.BOX_EXTENT_Z,           D.DIVISION_WIDTH_Z, D.ELEMENT_WIDTH_Z,
                B.DIVISIONS_Z, B.ELEMENTS_PER_DIVISION_Z};
    }
}

// The chosen plane: the axis normal to it with the division and element along that axis, and the axes
// of the picture. Normal to x the picture shows z across and y up; normal to y, x across and z up;
// normal to z, x across and y up. The drawing loops run the horizontal axis outside the vertical one.
struct Plane {
    int normal = 3;
    int division = 1;
    int element = 1;
    int across = 1;
    int up = 2;
};

// Division and element indices of one element, by axis 1..3 (index 0 unused).
struct LatticePlace {
    int division[4] = {0, 1, 1, 1};
    int element[4] = {0, 1, 1, 1};
    int element_cell() const
    {
        return DIVISIONS.ELEMENT_CELL(division[3], division[2], division[1], element[3], element[2],
                                      element[1]);
    }
};

std::string padded_title(std::string title)
{
    title.resize(std::max<size_t>(title.size(), TITLE_LENGTH), ' ');
    return title;
}

// Opening a picture: the plane dialog (z checked), the legend for the divisions picture, the picture window.
int open_picture(const std::string& title, bool with_legend)
{
    WDialogLoad(IDD_PLANE);
    WDialogSelect(IDD_PLANE);
    WDialogPutRadioButton(IDC_PLANE_Z);
    WDialogShow(DIALOG_X, PLANE_DIALOG_Y, IDC_PLANE_X, 2);
    if (with_legend) {
        WDialogLoad(IDD_GRID_LEGEND);
        WDialogSelect(IDD_GRID_LEGEND);
        WDialogPutCheckBox(IDC_LEGEND_STOP, 0);
        WDialogShow(DIALOG_X, LEGEND_DIALOG_Y, 0, 2);
    }
    int window = -1;
    WWinOpenChild(window, CHILD_FRAME_FLAGS, PICTURE_X, PICTURE_Y, PICTURE_WIDTH, PICTURE_HEIGHT,
                  padded_title(title));
    if (window >= 1)
        WWinSelect(window);
    return window;
}

// Steps 2c and 2d: the plane from dialog 138. A new axis starts again at division 1, element 1. A value
// that lies outside the spin's range (an emptied field reads -999) is taken as the nearest one in range.
Plane read_plane(int& remembered_axis)
{
    Plane p;
    WDialogSelect(IDD_PLANE);
    int axis = 3;
    WDialogGetRadioButton(IDC_PLANE_X, axis);
    if (axis < 1 || axis > 3)
        axis = 3;
    if (axis != remembered_axis) {
        WDialogPutInteger(IDC_PLANE_DIVISION, 1);
        WDialogPutInteger(IDC_PLANE_ELEMENT, 1);
    }
    remembered_axis = axis;
    const Axis a = lattice_axis(axis);
    WDialogRangeInteger(IDC_PLANE_DIVISION, 1, a.divisions);
    WDialogRangeInteger(IDC_PLANE_ELEMENT, 1, a.elements);
    WDialogGetInteger(IDC_PLANE_DIVISION, p.division);
    WDialogGetInteger(IDC_PLANE_ELEMENT, p.element);
    p.division = std::clamp(p.division, 1, std::max(1, a.divisions));
    p.element = std::clamp(p.element, 1, std::max(1, a.elements));
    p.normal = axis;
    p.across = axis == 1 ? 3 : 1;
    p.up = axis == 2 ? 3 : 2;

    // The plane through the centres of the chosen elements, in metres.
    const double position =
        (a.minimum + (p.division - 1) * a.division_width + (p.element - 0.5) * a.element_width) /
        double(BOX.SCALE_FACTOR);
    WDialogPutReal(IDC_PLANE_POSITION, static_cast<float>(position), "(G13.7)");
    return p;
}

// Steps 2e and 2f: the picture window as drawing target, the box framed with 5 % margins in the
// window's aspect.
void frame_box(int window, const Plane& p)
{
    WWinRaise(window);
    IGrSelectTarget(1, window);
    IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    const Axis h = lattice_axis(p.across), v = lattice_axis(p.up);
    const double W = h.extent, V = v.extent, aspect = PICTURE_ASPECT;
    double margin_h, margin_v;
    if (W <= aspect * V) {
        margin_v = 0.05 * V;
        margin_h = (aspect * V - W) / 2.0 + margin_v;
    } else {
        margin_h = 0.05 * W;
        margin_v = (W - aspect * V) / 2.0 + margin_h;
    }
    IGrUnits(static_cast<float>(h.minimum - margin_h), static_cast<float>(v.minimum - margin_v),
             static_cast<float>(h.minimum + W + margin_h), static_cast<float>(v.minimum + V + margin_v));
    IGrFillPattern(FILL_SOLID);
}

// A filled rectangle over divisions hd, vd (elements he, ve within them; 0 for the whole division).
void fill_rectangle(const Plane& p, int colour, int hd, int vd, int he = 0, int ve = 0)
{
    const Axis h = lattice_axis(p.across), v = lattice_axis(p.up);
    double x1 = h.minimum + (hd - 1) * h.division_width, x2 = x1 + h.division_width;
    double y1 = v.minimum + (vd - 1) * v.division_width, y2 = y1 + v.division_width;
    if (he > 0) {
        x1 += (he - 1) * h.element_width;
        x2 = x1 + h.element_width;
        y1 += (ve - 1) * v.element_width;
        y2 = y1 + v.element_width;
    }
    IGrColourN(colour);
    IGrRectangle(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                 static_cast<float>(y2));
}

// Steps 2a and 2h: the pause before a drawing, and the wait after it. True when the picture ends.
void pause_before_drawing()
{
    std::this_thread::sleep_for(CYCLE_PAUSE);
}

bool closed_after_wait()
{
    int type = MsgNone;
    WinMessage message;
    WMsgWait(type, message);
    return type == MsgCloseRequest;
}

// Divisions coloured by level, surface divisions element by element by their share of flow.
void draw_divisions(const Plane& p)
{
    const auto& D = DIVISIONS;
    const Axis h = lattice_axis(p.across), v = lattice_axis(p.up);
    const int levels = std::max(1, D.MAX_DIVISION_LEVEL);
    LatticePlace at;
    at.division[p.normal] = p.division;
    at.element[p.normal] = p.element;
    for (int hd = 1; hd <= h.divisions; ++hd) {
        for (int vd = 1; vd <= v.divisions; ++vd) {
            at.division[p.across] = hd;
            at.division[p.up] = vd;
            const int code = D.DIVISION_INFO(DIVISION_CODE, at.division[3], at.division[2], at.division[1]);
            if (code > 0) {
                fill_rectangle(p, static_cast<int>(float(code) / float(levels) * 160.0f + 32.0f), hd, vd);
                continue;
            }
            if (code == 0)
                continue;
            for (int he = 1; he <= h.elements; ++he) {
                for (int ve = 1; ve <= v.elements; ++ve) {
                    at.element[p.across] = he;
                    at.element[p.up] = ve;
                    const int s = D.SUB_ELEMENTS_IN_FLOW(-code, at.element[3], at.element[2], at.element[1]);
                    int colour = COLOUR_CUT_ELEMENT;
                    if (s == D.SUB_ELEMENTS)
                        colour = COLOUR_FLOW_ELEMENT;
                    else if (s == 0)
                        colour = COLOUR_EMPTY_ELEMENT;
                    if (at.element_cell() == -1)
                        colour = COLOUR_NO_CELL;
                    fill_rectangle(p, colour, hd, vd, he, ve);
                }
            }
        }
    }
}

// Every element of the plane in the colour of its cell, colour 0 when it has none.
void draw_cells(const Plane& p, const Array<int, 1>& ICOL)
{
    const Axis h = lattice_axis(p.across), v = lattice_axis(p.up);
    LatticePlace at;
    at.division[p.normal] = p.division;
    at.element[p.normal] = p.element;
    for (int hd = 1; hd <= h.divisions; ++hd)
        for (int vd = 1; vd <= v.divisions; ++vd)
            for (int he = 1; he <= h.elements; ++he)
                for (int ve = 1; ve <= v.elements; ++ve) {
                    at.division[p.across] = hd;
                    at.division[p.up] = vd;
                    at.element[p.across] = he;
                    at.element[p.up] = ve;
                    const int cell = at.element_cell();
                    // A cell beyond the colours (none when ICOL is short) is painted like no cell.
                    const bool coloured = cell >= 1 && static_cast<size_t>(cell) <= ICOL.size();
                    fill_rectangle(p, coloured ? ICOL(cell) : COLOUR_NO_CELL, hd, vd, he, ve);
                }
}

}  // namespace

// A picture whose window cannot be opened is left out: its dialogs are unloaded at once instead of
// waiting for a close request from a window that does not exist.
void DRAW_DIVISIONS_AND_ELEMENTS()
{
    const int window = open_picture("Flowfield Divisions and Elements in Specified Planes", true);
    while (window >= 1) {
        pause_before_drawing();
        int stop = 0;
        WDialogSelect(IDD_GRID_LEGEND);
        WDialogGetCheckBox(IDC_LEGEND_STOP, stop);
        if (stop == 1)
            program_stop();
        const Plane p = read_plane(divisions_axis);
        frame_box(window, p);
        draw_divisions(p);
        if (closed_after_wait()) {
            WWinCloseChild(window);
            break;
        }
    }
    WWinSelect(0);
    for (int dialog : {IDD_PLANE, IDD_GRID_LEGEND}) {
        WDialogSelect(dialog);
        WDialogHide();
        WDialogUnload();
    }
}

void DRAW_CELLS()
{
    const int window = open_picture("Flowfield Cells (Some elements are partly inside the surface)", false);
    const Array<int, 1> ICOL = cell_colours();
    while (window >= 1) {
        pause_before_drawing();
        const Plane p = read_plane(cells_axis);
        frame_box(window, p);
        draw_cells(p, ICOL);
        if (closed_after_wait()) {
            IGrSaveImage("DSCELLS.BMP");
            break;
        }
    }
    WDialogSelect(IDD_PLANE);
    WDialogUnload();
    if (window >= 1)
        WWinCloseChild(window);
}
