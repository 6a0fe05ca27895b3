// The DXF driver (device 8).
#include "toolkit/drivers/dxf_driver.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_vector_common.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <cmath>
#include <string>

const std::array<int, 255> HC_DXF_COLOURS = {
    0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFFFFFF, 0x4C4C4C, 0xA5A5A5, 0xFF0000,
    0xFF7F7F, 0xA50000, 0xA55252, 0x7F0000, 0x7F3F3F, 0x4C0000, 0x4C2626, 0x260000, 0x261313, 0xFF3F00,
    0xFF9F7F, 0xA52900, 0xA56752, 0x7F1F00, 0x7F4F3F, 0x4C1300, 0x4C2F26, 0x260900, 0x261713, 0xFF7F00,
    0xFFBF7F, 0xB95200, 0xA57C52, 0x7F3F00, 0x7F5F3F, 0x4C2600, 0x4C3926, 0x261300, 0x261C13, 0xFFBF00,
    0xFFDF7F, 0xA57C00, 0xA59152, 0x7F5F00, 0x7F6F3F, 0x4C3900, 0x4C4226, 0x261C00, 0x262113, 0xFFFF00,
    0xFFFF7F, 0xA5A500, 0xA5A552, 0x7F7F00, 0x7F7F3F, 0x4C4C00, 0x4C4C26, 0x262600, 0x262613, 0xBFFF00,
    0xDFFF7F, 0x7CA500, 0x91A552, 0x5F7F00, 0x6F7F3F, 0x394C00, 0x424C26, 0x1C2600, 0x212613, 0x7FFF00,
    0xBFFF7F, 0x52A548, 0x7CA552, 0x3F7F00, 0x5F7F3F, 0x264C00, 0x394C26, 0x132600, 0x1C2613, 0x3FFF00,
    0x9FFF7F, 0x29A500, 0x67A552, 0x1F7F00, 0x4F7F3F, 0x134C00, 0x2F4C26, 0x092600, 0x172613, 0x00FF00,
    0x7FFF7F, 0x00A500, 0x52A552, 0x007F00, 0x3F7F3F, 0x004C00, 0x264C26, 0x002600, 0x132613, 0x00FF3F,
    0x7FFF9F, 0x00A529, 0x52A567, 0x007F1F, 0x3F7F4F, 0x004C13, 0x264C2F, 0x002609, 0x132617, 0x00FF7F,
    0x7FFFBF, 0x00A552, 0x52A57C, 0x007F3F, 0x3F7F5F, 0x004C26, 0x264C39, 0x002613, 0x13261C, 0x00FFBF,
    0x7FFFDF, 0x00A57C, 0x52A591, 0x007F5F, 0x3F7F6F, 0x004C39, 0x264C42, 0x00261C, 0x132621, 0x00FFFF,
    0x7FFFFF, 0x00A5A5, 0x52A5A5, 0x007F7F, 0x3F7F7F, 0x004C4C, 0x264C4C, 0x002626, 0x132626, 0x00BFFF,
    0x7FDFFF, 0x007CA5, 0x5291A5, 0x005F7F, 0x3F6F7F, 0x00394C, 0x26424C, 0x001C26, 0x132126, 0x007FFF,
    0x7FBFFF, 0x0052A5, 0x527CA5, 0x003F7F, 0x3F5F7F, 0x00264C, 0x26394C, 0x001326, 0x131C26, 0x003FFF,
    0x7F9FFF, 0x0029A5, 0x5267A5, 0x001F7F, 0x3F4F7F, 0x00134C, 0x262F4C, 0x000926, 0x131726, 0x0000FF,
    0x7F7FFF, 0x0000A5, 0x5252A5, 0x00007F, 0x3F3F7F, 0x00004C, 0x26264C, 0x000026, 0x131326, 0x3F00FF,
    0x9F7FFF, 0x2900A5, 0x6752A5, 0x1F007F, 0x4F3F7F, 0x13004C, 0x2F264C, 0x090026, 0x171326, 0x7F00FF,
    0xBF7FFF, 0x5200A5, 0x7C52A5, 0x3F007F, 0x5F3F7F, 0x26004C, 0x39264C, 0x130026, 0x1C1326, 0xBF00FF,
    0xDF7FFF, 0x7C00A5, 0x9152A5, 0x5F007F, 0x6F3F7F, 0x39004C, 0x42264C, 0x1C0026, 0x211326, 0xFF00FF,
    0xFF7FFF, 0xA500A5, 0xA552A5, 0x7F007F, 0x7F3F7F, 0x4C004C, 0x4C264C, 0x260026, 0x261326, 0xFF00BF,
    0xFF7FDF, 0xA5007C, 0xA55291, 0x7F005F, 0x7F3F6F, 0x4C0039, 0x4C2642, 0x26001C, 0x261321, 0xFF007F,
    0xFF7FBF, 0xA50052, 0xA5527C, 0x7F003F, 0x7F3F5F, 0x4C0026, 0x4C2639, 0x260013, 0x26131C, 0xFF003F,
    0xFF7F9F, 0xA50029, 0xA55267, 0x7F001F, 0x7F3F4F, 0x4C0013, 0x4C262F, 0x260009, 0x261317, 0x545454,
    0x767676, 0x989898, 0xBABABA, 0xDCDCDC, 0xFFFFFF,
};

namespace {

// Group 16 table of colour depth 4, by colour number / 16.
constexpr int GROUP16[16] = {8, 1, 9, 2, 2, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8};

struct LineType {
    std::string_view name;  // an 8-character field, written without its trailing blanks
    std::string_view unit;  // the description: unit repeated, then the tail
    int repeat;
    std::string_view tail;
    double total;
    std::array<double, 6> dashes;
    int count;
};
constexpr LineType LINE_TYPES[6] = {
    {"DOT     ", ".", 46, "", 0.25, {0, -0.25}, 2},
    {"DASHED  ", "__ ", 15, " ", 0.75, {0.5, -0.25}, 2},
    {"DASHDOT ", "__ . ", 9, " ", 1.0, {0.5, -0.25, 0, -0.25}, 4},
    {"DIVIDE  ", "__ . . ", 6, "__  ", 1.25, {0.5, -0.25, 0, -0.25, 0, -0.25}, 6},
    {"CENTER  ", "____ _ ", 6, "____", 2.0, {1.25, -0.25, 0.25, -0.25}, 4},
    {"HIDDEN  ", "_ ", 23, "", 0.25, {0.12, -0.12}, 2},
};
// Text height factors by text mode.
constexpr double HEIGHT_FACTOR[3] = {0.52, 0.63, 0.63};

struct DxfState {
    double sx = 1.0, sy = 1.0;  // surface units -> inches
    int colour = 7;             // current DXF colour number
    int cached_rgb = -1;        // the colour cache: last RGB value and its number
    int cached_number = 7;
};
DxfState S;

// Packed RGB (red low byte) of an RRGGBB table value.
int packed(int rrggbb)
{
    return (rrggbb >> 16 & 255) | (rrggbb & 0xFF00) | (rrggbb & 255) << 16;
}

// The HSV cone coordinates a = s v cos h, b = s v sin h, and v.
struct Cone {
    float a, b, v;
};
// A colour as a point of the HSV cone (s v cos h, s v sin h, v): the space of the nearest-colour search.
Cone cone(int rgb)
{
    float h = 0, s = 0, v = 0;
    IGrRGBToHSV(rgb, h, s, v);
    return {s * v * std::cos(h), s * v * std::sin(h), v};
}

// A real as F15.6 without its leading blanks.
std::string header_real(double v)
{
    const std::string t = hpgl_real(v, "F15.6");
    return t.substr(std::min(t.find_first_not_of(' '), t.size()));
}

void page_used()
{
    HcPageUsed = -1;
}

// Group 6 with the line type's name (types 1..6; 0 and others are continuous), and the thickness.
void line_type_and_thickness(bool with_type)
{
    const int t = GrLineState.line_type;
    if (with_type && t >= 1 && t <= 6) {
        IHcDxfWriteLine("6");
        IHcDxfWriteTrimmed(LINE_TYPES[t - 1].name);
    }
    IHcDxfGroupReal("39", HcOptions(HC_OPT_LINE_WIDTH) / 720.0);
}

// Circles and arcs are the format's own only where both user-unit ranges are equal.
bool square_units()
{
    return GrUnits.x_range == GrUnits.y_range;
}

// Op 1: a 756 by 540 point page, fill spacing 80 and colour depth 8, the device facts at 90 dpi.
void op_initialise()
{
    if (!hc_initialise_begin(HC_DXF_DEVICE))
        return;
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 756;
    O(HC_OPT_PAGE_HEIGHT) = 540;
    O(HC_OPT_MARGIN_LEFT) = 0;
    O(HC_OPT_MARGIN_BOTTOM) = 0;
    O(HC_OPT_ORIENTATION) = 0;
    O(HC_OPT_FILL_SPACING) = 80;
    O(HC_OPT_DEPTH) = 8;
    hc_vector_device(1, 1, 0, 0, "00000100000011000010000000010", 90, 255, HC_DXF_DEVICE);
    GrDeviceInfo.text_real[1] = 0.222f;
    HcSpoolAllowed = 0;
}

void write_lines(std::initializer_list<std::string_view> lines)
{
    for (std::string_view line : lines)
        IHcDxfWriteLine(line);
}

// Op 18: scale to inches; with a real open the colour count by depth, the header with the extents,
// the line-type, style and layer tables, and the start of the entities section.
void op_open()
{
    const auto& O = HcOptions;
    S.sx = O(HC_OPT_PAGE_WIDTH) / (std::max(GrSurface.width, 1) * 72.0);
    S.sy = O(HC_OPT_PAGE_HEIGHT) / (std::max(GrSurface.height, 1) * 72.0);
    HcDeviceBlock.sx = static_cast<float>(S.sx);
    HcDeviceBlock.sy = static_cast<float>(S.sy);
    if (GrPrimitiveBlock.NVAL <= 0)
        return;
    if (!hc_plot_open())
        return;
    HcDeviceBlock.colours = O(HC_OPT_DEPTH) == 8 ? 255 : O(HC_OPT_DEPTH) == 4 ? 14 : 7;
    GrDeviceInfo.true_colour[1] = O(HC_OPT_DEPTH) == 8 ? 1 : 0;
    const std::string W = header_real(O(HC_OPT_PAGE_WIDTH) / 72.0),
                      H = header_real(O(HC_OPT_PAGE_HEIGHT) / 72.0);
    const std::string W2 = header_real(O(HC_OPT_PAGE_WIDTH) / 144.0),
                      H2 = header_real(O(HC_OPT_PAGE_HEIGHT) / 144.0);
    write_lines({"0",  "SECTION",  "2",  "HEADER",  "9",  "$EXTMIN",  "10", "0.000000", "20", "0.000000",
                 "9",  "$EXTMAX",  "10", W,         "20", H,          "9",  "$CECOLOR", "62", "7",
                 "9",  "$CELTYPE", "6",  "DASHDOT", "9",  "$VIEWCTR", "10", W2,         "20", H2,
                 "9",  "$LIMMIN",  "10", "0",       "20", "0",        "9",  "$LIMMAX",  "10", W,
                 "20", H,          "0",  "ENDSEC",  "0"});
    write_lines({"SECTION", "2", "TABLES", "0", "TABLE", "2", "LTYPE", "70", "9", "0"});
    for (const LineType& t : LINE_TYPES) {
        std::string description;
        for (int i = 0; i < t.repeat; ++i)
            description += t.unit;
        description += t.tail;
        write_lines({"LTYPE", "2"});
        IHcDxfWriteTrimmed(t.name);
        write_lines({"70", "0", "3", description, "72", "65"});
        IHcDxfGroupInt("73", t.count);
        IHcDxfGroupReal("40", t.total);
        for (int i = 0; i < t.count; ++i)
            IHcDxfGroupReal("49", t.dashes[static_cast<std::size_t>(i)]);
        IHcDxfWriteLine("0");
    }
    IHcDxfWriteLine("ENDTAB");
    write_lines({"0",        "TABLE", "2",  "STYLE", "70", "1",   "0", "STYLE", "2",
                 "STANDARD", "70",    "0",  "40",    "0",  "41",  "1", "50",    "0",
                 "71",       "0",     "42", "0",     "3",  "txt", "0", "ENDTAB"});
    write_lines({"0", "TABLE", "2", "LAYER", "70", "9", "0"});
    for (char d = '1'; d <= '9'; ++d)
        write_lines({"LAYER", "2", std::string_view(&d, 1), "70", "0", "62", "7", "6", "CONTINUOUS", "0"});
    write_lines({"ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    S.cached_rgb = -1;
}

// Op 3: the DXF colour number by depth (nearest of the 255, the 16-group table, or the 32-band rule).
void op_colour()
{
    const auto& C = GrColourState;
    const int depth = HcOptions(HC_OPT_DEPTH);
    const int number = std::clamp(C.number[GR_CURRENT], 0, 255);
    if (depth == 8) {
        int rgb = C.rgb[GR_CURRENT];
        if (C.model == 1)
            IGrColourRGBGet(number, rgb);
        if (rgb != S.cached_rgb) {
            S.cached_rgb = rgb;
            S.cached_number = hc_dxf_colour_search(rgb);
        }
        S.colour = S.cached_number;
    } else if (depth == 4) {
        S.colour = GROUP16[number / 16];
    } else {
        S.colour = ((number + 16) / 32) % 8;
        if (S.colour == 0)
            S.colour = 7;
    }
}

void op_polyline()
{
    const auto& P = GrPolylineBuffer;
    page_used();
    IHcDxfEntity("POLYLINE");
    line_type_and_thickness(true);
    IHcDxfGroupInt("66", 1);
    IHcDxfGroupInt("70", 0);
    const int n = std::clamp(GrPrimitiveBlock.NPTS, 0, GR_POLYLINE_MAX);
    for (int i = 1; i <= n; ++i) {
        write_lines({"0", "VERTEX", "8", "1"});
        IHcDxfGroupPoint("10", "20", P.X(i), P.Y(i));
    }
    write_lines({"0", "SEQEND"});
}

void op_text()
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    const auto& A = GrDeviceArea;
    page_used();
    IHcDxfEntity("TEXT");
    const int mode = std::clamp(T.text_mode, 0, 2);
    IHcDxfGroupReal("40", T.char_height * HEIGHT_FACTOR[mode] * S.sy * A.text_height);
    const double width = A.text_width * double(T.char_width) / std::max(GrSurface.width, 1);
    const double height = A.text_height * double(T.char_height) / std::max(GrSurface.height, 1);
    IHcDxfGroupReal("41", height != 0.0 ? width / height : 1.0);
    IHcDxfGroupInt("50", static_cast<int>(T.angle));
    IHcDxfGroupText("1", hc_text());
    IHcDxfGroupText("7", "STANDARD");
    double x = 0, y = 0;
    hc_text_anchor(0.22, false, x, y);
    if (T.justification == 0 || T.text_mode == 1) {
        IHcDxfGroupInt("72", 0);
        IHcDxfGroupPoint("10", "20", x, y);
    } else {
        // Centred on the middle of the text's run from (X1, Y1) to (X3, Y3).
        IHcDxfGroupInt("72", 1);
        IHcDxfGroupPoint("10", "20", x, y);
        const double dx = x - B.X(1), dy = y - B.Y(1);
        IHcDxfGroupPoint("11", "21", (B.X(1) + B.X(3)) / 2 + dx, (B.Y(1) + B.Y(3)) / 2 + dy);
    }
}

// Filled shapes: solid quadrilaterals, triangles and (clipped) rectangles as SOLID entities; pies,
// polygons, ellipses and mixed fills are left to the core's hatching, a round unfilled ellipse on
// square units is a CIRCLE.
void op_shape(int op)
{
    auto& B = GrPrimitiveBlock;
    if (B.NVAL == -1)
        return;
    page_used();
    const int style = B.FILL(FILL_STYLE);
    if (op == GrOpPiePattern || op == GrOpPolygonPattern || op == GrOpEllipsePattern || style == 3) {
        B.FILL(FILL_HARD_PASS) = 2;
        HcDeviceBlock.line_spacing =
            static_cast<float>(HcOptions(HC_OPT_FILL_SPACING) / 100.0 * GrSurface.height /
                               std::max(HcOptions(HC_OPT_PAGE_HEIGHT), 1) * (style == 3 ? 2 : 1));
        if (style <= 2) {
            if (op == GrOpEllipsePattern && B.X(3) == 1.0f && square_units()) {
                IHcDxfEntity("CIRCLE");
                line_type_and_thickness(false);
                IHcDxfGroupPoint("10", "20", B.X(1), B.Y(1));
                IHcDxfGroupReal("40", S.sx * B.X(2));
            } else {
                B.NVAL = -1;
            }
        }
        return;
    }
    if (style != 4)
        return;
    IHcDxfEntity("SOLID");
    if (op == GrOpQuadPattern) {
        IHcDxfGroupPoint("10", "20", B.X(1), B.Y(1));
        IHcDxfGroupPoint("11", "21", B.X(2), B.Y(2));
        IHcDxfGroupPoint("12", "22", B.X(4), B.Y(4));
        IHcDxfGroupPoint("13", "23", B.X(3), B.Y(3));
    } else if (op == GrOpTrianglePattern) {
        IHcDxfGroupPoint("10", "20", B.X(1), B.Y(1));
        IHcDxfGroupPoint("11", "21", B.X(2), B.Y(2));
        IHcDxfGroupPoint("12", "22", B.X(3), B.Y(3));
        IHcDxfGroupPoint("13", "23", B.X(3), B.Y(3));
    } else {
        const auto& A = GrDeviceArea;
        const double x1 = std::max(A.x1, B.X(1)), y1 = std::max(A.y1, B.Y(1));
        const double x2 = std::min(A.x2, B.X(2)), y2 = std::min(A.y2, B.Y(2));
        IHcDxfGroupPoint("10", "20", x1, y1);
        IHcDxfGroupPoint("11", "21", x1, y2);
        IHcDxfGroupPoint("12", "22", x2, y1);
        IHcDxfGroupPoint("13", "23", x2, y2);
    }
}

// Op 34: an ARC on square units (answer 1); otherwise NVAL 2 leaves the arc to the core.
void op_arc()
{
    auto& B = GrPrimitiveBlock;
    if (!square_units()) {
        B.NVAL = 2;
        return;
    }
    page_used();
    IHcDxfEntity("ARC");
    line_type_and_thickness(true);
    IHcDxfGroupPoint("10", "20", B.X(1), B.Y(1));
    IHcDxfGroupReal("40", S.sx * B.X(2));
    IHcDxfGroupReal("50", std::min(B.X(4), B.X(4) + B.Y(4)));
    IHcDxfGroupReal("51", std::max(B.X(4), B.X(4) + B.Y(4)));
    B.NVAL = 1;
}

}  // namespace

// The DXF colour number nearest to a packed RGB in the HSV cone; an exact match ends the search.
int hc_dxf_colour_search(int rgb)
{
    static const std::array<Cone, 255> entries = [] {
        std::array<Cone, 255> e{};
        for (std::size_t i = 0; i < e.size(); ++i)
            e[i] = cone(packed(HC_DXF_COLOURS[i]));
        return e;
    }();
    const Cone c = cone(rgb);
    double best = 9999999.0;
    int number = 7;
    for (int n = 1; n <= 255; ++n) {
        if (packed(HC_DXF_COLOURS[static_cast<std::size_t>(n - 1)]) == rgb)
            return n;
        const Cone& e = entries[static_cast<std::size_t>(n - 1)];
        const double d = double(c.a - e.a) * (c.a - e.a) + double(c.b - e.b) * (c.b - e.b) +
                         double(c.v - e.v) * (c.v - e.v);
        if (d < best) {
            best = d;
            number = n;
        }
    }
    return number;
}

void IHcDxfWriteLine(std::string_view text)
{
    IHcPlotWriteText(HC_PLOT_SLOT, std::string(text) + "\r\n");
}

void IHcDxfWriteTrimmed(std::string_view text)
{
    const std::string_view t = hc_trim_right(text);
    IHcDxfWriteLine(t.empty() ? text.substr(0, std::min<std::size_t>(text.size(), 1)) : t);
}

void IHcDxfGroupText(std::string_view code, std::string_view value)
{
    IHcDxfWriteLine(code);
    IHcDxfWriteLine(value);
}

void IHcDxfGroupReal(std::string_view code, double value)
{
    std::string t = header_real(value);
    if (t.find('.') != std::string::npos && t.find('*') == std::string::npos)
        t.erase(t.find_last_not_of('0') + 1);
    IHcDxfGroupText(code, t);
}

void IHcDxfGroupInt(std::string_view code, int value)
{
    const std::string t = hpgl_int(value, "I3");
    IHcDxfGroupText(code, t.substr(std::min(t.find_first_not_of(' '), t.size())));
}

void IHcDxfGroupPoint(std::string_view x_code, std::string_view y_code, double x, double y)
{
    IHcDxfGroupReal(x_code, x * S.sx);
    IHcDxfGroupReal(y_code, y * S.sy);
}

void IHcDxfEntity(std::string_view name)
{
    IHcDxfGroupText("0", name);
    IHcDxfGroupText("8", "1");
    IHcDxfGroupInt("62", S.colour);
}

void IHcDxfDriver(int op)
{
    const auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose:
        write_lines({"0", "ENDSEC", "0", "EOF"});
        IHcPlotClose(HC_PLOT_SLOT);
        return;
    case GrOpHardcopyPage: HcPageUsed = 0; return;
    case GrOpColour: op_colour(); return;
    case GrOpLine:
        page_used();
        IHcDxfEntity("LINE");
        line_type_and_thickness(B.FILL(FILL_HARD_PASS) == 0);
        IHcDxfGroupPoint("10", "20", B.X(1), B.Y(1));
        IHcDxfGroupPoint("11", "21", B.X(2), B.Y(2));
        return;
    case GrOpPoint:
        page_used();
        IHcDxfEntity("POINT");
        IHcDxfGroupPoint("10", "20", B.X(1), B.Y(1));
        return;
    case GrOpPolyline: op_polyline(); return;
    case GrOpText: op_text(); return;
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_shape(op); return;
    case GrOpArc: op_arc(); return;
    default: return;
    }
}
