// The store renumbered in cell order: the same molecules with all their data, the index still right,
// and each cell's molecules in their former relative order.
#include "app/kernel/cell_order.h"

#include "app/kernel/cell_index.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Everything the store holds of one molecule, made from its number n before the renumbering, so that
// a column left behind shows as a mismatch with the molecule's identity MOL_POS(1).
using Molecule = std::tuple<float, float, float, float, float, float, float, int, int, double, int, int, int>;

Molecule molecule_at(int n)
{
    const auto& M = MOLECULES;
    const int modes = GAS.MAX_VIB_MODES;
    return {M.MOL_POS(1, n),
            M.MOL_POS(2, n),
            M.MOL_POS(3, n),
            M.PV(1, n),
            M.PV(2, n),
            M.PV(3, n),
            M.PV_ROWS == 4 ? M.PV(PV_ROTATION, n) : 0.0f,
            M.IP(IP_CELL, n),
            molecule_species(n),
            M.MOL_TIME(n),
            modes > 0 ? M.MOL_VIB_LEVEL(1, n) : 0,
            modes > 1 ? M.MOL_VIB_LEVEL(2, n) : 0,
            M.MOL_SKIP.size() > 0 ? M.MOL_SKIP(n) : 0};
}

// NM molecules over `cells` cells in a scattered order (cell 1 + (37 n mod cells): with more than 64
// cells, neighbours in a list lie further apart than cell_order_share counts as in order; every 29th one
// negated as a recombination mark), every column a distinct function of n.
void fill_scattered(int NM, int cells, bool skips)
{
    auto& M = MOLECULES;
    if (skips)
        M.MOL_SKIP.allocate(RUN.MNM);
    for (int n = 1; n <= NM; ++n) {
        const int K = 1 + (37 * n) % cells;
        M.MOL_POS(1, n) = float(n), M.MOL_POS(2, n) = n + 0.25f, M.MOL_POS(3, n) = n + 0.5f;
        for (int i = 1; i <= M.PV_ROWS; ++i)
            M.PV(i, n) = float(100 * i + n);
        M.IP(IP_CELL, n) = n % 29 == 0 ? -K : K;
        set_molecule_species(n, 1 + n % 2);
        M.MOL_TIME(n) = 1e-3 * n;
        for (int i = 1; i <= GAS.MAX_VIB_MODES; ++i)
            M.MOL_VIB_LEVEL(i, n) = static_cast<int8_t>((n + i) % 100);
        if (skips)
            M.MOL_SKIP(n) = static_cast<uint8_t>(n % 251);
    }
    M.NM = NM;
}

// Store shapes: vibrational modes, PV rows, IP rows, MOL_SKIP present.
struct Shape {
    int modes, pv_rows, ip_rows;
    bool skips;
};
const Shape SHAPES[] = {{0, 3, 2, false}, {2, 4, 3, true}, {1, 3, 3, false}, {0, 4, 2, true}};

TEST(CellOrder, RenumberingKeepsEveryMoleculeWholeAndTheIndexRight)
{
    DiagLog log;
    constexpr int NM = 1000, CELLS_USED = 101;
    for (const Shape& s : SHAPES) {
        SCOPED_TRACE("modes " + std::to_string(s.modes) + ", PV rows " + std::to_string(s.pv_rows) +
                     ", IP rows " + std::to_string(s.ip_rows));
        make_store(NM + 50, CELLS_USED, INDEX_NORMAL, s.modes, s.pv_rows, s.ip_rows);
        fill_scattered(NM, CELLS_USED, s.skips);
        std::map<float, Molecule> before;  // by identity
        for (int n = 1; n <= NM; ++n)
            before[MOLECULES.MOL_POS(1, n)] = molecule_at(n);
        INDEX_MOLECULES();
        std::vector<std::pair<int, int>> index_before;  // start and count of each cell
        for (int K = 1; K <= CELLS_USED; ++K)
            index_before.emplace_back(CELLS.ICELL(ICELL_START, K), CELLS.ICELL(ICELL_COUNT, K));
        EXPECT_LT(cell_order_share(), CELL_ORDER_LIMIT);

        order_molecules_by_cell();

        // The same molecules, each with all of its own data.
        ASSERT_EQ(MOLECULES.NM, NM);
        std::map<float, Molecule> after;
        for (int n = 1; n <= NM; ++n)
            after[MOLECULES.MOL_POS(1, n)] = molecule_at(n);
        EXPECT_EQ(after, before);
        // The cells' lists are where they were, each now naming its own slots: cell K holds slots
        // start + 1 .. start + count, in increasing former number.
        for (int K = 1; K <= CELLS_USED; ++K) {
            EXPECT_EQ(CELLS.ICELL(ICELL_START, K), index_before[K - 1].first);
            EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, K), index_before[K - 1].second);
            float previous = 0.0f;
            for (int j = 1; j <= CELLS.ICELL(ICELL_COUNT, K); ++j) {
                const int p = CELLS.ICELL(ICELL_START, K) + j;
                EXPECT_EQ(MOLECULES.IP(IP_PLACE, p), p);
                EXPECT_EQ(std::abs(MOLECULES.IP(IP_CELL, p)), K) << "slot " << p;
                EXPECT_GT(MOLECULES.MOL_POS(1, p), previous) << "cell " << K;
                previous = MOLECULES.MOL_POS(1, p);
            }
        }
        EXPECT_EQ(cell_order_share(), 1.0);
        // A fresh index of the renumbered store is the same index.
        INDEX_MOLECULES();
        for (int p = 1; p <= NM; ++p)
            ASSERT_EQ(MOLECULES.IP(IP_PLACE, p), p);
    }
}

TEST(CellOrder, IndexingRenumbersOnlyAStoreOutOfOrder)
{
    DiagLog log;
    constexpr int NM = 1000, CELLS_USED = 101;
    make_store(NM, CELLS_USED, INDEX_NORMAL);
    fill_scattered(NM, CELLS_USED, false);
    index_molecules_in_cell_order();
    EXPECT_EQ(cell_order_share(), 1.0);
    for (int n = 2; n <= NM; ++n)
        ASSERT_LE(std::abs(MOLECULES.IP(IP_CELL, n - 1)), std::abs(MOLECULES.IP(IP_CELL, n)));

    // In order already: a few molecules changing cells leave the numbering as it is.
    MOLECULES.IP(IP_CELL, 5) = CELLS_USED;
    MOLECULES.IP(IP_CELL, NM) = 1;
    std::vector<Molecule> kept;
    for (int n = 1; n <= NM; ++n)
        kept.push_back(molecule_at(n));
    index_molecules_in_cell_order();
    for (int n = 1; n <= NM; ++n)
        ASSERT_EQ(molecule_at(n), kept[n - 1]) << "molecule " << n;
    EXPECT_GE(cell_order_share(), CELL_ORDER_LIMIT);
}

TEST(CellOrder, NoOrOneMoleculeIsInOrder)
{
    DiagLog log;
    make_store(10, 3, INDEX_NORMAL);
    fill_scattered(1, 3, false);
    index_molecules_in_cell_order();
    EXPECT_EQ(MOLECULES.IP(IP_PLACE, 1), 1);
    EXPECT_EQ(cell_order_share(), 1.0);
    MOLECULES.NM = 0;
    index_molecules_in_cell_order();
    EXPECT_EQ(cell_order_share(), 1.0);
}

}  // namespace
