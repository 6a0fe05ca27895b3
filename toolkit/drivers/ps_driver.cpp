// The PostScript and EPS driver (device 2).
#include "toolkit/drivers/ps_driver.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_vector_common.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <cmath>
#include <string>

PsDriverStateRecord PsDriverState;

namespace {

auto& S = PsDriverState;

// Dash patterns by line type 0..6.
constexpr std::string_view DASHES[7] = {"[] 0",        "[1 5] 4", "[6 6] 3", "[1 3 4 4] 0", "[1 2 1 2 4 2] 0",
                                        "[5 2 3 2] 2", "[3 3] 1"};
// Font-size factors by text mode.
constexpr double FONT_X[3] = {1.65, 1.33, 1.72};
constexpr double FONT_Y[3] = {1.0, 0.82, 0.82};
constexpr std::string_view FAMILIES[3] = {"/Courier", "/Helvetica", "/Times"};
// Source font suffixes by family and variant (regular, bold, italic, bold italic).
constexpr std::string_view SOURCES[3][4] = {
    {"", "-Bold", "-Oblique", "-BoldOblique"},
    {"", "-Bold", "-Oblique", "-BoldOblique"},
    {"-Roman", "-Bold", "-Italic", "-BoldItalic"},
};
constexpr std::string_view PROLOG[6] = {
    "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
    "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
    "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
    "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
    "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def",
    "%%EndProlog",
};
constexpr double DEGREE = 0.0174533;
// The escaped text of a string is cut to this many characters, so that the line with its "(" and
// ") lsh" holds at most 255.
constexpr std::size_t TEXT_CUT = 249;

// Leading and trailing blanks removed, inner runs of blanks made one.
std::string squeezed(std::string_view text)
{
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (c == ' ') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// An F9.2 field whose ".00" ending loses its last zero: 100 is written 100.0, 0.5 stays 0.50.
std::string f92(double v)
{
    std::string t = hpgl_real(v, "F9.2");
    if (t.size() >= 3 && t.compare(t.size() - 3, 3, ".00") == 0)
        t.back() = ' ';
    return t;
}

void page_used()
{
    HcPageUsed = -1;
}

// The current colour's "g" line when it differs from the last written one, without recording it.
void colour_line_unrecorded()
{
    if (S.red != S.last_red || S.green != S.last_green || S.blue != S.last_blue)
        IHcPsPutReals3(S.red, S.green, S.blue, "g");
}

void set_current(float r, float g, float b)
{
    S.red = r;
    S.green = g;
    S.blue = b;
}

// Op 1: a landscape page of 756 by 540 points offset (42, -20), 255 segments a path, the device facts.
void op_initialise()
{
    if (!hc_initialise_begin(HC_PS_DEVICE))
        return;
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 756;
    O(HC_OPT_PAGE_HEIGHT) = 540;
    O(HC_OPT_MARGIN_LEFT) = 42;
    O(HC_OPT_MARGIN_BOTTOM) = -20;
    O(HC_OPT_ORIENTATION) = 1;
    O(HC_OPT_EPS) = 0;
    O(HC_OPT_PATH_SEGMENTS) = 255;
    O(HC_OPT_END_OF_JOB) = 1;
    hc_vector_device(1, 1, 0, 0, "00000111111111100010011011110", 600, 256, HC_PS_DEVICE);
    HcSpoolAllowed = 1;
}

// Op 18: the document head (EPS bounding box, title), the prolog and the ISO Latin-1 fonts, then the
// rotation and translation of the page.
void op_open()
{
    const auto& O = HcOptions;
    hc_page_scale(O(HC_OPT_PAGE_WIDTH), O(HC_OPT_PAGE_HEIGHT));
    S.sx = HcDeviceBlock.sx;
    S.sy = HcDeviceBlock.sy;
    if (GrPrimitiveBlock.NVAL <= 0)
        return;
    if (!hc_plot_open())
        return;
    S.blank_start = O(HC_OPT_LINE_START) != 0;
    S.eps = O(HC_OPT_EPS) != 0;
    S.font_changed = true;
    S.path_count = 0;
    S.last_red = S.last_green = S.last_blue = -1.0f;
    S.last_line_type = 0;
    S.last_width = 0;
    S.pen_x = S.pen_y = HC_PEN_UNKNOWN;
    // The translation in reals: an offset near the integer limit must not overflow.
    double tx = O(HC_OPT_MARGIN_LEFT);
    double ty = O(HC_OPT_ORIENTATION) != 0 ? O(HC_OPT_MARGIN_BOTTOM) - 540.0 : O(HC_OPT_MARGIN_BOTTOM);
    int box_w = O(HC_OPT_PAGE_WIDTH), box_h = O(HC_OPT_PAGE_HEIGHT);
    if (S.eps) {
        tx = 0.0;
        ty = O(HC_OPT_ORIENTATION) != 0 ? -double(O(HC_OPT_PAGE_HEIGHT)) : 0.0;
        if (O(HC_OPT_ORIENTATION) != 0)
            std::swap(box_w, box_h);
    }
    IHcPsPutLine(S.eps ? "%!PS-Adobe-3.0 EPSF-3.0" : "%!PS-Adobe-3.0");
    if (S.eps)
        IHcPsPutLine("%%BoundingBox: 0 0 " + hpgl_int(box_w, "I5") + " " + hpgl_int(box_h, "I5"));
    if (GrPrimitiveBlock.IX(1) != 0)
        IHcPsPutLine("%%Title: " + std::string(hc_trim_right(HcTitle)));
    IHcPsPutLine("%%Creator: R.U.V. PostScript driver");
    IHcPsPutLine("%%EndComments");
    for (std::string_view line : PROLOG)
        IHcPsPutLine(line);
    for (int family = 0; family < 3; ++family)
        for (int variant = 0; variant < 4; ++variant) {
            IHcPsPutLine(std::string(FAMILIES[family]) + std::string(SOURCES[family][variant]) + " ff");
            IHcPsPutLine("dup length dict begin");
            IHcPsPutLine("{1 index /FID ne {def} {pop pop} ifelse} forall");
            IHcPsPutLine("/Encoding ISOLatin1Encoding def");
            IHcPsPutLine("currentdict end " + std::string(FAMILIES[family]) + "-" +
                         std::to_string(variant + 1) + " exch definefont pop");
        }
    IHcPsPutLine("/Symbol ff");
    IHcPsPutLine("dup length dict begin");
    IHcPsPutLine("{1 index /FID ne {def} {pop pop} ifelse} forall");
    IHcPsPutLine("currentdict end /Symbol exch definefont pop");
    if (O(HC_OPT_ORIENTATION) != 0)
        IHcPsPutReal(90.0, "ro");
    IHcPsPutLine(hpgl_real(tx, "F8.1") + hpgl_real(ty, "F8.1") + " translate");
    IHcPsPutLine("newpath");
    S.page = 1;
    IHcPsPutLine("%%Page: 1 1");
}

// Op 19: the trailer; a PostScript document ends with initgraphics and, with option 15, blank and EOT.
void op_close()
{
    IHcPsPutLine("%%EOF");
    if (!S.eps) {
        IHcPsPutLine("initgraphics");
        if (HcOptions(HC_OPT_END_OF_JOB) != 0)
            IHcPlotWriteText(HC_PLOT_SLOT, " \x04");
    }
    IHcPlotClose(HC_PLOT_SLOT);
}

// Op 20: the path stroked, the page shown with its copy count, and the next page's comment unless this
// was the last page (NPTS non-zero).
void op_page()
{
    HcPageUsed = 0;
    IHcPsPathEnd(1);
    if (!S.eps) {
        const int copies = std::min(HcOptions(HC_OPT_COPIES), 999);
        IHcPsPutLine("/#copies" + hpgl_int(copies, "I3") + " def");
        IHcPsPutLine("gsave showpage grestore");
    }
    if (GrPrimitiveBlock.NPTS != 0)
        return;
    ++S.page;
    IHcPsPutLine("%%Page:" + hpgl_int(S.page, "I4") + hpgl_int(S.page, "I4"));
}

// Starts or continues the path at (x, y).
void move_unless_there(float x, float y)
{
    if (S.path_count == 0 || x != S.pen_x || y != S.pen_y)
        IHcPsPutPoint(x, y, "m");
}

// One line segment joined to the path; a full path (option 16 segments) is stroked first.
void segment(float x1, float y1, float x2, float y2)
{
    page_used();
    if (S.path_count >= HcOptions(HC_OPT_PATH_SEGMENTS))
        IHcPsPathEnd(1);
    move_unless_there(x1, y1);
    IHcPsPutPoint(x2, y2, "l");
    ++S.path_count;
    S.pen_x = x2;
    S.pen_y = y2;
}

void op_polyline()
{
    const auto& P = GrPolylineBuffer;
    const int n = std::clamp(GrPrimitiveBlock.NPTS, 0, GR_POLYLINE_MAX);
    if (n == 0)
        return;
    page_used();
    if (S.path_count >= HcOptions(HC_OPT_PATH_SEGMENTS))
        IHcPsPathEnd(1);
    move_unless_there(P.X(1), P.Y(1));
    for (int i = 2; i <= n; ++i) {
        if (S.path_count >= HcOptions(HC_OPT_PATH_SEGMENTS)) {
            IHcPsPathEnd(1);
            IHcPsPutPoint(P.X(i - 1), P.Y(i - 1), "m");
        }
        IHcPsPutPoint(P.X(i), P.Y(i), "l");
        ++S.path_count;
    }
    S.pen_x = P.X(n);
    S.pen_y = P.Y(n);
}

// Op 3: the colour that the next stroke or fill takes; monochrome output draws every colour but 0 black.
void op_colour()
{
    S.colour_value = HcOptions(HC_OPT_MONOCHROME) != 0 && GrColourState.number[GR_CURRENT] != 0
                         ? -1
                         : hc_colour_value(GR_CURRENT);
    float r = 0, g = 0, b = 0;
    IHcPsColour(S.colour_value, r, g, b);
    if (r != S.red || g != S.green || b != S.blue) {
        IHcPsPathEnd(1);
        set_current(r, g, b);
    }
}

// The "gsave 1.0 r scale newpath" line of ellipses, arcs and pies.
void scale_line(double r)
{
    IHcPsPutLine("gsave 1.0 " + hpgl_real(r, "F8.4") + " scale newpath");
}

// Height over width of the graphics area: the y radius factor of ellipses and arcs.
double area_ratio()
{
    return GrArea.width != 0.0f ? double(GrArea.height) / GrArea.width : 1.0;
}

void ellipse()
{
    const auto& B = GrPrimitiveBlock;
    const double r = B.X(3) * area_ratio();
    const double rr = r != 0.0 ? r : 1.0;
    scale_line(r);
    IHcPsPutReals3(B.X(1) * S.sx, B.Y(1) * S.sy / rr, B.X(2) * S.sx, "90. 450. arc");
    colour_line_unrecorded();
    IHcPsPutLine(B.FILL(FILL_STYLE) > 2 ? "cf" : "s");
    IHcPsPutLine("grestore");
}

// Closed path through n points, filled.
void fill_points(const float* xs, const float* ys, int n)
{
    IHcPsPutPoint(xs[0], ys[0], "m");
    for (int i = 1; i < n; ++i)
        IHcPsPutPoint(xs[i], ys[i], "l");
    S.path_count = n;
    IHcPsPathEnd(2);
}

// Filled shapes: solid and mixed (style 3, the mean of the two colours) fills drawn as closed paths;
// the closing call strokes what the core drew and takes the current colour back.
void op_shape(int op)
{
    const auto& B = GrPrimitiveBlock;
    const int style = B.FILL(FILL_STYLE);
    if (B.NVAL == -1) {
        if (style > 0)
            IHcPsPathEnd(1);
        float r = 0, g = 0, b = 0;
        IHcPsColour(S.colour_value, r, g, b);
        set_current(r, g, b);
        return;
    }
    page_used();
    if (style > 2 || (HcOptions(HC_OPT_MONOCHROME) != 0 && style > 0)) {
        IHcPsPathEnd(1);
        float r = 0, g = 0, b = 0;
        IHcPsColour(hc_colour_value(GR_CURRENT), r, g, b);
        if (style == 3) {
            float pr = 0, pg = 0, pb = 0;
            IHcPsColour(hc_colour_value(GR_PREVIOUS), pr, pg, pb);
            r = (r + pr) / 2;
            g = (g + pg) / 2;
            b = (b + pb) / 2;
        }
        set_current(r, g, b);
    }
    if (style < 3 && op != GrOpEllipsePattern)
        return;
    switch (op) {
    case GrOpQuadPattern: fill_points(B.X.v.data(), B.Y.v.data(), 4); return;
    case GrOpRectanglePattern: {
        float x1 = B.X(1), y1 = B.Y(1), x2 = B.X(2), y2 = B.Y(2);
        if (S.eps) {
            const auto& A = GrDeviceArea;
            x1 = std::max(x1, A.x1);
            y1 = std::max(y1, A.y1);
            x2 = std::min(x2, A.x2);
            y2 = std::min(y2, A.y2);
        }
        const float xs[4] = {x1, x2, x2, x1}, ys[4] = {y1, y1, y2, y2};
        fill_points(xs, ys, 4);
        return;
    }
    case GrOpTrianglePattern: fill_points(B.X.v.data(), B.Y.v.data(), 3); return;
    case GrOpPolygonPattern: {
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        if (n > 0)
            fill_points(GrPolylineBuffer.X.v.data(), GrPolylineBuffer.Y.v.data(), n);
        return;
    }
    case GrOpPiePattern: IHcPsArc(op); return;
    case GrOpEllipsePattern: ellipse(); return;
    default: return;
    }
}

void op_text()
{
    const auto& T = GrTextState;
    page_used();
    IHcPsPathEnd(3);
    const int mode = std::clamp(T.text_mode, 0, 2);
    if (S.font_changed) {
        const double w = std::clamp(T.char_width * double(GrDeviceArea.text_width) * S.sx, 1.0, 999.0);
        const double h = std::clamp(T.char_height * double(GrDeviceArea.text_height) * S.sy, 1.0, 999.0);
        const int face = T.effective_face;
        if (face >= 1 && face <= 4) {
            const std::string name =
                face == 4 ? std::string("/Symbol")
                          : std::string(FAMILIES[face - 1]) + "-" + std::to_string(1 + (T.style & 3));
            // A size that F5.1 cannot hold is written as its largest value.
            IHcPsPutLine(name + " ff [" + hpgl_real(std::min(w * FONT_X[mode], 999.9), "F5.1") + " 0 0 " +
                         hpgl_real(std::min(h * FONT_Y[mode], 999.9), "F5.1") + " 0 0] ms");
        }
        S.font_changed = false;
    }
    // The string; the cut never splits an escape from its character.
    std::string text;
    for (char c : hc_text()) {
        const bool escaped = c == '(' || c == ')' || c == '\\';
        if (text.size() + (escaped ? 2 : 1) > TEXT_CUT)
            break;
        if (escaped)
            text += '\\';
        text += c;
    }
    double x = 0, y = 0;
    hc_text_anchor(0.27, true, x, y);
    const char* show = "lsh";
    if (T.text_mode != 1 && T.justification == 1)
        show = "csh";
    else if (T.text_mode != 1 && T.justification == 2)
        show = "rsh";
    IHcPsPutPoint(x, y, "m");
    const int a = static_cast<int>(T.angle);
    if (a != 0)
        IHcPsPutReal(a, "ro");
    IHcPsPutRaw("(" + text + ") " + show);
    if (a != 0)
        IHcPsPutReal(360 - a, "ro");
    S.pen_x = S.pen_y = HC_PEN_UNKNOWN;
}

void op_clip()
{
    if (S.eps)
        return;
    IHcPsPathEnd(1);
    IHcPsPutLine("initclip");
    const auto& A = GrDeviceArea;
    const float x1 = std::trunc(A.x1), y1 = std::trunc(A.y1);
    const float x2 = std::trunc(A.x2 + 0.99f), y2 = std::trunc(A.y2 + 0.99f);
    IHcPsPutPoint(x1, y1, "m");
    IHcPsPutPoint(x2, y1, "l");
    IHcPsPutPoint(x2, y2, "l");
    IHcPsPutPoint(x1, y2, "l");
    IHcPsPutLine("clip");
    IHcPsPutLine("newpath");
}

void op_line_type()
{
    const int t = GrLineState.line_type;
    if (t == S.last_line_type)
        return;
    IHcPsPathEnd(1);
    IHcPsPutLine(std::string(DASHES[t >= 0 && t <= 6 ? t : 0]) + " d");
    S.last_line_type = t;
}

void op_line_width()
{
    const int w = HcOptions(HC_OPT_LINE_WIDTH);
    if (w == S.last_width)
        return;
    IHcPsPathEnd(1);
    IHcPsPutReal(w / 10.0, "w");
    S.last_width = w;
}

}  // namespace

void IHcPsPutReals3(double a, double b, double c, std::string_view token)
{
    IHcPsPutLine(f92(a) + f92(b) + f92(c) + " " + std::string(token));
}

void IHcPsPutPoint(double x, double y, std::string_view token)
{
    IHcPsPutLine(f92(x * S.sx) + f92(y * S.sy) + " " + std::string(token));
}

void IHcPsPutReal(double a, std::string_view token)
{
    IHcPsPutLine(f92(a) + " " + std::string(token));
}

void IHcPsPutLine(std::string_view text)
{
    IHcPsPutRaw(squeezed(text.substr(0, std::min<std::size_t>(text.size(), 255))));
}

void IHcPsPutRaw(std::string_view text)
{
    std::string line = S.blank_start ? " " : "";
    line.append(text.substr(0, std::min<std::size_t>(text.size(), 255)));
    line += "\r\n";
    IHcPlotWriteText(HC_PLOT_SLOT, line);
}

void IHcPsColour(int value, float& red, float& green, float& blue)
{
    if (value == -1) {
        red = green = blue = 0.0f;
    } else {
        int r = 0, g = 0, b = 0;
        IGrColourSplit(value, r, g, b);
        red = r / 255.0f;
        green = g / 255.0f;
        blue = b / 255.0f;
    }
    const int invert = HcOptions(HC_OPT_INVERSION);
    const bool dark = red < 0.04f && green < 0.04f && blue < 0.04f;
    const bool light = red > 0.96f && green > 0.96f && blue > 0.96f;
    if (invert == 1 || (invert == 2 && (dark || light))) {
        red = 1.0f - red;
        green = 1.0f - green;
        blue = 1.0f - blue;
    }
}

// Ends the path: the colour line when it changed, then "s" (mode 1, stroke) or "cf" (2, fill);
// mode 3 writes only the colour. An empty path is not ended.
void IHcPsPathEnd(int mode)
{
    if (S.path_count == 0 && (mode == 1 || mode == 2))
        return;
    if (S.red != S.last_red || S.green != S.last_green || S.blue != S.last_blue) {
        S.last_red = S.red;
        S.last_green = S.green;
        S.last_blue = S.blue;
        IHcPsPutReals3(S.red, S.green, S.blue, "g");
    }
    if (mode == 3)
        return;
    IHcPsPutLine(mode == 1 ? "s" : "cf");
    S.path_count = 0;
}

void IHcPsArc(int op)
{
    const auto& B = GrPrimitiveBlock;
    const double r = area_ratio();
    const double rr = r != 0.0 ? r : 1.0;
    const bool open_arc = op == GrOpArc && B.FILL(FILL_DENSITY) > 2 && B.FILL(FILL_STYLE) == 0;
    scale_line(r);
    if (!open_arc)
        IHcPsPutPoint(B.X(1), B.Y(1) / rr, "m");
    const std::string angles =
        hpgl_real(B.X(3) / DEGREE, "F8.1") + hpgl_real(B.Y(3) / DEGREE, "F8.1") + " arc";
    IHcPsPutReals3(B.X(1) * S.sx, B.Y(1) * S.sy / rr, B.X(2) * S.sx, angles);
    colour_line_unrecorded();
    if (op == GrOpPiePattern)
        IHcPsPutLine("cf");
    else
        IHcPsPutLine(open_arc ? "s" : "cs");
    IHcPsPutLine("grestore");
}

void IHcPsDriver(int op)
{
    const auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose: op_close(); return;
    case GrOpHardcopyPage: op_page(); return;
    case GrOpFont: S.font_changed = true; return;
    case GrOpLine: segment(B.X(1), B.Y(1), B.X(2), B.Y(2)); return;
    case GrOpPoint: segment(B.X(1), B.Y(1), B.X(1), B.Y(1)); return;
    case GrOpPolyline: op_polyline(); return;
    case GrOpColour:
    case GrOpLoadPalette: op_colour(); return;
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_shape(op); return;
    case GrOpArc:
        page_used();
        IHcPsArc(op);
        return;
    case GrOpText: op_text(); return;
    case GrOpClip: op_clip(); return;
    case GrOpLineType: op_line_type(); return;
    case GrOpLineWidth: op_line_width(); return;
    case GrOpLineJoin:
        IHcPsPathEnd(1);
        IHcPsPutLine(std::to_string(HcOptions(HC_OPT_LINE_JOIN)) + " setlinejoin");
        if (HcOptions(HC_OPT_LINE_JOIN) == 0)
            IHcPsPutReal(5.0, "setmiterlimit");
        return;
    case GrOpLineCap:
        IHcPsPathEnd(1);
        IHcPsPutLine(std::to_string(HcOptions(HC_OPT_LINE_CAP)) + " setlinecap");
        return;
    default: return;
    }
}
