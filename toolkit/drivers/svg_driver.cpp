// The SVG driver (device 3).
#include "toolkit/drivers/svg_driver.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_vector_common.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <cmath>

SvgStyleStateRecord SvgStyleState;

namespace {

auto& S = SvgStyleState;

constexpr std::string_view DASHES[7] = {"none", "1 5", "6 6", "1 3 4 4", "1 2 1 2 4 2", "5 2 3 2", "3 3"};
constexpr std::string_view JOINS[3] = {"miter", "round", "bevel"};
constexpr std::string_view CAPS[3] = {"butt", "round", "square"};
constexpr std::string_view FONT_FAMILIES[4] = {"'Courier New',Courier;", "Arial,Helvetica;",
                                               "'Times New Roman','Times Roman';", "Symbol;"};
constexpr double FONT_FACTOR[3] = {1.65, 1.33, 1.72};

std::string num(double v)
{
    std::string t;
    int first = 0, last = 0;
    IHcSvgNumber(v, t, first, last);
    return t.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

std::string px(double x)
{
    return num(x * S.sx);
}

// A surface y as SVG y: flipped, since SVG counts down from the top.
std::string py(double y)
{
    return num((GrSurface.extent_y - y) * S.sy);
}

std::string point(double x, double y)
{
    return px(x) + "," + py(y);
}

// A text group stays open from the first character of a string sent character by character to its
// last; it is closed at the latest by the close.
bool text_group_open = false;

void close_text_group()
{
    if (text_group_open)
        IHcSvgPutLine("</g>");
    text_group_open = false;
}

void page_used()
{
    HcPageUsed = -1;
}

// Op 1: a 640 by 480 point page and the device facts at 72 dpi.
void op_initialise()
{
    if (!hc_initialise_begin(HC_SVG_DEVICE))
        return;
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 640;
    O(HC_OPT_PAGE_HEIGHT) = 480;
    O(HC_OPT_MARGIN_LEFT) = 0;
    O(HC_OPT_MARGIN_BOTTOM) = 0;
    O(HC_OPT_ORIENTATION) = 0;
    hc_vector_device(1, 1, 0, 0, "00000111111111100010011011110", 72, 256, HC_SVG_DEVICE);
    HcSpoolAllowed = 0;
}

// Op 18: the scale to points; with a real open the XML head and the svg element of the page size.
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
    IHcSvgPutLine("<?xml version=\"1.0\"?>");
    IHcSvgPutLine("<!DOCTYPE svg SYSTEM \"\">");
    IHcSvgPutLine("<svg width=\"" + std::to_string(O(HC_OPT_PAGE_WIDTH)) + "\" height=\"" +
                  std::to_string(O(HC_OPT_PAGE_HEIGHT)) + "\">");
    S = SvgStyleStateRecord{.sx = S.sx, .sy = S.sy};
    text_group_open = false;
}

void split_current(int which, int& r, int& g, int& b)
{
    IGrColourSplit(hc_colour_value(which), r, g, b);
}

// Ops 3, 29, 30, 36, 37: a new stroke group when colour, width, dash, join or cap changed.
void op_style()
{
    int r = 0, g = 0, b = 0;
    split_current(GR_CURRENT, r, g, b);
    const int w = std::max(static_cast<int>(HcOptions(HC_OPT_LINE_WIDTH) * 150.0 / 720.0 + 0.5), 1);
    const int cap = HcOptions(HC_OPT_LINE_CAP), join = HcOptions(HC_OPT_LINE_JOIN),
              type = GrLineState.line_type;
    if (cap == S.cap && join == S.join && type == S.line_type && w == S.width && b == S.blue && r == S.red &&
        g == S.green)
        return;
    S.stroke_hex = IHcHexColour(r, g, b);
    if (S.red != -1)
        IHcSvgPutLine("</g>");
    IHcSvgPutLine("<g style=\"fill:none;stroke:#" + S.stroke_hex +
                  ";stroke-dasharray:" + std::string(DASHES[type >= 0 && type <= 6 ? type : 0]) +
                  ";stroke-width:" + std::to_string(w) +
                  ";stroke-linejoin:" + std::string(JOINS[join >= 0 && join <= 2 ? join : 0]) +
                  ";stroke-linecap:" + std::string(CAPS[cap >= 0 && cap <= 2 ? cap : 0]) + "\">");
    S.red = r;
    S.green = g;
    S.blue = b;
    S.width = w;
    S.line_type = type;
    S.join = join;
    S.cap = cap;
}

// An element whose points follow head and a quote, broken into lines of at most 256 characters
// between points, ended by a quote, slash and greater-than.
void point_list(std::string_view head, const float* xs, const float* ys, int n)
{
    std::string line = std::string(head) + "\"";
    for (int i = 0; i < n; ++i) {
        const std::string p = point(xs[i], ys[i]);
        const bool first = i == 0;
        if (line.size() + (first ? 0 : 1) + p.size() > HC_SVG_LINE_LENGTH) {
            IHcSvgPutLine(line);
            line = p;
        } else {
            line += first ? p : " " + p;
        }
    }
    if (line.size() + 3 > HC_SVG_LINE_LENGTH) {
        IHcSvgPutLine(line);
        line.clear();
    }
    IHcSvgPutLine(line + "\"/>");
}

// Filled shapes: solid and two-colour (pattern) fills in a fill group under the active clip.
void op_shape(int op)
{
    const auto& B = GrPrimitiveBlock;
    const int style = B.FILL(FILL_STYLE);
    if (B.NVAL == -1) {
        if (style > 2)
            IHcSvgPutLine("</g>");
        return;
    }
    page_used();
    if (style <= 2 && op != GrOpEllipsePattern)
        return;
    if (style > 2) {
        int r = 0, g = 0, b = 0;
        split_current(GR_CURRENT, r, g, b);
        if (style == 3) {
            int pr = 0, pg = 0, pb = 0;
            split_current(GR_PREVIOUS, pr, pg, pb);
            r = (r + pr) / 2;
            g = (g + pg) / 2;
            b = (b + pb) / 2;
        }
        IHcColourInvert(r, g, b);
        S.fill_hex = IHcHexColour(r, g, b);
        IHcSvgPutLine("<g style=\"stroke:none;fill:#" + S.fill_hex +
                      (S.clip_active ? ";clip-path:url(#clip" + S.clip_text + ")" : std::string()) + "\">");
    }
    switch (op) {
    case GrOpEllipsePattern:
        IHcSvgPutLine("<ellipse cx=\"" + px(B.X(1)) + "\" cy=\"" + py(B.Y(1)) + "\" rx=\"" +
                      num(B.X(2) * S.sx) + "\" ry=\"" + num(B.Y(2) * S.sy) + "\"/>");
        return;
    case GrOpQuadPattern: point_list("<polygon points=", B.X.v.data(), B.Y.v.data(), 4); return;
    case GrOpRectanglePattern: {
        const float xs[4] = {B.X(1), B.X(2), B.X(2), B.X(1)}, ys[4] = {B.Y(1), B.Y(1), B.Y(2), B.Y(2)};
        point_list("<polygon points=", xs, ys, 4);
        return;
    }
    case GrOpTrianglePattern: point_list("<polygon points=", B.X.v.data(), B.Y.v.data(), 3); return;
    case GrOpPiePattern: IHcSvgArcPath(op); return;
    case GrOpPolygonPattern:
        point_list("<polygon points=", GrPolylineBuffer.X.v.data(), GrPolylineBuffer.Y.v.data(),
                   std::clamp(B.NPTS, 0, GR_POLYLINE_MAX));
        return;
    default: return;
    }
}

// Op 24: a numbered clip path of the clip rectangle, unless it covers the whole surface.
void op_clip()
{
    const auto& A = GrDeviceArea;
    const auto& W = GrSurface;
    S.clip_active = A.x1 > 0.0f || A.x2 < W.extent_x || A.y1 > 0.0f || A.y2 < W.extent_y;
    if (!S.clip_active)
        return;
    ++S.clip_count;
    S.clip_text = std::to_string(S.clip_count);
    IHcSvgPutLine("<defs><clipPath id=\"clip" + S.clip_text + "\"><rect width=\"" +
                  num((A.x2 - A.x1) * S.sx) + "\" height=\"" + num((A.y2 - A.y1) * S.sy) + "\" x=\"" +
                  px(A.x1) + "\" y=\"" + py(A.y2) + "\"/></clipPath></defs>");
}

// The text for character data: "&" and "<" as references, bytes 128..255 as "&#NNN;", control bytes
// (not allowed in XML even as references) as blanks.
std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        const unsigned u = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&#38;";
        else if (c == '<')
            out += "&#60;";
        else if (u >= 128)
            out += "&#" + hpgl_int(u, "I3") + ";";
        else if (u < 32)
            out += ' ';
        else
            out += c;
    }
    return out;
}

// The user-named face (family 0) as a quoted CSS family. A bare "font-family:" would run into the next
// property and void it; characters that would end the quote, the declaration or the XML attribute are
// left out.
std::string user_family()
{
    std::string name;
    for (char c :
         hc_trim_right(std::string_view(GrTextState.face_name.data(), GrTextState.face_name.size()))) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127 && std::string_view("'\\\";&<>").find(c) == std::string_view::npos)
            name += c;
    }
    name.erase(0, name.find_first_not_of(' '));
    return name.empty() ? std::string() : "'" + name + "';";
}

// Op 22: a text group (opened with flag 1, closed with flag 2) and the text element at its anchor,
// rotated by the text angle.
void op_text()
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    page_used();
    const int flags = B.IX(2);
    const int face = T.family;
    if ((flags & 1) != 0 && !text_group_open) {
        text_group_open = true;
        std::string style = "fill:#" + S.stroke_hex + ";stroke:none;font-family:";
        if (face >= 1 && face <= 4)
            style += FONT_FAMILIES[face - 1];
        else
            style += user_family();
        if (face != 4) {
            if ((T.style & 1) != 0)
                style += "font-weight:bold;";
            if ((T.style & 2) != 0)
                style += "font-style:italic;";
        }
        if (T.text_mode != 1 && T.justification == 1)
            style += "text-anchor:middle;";
        else if (T.text_mode != 1 && T.justification == 2)
            style += "text-anchor:end;";
        const int mode = std::clamp(T.text_mode, 0, 2);
        style +=
            "font-size:" + num(T.char_width * double(GrDeviceArea.text_width) * FONT_FACTOR[mode] * S.sx);
        IHcSvgPutLine("<g style=\"" + style + "\">");
    }
    double x = 0, y = 0;
    hc_text_anchor(0.2, true, x, y);
    std::string transform = "translate(" + px(x) + "," + py(y) + ")";
    if (T.angle != 0.0f)
        transform += "rotate(" + num(-T.angle) + ")";
    IHcSvgPutLine("<text transform=\"" + transform + "\">" + escaped(hc_text()) + "</text>");
    if ((flags & 2) != 0)
        close_text_group();
}

}  // namespace

void IHcSvgNumber(double value, std::string& text, int& first, int& last)
{
    text = hpgl_real(value, "F8.2");
    const std::size_t f = text.find_first_not_of(' ');
    const std::size_t l = text.find_last_not_of(' ');
    if (f == std::string::npos) {
        first = 1;
        last = 0;
        return;
    }
    first = static_cast<int>(f) + 1;
    last = static_cast<int>(l) + 1;
    const std::string_view t(text);
    // A number that ends in its point ("100.") is no SVG number: readers take such a coordinate for 0
    // or drop the element. Whole values are written without the point.
    if (last - first >= 2 && t.substr(l - 2, 3) == ".00")
        last -= 3;
    else if (t.substr(l, 1) == "0" && t.find('.') != std::string_view::npos)
        last -= 1;
}

void IHcSvgPutLine(std::string_view text)
{
    IHcPlotWriteText(HC_PLOT_SLOT, std::string(text) + "\r\n");
}

std::string IHcHexColour(int red, int green, int blue)
{
    static constexpr char DIGITS[] = "0123456789abcdef";
    std::string t;
    for (int c : {red, green, blue}) {
        const int v = std::clamp(c, 0, 255);
        t += DIGITS[v / 16];
        t += DIGITS[v % 16];
    }
    return t;
}

void IHcColourInvert(int& red, int& green, int& blue)
{
    hc_colour_invert(red, green, blue);
}

void IHcSvgArcPath(int op)
{
    const auto& B = GrPrimitiveBlock;
    const double cx = B.X(1), cy = B.Y(1), rx = B.X(2), ry = B.Y(2);
    const double x0 = cx + rx * std::cos(B.X(3)), y0 = cy + ry * std::sin(B.X(3));
    const double x1 = cx + rx * std::cos(B.Y(3)), y1 = cy + ry * std::sin(B.Y(3));
    const int large = B.Y(3) - B.X(3) >= 3.14159f ? 1 : 0;
    std::string d = "M " + point(x0, y0) + " A " + num(rx * S.sx) + "," + num(ry * S.sy) + " 0 " +
                    std::to_string(large) + " 0 " + point(x1, y1);
    if (B.FILL(FILL_DENSITY) <= 2 || B.FILL(FILL_STYLE) != 0 || op == GrOpPiePattern)
        d += " L " + point(cx, cy) + " L " + point(x0, y0);
    IHcSvgPutLine("<path d=\"" + d + "\"/>");
}

void IHcSvgDriver(int op)
{
    const auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpHardcopyPage: HcPageUsed = 0; return;
    case GrOpClose:
        close_text_group();
        IHcSvgPutLine(S.red != -1 ? "</g></svg>" : "</svg>");
        IHcPlotClose(HC_PLOT_SLOT);
        return;
    case GrOpColour:
    case GrOpLineType:
    case GrOpLineWidth:
    case GrOpLineJoin:
    case GrOpLineCap: op_style(); return;
    case GrOpLine:
        page_used();
        IHcSvgPutLine("<line x1=\"" + px(B.X(1)) + "\" y1=\"" + py(B.Y(1)) + "\" x2=\"" + px(B.X(2)) +
                      "\" y2=\"" + py(B.Y(2)) + "\"/>");
        return;
    case GrOpPoint:
        page_used();
        IHcSvgPutLine("<line x1=\"" + px(B.X(1)) + "\" y1=\"" + py(B.Y(1)) + "\" x2=\"" + px(B.X(1)) +
                      "\" y2=\"" + py(B.Y(1)) + "\" />");
        return;
    case GrOpPolyline:
        page_used();
        point_list("<polyline points=", GrPolylineBuffer.X.v.data(), GrPolylineBuffer.Y.v.data(),
                   std::clamp(B.NPTS, 0, GR_POLYLINE_MAX));
        return;
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_shape(op); return;
    case GrOpArc:
        page_used();
        IHcSvgArcPath(op);
        return;
    case GrOpClip: op_clip(); return;
    case GrOpText: op_text(); return;
    default: return;
    }
}
