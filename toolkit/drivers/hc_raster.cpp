// The software rasteriser: page store, colours, lines, spans, points and the driver routine.
#include "toolkit/drivers/hc_raster.h"

#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_raster_shapes.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <cmath>
#include <new>

HcRasterPageRecord HcRasterPage;

const std::array<int, 7> HC_RASTER_LINE_PATTERNS = {0xFFF, 0x104, 0xE07, 0x1E1, 0x3C9, 0xCE7, 0x8E3};
const std::array<int, 16> HC_RASTER_GROUP_VALUES = {0, 9, 1, 11, 3, 10, 2, 14, 6, 12, 4, 13, 5, 15, 7, 8};
const std::array<std::uint32_t, 16> HC_RASTER_IMAGE_PATTERNS = {
    0xFFFFFFFFu, 0xBFBFF7F7u, 0x73CE7CC7u, 0xC6EC3373u, 0xE7EF7E7Fu, 0x7377EE67u, 0x676EE676u, 0x311148C8u,
    0xEDED7777u, 0xECEC3776u, 0x6643CCC8u, 0x64641313u, 0x3C669999u, 0xC663366Cu, 0x32668CCCu, 0x00000000u};

namespace {

constexpr int LINE_PATTERN_BITS = 12;

// Truncation toward zero with reals beyond +-2E9 (and NaN) clamped first, so that no conversion overflows.
int trunc_to_int(double v)
{
    if (!(v > -2.0e9 && v < 2.0e9))
        return v > 0.0 ? 2000000000 : -2000000000;
    return static_cast<int>(v);
}

int pixel_x(float x)
{
    return trunc_to_int(double(HcDeviceBlock.sx) * x);
}

int pixel_y(float y)
{
    return trunc_to_int(double(HcDeviceBlock.sy) * y);
}

// Nearest whole number, halves away from zero.
int nearest(double v)
{
    return trunc_to_int(v < 0.0 ? v - 0.5 : v + 0.5);
}

// The colour number of the current colour (in RGB mode the nearest numbered colour).
int current_colour_number()
{
    const auto& C = GrColourState;
    if (C.model == 2)
        return IGrColourNearest(C.rgb[GR_CURRENT]);
    return std::clamp(C.number[GR_CURRENT], 0, 255);
}

// Ops 3 and 35: the current colour becomes the previous one; the new masks and pixel value by depth.
void op_colour()
{
    auto& P = HcRasterPage;
    const auto& C = GrColourState;
    P.previous_value = P.value;
    P.red_previous = P.red;
    P.green_previous = P.green;
    P.blue_previous = P.blue;
    IHcDitherColour(P.colour_model, P.red, P.green, P.blue);
    int r = 0, g = 0, b = 0;
    IGrColourSplit(C.model == 1 ? C.number[GR_CURRENT] : C.rgb[GR_CURRENT], r, g, b);
    switch (P.bits_per_pixel) {
    case 1: {
        // In RGB mode white stands for colour number 0 and black for 223.
        const bool white = C.model == 2 ? C.rgb[GR_CURRENT] == 0xFFFFFF : C.number[GR_CURRENT] == 0;
        const bool black = C.model == 2 ? C.rgb[GR_CURRENT] == 0 : C.number[GR_CURRENT] == 223;
        P.value = (HcOptions(HC_OPT_INVERSION) != 0 ? black : white) ? 0u : 1u;
        return;
    }
    case 3: {
        std::uint32_t v = static_cast<std::uint32_t>(r / 128 + 2 * (g / 128) + 4 * (b / 128));
        if (HcOptions(HC_OPT_INVERSION) == 2 && (v == 0 || v == 7))
            v = 7 - v;
        if (P.colour_model == 2)
            v = 7 - v;
        P.value = v;
        return;
    }
    case 4:
        P.value = static_cast<std::uint32_t>(
            HC_RASTER_GROUP_VALUES[static_cast<std::size_t>(current_colour_number() / 16)]);
        return;
    case 8: P.value = static_cast<std::uint32_t>(current_colour_number()); return;
    case 24: P.value = static_cast<std::uint32_t>(r | g << 8 | b << 16); return;
    default: return;
    }
}

// Op 18: with a real open the plot file, the storage mode by depth, the dither tables and a clip of the
// whole page; every open sets the scale from surface units to pixels.
void op_open()
{
    auto& P = HcRasterPage;
    auto& D = HcDeviceBlock;
    if (GrPrimitiveBlock.NVAL > 0) {
        if (!hc_plot_open()) {
            hc_raster_free();
            return;
        }
        const int bpp = P.bits_per_pixel;
        P.storage_mode = bpp == 24 ? 4 : bpp == 8 ? 3 : (bpp == 3 || bpp == 4) ? 2 : 1;
        P.xmax = P.width - 1;
        P.ymax = P.height - 1;
        IHcDitherColour(P.colour_model, P.red, P.green, P.blue);
        IHcRasterDitherTables();
        D.colours = bpp >= 32 ? 0 : std::min(1 << bpp, 256);
        P.end_x = -1;
        P.end_y = -1;
        P.clip_xmin = 0;
        P.clip_ymin = 0;
        P.clip_xmax = P.xmax;
        P.clip_ymax = P.ymax;
    }
    hc_page_scale(P.width, P.height);
}

void op_clear()
{
    auto& P = HcRasterPage;
    if (P.allocated)
        std::fill(P.store.begin(), P.store.end(), P.background);
}

// The clip rectangle in pixels, kept inside the page: the surface's far edge (its extent) scales to
// the page's width and height, one pixel beyond the last.
void op_clip()
{
    auto& P = HcRasterPage;
    const auto& A = GrDeviceArea;
    P.clip_xmin = std::clamp(pixel_x(A.x1), 0, std::max(P.xmax, 0));
    P.clip_xmax = std::clamp(pixel_x(A.x2), 0, std::max(P.xmax, 0));
    P.clip_ymin = std::clamp(pixel_y(A.y1), 0, std::max(P.ymax, 0));
    P.clip_ymax = std::clamp(pixel_y(A.y2), 0, std::max(P.ymax, 0));
}

// Op 29: the dash pattern of the line type, its state restarted, one point of pattern per bit.
void op_line_type()
{
    auto& P = HcRasterPage;
    P.run = 1;
    P.segment = 0;
    P.line_pattern =
        HC_RASTER_LINE_PATTERNS[static_cast<std::size_t>(std::clamp(GrLineState.line_type, 0, 6))];
    P.segment_x = std::max(1, nearest(P.resolution_x / 72.0));
    P.segment_y = std::max(1, nearest(P.resolution_y / 72.0));
    P.end_x = -1;
}

// Op 30: option 9 (1/720 inch) as pass counts A (rows) and B (columns), exchanged in landscape.
void op_line_width()
{
    auto& P = HcRasterPage;
    const double w = HcOptions(HC_OPT_LINE_WIDTH);
    P.thick_a = std::max(1, trunc_to_int(w * P.resolution_y / 720.0 + 0.5));
    P.thick_b = std::max(1, trunc_to_int(w * P.resolution_x / 720.0 + 0.5));
    if (HcOptions(HC_OPT_ORIENTATION) != 0)
        std::swap(P.thick_a, P.thick_b);
}

// Op 2: one line, joined (its first pixel left out) when it starts where the last one ended.
void op_line()
{
    auto& P = HcRasterPage;
    const auto& B = GrPrimitiveBlock;
    HcPageUsed = -1;
    const int x0 = pixel_x(B.X(1)), y0 = pixel_y(B.Y(1));
    const int x1 = pixel_x(B.X(2)), y1 = pixel_y(B.Y(2));
    if (B.span_mode != 0) {
        IHcRasterFillSpan(std::min(x0, x1), std::max(x0, x1), y0);
        return;
    }
    IHcRasterLine(x0, y0, x1, y1, x0 == P.end_x && y0 == P.end_y);
    P.end_x = x1;
    P.end_y = y1;
}

void op_polyline()
{
    auto& P = HcRasterPage;
    const auto& L = GrPolylineBuffer;
    HcPageUsed = -1;
    const int n = std::clamp(GrPrimitiveBlock.NPTS, 0, GR_POLYLINE_MAX);
    if (n == 0)
        return;
    int x = pixel_x(L.X(1)), y = pixel_y(L.Y(1));
    bool join = x == P.end_x && y == P.end_y;
    for (int i = 2; i <= n; ++i) {
        const int xn = pixel_x(L.X(i)), yn = pixel_y(L.Y(i));
        IHcRasterLine(x, y, xn, yn, join);
        join = true;
        x = xn;
        y = yn;
    }
    P.end_x = x;
    P.end_y = y;
}

// Op 26: a point as a solid span of the line thickness, clipped.
void op_point()
{
    const auto& P = HcRasterPage;
    const auto& B = GrPrimitiveBlock;
    HcPageUsed = -1;
    const int x = pixel_x(B.X(1)), y = pixel_y(B.Y(1));
    const int h = (P.thick_a - 1) / 2;
    IHcRasterSolidSpan(P.value, std::max(P.clip_xmin, x - h), y,
                       std::min(P.clip_xmax, x - h + P.thick_a - 1));
}

// One Bresenham pass of a thick line: major runs from (m0) in step sm, the minor coordinate starts at
// n0 and steps by sn within [lo, hi]. x_major tells which of the two is x. The line-type state is
// taken in and given back.
void bresenham_pass(int m0, int n0, int sm, int sn, int major, int minor, bool join, bool x_major, int lo,
                    int hi, int& segment, int& run)
{
    const auto& P = HcRasterPage;
    const int length = x_major ? P.segment_x : P.segment_y;
    int e = 2 * minor - major;
    int m = m0, n = n0;
    int count = major + 1;
    if (join) {
        m += sm;
        if (e < 0) {
            e += 2 * minor;
        } else {
            n += sn;
            e += 2 * (minor - major);
        }
        count = major;
    }
    for (int i = 0; i < count; ++i) {
        if ((P.line_pattern >> segment & 1) != 0 && n >= lo && n <= hi) {
            if (x_major)
                IHcRasterSetPixel(P.value, m, n);
            else
                IHcRasterSetPixel(P.value, n, m);
        }
        if (e >= 0) {
            n = std::clamp(n + sn, lo, hi);
            e += 2 * (minor - major);
        } else {
            e += 2 * minor;
        }
        m += sm;
        if (++run > length) {
            run = 1;
            segment = (segment + 1) % LINE_PATTERN_BITS;
        }
    }
}

}  // namespace

// ---- page store

bool hc_raster_allocate(std::int64_t width, std::int64_t height, int planes, int pixels_per_word)
{
    auto& P = HcRasterPage;
    hc_raster_free();
    if (width < 1 || height < 1 || planes < 1 || pixels_per_word < 1)
        return false;
    if (width > HC_RASTER_MAX_PIXELS || height > HC_RASTER_MAX_PIXELS ||
        width * height > HC_RASTER_MAX_PIXELS)
        return false;
    const std::int64_t row = (width + pixels_per_word - 1) / pixels_per_word;
    const std::int64_t total = planes * height * row;
    try {
        P.store.assign(static_cast<std::size_t>(total + 1), P.background);
    } catch (const std::bad_alloc&) {
        hc_raster_free();
        return false;
    }
    P.allocated = true;
    P.width = static_cast<int>(width);
    P.height = static_cast<int>(height);
    P.xmax = P.width - 1;
    P.ymax = P.height - 1;
    P.planes = planes;
    P.words_per_row = row;
    P.words_per_plane = height * row;
    P.total_words = total;
    return true;
}

void hc_raster_free()
{
    auto& P = HcRasterPage;
    std::vector<std::uint32_t>().swap(P.store);
    P.allocated = false;
    P.total_words = 0;
}

std::uint32_t hc_raster_pixel(int x, int y)
{
    const auto& P = HcRasterPage;
    if (!P.allocated || x < 0 || y < 0 || x > P.xmax || y > P.ymax)
        return 0;
    const std::int64_t row = y * P.words_per_row;
    switch (P.storage_mode) {
    case 2: {
        std::uint32_t v = 0;
        for (int p = 0; p < P.planes; ++p)
            v |= (P.store[static_cast<std::size_t>(p * P.words_per_plane + row + x / 32)] >> (x % 32) & 1u)
                 << p;
        return v;
    }
    case 3: return P.store[static_cast<std::size_t>(row + x / 4)] >> (8 * (x % 4)) & 0xFFu;
    case 4: return P.store[static_cast<std::size_t>(row + x)];
    default: return P.store[static_cast<std::size_t>(row + x / 32)] >> (x % 32) & 1u;
    }
}

// ---- pixels and spans

void IHcRasterSetPixel(std::uint32_t value, int x, int y)
{
    auto& P = HcRasterPage;
    if (!P.allocated || x < 0 || y < 0 || x > P.xmax || y > P.ymax)
        return;
    const std::int64_t row = y * P.words_per_row;
    auto put_bit = [&](std::int64_t word, std::uint32_t bit) {
        std::uint32_t& w = P.store[static_cast<std::size_t>(word)];
        const std::uint32_t m = 1u << (x % 32);
        w = bit != 0 ? (w | m) : (w & ~m);
    };
    switch (P.storage_mode) {
    case 2:
        for (int p = 0; p < P.planes; ++p)
            put_bit(p * P.words_per_plane + row + x / 32, value >> p & 1u);
        return;
    case 3: {
        std::uint32_t& w = P.store[static_cast<std::size_t>(row + x / 4)];
        const int k = x % 4;
        w = (w & P.byte_mask[static_cast<std::size_t>(k)]) | (value & 0xFFu) << (8 * k);
        return;
    }
    case 4: P.store[static_cast<std::size_t>(row + x)] = value; return;
    default: put_bit(row + x / 32, value & 1u); return;
    }
}

void IHcRasterSolidSpan(std::uint32_t value, int x1, int y, int x2)
{
    const auto& P = HcRasterPage;
    if (y < 0 || y > P.ymax)
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, P.xmax);
    for (int x = x1; x <= x2; ++x)
        IHcRasterSetPixel(value, x, y);
}

void IHcRasterFillSpan(int x1, int x2, int y)
{
    const auto& P = HcRasterPage;
    if (x2 < x1 || y < 0 || y > P.ymax)
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, P.xmax);
    for (int x = x1; x <= x2; ++x) {
        const int b = (y % 4) * 8 + x % 8;
        std::uint32_t v = 0;
        if (P.bits_per_pixel == 1) {
            v = ((b % 2 == 0 ? P.pattern : P.alternate) >> b) & 1u;
        } else if (P.bits_per_pixel == 3) {
            const bool current = !P.checker || (x + y) % 2 == 0;
            const HcDitherMask r = current ? P.red : P.red_previous;
            const HcDitherMask g = current ? P.green : P.green_previous;
            const HcDitherMask bl = current ? P.blue : P.blue_previous;
            v = (r >> b & 1u) | (g >> b & 1u) << 1 | (bl >> b & 1u) << 2;
        } else {
            v = !P.checker || (x + y) % 2 == 1 ? P.value : P.previous_value;
        }
        IHcRasterSetPixel(v, x, y);
    }
}

// The x of the side (xa, ya)-(xb, yb) at row y, by integer division in 64 bits.
int IHcRasterEdgeX(int xa, int ya, int xb, int yb, int y)
{
    const std::int64_t d = std::int64_t(yb) - ya;
    if (d > 0)
        return static_cast<int>(xa + (std::int64_t(y - ya) * (xb - xa)) / d);
    if (d < 0)
        return static_cast<int>(xb + (std::int64_t(y - yb) * (xb - xa)) / d);
    return 32767;
}

// ---- lines

void IHcRasterLine(int x0, int y0, int x1, int y1, bool join)
{
    auto& P = HcRasterPage;
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    const int ha = (P.thick_a - 1) / 2, hb = (P.thick_b - 1) / 2;
    const bool solid = P.line_pattern == HC_RASTER_LINE_PATTERNS[0];
    if (solid && dy == 0) {
        int left = std::min(x0, x1), right = std::max(x0, x1);
        if (join) {
            if (x0 == x1)
                return;
            if (x0 < x1)
                ++left;
            else
                --right;
        }
        const int top = std::min(P.clip_ymax, y0 - hb + P.thick_b - 1);
        for (int y = std::max(P.clip_ymin, y0 - hb); y <= top; ++y)
            IHcRasterSolidSpan(P.value, left, y, right);
        return;
    }
    if (solid && dx == 0) {
        int bottom = std::min(y0, y1), top = std::max(y0, y1);
        if (join) {
            if (y0 < y1)
                ++bottom;
            else
                --top;
        }
        const int right = std::min(P.clip_xmax, x0 - ha + P.thick_a - 1);
        for (int x = std::max(P.clip_xmin, x0 - ha); x <= right; ++x)
            for (int y = bottom; y <= top; ++y)
                IHcRasterSetPixel(P.value, x, y);
        return;
    }
    // Parallel passes; each starts from the line-type state at the line's start, the last one's end
    // state carries on to the next line.
    int segment = P.segment, run = P.run;
    if (dx >= dy) {
        for (int k = 0; k < P.thick_a; ++k) {
            segment = P.segment;
            run = P.run;
            bresenham_pass(x0, y0 - ha + k, sx, sy, dx, dy, join, true, P.clip_ymin, P.clip_ymax, segment,
                           run);
        }
    } else {
        for (int k = 0; k < P.thick_b; ++k) {
            segment = P.segment;
            run = P.run;
            bresenham_pass(y0, x0 - hb + k, sy, sx, dy, dx, join, false, P.clip_xmin, P.clip_xmax, segment,
                           run);
        }
    }
    P.segment = segment;
    P.run = run;
}

// The three 512-entry dither tables of the 3-bit image conversion, one entry per red, green and blue
// level; where the three levels are equal (a grey) all three tables take the red mask.
void IHcRasterDitherTables()
{
    auto& P = HcRasterPage;
    auto level = [](int l) { return l == 0 ? 0 : 31 + 32 * l; };
    for (int k = 0; k < 8; ++k)
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) {
                const std::size_t at = static_cast<std::size_t>(k * 64 + j * 8 + i);
                const int r = level(i), g = level(j), b = level(k);
                P.table_red[at] = hc_dither_mask(r / 255.0, 2);
                if (std::max({r, g, b}) - std::min({r, g, b}) < 4) {
                    P.table_green[at] = P.table_red[at];
                    P.table_blue[at] = P.table_red[at];
                } else {
                    P.table_green[at] = hc_dither_mask(g / 255.0, 3);
                    P.table_blue[at] = hc_dither_mask(b / 255.0, 4);
                }
            }
}

// ---- the driver routine

void IHcRasterDriver(int op)
{
    switch (op) {
    case GrOpInitialise:
        IHcCommonDefaults();
        HcDitherTable = HcDitherTableRecord{};
        hpgl_device_info(0);
        HcRasterPage.total_words = 0;
        return;
    case GrOpLine: op_line(); return;
    case GrOpColour:
    case GrOpLoadPalette: op_colour(); return;
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: hc_raster_shape(op); return;
    case GrOpClear: op_clear(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose:
        IHcPlotClose(HC_PLOT_SLOT);
        hc_raster_free();
        return;
    case GrOpClip: op_clip(); return;
    case GrOpPoint: op_point(); return;
    case GrOpLineType: op_line_type(); return;
    case GrOpLineWidth: op_line_width(); return;
    case GrOpPolyline: op_polyline(); return;
    case GrOpImageFile: hc_raster_image(); return;
    default: return;
    }
}
