// ADAPT_CELLS: the cells of a continued run re-made so that each holds about MPC simulated molecules.
// Each division is given a number of cells from the sampled number density of its old cells and its
// flow volume (the remainder carried on from division to division); the nodes are placed at element
// centres, in the deepest layer of free elements and with a probability that follows the sampled
// density; the elements are then joined to the new nodes and the molecules moved into the new cells.
#include "app/geometry/geometry.h"
#include "app/geometry/grid_pictures.h"
#include "app/geometry/locate.h"
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/random.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr int MARK_FREE = -1;  // ELEMENT_MARK: free for a node
constexpr int MARK_NODE = 0;   // holds a node
constexpr int MARK_UNAVAILABLE = 1000000;
constexpr int PASS_LIMIT = 1000;  // labelling passes of one placement cycle
constexpr int TRY_LIMIT = 1000;   // tries before a candidate is taken regardless

// The nodes placed so far (XNCL, YNCL, ZNCL) with their capacity MAX_CELLS.
struct Nodes {
    Array<float, 1> x, y, z;
};

// EXTEND_XNCL: room for 10 % more nodes, and always for at least one more (a capacity below 10 would
// not grow by 10 %).
void EXTEND_XNCL(Nodes& nodes)
{
    Cells& C = CELLS;
    const int old = C.MAX_CELLS;
    Nodes grown;
    // Clamped to the 4-byte range before the conversion; a store already at its top cannot grow.
    int capacity = static_cast<int>(std::min(double(old) * double(1.1f), double(INT32_MAX)));
    if (capacity <= old && old < INT32_MAX)
        capacity = old + 1;
    if (capacity <= old || !grown.x.allocate(capacity) || !grown.y.allocate(capacity) ||
        !grown.z.allocate(capacity))
        allocation_stop("PROGRAM COULD NOT REALLOCATE XNCL", "XNCL");
    for (int n = 1; n <= old; ++n) {
        grown.x(n) = nodes.x(n);
        grown.y(n) = nodes.y(n);
        grown.z(n) = nodes.z(n);
    }
    nodes = std::move(grown);
    C.MAX_CELLS = capacity;
    write_list(UNIT_DIAG, {"XNCL,YNCL,ZNCL extended to", C.MAX_CELLS});
}

// A new node number (CELL_COUNT), with room made for it.
int take_node(Nodes& nodes)
{
    Cells& C = CELLS;
    C.CELL_COUNT += 1;
    if (C.CELL_COUNT > C.MAX_CELLS)
        EXTEND_XNCL(nodes);
    return C.CELL_COUNT;
}

void store_node(Nodes& nodes, int n, float x, float y, float z)
{
    nodes.x(n) = x;
    nodes.y(n) = y;
    nodes.z(n) = z;
}

float element_centre(float cmin, int division, float division_width, int element, float element_width)
{
    return static_cast<float>(double(cmin) + double(division - 1) * division_width +
                              (element - 0.5) * double(element_width));
}

void add_node_at_element(Nodes& nodes, int n, int ix, int iy, int iz, int ex, int ey, int ez)
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    store_node(nodes, n, element_centre(B.XMIN, ix, D.DIVISION_WIDTH_X, ex, D.ELEMENT_WIDTH_X),
               element_centre(B.YMIN, iy, D.DIVISION_WIDTH_Y, ey, D.ELEMENT_WIDTH_Y),
               element_centre(B.ZMIN, iz, D.DIVISION_WIDTH_Z, ez, D.ELEMENT_WIDTH_Z));
}

void add_node_at_division(Nodes& nodes, int ix, int iy, int iz)
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const int n = take_node(nodes);
    store_node(nodes, n, static_cast<float>(double(B.XMIN) + (ix - 0.5) * double(D.DIVISION_WIDTH_X)),
               static_cast<float>(double(B.YMIN) + (iy - 0.5) * double(D.DIVISION_WIDTH_Y)),
               static_cast<float>(double(B.ZMIN) + (iz - 0.5) * double(D.DIVISION_WIDTH_Z)));
}

// The survey of one division: expected molecules S, highest sampled density DMAX, available elements.
struct Survey {
    float expected = 0.0f;  // S
    float dmax = 0.0f;      // DMAX
    int avail = 0;          // AVAIL
    bool remembered = false;
    int rx = 0, ry = 0, rz = 0;  // the remembered element
};

Survey survey_division(int ix, int iy, int iz, Array<int, 3>& mark)
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const auto& VAR = RESULTS.VAR;
    const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
    const double molecules_per_density = double(B.SCALE_FACTOR) * B.SCALE_FACTOR * B.SCALE_FACTOR * RUN.FNUM;
    Survey s;
    mark.fill(MARK_FREE);
    for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
        for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
            for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex) {
                s.remembered = false;
                const int cn = D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex);
                if (cn < 1) {
                    mark(ez, ey, ex) = MARK_UNAVAILABLE;
                    continue;
                }
                double volume = D.ELEMENT_VOLUME;
                if (code > 0) {
                    s.avail = D.ELEMENTS_IN_DIVISION;
                } else {
                    const int in_flow = D.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex);
                    volume = double(in_flow) * D.ELEMENT_VOLUME * D.SUB_ELEMENT_FRACTION;
                    if (in_flow == D.SUB_ELEMENTS) {
                        ++s.avail;
                        s.remembered = true;
                        s.rx = ex;
                        s.ry = ey;
                        s.rz = ez;
                    } else {
                        mark(ez, ey, ex) = MARK_UNAVAILABLE;
                    }
                }
                s.expected = static_cast<float>(double(s.expected) + double(VAR(VAR_NUMBER_DENSITY, cn)) *
                                                                         volume / molecules_per_density);
                if (VAR(VAR_DENSITY, cn) > s.dmax)
                    s.dmax = VAR(VAR_DENSITY, cn);
            }
    return s;
}

// One cycle of the layered placement: the free elements are labelled by their distance from the
// division's faces; one node goes to the deepest layer, at an element drawn at random and accepted with
// the probability of its sampled density relative to DMAX.
void place_in_deepest_layer(Nodes& nodes, int ix, int iy, int iz, const Survey& s, Array<int, 3>& mark,
                            Array<int, 2>& layer)
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const int nx = B.ELEMENTS_PER_DIVISION_X, ny = B.ELEMENTS_PER_DIVISION_Y, nz = B.ELEMENTS_PER_DIVISION_Z;
    int free_count = 0;
    for (int& m : mark)
        if (m != MARK_NODE && m != MARK_UNAVAILABLE) {
            m = MARK_FREE;
            ++free_count;
        }
    int layer_size = 0;  // M
    for (int pass = 1; pass <= PASS_LIMIT && free_count > 0; ++pass) {
        layer_size = 0;
        for (int ez = 1; ez <= nz; ++ez)
            for (int ey = 1; ey <= ny; ++ey)
                for (int ex = 1; ex <= nx; ++ex) {
                    if (mark(ez, ey, ex) != MARK_FREE)
                        continue;
                    bool labelled = false;
                    if (pass == 1) {
                        labelled = ez == 1 || ez == nz || ey == 1 || ey == ny || ex == 1 || ex == nx;
                    } else {
                        const auto& ND = D.NEIGHBOUR_DIVISIONS;
                        for (int k = 1; k <= 26 && !labelled; ++k) {
                            const int x = ex + ND(k, 1), y = ey + ND(k, 2), z = ez + ND(k, 3);
                            labelled = x >= 1 && x <= nx && y >= 1 && y <= ny && z >= 1 && z <= nz &&
                                       mark(z, y, x) == pass - 1;
                        }
                    }
                    if (!labelled)
                        continue;
                    mark(ez, ey, ex) = pass;
                    --free_count;
                    ++layer_size;
                    layer(layer_size, 1) = ex;
                    layer(layer_size, 2) = ey;
                    layer(layer_size, 3) = ez;
                }
    }
    // A free element that no chain of free elements joins to a face leaves the cycle without a node;
    // without any free element the deepest layer is empty and no node is placed either.
    if (free_count > 0 || layer_size == 0)
        return;
    const int n = take_node(nodes);
    for (int t = 1;; ++t) {
        int i = static_cast<int>(random_uniform() * layer_size + 1.0);
        if (i > layer_size)
            i = layer_size;
        const int ex = layer(i, 1), ey = layer(i, 2), ez = layer(i, 3);
        const int cn = D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex);
        const float p =
            cn >= 1 ? static_cast<float>(double(RESULTS.VAR(VAR_DENSITY, cn)) / double(s.dmax)) : 1.0f;
        const double r2 = random_uniform();
        if (t > TRY_LIMIT || double(p) > r2) {
            add_node_at_element(nodes, n, ix, iy, iz, ex, ey, ez);
            mark(ez, ey, ex) = MARK_NODE;
            return;
        }
    }
}

// Node placement in one division: its number of cells and their nodes.
void place_division_nodes(Nodes& nodes, int ix, int iy, int iz, int mpc, float& remainder,
                          Array<int, 3>& dediv, Array<int, 3>& mark, Array<int, 2>& layer)
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
    const Survey s = survey_division(ix, iy, iz, mark);

    const float total = static_cast<float>(double(s.expected) / mpc + double(remainder));
    int count = static_cast<int>(total);
    remainder = static_cast<float>(double(total) - count);
    if (count > s.avail)
        count = s.avail;
    dediv(iz, iy, ix) = count;

    if (count == s.avail && s.avail > 0) {
        for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
            for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
                for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex)
                    if (code > 0 || D.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex) == D.SUB_ELEMENTS)
                        add_node_at_element(nodes, take_node(nodes), ix, iy, iz, ex, ey, ez);
    } else if (count > 0) {
        for (int c = 1; c <= count; ++c)
            place_in_deepest_layer(nodes, ix, iy, iz, s, mark, layer);
    } else if (code < 0 && s.remembered) {
        dediv(iz, iy, ix) = 1;
        add_node_at_element(nodes, take_node(nodes), ix, iy, iz, s.rx, s.ry, s.rz);
    }
}

// The cell arrays and the results for the new cells, zeroed.
void replace_cell_arrays()
{
    Cells& C = CELLS;
    const int mc = C.MAX_CELLS;
    C.CELL_DATA.deallocate();
    C.ICELL.deallocate();
    C.CELL_TIME.deallocate();
    C.IRCELL.deallocate();
    SAMPLES.CELL_SAMPLE.deallocate();
    SAMPLES.CELL_COLL_COUNT.deallocate();
    SAMPLES.CELL_SEP_SUM.deallocate();
    RESULTS.VAR.deallocate();
    RESULTS.SPECIES_VAR.deallocate();
    const char* line = "PROGRAM COULD NOT ALLOCATE NEW CELLS";
    const int species = GAS.SPECIES_COUNT;
    if (!C.CELL_DATA.allocate(CELL_DATA_FIELDS, mc) || !C.CELL_TIME.allocate(mc) ||
        !C.ICELL.allocate(3, mc) || !SAMPLES.CELL_SAMPLE.allocate(8 + GAS.MAX_VIB_MODES, mc, species) ||
        !C.IRCELL.allocate(RUN.INDEX_MODE == INDEX_CONTINUOUS ? mc : 1) ||
        !SAMPLES.CELL_COLL_COUNT.allocate(mc) || !SAMPLES.CELL_SEP_SUM.allocate(mc) ||
        !RESULTS.VAR.allocate(17 + species, mc) || !RESULTS.SPECIES_VAR.allocate(11, mc, species))
        allocation_stop(line, "CELL_DATA");
}

// The cell of the node nearest to a point, for a molecule that lies in an element without a new cell.
int nearest_cell(float x, float y, float z)
{
    const auto& CD = CELLS.CELL_DATA;
    int cell = 1;
    double best = std::numeric_limits<double>::infinity();
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        const double dx = double(CD(CELL_NODE_X, c)) - x, dy = double(CD(CELL_NODE_Y, c)) - y,
                     dz = double(CD(CELL_NODE_Z, c)) - z;
        const double d2 = dx * dx + dy * dy + dz * dz;
        if (d2 < best) {
            best = d2;
            cell = c;
        }
    }
    return cell;
}

// The target number of molecules per cell. The field's range refuses a number below 1, which
// would divide by zero below; a toolkit that hands one back all the same stops the run here.
int ask_molecules_per_cell()
{
    WDialogLoad(IDD_CELL_SIZE);
    WDialogSelect(IDD_CELL_SIZE);
    WDialogRangeInteger(IDC_CELL_SIZE_MPC, 1, std::numeric_limits<int>::max());
    WDialogShow(-1, -1, 0, 1);
    int mpc = 0;
    WDialogGetInteger(IDC_CELL_SIZE_MPC, mpc);
    WDialogUnload();
    if (mpc < 1)
        fatal_stop(
            "Dialog 144 \"Set the Cell Size\": the number of molecules per cell must be at least 1, not " +
            std::to_string(mpc));
    return mpc;
}

}  // namespace

void ADAPT_CELLS()
{
    Divisions& D = DIVISIONS;
    Cells& C = CELLS;
    const auto& B = BOX;
    Array<int, 3> dediv, mark;
    Array<int, 2> layer;
    if (!dediv.allocate(B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X) ||
        !mark.allocate(B.ELEMENTS_PER_DIVISION_Z, B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X) ||
        !layer.allocate(D.ELEMENTS_IN_DIVISION, 3))
        allocation_stop("PROGRAM COULD NOT ALLOCATE DEDIV", "DEDIV");

    const int mpc = ask_molecules_per_cell();
    write_list(UNIT_DIAG, {"CELLS BEFORE ADAPTION", C.CELL_COUNT});

    C.CELL_COUNT = 0;
    C.MAX_CELLS = static_cast<int>(std::min(double(MOLECULES.NM) * double(1.1f) / mpc, double(INT32_MAX)));
    Nodes nodes;
    if (!nodes.x.allocate(C.MAX_CELLS) || !nodes.y.allocate(C.MAX_CELLS) || !nodes.z.allocate(C.MAX_CELLS))
        allocation_stop("PROGRAM COULD NOT ALLOCATE XNCL", "XNCL");

    int steps = D.DIVISION_COUNT;
    float increment = 1.0f;
    open_progress_dialog(IDD_CELLS_PROGRESS, steps, increment);
    progress_stage("Setting Locations of Cell Nodes");
    float progress = 0.0f;
    float remainder = 0.0f;

    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                progress = static_cast<float>(double(progress) + increment);
                WDialogPutProgressBar(IDC_PROGRESS_BAR, static_cast<int>(progress), 0);
                if (D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) == 0)
                    continue;
                place_division_nodes(nodes, ix, iy, iz, mpc, remainder, dediv, mark, layer);
            }

    // Lone divisions: a flow division without a cell and without a neighbour holding one gets a node at
    // its centre.
    const auto& ND = D.NEIGHBOUR_DIVISIONS;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                if (D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) == 0 || dediv(iz, iy, ix) != 0)
                    continue;
                bool neighbour_has_cell = false;
                for (int k = 1; k <= 26 && !neighbour_has_cell; ++k) {
                    const int x = ix + ND(k, 1), y = iy + ND(k, 2), z = iz + ND(k, 3);
                    neighbour_has_cell = x >= 1 && x <= B.DIVISIONS_X && y >= 1 && y <= B.DIVISIONS_Y &&
                                         z >= 1 && z <= B.DIVISIONS_Z && dediv(z, y, x) > 0;
                }
                if (neighbour_has_cell)
                    continue;
                dediv(iz, iy, ix) = 1;
                add_node_at_division(nodes, ix, iy, iz);
            }

    write_list(UNIT_DIAG, {C.CELL_COUNT, " after adaption"});
    if (C.CELL_COUNT < 1)
        fatal_stop("ADAPT_CELLS: no cell node could be placed (no division with flow); the restart set holds "
                   "no usable divisions");
    C.MAX_CELLS = C.CELL_COUNT;

    replace_cell_arrays();
    const auto& G = GAS;
    for (int n = 1; n <= C.CELL_COUNT; ++n) {
        C.CELL_DATA(CELL_NODE_X, n) = nodes.x(n);
        C.CELL_DATA(CELL_NODE_Y, n) = nodes.y(n);
        C.CELL_DATA(CELL_NODE_Z, n) = nodes.z(n);
        C.CELL_TIME(n) = RUN.TIME;
        C.CELL_DATA(CELL_REMAINDER, n) = 0.0f;
        C.CELL_DATA(CELL_TIME_STEP, n) = static_cast<float>(2.0 * double(RUN.DTM));
        C.CELL_DATA(CELL_SIGMA_CR_MAX, n) =
            static_cast<float>(2.0 * double(G.MAX_SPECIES_VMP) * double(G.SPECIES_PAIR_DATA(2, 1, 1)));
    }
    write_list(UNIT_DIAG, {C.CELL_COUNT, " adapted cells have been set"});

    INDEX_CELLS_BY_DIVISION();
    for (int& e : D.ELEMENT_CELL)
        if (e > 0)
            e = 0;
    COMBINE_ELEMENTS_INTO_CELLS();
    DRAW_CELLS();

    log_flow_volume_from_cells();

    // Relocation. A molecule in an element without a new cell (inside a body, or in an element that
    // lost all its flow) is logged and then given the cell of the nearest node, so that no cell number
    // of the old cells stays in IP row 2.
    auto& M = MOLECULES;
    for (int m = 1; m <= M.NM; ++m) {
        const float x = M.MOL_POS(1, m), y = M.MOL_POS(2, m), z = M.MOL_POS(3, m);
        int cn = 0;
        FIND_CELL(cn, x, y, z);
        if (cn < 1 || cn > C.MAX_CELLS) {
            write_list(UNIT_DIAG, {"Mol", m, " out of cell range at x,y,z", x, y, z});
            cn = nearest_cell(x, y, z);
        }
        M.IP(IP_CELL, m) = cn;
    }
    // The move's counts of passes to skip were made for the old cells' steps.
    M.MOL_SKIP.deallocate();
    // The new sample and, with continuous indexing, the cell lists of the new cells are the kernel's:
    // the caller starts them (continued_run, through RUN_PHASES).
}
