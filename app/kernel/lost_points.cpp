// Recovery of a point that lies in an element of no cell: the two twins search random trial points
// around it, each try within a cube of half-width k x 0.005 x ELEMENT_DIAGONAL (k = 1 .. 100) centred on
// the starting point, until the cell search gives a value that is not negative. A search that places
// the point in no cell leaves it where it started, so that the caller's next search and its diagnostic
// line start from the point itself, not from the last trial. The caller gives the molecule up when the
// result is still below 1.
//
// Reads the box limits and ELEMENT_DIAGONAL; draws three random numbers per try (x, y, z in that
// order), so the number of lost molecules shifts the random sequence of the rest of the run.
#include "app/kernel/kernel_move.h"

#include "app/geometry/locate.h"
#include "app/state/box.h"
#include "app/state/divisions.h"
#include "base/random.h"

namespace {

constexpr int MAX_TRIES = 100;
constexpr float RADIUS_STEP = 0.005f;  // share of an element diagonal added to the radius per try

// The search of both twins; `find` is FIND_CELL or FIND_CELL_IN_DIVISION.
template <class Find>
void relocate(int& CN, float& X, float& Y, float& Z, Find find)
{
    const auto& B = BOX;
    const float X0 = X, Y0 = Y, Z0 = Z;
    const double step = double(RADIUS_STEP) * DIVISIONS.ELEMENT_DIAGONAL;
    for (int k = 1; k <= MAX_TRIES && CN < 0; ++k) {
        const float r = static_cast<float>(k * step);
        X = static_cast<float>(X0 + (2.0 * random_uniform() - 1.0) * r);
        Y = static_cast<float>(Y0 + (2.0 * random_uniform() - 1.0) * r);
        Z = static_cast<float>(Z0 + (2.0 * random_uniform() - 1.0) * r);
        // A trial on or outside a box face is not searched, but counts as a try.
        if (X > B.XMIN && X < B.XMAX && Y > B.YMIN && Y < B.YMAX && Z > B.ZMIN && Z < B.ZMAX)
            find(CN, X, Y, Z);
    }
    if (CN < 1) {
        X = X0;
        Y = Y0;
        Z = Z0;
    }
}

}  // namespace

// RELOCATE_LOST_MOLECULE: trial points located with the full search FIND_CELL (after a division change).
void RELOCATE_LOST_MOLECULE(int& CN, float& X, float& Y, float& Z)
{
    relocate(CN, X, Y, Z, [](int& c, float x, float y, float z) { FIND_CELL(c, x, y, z); });
}

// RELOCATE_LOST_MOLECULE_IN_DIVISION: trial points located within the current division
// (CURRENT_DIVISION_X/Y/Z, which it never changes) with FIND_CELL_IN_DIVISION.
void RELOCATE_LOST_MOLECULE_IN_DIVISION(int& CN, float& X, float& Y, float& Z)
{
    relocate(CN, X, Y, Z, [](int& c, float x, float y, float z) { FIND_CELL_IN_DIVISION(c, x, y, z); });
}
