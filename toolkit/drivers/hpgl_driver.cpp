// The HP-GL driver (device 1).
#include "toolkit/drivers/hpgl_driver.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <algorithm>
#include <cmath>
#include <string>

std::array<char, 256> HcPenMap;

namespace {

// One plotter variant: class letter, plotter units per inch, left margin, page height and width
// (plotter units), pens.
struct PlotterVariant {
    char letter;
    int units_per_inch;
    int left_margin;
    int page_height;
    int page_width;
    int pens;
};

constexpr PlotterVariant VARIANTS[10] = {
    {'U', 1016, 400, 7480, 10870, 4},  {'H', 1021, 400, 7721, 11040, 6}, {'H', 1021, 400, 11040, 16158, 6},
    {'E', 1016, 400, 7650, 10900, 4},  {'F', 1016, 400, 7640, 10880, 6}, {'H', 1016, 0, 7640, 10880, 8},
    {'H', 1016, 0, 7600, 10869, 8},    {'H', 1016, 0, 10870, 15970, 8},  {'F', 1016, 400, 7480, 10960, 6},
    {'F', 1016, 400, 10960, 15880, 6},
};

// Per class U, E, F, H: the capability string and the mask of shapes the plotter fills (bit k for
// shape k: 1 ellipse, 2 quadrilateral, 3 rectangle, 4 triangle, 5 pie, 6 polygon).
constexpr std::string_view CLASS_CAPS[4] = {"00000100000000000010000000010", "00000100000000000010000000000",
                                            "00000100000010000010000000010", "00000100000011100010001001010"};
constexpr int CLASS_FILL_MASK[4] = {0, 0, 40, 126};
constexpr std::string_view CLASS_LETTERS = "UEFH";

// Pen order of the colour bands.
constexpr int BAND_PEN_ORDER[8] = {0, 2, 4, 1, 5, 3, 6, 7};

// Record code of each shape index k = op / 2 - 1 (0 none).
constexpr int SHAPE_CODE[7] = {0, 5, 0, 6, 7, 4, 11};

// Driver state kept between calls.
struct HpglState {
    int variant = 1;
    float upp = 1016.0f / 72.0f;  // plotter units per point
    int plotter_class = 1;        // 1 U, 2 E, 3 F, 4 H
    int fill_mask = 0;
    int p1x = 0, p1y = 0, p2x = 0, p2y = 0;
    char pen = ' ';            // current pen digit, blank = none selected
    bool pen_pending = false;  // "SP" due before the next drawing
    char terminator = 4;
    float last_fill_width = -1.0f;  // mm
    int last_style = -1;
    int last_mode = 0;
    bool size_pending = true;
    bool plotter_fill = false;  // of the current shape, from its first call to its end call
};

HpglState S;

const PlotterVariant& variant()
{
    return VARIANTS[S.variant - 1];
}

// Before every drawing op: the page is used, and a pen selected again after a new page.
void prelude()
{
    if ((HcPageUsed & 1) != 0)
        return;
    HcPageUsed = -1;
    if (S.pen_pending) {
        IHcHpglCommand(std::string("SP") + S.pen);
        S.pen_pending = false;
    }
}

std::string i7(int v)
{
    return hpgl_int(v, "I7");
}

int current_colour_number()
{
    return GrColourState.number[GR_CURRENT];
}

// Op 1: the plotter variant's page, margin and pens in points, its class capabilities and fill mask.
void op_initialise()
{
    if (!hc_initialise_begin(HC_HPGL_DEVICE))
        return;
    const int v = HC_DEVICE_CONFIG.plotter_variant;
    S.variant = v >= 1 && v <= 10 ? v : 1;
    const PlotterVariant& V = variant();
    S.upp = static_cast<float>(V.units_per_inch / 72.0);
    S.plotter_class = static_cast<int>(CLASS_LETTERS.find(V.letter)) + 1;
    auto& O = HcOptions;
    O(HC_OPT_ORIENTATION) = 1;
    O(HC_OPT_EXTENDED) = 1;
    O(HC_OPT_TERMINATOR) = 4;
    O(HC_OPT_FILL_SPACING) = 80;
    O(HC_OPT_DEVICE_ESCAPES) = 0;
    O(HC_OPT_MARGIN_BOTTOM) = 0;
    O(HC_OPT_MARGIN_LEFT) = hpgl_trunc(V.left_margin / double(S.upp));
    O(HC_OPT_PLOTTER_FILL) = 0;
    O(HC_OPT_PAGE_WIDTH) = hpgl_trunc(V.page_width / double(S.upp) - O(HC_OPT_MARGIN_LEFT));
    O(HC_OPT_PAGE_HEIGHT) = hpgl_trunc(V.page_height / double(S.upp));
    auto& D = HcDeviceBlock;
    D.resolution_x = 90;
    D.resolution_y = 90;
    D.pens = V.pens;
    D.colours = V.pens;
    D.initialised_device = HC_HPGL_DEVICE;
    hpgl_device_info(0);
    HcSpoolAllowed = 1;
    S.size_pending = true;
    HcPenMap.fill(' ');
    const std::string_view caps = CLASS_CAPS[S.plotter_class - 1];
    hc_device_caps(caps);
    S.fill_mask = CLASS_FILL_MASK[S.plotter_class - 1];
}

// Op 18: the scale to user units; with a real open the plotting area P1, P2 in plotter units, its
// rotation, the terminator, the head records and the scaling.
void op_open()
{
    auto& D = HcDeviceBlock;
    const auto& O = HcOptions;
    D.sx = static_cast<float>(HPGL_USER_UNITS / std::max(GrSurface.width, 1));
    D.sy = static_cast<float>(HPGL_USER_UNITS / std::max(GrSurface.height, 1));
    if (GrPrimitiveBlock.NVAL <= 0) {
        IHcHpglCommand(HPGL_SCALE_RESET);
        return;
    }
    if (!hc_plot_open())
        return;
    D.line_start = O(HC_OPT_LINE_START) != 0 ? 1 : 2;
    S.pen_pending = false;
    S.last_style = -1;
    S.last_mode = 0;
    S.terminator = static_cast<char>(O(HC_OPT_TERMINATOR));
    S.pen = ' ';
    S.last_fill_width = -1.0f;
    if (O(HC_OPT_DEVICE_ESCAPES) != 0)
        IHcHpglCommand("\x1b.Y");
    // The corners in reals: a page and margin near the integer limit must not overflow their sum.
    S.p1x = hpgl_trunc(O(HC_OPT_MARGIN_LEFT) * double(S.upp));
    S.p1y = hpgl_trunc(O(HC_OPT_MARGIN_BOTTOM) * double(S.upp));
    S.p2x = hpgl_trunc((double(O(HC_OPT_PAGE_WIDTH)) + O(HC_OPT_MARGIN_LEFT)) * double(S.upp));
    S.p2y = hpgl_trunc((double(O(HC_OPT_PAGE_HEIGHT)) + O(HC_OPT_MARGIN_BOTTOM)) * double(S.upp));
    const std::string corners = i7(S.p1x) + i7(S.p1y) + i7(S.p2x) + i7(S.p2y);
    IHcHpglCommand("IN; IP" + corners);
    IHcHpglCommand(std::string(O(HC_OPT_ORIENTATION) != 0 ? "RO  0; IP" : "RO 90; IP") + corners);
    IHcHpglCommand(std::string("DT") + S.terminator);
    IHcHpglCommand("DI1. 0.");
    IHcHpglDataRecord(2, false, 8, 0, 0);
    IHcHpglDataRecord(13, false, S.variant, 0, 0);
    IHcHpglCommand(HPGL_SCALE_RESET);
}

// Op 3: the pen of the colour (from the pen map, else by 32-colour band) and the colour record.
void op_colour()
{
    const int number = current_colour_number();
    char pen = HcPenMap[static_cast<std::size_t>(std::clamp(number, 0, 255))];
    if (pen == ' ') {
        const int band = (number + 16) / 32;
        const int i = ((band % 8) + 8) % 8;
        pen = static_cast<char>('1' + BAND_PEN_ORDER[i] % std::max(HcDeviceBlock.pens, 1));
    }
    if (pen != S.pen) {
        S.pen_pending = false;
        S.pen = pen;
        IHcHpglCommand(std::string("PU;SP") + pen);
    }
    if (GrPrimitiveBlock.colour_record == 0) {
        const auto& C = GrColourState;
        int r = 0, g = 0, b = 0;
        IGrColourSplit(C.model == 1 ? C.number[GR_CURRENT] : C.rgb[GR_CURRENT], r, g, b);
        IHcHpglDataRecord(1, true, b * 65536 + g * 256 + r, 0, 0);
    }
}

// Op 22: the relative size after a font op, the slant when style or mode changed, then the label
// from the start point in the cell.
void op_text()
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    prelude();
    if (S.size_pending) {
        static constexpr double FW[3] = {1.0, 1.007, 1.007};
        static constexpr double FH[3] = {1.0, 1.211, 1.211};
        const int mode = std::clamp(T.text_mode, 0, 2);
        // The character size relative to the plotting area: the character's share of the graphics
        // area times the area's share of the surface.
        const double w =
            T.char_width * FW[mode] * GrDeviceArea.text_width * 100.0 / (std::max(GrSurface.width, 1) * 1.5);
        const double h = T.char_height * FH[mode] * GrDeviceArea.text_height * 100.0 /
                         (std::max(GrSurface.height, 1) * 2.0);
        IHcHpglCommand("SR" + hpgl_real(w, "F8.2") + hpgl_real(h, "F8.2"));
        S.size_pending = false;
    }
    if (T.style != S.last_style || T.text_mode != S.last_mode) {
        IHcHpglCommand((T.style & 2) != 0 ? "SL.2" : "SL0.");
        S.last_style = T.style;
        S.last_mode = T.text_mode;
    }
    const double a = T.text_mode == 0 ? 0.22 : 0.0;
    const double b = T.text_mode == 0 ? 0.22 : 0.3;
    double x = 0.0, y = 0.0;
    hpgl_text_start(a, b, x, y);
    IHcHpglPoint("PU", x, y);
    const int n = std::clamp(B.IX(1), 0, static_cast<int>(B.TEXT.size()));
    IHcHpglLabel(std::string(B.TEXT.data(), static_cast<std::size_t>(n)) + S.terminator);
    hpgl_pen_set(HC_PEN_UNKNOWN, HC_PEN_UNKNOWN);
}

// An ellipse: the fill record unless the plotter fills it, then the circle under the aspect scaling.
void op_ellipse()
{
    const auto& B = GrPrimitiveBlock;
    IHcHpglPoint("PU", B.X(1), B.Y(1));
    if (!S.plotter_fill)
        IHcHpglDataRecord(5, false, B.FILL(FILL_STYLE), B.FILL(FILL_DENSITY), B.FILL(FILL_ANGLE));
    hpgl_circle(S.plotter_fill);
}

// A plotter-filled outline through the points, as one polygon mode block.
void filled_path(const float* xs, const float* ys, int n)
{
    IHcHpglPoint("PU", xs[0], ys[0]);
    IHcHpglCommand("PM0");
    for (int i = 1; i < n; ++i)
        IHcHpglPoint("PD", xs[i], ys[i]);
    IHcHpglCommand("PM2;FP");
    hpgl_pen_set(xs[0], ys[0]);
}

// Filled shapes: plotted fills (FT2 with the pen width of option 12) where the class and option 25
// allow, otherwise records of the vertices around the core's own hatching.
void op_shape(int op)
{
    auto& B = GrPrimitiveBlock;
    const int k = op / 2 - 1;
    const int code = SHAPE_CODE[k];
    if (B.NVAL == -1) {
        if (!S.plotter_fill)
            IHcHpglDataRecord(code, true, -1, 0, 0);
        return;
    }
    prelude();
    const int style = B.FILL(FILL_STYLE);
    const auto& C = GrColourState;
    const bool same_colour = C.number[GR_PREVIOUS] == C.number[GR_CURRENT];
    S.plotter_fill = (S.fill_mask >> k & 1) != 0 && HcOptions(HC_OPT_PLOTTER_FILL) != 0 &&
                     (style == 4 || (style == 3 && same_colour));
    // A class H plotter takes at most 127 polygon points.
    if (op == GrOpPolygonPattern && S.plotter_class == 4 && B.NPTS > 127)
        S.plotter_fill = false;
    if (S.plotter_fill) {
        const float t =
            std::clamp(static_cast<float>(HcOptions(HC_OPT_FILL_SPACING) * 25.4 / 7200.0), 0.1f, 5.0f);
        if (t != S.last_fill_width) {
            IHcHpglCommand("FT2;PT  " + hpgl_real(t, "F4.2"));
            S.last_fill_width = t;
        }
    } else {
        B.colour_record = 2;
        // The core draws the fill with lines this far apart (solid and pattern fills included).
        if (style >= 3)
            B.FILL(FILL_HARD_PASS) = 2;
        const int height = std::max(HcOptions(HC_OPT_PAGE_HEIGHT), 1);
        HcDeviceBlock.line_spacing = static_cast<float>(HcOptions(HC_OPT_FILL_SPACING) / 100.0 *
                                                        GrSurface.height / height * (style == 3 ? 2 : 1));
        if (op != GrOpEllipsePattern)
            IHcHpglDataRecord(code, false, style, B.FILL(FILL_DENSITY),
                              10 * B.FILL(FILL_OUTLINE) + B.FILL(FILL_ANGLE));
    }
    const bool records = HcOptions(HC_OPT_EXTENDED) != 0;
    switch (op) {
    case GrOpEllipsePattern: op_ellipse(); return;
    case GrOpRectanglePattern:
        if (S.plotter_fill) {
            IHcHpglPoint("PU", B.X(1), B.Y(1));
            IHcHpglPoint("RA", B.X(2), B.Y(2));
            hpgl_pen_set(B.X(1), B.Y(1));
        } else if (records) {
            IHcHpglVertexRecord(B.X(1), B.Y(1));
            IHcHpglVertexRecord(B.X(2), B.Y(2));
            IHcHpglCommand(HPGL_SCALE_RESET);
        }
        return;
    case GrOpTrianglePattern:
        if (S.plotter_fill) {
            filled_path(B.X.v.data(), B.Y.v.data(), 3);
        } else if (records) {
            for (int i = 1; i <= 3; ++i)
                IHcHpglVertexRecord(B.X(i), B.Y(i));
            IHcHpglCommand(HPGL_SCALE_RESET);
        }
        return;
    case GrOpPiePattern:
        if (S.plotter_fill) {
            IHcHpglArc(op, HPGL_SCALE_RESET);
        } else if (records) {
            IHcHpglVertexRecord(B.X(1), B.Y(1));
            IHcHpglVertexRecord(B.X(2), B.Y(2));
            IHcHpglArcRecord(B.X(3), B.Y(3));
            IHcHpglCommand(HPGL_SCALE_RESET);
        }
        return;
    case GrOpPolygonPattern: {
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        if (n == 0)
            return;
        if (S.plotter_fill) {
            filled_path(GrPolylineBuffer.X.v.data(), GrPolylineBuffer.Y.v.data(), n);
        } else if (records) {
            IHcHpglDataRecord(12, false, n, 0, 0);
            for (int i = 1; i <= n; ++i)
                IHcHpglVertexRecord(GrPolylineBuffer.X(i), GrPolylineBuffer.Y(i));
            IHcHpglCommand(HPGL_SCALE_RESET);
        }
        return;
    }
    default: return;
    }
}

}  // namespace

// Arc (op 34) or plotted pie (op 13) under the aspect scaling: an open arc as AA from its start,
// otherwise an edge (EW) or filled (WG) wedge about the centre.
void IHcHpglArc(int op, std::string_view reset)
{
    const auto& B = GrPrimitiveBlock;
    const bool open_arc = B.FILL(FILL_STYLE) == 0 && B.FILL(FILL_DENSITY) > 2 && op == GrOpArc;
    if (!open_arc)
        IHcHpglPoint("PU", B.X(1), B.Y(1));
    double rs = 0.0, cxs = 0.0, cys = 0.0;
    hpgl_arc_scaling(reset, rs, cxs, cys);
    if (open_arc) {
        IHcHpglCommand("PU" + hpgl_int(hpgl_trunc(std::cos(B.X(3)) * rs + cxs), "I6") +
                       hpgl_int(hpgl_trunc(std::sin(B.X(3)) * rs + cys), "I6"));
        IHcHpglCommand("PD");
        IHcHpglCommand("AA" + hpgl_int(hpgl_trunc(cxs), "I6") + hpgl_int(hpgl_trunc(cys), "I6") +
                       hpgl_real(B.Y(4), "F7.1"));
        hpgl_pen_set(HC_PEN_UNKNOWN, HC_PEN_UNKNOWN);
    } else {
        IHcHpglCommand(std::string(op == GrOpPiePattern ? "WG" : "EW") + hpgl_int(hpgl_trunc(rs), "I6") +
                       hpgl_real(B.X(4), "F7.1") + hpgl_real(B.Y(4), "F7.1"));
        hpgl_pen_set(B.X(1), B.Y(1));
    }
    IHcHpglCommand(reset);
}

void IHcHpglDriver(int op)
{
    auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose:
        if (HcOptions(HC_OPT_DEVICE_ESCAPES) != 0)
            IHcHpglCommand("\x1b.Z");
        IHcPlotClose(HC_PLOT_SLOT);
        return;
    case GrOpHardcopyPage:
        HcPageUsed = 0;
        IHcHpglDataRecord(3, true, B.NVAL, 0, 0);
        IHcHpglCommand(S.variant == 7 || S.variant == 8 ? "PU;SP0 ;PG;" : "PU;SP0 ;");
        S.pen_pending = true;
        return;
    case GrOpLine:
        prelude();
        hpgl_move_unless_there(B.X(1), B.Y(1));
        IHcHpglPoint("PD", B.X(2), B.Y(2));
        hpgl_pen_set(B.X(2), B.Y(2));
        return;
    case GrOpPoint:
        prelude();
        hpgl_move_unless_there(B.X(1), B.Y(1));
        IHcHpglPoint("PD", B.X(1), B.Y(1));
        hpgl_pen_set(B.X(1), B.Y(1));
        return;
    case GrOpPolyline: {
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        if (n == 0)
            return;
        prelude();
        const auto& P = GrPolylineBuffer;
        hpgl_move_unless_there(P.X(1), P.Y(1));
        for (int i = 2; i <= n; ++i)
            IHcHpglPoint("PD", P.X(i), P.Y(i));
        hpgl_pen_set(P.X(n), P.Y(n));
        return;
    }
    case GrOpColour: op_colour(); return;
    case GrOpFont:
        IHcHpglDataRecord(10, true, GrTextState.effective_face, GrTextState.style, GrTextState.text_mode);
        S.size_pending = true;
        return;
    case GrOpTextAngle: hpgl_text_direction(); return;
    case GrOpText: op_text(); return;
    case GrOpClip: hpgl_clip(S.upp, S.p1x, S.p1y, S.p2x, S.p2y); return;
    case GrOpLineType: hpgl_line_type(S.plotter_class == 3); return;
    case GrOpLineWidth:
        if (HcOptions(HC_OPT_EXTENDED) != 0) {
            const double w = std::clamp(HcOptions(HC_OPT_LINE_WIDTH) * 0.4 / S.upp, 0.1, 5.0);
            IHcHpglCommand("PW" + hpgl_real(w, "F5.3"));
        }
        return;
    case GrOpEllipsePattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_shape(op); return;
    case GrOpArc:
        prelude();
        IHcHpglArc(op, HPGL_SCALE_RESET);
        return;
    default: return;
    }
}
