// The flow-direction lines: one tracer over a table of the plane's axes, behind the three routines.
//
// From the start point the line steps one element at a time along the larger component of the mean of
// the carried velocity and the velocity of the cell reached, the other coordinate following the
// direction; every two element steps make one segment. The forward half runs with the velocity, the
// backward half against it; each ends at the box side, in a body, where the mean velocity has no larger
// component, where it would turn back past the start, or after 1000 segments. A cell with too small a
// sample ends the whole line, backward half included.
#include "app/displays/flow_lines.h"

#include "app/displays/flowfield_properties.h"
#include "app/displays/section_state.h"
#include "app/geometry/locate.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/results.h"
#include "app/state/samples.h"
#include "toolkit/graphics/entry.h"

#include <cmath>

namespace {

// The plane's axes: 1 x, 2 y, 3 z.
struct PlaneAxes {
    int normal;  // the axis the plane is normal to
    int across;  // the horizontal axis of the picture
    int up;      // the vertical axis
};
constexpr PlaneAxes NORMAL_TO_Z = {3, 1, 2};
constexpr PlaneAxes NORMAL_TO_Y = {2, 1, 3};
constexpr PlaneAxes NORMAL_TO_X = {1, 3, 2};

// What a step along the plane needs of one axis.
struct AxisSteps {
    float width;  // element width
    float low;    // box limits
    float high;
    int velocity_row;  // VAR row of the velocity component
};

AxisSteps axis_steps(int axis)
{
    const Divisions& D = DIVISIONS;
    const BoxState& B = BOX;
    switch (axis) {
    case 1: return {D.ELEMENT_WIDTH_X, B.XMIN, B.XMAX, VAR_U};
    case 2: return {D.ELEMENT_WIDTH_Y, B.YMIN, B.YMAX, VAR_U + 1};
    default: return {D.ELEMENT_WIDTH_Z, B.ZMIN, B.ZMAX, VAR_U + 2};
    }
}

struct Velocity {
    float a = 0.0f;  // across
    float b = 0.0f;  // up
};

// Start direction: 1 +across, 2 -across, 3 +up, 4 -up (0 at rest).
int start_direction(Velocity s)
{
    if (std::fabs(s.a) >= std::fabs(s.b))
        return s.a > 0.0f ? 1 : s.a < 0.0f ? 2 : 0;
    return s.b > 0.0f ? 3 : 4;
}

enum class HalfEnd {
    GOING,  // the half goes on
    HALF,   // this half ends
    LINE,   // the whole line ends: a cell with too small a sample
};

class Tracer {
public:
    Tracer(const PlaneAxes& axes) : axes_(axes), h_(axis_steps(axes.across)), v_(axis_steps(axes.up)) {}

    void trace(float hs, float vs)
    {
        int cell = locate(hs, vs);
        if (cell <= 0 || !WELL_SAMPLED(cell))
            return;
        const Velocity s = velocity(cell);
        const int direction = start_direction(s);
        for (int sense : {+1, -1})
            if (!half(hs, vs, s, direction, sense))
                return;
    }

private:
    // The cell of the point (h, v) of the plane; 0 or less for none.
    int locate(float h, float v) const
    {
        float p[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        p[axes_.across] = h;
        p[axes_.up] = v;
        p[axes_.normal] = SECTION.SECTION_PLANE_POSITION;
        int cell = 0;
        FIND_CELL(cell, p[1], p[2], p[3]);
        if (cell > CELLS.CELL_COUNT)
            cell = 0;
        return cell;
    }

    Velocity velocity(int cell) const
    {
        const auto& VAR = RESULTS.VAR;
        return {VAR(h_.velocity_row, cell), VAR(v_.velocity_row, cell)};
    }

    // One half of the line, with the velocity (sense +1) or against it (-1); false when the whole line
    // has ended.
    bool half(float hs, float vs, Velocity s, int direction, int sense)
    {
        IGrMoveTo(hs, vs);
        float qh = hs, qv = vs;
        Velocity carried = s;
        bool ended = false;
        for (int counter = 1; !ended; ++counter) {
            if (counter > FLOW_LINE_SEGMENTS)
                ended = true;
            Velocity c = carried;
            for (int sub = 1; sub <= 2; ++sub) {
                const HalfEnd e = step(hs, vs, direction, sense, carried, c, qh, qv);
                if (e == HalfEnd::LINE)
                    return false;
                if (e == HalfEnd::HALF)
                    ended = true;
            }
            carried = c;
            if (!ended)
                IGrLineTo(qh, qv);
        }
        return true;
    }

    // One element step from Q = (qh, qv) with the mean of the carried velocity p and the cell velocity c;
    // c becomes the velocity of the cell reached and Q that point, unless the half ends.
    HalfEnd step(float hs, float vs, int direction, int sense, Velocity p, Velocity& c, float& qh, float& qv)
    {
        const float ma = static_cast<float>((double(p.a) + c.a) / 2.0);
        const float mb = static_cast<float>((double(p.b) + c.b) / 2.0);
        float nh, nv;
        if (std::fabs(ma) > std::fabs(mb)) {
            // One element across in the sign of ma (times the sense); up by the slope.
            const double run = double(h_.width) / ma * mb;
            const double dir = ma > 0.0f ? sense : -sense;
            nh = static_cast<float>(qh + dir * h_.width);
            nv = static_cast<float>(qv + dir * run);
        } else if (std::fabs(mb) > std::fabs(ma)) {
            const double run = double(v_.width) / mb * ma;
            const double dir = mb > 0.0f ? sense : -sense;
            nv = static_cast<float>(qv + dir * v_.width);
            nh = static_cast<float>(qh + dir * run);
        } else {
            return HalfEnd::HALF;  // no larger component (at rest included)
        }
        if (nh < h_.low || nh > h_.high || nv < v_.low || nv > v_.high)
            return HalfEnd::HALF;
        const int cell = locate(nh, nv);
        if (cell <= 0)
            return HalfEnd::HALF;
        const long long n = sample_size_count(cell);
        if (n <= 2LL * SAMPLES.SAMPLE_COUNT && (n <= 40 || RESULTS.VAR(VAR_MOLS_PER_CELL, cell) <= 0.05f))
            return HalfEnd::LINE;
        c = velocity(cell);
        // The line must not turn back past the start (mirrored for the backward half).
        const double dh = sense * (double(nh) - hs);
        const double dv = sense * (double(nv) - vs);
        const bool back = direction == 1   ? dh <= 0.0
                          : direction == 2 ? dh >= 0.0
                          : direction == 3 ? dv <= 0.0
                                           : dv >= 0.0;
        if (back)
            return HalfEnd::HALF;
        qh = nh;
        qv = nv;
        return HalfEnd::GOING;
    }

    PlaneAxes axes_;
    AxisSteps h_, v_;
};

}  // namespace

void TRACE_FLOW_LINE_Z(float across, float up)
{
    Tracer(NORMAL_TO_Z).trace(across, up);
}

void TRACE_FLOW_LINE_Y(float across, float up)
{
    Tracer(NORMAL_TO_Y).trace(across, up);
}

void TRACE_FLOW_LINE_X(float across, float up)
{
    Tracer(NORMAL_TO_X).trace(across, up);
}
