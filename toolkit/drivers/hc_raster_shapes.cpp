// The rasteriser's filled shapes (rectangle, triangle, quadrilateral; span mode for ellipse, pie and
// polygon) and images from files.
#include "toolkit/drivers/hc_raster_shapes.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/drivers/hc_raster.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_load.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string_view>
#include <vector>

namespace {

int to_pixel(double scale, float v)
{
    const double p = scale * v;
    if (!(p > -2.0e9 && p < 2.0e9))
        return p > 0.0 ? 2000000000 : -2000000000;
    return static_cast<int>(p);
}

int px(float x)
{
    return to_pixel(HcDeviceBlock.sx, x);
}

int py(float y)
{
    return to_pixel(HcDeviceBlock.sy, y);
}

// Rows from the top row down to the bottom row, each spanning the two ends that ends(y) gives,
// ordered and clamped to the clip rectangle.
template <typename Ends>
void fill_rows(int top, int bottom, Ends ends)
{
    const auto& P = HcRasterPage;
    for (int y = std::min(top, P.clip_ymax); y >= std::max(bottom, P.clip_ymin); --y) {
        int a = 0, b = 0;
        ends(y, a, b);
        IHcRasterFillSpan(std::max(std::min(a, b), P.clip_xmin), std::min(std::max(a, b), P.clip_xmax), y);
    }
}

// Op 9: the box's rows. The graphics core offers the rectangle unclipped, so rows and columns are
// kept inside the clip rectangle here.
void rectangle()
{
    const auto& B = GrPrimitiveBlock;
    const int x1 = px(B.X(1)), x2 = px(B.X(2));
    const int y1 = py(B.Y(1)), y2 = py(B.Y(2));
    fill_rows(std::max(y1, y2), std::min(y1, y2), [&](int, int& a, int& b) {
        a = x1;
        b = x2;
    });
}

// Op 11: corner 1 lowest, corner 3 highest (the core orders them; they are ordered here again).
void triangle()
{
    const auto& B = GrPrimitiveBlock;
    int x[3], y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = px(B.X(i + 1));
        y[i] = py(B.Y(i + 1));
    }
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2 - i; ++j)
            if (y[j] > y[j + 1]) {
                std::swap(x[j], x[j + 1]);
                std::swap(y[j], y[j + 1]);
            }
    auto slope = [&](int a, int b) { return y[a] != y[b] ? double(x[a] - x[b]) / (y[a] - y[b]) : 0.0; };
    const double m12 = slope(0, 1), m23 = slope(1, 2), m13 = slope(0, 2);
    auto at = [](double v) { return static_cast<int>(std::trunc(v)); };
    fill_rows(y[2], y[0], [&](int row, int& a, int& b) {
        if (row < y[1]) {
            a = at((row - y[1]) * m12 + x[1]);
            b = at((row - y[2]) * m13 + x[2]);
        } else if (row > y[1]) {
            a = at((row - y[2]) * m13 + x[2]);
            b = at((row - y[2]) * m23 + x[2]);
        } else {
            a = x[1];
            b = y[0] == y[1] ? x[0] : y[2] == y[1] ? x[2] : at((y[1] - y[2]) * m13 + x[2]);
        }
    });
}

// Op 7: corners lower left, lower right, upper right, upper left; NVAL 1 selects vertical left and
// right sides, else the lower and upper sides are horizontal.
void quadrilateral()
{
    const auto& B = GrPrimitiveBlock;
    const auto& P = HcRasterPage;
    int x[5], y[5];
    for (int i = 1; i <= 4; ++i) {
        x[i] = px(B.X(i));
        y[i] = py(B.Y(i));
    }
    const int top = std::min(P.clip_ymax, std::max(y[3], y[4]));
    const int bottom = std::max(P.clip_ymin, std::min(y[1], y[2]));
    if (top == bottom) {
        IHcRasterFillSpan(std::max(P.clip_xmin, std::min(x[1], x[4])),
                          std::min(P.clip_xmax, std::max(x[2], x[3])), top);
        return;
    }
    const bool vertical_sides = B.NVAL == 1;
    for (int row = top; row >= bottom; --row) {
        if (!vertical_sides) {
            IHcRasterFillSpan(std::max(P.clip_xmin, IHcRasterEdgeX(x[1], y[1], x[4], y[4], row)),
                              std::min(P.clip_xmax, IHcRasterEdgeX(x[2], y[2], x[3], y[3], row)), row);
            continue;
        }
        const int L = std::max(P.clip_xmin, x[1]), R = std::min(P.clip_xmax, x[2]);
        auto within = [](int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); };
        const bool in_left = within(row, y[1], y[4]), in_right = within(row, y[2], y[3]);
        int left = L, right = R;
        if (!(in_left && in_right)) {
            const int a = IHcRasterEdgeX(x[1], y[1], x[2], y[2], row);
            const int b = IHcRasterEdgeX(x[4], y[4], x[3], y[3], row);
            const bool a_counts = a >= L && a <= R, b_counts = b >= L && b <= R;
            if (a_counts && b_counts) {
                if (!in_left)
                    left = std::min(a, b);
                if (!in_right)
                    right = std::max(a, b);
            } else if (b_counts) {
                if (y[4] < y[3]) {
                    if (!in_left)
                        left = b;
                } else if (!in_right) {
                    right = b;
                }
            } else if (a_counts) {
                if (y[2] < y[1]) {
                    if (!in_left)
                        left = a;
                } else if (!in_right) {
                    right = a;
                }
            }
        }
        IHcRasterFillSpan(left, right, row);
    }
}

}  // namespace

void hc_raster_shape(int op)
{
    auto& B = GrPrimitiveBlock;
    auto& P = HcRasterPage;
    const bool row_shape = op == GrOpEllipsePattern || op == GrOpPiePattern || op == GrOpPolygonPattern;
    if (B.NVAL == -1) {
        // The closing call ends the shape's rows: later lines are lines again.
        if (row_shape)
            B.span_mode = 0;
        return;
    }
    HcPageUsed = -1;
    const int style = B.FILL(FILL_STYLE);
    if (style < 3) {
        if (op == GrOpEllipsePattern)
            B.NVAL = -1;
        return;
    }
    const auto& C = GrColourState;
    const bool two_colours = C.model == 1 ? C.number[GR_CURRENT] != C.number[GR_PREVIOUS]
                                          : C.rgb[GR_CURRENT] != C.rgb[GR_PREVIOUS];
    P.checker = style == 3 && two_colours;
    // On a 1-bit page a set bit is ink, while a mask's set bits are the colour's light share: the
    // masks are turned over, so that a dark fill prints dark as a dark line does (inversion, option 6,
    // turns the masks over already).
    const bool ink = HcOptions(HC_OPT_INVERSION) == 0;
    const std::uint32_t current = ink ? ~P.red : P.red;
    const std::uint32_t previous = ink ? ~P.red_previous : P.red_previous;
    if (B.pattern_select == 0) {
        P.pattern = current;
    } else {
        const int number = C.model == 1 ? C.number[GR_CURRENT] : IGrColourNearest(C.rgb[GR_CURRENT]);
        P.pattern = number != 0 ? 0xFFFFFFFFu : 0u;
        if (HcOptions(HC_OPT_INVERSION) != 0)
            P.pattern = ~P.pattern;
    }
    P.alternate = P.checker ? previous : P.pattern;
    switch (op) {
    case GrOpEllipsePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern:
        // The core sends the shape's rows as op 2 with its hardcopy pass, one page row apart (a little
        // less, so that rounding never skips a row; a row met twice is filled twice alike).
        B.span_mode = 1;
        B.FILL(FILL_HARD_PASS) = 2;
        HcDeviceBlock.line_spacing = static_cast<float>(0.999 * GrSurface.extent_y / std::max(P.height, 1));
        return;
    case GrOpRectanglePattern: rectangle(); return;
    case GrOpTrianglePattern: triangle(); return;
    case GrOpQuadPattern: quadrilateral(); return;
    default: return;
    }
}

void hc_raster_image()
{
    auto& B = GrPrimitiveBlock;
    auto& P = HcRasterPage;
    HcPageUsed = -1;
    const std::int64_t w = B.IX(2), h = B.IY(2);
    // Sizes from the caller are checked before anything is allocated.
    if (w < 1 || h < 1 || w * h > IMG_MAX_PIXELS) {
        B.NVAL = IMG_ERR_FORMAT;
        B.NPTS = 0;
        return;
    }
    std::vector<std::uint32_t> pixels;
    try {
        pixels.assign(static_cast<std::size_t>(w * h), 0u);
    } catch (const std::bad_alloc&) {
        B.NVAL = IMG_ERR_FORMAT;
        B.NPTS = 0;
        return;
    }
    const ErrorState kept = ERROR_STATE;
    ERROR_STATE.last_error = 0;
    ERROR_STATE.last_file_error = 0;
    ERROR_STATE.error_mode = 0;
    std::string_view name(B.TEXT.data(), 255);
    const std::size_t first = name.find_first_not_of(' ');
    name = first == std::string_view::npos ? std::string_view() : name.substr(first);
    name = name.substr(0, name.find_last_not_of(' ') + 1);
    IImgLoadPixels(name, pixels);
    const int error = ERROR_STATE.last_error, file_error = ERROR_STATE.last_file_error;
    ERROR_STATE = kept;
    if (error != 0) {
        B.NVAL = error;
        B.NPTS = file_error;
        return;
    }
    B.NVAL = 0;
    const int left = P.clip_xmin, right = P.clip_xmax, bottom = P.clip_ymin, top = P.clip_ymax;
    const std::int64_t columns = right - left + 1, rows = top - bottom + 1;
    if (columns < 1 || rows < 1)
        return;
    std::uint32_t last = P.value;
    for (int y = bottom; y <= top; ++y) {
        const std::int64_t sy = ((top - y) * h) / rows;
        for (int x = left; x <= right; ++x) {
            const std::int64_t sx = ((x - left) * w) / columns;
            const std::uint32_t rgb = pixels[static_cast<std::size_t>(sy * w + sx)];
            const int R = rgb & 255, G = rgb >> 8 & 255, Bl = rgb >> 16 & 255;
            auto dithered = [&](int r, int g, int b) {
                const std::size_t i = static_cast<std::size_t>((b / 32) * 64 + (g / 32) * 8 + r / 32);
                const int bit = (y % 4) * 8 + x % 8;
                std::uint32_t v = (P.table_red[i] >> bit & 1u) | (P.table_green[i] >> bit & 1u) << 1 |
                                  (P.table_blue[i] >> bit & 1u) << 2;
                if (HcOptions(HC_OPT_INVERSION) != 0 && (v == 0 || v == 7))
                    v = 7 - v;
                if (P.colour_model == 2)
                    v = 7 - v;
                return v;
            };
            std::uint32_t v = 0;
            switch (P.bits_per_pixel) {
            case 24: v = rgb; break;
            case 8:
            case 4:
                if (rgb == 0xFFFFFFFFu) {
                    v = last;
                } else {
                    const int n = IGrColourNearest(static_cast<int>(rgb));
                    v = P.bits_per_pixel == 8 ? static_cast<std::uint32_t>(n)
                                              : static_cast<std::uint32_t>(
                                                    HC_RASTER_GROUP_VALUES[static_cast<std::size_t>(n / 16)]);
                }
                break;
            case 3: v = dithered(R, G, Bl); break;
            case 1: {
                int r = R, g = G, b = Bl;
                std::uint32_t d = dithered(r, g, b);
                if (HcOptions(HC_OPT_INVERSION) != 0 && (d == 0 || d == 7)) {
                    d = 7 - d;
                    r = 255 - r;
                    g = 255 - g;
                    b = 255 - b;
                }
                const int index = static_cast<int>(d) + (r > 191 || g > 191 || b > 191 ? 8 : 0);
                v = HC_RASTER_IMAGE_PATTERNS[static_cast<std::size_t>(index)] >> (3 * (y % 4) + x % 8) & 1u;
                break;
            }
            default: v = P.value; break;
            }
            last = v;
            IHcRasterSetPixel(v, x, y);
        }
    }
}
