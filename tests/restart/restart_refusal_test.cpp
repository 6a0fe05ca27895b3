// Damaged, mismatched and missing restart files are refused with a message naming the file; the reader
// never creates a file and never reads past a record. The writer never leaves a half-written set in
// place of a whole one. And a robustness run over many damaged sets: each is read or refused, never a
// crash.
#include "app/restart/restart_set.h"
#include "restart_test_support.h"

#include "base/machine_memory.h"

#include <cstring>

namespace {

class RestartRefusalTest : public RestartTest {
protected:
    void SetUp() override
    {
        RestartTest::SetUp();
        make_case(true, true);
        WRITE_RESTART();
    }

    // Replaces 4 bytes at `offset` of a file by an integer. The set list goes too: it would refuse
    // any changed file by its CRC, and these tests are about the checks of the record layout, which
    // also guard sets written without a list.
    static void patch_word(const char* name, std::size_t offset, std::int32_t value)
    {
        std::string bytes = read_file(name);
        std::memcpy(bytes.data() + offset, &value, 4);
        write_file(name, bytes);
        std::filesystem::remove(SET_LIST_FILE);
    }
};

TEST_F(RestartRefusalTest, TruncatedFileIsRefusedByName)
{
    for (const char* name : {"QR4TP.RES", "QR4TM4.RES", "QR4TV2.RES", "QR4TCS.RES"}) {
        SCOPED_TRACE(name);
        make_case(true, true);
        WRITE_RESTART();
        std::string bytes = read_file(name);
        write_file(name, bytes.substr(0, bytes.size() - 5));
        std::string message = read_set();
        EXPECT_NE(message.find(name), std::string::npos) << message;
    }
}

TEST_F(RestartRefusalTest, FileLongerThanTheSizeRecordGivesIsRefused)
{
    write_file("QR4TC1.RES", read_file("QR4TC1.RES") + "extra");
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TC1.RES"), std::string::npos) << message;
}

// The two length words of a record disagree: refused although the file has the expected length.
TEST_F(RestartRefusalTest, DamagedLengthWordIsRefused)
{
    patch_word("QR4TM2.RES", 0, 12);
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TM2.RES"), std::string::npos) << message;
}

// A size record from another set: the molecule files no longer have its lengths.
TEST_F(RestartRefusalTest, SizeRecordOfAnotherSetIsRefused)
{
    patch_word("QR4TP.RES", 4 + 4 * 9, 11);  // item 10, MNM
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TM1.RES"), std::string::npos) << message;
    EXPECT_NE(message.find("size record"), std::string::npos) << message;
}

// Size items that no sound set holds are refused before anything is allocated.
TEST_F(RestartRefusalTest, ImpossibleSizeItemsAreRefused)
{
    struct Case {
        int item;
        std::int32_t value;
        const char* piece;
    };
    const Case cases[] = {
        {2, 0, "item 2 (SPECIES_COUNT): value 0"},
        {10, -5, "item 10 (MNM): value -5"},
        {11, 5, "item 11 (PV_ROWS): value 5"},
        {13, 0, "item 13 (XREF_SIZE): value 0"},
        {18, 2000000000, "item 18 (MNSEG): value 2000000000"},
        {21, 0, "item 21 (GAS_REACTION_DIM): value 0"},
        {31, 3, "item 31 (INDEX_MODE): value 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        make_case(true, true);
        WRITE_RESTART();
        patch_word("QR4TP.RES", 4 * c.item, c.value);
        std::string message = read_set();
        EXPECT_NE(message.find(std::string("QR4TP.RES ") + c.piece), std::string::npos) << message;
    }
}

// A missing file is refused by name, and the reader does not create it.
TEST_F(RestartRefusalTest, MissingFileIsRefusedAndNotCreated)
{
    std::filesystem::remove("QR4TC2.RES");
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TC2.RES"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists("QR4TC2.RES"));
}

// The check integer of the size record is only logged; that of the run-state record decides.
TEST_F(RestartRefusalTest, CheckIntegers)
{
    patch_word("QR4TP.RES", 4 + 4 * 32, 7654321);
    EXPECT_EQ(read_set(), "");
    EXPECT_NE(log_text().find(" JCHECK from QR4TP     7654321\r\n"), std::string::npos);

    WRITE_RESTART();
    std::string bytes = read_file("QR4TV2.RES");
    patch_word("QR4TV2.RES", bytes.size() - 8, 99);
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TV2.RES"), std::string::npos) << message;
    std::string log = log_text();
    const std::string tail = "          99\r\n           7  Molecules, Check integer          99\r\n";
    EXPECT_NE(log.find(tail), std::string::npos) << log;
}

// Counts of the run-state record that disagree with the size record are refused.
TEST_F(RestartRefusalTest, RunStateCountsMustAgreeWithSizeRecord)
{
    GAS.GAS_REACTIONS = 2;  // GAS_REACTION_DIM is 3
    WRITE_RESTART();
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TV2.RES item 94 (GAS_REACTIONS): value 2"), std::string::npos) << message;

    make_case(true, true);
    CELLS.CELL_COUNT = 7;  // MAX_CELLS is 6
    WRITE_RESTART();
    message = read_set();
    EXPECT_NE(message.find("item 179 (CELL_COUNT): value 7"), std::string::npos) << message;

    make_case(true, true);
    MOLECULES.NM = 11;  // MNM is 10
    WRITE_RESTART();
    message = read_set();
    EXPECT_NE(message.find("QR4TM4.RES item NM: value 11"), std::string::npos) << message;
}

// Numbers that later steps use as subscripts are refused outside their ranges, naming the file, the
// array element and the value.
TEST_F(RestartRefusalTest, NumbersOutsideTheirRangesAreRefused)
{
    struct Case {
        const char* piece;
        void (*damage)();
    };
    const Case cases[] = {
        {"QR4TV2.RES: TRIANGLE(2, 3) = 9 ", [] { SURFACE.TRIANGLE(2, 3) = 9; }},
        {"QR4TV2.RES: TRIANGLE(4, 1) = 0 ", [] { SURFACE.TRIANGLE(TRIANGLE_KIND, 1) = 0; }},
        {"QR4TV2.RES: TRIANGLE(4, 4) = -2 ", [] { SURFACE.TRIANGLE(TRIANGLE_KIND, 4) = -2; }},
        {"QR4TV2.RES: SOLID_TRIANGLE(1, 2) = 5 ", [] { SURFACE.SOLID_TRIANGLE(1, 2) = 5; }},
        {"QR4TV2.RES: BOUNDARY_CODE(2) = 9 ", [] { BOX.BOUNDARY_CODE(2) = 9; }},
        {"QR4TV2.RES: VIB_MODE_COUNT(1) = 3 ", [] { GAS.VIB_MODE_COUNT(1) = 3; }},
        {"QR4TV2.RES: REACTION_REACTANTS(2, 3) = 0 ", [] { GAS.REACTION_REACTANTS(2, 3) = 0; }},
        {"QR4TV2.RES: REACTION_PAIR_LIST(1, 1, 2) = 4 ", [] { GAS.REACTION_PAIR_LIST(1, 1, 2) = 4; }},
        {"QR4TV2.RES: TOTAL_SURFACE_INDEX(1) = 0 ", [] { DIVISIONS.TOTAL_SURFACE_INDEX(1) = 0; }},
        {"QR4TV1.RES: ELEMENT_CELL element 2 = 6 ", [] { DIVISIONS.ELEMENT_CELL.data()[1] = 6; }},
        {"QR4TM3.RES: IP(3, 2) = 5 ", [] { MOLECULES.IP(IP_SPECIES, 2) = 5; }},
        {"QR4TM3.RES: IP(2, 7) = -6 ", [] { MOLECULES.IP(IP_CELL, 7) = -6; }},
        {"QR4TM5.RES: XREF(1) = 8 ", [] { MOLECULES.XREF(1) = 8; }},
        {"QR4TC2.RES: ICELL(2, 1) = 11 ", [] { CELLS.ICELL(ICELL_COUNT, 1) = 11; }},
        {"QR4TV2.RES: DIVISION_INFO(1, 1, 2, 1) = -3 ",
         [] { DIVISIONS.DIVISION_INFO(DIVISION_CODE, 1, 2, 1) = -3; }},
        // The check negated the code, which overflows for the lowest 4-byte integer.
        {"QR4TV2.RES: DIVISION_INFO(1, 1, 1, 1) = -2147483648 ",
         [] { DIVISIONS.DIVISION_INFO(DIVISION_CODE, 1, 1, 1) = INT32_MIN; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        make_case(true, true);
        c.damage();
        WRITE_RESTART();
        std::string message = read_set();
        EXPECT_NE(message.find(c.piece), std::string::npos) << message;
    }
    // A recombination mark (a negated cell) is a sound number.
    make_case(true, true);
    MOLECULES.IP(IP_CELL, 7) = -MOLECULES.IP(IP_CELL, 7);
    WRITE_RESTART();
    EXPECT_EQ(read_set(), "");
}

// A set whose state needs more memory than the machine has (one written on a larger machine) is refused
// before anything is allocated, naming the size items; before, its arrays were allocated until the
// machine ran out. Machines of a given size stand in for this one.
TEST_F(RestartRefusalTest, StateBeyondTheMachinesMemoryIsRefused)
{
    struct Case {
        std::uint64_t memory;
        const char* refusal;  // "" when the set is read
    } cases[] = {
        {1000,
         "Restart file QR4TP.RES: the state that its items 10 (MNM) = 10, 30 (MAX_CELLS) = 6, 5 to 7 and 27 "
         "to 29 (divisions and elements per division) = 2 x 3 x 1 x 2 x 1 x 2 give needs "},
        {std::uint64_t(1) << 30, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.memory);
        set_machine_memory_for_tests(c.memory);
        std::string message = read_set();
        set_machine_memory_for_tests(0);
        EXPECT_EQ(message.substr(0, std::strlen(c.refusal)), c.refusal);
        if (*c.refusal)
            EXPECT_NE(message.find(" bytes, more than the 1000 bytes of memory this machine has"),
                      std::string::npos)
                << message;
        else
            EXPECT_EQ(message, "");
    }
}

// A stop while the set is being written leaves the previous set whole: here the run-state file cannot
// be created, so the writer stops before any file of the new set takes the place of an old one.
TEST_F(RestartRefusalTest, InterruptedWritingKeepsThePreviousSet)
{
    std::vector<std::string> previous;
    for (const char* name : RESTART_FILE_NAME)
        previous.push_back(read_file(name));
    RUN.TIME += 1.0;
    std::filesystem::create_directory("QR4TV2.RES.NEW");
    EXPECT_THROW(WRITE_RESTART(), FatalStopped);
    unit_close(UNIT_RESTART);
    for (int f = 0; f < RESTART_FILE_COUNT; ++f)
        EXPECT_TRUE(read_file(RESTART_FILE_NAME[f]) == previous[f]) << RESTART_FILE_NAME[f];
    EXPECT_EQ(read_set(), "");
}

// The writer refuses a state whose arrays do not have the extents of its size record, and a record
// longer than a length word can hold; nothing is written then.
TEST_F(RestartRefusalTest, WriterRefusesAnUnreadableSet)
{
    std::filesystem::remove("QR4TP.RES");
    CELLS.CELL_DATA.allocate(14, 5);  // MAX_CELLS is 6
    try {
        WRITE_RESTART();
        FAIL() << "written";
    } catch (const FatalStopped& stop) {
        EXPECT_NE(std::string(stop.what()).find("CELL_DATA"), std::string::npos) << stop.what();
    }
    EXPECT_FALSE(std::filesystem::exists("QR4TP.RES"));

    make_case(true, true);
    RUN.MNM = 200000000;  // MOL_POS of 12 x MNM bytes
    try {
        WRITE_RESTART();
        FAIL() << "written";
    } catch (const FatalStopped& stop) {
        EXPECT_NE(std::string(stop.what()).find("QR4TM1.RES"), std::string::npos) << stop.what();
        EXPECT_NE(std::string(stop.what()).find("2147483647"), std::string::npos) << stop.what();
    }
    EXPECT_FALSE(std::filesystem::exists("QR4TP.RES"));
}

// Damaged sets: each file cut at several places, and words of each file replaced by zero, -1, a huge
// value and a bit flip in turn. Every set is read or refused; a crash or a sanitizer report fails the
// whole test program.
TEST_F(RestartRefusalTest, DamagedSetsAreReadOrRefused)
{
    std::vector<std::string> sound;
    for (const char* name : RESTART_FILE_NAME)
        sound.push_back(read_file(name));
    const std::int32_t replacements[] = {0, -1, 2147483647, 1 << 20};
    // Without the set list, whose CRCs would refuse every damaged file at once, the damage reaches the
    // checks of the record layout and of the numbers.
    std::filesystem::remove(SET_LIST_FILE);
    int refused = 0;
    int runs = 0;
    for (int f = 0; f < RESTART_FILE_COUNT; ++f) {
        const std::string& original = sound[f];
        std::vector<std::string> versions;
        for (std::size_t cut : {std::size_t(0), std::size_t(3), original.size() / 2, original.size() - 1})
            versions.push_back(original.substr(0, cut));
        // Every word of the short files, every 17th word of the long ones.
        std::size_t step = original.size() > 600 ? 17 : 1;
        for (std::size_t w = 0; w + 4 <= original.size(); w += 4 * step) {
            std::string changed = original;
            std::int32_t v = replacements[(w / 4) % 4];
            if (w % 3 == 0) {  // a flipped bit in place of a replacement
                std::memcpy(&v, original.data() + w, 4);
                v ^= 0x40000000;
            }
            std::memcpy(changed.data() + w, &v, 4);
            versions.push_back(changed);
        }
        for (const std::string& damaged : versions) {
            write_file(RESTART_FILE_NAME[f], damaged);
            refused += read_set().empty() ? 0 : 1;
            ++runs;
        }
        write_file(RESTART_FILE_NAME[f], original);
    }
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, runs);
}

}  // namespace
