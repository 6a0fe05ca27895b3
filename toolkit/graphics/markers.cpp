// Markers, circles and triangles: the 20 marker symbols that the displays draw at user-unit points, and
// the filled triangle that the filled markers use.
#include "toolkit/graphics/fill_shapes.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/fill_passes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/line_clip.h"

#include <algorithm>
#include <cmath>

namespace {

// The crossings of a scan line with the triangle's edges: the smallest and largest. An edge parallel
// to the line gives no crossing; a line through a vertex takes the vertex once from each edge.
bool triangle_span(const float* ps, const float* po, double s, double& lo, double& hi)
{
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const double a = ps[i], b = ps[j];
        if (a == b || s < std::min(a, b) || s > std::max(a, b))
            continue;
        // The edge is not parallel (a != b): a sentinel result means a crossing beyond the integer
        // range, far outside the area, which still bounds the span on its side.
        double c = IGrEdgeXAtY(po[i], ps[i], po[j], ps[j], float(s));
        if (c == GR_EDGE_PARALLEL)
            c = (s - a) * (double(po[j]) - po[i]) / (b - a) + po[i];
        lo = any ? std::min(lo, c) : c;
        hi = any ? std::max(hi, c) : c;
        any = true;
    }
    return any;
}

// One pass of the triangle's line fill (outline, hatch lines between the edge crossings).
void triangle_pass(int pass, int mode, int direction, const float* X, const float* Y)
{
    auto& B = GrPrimitiveBlock;
    const int style = B.FILL(FILL_STYLE);
    if (B.FILL(FILL_OUTLINE) == 1 && style < 3)
        for (int i = 0; i < 3; ++i)
            IGrLineDevice(X[i], Y[i], X[(i + 1) % 3], Y[(i + 1) % 3]);
    if (mode != 1 && mode != 2)
        return;
    const GrHatchSpacing h = IGrHatchSpacing(pass, B.FILL(FILL_DENSITY));
    // The diagonal directions 1 and 2 are drawn as horizontal lines in a triangle.
    if (direction != 4 || mode == 2) {
        const double q = gr_floor_to(gr_trunc(Y[0]), h.y_step);
        const auto& D = GrDeviceArea;
        gr_scan_two_colour(pass, 0.5f * h.y_spacing, [&](float offset) {
            bool reverse = false;
            const double y0 = gr_skip_to(q + h.y_spacing + offset, h.y_spacing, D.y1 - h.y_spacing);
            for (double y = y0; y <= Y[2] && y <= D.y2 + h.y_spacing; y += h.y_spacing) {
                double lo = 0, hi = 0;
                if (y < Y[0] || !triangle_span(Y, X, y, lo, hi))
                    continue;
                if (reverse)
                    IGrLineDevice(float(hi), float(y), float(lo), float(y));
                else
                    IGrLineDevice(float(lo), float(y), float(hi), float(y));
                reverse = h.alternate && !reverse;
            }
        });
    }
    if (direction == 4 || mode == 2) {
        const float xmin = std::min({X[0], X[1], X[2]}), xmax = std::max({X[0], X[1], X[2]});
        const double q = gr_floor_to(gr_trunc(xmin), h.x_step);
        const auto& D = GrDeviceArea;
        bool reverse = false;
        const double x0 = gr_skip_to(q + h.x_spacing, h.x_spacing, D.x1 - h.x_spacing);
        for (double x = x0; x <= xmax && x <= D.x2 + h.x_spacing; x += h.x_spacing) {
            double lo = 0, hi = 0;
            if (x < xmin || !triangle_span(X, Y, x, lo, hi))
                continue;
            if (reverse)
                IGrLineDevice(float(x), float(hi), float(x), float(lo));
            else
                IGrLineDevice(float(x), float(lo), float(x), float(hi));
            reverse = h.alternate && !reverse;
        }
    }
}

}  // namespace

void IGrTriangleDraw(float x1, float y1, float x2, float y2, float x3, float y3)
{
    if ((x1 == x2 && x2 == x3) || (y1 == y2 && y2 == y3)) {
        IErrorReport(GR_ERR_ZERO_SIZE);
        return;
    }
    float X[3], Y[3];
    IGrUserToDevice(x1, y1, X[0], Y[0]);
    IGrUserToDevice(x2, y2, X[1], Y[1]);
    IGrUserToDevice(x3, y3, X[2], Y[2]);
    // Ordered by rising y.
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2 - i; ++j)
            if (Y[j] > Y[j + 1]) {
                IGrSwapReal(X[j], X[j + 1]);
                IGrSwapReal(Y[j], Y[j + 1]);
            }
    auto& B = GrPrimitiveBlock;
    for (int i = 1; i <= 3; ++i) {
        B.X(i) = X[i - 1];
        B.Y(i) = Y[i - 1];
        B.IX(i) = gr_trunc(X[i - 1]);
        B.IY(i) = gr_trunc(Y[i - 1]);
    }
    const auto& D = GrDeviceArea;
    const float xmin = std::min({X[0], X[1], X[2]}), xmax = std::max({X[0], X[1], X[2]});
    if (xmax < D.x1 || xmin > D.x2 || Y[2] < D.y1 || Y[0] > D.y2)
        return;
    const int style = B.FILL(FILL_STYLE);
    int mode = style;
    int direction = B.FILL(FILL_ANGLE);
    if (style >= 3) {
        int op = style == 3 ? GrOpTrianglePattern : GrOpTriangleSolid;
        if (style == 3)
            IGrFillOpChoose(GrOpTriangleSolid, op);
        if (GrScreenOpFlags.draws(op))
            IGrScreenDriver(op);
        else
            B.FILL(FILL_SCREEN_PASS) = 2;
        if (B.FILL(FILL_SCREEN_PASS) == 0 && GrOutputSwitch.hardcopy == 0)
            return;
        mode = 1;
        direction = 3;
    }
    const bool hardcopy = GrOutputSwitch.hardcopy != 0;
    gr_shape_open(GrOpTrianglePattern);
    gr_fill_passes([&](int pass) { triangle_pass(pass, mode, direction, X, Y); });
    if (hardcopy)
        gr_shape_close(GrOpTrianglePattern);
}

void gr_marker(float x, float y, int n)
{
    if (n < 1 || n > 20)
        n = 1;
    const auto& T = GrTextState;
    const auto& D = GrDeviceArea;
    const auto& U = GrUnits;
    // Half-width and half-height from the graphics character size (0.338 as a 4-byte real).
    const double char_w = double(T.char_width) * D.width;
    const double char_h = double(T.char_height) * D.height;
    const double fx = 0.375, fy = double(0.338f);
    if (n <= 12) {
        float cx = 0, cy = 0;
        IGrUserToDevice(x, y, cx, cy);
        const float hx = float(char_w * fx), hy = float(char_h * fy);
        const float l = cx - hx, r = cx + hx, b = cy - hy, t = cy + hy;
        if (t < D.y1 || b > D.y2 || r < D.x1 || l > D.x2)
            return;
        const float a = cx + hx / 2, a2 = cx - hx / 2, c = cy - hy / 2, d = cy + hy / 2, b4 = cx - hx / 4;
        if (n == 1 || n == 6 || n == 7 || n == 8) {
            IGrLineDevice(l, cy, r, cy);
            IGrLineDevice(cx, b, cx, t);
        }
        if (n == 2 || n == 9) {
            IGrLineDevice(l, b, r, t);
            IGrLineDevice(l, t, r, b);
        }
        if (n == 3 || n == 6 || n == 9)
            IGrRectangleOutline(l, b, r, t);
        if (n == 4 || n == 7 || n == 10) {
            IGrLineDevice(l, b, cx, t);
            IGrLineDevice(cx, t, r, b);
            IGrLineDevice(r, b, l, b);
        }
        if (n == 5 || n == 8 || n == 10) {
            IGrLineDevice(l, t, cx, b);
            IGrLineDevice(cx, b, r, t);
            IGrLineDevice(r, t, l, t);
        }
        if (n == 11) {
            IGrLineDevice(l, b, a, b);
            IGrLineDevice(a, b, r, c);
            IGrLineDevice(l, b, b4, t);
            IGrLineDevice(a, b, b4, t);
            IGrLineDevice(r, c, b4, t);
        }
        if (n == 12) {
            IGrRectangleOutline(l, b, a, d);
            IGrLineDevice(l, d, a2, t);
            IGrLineDevice(a, d, r, t);
            IGrLineDevice(a, b, r, c);
            IGrLineDevice(a2, t, r, t);
            IGrLineDevice(r, c, r, t);
        }
        return;
    }
    // Filled markers: the box in user units, drawn only when it lies wholly inside the unit window.
    const float hx = float(char_w / U.sx * fx), hy = float(char_h / U.sy * fy);
    const float l = x - hx, r = x + hx, b = y - hy, t = y + hy;
    if (l < U.x1 || r > U.x2 || b < U.y1 || t > U.y2)
        return;
    auto& B = GrPrimitiveBlock;
    const int style = B.FILL(FILL_STYLE);
    B.FILL(FILL_STYLE) = 4;
    switch (n) {
    case 13: gr_rectangle(l, b, r, t); break;
    case 14: IGrCircleDraw(x, y, hx); break;
    case 15: IGrTriangleDraw(l, b, r, b, x, t); break;
    case 16: IGrTriangleDraw(l, t, r, t, x, b); break;
    case 17: IGrTriangleDraw(l, b, l, t, r, y); break;
    case 18: IGrTriangleDraw(r, b, r, t, l, y); break;
    case 19:
        IGrTriangleDraw(l, b, r, b, x, y);
        IGrTriangleDraw(l, t, r, t, x, y);
        break;
    default:
        IGrTriangleDraw(l, b, l, t, x, y);
        IGrTriangleDraw(r, b, r, t, x, y);
        break;
    }
    B.FILL(FILL_STYLE) = style;
}

void IGrMarkerAtCurrentPoint(int n)
{
    gr_marker(GrCurrentPoint.x, GrCurrentPoint.y, n);
}
