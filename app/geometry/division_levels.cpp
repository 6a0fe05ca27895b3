// The closing stages of the divisions-and-elements set-up: every cut element analysed, the flow
// elements of each surface division settled and level 1 given to the flow divisions that touch the
// surfaces, the levels of the further divisions, and the total flow volume.
#include "app/geometry/setup.h"

#include "app/geometry/geometry.h"
#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "base/units.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// Element status in ELEMENT_CELL while the surface divisions are settled.
constexpr int STATUS_BODY = -1;  // not known yet; after the flood: wholly inside a body
constexpr int STATUS_CUT = 0;    // a cut element (or, at the end, any element in the flow)
constexpr int STATUS_FLOW = 1;   // an uncut element wholly in the flow

bool division_in_box(int ix, int iy, int iz)
{
    const auto& B = BOX;
    return ix >= 1 && ix <= B.DIVISIONS_X && iy >= 1 && iy <= B.DIVISIONS_Y && iz >= 1 && iz <= B.DIVISIONS_Z;
}

int& division_code(int ix, int iy, int iz)
{
    return DIVISIONS.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
}

// Offsets (x, y, z) of the element or division across faces 1..6 (low x, high x, low y, high y, low z,
// high z).
constexpr int FACE_OFFSET[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

// The element loop of one division and the status of its elements.
struct DivisionElements {
    int ix, iy, iz;
    int nx = BOX.ELEMENTS_PER_DIVISION_X, ny = BOX.ELEMENTS_PER_DIVISION_Y, nz = BOX.ELEMENTS_PER_DIVISION_Z;

    bool inside(int ex, int ey, int ez) const
    {
        return ex >= 1 && ex <= nx && ey >= 1 && ey <= ny && ez >= 1 && ez <= nz;
    }
    int& status(int ex, int ey, int ez) const { return DIVISIONS.ELEMENT_CELL(iz, iy, ix, ez, ey, ex); }
    int cut_number(int ex, int ey, int ez) const
    {
        return DIVISIONS.SURFACE_ELEMENT_NUMBER(iz, iy, ix, ez, ey, ex);
    }
};

// Cut elements get status 0 and pass the flow to the neighbours across their open faces.
void settle_cut_elements(const DivisionElements& E)
{
    const auto& SED = DIVISIONS.SURFACE_ELEMENT_DATA;
    for (int ez = 1; ez <= E.nz; ++ez)
        for (int ey = 1; ey <= E.ny; ++ey)
            for (int ex = 1; ex <= E.nx; ++ex) {
                const int n = E.cut_number(ex, ey, ez);
                if (n <= 0)
                    continue;
                E.status(ex, ey, ez) = STATUS_CUT;
                for (int j = 1; j <= 6; ++j) {
                    if (SED(j, n) != 0)
                        continue;
                    const int fx = ex + FACE_OFFSET[j - 1][0], fy = ey + FACE_OFFSET[j - 1][1],
                              fz = ez + FACE_OFFSET[j - 1][2];
                    if (E.inside(fx, fy, fz) && E.status(fx, fy, fz) == STATUS_BODY)
                        E.status(fx, fy, fz) = STATUS_FLOW;
                }
            }
}

// The flow spreads through face neighbours until a sweep changes nothing.
void flood_flow(const DivisionElements& E)
{
    bool changed = true;
    while (changed) {
        changed = false;
        for (int ez = 1; ez <= E.nz; ++ez)
            for (int ey = 1; ey <= E.ny; ++ey)
                for (int ex = 1; ex <= E.nx; ++ex) {
                    if (E.status(ex, ey, ez) != STATUS_BODY)
                        continue;
                    for (const auto& o : FACE_OFFSET) {
                        const int fx = ex + o[0], fy = ey + o[1], fz = ez + o[2];
                        if (E.inside(fx, fy, fz) && E.status(fx, fy, fz) == STATUS_FLOW) {
                            E.status(ex, ey, ez) = STATUS_FLOW;
                            changed = true;
                            break;
                        }
                    }
                }
    }
}

// Directions of the rays of point_on_flow_side: one mainly along each axis each way, tilted by small
// unrelated amounts so that a ray neither runs along a triangle nor meets a shared edge or corner of the
// (mostly axis-aligned) surfaces exactly.
constexpr double RAY_DIRECTIONS[6][3] = {{1.0, 0.0731, 0.0419},  {-1.0, -0.0587, 0.0663},
                                         {0.0613, 1.0, -0.0457}, {-0.0389, -1.0, 0.0571},
                                         {0.0477, -0.0693, 1.0}, {-0.0541, 0.0403, -1.0}};

// Whether point c (scaled) lies on the flow side of the surfaces. A ray from c in each of six
// directions, long enough to leave the box, meets its nearest triangle on the side that c is on: the
// sign of that triangle's plane function at c votes (the side into which the normal points is the
// flow). A ray that meets no triangle leaves the box through a side, where a body may be open (a plane
// of symmetry), and does not vote; a point no ray finds a triangle from lies in no body. The majority
// of the votes decides; a tie counts as a body.
bool point_on_flow_side(const double c[3])
{
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    const auto& D = DIVISIONS;
    const double length =
        2.0 * std::sqrt(double(D.BOX_EXTENT_X) * D.BOX_EXTENT_X + double(D.BOX_EXTENT_Y) * D.BOX_EXTENT_Y +
                        double(D.BOX_EXTENT_Z) * D.BOX_EXTENT_Z);
    int flow = 0, body = 0;
    for (const auto& dir : RAY_DIRECTIONS) {
        float nearest = NO_CROSSING;
        int hit = 0;
        for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t) {
            float f;
            PATH_CROSSES_TRIANGLE(t, static_cast<float>(c[0]), static_cast<float>(c[1]),
                                  static_cast<float>(c[2]), static_cast<float>(dir[0] * length),
                                  static_cast<float>(dir[1] * length), static_cast<float>(dir[2] * length),
                                  f);
            if (f < nearest) {
                nearest = f;
                hit = t;
            }
        }
        if (hit == 0)
            continue;
        const double side = G(1, hit) * c[0] + G(2, hit) * c[1] + G(3, hit) * c[2] + G(4, hit);
        if (side > 0.0)
            ++flow;
        else
            ++body;
    }
    return flow > body || (flow == 0 && body == 0);
}

// Uncut elements that no open face of a cut element reaches are left in a body by the flood, though a
// surface that cuts a division only near one of its corners may close every cut element's faces
// towards the rest of the division (a face flag is set where the plane of a triangle, not the triangle
// itself, passes the face). No triangle meets an uncut element, so a group of them joined by faces lies
// wholly on one side of the surfaces: a geometric test at the centre of its first element decides the
// group, and a group in the flow floods on from there.
void settle_unreached_elements(const DivisionElements& E)
{
    const auto& B = BOX;
    const auto& D = DIVISIONS;
    std::vector<char> body(static_cast<std::size_t>(E.nx) * E.ny * E.nz, 0);  // 1: decided in a body
    auto slot = [&](int ex, int ey, int ez) -> char& {
        return body[static_cast<std::size_t>(((ez - 1) * E.ny + (ey - 1)) * E.nx + (ex - 1))];
    };
    for (int ez = 1; ez <= E.nz; ++ez)
        for (int ey = 1; ey <= E.ny; ++ey)
            for (int ex = 1; ex <= E.nx; ++ex) {
                if (E.status(ex, ey, ez) != STATUS_BODY || E.cut_number(ex, ey, ez) > 0 || slot(ex, ey, ez))
                    continue;
                const double centre[3] = {
                    B.XMIN + (E.ix - 1) * double(D.DIVISION_WIDTH_X) + (ex - 0.5) * D.ELEMENT_WIDTH_X,
                    B.YMIN + (E.iy - 1) * double(D.DIVISION_WIDTH_Y) + (ey - 0.5) * D.ELEMENT_WIDTH_Y,
                    B.ZMIN + (E.iz - 1) * double(D.DIVISION_WIDTH_Z) + (ez - 0.5) * D.ELEMENT_WIDTH_Z};
                if (point_on_flow_side(centre)) {
                    E.status(ex, ey, ez) = STATUS_FLOW;
                    flood_flow(E);
                    continue;
                }
                // The whole group is in the body: mark it, so that it is not tested again.
                std::vector<std::array<int, 3>> group{{ex, ey, ez}};
                slot(ex, ey, ez) = 1;
                while (!group.empty()) {
                    const auto [gx, gy, gz] = group.back();
                    group.pop_back();
                    for (const auto& o : FACE_OFFSET) {
                        const int fx = gx + o[0], fy = gy + o[1], fz = gz + o[2];
                        if (E.inside(fx, fy, fz) && !slot(fx, fy, fz) &&
                            E.status(fx, fy, fz) == STATUS_BODY && E.cut_number(fx, fy, fz) <= 0) {
                            slot(fx, fy, fz) = 1;
                            group.push_back({fx, fy, fz});
                        }
                    }
                }
            }
}

void set_level_one(int ix, int iy, int iz)
{
    if (division_in_box(ix, iy, iz) && division_code(ix, iy, iz) == 0)
        division_code(ix, iy, iz) = 1;
}

// Corner rule: a flow corner element gives level 1 to the divisions beside its corner (not across it).
void corner_rule(const DivisionElements& E)
{
    // Corners as (high z, high y, high x) flags in the order of the rule.
    static constexpr bool CORNERS[8][3] = {{false, false, false}, {true, false, false}, {false, true, false},
                                           {true, true, false},   {false, false, true}, {true, false, true},
                                           {false, true, true},   {true, true, true}};
    const int x = E.ix, y = E.iy, z = E.iz;
    for (const auto& c : CORNERS) {
        const int ez = c[0] ? E.nz : 1, ey = c[1] ? E.ny : 1, ex = c[2] ? E.nx : 1;
        if (E.status(ex, ey, ez) != STATUS_FLOW)
            continue;
        const int sz = c[0] ? 1 : -1, sy = c[1] ? 1 : -1, sx = c[2] ? 1 : -1;
        set_level_one(x, y + sy, z);
        set_level_one(x + sx, y, z);
        set_level_one(x + sx, y + sy, z);
        set_level_one(x, y, z + sz);
        set_level_one(x, y + sy, z + sz);
        set_level_one(x + sx, y, z + sz);
    }
}

// Face rule: a face whose every element is cut with that face open gives level 1 across it.
void face_rule(const DivisionElements& E)
{
    const auto& SED = DIVISIONS.SURFACE_ELEMENT_DATA;
    for (int j = 1; j <= 6; ++j) {
        const int dx = E.ix + FACE_OFFSET[j - 1][0], dy = E.iy + FACE_OFFSET[j - 1][1],
                  dz = E.iz + FACE_OFFSET[j - 1][2];
        if (!division_in_box(dx, dy, dz))
            continue;
        const int axis = (j - 1) / 2;  // 0 x, 1 y, 2 z
        const bool high = (j % 2) == 0;
        bool passes = true;
        for (int ez = 1; ez <= E.nz && passes; ++ez)
            for (int ey = 1; ey <= E.ny && passes; ++ey)
                for (int ex = 1; ex <= E.nx && passes; ++ex) {
                    const int index[3] = {ex, ey, ez};
                    const int limit[3] = {E.nx, E.ny, E.nz};
                    if (index[axis] != (high ? limit[axis] : 1))
                        continue;
                    const int n = E.cut_number(ex, ey, ez);
                    passes = n > 0 && SED(j, n) != 1;
                }
        if (passes && division_code(dx, dy, dz) == 0)
            division_code(dx, dy, dz) = 1;
    }
}

// Surroundings: a division around this one that has a face neighbour at level 1 gets level 1.
void sweep_surroundings(const DivisionElements& E)
{
    static constexpr int FACE_ORDER[6] = {5, 6, 3, 4, 1, 2};  // low z, high z, low y, high y, low x, high x
    const auto& ND = DIVISIONS.NEIGHBOUR_DIVISIONS;
    for (int n = 1; n <= 26; ++n) {
        const int x = E.ix + ND(n, 1), y = E.iy + ND(n, 2), z = E.iz + ND(n, 3);
        if (!division_in_box(x, y, z) || division_code(x, y, z) != 0)
            continue;
        for (int j : FACE_ORDER) {
            const int fx = x + FACE_OFFSET[j - 1][0], fy = y + FACE_OFFSET[j - 1][1],
                      fz = z + FACE_OFFSET[j - 1][2];
            if (division_in_box(fx, fy, fz) && division_code(fx, fy, fz) == 1) {
                division_code(x, y, z) = 1;
                break;
            }
        }
    }
}

// Last: flow elements become status 0; an uncut one lies wholly in the flow.
void finish_flow_elements(const DivisionElements& E, int k)
{
    Divisions& D = DIVISIONS;
    for (int ez = 1; ez <= E.nz; ++ez)
        for (int ey = 1; ey <= E.ny; ++ey)
            for (int ex = 1; ex <= E.nx; ++ex) {
                if (E.status(ex, ey, ez) != STATUS_FLOW)
                    continue;
                E.status(ex, ey, ez) = STATUS_CUT;
                int& count = D.SUB_ELEMENTS_IN_FLOW(k, ez, ey, ex);
                if (count == 0)
                    count = D.SUB_ELEMENTS;
            }
}

// The eighteen face and edge neighbours of a division, as offsets (x, y, z).
constexpr int FACE_AND_EDGE[18][3] = {{-1, 0, 0}, {-1, 1, 0}, {0, 1, 0},   {1, 1, 0},  {1, 0, 0},
                                      {1, -1, 0}, {0, -1, 0}, {-1, -1, 0}, {0, 0, -1}, {-1, 0, -1},
                                      {0, 1, -1}, {1, 0, -1}, {0, -1, -1}, {0, 0, 1},  {-1, 0, 1},
                                      {0, 1, 1},  {1, 0, 1},  {0, -1, 1}};

}  // namespace

void analyse_elements()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    progress_stage("Analyse elements");
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                progress_advance(1.0f);
                if (D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) >= 0)
                    continue;
                for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
                    for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
                        for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex) {
                            if (D.SURFACE_ELEMENT_NUMBER(iz, iy, ix, ez, ey, ex) <= 0)
                                continue;
                            D.CURRENT_DIVISION_X = ix;
                            D.CURRENT_DIVISION_Y = iy;
                            D.CURRENT_DIVISION_Z = iz;
                            D.CURRENT_ELEMENT_X = ex;
                            D.CURRENT_ELEMENT_Y = ey;
                            D.CURRENT_ELEMENT_Z = ez;
                            ANALYSE_SURFACE_ELEMENT();
                        }
            }
}

void set_surface_divisions()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    progress_stage("Set surface divisions");
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                D.CURRENT_DIVISION_X = ix;
                D.CURRENT_DIVISION_Y = iy;
                D.CURRENT_DIVISION_Z = iz;
                progress_advance(0.1f);
                const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
                if (code >= 0)
                    continue;
                const DivisionElements E{ix, iy, iz};
                settle_cut_elements(E);
                flood_flow(E);
                settle_unreached_elements(E);
                corner_rule(E);
                face_rule(E);
                sweep_surroundings(E);
                finish_flow_elements(E, -code);
            }
}

void set_outer_divisions()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    progress_stage("Set outer divisions");
    int level = 2;
    for (;;) {
        int set = 0;
        for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
            for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
                for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                    D.CURRENT_DIVISION_X = ix;
                    D.CURRENT_DIVISION_Y = iy;
                    D.CURRENT_DIVISION_Z = iz;
                    progress_advance(0.03333f);
                    if (division_code(ix, iy, iz) != 0)
                        continue;
                    for (const auto& o : FACE_AND_EDGE) {
                        const int x = ix + o[0], y = iy + o[1], z = iz + o[2];
                        if (division_in_box(x, y, z) && division_code(x, y, z) == level - 1) {
                            division_code(ix, iy, iz) = level;
                            ++set;
                            break;
                        }
                    }
                }
        if (set == 0)
            break;
        ++level;
    }
    D.MAX_DIVISION_LEVEL = level - 1;
}

void log_total_flow_volume()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const double scale = B.SCALE_FACTOR;
    // The element volume in the units of the data: the scaling is undone here.
    const float ve = static_cast<float>(double(D.ELEMENT_WIDTH_X) * D.ELEMENT_WIDTH_Y * D.ELEMENT_WIDTH_Z /
                                        (scale * scale * scale));
    float sum = 0.0f;
    D.FLOW_DIVISION_COUNT = 0;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                const int code = division_code(ix, iy, iz);
                if (code > 0) {
                    ++D.FLOW_DIVISION_COUNT;
                    sum = static_cast<float>(double(sum) + double(D.ELEMENTS_IN_DIVISION) * ve);
                } else if (code < 0) {
                    for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
                        for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
                            for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex)
                                sum = static_cast<float>(double(sum) +
                                                         double(D.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex)) *
                                                             double(D.SUB_ELEMENT_FRACTION) * ve);
                }
            }
    write_list(UNIT_DIAG, {"Total Flow Volume is", sum});
}
