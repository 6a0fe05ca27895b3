// Polygon and ellipse output with fill emulation: the shape is offered to each device as one op; where
// a device cannot draw it, the outline and hatch lines clipped to the shape are drawn instead.
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
#include <vector>

namespace {

constexpr int MAX_ACTIVE_EDGES = 99;

// One polygon edge along the scan coordinate s (y for lines of constant y, x for constant x).
struct Edge {
    double slope;     // change of the other coordinate per unit of s
    double upper;     // larger s of the two ends
    double lower;     // smaller s
    double at_lower;  // the other coordinate at the lower end
};

// Scans the polygon (points px, py as the scan and the other coordinate) with lines of constant s
// from start to the box's upper end, and draws the spans by the even-odd rule. Returns false after
// error 49 (more active edges than the fill keeps).
bool scan_polygon(const std::vector<float>& ps, const std::vector<float>& po, double start, double spacing,
                  double upper_end, bool lines_of_constant_y)
{
    const std::size_t n = ps.size();
    std::vector<Edge> edges;
    edges.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        if (ps[i] == ps[j])
            continue;
        const bool i_low = ps[i] < ps[j];
        const std::size_t lo = i_low ? i : j, hi = i_low ? j : i;
        edges.push_back({(double(po[hi]) - po[lo]) / (double(ps[hi]) - ps[lo]), ps[hi], ps[lo], po[lo]});
    }
    // Sorted by lower end (a library sort: its depth stays bounded on any input, so the sort itself
    // never gives up on a complex outline).
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.lower < b.lower; });
    std::vector<double> cuts;
    std::size_t next = 0;
    std::vector<const Edge*> active;
    // Lines outside the clipping rectangle are skipped (they would be clipped away).
    const auto& D = GrDeviceArea;
    const double clip_lo = lines_of_constant_y ? D.y1 : D.x1;
    const double clip_hi = lines_of_constant_y ? D.y2 : D.x2;
    start = gr_skip_to(start, spacing, clip_lo - spacing);
    upper_end = std::min(upper_end, clip_hi + spacing);
    for (double s = start; s <= upper_end; s += spacing) {
        while (next < edges.size() && edges[next].lower <= s)
            active.push_back(&edges[next++]);
        active.erase(
            std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->upper < s; }),
            active.end());
        if (active.size() > MAX_ACTIVE_EDGES) {
            IErrorReport(GR_ERR_FILL_COMPLEX);
            return false;
        }
        cuts.clear();
        for (const Edge* e : active)
            cuts.push_back((s - e->lower) * e->slope + e->at_lower);
        if (cuts.size() % 2 != 0)
            continue;
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t k = 0; k + 1 < cuts.size(); k += 2) {
            if (lines_of_constant_y)
                IGrLineDevice(float(cuts[k]), float(s), float(cuts[k + 1]), float(s));
            else
                IGrLineDevice(float(s), float(cuts[k]), float(s), float(cuts[k + 1]));
        }
    }
    return true;
}

// Nearest integer, halves away from zero.
int nint(double v)
{
    return gr_trunc(v < 0.0 ? v - 0.5 : v + 0.5);
}

}  // namespace

void IGrPolygonFill(const float* x, const float* y, int n, int device)
{
    if (n < 2)
        return;
    n = std::min(n, GR_POLYLINE_MAX);
    auto& B = GrPrimitiveBlock;
    auto& PX = GrPolylineBuffer.X;
    auto& PY = GrPolylineBuffer.Y;
    for (int i = 0; i < n; ++i) {
        if (device != 0) {
            PX(i + 1) = x[i];
            PY(i + 1) = y[i];
        } else {
            IGrUserToDevice(x[i], y[i], PX(i + 1), PY(i + 1));
        }
    }
    if (n > 2 && PX(n) == PX(1) && PY(n) == PY(1))
        --n;  // a closing vertex equal to the first is dropped
    std::vector<float> vx(static_cast<std::size_t>(n)), vy(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        vx[static_cast<std::size_t>(i)] = PX(i + 1);
        vy[static_cast<std::size_t>(i)] = PY(i + 1);
    }
    const auto [xmin_it, xmax_it] = std::minmax_element(vx.begin(), vx.end());
    const auto [ymin_it, ymax_it] = std::minmax_element(vy.begin(), vy.end());
    const float bx1 = *xmin_it, bx2 = *xmax_it, by1 = *ymin_it, by2 = *ymax_it;
    const auto& D = GrDeviceArea;
    const bool meets = bx1 <= D.x2 && bx2 >= D.x1 && by1 <= D.y2 && by2 >= D.y1;
    if (meets) {
        const int style = B.FILL(FILL_STYLE);
        B.NPTS = n;
        B.IX(1) = nint(vx[0]);
        B.IY(1) = nint(vy[0]);
        B.IX(2) = nint(bx1);
        B.IY(2) = nint(by1);
        B.IX(3) = nint(bx2);
        B.IY(3) = nint(by2);
        int angle = B.FILL(FILL_ANGLE);
        bool draw = true;
        if (style >= 3) {
            int op = 12 + style;
            IGrFillOpChoose(GrOpPolygonSolid, op);
            if (!GrScreenOpFlags.draws(op))
                B.FILL(FILL_SCREEN_PASS) = 2;
            else
                IGrScreenDriver(op);
            draw = B.FILL(FILL_SCREEN_PASS) != 0 || GrOutputSwitch.hardcopy != 0;
            angle = 3;
        }
        if (draw) {
            const bool hardcopy = GrOutputSwitch.hardcopy != 0;
            gr_shape_open(GrOpPolygonPattern);
            gr_fill_passes([&](int pass) {
                if (B.FILL(FILL_OUTLINE) == 1 && style < 3)
                    for (int i = 0; i < n; ++i) {
                        const int j = (i + 1) % n;
                        IGrLineDevice(vx[static_cast<std::size_t>(i)], vy[static_cast<std::size_t>(i)],
                                      vx[static_cast<std::size_t>(j)], vy[static_cast<std::size_t>(j)]);
                    }
                if (style == 0)
                    return;
                const GrHatchSpacing h = IGrHatchSpacing(pass, B.FILL(FILL_DENSITY));
                if (by1 == by2 || bx1 == bx2) {
                    // No usable edge: the polygon is one line across its box.
                    IGrLineDevice(bx1, by1, bx2, by2);
                    return;
                }
                bool ok = true;
                auto scan_y = [&](float offset) {
                    if (!ok)
                        return;
                    const double start =
                        (pass == 1 ? nint(by1) : gr_floor_to(by1, h.y_step) + h.y_spacing) + double(offset);
                    ok = scan_polygon(vy, vx, start, h.y_spacing, by2, true);
                };
                auto scan_x = [&](float offset) {
                    if (!ok)
                        return;
                    const double start =
                        (pass == 1 ? nint(bx1) : gr_floor_to(bx1, h.x_step) + h.x_spacing) + double(offset);
                    ok = scan_polygon(vx, vy, start, h.x_spacing, bx2, false);
                };
                if (angle != 4)
                    gr_scan_two_colour(pass, 0.5f * h.y_spacing, scan_y);
                if (angle == 4 || style == 2)
                    gr_scan_two_colour(pass, 0.5f * h.x_spacing, scan_x);
            });
            if (hardcopy)
                gr_shape_close(GrOpPolygonPattern);
        }
    }
    if (device == 0)
        gr_move_to(x[0], y[0]);
}

void IGrEllipseFill(float cx, float cy, float radius, float ratio)
{
    if (radius <= 0.0f || ratio <= 0.0f) {
        IErrorReport(GR_ERR_RADIUS);
        return;
    }
    auto& B = GrPrimitiveBlock;
    const auto& U = GrUnits;
    const auto& D = GrDeviceArea;
    float dcx = 0, dcy = 0;
    IGrUserToDevice(cx, cy, dcx, dcy);
    // The y semi-axis is corrected by the aspect of the units and the surface, so that a circle is
    // round in pixels.
    const double rx = double(radius) * U.sx;
    const double ry = double(radius) * ratio * U.aspect_y_range * GrSurface.aspect / U.aspect_x_range * U.sy;
    if (dcx - rx > D.x2 || dcx + rx < D.x1 || dcy - ry > D.y2 || dcy + ry < D.y1)
        return;
    const double ylo = std::max(double(D.y1), dcy - ry), yhi = std::min(double(D.y2), dcy + ry);
    const double xlo = std::max(double(D.x1), dcx - rx), xhi = std::min(double(D.x2), dcx + rx);
    const int style = B.FILL(FILL_STYLE);
    B.IX(1) = nint(dcx);
    B.IY(1) = nint(dcy);
    B.IX(2) = nint(rx);
    B.IY(2) = nint(ry);
    B.IX(3) = gr_trunc(ylo);
    B.IY(3) = gr_trunc(yhi);
    B.X(1) = dcx;
    B.Y(1) = dcy;
    B.X(2) = float(rx);
    B.Y(2) = float(ry);
    B.X(3) = ratio;
    int angle = B.FILL(FILL_ANGLE);
    if (style >= 3) {
        int op = 2 + style;
        IGrFillOpChoose(GrOpEllipseSolid, op);
        if (!GrScreenOpFlags.draws(op))
            B.FILL(FILL_SCREEN_PASS) = 2;
        else
            IGrScreenDriver(op);
        if (B.FILL(FILL_SCREEN_PASS) == 0 && GrOutputSwitch.hardcopy == 0)
            return;
        angle = 3;
    }
    const bool hardcopy = GrOutputSwitch.hardcopy != 0;
    gr_shape_open(GrOpEllipsePattern);
    const bool hardcopy_outline = hardcopy && B.NVAL == -1;  // the driver asks for outline segments
    gr_fill_passes([&](int pass) {
        if (B.FILL(FILL_OUTLINE) == 1 && style < 3) {
            if (pass == 1 && GrScreenOpFlags.draws(GrOpEllipseOutline)) {
                B.IX(1) = nint(dcx);
                B.IY(1) = nint(dcy);
                B.IX(2) = nint(rx);
                B.IY(2) = nint(ry);
                IGrScreenDriver(GrOpEllipseOutline);
            } else if (pass == 1 || hardcopy_outline) {
                // Two half-outlines from the top point, left then right; at least 25 segments each.
                // The segment count grows with the radius; it is capped at 100 surface widths, beyond
                // which the outline lies far outside the surface anyway.
                const long long W = std::max(GrSurface.width, 1);
                const long long R = std::min<long long>(nint(rx), 100 * W);
                const double step = 3.1415925 / double(25 + (75 * R) / W);
                for (int s = -1; s <= 1; s += 2) {
                    double px = dcx, py = dcy + ry;
                    for (double t = step; t <= 3.1416924; t += step) {
                        const double qx = dcx + s * std::sin(t) * rx, qy = dcy + std::cos(t) * ry;
                        IGrLineDevice(float(px), float(py), float(qx), float(qy));
                        px = qx;
                        py = qy;
                    }
                }
            }
        }
        if (style == 0)
            return;
        const GrHatchSpacing h = IGrHatchSpacing(pass, B.FILL(FILL_DENSITY));
        auto chord = [&](double d, double r_along, double r_across) {
            double c = std::fabs(std::sin(std::acos(std::clamp(d / r_along, -1.0, 1.0))) * r_across);
            if (pass == 1)
                c = std::trunc(c);
            return c - h.inset;
        };
        auto scan_y = [&](float offset) {
            for (double y = gr_floor_to(ylo, h.y_step) + offset; y <= yhi; y += h.y_spacing) {
                if (y < ylo)
                    continue;
                const double c = chord(y - dcy, ry, rx);
                IGrLineDevice(float(dcx - c), float(y), float(dcx + c), float(y));
            }
        };
        auto scan_x = [&](float offset) {
            for (double x = gr_floor_to(xlo, h.x_step) + offset; x <= xhi; x += h.x_spacing) {
                if (x < xlo)
                    continue;
                const double c = chord(x - dcx, rx, ry);
                IGrLineDevice(float(x), float(dcy - c), float(x), float(dcy + c));
            }
        };
        gr_scan_two_colour(pass, 0.5f * h.y_spacing, scan_y);
        if (angle == 4 || style == 2)
            gr_scan_two_colour(pass, 0.5f * h.x_spacing, scan_x);
    });
    if (hardcopy)
        gr_shape_close(GrOpEllipsePattern);
}

void IGrCircleDraw(float cx, float cy, float radius)
{
    IGrEllipseFill(cx, cy, radius, 1.0f);
}
