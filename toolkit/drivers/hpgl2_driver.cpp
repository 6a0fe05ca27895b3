// The HP-GL/2 driver (device 12).
#include "toolkit/drivers/hpgl2_driver.h"

#include "toolkit/drivers/hc_dither.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"
#include "toolkit/common/text_utilities.h"

#include <algorithm>
#include <cmath>
#include <string>

const std::array<unsigned char, 95> HPGL2_ROMAN8 = {
    184, 191, 175, 186, 188, 124, 189, 171, 99,  249, 251, 32,  246, 82,  176, 179, 254, 50,  51,
    168, 243, 244, 242, 44,  49,  250, 253, 247, 248, 245, 185, 161, 224, 162, 225, 216, 208, 211,
    180, 163, 220, 164, 165, 230, 229, 166, 167, 227, 182, 232, 231, 223, 233, 218, 120, 210, 173,
    237, 174, 219, 177, 240, 222, 200, 196, 192, 226, 204, 212, 215, 181, 201, 197, 193, 205, 217,
    213, 209, 221, 228, 183, 202, 198, 194, 234, 206, 32,  214, 203, 199, 195, 207, 178, 241, 239};

namespace {

constexpr double UPP = 14.111111;  // plotter units (1/1016 inch) per point

// One device variant: resolution (dpi), page height and width (plotter units), colours.
struct Hpgl2Variant {
    int resolution;
    int page_height;
    int page_width;
    int colours;
};
constexpr Hpgl2Variant VARIANTS[5] = {{300, 7918, 10860, 2},
                                      {300, 7918, 10860, 256},
                                      {600, 7918, 10860, 2},
                                      {600, 10860, 15836, 256},
                                      {600, 7918, 10860, 256}};

constexpr double FONT_WIDTH[3] = {1.0, 0.932, 1.06};
constexpr double FONT_HEIGHT[3] = {1.0, 1.211, 1.211};

// Shape code of each filled-shape op 5, 7, 9, 11, 13, 15 (index op / 2 - 2).
constexpr int SHAPE_CODE[6] = {5, 8, 6, 7, 4, 11};

struct Hpgl2State {
    int variant = 1;
    double factor = 1.5;  // character-size factor F
    char font_letter = 'S';
    char terminator = 4;
    int p1x = 0, p1y = 0, p2x = 0, p2y = 0;
    std::string pen;                  // current pen code (blank: none)
    std::string fill_pen;             // pen code of the last fill
    std::array<char, 256> palette{};  // '1': the pen holds its own colour
    int fill_type = -1;               // 1 "FT11 1", 2 "FT11 2", -1 unset
    int pattern1_colour = -1;
    int pattern2_colours[2] = {-1, -1};
    int last_family = -1, last_style = -1, last_font = 0;
    bool font_changed = true;
    int last_origin = -1;
};

Hpgl2State S;

const Hpgl2Variant& variant()
{
    return VARIANTS[S.variant - 1];
}

bool two_colours()
{
    return variant().colours == 2;
}

void use_page()
{
    if ((HcPageUsed & 1) == 0)
        HcPageUsed = -1;
}

// A comment line: CO, a double quote, the fields one blank apart, a double quote, and the terminator
// ";" (without it a reader may take the next line into the comment: hp2xx then fails).
void comment(std::initializer_list<std::string> fields)
{
    std::string line = "CO\"";
    bool first = true;
    for (const auto& f : fields) {
        if (!first)
            line += ' ';
        line += f;
        first = false;
    }
    IHcHpglCommand(line + "\";");
}

std::string i1(int v)
{
    return hpgl_int(v, "I1");
}

std::string corners()
{
    return hpgl_int(S.p1x, "I7") + hpgl_int(S.p1y, "I7") + hpgl_int(S.p2x, "I7") + hpgl_int(S.p2y, "I7");
}

int colour_value(int which)
{
    const auto& C = GrColourState;
    return C.model == 1 ? C.number[which] : C.rgb[which];
}

void split_colour(int colour, int& r, int& g, int& b)
{
    IGrColourSplit(colour, r, g, b);
}

// Selects the pen when it is not the current one.
void select_pen(const std::string& code)
{
    if (code == S.pen)
        return;
    S.pen = code;
    IHcHpglCommand("PU;SP" + code);
}

// Op 1: the variant's page, resolution and colours, its capability string and the device words.
void op_initialise()
{
    if (!hc_initialise_begin(HC_HPGL2_DEVICE))
        return;
    HcDitherTable = HcDitherTableRecord{};
    HcSpoolAllowed = 1;
    const int v = HC_DEVICE_CONFIG.hpgl2_variant;
    S.variant = v >= 1 && v <= 5 ? v : 1;
    const Hpgl2Variant& V = variant();
    auto& O = HcOptions;
    O(HC_OPT_EXTENDED) = 0;
    O(HC_OPT_MARGIN_BOTTOM) = 0;
    O(HC_OPT_ORIENTATION) = 1;
    O(HC_OPT_TERMINATOR) = 4;
    O(HC_OPT_MARGIN_LEFT) = 0;
    O(HC_OPT_PAGE_WIDTH) = hpgl_trunc(V.page_width / UPP - O(HC_OPT_MARGIN_LEFT));
    O(HC_OPT_PAGE_HEIGHT) = hpgl_trunc(V.page_height / UPP);
    auto& D = HcDeviceBlock;
    D.resolution_x = V.resolution;
    D.resolution_y = V.resolution;
    D.initialised_device = HC_HPGL2_DEVICE;
    D.colours = V.colours;
    D.pens = 256;  // the second colour count: every variant takes 256 palette pens
    const std::string_view caps =
        two_colours() ? "00000100000011100010001001110" : "00000100011111100010011011110";
    hc_device_caps(caps);
    S.factor = S.variant == 1 ? 1.5 : 1.2;
    S.font_letter = S.variant == 1 ? 'S' : 'A';
    S.font_changed = true;
    hpgl_device_info(1);
}

// Op 18: the scale to user units; with a real open the PCL framing, the plotting area, the title
// comment and the head records.
void op_open()
{
    auto& D = HcDeviceBlock;
    const auto& O = HcOptions;
    D.sx = static_cast<float>(HPGL_USER_UNITS / std::max(GrSurface.width, 1));
    D.sy = static_cast<float>(HPGL_USER_UNITS / std::max(GrSurface.height, 1));
    if (GrPrimitiveBlock.NVAL > 0) {
        if (!hc_plot_open())
            return;
        D.line_start = O(HC_OPT_LINE_START) != 0 ? 1 : 2;
        S.terminator = static_cast<char>(O(HC_OPT_TERMINATOR));
        S.pen.clear();
        S.fill_pen.clear();
        S.fill_type = -1;
        S.pattern1_colour = -1;
        S.pattern2_colours[0] = S.pattern2_colours[1] = -1;
        S.palette.fill(' ');
        S.last_family = -1;
        S.last_style = -1;
        S.last_font = 0;
        S.last_origin = -1;
        S.p1x = hpgl_trunc(O(HC_OPT_MARGIN_LEFT) * UPP);
        S.p1y = hpgl_trunc(O(HC_OPT_MARGIN_BOTTOM) * UPP);
        S.p2x = hpgl_trunc((double(O(HC_OPT_PAGE_WIDTH)) + O(HC_OPT_MARGIN_LEFT)) * UPP);
        S.p2y = hpgl_trunc((double(O(HC_OPT_PAGE_HEIGHT)) + O(HC_OPT_MARGIN_BOTTOM)) * UPP);
        const bool plain = S.variant == 4;
        if (!plain)
            IHcHpgl2WriteLine("\x1b%0B");
        const std::string_view title = str_trim(HcTitle);
        if (GrPrimitiveBlock.IX(1) == 1 && !title.empty())
            IHcHpglCommand("CO: " + std::string(title));
        IHcHpglCommand("IN; IP" + corners());
        const bool blank_nine = plain ? O(HC_OPT_ORIENTATION) != 0 : O(HC_OPT_ORIENTATION) == 0;
        IHcHpglCommand(std::string(blank_nine ? "RO  0; IP" : "RO 90; IP") + corners());
        IHcHpglCommand(std::string("DT") + S.terminator);
        IHcHpglCommand("DI1. 0.");
        IHcHpglCommand("TR0");
        if (S.variant != 1)
            IHcHpglCommand("AD1,14;SA");
        if (!two_colours())
            IHcHpglCommand("NP256");
        comment({"13", hpgl_int(S.variant, "I2"), hpgl_real(S.factor, "F3.1"), "8"});
        comment({"2", i1(O(HC_OPT_INVERSION))});
    }
    IHcHpglCommand(HPGL_SCALE_RESET);
}

// Op 3: the pen of the colour (2-colour variants: pen 0 for white, else 1; otherwise the colour number,
// its palette entry written once), and the colour comment unless the core is filling.
void op_colour()
{
    const int number = GrColourState.number[GR_CURRENT];
    std::string code;
    if (two_colours()) {
        const bool white = HcOptions(HC_OPT_INVERSION) == 0 ? number == 0 : number == 223;
        // Assigned from a string, not a literal: from a literal GCC 12 warns of an overlap that cannot occur.
        code = std::string(white ? "0" : "1");
    } else {
        code = hpgl_int(number, "I3");
        const std::size_t n = static_cast<std::size_t>(std::clamp(number, 0, 255));
        if (S.palette[n] == ' ') {
            int rgb = 0, r = 0, g = 0, b = 0;
            IGrColourRGBGet(static_cast<int>(n), rgb);
            IGrRGBSplit(rgb, &r, &g, &b);
            IHcHpgl2Palette(static_cast<int>(n), r, g, b);
            S.palette[n] = '1';
        }
    }
    select_pen(code);
    if (GrPrimitiveBlock.FILL(FILL_HARD_PASS) == 0) {
        int r = 0, g = 0, b = 0;
        split_colour(colour_value(GR_CURRENT), r, g, b);
        comment({"1", hpgl_int(b * 65536 + g * 256 + r, "I8")});
    }
}

// The pattern fills of a 2-colour device: one colour as its dither mask, two colours interleaved.
void two_colour_fill(int style)
{
    const auto& B = GrPrimitiveBlock;
    if (B.solid != 0) {
        IHcHpglCommand("FT2");
        S.fill_type = -1;
        return;
    }
    const int current = colour_value(GR_CURRENT);
    const int background = colour_value(GR_PREVIOUS);
    HcDitherMask r = 0, g = 0, b = 0;
    if (style == 4 || background == current) {
        if (current != S.pattern1_colour) {
            IHcDitherColour(1, r, g, b);
            IHcHpglCommand("RF1,8,4,");
            IHcHpgl2RasterFill(r);
            S.pattern1_colour = current;
        }
        if (S.fill_type != 1)
            IHcHpglCommand("FT11 1");
        S.fill_type = 1;
        return;
    }
    if (background != S.pattern2_colours[0] || current != S.pattern2_colours[1]) {
        int br = 0, bg = 0, bb = 0;
        split_colour(background, br, bg, bb);
        HcDitherMask back = 0;
        hc_dither_rgb(1, br, bg, bb, back, g, b);
        IHcDitherColour(1, r, g, b);
        IHcHpglCommand("RF2,8,4,");
        IHcHpgl2RasterFill((back & 0xAA55AA55u) + (r & 0x55AA55AAu));
        S.pattern2_colours[0] = background;
        S.pattern2_colours[1] = current;
    }
    if (S.fill_type != 2)
        IHcHpglCommand("FT11 2");
    S.fill_type = 2;
}

// A mixed colour on a 256-colour device: pen 255 - current number holds the mean of the two colours.
void mixed_colour_pen()
{
    int r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
    split_colour(colour_value(GR_CURRENT), r1, g1, b1);
    split_colour(colour_value(GR_PREVIOUS), r2, g2, b2);
    const int p = 255 - std::clamp(GrColourState.number[GR_CURRENT], 0, 255);
    IHcHpgl2Palette(p, (r1 + r2) / 2, (g1 + g2) / 2, (b1 + b2) / 2);
    S.fill_pen = hpgl_int(p, "I3");
    IHcHpglCommand("PU;SP" + S.fill_pen);
    S.palette[static_cast<std::size_t>(p)] = ' ';
}

void fill_words_comment(int code)
{
    const auto& B = GrPrimitiveBlock;
    comment({hpgl_int(code, "I2"), i1(B.FILL(FILL_STYLE)), i1(B.FILL(FILL_DENSITY)), i1(B.FILL(FILL_ANGLE)),
             i1(B.FILL(FILL_OUTLINE))});
}

// An ellipse as a circle under a scaling that makes the area's aspect round; filled from style 3.
void op_ellipse(int style)
{
    const auto& B = GrPrimitiveBlock;
    IHcHpglPoint("PU", B.X(1), B.Y(1));
    if (style < 3)
        fill_words_comment(5);
    hpgl_circle(style > 2);
}

// Filled shapes: the fill type or mixed-colour pen, the fill-word comment and the geometry on the
// offer call; the closing call ends the comment and brings the drawing pen back.
void op_shape(int op)
{
    auto& B = GrPrimitiveBlock;
    const int code = SHAPE_CODE[op / 2 - 2];
    const int style = B.FILL(FILL_STYLE);
    if (B.NVAL == -1) {
        if (style >= 3 || code == 5 || code == 4)
            comment({hpgl_int(code, "I2"), "-1"});
        // The drawing pen again whenever it differs from the fill pen, which is blank unless the
        // shape took a mixed-colour pen.
        if (S.pen != S.fill_pen)
            IHcHpglCommand("PU;SP" + S.pen);
        return;
    }
    use_page();
    S.fill_pen.clear();
    if (style < 3) {
        if (op == GrOpEllipsePattern)
            op_ellipse(style);
        return;
    }
    if (two_colours())
        two_colour_fill(style);
    else if (style != 4 && colour_value(GR_PREVIOUS) != colour_value(GR_CURRENT))
        mixed_colour_pen();
    fill_words_comment(code);
    const auto& P = GrPolylineBuffer;
    switch (op) {
    case GrOpEllipsePattern: op_ellipse(style); break;
    case GrOpQuadPattern:
    case GrOpTrianglePattern:
        IHcHpglPoint("PU", B.X(1), B.Y(1));
        IHcHpglCommand("PM0");
        for (int i = 2; i <= (op == GrOpQuadPattern ? 4 : 3); ++i)
            IHcHpglPoint("PD", B.X(i), B.Y(i));
        IHcHpglCommand("PM2;FP");
        hpgl_pen_set(B.X(1), B.Y(1));
        break;
    case GrOpRectanglePattern:
        IHcHpglPoint("PU", B.X(1), B.Y(1));
        IHcHpglPoint("RA", B.X(2), B.Y(2));
        hpgl_pen_set(B.X(1), B.Y(1));
        break;
    case GrOpPiePattern:
        IHcHpgl2Wedge(op, HPGL_SCALE_RESET);
        hpgl_pen_set(B.X(1), B.Y(1));
        break;
    case GrOpPolygonPattern:
        if (B.NPTS < 1)
            break;
        IHcHpglPoint("PU", P.X(1), P.Y(1));
        hpgl_pen_set(P.X(1), P.Y(1));
        IHcHpglCommand("PM0");
        IHcHpgl2Polyline();
        IHcHpglCommand("PM2;FP");
        hpgl_pen_set(P.X(1), P.Y(1));
        break;
    default: break;
    }
}

// Text family code of the font-definition line; a user-named face counts as the proportional face.
int text_family()
{
    const int f = GrTextState.family;
    return f >= 1 && f <= 4 ? f : 2;
}

// Op 22: the relative size after a font op, the font definition when the text mode (the font number
// of the size tables), family or style changed, then the label from the start point in the cell.
void op_text()
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    use_page();
    const int font = std::clamp(T.text_mode, 0, 2);
    const int family = text_family();
    if (S.font_changed) {
        const double w = 100.0 * T.char_width * FONT_WIDTH[font] * GrDeviceArea.text_width /
                         (S.factor * std::max(GrSurface.width, 1));
        const double h = 100.0 * T.char_height * FONT_HEIGHT[font] * GrDeviceArea.text_height /
                         (2.0 * std::max(GrSurface.height, 1));
        if (font != S.last_font)
            comment({"10", i1(font)});
        IHcHpglCommand("SR" + hpgl_real(w, "F8.2") + hpgl_real(h, "F8.2"));
        S.font_changed = false;
    }
    if (font != S.last_font || family != S.last_family || T.style != S.last_style) {
        const bool bold = (T.style & 1) != 0;
        std::string line = (T.style & 2) != 0 ? "SL.2" : "SL0.";
        line += ";";
        line += S.font_letter;
        line += "D 2 ";
        switch (family) {
        case 1: line += std::string("0 6 ") + (bold ? "5" : "0"); break;
        case 2: line += std::string("1 6 ") + (bold ? "3" : "0") + " 7 4148"; break;
        case 3: line += std::string("1 6 ") + (bold ? "3" : "0") + " 7 4101"; break;
        default: line += std::string("1 6 ") + (bold ? "3" : "0") + " 7 4101 1 173"; break;
        }
        IHcHpglCommand(line);
        S.last_font = font;
        S.last_family = family;
        S.last_style = T.style;
    }
    const int n = std::clamp(B.IX(1), 0, static_cast<int>(B.TEXT.size()));
    std::string text(B.TEXT.data(), static_cast<std::size_t>(n));
    if (S.variant == 1 && (font == 0 || family != 4))
        for (char& c : text) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u >= 161)
                c = static_cast<char>(HPGL2_ROMAN8[u - 161]);
        }
    const double a = font == 0 ? 0.22 : 0.0;
    const double b = font == 0 ? 0.22 : 0.3;
    double x = 0.0, y = 0.0;
    hpgl_text_start(a, b, x, y);
    int origin = 0;
    if (font != 1) {
        const int j = std::clamp(T.justification, 0, 2);
        const double ex = x - B.X(1) + B.X(3), ey = y - B.Y(1) + B.Y(3);
        x += (ex - x) * j / 2.0;
        y += (ey - y) * j / 2.0;
        origin = j;
    }
    if (origin != S.last_origin) {
        IHcHpglCommand(std::string("LO") + "147"[origin]);
        S.last_origin = origin;
    }
    IHcHpglPoint("PU", x, y);
    IHcHpglLabel(text + S.terminator);
    hpgl_pen_set(HC_PEN_UNKNOWN, HC_PEN_UNKNOWN);
}

}  // namespace

void IHcHpgl2Palette(int pen, int red, int green, int blue)
{
    const int o6 = HcOptions(HC_OPT_INVERSION);
    const bool extreme = (red >= 246 && green >= 246 && blue >= 246) || (red <= 9 && green <= 9 && blue <= 9);
    if (o6 == 1 || (o6 == 2 && extreme)) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
    IHcHpglCommand("PC" + hpgl_int(pen, "I4") + " " + hpgl_int(red, "I3") + " " + hpgl_int(green, "I3") +
                   " " + hpgl_int(blue, "I3"));
}

void IHcHpgl2RasterFill(std::uint32_t pattern)
{
    const std::uint32_t inverted = ~pattern;
    for (int half = 0; half < 2; ++half) {
        std::string line;
        for (int i = 16 * half; i < 16 * half + 16; ++i) {
            line += (inverted >> i & 1u) != 0 ? '1' : '0';
            line += i == 31 ? ';' : ',';
        }
        IHcHpgl2WriteLine(line);
    }
}

// A polyline as one encoded PE command: relative moves in base-32 digits after the first point.
void IHcHpgl2Polyline()
{
    const auto& P = GrPolylineBuffer;
    const auto& D = HcDeviceBlock;
    const int n = std::clamp(GrPrimitiveBlock.NPTS, 1, GR_POLYLINE_MAX);
    std::string line = "PE7";
    auto encode = [&](int d) {
        long long v = d >= 0 ? 2LL * d : 2LL * -static_cast<long long>(d) + 1;
        while (v >= 32) {
            line += static_cast<char>(63 + v % 32);
            v /= 32;
        }
        line += static_cast<char>(95 + v);
    };
    for (int i = 2; i <= n; ++i) {
        if (line.size() > 246) {
            IHcHpgl2WriteLine(line + ";");
            line = "PE7";
        }
        encode(hpgl_trunc(double(D.sx) * P.X(i)) - hpgl_trunc(double(D.sx) * P.X(i - 1)));
        encode(hpgl_trunc(double(D.sy) * P.Y(i)) - hpgl_trunc(double(D.sy) * P.Y(i - 1)));
    }
    IHcHpgl2WriteLine(line + ";");
    hpgl_pen_set(P.X(n), P.Y(n));
}

// Arc (op 34) or pie (op 13) under the aspect scaling: an open arc as AA, otherwise an edged or
// filled wedge.
void IHcHpgl2Wedge(int op, std::string_view reset)
{
    const auto& B = GrPrimitiveBlock;
    const int style = B.FILL(FILL_STYLE);
    const bool open_arc = op == GrOpArc && style == 0 && B.FILL(FILL_DENSITY) > 2;
    if (!open_arc)
        IHcHpglPoint("PU", B.X(1), B.Y(1));
    if (style == 1 || style == 2)
        fill_words_comment(4);
    double radius = 0.0, cx = 0.0, cy = 0.0;
    hpgl_arc_scaling(reset, radius, cx, cy);
    if (open_arc) {
        IHcHpglCommand("PU" + hpgl_int(hpgl_trunc(cx + radius * std::cos(B.X(3))), "I6") +
                       hpgl_int(hpgl_trunc(cy + radius * std::sin(B.X(3))), "I6"));
        IHcHpglCommand("PD;");
        IHcHpglCommand("AA" + hpgl_int(hpgl_trunc(cx), "I6") + hpgl_int(hpgl_trunc(cy), "I6") +
                       hpgl_real(B.Y(4), "F7.1"));
    } else {
        IHcHpglCommand(std::string(op == GrOpPiePattern ? "WG" : "EW") + hpgl_int(hpgl_trunc(radius), "I6") +
                       hpgl_real(B.X(4), "F7.1") + hpgl_real(B.Y(4), "F7.1"));
    }
    // The pen is left where the device's arc ended, which the scaled units above do not tell exactly.
    hpgl_pen_set(HC_PEN_UNKNOWN, HC_PEN_UNKNOWN);
    IHcHpglCommand(reset);
}

void IHcHpgl2Driver(int op)
{
    auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose:
        if (S.variant != 4)
            IHcHpgl2WriteLine("\x1b%0A");
        IHcPlotClose(HC_PLOT_SLOT);
        return;
    case GrOpHardcopyPage:
        HcPageUsed = 0;
        comment({"3", hpgl_int(B.NVAL, "I3")});
        if (S.variant == 4)
            IHcHpglCommand("PG");
        else
            IHcHpgl2WriteLine("\x1b%1A\x1b&l" + hpgl_int(HcOptions(HC_OPT_COPIES), "I2.2") + "X\f\x1b%0B");
        return;
    case GrOpLine:
    case GrOpPoint: {
        use_page();
        hpgl_move_unless_there(B.X(1), B.Y(1));
        const int i = op == GrOpLine ? 2 : 1;
        IHcHpglPoint("PD", B.X(i), B.Y(i));
        hpgl_pen_set(B.X(i), B.Y(i));
        return;
    }
    case GrOpPolyline:
        if (B.NPTS < 1)
            return;
        use_page();
        hpgl_move_unless_there(GrPolylineBuffer.X(1), GrPolylineBuffer.Y(1));
        IHcHpgl2Polyline();
        return;
    case GrOpColour:
    case GrOpLoadPalette: op_colour(); return;
    case GrOpDefineColour: {
        int r = 0, g = 0, b = 0;
        IGrRGBSplit(B.IX(1), &r, &g, &b);
        const int n = std::clamp(B.NPTS, 0, 255);
        IHcHpgl2Palette(n, r, g, b);
        S.palette[static_cast<std::size_t>(n)] = '1';
        return;
    }
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_shape(op); return;
    case GrOpFont: S.font_changed = true; return;
    case GrOpText: op_text(); return;
    case GrOpClip: hpgl_clip(UPP, S.p1x, S.p1y, S.p2x, S.p2y); return;
    case GrOpLineType: hpgl_line_type(false); return;
    case GrOpLineWidth:
        IHcHpglCommand("PW" +
                       hpgl_real(std::clamp(HcOptions(HC_OPT_LINE_WIDTH) * 0.4 / UPP, 0.0284, 5.0), "F5.3"));
        return;
    case GrOpTextAngle: hpgl_text_direction(); return;
    case GrOpLineJoin:
        IHcHpglCommand(std::string("LA2 ") + "145"[std::clamp(HcOptions(HC_OPT_LINE_JOIN), 0, 2)]);
        return;
    case GrOpLineCap:
        IHcHpglCommand(std::string("LA1 ") + "142"[std::clamp(HcOptions(HC_OPT_LINE_CAP), 0, 2)]);
        return;
    case GrOpArc:
        use_page();
        IHcHpgl2Wedge(op, HPGL_SCALE_RESET);
        return;
    default: return;
    }
}
