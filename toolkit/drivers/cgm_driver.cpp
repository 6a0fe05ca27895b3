// The binary CGM driver (device 9).
#include "toolkit/drivers/cgm_driver.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_vector_common.h"
#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_load.h"
#include "toolkit/common/error_state.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

CgmDriverStateRecord CgmDriverState;

namespace {

auto& S = CgmDriverState;

// Element classes and ids.
constexpr int BEGIN_METAFILE[2] = {0, 1}, END_METAFILE[2] = {0, 2}, BEGIN_PICTURE[2] = {0, 3},
              BEGIN_BODY[2] = {0, 4}, END_PICTURE[2] = {0, 5};
constexpr int POLYLINE[2] = {4, 1}, TEXT[2] = {4, 4}, RESTRICTED_TEXT[2] = {4, 5}, POLYGON[2] = {4, 7},
              CELL_ARRAY[2] = {4, 9}, RECTANGLE[2] = {4, 11}, ELLIPSE[2] = {4, 17};
constexpr int LINE_TYPE[2] = {5, 2}, LINE_WIDTH[2] = {5, 3}, LINE_COLOUR[2] = {5, 4}, FONT_INDEX[2] = {5, 10},
              TEXT_COLOUR[2] = {5, 14}, CHAR_HEIGHT[2] = {5, 15}, CHAR_ORIENTATION[2] = {5, 16},
              TEXT_ALIGNMENT[2] = {5, 18}, INTERIOR_STYLE[2] = {5, 22}, FILL_COLOUR[2] = {5, 23},
              EDGE_TYPE[2] = {5, 27}, EDGE_WIDTH[2] = {5, 28}, EDGE_COLOUR[2] = {5, 29},
              EDGE_VISIBILITY[2] = {5, 30}, LINE_CAP[2] = {5, 37}, LINE_JOIN[2] = {5, 38};
constexpr int AUXILIARY_COLOUR[2] = {3, 3}, TRANSPARENCY[2] = {3, 4}, CLIP_RECTANGLE[2] = {3, 5},
              CLIP_INDICATOR[2] = {3, 6};

// CGM line types of line types 0..6.
constexpr int LINE_TYPES[7] = {1, 3, 2, 4, 5, 4, 2};

constexpr std::string_view FONT_LISTS[3][16] = {
    {"COURIER", "COURIER_BOLD", "COURIER_ITALIC", "COURIER_BOLD_ITALIC", "HELVETICA", "HELVETICA_BOLD",
     "HELVETICA_OBLIQUE", "HELVETICA_BOLD_OBLIQUE", "TIMES_ROMAN", "TIMES_BOLD", "TIMES_ITALIC",
     "TIMES_BOLD_ITALIC", "SYMBOL", "SYMBOL", "SYMBOL", "SYMBOL"},
    {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Helvetica", "Helvetica-Bold",
     "Helvetica-Oblique", "Helvetica-BoldOblique", "Times-Roman", "Times-Bold", "Times-Italic",
     "Times-BoldItalic", "Symbol", "Symbol", "Symbol", "Symbol"},
    {"Courier New", "Courier New Bold", "Courier New Italic", "Courier New Bold Italic", "Arial",
     "Arial Bold", "Arial Italic", "Arial Bold Italic", "Times New Roman", "Times New Roman Bold",
     "Times New Roman Italic", "Times New Roman Bold Italic", "Symbol", "Symbol Italic", "Symbol Bold",
     "Symbol Bold Italic"},
};

void bytes(std::string_view b)
{
    IHcPlotWriteText(HC_PLOT_SLOT, b);
}

void byte(int v)
{
    const char c = static_cast<char>(v & 255);
    bytes(std::string_view(&c, 1));
}

// The head of an element with a parameter list of n bytes, in the long form past 30 bytes.
void element(const int (&e)[2], int n)
{
    if (n <= HC_CGM_SHORT_MAX) {
        IHcCgmHeader(e[0], e[1], n);
    } else {
        IHcCgmHeader(e[0], e[1], 31);
        IHcCgmInt(n);
    }
}

// An element of one 16-bit value.
void element_int(const int (&e)[2], int v)
{
    element(e, 2);
    IHcCgmInt(v);
}

// Bytes of a string parameter of n characters (without its pad).
int string_length(int n)
{
    return n < 255 ? 1 + n : 3 + n;
}

int vdc_x(double x)
{
    return gr_trunc(x * S.sx);
}

int vdc_y(double y)
{
    return gr_trunc(y * S.sy);
}

void page_used()
{
    HcPageUsed = -1;
}

// The current or previous colour as red, green, blue after the option-6 inversion.
void split_inverted(int which, int& r, int& g, int& b)
{
    IGrColourSplit(hc_colour_value(which), r, g, b);
    IHcCgmColourInvert(r, g, b);
}

int pack(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

// A colour element when the colour differs from the remembered one.
void colour_if_changed(const int (&e)[2], int& last, int r, int g, int b)
{
    const int p = pack(r, g, b);
    if (p == last)
        return;
    last = p;
    IHcCgmColourElement(e[0], e[1], r, g, b);
}

// Option 9 (1/720 inch) in VDC units: the page width in tenths of a point spans the VDC width.
int line_width_vdc()
{
    // In 64 bits: the product of the VDC width and the line width passes 2^31 for wide lines.
    const long long w = static_cast<long long>(S.W) * HcOptions(HC_OPT_LINE_WIDTH) /
                        std::max(HcOptions(HC_OPT_PAGE_WIDTH) * 10LL, 1LL);
    return static_cast<int>(std::clamp(w, -32768LL, 32767LL));
}

int cgm_line_type()
{
    const int t = GrLineState.line_type;
    return LINE_TYPES[t >= 0 && t <= 6 ? t : 0];
}

// Op 1: the CGM page of 756 by 540 points, font list 2, and the device facts.
void op_initialise()
{
    if (!hc_initialise_begin(HC_CGM_DEVICE))
        return;
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 756;
    O(HC_OPT_PAGE_HEIGHT) = 540;
    O(HC_OPT_MARGIN_LEFT) = 0;
    O(HC_OPT_MARGIN_BOTTOM) = 0;
    O(HC_OPT_ORIENTATION) = 0;
    O(HC_OPT_CGM_FONTS) = 2;
    hc_vector_device(1, 1, 1, 1, "00000110111111100010011011100", 600, 256, HC_CGM_DEVICE);
    HcSpoolAllowed = 0;
}

// Surface units to VDC units on each axis, kept in HcDeviceBlock too.
void scale()
{
    S.sx = S.W / std::max(double(GrSurface.extent_x), 0.01);
    S.sy = S.H / std::max(double(GrSurface.extent_y), 0.01);
    HcDeviceBlock.sx = static_cast<float>(S.sx);
    HcDeviceBlock.sy = static_cast<float>(S.sy);
}

// Forgets every written attribute (-1), so that the next picture writes each one again.
void reset_attributes()
{
    S.line_colour = S.fill_colour = S.edge_colour = S.edge_type = S.edge_width = -1;
    S.text_colour = S.auxiliary_colour = S.font = S.char_height = S.alignment = -1;
    S.join = 0;
    S.cap = 0;
}

// BEGIN PICTURE, the picture descriptor, BEGIN PICTURE BODY and the text alignment.
void begin_picture()
{
    element(BEGIN_PICTURE, string_length(12));
    IHcCgmString("RUV CGM Data");
    element_int({2, 3}, 0);
    element_int({2, 5}, 0);
    element_int({2, 2}, 1);
    element_int({3, 1}, 16);
    element({2, 6}, 8);
    IHcCgmPair(0, 0);
    IHcCgmPair(S.W, S.H);
    element(BEGIN_BODY, 0);
    element(TEXT_ALIGNMENT, 12);
    IHcCgmPair(1, 5);
    bytes(std::string(8, '\0'));
    reset_attributes();
    S.alignment = 1;
    S.picture_open = true;
}

void op_line_width()
{
    element_int(LINE_WIDTH, line_width_vdc());
}

void op_line_type()
{
    element_int(LINE_TYPE, cgm_line_type());
}

void op_join()
{
    if (HcOptions(HC_OPT_LINE_JOIN) == S.join)
        return;
    S.join = HcOptions(HC_OPT_LINE_JOIN);
    element_int(LINE_JOIN, S.join + 2);
}

void op_cap()
{
    if (HcOptions(HC_OPT_LINE_CAP) == S.cap)
        return;
    S.cap = HcOptions(HC_OPT_LINE_CAP);
    element(LINE_CAP, 4);
    IHcCgmPair(S.cap + 2, 1);
}

void op_clip()
{
    const auto& A = GrDeviceArea;
    element_int(CLIP_INDICATOR, 1);
    element(CLIP_RECTANGLE, 8);
    IHcCgmPoint(A.x1, A.y1);
    IHcCgmPoint(A.x2, A.y2);
}

// Op 21: font index by face and bold/italic bits (four per face), character height 0.55 of the cell.
void op_font()
{
    const auto& T = GrTextState;
    const int face = std::clamp(T.effective_face, 1, 4);
    const int index = face * 4 + (T.style & 3) - 3;
    if (index != S.font) {
        S.font = index;
        element_int(FONT_INDEX, index);
    }
    const int h = gr_trunc(T.char_height * 0.55 * GrDeviceArea.text_height * S.sy);
    if (h != S.char_height) {
        S.char_height = h;
        element_int(CHAR_HEIGHT, h);
    }
}

void op_orientation();

// Drawing after the end of a page starts the next picture, with the line, clip and font state again.
void drawing()
{
    page_used();
    if (S.picture_open)
        return;
    begin_picture();
    op_line_width();
    op_line_type();
    op_join();
    op_cap();
    op_clip();
    op_font();
    op_orientation();
}

// Op 18: the metafile descriptor (title, version, precisions, font list, colour range), the VDC
// extent from the page at the device resolution, and the first picture.
void op_open()
{
    const auto& O = HcOptions;
    if (GrPrimitiveBlock.NVAL <= 0) {
        scale();
        return;
    }
    S.page_aspect = double(O(HC_OPT_PAGE_WIDTH)) / std::max(O(HC_OPT_PAGE_HEIGHT), 1);
    if (!hc_plot_open())
        return;
    S.picture_open = false;
    const std::string_view title =
        GrPrimitiveBlock.IX(1) != 0 ? hc_trim_right(HcTitle) : std::string_view("RUV CGM File");
    element(BEGIN_METAFILE, string_length(static_cast<int>(title.size())));
    IHcCgmString(title);
    element_int({1, 1}, 1);
    element({1, 2}, string_length(17));
    IHcCgmString("RUV CGM driver v4");
    element_int({1, 3}, 0);
    element_int({1, 4}, 16);
    element({1, 5}, 6);
    IHcCgmInt(1);
    IHcCgmPair(16, 16);
    element_int({1, 6}, 16);
    // The font list by option 28; a value outside 0..2 takes list 2.
    const int list = O(HC_OPT_CGM_FONTS) >= 0 && O(HC_OPT_CGM_FONTS) <= 2 ? O(HC_OPT_CGM_FONTS) : 2;
    int total = 0;
    for (std::string_view name : FONT_LISTS[list])
        total += string_length(static_cast<int>(name.size()));
    const bool pad = total % 2 != 0;
    IHcCgmHeader(1, 13, 31);
    IHcCgmInt(total + (pad ? 1 : 0));
    for (std::string_view name : FONT_LISTS[list])
        IHcCgmStringRaw(name);
    if (pad)
        byte(0);
    element_int({1, 7}, 8);
    element({1, 10}, 6);
    bytes(std::string_view("\0\0\0\xff\xff\xff", 6));
    // The VDC extent: the page at the device resolution, within 16 bits.
    long long w = static_cast<long long>(HcDeviceBlock.resolution_x) * O(HC_OPT_PAGE_WIDTH) / 72;
    long long h = static_cast<long long>(HcDeviceBlock.resolution_y) * O(HC_OPT_PAGE_HEIGHT) / 72;
    const long long larger = std::max(w, h);
    if (larger > 32767) {
        w = w * 32767 / larger;
        h = h * 32767 / larger;
    }
    S.W = static_cast<int>(std::max(w, 1LL));
    S.H = static_cast<int>(std::max(h, 1LL));
    begin_picture();
    scale();
}

// Op 19: END PICTURE when a picture is open, END METAFILE, and the file closed.
void op_close()
{
    if (S.picture_open)
        element(END_PICTURE, 0);
    S.picture_open = false;
    element(END_METAFILE, 0);
    IHcPlotClose(HC_PLOT_SLOT);
}

void line_colour()
{
    colour_if_changed(LINE_COLOUR, S.line_colour, S.red, S.green, S.blue);
}

void op_polyline()
{
    const auto& P = GrPolylineBuffer;
    const int n = std::clamp(GrPrimitiveBlock.NPTS, 0, GR_POLYLINE_MAX);
    // A polyline needs two points.
    if (n < 2)
        return;
    drawing();
    line_colour();
    IHcCgmHeader(POLYLINE[0], POLYLINE[1], 31);
    IHcCgmInt(4 * n);
    for (int i = 1; i <= n; ++i)
        IHcCgmPoint(P.X(i), P.Y(i));
}

// CHARACTER ORIENTATION: the up and base vectors of the text angle, scaled to the character cell.
void op_orientation()
{
    const auto& T = GrTextState;
    const double s = T.char_width * double(GrDeviceArea.text_width);
    const double t = s * 1.2 * S.sx;
    element(CHAR_ORIENTATION, 8);
    IHcCgmPair(gr_trunc(-(T.angle_sin_aspect2 * t)), gr_trunc(T.angle_cos * t));
    IHcCgmPair(gr_trunc(T.angle_cos * S.sx * s), gr_trunc(T.angle_sin_aspect * S.sx * s));
}

// A polygon of n points in the long form.
void polygon_long(int n)
{
    IHcCgmHeader(POLYGON[0], POLYGON[1], 31);
    IHcCgmInt(4 * n);
}

// A pie as one polygon: the centre, points along the arc every pi/divisions radians (more for
// larger radii, at most 8000), and the arc's end; y radii follow the page's aspect.
void pie()
{
    const auto& B = GrPrimitiveBlock;
    const int divisions = gr_trunc(B.X(2)) * 75 / std::max(GrSurface.width, 1) + 25;
    const double d = 3.1415925 / std::max(divisions, 1);
    std::vector<double> angles;
    for (double a = B.X(3); a <= B.Y(3) && angles.size() < 8000; a += d)
        angles.push_back(a);
    const double r = B.Y(2) / std::max(double(GrSurface.aspect), 1e-6) * S.page_aspect;
    polygon_long(static_cast<int>(angles.size()) + 2);
    IHcCgmPoint(B.X(1), B.Y(1));
    for (double a : angles)
        IHcCgmPoint(B.X(1) + std::cos(a) * B.X(2), B.Y(1) + std::sin(a) * r);
    IHcCgmPoint(B.X(1) + std::cos(B.Y(3)) * B.X(2), B.Y(1) + std::sin(B.Y(3)) * r);
}

// Filled shapes (ops 5 to 15): only the offer call draws; the closing call (NVAL -1) writes nothing.
void op_shape(int op)
{
    const auto& B = GrPrimitiveBlock;
    if (B.NVAL == -1)
        return;
    drawing();
    const int style = B.FILL(FILL_STYLE);
    if (style < 3 && op != GrOpEllipsePattern)
        return;
    int r = S.red, g = S.green, b = S.blue;
    if (style == 3) {
        int pr = 0, pg = 0, pb = 0;
        split_inverted(GR_PREVIOUS, pr, pg, pb);
        r = (r + pr) / 2;
        g = (g + pg) / 2;
        b = (b + pb) / 2;
    }
    colour_if_changed(FILL_COLOUR, S.fill_colour, r, g, b);
    const bool outline = op == GrOpEllipsePattern && style < 3;
    if (outline) {
        element_int(EDGE_VISIBILITY, 1);
        colour_if_changed(EDGE_COLOUR, S.edge_colour, S.red, S.green, S.blue);
        if (GrLineState.line_type != S.edge_type) {
            S.edge_type = GrLineState.line_type;
            element_int(EDGE_TYPE, cgm_line_type());
        }
        if (HcOptions(HC_OPT_LINE_WIDTH) != S.edge_width) {
            S.edge_width = HcOptions(HC_OPT_LINE_WIDTH);
            element_int(EDGE_WIDTH, line_width_vdc());
        }
        element_int(INTERIOR_STYLE, 4);
    } else {
        element_int(INTERIOR_STYLE, 1);
    }
    switch (op) {
    case GrOpEllipsePattern: {
        const auto& O = HcOptions;
        const double denominator = double(O(HC_OPT_PAGE_HEIGHT)) * GrSurface.extent_x * GrArea.width;
        const double dy = denominator != 0.0 ? B.X(2) * double(B.X(3)) * O(HC_OPT_PAGE_WIDTH) *
                                                   GrSurface.extent_y * GrArea.height / denominator
                                             : 0.0;
        element(ELLIPSE, 12);
        IHcCgmPoint(B.X(1), B.Y(1));
        IHcCgmPoint(B.X(1) + B.X(2), B.Y(1));
        IHcCgmPoint(B.X(1), B.Y(1) + dy);
        if (outline)
            element_int(EDGE_VISIBILITY, 0);
        return;
    }
    case GrOpQuadPattern:
    case GrOpTrianglePattern: {
        const int n = op == GrOpQuadPattern ? 4 : 3;
        element(POLYGON, 4 * n);
        for (int i = 1; i <= n; ++i)
            IHcCgmPoint(B.X(i), B.Y(i));
        return;
    }
    case GrOpRectanglePattern: {
        const auto& A = GrDeviceArea;
        element(RECTANGLE, 8);
        IHcCgmPoint(std::max(A.x1, B.X(1)), std::max(A.y1, B.Y(1)));
        IHcCgmPoint(std::min(A.x2, B.X(2)), std::min(A.y2, B.Y(2)));
        return;
    }
    case GrOpPolygonPattern: {
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        polygon_long(n);
        for (int i = 1; i <= n; ++i)
            IHcCgmPoint(GrPolylineBuffer.X(i), GrPolylineBuffer.Y(i));
        return;
    }
    case GrOpPiePattern: pie(); return;
    default: return;
    }
}

// Op 22: TEXT in text mode 1, RESTRICTED TEXT in a box of the text's width otherwise, with the
// opaque background and the alignment written when they change.
void op_text()
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    drawing();
    // The text word set (while the core sends glyph polygons) forbids the opaque box, as on the printer.
    const bool opaque = (T.style & 8) != 0 && T.text_mode != 1 && B.FILL(FILL_TEXT_WORD) == 0;
    if (opaque) {
        element_int(TRANSPARENCY, 0);
        int r = 0, g = 0, b = 0;
        split_inverted(GR_PREVIOUS, r, g, b);
        colour_if_changed(AUXILIARY_COLOUR, S.auxiliary_colour, r, g, b);
    }
    colour_if_changed(TEXT_COLOUR, S.text_colour, S.red, S.green, S.blue);
    const int alignment = T.text_mode == 1 ? 1 : std::clamp(T.justification, 0, 2) + 1;
    if (alignment != S.alignment) {
        S.alignment = alignment;
        element(TEXT_ALIGNMENT, 12);
        IHcCgmPair(alignment, 5);
        bytes(std::string(8, '\0'));
    }
    double x = 0, y = 0;
    hc_text_anchor(0.38, true, x, y);
    const std::string_view text = hc_text();
    const int n = static_cast<int>(text.size());
    if (T.text_mode == 1) {
        element(TEXT, 6 + string_length(n));
    } else {
        element(RESTRICTED_TEXT, 10 + string_length(n));
        IHcCgmPair(gr_trunc((B.X(3) - B.X(1)) * S.sx), gr_trunc(S.char_height * 1.25));
    }
    IHcCgmPair(vdc_x(x), vdc_y(y));
    IHcCgmInt(1);
    IHcCgmString(text);
    if (opaque)
        element_int(TRANSPARENCY, 1);
}

// Writes n bytes of the buffer straight to the plot file's handle; false after a short write, with
// NVAL 2 and NPTS the system's code.
bool write_direct(const std::vector<unsigned char>& buffer, int n)
{
    int handle = -1, count = 0;
    IHcPlotHandle(HC_PLOT_SLOT, handle);
    IOsBinWrite(handle, buffer.data(), n, count);
    if (count == n)
        return true;
    GrPrimitiveBlock.NVAL = 2;
    GrPrimitiveBlock.NPTS = ERROR_STATE.last_file_error;
    return false;
}

// A 16-bit word at a byte offset, most significant byte first.
void put16(std::vector<unsigned char>& b, std::size_t at, int v)
{
    b[at] = static_cast<unsigned char>(v >> 8 & 255);
    b[at + 1] = static_cast<unsigned char>(v & 255);
}

// Op 38: the image file loaded and written as one run-length CELL ARRAY over the clip rectangle, long
// rows split into partitions; the status in NVAL and the second error word in NPTS.
void op_image()
{
    auto& B = GrPrimitiveBlock;
    auto& E = ERROR_STATE;
    drawing();
    const int width = B.IX(2), height = B.IY(2);
    const long long pixels = static_cast<long long>(width) * height;
    if (width <= 0 || height <= 0 || pixels > IMG_MAX_PIXELS) {
        B.NVAL = 27;
        return;
    }
    std::vector<std::uint32_t> image(static_cast<std::size_t>(pixels));
    const int kept_error = E.last_error, kept_mode = E.error_mode;
    E.last_error = 0;
    E.error_mode = 0;
    // A file that cannot be opened is error 1 (the loader would take it for an unknown type).
    const std::string_view file = hc_trim_right(std::string_view(B.TEXT.data(), B.TEXT.size()));
    int handle = -1;
    IOsBinOpen(file, 0, handle);
    if (handle != -1) {
        IOsBinClose(handle);
        IImgLoadPixels(file, image);
    }
    E.error_mode = kept_mode;
    if (E.last_error != 0) {
        B.NVAL = E.last_error;
        B.NPTS = E.last_file_error;
        return;
    }
    E.last_error = kept_error;
    B.NVAL = 0;
    const auto& A = GrDeviceArea;
    IHcCgmHeader(CELL_ARRAY[0], CELL_ARRAY[1], 31);
    IHcCgmInt(0x8014);
    IHcCgmPoint(A.x1, A.y2);
    IHcCgmPoint(A.x2, A.y1);
    IHcCgmPoint(A.x2, A.y2);
    IHcCgmPair(width, height);
    IHcCgmPair(8, 0);
    // Each row is a run list: a 16-bit count and the red, green and blue bytes of each run, padded to
    // an even length. A row longer than one partition goes out in several, split between runs.
    constexpr int RUNS_PER_PARTITION = 6552;  // 32760 bytes
    std::vector<unsigned char> row(5 * static_cast<std::size_t>(width) + 3);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* p = image.data() + static_cast<std::size_t>(y) * width;
        std::vector<std::pair<int, std::uint32_t>> runs;
        for (int x = 0; x < width; ++x) {
            if (!runs.empty() && runs.back().second == p[x] && runs.back().first < 32767)
                ++runs.back().first;
            else
                runs.emplace_back(1, p[x]);
        }
        for (std::size_t first = 0; first < runs.size(); first += RUNS_PER_PARTITION) {
            const std::size_t last = std::min(runs.size(), first + RUNS_PER_PARTITION);
            std::size_t at = 2;
            for (std::size_t k = first; k < last; ++k) {
                put16(row, at, runs[k].first);
                row[at + 2] = static_cast<unsigned char>(runs[k].second & 255);
                row[at + 3] = static_cast<unsigned char>(runs[k].second >> 8 & 255);
                row[at + 4] = static_cast<unsigned char>(runs[k].second >> 16 & 255);
                at += 5;
            }
            int n = static_cast<int>(at - 2);
            if (n % 2 != 0) {
                row[at++] = 0;
                ++n;
            }
            const bool final_partition = y == height - 1 && last == runs.size();
            put16(row, 0, n + (final_partition ? 0 : 0x8000));
            if (!write_direct(row, static_cast<int>(at)))
                return;
        }
    }
}

}  // namespace

void IHcCgmHeader(int element_class, int id, int length)
{
    const int word = (element_class & 15) << 12 | (id & 127) << 5 | (length & 31);
    IHcCgmInt(word);
}

// A 16-bit two's complement word, most significant byte first.
void IHcCgmInt(int value)
{
    const int v = value < 0 ? value + 65536 : value;
    const char b[2] = {static_cast<char>(v >> 8 & 255), static_cast<char>(v & 255)};
    bytes(std::string_view(b, 2));
}

void IHcCgmPair(int a, int b)
{
    IHcCgmInt(a);
    IHcCgmInt(b);
}

void IHcCgmPoint(double x, double y)
{
    IHcCgmPair(vdc_x(x), vdc_y(y));
}

void IHcCgmColourElement(int element_class, int id, int red, int green, int blue)
{
    IHcCgmHeader(element_class, id, 4);
    byte(red);
    byte(green);
    byte(blue);
    byte(0);
}

// A string padded to an even byte count.
void IHcCgmString(std::string_view text)
{
    IHcCgmStringRaw(text);
    if (text.size() % 2 == 0)
        byte(0);
}

void IHcCgmStringRaw(std::string_view text)
{
    if (text.size() < 255) {
        byte(static_cast<int>(text.size()));
    } else {
        // The long string form: 255, then the length in a 16-bit word.
        byte(255);
        IHcCgmInt(static_cast<int>(std::min<std::size_t>(text.size(), HC_CGM_PARTITION_MAX)));
    }
    bytes(text);
}

void IHcCgmColourInvert(int& red, int& green, int& blue)
{
    hc_colour_invert(red, green, blue);
}

void IHcCgmDriver(int op)
{
    const auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose: op_close(); return;
    case GrOpHardcopyPage:
        HcPageUsed = 0;
        if (S.picture_open)
            element(END_PICTURE, 0);
        S.picture_open = false;
        return;
    case GrOpColour:
    case GrOpLoadPalette:
        split_inverted(GR_CURRENT, S.red, S.green, S.blue);
        S.packed = pack(S.red, S.green, S.blue);
        return;
    case GrOpLine:
    case GrOpPoint:
        drawing();
        line_colour();
        element(POLYLINE, 8);
        IHcCgmPoint(B.X(1), B.Y(1));
        if (op == GrOpLine)
            IHcCgmPoint(B.X(2), B.Y(2));
        else
            IHcCgmPoint(B.X(1), B.Y(1));
        return;
    case GrOpPolyline: op_polyline(); return;
    case GrOpLineType:
        if (S.picture_open)
            op_line_type();
        return;
    case GrOpLineWidth:
        if (S.picture_open)
            op_line_width();
        return;
    case GrOpLineJoin:
        if (S.picture_open)
            op_join();
        return;
    case GrOpLineCap:
        if (S.picture_open)
            op_cap();
        return;
    case GrOpClip:
        if (S.picture_open)
            op_clip();
        return;
    case GrOpFont:
        if (S.picture_open)
            op_font();
        return;
    case GrOpTextAngle:
        if (S.picture_open)
            op_orientation();
        return;
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_shape(op); return;
    case GrOpText: op_text(); return;
    case GrOpImageFile: op_image(); return;
    default: return;
    }
}
