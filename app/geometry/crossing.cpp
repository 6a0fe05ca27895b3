// The two-dimensional point-in-triangle tests and the path-triangle crossing test.
#include "app/geometry/geometry.h"

#include "app/state/divisions.h"
#include "app/state/surface.h"

#include <algorithm>
#include <cmath>

namespace {

// Edge test of corners k, j against the third corner m: the edge function
// f(u, w) = (wj - wk) u + (uk - uj) w + (uj wk - uk wj) vanishes on the line through k and j, and is
// the distance from it times the edge's length. The point is beyond the edge when it lies strictly on
// the other side from m, outside the tolerance band |fP| <= max(tol, slack x length) (so a point on an
// edge or a corner counts as inside, and a degenerate triangle holds every point).
inline bool beyond_edge(double uk, double wk, double uj, double wj, double um, double wm, double pu,
                        double pw, double tol, double slack = 0.0)
{
    double a = wj - wk;
    double b = uk - uj;
    double c = uj * wk - uk * wj;
    double fp = a * pu + b * pw + c;
    if (std::fabs(fp) <= std::max(tol, slack * std::sqrt(a * a + b * b)))
        return false;
    double fm = a * um + b * wm + c;
    return (fm > 0.0 && fp < 0.0) || (fm < 0.0 && fp > 0.0);
}

inline int point_in_triangle(double u1, double w1, double u2, double w2, double u3, double w3, double pu,
                             double pw, double tol, double slack = 0.0)
{
    if (beyond_edge(u1, w1, u2, w2, u3, w3, pu, pw, tol, slack))
        return 0;
    if (beyond_edge(u2, w2, u3, w3, u1, w1, pu, pw, tol, slack))
        return 0;
    if (beyond_edge(u3, w3, u1, w1, u2, w2, pu, pw, tol, slack))
        return 0;
    return 1;
}

// The tolerances are 4-byte constants.
const double FINE_TOLERANCE = double(1e-12f);
const double COARSE_TOLERANCE = double(1e-8f);

}  // namespace

void POINT_IN_TRIANGLE(float u1, float w1, float u2, float w2, float u3, float w3, float pu, float pw,
                       int& inside)
{
    inside = point_in_triangle(u1, w1, u2, w2, u3, w3, pu, pw, FINE_TOLERANCE);
}

void POINT_IN_TRIANGLE_COARSE(float u1, float w1, float u2, float w2, float u3, float w3, float pu, float pw,
                              int& inside)
{
    inside = point_in_triangle(u1, w1, u2, w2, u3, w3, pu, pw, COARSE_TOLERANCE);
}

// PATH_CROSSES_TRIANGLE: the plane of t meets the path at f = -(n . P + d) / (n . D); the crossing point
// is then tested against the triangle in the projection plane of its code (TRIANGLE row 6).
//
// Two triangles that share an edge or a corner must leave no gap there for a path to slip through into
// a body. Each triangle's plane is held in 4-byte reals and passes its corners only to within their
// rounding, and a crossing point rounded to 4-byte reals moves by the rounding of the fraction times
// the path; near a shared edge both tests could then fail. So the crossing point is kept in 8-byte
// reals, and every triangle is widened by GEOMETRY_TOLERANCE across its edges (a path that meets two
// triangles there is settled by the nearer crossing, as anywhere else).
void PATH_CROSSES_TRIANGLE(int t, float x, float y, float z, float u, float v, float w, float& f)
{
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    const auto& T = SURFACE.TRIANGLE;
    const double nx = G(1, t), ny = G(2, t), nz = G(3, t), d = G(4, t);

    // 1. The path parallel to the plane, or no path at all.
    double q = nz * w + nx * u + ny * v;
    if (std::fabs(q) <= double(1e-20f)) {
        f = NO_CROSSING;
        return;
    }
    // 2-3. Fraction of the path at the plane; a crossing at the start and up to 1 % beyond the end pass.
    const double fraction = -(nz * z + nx * x + ny * y + d) / q;
    f = static_cast<float>(fraction);
    if (f < 0.0f || double(f) >= double(1.01f)) {
        f = NO_CROSSING;
        return;
    }
    // 4. Crossing point.
    const double qx = x + fraction * u;
    const double qy = y + fraction * v;
    const double qz = z + fraction * w;

    // 5-6. The crossing point against the triangle in its projection plane.
    const int p1 = T(1, t), p2 = T(2, t), p3 = T(3, t);
    const auto& PX = SURFACE.POINT_X;
    const auto& PY = SURFACE.POINT_Y;
    const auto& PZ = SURFACE.POINT_Z;
    const double slack = DIVISIONS.GEOMETRY_TOLERANCE;
    int inside = 0;
    switch (T(6, t)) {
    case 1:
        inside =
            point_in_triangle(PY(p1), PZ(p1), PY(p2), PZ(p2), PY(p3), PZ(p3), qy, qz, FINE_TOLERANCE, slack);
        break;
    case 2:
        inside =
            point_in_triangle(PZ(p1), PX(p1), PZ(p2), PX(p2), PZ(p3), PX(p3), qz, qx, FINE_TOLERANCE, slack);
        break;
    default:
        inside =
            point_in_triangle(PX(p1), PY(p1), PX(p2), PY(p2), PX(p3), PY(p3), qx, qy, FINE_TOLERANCE, slack);
        break;
    }
    if (!inside)
        f = NO_CROSSING;
}
