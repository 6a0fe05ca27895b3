// Point location in the lattice of divisions and elements, and the closed box test.
//
// The locators leave the division and element of the point in DIVISIONS.CURRENT_DIVISION_X ..
// CURRENT_ELEMENT_Z. They never fail: every index is clamped into its range, so a point outside the box
// (or outside the current division, for FIND_CELL_IN_DIVISION) gets the nearest division and element on
// each axis. They are on the move's hot path: inline, no allocation.
#ifndef QR4T_APP_GEOMETRY_LOCATE_H
#define QR4T_APP_GEOMETRY_LOCATE_H

#include "app/state/box.h"
#include "app/state/divisions.h"

#include <algorithm>

namespace locate_detail {

// trunc(value) as a 4-byte integer, clamped to lo..hi first in floating point (a point far outside the
// box, or NaN, must not overflow the conversion).
inline int clamped_index(double value, int lo, int hi)
{
    if (!(value >= lo))
        return lo;
    if (value >= hi)
        return hi;
    return std::clamp(static_cast<int>(value), lo, hi);
}

// Division index along one axis: trunc(N (c - cmin) / extent + 1), clamped to 1..N.
inline int division_index(float c, float cmin, float extent, int n)
{
    return clamped_index(double(n) * (double(c) - double(cmin)) / double(extent) + 1.0, 1, n);
}

// Element index within division i along one axis, from the division origin kept in 8 bytes.
inline int element_index(float c, float cmin, int i, float division_width, int n)
{
    double origin = double(cmin) + double(i - 1) * double(division_width);
    return clamped_index(double(n) * (double(c) - origin) / double(division_width) + 1.0, 1, n);
}

// clamped_index(n x / e + 1.0, 1, n) (n_real = n), with the division replaced by a multiplication by
// n_per_e = n / e where that cannot change the result (the lattice of the move is fixed for a pass, so
// n_per_e is worked out once). The product lies within a few units in the last place of the quotient
// (below 1e-6 for any value below n < 2^31), so it truncates as the quotient does unless it lies within
// 1e-6 of an integer; there, and for NaN, the quotient decides.
constexpr double QUOTIENT_NEAR = 1e-6;

inline int quotient_index(double x, double n_real, double e, double n_per_e, int n)
{
    constexpr double NEAR = QUOTIENT_NEAR;
    const double t = x * n_per_e;
    if (t >= 0.0 && t < n_real) {
        const int k = static_cast<int>(t);
        const double f = t - k;
        if (f > NEAR && f < 1.0 - NEAR)
            return k + 1;
    } else if (t < -NEAR) {
        return 1;
    } else if (t > n_real + NEAR) {
        return n;
    }
    return clamped_index(n_real * x / e + 1.0, 1, n);
}

inline void locate_elements(float x, float y, float z)
{
    Divisions& D = DIVISIONS;
    D.CURRENT_ELEMENT_X =
        element_index(x, BOX.XMIN, D.CURRENT_DIVISION_X, D.DIVISION_WIDTH_X, BOX.ELEMENTS_PER_DIVISION_X);
    D.CURRENT_ELEMENT_Y =
        element_index(y, BOX.YMIN, D.CURRENT_DIVISION_Y, D.DIVISION_WIDTH_Y, BOX.ELEMENTS_PER_DIVISION_Y);
    D.CURRENT_ELEMENT_Z =
        element_index(z, BOX.ZMIN, D.CURRENT_DIVISION_Z, D.DIVISION_WIDTH_Z, BOX.ELEMENTS_PER_DIVISION_Z);
}

inline int current_element_cell()
{
    const Divisions& D = DIVISIONS;
    return D.ELEMENT_CELL(D.CURRENT_DIVISION_Z, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_X,
                          D.CURRENT_ELEMENT_Z, D.CURRENT_ELEMENT_Y, D.CURRENT_ELEMENT_X);
}

}  // namespace locate_detail

// The locators' lattice in 8-byte reals with the counts per length, for a caller that locates many
// points while the lattice stays as it is (the move, for one pass). Per axis x, y, z.
struct LatticeSteps {
    double low[3];                   // XMIN, YMIN, ZMIN
    double extent[3];                // BOX_EXTENT_X/Y/Z
    double division_count[3];        // DIVISIONS_X/Y/Z as reals
    double divisions_per_length[3];  // division_count / extent
    double width[3];                 // DIVISION_WIDTH_X/Y/Z
    double element_count[3];         // ELEMENTS_PER_DIVISION_X/Y/Z as reals
    double elements_per_length[3];   // element_count / width
    int divisions[3];                // DIVISIONS_X/Y/Z
    int elements[3];                 // ELEMENTS_PER_DIVISION_X/Y/Z
    double tol;                      // GEOMETRY_TOLERANCE
};

inline LatticeSteps lattice_steps()
{
    const auto& B = BOX;
    const auto& D = DIVISIONS;
    LatticeSteps L{{B.XMIN, B.YMIN, B.ZMIN},
                   {D.BOX_EXTENT_X, D.BOX_EXTENT_Y, D.BOX_EXTENT_Z},
                   {},
                   {},
                   {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z},
                   {},
                   {},
                   {B.DIVISIONS_X, B.DIVISIONS_Y, B.DIVISIONS_Z},
                   {B.ELEMENTS_PER_DIVISION_X, B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_Z},
                   D.GEOMETRY_TOLERANCE};
    for (int a = 0; a < 3; ++a) {
        L.division_count[a] = L.divisions[a];
        L.divisions_per_length[a] = L.division_count[a] / L.extent[a];
        L.element_count[a] = L.elements[a];
        L.elements_per_length[a] = L.element_count[a] / L.width[a];
    }
    return L;
}

namespace locate_detail {

// division_index and element_index on axis a (0 x, 1 y, 2 z) of the lattice L: the same results.
inline int division_index(const LatticeSteps& L, int a, float c)
{
    return quotient_index(double(c) - L.low[a], L.division_count[a], L.extent[a], L.divisions_per_length[a],
                          L.divisions[a]);
}

inline int element_index(const LatticeSteps& L, int a, float c, int i)
{
    if (L.elements[a] == 1)
        return 1;  // the only index: clamped_index(v, 1, 1) is 1 for every v, NaN included
    const double origin = L.low[a] + double(i - 1) * L.width[a];
    return quotient_index(double(c) - origin, L.element_count[a], L.width[a], L.elements_per_length[a],
                          L.elements[a]);
}

inline void locate_elements(const LatticeSteps& L, float x, float y, float z)
{
    Divisions& D = DIVISIONS;
    D.CURRENT_ELEMENT_X = element_index(L, 0, x, D.CURRENT_DIVISION_X);
    D.CURRENT_ELEMENT_Y = element_index(L, 1, y, D.CURRENT_DIVISION_Y);
    D.CURRENT_ELEMENT_Z = element_index(L, 2, z, D.CURRENT_DIVISION_Z);
}

}  // namespace locate_detail

// FIND_ELEMENT: sets the six current indices of the point (x, y, z); no cell is read.
inline void FIND_ELEMENT(float x, float y, float z)
{
    using namespace locate_detail;
    Divisions& D = DIVISIONS;
    D.CURRENT_DIVISION_X = division_index(x, BOX.XMIN, D.BOX_EXTENT_X, BOX.DIVISIONS_X);
    D.CURRENT_DIVISION_Y = division_index(y, BOX.YMIN, D.BOX_EXTENT_Y, BOX.DIVISIONS_Y);
    D.CURRENT_DIVISION_Z = division_index(z, BOX.ZMIN, D.BOX_EXTENT_Z, BOX.DIVISIONS_Z);
    locate_elements(x, y, z);
}

// FIND_CELL: as FIND_ELEMENT, then cell := the ELEMENT_CELL entry of the element (below 1: no cell).
inline void FIND_CELL(int& cell, float x, float y, float z)
{
    FIND_ELEMENT(x, y, z);
    cell = locate_detail::current_element_cell();
}

// FIND_CELL_IN_DIVISION: the element within the division held in CURRENT_DIVISION_X/Y/Z, and its cell.
inline void FIND_CELL_IN_DIVISION(int& cell, float x, float y, float z)
{
    locate_detail::locate_elements(x, y, z);
    cell = locate_detail::current_element_cell();
}

// FIND_CELL and FIND_CELL_IN_DIVISION on the lattice L (which must be the present one): the same results.
inline void FIND_CELL(int& cell, float x, float y, float z, const LatticeSteps& L)
{
    using namespace locate_detail;
    Divisions& D = DIVISIONS;
    D.CURRENT_DIVISION_X = division_index(L, 0, x);
    D.CURRENT_DIVISION_Y = division_index(L, 1, y);
    D.CURRENT_DIVISION_Z = division_index(L, 2, z);
    locate_elements(L, x, y, z);
    cell = current_element_cell();
}

inline void FIND_CELL_IN_DIVISION(int& cell, float x, float y, float z, const LatticeSteps& L)
{
    locate_detail::locate_elements(L, x, y, z);
    cell = locate_detail::current_element_cell();
}

// POINT_IN_BOX: inside := 1 when the point lies in the closed box (faces included), else 0.
inline void POINT_IN_BOX(float x, float y, float z, int& inside)
{
    const auto& B = BOX;
    inside = (x >= B.XMIN && x <= B.XMAX && y >= B.YMIN && y <= B.YMAX && z >= B.ZMIN && z <= B.ZMAX) ? 1 : 0;
}

#endif
