// The segment clipper, clipped polylines and edge intersections.
#include "toolkit/graphics/line_clip.h"

#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_lines.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Nearest integer, halves away from zero, for the vertical and horizontal tests.
double nint(float v)
{
    return std::round(double(v));
}

// Clamps one axis of a segment that runs along it: each end stays on its own side.
void clamp_axis(float& a1, float& a2, float lo, float hi)
{
    if (a2 <= a1) {
        a2 = std::max(lo, a2);
        a1 = std::min(hi, a1);
    } else {
        a1 = std::max(lo, a1);
        a2 = std::min(hi, a2);
    }
}

}  // namespace

void IGrClipLine(float& x1, float& y1, float& x2, float& y2, int& visible)
{
    const auto& D = GrDeviceArea;
    const float xmin = D.x1, ymin = D.y1, xmax = D.x2, ymax = D.y2;
    visible = -1;
    const bool in1 = IGrPointInClip(x1, y1) != 0;
    const bool in2 = IGrPointInClip(x2, y2) != 0;
    // A segment with both ends inside meets no edge on the way: it is visible as it is. (Without this
    // test the edge search below finds no candidate and would drop every segment inside the area.)
    if (in1 && in2)
        return;
    if (nint(x1) == nint(x2)) {
        if (std::min(y1, y2) > ymax || std::max(y1, y2) < ymin) {
            visible = 0;
            return;
        }
        clamp_axis(y1, y2, ymin, ymax);
        visible = IGrPointInClip(x1, y1) ? -1 : 0;
        return;
    }
    if (nint(y1) == nint(y2)) {
        if (std::min(x1, x2) > xmax || std::max(x1, x2) < xmin) {
            visible = 0;
            return;
        }
        clamp_axis(x1, x2, xmin, xmax);
        visible = IGrPointInClip(x1, y1) ? -1 : 0;
        return;
    }
    const double m = (double(y2) - y1) / (double(x2) - x1);
    const double k = y1 - m * x1;
    auto inside1 = [&] { return IGrPointInClip(x1, y1) != 0; };
    auto inside2 = [&] { return IGrPointInClip(x2, y2) != 0; };

    // Top edge.
    float cx = static_cast<float>((ymax - k) / m), cy = ymax;
    if (IGrPointOnSegment(cx, cy, x1, y1, x2, y2)) {
        if (inside1() && y1 < y2) {
            x2 = cx, y2 = cy;
            return;
        }
        if (inside2() && y2 < y1) {
            x1 = cx, y1 = cy;
            return;
        }
        if (y2 <= y1)
            x1 = cx, y1 = cy;
        else
            x2 = cx, y2 = cy;
    }
    // Bottom edge.
    cx = static_cast<float>((ymin - k) / m), cy = ymin;
    if (IGrPointOnSegment(cx, cy, x1, y1, x2, y2)) {
        if (inside1() && y2 < y1) {
            x2 = cx, y2 = cy;
            return;
        }
        if (inside2() && y1 < y2) {
            x1 = cx, y1 = cy;
            return;
        }
        if (y1 <= y2)
            x1 = cx, y1 = cy;
        else
            x2 = cx, y2 = cy;
    }
    // Right edge.
    cx = xmax, cy = static_cast<float>(xmax * m + k);
    if (IGrPointOnSegment(cx, cy, x1, y1, x2, y2)) {
        if (inside1() && x1 < x2) {
            x2 = cx, y2 = cy;
            return;
        }
        if (inside2() && x2 < x1) {
            x1 = cx, y1 = cy;
            return;
        }
        if (x2 <= x1)
            x1 = cx, y1 = cy;
        else
            x2 = cx, y2 = cy;
    }
    // Left edge.
    cx = xmin, cy = static_cast<float>(xmin * m + k);
    if (IGrPointOnSegment(cx, cy, x1, y1, x2, y2)) {
        if (inside1()) {
            x2 = cx, y2 = cy;
            return;
        }
        if (inside2()) {
            x1 = cx, y1 = cy;
            return;
        }
    }
    visible = 0;
}

bool IGrPointOnSegment(float px, float py, float x1, float y1, float x2, float y2)
{
    return IGrPointInClip(px, py) != 0 && std::min(x1, x2) <= px && px <= std::max(x1, x2) &&
           std::min(y1, y2) <= py && py <= std::max(y1, y2);
}

namespace {

// Sends the collected run of n points as op 32 to the screen and the hardcopy device.
void send_run(int n)
{
    if (n < 2)
        return;
    GrPrimitiveBlock.NPTS = n;
    gr_send_both(GrOpPolyline);
}

}  // namespace

void IGrPolylineClipped(const float* x, const float* y, int n, int device)
{
    if (n < 2)
        return;
    n = std::min(n, GR_POLYLINE_MAX);
    auto point = [&](int i, float& px, float& py) {
        if (device != 0) {
            px = x[i];
            py = y[i];
        } else {
            IGrUserToDevice(x[i], y[i], px, py);
        }
    };
    auto& X = GrPolylineBuffer.X;
    auto& Y = GrPolylineBuffer.Y;
    int run = 0;
    auto append = [&](float px, float py) {
        if (run < GR_POLYLINE_MAX) {
            ++run;
            X(run) = px;
            Y(run) = py;
        }
    };
    float px = 0.0f, py = 0.0f;
    point(0, px, py);
    if (IGrPointInClip(px, py))
        append(px, py);
    for (int i = 1; i < n; ++i) {
        float qx = 0.0f, qy = 0.0f;
        point(i, qx, qy);
        const bool q_inside = IGrPointInClip(qx, qy) != 0;
        int visible = 0;
        if (run == 0) {
            float ax = px, ay = py, bx = qx, by = qy;
            IGrClipLine(ax, ay, bx, by, visible);
            if (!q_inside) {
                if (visible)
                    IGrLineDevice(ax, ay, bx, by);
            } else if (visible) {
                append(ax, ay);
                append(bx, by);
            } else {
                append(qx, qy);
            }
        } else if (q_inside) {
            append(qx, qy);
        } else {
            float ax = X(run), ay = Y(run), bx = qx, by = qy;
            IGrClipLine(ax, ay, bx, by, visible);
            if (visible)
                append(bx, by);
            send_run(run);
            run = 0;
        }
        px = qx;
        py = qy;
    }
    send_run(run);
}

namespace {

float edge_result(double v)
{
    return std::fabs(v) > double(GR_EDGE_PARALLEL) || std::isnan(v) ? GR_EDGE_PARALLEL
                                                                    : static_cast<float>(v);
}

}  // namespace

float IGrEdgeXAtY(float x1, float y1, float x2, float y2, float y)
{
    const double dy = double(y2) - y1;
    const double dx = double(x2) - x1;
    if (dy < 0.0)
        return edge_result((double(y) - y2) * dx / dy + x2);
    if (dy > 0.0)
        return edge_result((double(y) - y1) * dx / dy + x1);
    return GR_EDGE_PARALLEL;
}

float IGrEdgeYAtX(float x1, float y1, float x2, float y2, float x)
{
    const double dy = double(y2) - y1;
    const double dx = double(x2) - x1;
    if (dx < 0.0)
        return edge_result((double(x) - x2) * dy / dx + y2);
    if (dx > 0.0)
        return edge_result((double(x) - x1) * dy / dx + y1);
    return GR_EDGE_PARALLEL;
}

void IGrSwapReal(float& a, float& b)
{
    std::swap(a, b);
}
