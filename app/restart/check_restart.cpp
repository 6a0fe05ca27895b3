// The numbers of a restored state that later steps use as subscripts: corner, triangle, species, cell,
// reaction and list numbers. A damaged restart set can hold any value there, and the kernel, the
// geometry and the displays index with them unchecked, so the reader refuses a set whose numbers leave
// their ranges, naming the file, the array element and the value.
#include "app/restart/restart_check.h"

#include "app/restart/restart_items.h"
#include "base/fatal.h"

#include <string>

namespace {

// Stops unless low <= value <= high.
void in_range(int value, int low, int high, int file, const std::string& element)
{
    if (value < low || value > high)
        fatal_stop(std::string("Restart file ") + RESTART_FILE_NAME[file] + ": " + element + " = " +
                   std::to_string(value) + " lies outside " + std::to_string(low) + " to " +
                   std::to_string(high));
}

std::string at(const char* array, int i)
{
    return std::string(array) + "(" + std::to_string(i) + ")";
}

std::string at(const char* array, int i, int j)
{
    return std::string(array) + "(" + std::to_string(i) + ", " + std::to_string(j) + ")";
}

std::string at(const char* array, int i, int j, int k)
{
    return std::string(array) + "(" + std::to_string(i) + ", " + std::to_string(j) + ", " +
           std::to_string(k) + ")";
}

void check_surfaces()
{
    const auto& S = SURFACE;
    const int F = FILE_RUN_STATE;
    for (int t = 1; t <= S.TRIANGLE_COUNT; ++t) {
        for (int c = 1; c <= 3; ++c)
            in_range(S.TRIANGLE(c, t), 1, S.POINT_COUNT, F, at("TRIANGLE", c, t));
        int kind = S.TRIANGLE(TRIANGLE_KIND, t);
        if (kind == 0)
            in_range(kind, 1, S.SOLID_TRIANGLE_COUNT, F, at("TRIANGLE", TRIANGLE_KIND, t));
        in_range(kind, -S.ENTRY_TRIANGLE_COUNT, S.SOLID_TRIANGLE_COUNT, F, at("TRIANGLE", TRIANGLE_KIND, t));
        in_range(S.TRIANGLE_SURFACE(t), 1, S.SURFACE_COUNT, F, at("TRIANGLE_SURFACE", t));
    }
    for (int k = 1; k <= S.SOLID_TRIANGLE_COUNT; ++k)
        in_range(S.SOLID_TRIANGLE(1, k), 1, S.TRIANGLE_COUNT, F, at("SOLID_TRIANGLE", 1, k));
    for (int e = 1; e <= S.ENTRY_TRIANGLE_COUNT; ++e)
        in_range(S.ENTRY_TRIANGLE(e), 1, S.TRIANGLE_COUNT, F, at("ENTRY_TRIANGLE", e));
    for (int n = 1; n <= S.SURFACE_COUNT; ++n) {
        in_range(S.SURFACE_FIRST_TRIANGLE(n), 0, S.TRIANGLE_COUNT, F, at("SURFACE_FIRST_TRIANGLE", n));
        in_range(S.SURFACE_TRIANGLE_COUNT(n), 0, S.TRIANGLE_COUNT - S.SURFACE_FIRST_TRIANGLE(n), F,
                 at("SURFACE_TRIANGLE_COUNT", n));
    }
}

void check_gas()
{
    const auto& G = GAS;
    const int F = FILE_RUN_STATE;
    const int NS = G.SPECIES_COUNT;
    for (int K = 1; K <= BOX_SIDES; ++K)
        in_range(BOX.BOUNDARY_CODE(K), BOUNDARY_AXIS, BOUNDARY_MOVING_WALL, F, at("BOUNDARY_CODE", K));
    if (G.MAX_VIB_MODES > 0) {
        for (int L = 1; L <= NS; ++L)
            in_range(G.VIB_MODE_COUNT(L), 0, G.MAX_VIB_MODES, F, at("VIB_MODE_COUNT", L));
    }
    for (int N = 1; N <= G.GAS_REACTIONS; ++N) {
        for (int i = 1; i <= 2; ++i) {
            in_range(G.REACTION_REACTANTS(i, N), 1, NS, F, at("REACTION_REACTANTS", i, N));
            in_range(G.REACTION_PRODUCT_COUNT(i, N), 0, 2, F, at("REACTION_PRODUCT_COUNT", i, N));
            for (int j = 1; j <= G.REACTION_PRODUCT_COUNT(i, N); ++j)
                in_range(G.REACTION_PRODUCTS(i, N, j), 1, NS, F, at("REACTION_PRODUCTS", i, N, j));
        }
        // A recombination keeps its third body in (2, N, 1): a species, or minus a third-body table.
        if (G.REACTION_PRODUCT_COUNT(2, N) == 0)
            in_range(G.REACTION_PRODUCTS(2, N, 1), -G.THIRD_BODY_TABLES, NS, F,
                     at("REACTION_PRODUCTS", 2, N, 1));
    }
    if (G.GAS_REACTIONS > 0) {
        for (int i = 1; i <= NS; ++i) {
            for (int j = 1; j <= NS; ++j) {
                int count = G.REACTION_PAIR_COUNT(i, j);
                in_range(count, 0, G.GAS_REACTIONS, F, at("REACTION_PAIR_COUNT", i, j));
                for (int k = 1; k <= count; ++k)
                    in_range(G.REACTION_PAIR_LIST(k, i, j), 1, G.GAS_REACTIONS, F,
                             at("REACTION_PAIR_LIST", k, i, j));
            }
        }
    }
    for (int N = 1; N <= G.SURFACE_REACTIONS; ++N) {
        in_range(G.SURF_REACTANTS(1, N), 1, NS, F, at("SURF_REACTANTS", 1, N));
        in_range(G.SURF_REACTANTS(2, N), -2147483647, NS, F, at("SURF_REACTANTS", 2, N));
        for (int i = 1; i <= 6; ++i)
            in_range(G.SURF_REACTION_PRODUCTS(i, N), -2147483647, NS, F, at("SURF_REACTION_PRODUCTS", i, N));
    }
    if (G.SURFACE_REACTIONS > 0) {
        for (int L = 1; L <= NS; ++L) {
            int count = G.SURF_REACTION_SPECIES_COUNT(L);
            in_range(count, 0, G.SURFACE_REACTIONS, F, at("SURF_REACTION_SPECIES_COUNT", L));
            for (int k = 1; k <= count; ++k)
                in_range(G.SURF_REACTION_SPECIES_LIST(k, L), 1, G.SURFACE_REACTIONS, F,
                         at("SURF_REACTION_SPECIES_LIST", k, L));
        }
    }
}

void check_divisions()
{
    const auto& D = DIVISIONS;
    const auto& B = BOX;
    const int cells = CELLS.CELL_COUNT;
    for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy) {
            for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz) {
                // A surface division holds minus its number; the code is compared as it is, since
                // negating the lowest 4-byte integer overflows.
                int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
                if (code < 0)
                    in_range(code, -D.SURFACE_DIVISION_COUNT, -1, FILE_RUN_STATE,
                             "DIVISION_INFO(1, " + std::to_string(iz) + ", " + std::to_string(iy) + ", " +
                                 std::to_string(ix) + ")");
            }
        }
    }
    // Every element's cell, or a value below 1 for an element without a cell.
    for (std::size_t i = 0; i < D.ELEMENT_CELL.size(); ++i) {
        if (D.ELEMENT_CELL.data()[i] > cells)
            in_range(D.ELEMENT_CELL.data()[i], -2147483647, cells, FILE_ELEMENTS,
                     "ELEMENT_CELL element " + std::to_string(i + 1));
    }
    for (int k = 1; k <= D.SURFACE_DIVISION_COUNT; ++k) {
        int count = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
        int start = D.SURFACE_INDEX(SURFACE_INDEX_START, k);
        in_range(start, 0, D.TOTAL_SURFACE_INDEX_SIZE, FILE_RUN_STATE, at("SURFACE_INDEX", 2, k));
        in_range(count, 0, D.TOTAL_SURFACE_INDEX_SIZE - start, FILE_RUN_STATE, at("SURFACE_INDEX", 1, k));
    }
    for (int i = 1; i <= D.TOTAL_SURFACE_INDEX_SIZE; ++i)
        in_range(D.TOTAL_SURFACE_INDEX(i), 1, SURFACE.TRIANGLE_COUNT, FILE_RUN_STATE,
                 at("TOTAL_SURFACE_INDEX", i));
}

void check_molecules()
{
    const auto& M = MOLECULES;
    const int cells = CELLS.CELL_COUNT;
    for (int m = 1; m <= M.NM; ++m) {
        // The cell, negated while a recombination marks the molecule.
        int cell = M.IP(IP_CELL, m);
        if (cell == 0 || cell < -cells || cell > cells)
            in_range(cell, 1, cells, FILE_MOLS_IP, at("IP", IP_CELL, m));
        if (M.IP_ROWS == 3)
            in_range(M.IP(IP_SPECIES, m), 1, GAS.SPECIES_COUNT, FILE_MOLS_IP, at("IP", IP_SPECIES, m));
    }
    if (RUN.INDEX_MODE != INDEX_CONTINUOUS)
        return;
    // Continuous indexing: each cell's group of XREF lies inside the list, holds no more molecules
    // than its room, and names molecules in use; each molecule's place lies inside the list.
    const auto& C = CELLS;
    for (int K = 1; K <= cells; ++K) {
        int start = C.ICELL(ICELL_START, K);
        int room = C.IRCELL(K);
        in_range(start, 0, RUN.XREF_SIZE, FILE_CELLS, at("ICELL", ICELL_START, K));
        in_range(room, 0, RUN.XREF_SIZE - start, FILE_RUN_STATE, at("IRCELL", K));
        in_range(C.ICELL(ICELL_COUNT, K), 0, room, FILE_CELLS, at("ICELL", ICELL_COUNT, K));
        for (int n = 1; n <= C.ICELL(ICELL_COUNT, K); ++n)
            in_range(M.XREF(start + n), 1, M.NM, FILE_XREF, at("XREF", start + n));
    }
    for (int m = 1; m <= M.NM; ++m)
        in_range(M.IP(IP_PLACE, m), 1, RUN.XREF_SIZE, FILE_MOLS_IP, at("IP", IP_PLACE, m));
}

}  // namespace

void check_restored_state()
{
    check_surfaces();
    check_gas();
    check_divisions();
    check_molecules();
}
