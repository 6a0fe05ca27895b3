// The molecule-in-cell index in both modes.
#include "app/kernel/cell_index.h"

#include "app/kernel/molecule_store.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// Puts molecules with the given cells into the store (NM = their number), unindexed.
void put_molecules(const std::vector<int>& cells)
{
    int n = 0;
    for (int c : cells) {
        ++n;
        MOLECULES.IP(IP_CELL, n) = c;
        MOLECULES.MOL_POS(1, n) = float(n);  // identity of the molecule
    }
    MOLECULES.NM = n;
}

// The molecules of cell K as listed by the continuous index.
std::vector<int> continuous_list(int K)
{
    std::vector<int> out;
    for (int j = 1; j <= CELLS.ICELL(ICELL_COUNT, K); ++j)
        out.push_back(MOLECULES.XREF(CELLS.ICELL(ICELL_START, K) + j));
    return out;
}

// Every invariant of the continuous index; returns the first broken one, empty when none.
std::string continuous_fault()
{
    const auto& ICELL = CELLS.ICELL;
    const auto& IP = MOLECULES.IP;
    if (ICELL(ICELL_START, 1) != 0)
        return "first start";
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K) {
        if (ICELL(ICELL_COUNT, K) < 0 || ICELL(ICELL_COUNT, K) > CELLS.IRCELL(K))
            return "count outside room, cell " + std::to_string(K);
        if (K < CELLS.CELL_COUNT && ICELL(ICELL_START, K + 1) != ICELL(ICELL_START, K) + CELLS.IRCELL(K))
            return "groups not end to end at cell " + std::to_string(K);
    }
    const int last = CELLS.CELL_COUNT;
    if (ICELL(ICELL_START, last) + CELLS.IRCELL(last) > RUN.XREF_SIZE)
        return "groups pass XREF_SIZE";
    int listed = 0;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K)
        listed += ICELL(ICELL_COUNT, K);
    if (listed != MOLECULES.NM)
        return "listed " + std::to_string(listed) + " of " + std::to_string(MOLECULES.NM);
    for (int N = 1; N <= MOLECULES.NM; ++N) {
        const int L = IP(IP_PLACE, N);
        const int K = std::abs(IP(IP_CELL, N));
        if (L < 1 || L > RUN.XREF_SIZE || MOLECULES.XREF(L) != N)
            return "XREF(IP(1,N)) /= N for N = " + std::to_string(N);
        if (L <= ICELL(ICELL_START, K) || L > ICELL(ICELL_START, K) + ICELL(ICELL_COUNT, K))
            return "molecule outside its cell's group, N = " + std::to_string(N);
    }
    return "";
}

// Every invariant of the normal index.
std::string normal_fault()
{
    const auto& ICELL = CELLS.ICELL;
    std::set<int> seen;
    int p = 0;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K) {
        if (ICELL(ICELL_START, K) != p)
            return "lists not end to end at cell " + std::to_string(K);
        int previous = 0;
        for (int j = 1; j <= ICELL(ICELL_COUNT, K); ++j) {
            const int N = MOLECULES.IP(IP_PLACE, p + j);
            if (N <= previous)
                return "list of cell " + std::to_string(K) + " not in increasing order";
            if (std::abs(MOLECULES.IP(IP_CELL, N)) != K)
                return "molecule in the wrong list, N = " + std::to_string(N);
            seen.insert(N);
            previous = N;
        }
        p += ICELL(ICELL_COUNT, K);
    }
    if (p != MOLECULES.NM || int(seen.size()) != MOLECULES.NM)
        return "not every molecule listed once";
    return "";
}

}  // namespace

TEST(IndexMolecules, ListsEveryCellInIncreasingMoleculeOrder)
{
    DiagLog log;
    make_store(20, 4, INDEX_NORMAL);
    // Cell 3 empty; molecule 6 carries a recombination mark (negated cell).
    put_molecules({2, 4, 1, 2, 4, -1, 1, 2});
    INDEX_MOLECULES();
    EXPECT_EQ(normal_fault(), "");
    EXPECT_EQ(CELLS.ICELL(ICELL_START, 2), 3);
    EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, 2), 3);
    EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, 3), 0);
    const int first = CELLS.ICELL(ICELL_START, 1);
    EXPECT_EQ(MOLECULES.IP(IP_PLACE, first + 1), 3);
    EXPECT_EQ(MOLECULES.IP(IP_PLACE, first + 2), 6);
    EXPECT_EQ(MOLECULES.IP(IP_PLACE, first + 3), 7);
}

TEST(IndexMolecules, NoMoleculesOnlyClearsTheCounts)
{
    DiagLog log;
    make_store(20, 3, INDEX_NORMAL);
    put_molecules({1, 3, 3});
    INDEX_MOLECULES();
    MOLECULES.NM = 0;
    INDEX_MOLECULES();
    for (int K = 1; K <= 3; ++K)
        EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, K), 0);
    EXPECT_EQ(CELLS.ICELL(ICELL_START, 3), 1);  // kept
}

// MNM = 1000 over 100 cells: share 10; 7 molecules give int(4.95 x 7 + 10) = 44, an empty cell 10.
TEST(ResetContinuousIndexing, RoomsFollowTheCountsAndTheShare)
{
    DiagLog log;
    make_store(1000, 100, INDEX_CONTINUOUS);
    put_molecules({5, 5, 5, 5, 5, 5, 5, 1});
    RESET_CONTINUOUS_INDEXING();
    EXPECT_EQ(continuous_fault(), "");
    EXPECT_EQ(CELLS.IRCELL(5), 44);
    EXPECT_EQ(CELLS.IRCELL(2), 10);
    EXPECT_EQ(CELLS.IRCELL(1), 14);  // int(4.95 + 10)
    EXPECT_EQ(CELLS.ICELL(ICELL_START, 6), 14 + 10 + 10 + 10 + 44);
    EXPECT_EQ(continuous_list(5), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(log.lines(), (std::vector<std::string>{" RESETTING CONTINUOUS INDEXING"}));
}

TEST(InsertIntoCellList, FullRoomOfOneGrowsToFourAndLaterGroupsMoveUp)
{
    DiagLog log;
    make_store(6, 6, INDEX_CONTINUOUS);  // share int(6 / 6) = 1
    put_molecules({6});
    RESET_CONTINUOUS_INDEXING();  // rooms 1, 1, 1, 1, 1 and int(4.95 + 1) = 5
    ASSERT_EQ(CELLS.IRCELL(1), 1);
    ASSERT_EQ(CELLS.ICELL(ICELL_START, 6), 5);
    for (int n = 2; n <= 3; ++n) {
        MOLECULES.IP(IP_CELL, n) = 1;
        MOLECULES.NM = n;
        INSERT_INTO_CELL_LIST(1, n);
    }
    EXPECT_EQ(CELLS.IRCELL(1), 4);
    for (int K = 2; K <= 6; ++K)
        EXPECT_EQ(CELLS.ICELL(ICELL_START, K), K + 2) << "cell " << K;
    EXPECT_EQ(MOLECULES.IP(IP_PLACE, 1), 9);
    EXPECT_EQ(continuous_list(1), (std::vector<int>{2, 3}));
    EXPECT_EQ(continuous_fault(), "");
}

TEST(InsertIntoCellList, GrowthMovesTheLaterGroupsByTheExtraRoom)
{
    DiagLog log;
    make_store(10, 3, INDEX_CONTINUOUS);  // share int(10 / 3) = 3
    // Rooms: cell 1 int(4.95 x 1 + 3) = 7, cell 2 int(3) = 3, cell 3 int(4.95 x 2 + 3) = 12.
    put_molecules({1, 3, 3});
    RESET_CONTINUOUS_INDEXING();
    ASSERT_EQ(CELLS.IRCELL(2), 3);
    for (int n = 4; n <= 6; ++n) {
        MOLECULES.IP(IP_CELL, n) = 2;
        MOLECULES.NM = n;
        INSERT_INTO_CELL_LIST(2, n);
    }
    ASSERT_EQ(CELLS.ICELL(ICELL_START, 3), 10);
    // The fourth molecule in cell 2: room 3 becomes int(3 x 4.95) = 14, cell 3 moves up by 11.
    MOLECULES.IP(IP_CELL, 7) = 2;
    MOLECULES.NM = 7;
    INSERT_INTO_CELL_LIST(2, 7);
    EXPECT_EQ(CELLS.IRCELL(2), 14);
    EXPECT_EQ(CELLS.ICELL(ICELL_START, 3), 21);
    EXPECT_EQ(continuous_list(3), (std::vector<int>{2, 3}));
    EXPECT_EQ(continuous_list(2), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(continuous_fault(), "");
    EXPECT_EQ(log.count("RESETTING"), 1);
}

// Fault avoided: a full group of room 0 would "grow" to int(0 x 4.95) = 0 and the insertion would
// overwrite the first entry of the next group. It grows by at least one place.
TEST(InsertIntoCellList, FullRoomOfZeroGrows)
{
    DiagLog log;
    make_store(3, 5, INDEX_CONTINUOUS);  // share int(3 / 5) = 0
    put_molecules({5, 5, 5});
    RESET_CONTINUOUS_INDEXING();
    ASSERT_EQ(CELLS.IRCELL(1), 0);
    ASSERT_EQ(CELLS.IRCELL(2), 0);
    MOLECULES.IP(IP_CELL, 2) = 1;
    REMOVE_FROM_CELL_LIST(5, 2);
    INSERT_INTO_CELL_LIST(1, 2);
    EXPECT_EQ(CELLS.IRCELL(1), 1);
    EXPECT_EQ(continuous_list(1), (std::vector<int>{2}));
    EXPECT_EQ(continuous_fault(), "");
}

// When XREF has no space for the growth, the index is rebuilt, which lists the molecule too.
TEST(InsertIntoCellList, OverflowOfXrefRebuildsTheIndex)
{
    DiagLog log;
    make_store(10, 2, INDEX_CONTINUOUS);  // XREF_SIZE 60, share 5
    put_molecules({1, 2});
    RESET_CONTINUOUS_INDEXING();  // rooms int(4.95 + 5) = 9 each
    for (int n = 3; n <= 10; ++n) {
        MOLECULES.IP(IP_CELL, n) = 2;
        MOLECULES.NM = n;
        INSERT_INTO_CELL_LIST(2, n);
    }
    ASSERT_EQ(log.count("RESETTING"), 1);
    ASSERT_EQ(CELLS.ICELL(ICELL_COUNT, 2), CELLS.IRCELL(2));
    // Cell 2 is full: room 9 would grow to 44 and end past place 60, so the index is laid out anew.
    MOLECULES.IP(IP_CELL, 1) = 2;
    REMOVE_FROM_CELL_LIST(1, 1);
    INSERT_INTO_CELL_LIST(2, 1);
    EXPECT_EQ(log.count("RESETTING"), 2);
    EXPECT_EQ(continuous_fault(), "");
    EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, 2), 10);
    EXPECT_EQ(CELLS.IRCELL(1), 5);
    EXPECT_EQ(CELLS.IRCELL(2), 54);  // int(49.5 + 5)
}

TEST(RemoveFromCellList, LastEntryMovesNothingOtherEntriesTakeTheLast)
{
    DiagLog log;
    make_store(10, 2, INDEX_CONTINUOUS);
    put_molecules({1, 1, 1, 1});
    RESET_CONTINUOUS_INDEXING();
    REMOVE_FROM_CELL_LIST(1, 4);  // the last entry
    EXPECT_EQ(continuous_list(1), (std::vector<int>{1, 2, 3}));
    REMOVE_FROM_CELL_LIST(1, 1);  // the first: molecule 3 fills its place
    EXPECT_EQ(continuous_list(1), (std::vector<int>{3, 2}));
    EXPECT_EQ(MOLECULES.IP(IP_PLACE, 3), CELLS.ICELL(ICELL_START, 1) + 1);
}

TEST(CheckIndex, ConsistentIndexOnlyLogsTheCheck)
{
    DiagLog log;
    make_store(10, 3, INDEX_CONTINUOUS);
    put_molecules({1, 2, 3, 3, -2});
    RESET_CONTINUOUS_INDEXING();
    CHECK_INDEX();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{" RESETTING CONTINUOUS INDEXING", " CHECKING INDEX"}));
}

TEST(CheckIndex, FaultsAreReportedAndRepaired)
{
    DiagLog log;
    make_store(10, 3, INDEX_CONTINUOUS);
    BOX.SCALE_FACTOR = 2.0f;
    CELLS.CELL_DATA(CELL_NODE_X, 2) = 3.0f;
    CELLS.CELL_DATA(CELL_NODE_Y, 2) = 5.0f;
    put_molecules({1, 2, 3, 3});
    RESET_CONTINUOUS_INDEXING();
    // Molecule 3 moved to cell 2 without its list: cell 2 is one short, cell 3 one too many, and cell 3's
    // list names a molecule of another cell.
    MOLECULES.IP(IP_CELL, 3) = 2;
    CHECK_INDEX();
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 8u) << log.text();
    EXPECT_EQ(lines[1], " CHECKING INDEX");
    EXPECT_EQ(lines[2], "           2  MOLS IN CELL           2  /= ICELL(2, OF           1");
    EXPECT_EQ(lines[3], " CELL AT   1.500000       2.500000    ");
    EXPECT_EQ(lines[4], "           1  MOLS IN CELL           3  /= ICELL(2, OF           2");
    EXPECT_EQ(lines[7], " RESETTING CONTINUOUS INDEXING");
    EXPECT_NE(lines[6].find("INCORRECT INDEX, CELL           3  MOL           3  CELL           2"),
              std::string::npos);
    EXPECT_EQ(continuous_fault(), "");
}

// Random adds, removals, moves between cells and store growth keep both indexes sound.
TEST(CellIndex, RandomisedSequenceKeepsTheIndexClean)
{
    RandomGuard keep;
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        DiagLog log;
        const int cells = 13;
        make_store(8, cells, mode);
        std::multiset<float> present;  // identities of the molecules in the store
        float next_id = 1.0f;
        for (int step = 0; step < 4000; ++step) {
            const double r = random_uniform();
            const int cell = 1 + int(random_uniform() * cells);
            auto& M = MOLECULES;
            if (r < 0.45 || M.NM < 2) {
                const int n = open_molecule_slot();
                M.IP(IP_CELL, n) = cell;
                M.MOL_POS(1, n) = next_id;
                present.insert(next_id);
                next_id += 1.0f;
                if (mode == INDEX_CONTINUOUS)
                    INSERT_INTO_CELL_LIST(cell, n);
            } else if (r < 0.75) {
                int N = 1 + int(random_uniform() * M.NM);
                present.erase(present.find(M.MOL_POS(1, N)));
                REMOVE_MOLECULE(N, M.IP(IP_CELL, N));
            } else {
                const int N = 1 + int(random_uniform() * M.NM);
                const int old = M.IP(IP_CELL, N);
                M.IP(IP_CELL, N) = cell;
                if (mode == INDEX_CONTINUOUS) {
                    REMOVE_FROM_CELL_LIST(old, N);
                    INSERT_INTO_CELL_LIST(cell, N);
                }
            }
            if (mode == INDEX_CONTINUOUS && step % 97 == 0) {
                ASSERT_EQ(continuous_fault(), "") << "step " << step;
            }
        }
        std::multiset<float> stored;
        for (int n = 1; n <= MOLECULES.NM; ++n)
            stored.insert(MOLECULES.MOL_POS(1, n));
        EXPECT_EQ(stored, present);
        EXPECT_GT(RUN.MNM, 100);
        if (mode == INDEX_CONTINUOUS) {
            EXPECT_EQ(continuous_fault(), "");
            const int resets = log.count("RESETTING");
            CHECK_INDEX();
            EXPECT_EQ(log.count("RESETTING"), resets) << "CHECK_INDEX found a fault";
        } else {
            INDEX_MOLECULES();
            EXPECT_EQ(normal_fault(), "");
        }
    }
}

// Rebuild after rebuild of the normal index as molecules enter, leave (the last one taking the slot),
// change cells and take recombination marks, over a number of cells that changes twice on the way (the
// rebuild keeps a work array per cell from one call to the next).
TEST(IndexMolecules, RebuildsFollowEveryChangeOfTheStore)
{
    RandomGuard keep;
    DiagLog log;
    auto& M = MOLECULES;
    for (const int cells : {17, 5, 40}) {
        make_store(4000, cells, INDEX_NORMAL);
        auto any_cell = [&] { return 1 + int(random_uniform() * cells); };
        auto any_molecule = [&] { return 1 + int(random_uniform() * M.NM); };
        for (int n = 1; n <= 300; ++n)
            M.IP(IP_CELL, n) = any_cell();
        M.NM = 300;
        for (int round = 1; round <= 30; ++round) {
            INDEX_MOLECULES();
            ASSERT_EQ(normal_fault(), "") << cells << " cells, round " << round;
            for (int step = 0; step < 40; ++step) {
                const double r = random_uniform();
                if (r < 0.3) {
                    const int n = open_molecule_slot();
                    M.IP(IP_CELL, n) = any_cell();
                } else if (r < 0.55 && M.NM > 2) {
                    int N = any_molecule();
                    REMOVE_MOLECULE(N, M.IP(IP_CELL, N));
                } else {
                    const int N = any_molecule();
                    M.IP(IP_CELL, N) = r < 0.6 ? -std::abs(M.IP(IP_CELL, N)) : any_cell();
                }
            }
        }
    }
}
