// The molecule store: removal with dense numbering, append, and growth through the scratch files.
#include "app/kernel/molecule_store.h"

#include "app/kernel/cell_index.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Gives molecule n distinct values in every field, all derived from its tag.
void fill_molecule(int n, int tag, int cell)
{
    auto& M = MOLECULES;
    for (int i = 1; i <= 3; ++i)
        M.MOL_POS(i, n) = tag + 0.1f * i;
    for (int i = 1; i <= M.PV_ROWS; ++i)
        M.PV(i, n) = -tag - 0.01f * i;
    M.IP(IP_CELL, n) = cell;
    if (M.IP_ROWS == 3)
        M.IP(IP_SPECIES, n) = 1 + tag % 2;
    M.MOL_TIME(n) = tag * 1.0e-7 + 1.0e-12;
    for (int i = 1; i <= GAS.MAX_VIB_MODES; ++i)
        M.MOL_VIB_LEVEL(i, n) = static_cast<int8_t>((tag + i) % 128);
}

// The tag of molecule n, checking that every field still belongs to it.
int tag_of(int n)
{
    auto& M = MOLECULES;
    const int tag = static_cast<int>(M.MOL_POS(1, n));
    EXPECT_FLOAT_EQ(M.MOL_POS(3, n), tag + 0.3f) << "molecule " << n;
    EXPECT_FLOAT_EQ(M.PV(M.PV_ROWS, n), -tag - 0.01f * M.PV_ROWS) << "molecule " << n;
    EXPECT_DOUBLE_EQ(M.MOL_TIME(n), tag * 1.0e-7 + 1.0e-12) << "molecule " << n;
    for (int i = 1; i <= GAS.MAX_VIB_MODES; ++i)
        EXPECT_EQ(M.MOL_VIB_LEVEL(i, n), (tag + i) % 128) << "molecule " << n;
    return tag;
}

// A store of NM = count molecules tagged 1 .. count, spread over the cells, indexed.
void fill_store(int count)
{
    for (int n = 1; n <= count; ++n)
        fill_molecule(n, n, 1 + n % CELLS.CELL_COUNT);
    MOLECULES.NM = count;
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        RESET_CONTINUOUS_INDEXING();
    else
        INDEX_MOLECULES();
}

bool exists(const char* name)
{
    return std::filesystem::exists(name);
}

}  // namespace

TEST(RemoveMolecule, LastMoleculeCopiesNothingAndStepsBoth)
{
    DiagLog log;
    make_store(10, 3, INDEX_CONTINUOUS, 2, 4, 3);
    fill_store(5);
    int N = 5;
    REMOVE_MOLECULE(N, MOLECULES.IP(IP_CELL, 5));
    EXPECT_EQ(N, 4);
    EXPECT_EQ(MOLECULES.NM, 4);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(tag_of(n), n);
}

TEST(RemoveMolecule, UpwardWalkRevisitsTheSlotAndKeepsTheNumberingDense)
{
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        DiagLog log;
        make_store(40, 4, mode, 1, 4, 3);
        fill_store(30);
        // Remove every molecule with an odd tag; the walk sees each molecule exactly once.
        int visited = 0;
        for (int N = 1; N <= MOLECULES.NM; ++N) {
            ++visited;
            if (tag_of(N) % 2 == 1)
                REMOVE_MOLECULE(N, MOLECULES.IP(IP_CELL, N));
        }
        EXPECT_EQ(visited, 30);
        ASSERT_EQ(MOLECULES.NM, 15);
        std::vector<int> tags;
        for (int n = 1; n <= 15; ++n)
            tags.push_back(tag_of(n));
        std::sort(tags.begin(), tags.end());
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(tags[static_cast<std::size_t>(i)], 2 * (i + 1));
        if (mode == INDEX_CONTINUOUS) {
            CHECK_INDEX();
            EXPECT_EQ(log.count("RESETTING"), 1) << log.text();  // the one of fill_store only
        }
        // Removing every molecule that way empties the store.
        for (int N = 1; N <= MOLECULES.NM; ++N)
            REMOVE_MOLECULE(N, MOLECULES.IP(IP_CELL, N));
        EXPECT_EQ(MOLECULES.NM, 0);
    }
}

TEST(RemoveMolecule, TracedMoleculeIsLogged)
{
    DiagLog log;
    make_store(10, 2, INDEX_NORMAL);
    fill_store(6);
    MOLECULES.DEBUG_MOLECULE = 2;
    int N = 2;
    REMOVE_MOLECULE(N, 1);
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], " MOL           2  REMOVED, REPLACED BY           6");
    EXPECT_EQ(lines[1], "");
}

TEST(ExtendMnm, GrowsByTheFactorKeepsEveryMoleculeAndLeavesNoScratchFile)
{
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        for (int modes : {0, 3}) {
            DiagLog log;
            make_store(100, 7, mode, modes, modes ? 4 : 3, modes ? 3 : 2);
            fill_store(100);
            std::vector<int> xref_before(MOLECULES.XREF.begin(), MOLECULES.XREF.end());
            EXTEND_MNM(MNM_GROWTH);
            EXPECT_EQ(RUN.MNM, 110);
            EXPECT_EQ(RUN.XREF_SIZE, mode == INDEX_CONTINUOUS ? 660 : 1);
            EXPECT_EQ(MOLECULES.MOL_POS.extent(2), 110);
            EXPECT_EQ(MOLECULES.IP.extent(2), 110);
            EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL.extent(1), modes);
            EXPECT_EQ(MOLECULES.NM, 100);
            for (int n = 1; n <= 100; ++n)
                EXPECT_EQ(tag_of(n), n);
            for (int n = 101; n <= 110; ++n) {
                EXPECT_EQ(MOLECULES.MOL_POS(1, n), 0.0f);
                EXPECT_EQ(MOLECULES.IP(IP_CELL, n), 0);
                EXPECT_EQ(MOLECULES.MOL_TIME(n), 0.0);
            }
            if (mode == INDEX_CONTINUOUS) {
                for (std::size_t e = 0; e < xref_before.size(); ++e)
                    EXPECT_EQ(MOLECULES.XREF(int(e) + 1), xref_before[e]);
                for (int e = 601; e <= 660; ++e)
                    EXPECT_EQ(MOLECULES.XREF(e), 0);
                CHECK_INDEX();
                EXPECT_EQ(log.count("RESETTING"), 1);
            }
            EXPECT_FALSE(exists("EXTMOLS.SCR"));
            EXPECT_FALSE(exists("EXTMOLI.SCR"));
            const std::string text = log.text();
            EXPECT_NE(text.find(" Maximum number of molecules is to be extended from         100  to"
                                "         110\n ( if the additional memory is available !! )\n"
                                " Start write to temporary disk storage\n Disk write completed\n"
                                " Molecule arrays have been deallocated\n"
                                " Start read back from temporary disk storage\n"),
                      std::string::npos)
                << text;
        }
    }
}

// Normal indexing writes no "EXTMOLI.SCR": a file of that name is left as it was.
TEST(ExtendMnm, NormalIndexingLeavesTheIndexScratchFileAlone)
{
    DiagLog log;
    make_store(20, 2, INDEX_NORMAL);
    fill_store(20);
    {
        std::ofstream f("EXTMOLI.SCR");
        f << "not ours";
    }
    EXTEND_MNM(MNM_GROWTH);
    std::ifstream f("EXTMOLI.SCR");
    std::string s;
    std::getline(f, s);
    EXPECT_EQ(s, "not ours");
    f.close();
    std::filesystem::remove("EXTMOLI.SCR");
}

// Fault avoided: int(MNM x 1.1) is MNM itself below 10, and the append after the call would write past
// the store. The store grows by at least one slot.
TEST(ExtendMnm, SmallStoreGrowsByAtLeastOne)
{
    DiagLog log;
    for (int mnm : {0, 1, 5, 9}) {
        make_store(mnm, 2, INDEX_CONTINUOUS);
        fill_store(mnm);
        EXTEND_MNM(MNM_GROWTH);
        EXPECT_EQ(RUN.MNM, mnm + 1);
        EXPECT_EQ(RUN.XREF_SIZE, 6 * (mnm + 1));
    }
}

// A scratch file that cannot be created stops the run with a message naming it, not a crash.
TEST(ExtendMnm, UnwritableScratchFileStopsWithItsName)
{
    DiagLog log;
    make_store(10, 2, INDEX_NORMAL);
    fill_store(10);
    std::filesystem::create_directory("EXTMOLS.SCR");
    try {
        EXTEND_MNM(MNM_GROWTH);
        ADD_FAILURE() << "no stop";
    } catch (const FatalStopped& e) {
        EXPECT_NE(std::string(e.what()).find("\"EXTMOLS.SCR\""), std::string::npos) << e.what();
    }
    std::filesystem::remove("EXTMOLS.SCR");
    EXPECT_EQ(RUN.MNM, 10);
    EXPECT_EQ(MOLECULES.NM, 10);
}

TEST(AddMolecule, AppendsACopyGrowingAFullStoreAndListsIt)
{
    DiagLog log;
    make_store(10, 3, INDEX_CONTINUOUS, 2, 4, 3);
    fill_store(10);
    ASSERT_EQ(MOLECULES.IP(IP_CELL, 4), 2);
    ADD_MOLECULE(4, 2);
    EXPECT_EQ(RUN.MNM, 11);
    EXPECT_EQ(MOLECULES.NM, 11);
    EXPECT_EQ(tag_of(11), 4);
    EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, 2), 5);  // molecules 1, 4, 7, 10 and the copy
    EXPECT_EQ(MOLECULES.XREF(MOLECULES.IP(IP_PLACE, 11)), 11);
    CHECK_INDEX();
    EXPECT_EQ(log.count("RESETTING"), 1);
}

namespace {

// Every field of molecule n is zero: position, velocity, rotational energy, index entry, cell,
// species, clock and each vibrational level.
void expect_cleared(int n)
{
    const auto& M = MOLECULES;
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(M.MOL_POS(i, n), 0.0f) << "MOL_POS row " << i;
    for (int i = 1; i <= M.PV_ROWS; ++i)
        EXPECT_EQ(M.PV(i, n), 0.0f) << "PV row " << i;
    for (int i = 1; i <= M.IP_ROWS; ++i)
        EXPECT_EQ(M.IP(i, n), 0) << "IP row " << i;
    for (int i = 1; i <= GAS.MAX_VIB_MODES; ++i)
        EXPECT_EQ(M.MOL_VIB_LEVEL(i, n), 0) << "vibrational mode " << i;
    EXPECT_EQ(M.MOL_TIME(n), 0.0);
}

}  // namespace

// Fault: each path that made a molecule opened its slot by hand and cleared a different part of it, so a
// product could inherit the internal energy of the vibrating molecule that last used the slot. A slot
// freed by such a molecule opens with every field zero, whether the store has room or must grow.
TEST(OpenMoleculeSlot, ReusedSlotOfAVibratingMoleculeStartsEmpty)
{
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "store full: grows" : "store has room");
        DiagLog log;
        make_store(10, 3, INDEX_CONTINUOUS, 2, 4, 3);
        fill_store(10);
        int N = 10;
        ASSERT_GT(MOLECULES.MOL_VIB_LEVEL(1, N), 0);
        ASSERT_NE(MOLECULES.PV(PV_ROTATION, N), 0.0f);
        if (!full)
            REMOVE_MOLECULE(N, MOLECULES.IP(IP_CELL, N));  // slot 10 now free but still holds its values
        const int n = open_molecule_slot();
        EXPECT_EQ(n, full ? 11 : 10);
        EXPECT_EQ(MOLECULES.NM, n);
        EXPECT_EQ(RUN.MNM, full ? 11 : 10);
        expect_cleared(n);
        for (int m = 1; m < n; ++m)
            EXPECT_EQ(tag_of(m), m);
    }
}
