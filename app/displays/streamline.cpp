// TRACE_STREAMLINE: one streamline of the time-averaged flow for the surface display window, downstream
// and upstream of its start. The velocity is the cell's mean velocity, constant within the cell, so the
// streamline is a chain of straight steps, each to 1 % beyond the nearest face of the element that holds
// the present point.
#include "app/displays/streamline.h"

#include "app/displays/surface_window_state.h"
#include "app/geometry/locate.h"
#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/results.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float STILL = 1e-6f;  // a velocity component within this of zero sets no limit on its axis

// Distance in time to the nearest element face ahead along one axis, at most `limit`.
double face_time(double limit, float q, float p, int division, int element, float cmin, float division_width,
                 float element_width)
{
    if (std::fabs(q) <= STILL)
        return limit;
    const int face_index = q > STILL ? element : element - 1;
    const float face = static_cast<float>(division - 1) * division_width + cmin +
                       static_cast<float>(face_index) * element_width;
    return std::min(limit, static_cast<double>((face - p) / q));
}

// One half of the streamline into row `row` of the counts and the given point arrays; sign -1 walks
// against the flow.
void trace_half(int s, float x, float y, float z, int cell, float sign, Array<float, 2>& X,
                Array<float, 2>& Y, Array<float, 2>& Z, int row)
{
    SurfaceWindowState& w = S3D;
    const BoxState& B = BOX;
    const Divisions& D = DIVISIONS;
    const Array<float, 2>& VAR = RESULTS.VAR;
    int count = 1;
    X(s, 1) = x;
    Y(s, 1) = y;
    Z(s, 1) = z;
    float u = sign * VAR(VAR_U, cell), v = sign * VAR(VAR_U + 1, cell), ww = sign * VAR(VAR_U + 2, cell);
    for (;;) {
        double t = 1e8;
        t = face_time(t, u, x, D.CURRENT_DIVISION_X, D.CURRENT_ELEMENT_X, B.XMIN, D.DIVISION_WIDTH_X,
                      D.ELEMENT_WIDTH_X);
        t = face_time(t, v, y, D.CURRENT_DIVISION_Y, D.CURRENT_ELEMENT_Y, B.YMIN, D.DIVISION_WIDTH_Y,
                      D.ELEMENT_WIDTH_Y);
        t = face_time(t, ww, z, D.CURRENT_DIVISION_Z, D.CURRENT_ELEMENT_Z, B.ZMIN, D.DIVISION_WIDTH_Z,
                      D.ELEMENT_WIDTH_Z);
        const float step = static_cast<float>(1.01 * t);
        x = x + step * u;
        y = y + step * v;
        z = z + step * ww;
        if (x < B.XMIN || x > B.XMAX || y < B.YMIN || y > B.YMAX || z < B.ZMIN || z > B.ZMAX)
            break;
        FIND_CELL(cell, x, y, z);
        if (cell < 1 || count >= w.STREAMLINE_MAX_POINTS)
            break;
        ++count;
        X(s, count) = x;
        Y(s, count) = y;
        Z(s, count) = z;
        u = sign * VAR(VAR_U, cell);
        v = sign * VAR(VAR_U + 1, cell);
        ww = sign * VAR(VAR_U + 2, cell);
    }
    w.STREAM_POINT_COUNT(row, s) = count;
}

}  // namespace

void TRACE_STREAMLINE(int s, float x, float y, float z)
{
    SurfaceWindowState& w = S3D;
    w.STREAM_POINT_COUNT(1, s) = 0;
    w.STREAM_POINT_COUNT(2, s) = 0;
    int cell = 0;
    FIND_CELL(cell, x, y, z);
    // The start needs a cell sampled at least 10 times (9.5 rounds to 10).
    if (cell < 1 || !(RESULTS.VAR(VAR_SAMPLE_SIZE, cell) >= 9.5f))
        return;
    trace_half(s, x, y, z, cell, 1.0f, w.STREAM_DOWN_X, w.STREAM_DOWN_Y, w.STREAM_DOWN_Z, 1);
    FIND_CELL(cell, x, y, z);
    trace_half(s, x, y, z, cell, -1.0f, w.STREAM_UP_X, w.STREAM_UP_Y, w.STREAM_UP_Z, 2);
}
