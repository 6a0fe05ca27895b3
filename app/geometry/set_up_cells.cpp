// SET_UP_CELLS: the computational cells of a new run. One node stands at the centroid of every solid
// triangle and one at the centre of every division without surface triangles; every element with flow
// in it joins the nearest node that it can see (no solid triangle between them). Also the two routines
// that cell adaption runs again: INDEX_CELLS_BY_DIVISION and COMBINE_ELEMENTS_INTO_CELLS.
#include "app/geometry/close_request.h"
#include "app/geometry/geometry.h"
#include "app/geometry/grid_pictures.h"
#include "app/geometry/locate.h"
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/random.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include <vector>

namespace {

constexpr int UNIT_NODES = 8;  // "NODES.TXT"

// The crossing fractions that hide a node: a solid triangle strictly between the point and the node.
bool hides(float f)
{
    return f > 0.0f && double(f) < double(0.999f);
}

// TRIANGLE row 5 marks of the neighbour test, cleared for every candidate by a new generation instead
// of a pass over all triangles; row 5 itself receives the marks of the last candidate at the end, as
// clearing and marking it directly would leave it.
struct TriangleMarks {
    std::vector<int> stamp;  // generation in which the triangle was last marked
    int generation = 0;

    void clear_all() { ++generation; }
    bool marked(int t) const { return stamp[t] == generation; }
    void mark(int t) { stamp[t] = generation; }
    void store_in_row_5() const
    {
        if (generation == 0)
            return;
        for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t)
            SURFACE.TRIANGLE(TRIANGLE_MARK, t) = marked(t) ? 1 : 0;
    }
};

// The element whose search is traced in the diagnostic log: z division 1, y division 6, x division 1,
// z element 4, y element 7, x element 2.
bool traced(int ix, int iy, int iz, int ex, int ey, int ez)
{
    return iz == 1 && iy == 6 && ix == 1 && ez == 4 && ey == 7 && ex == 2;
}

struct Search {
    int ix, iy, iz, ex, ey, ez;  // the element
    float lo[3], hi[3], centre[3];
    TriangleMarks& marks;
};

// Whether a solid triangle of surface division k hides node position n from point p (own division).
bool hidden_in_own_division(int k, const float p[3], const float d[3])
{
    const Divisions& D = DIVISIONS;
    const int start = D.SURFACE_INDEX(SURFACE_INDEX_START, k),
              count = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
    for (int m = start + 1; m <= start + count; ++m) {
        const int t = D.TOTAL_SURFACE_INDEX(m);
        if (SURFACE.TRIANGLE(TRIANGLE_KIND, t) <= 0)
            continue;
        float f = NO_CROSSING;
        PATH_CROSSES_TRIANGLE(t, p[0], p[1], p[2], d[0], d[1], d[2], f);
        if (hides(f))
            return true;
    }
    return false;
}

// Whether a solid triangle of the divisions between the element's division and neighbour n hides the
// node; each triangle is tried once for the candidate.
bool hidden_on_path(const Search& s, int n, const float p[3], const float d[3])
{
    const Divisions& D = DIVISIONS;
    const auto& PD = D.PATH_DIVISIONS;
    s.marks.clear_all();
    for (int e = 1; e <= 8; ++e) {
        if (PD(n, 1, e) == 10)
            break;
        // Column 1 runs along y and column 2 along x for the cell search.
        const int x = s.ix + PD(n, 2, e), y = s.iy + PD(n, 1, e), z = s.iz + PD(n, 3, e);
        if (x < 1 || x > BOX.DIVISIONS_X || y < 1 || y > BOX.DIVISIONS_Y || z < 1 || z > BOX.DIVISIONS_Z)
            continue;
        const int code = D.DIVISION_INFO(DIVISION_CODE, z, y, x);
        if (code >= 0)
            continue;
        const int start = D.SURFACE_INDEX(SURFACE_INDEX_START, -code);
        const int count = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, -code);
        for (int m = start + 1; m <= start + count; ++m) {
            const int t = D.TOTAL_SURFACE_INDEX(m);
            if (SURFACE.TRIANGLE(TRIANGLE_KIND, t) <= 0 || s.marks.marked(t))
                continue;
            s.marks.mark(t);
            float f = NO_CROSSING;
            PATH_CROSSES_TRIANGLE(t, p[0], p[1], p[2], d[0], d[1], d[2], f);
            if (hides(f))
                return true;
        }
    }
    return false;
}

// Distance squared from p to the node of cell c, and the displacement d from p to it.
float node_distance(int c, const float p[3], float d[3])
{
    const auto& CD = CELLS.CELL_DATA;
    for (int a = 0; a < 3; ++a)
        d[a] = static_cast<float>(double(CD(CELL_NODE_X + a, c)) - p[a]);
    return static_cast<float>(double(d[0]) * d[0] + double(d[1]) * d[1] + double(d[2]) * d[2]);
}

// One pass of the search from point p: the own division's nodes, then those of the 26 neighbours.
void search_pass(const Search& s, int pass, const float p[3], float& best, int& cell)
{
    const Divisions& D = DIVISIONS;
    const auto& ICELL = CELLS.ICELL;
    const int own_code = D.DIVISION_INFO(DIVISION_CODE, s.iz, s.iy, s.ix);
    const int own_start = D.DIVISION_INFO(DIVISION_NODE_START, s.iz, s.iy, s.ix);
    const int own_count = D.DIVISION_INFO(DIVISION_NODE_COUNT, s.iz, s.iy, s.ix);
    const bool trace = traced(s.ix, s.iy, s.iz, s.ex, s.ey, s.ez);
    float d[3];
    for (int k = 1; k <= own_count; ++k) {
        const int c = ICELL(ICELL_BY_DIVISION, own_start + k);
        const float d2 = node_distance(c, p, d);
        if (trace)
            write_list(UNIT_DIAG, {"Check node", k, " which is cell", c, " S is", d2});
        if (!(d2 < best) || pass > 5)
            continue;
        if (own_code < 0 && hidden_in_own_division(-own_code, p, d))
            continue;
        best = d2;
        cell = c;
    }
    const auto& ND = D.NEIGHBOUR_DIVISIONS;
    for (int n = 1; n <= 26; ++n) {
        const int x = s.ix + ND(n, 2), y = s.iy + ND(n, 1), z = s.iz + ND(n, 3);
        if (x < 1 || x > BOX.DIVISIONS_X || y < 1 || y > BOX.DIVISIONS_Y || z < 1 || z > BOX.DIVISIONS_Z)
            continue;
        const int start = D.DIVISION_INFO(DIVISION_NODE_START, z, y, x);
        const int count = D.DIVISION_INFO(DIVISION_NODE_COUNT, z, y, x);
        for (int k = 1; k <= count; ++k) {
            const int c = ICELL(ICELL_BY_DIVISION, start + k);
            const float d2 = node_distance(c, p, d);
            if (!(d2 < best) || pass > 9)
                continue;
            if (hidden_on_path(s, n, p, d))
                continue;
            best = d2;
            cell = c;
        }
    }
}

// The cell of an element: the nearest visible node from its centre, then from its eight corners, and
// at last the nearest node of all without a visibility test.
int find_element_cell(const Search& s, float d2max)
{
    float best = d2max;
    int cell = 0;
    float p[3] = {s.centre[0], s.centre[1], s.centre[2]};
    for (int pass = 1; pass <= 11; ++pass) {
        if (pass >= 2 && pass <= 9) {
            const int corner = pass - 2;  // bits: x high 4, y high 2, z high 1
            p[0] = (corner & 4) ? s.hi[0] : s.lo[0];
            p[1] = (corner & 2) ? s.hi[1] : s.lo[1];
            p[2] = (corner & 1) ? s.hi[2] : s.lo[2];
        }
        search_pass(s, pass, p, best, cell);
        if (cell != 0)
            return cell;
    }
    best = d2max;
    float d[3];
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        const float d2 = node_distance(c, s.centre, d);
        if (d2 < best) {
            best = d2;
            cell = c;
        }
    }
    return cell;
}

// The element joins cell c: its flow volume and its box go to the cell.
void give_element(const Search& s, int c)
{
    Divisions& D = DIVISIONS;
    auto& CD = CELLS.CELL_DATA;
    D.ELEMENT_CELL(s.iz, s.iy, s.ix, s.ez, s.ey, s.ex) = c;
    const int code = D.DIVISION_INFO(DIVISION_CODE, s.iz, s.iy, s.ix);
    double volume = D.ELEMENT_VOLUME;
    if (code < 0)
        volume = double(D.SUB_ELEMENTS_IN_FLOW(-code, s.ez, s.ey, s.ex)) * D.ELEMENT_VOLUME *
                 D.SUB_ELEMENT_FRACTION;
    CD(CELL_VOLUME, c) = static_cast<float>(double(CD(CELL_VOLUME, c)) + volume);
    const float width[3] = {D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z};
    for (int a = 0; a < 3; ++a) {
        const float low = static_cast<float>(double(s.centre[a]) - double(width[a]) / 2.0);
        const float high = static_cast<float>(double(s.centre[a]) + double(width[a]) / 2.0);
        if (low <= CD(CELL_LOW_X + 2 * a, c))
            CD(CELL_LOW_X + 2 * a, c) = low;
        if (high >= CD(CELL_HIGH_X + 2 * a, c))
            CD(CELL_HIGH_X + 2 * a, c) = high;
    }
}

// One node: stored in cell n and written to "NODES.TXT" in the units of the data.
void write_node(int n, float x, float y, float z)
{
    auto& CD = CELLS.CELL_DATA;
    CD(CELL_NODE_X, n) = x;
    CD(CELL_NODE_Y, n) = y;
    CD(CELL_NODE_Z, n) = z;
    CELLS.ICELL(ICELL_BY_DIVISION, n) = 0;
    const double scale = BOX.SCALE_FACTOR;
    write_list(UNIT_NODES, {"  POINT, X,Y,Z", n, static_cast<float>(x / scale), static_cast<float>(y / scale),
                            static_cast<float>(z / scale)});
}

// The cell arrays for MAX_CELLS cells.
void allocate_cells()
{
    Cells& C = CELLS;
    const int mc = C.MAX_CELLS;
    const char* line = "PROGRAM COULD NOT ALLOCATE CELL";
    if (!C.CELL_DATA.allocate(CELL_DATA_FIELDS, mc))
        allocation_stop(line, "CELL_DATA");
    if (!C.CELL_TIME.allocate(mc))
        allocation_stop(line, "CELL_TIME");
    if (!C.ICELL.allocate(3, mc))
        allocation_stop(line, "ICELL");
    if (!SAMPLES.CELL_SAMPLE.allocate(8 + GAS.MAX_VIB_MODES, mc, GAS.SPECIES_COUNT))
        allocation_stop(line, "CELL_SAMPLE");
    if (!SAMPLES.CELL_COLL_COUNT.allocate(mc))
        allocation_stop(line, "CELL_COLL_COUNT");
    if (!SAMPLES.CELL_SEP_SUM.allocate(mc))
        allocation_stop(line, "CELL_SEP_SUM");
    if (!C.IRCELL.allocate(RUN.INDEX_MODE == INDEX_CONTINUOUS ? mc : 1))
        allocation_stop(line, "IRCELL");
}

}  // namespace

// ICOL, the colour numbers of the cells picture: int(16 + 190 R), one uniform random number per cell in
// cell order. They are drawn whenever the cells are formed, so that the run's random sequence is the
// same whether or not the picture is looked at. Without memory for them the line is logged and the
// picture goes on with an empty table: every cell is then drawn in colour 0, and the random numbers are
// drawn all the same.
Array<int, 1> cell_colours()
{
    Array<int, 1> colours;
    const bool allocated = colours.allocate(CELLS.CELL_COUNT);
    if (!allocated)
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE ICOL"});
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        const int colour = static_cast<int>(16.0 + 190.0 * random_uniform());
        if (allocated)
            colours(c) = colour;
    }
    return colours;
}

void INDEX_CELLS_BY_DIVISION()
{
    Divisions& D = DIVISIONS;
    Cells& C = CELLS;
    const auto& B = BOX;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix)
                D.DIVISION_INFO(DIVISION_NODE_COUNT, iz, iy, ix) = 0;
    Array<int, 2> node_division;  // CELL_DIVISION_X, _Y, _Z as rows 1 to 3
    if (!node_division.allocate(3, C.CELL_COUNT))
        allocation_stop("PROGRAM COULD NOT ALLOCATE CELL DIVISIONS", "CELL_DIVISION_X");
    for (int n = 1; n <= C.CELL_COUNT; ++n) {
        const int ix =
            locate_detail::division_index(C.CELL_DATA(CELL_NODE_X, n), B.XMIN, D.BOX_EXTENT_X, B.DIVISIONS_X);
        const int iy =
            locate_detail::division_index(C.CELL_DATA(CELL_NODE_Y, n), B.YMIN, D.BOX_EXTENT_Y, B.DIVISIONS_Y);
        const int iz =
            locate_detail::division_index(C.CELL_DATA(CELL_NODE_Z, n), B.ZMIN, D.BOX_EXTENT_Z, B.DIVISIONS_Z);
        node_division(1, n) = ix;
        node_division(2, n) = iy;
        node_division(3, n) = iz;
        ++D.DIVISION_INFO(DIVISION_NODE_COUNT, iz, iy, ix);
    }
    int sum = 0;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                D.DIVISION_INFO(DIVISION_NODE_START, iz, iy, ix) = sum;
                sum += D.DIVISION_INFO(DIVISION_NODE_COUNT, iz, iy, ix);
                D.DIVISION_INFO(DIVISION_NODE_COUNT, iz, iy, ix) = 0;
            }
    for (int n = 1; n <= C.CELL_COUNT; ++n) {
        const int ix = node_division(1, n), iy = node_division(2, n), iz = node_division(3, n);
        const int count = ++D.DIVISION_INFO(DIVISION_NODE_COUNT, iz, iy, ix);
        C.ICELL(ICELL_BY_DIVISION, D.DIVISION_INFO(DIVISION_NODE_START, iz, iy, ix) + count) = n;
    }
}

void COMBINE_ELEMENTS_INTO_CELLS()
{
    Divisions& D = DIVISIONS;
    Cells& C = CELLS;
    const auto& B = BOX;
    auto& CD = C.CELL_DATA;
    for (int c = 1; c <= C.CELL_COUNT; ++c) {
        CD(CELL_VOLUME, c) = 0.0f;
        CD(CELL_FILL_FRACTION, c) = 0.0f;
        CD(CELL_LOW_X, c) = B.XMAX;
        CD(CELL_HIGH_X, c) = B.XMIN;
        CD(CELL_LOW_Y, c) = B.YMAX;
        CD(CELL_HIGH_Y, c) = B.YMIN;
        CD(CELL_LOW_Z, c) = B.ZMAX;
        CD(CELL_HIGH_Z, c) = B.ZMIN;
    }

    int range = D.ELEMENT_COUNT;
    float step = 1.0f;
    open_progress_dialog(IDD_CELLS_PROGRESS, range, step);
    progress_stage("Combining Elements to Form Cells");
    float progress = 0.0f;

    const double ex2 = D.BOX_EXTENT_X, ey2 = D.BOX_EXTENT_Y, ez2 = D.BOX_EXTENT_Z;
    const float d2max = static_cast<float>(ex2 * ex2 + ey2 * ey2 + ez2 * ez2);
    TriangleMarks marks;
    marks.stamp.assign(static_cast<std::size_t>(SURFACE.TRIANGLE_COUNT) + 1, 0);
    const float dw[3] = {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
    const float ew[3] = {D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z};
    const float cmin[3] = {B.XMIN, B.YMIN, B.ZMIN};

    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
                for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
                    for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
                        for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex) {
                            int& element_cell = D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex);
                            if (code < 0 && D.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex) == 0)
                                element_cell = -1;
                            progress = static_cast<float>(double(progress) + step);
                            WDialogPutProgressBar(IDC_PROGRESS_BAR, static_cast<int>(progress), 0);
                            if (element_cell != 0)
                                continue;
                            Search s{ix, iy, iz, ex, ey, ez, {}, {}, {}, marks};
                            const int division[3] = {ix, iy, iz}, element[3] = {ex, ey, ez};
                            for (int a = 0; a < 3; ++a) {
                                const double origin = double(cmin[a]) + double(division[a] - 1) * dw[a];
                                s.centre[a] = static_cast<float>(origin + (element[a] - 0.5) * double(ew[a]));
                                s.lo[a] = static_cast<float>(origin + double(element[a] - 1) * ew[a]);
                                s.hi[a] = static_cast<float>(origin + double(element[a]) * ew[a]);
                            }
                            give_element(s, find_element_cell(s, d2max));
                        }
            }
    marks.store_in_row_5();

    const double scale3 = double(B.SCALE_FACTOR) * B.SCALE_FACTOR * B.SCALE_FACTOR;
    for (int c = 1; c <= C.CELL_COUNT; ++c) {
        if (double(CD(CELL_VOLUME, c)) < double(0.001f) * D.ELEMENT_VOLUME)
            write_list(UNIT_DIAG,
                       {"Volume of cell", c, " is", static_cast<float>(CD(CELL_VOLUME, c) / scale3)});
        CD(CELL_FILL_FRACTION, c) = static_cast<float>(double(CD(CELL_VOLUME, c)) /
                                                       ((double(CD(CELL_HIGH_Y, c)) - CD(CELL_LOW_Y, c)) *
                                                        (double(CD(CELL_HIGH_X, c)) - CD(CELL_LOW_X, c)) *
                                                        (double(CD(CELL_HIGH_Z, c)) - CD(CELL_LOW_Z, c))));
    }
    WDialogUnload();
}

void SET_UP_CELLS()
{
    Divisions& D = DIVISIONS;
    Cells& C = CELLS;
    const auto& B = BOX;
    const auto& S = SURFACE;
    C.CELL_COUNT = D.FLOW_DIVISION_COUNT + S.SOLID_TRIANGLE_COUNT;
    C.MAX_CELLS = C.CELL_COUNT;
    // Without a solid triangle and without a division in the flow no node exists, and no element could
    // ever find a cell.
    if (C.CELL_COUNT < 1)
        fatal_stop("QR4TD.DAT, QR4SD.DAT: the case forms no cell: it has no solid triangle and no division "
                   "wholly in the flow (CELL_COUNT 0)");
    if (!D.ICHECK.allocate(8 * D.MNSEG))
        allocation_stop("PROGRAM COULD NOT ALLOCATE ICHECK", "ICHECK");
    allocate_cells();

    if (!unit_open(UNIT_NODES, "NODES.TXT", UnitMode::WRITE_TEXT))
        fatal_stop("NODES.TXT: the node list cannot be written");
    write_list(UNIT_NODES, {"SURFACE NODES"});
    int n = 0;
    const double third = double(0.333333f);
    for (int t = 1; t <= S.TRIANGLE_COUNT; ++t) {
        if (S.TRIANGLE(TRIANGLE_KIND, t) <= 0)
            continue;
        ++n;
        const int p1 = S.TRIANGLE(1, t), p2 = S.TRIANGLE(2, t), p3 = S.TRIANGLE(3, t);
        write_node(n, static_cast<float>((double(S.POINT_X(p1)) + S.POINT_X(p2) + S.POINT_X(p3)) * third),
                   static_cast<float>((double(S.POINT_Y(p1)) + S.POINT_Y(p2) + S.POINT_Y(p3)) * third),
                   static_cast<float>((double(S.POINT_Z(p1)) + S.POINT_Z(p2) + S.POINT_Z(p3)) * third));
    }
    write_list(UNIT_DIAG, {" NUMBER OF SURFACE POINTS IS", n});
    write_list(UNIT_NODES, {"INTERIOR DIVISION NODES"});
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                if (D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) <= 0)
                    continue;
                ++n;
                write_node(n, static_cast<float>(double(B.XMIN) + (ix - 0.5) * double(D.DIVISION_WIDTH_X)),
                           static_cast<float>(double(B.YMIN) + (iy - 0.5) * double(D.DIVISION_WIDTH_Y)),
                           static_cast<float>(double(B.ZMIN) + (iz - 0.5) * double(D.DIVISION_WIDTH_Z)));
                for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
                    for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
                        for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex)
                            D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex) = 0;
            }
    // The node list is complete: it is closed here so that it is on disk while the run goes on.
    unit_close(UNIT_NODES);
    write_list(UNIT_DIAG, {" TOTAL NUMBER OF CELLS IS", C.CELL_COUNT});

    INDEX_CELLS_BY_DIVISION();
    COMBINE_ELEMENTS_INTO_CELLS();

    write_list(UNIT_DIAG, {"CALLING GRAPHICS"});
    DRAW_CELLS();
    poll_close_request();

    log_flow_volume_from_cells();
}

void log_flow_volume_from_cells()
{
    float sum = 0.0f;
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        sum = static_cast<float>(double(sum) + CELLS.CELL_DATA(CELL_VOLUME, c));
    const double scale = BOX.SCALE_FACTOR;
    write_list(UNIT_DIAG,
               {"Total flow volume from cells", static_cast<float>(sum / (scale * scale * scale))});
}
