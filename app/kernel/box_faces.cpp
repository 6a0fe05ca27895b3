// The six sides of the flowfield box (APPLY_BOX_FACES) and the specular wall that moves from the min-x
// side into the flow (REFLECT_AT_MOVING_WALL), applied to the end point of one sub-step of a molecule's
// path. Both report to the path step through SDMIN: 1.1 no face met, a fraction of the sub-step
// (at least 1e-5) where a reflecting face was met, -1 the molecule leaves the flowfield.
//
// Reads BOUNDARY_CODE, the box limits, GEOMETRY_TOLERANCE, DIVISIONS_X, the molecule's species and
// clock, WALL_SPEED. Writes the molecule's velocity, CURRENT_DIVISION_X (periodic x sides) and the
// constant-pressure outflow counts CP_LEFT_MIN_X, CP_LEFT_MAX_X.
#include "app/kernel/kernel_move.h"

#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"

#include <algorithm>

namespace {

// Fraction of the sub-step at which a reflection happens, never below 1e-5.
inline float face_fraction(double f)
{
    return std::max(static_cast<float>(f), MIN_FACE_FRACTION);
}

// One y or z side: code 2 reflects the component (a plane of symmetry); every other code removes the
// molecule unless a face of this sub-step has reflected it already.
void apply_transverse_side(int code, float& C, float DC, float face, float& velocity, float& SDMIN,
                           bool& removal)
{
    if (code == BOUNDARY_PLANE) {
        const float f = static_cast<float>((double(DC) - C + face) / DC);
        if (f < SDMIN) {
            SDMIN = face_fraction(f);
            C = face;
            velocity = -velocity;
        }
    } else if (SDMIN > 1.0f) {
        removal = true;
    }
}

}  // namespace

// APPLY_BOX_FACES: the sides in the order min x, max x, min y, max y, min z, max z. A removal decided at
// one side stands even when a later side reflects the molecule. Only the reflecting coordinate is put
// on its face; the caller decides whether the end point is pulled back to SDMIN.
//
// A min-x side of code 7 is the moving wall, which REFLECT_AT_MOVING_WALL settles right after this
// call; it is no removal here, so that a removal verdict of this routine always comes from sides 2 to 6
// and can be kept against the wall step.
void APPLY_BOX_FACES(int N, float& X, float DX, float& Y, float DY, float& Z, float DZ, float& SDMIN)
{
    const auto& B = BOX;
    const auto& BC = B.BOUNDARY_CODE;
    const double tol = DIVISIONS.GEOMETRY_TOLERANCE;
    float& u = MOLECULES.PV(1, N);
    bool removal = false;
    SDMIN = NO_FACE_MET;

    // Side 1, min x.
    if (X <= B.XMIN) {
        const int code = BC(1);
        if (code == BOUNDARY_PLANE || code == BOUNDARY_PERIODIC) {
            const float f = static_cast<float>((double(DX) - X + B.XMIN + tol) / DX);
            if (f < SDMIN) {
                SDMIN = face_fraction(f);
                if (code == BOUNDARY_PLANE) {
                    X = static_cast<float>(B.XMIN + tol);
                    u = -u;
                } else {
                    // Back in at the opposite side with the same velocity; the rest of the sub-step
                    // beyond the face is not moved.
                    DIVISIONS.CURRENT_DIVISION_X = B.DIVISIONS_X;
                    X = static_cast<float>(B.XMAX - tol);
                    SDMIN = 1.0f;
                }
            }
        } else if (code != BOUNDARY_MOVING_WALL) {
            removal = true;
            if (code == BOUNDARY_PRESSURE)
                GAS.CP_LEFT_MIN_X(molecule_species(N)) += 1.0;
        }
    }

    // Side 2, max x.
    if (X >= B.XMAX) {
        const int code = BC(2);
        if (code == BOUNDARY_PLANE || code == BOUNDARY_PERIODIC) {
            const float f = static_cast<float>((double(DX) - X + B.XMAX - tol) / DX);
            if (f < SDMIN) {
                SDMIN = face_fraction(f);
                if (code == BOUNDARY_PLANE) {
                    X = static_cast<float>(B.XMAX - tol);
                    u = -u;
                } else {
                    DIVISIONS.CURRENT_DIVISION_X = 1;
                    X = static_cast<float>(B.XMIN + tol);
                    SDMIN = 1.0f;
                }
            }
        } else if (SDMIN > 1.0f) {
            removal = true;
            if (code == BOUNDARY_PRESSURE)
                GAS.CP_LEFT_MAX_X(molecule_species(N)) += 1.0;
        }
    }

    // Sides 3 to 6: only planes of symmetry reflect; periodic and constant-pressure y and z sides remove
    // like stream sides.
    float& v = MOLECULES.PV(2, N);
    float& w = MOLECULES.PV(3, N);
    if (Y <= B.YMIN)
        apply_transverse_side(BC(3), Y, DY, static_cast<float>(B.YMIN + tol), v, SDMIN, removal);
    if (Y >= B.YMAX)
        apply_transverse_side(BC(4), Y, DY, static_cast<float>(B.YMAX - tol), v, SDMIN, removal);
    if (Z <= B.ZMIN)
        apply_transverse_side(BC(5), Z, DZ, static_cast<float>(B.ZMIN + tol), w, SDMIN, removal);
    if (Z >= B.ZMAX)
        apply_transverse_side(BC(6), Z, DZ, static_cast<float>(B.ZMAX - tol), w, SDMIN, removal);

    if (removal)
        SDMIN = LEAVES_FLOWFIELD;
}

// reflect_at_further_planes: after APPLY_BOX_FACES on an end point that is kept (not pulled back to the
// first face met), every plane-of-symmetry side that the end point still lies beyond reflects as well:
// APPLY_BOX_FACES reflects only at the face met first, and a path across a box edge would otherwise
// end outside the box, from where its next path can pass a surface that meets that side (the crossing
// lies outside its triangles) and be lost behind it.
void reflect_at_further_planes(int N, float P[3])
{
    const auto& B = BOX;
    const double tol = DIVISIONS.GEOMETRY_TOLERANCE;
    const float low[3] = {B.XMIN, B.YMIN, B.ZMIN};
    const float high[3] = {B.XMAX, B.YMAX, B.ZMAX};
    for (int a = 0; a < 3; ++a) {
        float& velocity = MOLECULES.PV(a + 1, N);
        if (P[a] <= low[a] && B.BOUNDARY_CODE(2 * a + 1) == BOUNDARY_PLANE) {
            P[a] = static_cast<float>(low[a] + tol);
            velocity = -velocity;
        } else if (P[a] >= high[a] && B.BOUNDARY_CODE(2 * a + 2) == BOUNDARY_PLANE) {
            P[a] = static_cast<float>(high[a] - tol);
            velocity = -velocity;
        }
    }
}

// REFLECT_AT_MOVING_WALL: the wall stands at XMIN + WALL_SPEED t, t the molecule's own time: at the end
// of the sub-step its clock (which already holds the whole advance of the pass) less the time left
// after the sub-step, TLEFT; at the start DTIM earlier. A molecule that ends the sub-step at or behind
// the wall meets it at the fraction f where x0 + f DX = wall position, and leaves with
// u' = 2 WALL_SPEED - u (specular reflection in the wall's frame).
//
// The verdict of the other sides is replaced, except a removal: a molecule that leaves through a
// stream or vacuum side in the same sub-step is removed, instead of going on outside the box.
void REFLECT_AT_MOVING_WALL(int N, float& X, float DX, float DTIM, float TLEFT, float& SDMIN)
{
    if (SDMIN < 0.0f)
        return;
    SDMIN = NO_FACE_MET;
    const float WS = BOX.WALL_SPEED;
    const double clock = MOLECULES.MOL_TIME(N);
    float& u = MOLECULES.PV(1, N);
    const float x0 = static_cast<float>(double(X) - DX);
    const float XW0 = static_cast<float>(WS * (clock - TLEFT - DTIM) + BOX.XMIN);
    const float XW1 = static_cast<float>(WS * (clock - TLEFT) + BOX.XMIN);
    if (X <= XW1) {
        const float f = static_cast<float>((double(XW0) - x0) / ((double(u) - WS) * DTIM));
        if (f < NO_FACE_MET) {
            SDMIN = face_fraction(f);
            const float xh = static_cast<float>(double(SDMIN) * DX + x0);
            u = static_cast<float>(2.0 * WS - u);
            X = static_cast<float>((1.0 - SDMIN) * u * DTIM + xh);
        }
    }
}
