// The restart set written and read back: every item of every file equal after the round trip, the
// file lengths of the record layout, the log lines and the progress dialog, and the two variants.
#include "restart_test_support.h"

#include <algorithm>

namespace {

// Writes the set of the present state and reads it back into a cleared state: both snapshots equal.
void round_trip()
{
    std::vector<std::string> before = state_snapshot();
    WRITE_RESTART();
    clear_every_state_group();
    READ_RESTART();
    std::vector<std::string> after = state_snapshot();
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t f = 0; f < before.size(); ++f)
        EXPECT_TRUE(before[f] == after[f]) << RESTART_FILE_NAME[f] << " differs after the round trip";
}

using RestartRoundTripTest = RestartTest;

TEST_F(RestartRoundTripTest, EveryItemSurvivesWithVibrationAndContinuousIndexing)
{
    make_case(true, true);
    round_trip();
    EXPECT_EQ(RUN.JCHECK, RESTART_CHECK);
    EXPECT_EQ(MOLECULES.NM, 7);
    EXPECT_EQ(CELLS.CELL_COUNT, 5);
    EXPECT_EQ(RUN.MNM, 10);
    EXPECT_EQ(CELLS.IRCELL.size(), 6u);
    EXPECT_EQ(GAS.VIB_RELAX.size(), 8u);
    EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL.size(), 20u);
    // ICHECK is allocated (8 x MNSEG) but in no file.
    EXPECT_EQ(DIVISIONS.ICHECK.size(), 24u);
}

TEST_F(RestartRoundTripTest, EveryItemSurvivesWithoutVibrationAndWithNormalIndexing)
{
    make_case(false, false);
    round_trip();
    EXPECT_FALSE(GAS.VIB_TEMP.allocated());
    EXPECT_FALSE(MOLECULES.MOL_VIB_LEVEL.allocated());
    EXPECT_EQ(CELLS.IRCELL.size(), 1u);
    EXPECT_EQ(MOLECULES.XREF.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists("QR4TM5.RES"));
}

// File lengths from the record layout, computed here independently of the item lists.
TEST_F(RestartRoundTripTest, FileLengthsFollowTheLayout)
{
    for (bool vibration : {true, false}) {
        SCOPED_TRACE(vibration ? "vibration" : "no vibration");
        make_case(vibration, true);
        WRITE_RESTART();
        const long long S = 2, SC = 2, PC = 5, TC = 4, MC = 6, MNM = 10, KC = 3, EC = 1, GRD = 3, SRD = 1,
                        TBD = 2, SDC = 2, SEC = 3, TSIS = 7, ISCH = 2, IPS = 4, XREF = 60;
        const long long MV = vibration ? 2 : 0;
        const long long divisions = 2 * 3 * 1, elements = 2 * 1 * 2;
        auto length = [](const char* name) {
            return static_cast<long long>(std::filesystem::file_size(name));
        };
        EXPECT_EQ(length("QR4TP.RES"), 140);
        EXPECT_EQ(length("QR4TM1.RES"), 12 * MNM + 8);
        EXPECT_EQ(length("QR4TM2.RES"), 4 * 4 * MNM + 8);
        EXPECT_EQ(length("QR4TM3.RES"), 4 * 3 * MNM + 8);
        EXPECT_EQ(length("QR4TM4.RES"), 8 * MNM + 12 * IPS + MV * MNM + 8 * ISCH + 4 + 8);
        EXPECT_EQ(length("QR4TM5.RES"), 4 * XREF + 8);
        EXPECT_EQ(length("QR4TV1.RES"), 4 * divisions * elements + 8);
        EXPECT_EQ(length("QR4TC1.RES"), 4 * (17 + S) * MC + 44 * MC * S + 8);
        EXPECT_EQ(length("QR4TC2.RES"), 76 * MC + 8);
        EXPECT_EQ(length("QR4TCS.RES"), 8 * (8 + MV) * MC * S + 16 * MC + 8);
        // The run-state record: 5412 bytes of scalars and fixed tables, then its allocatable arrays.
        long long arrays = 4 * SC + 4 * TC + 24 * TC + 8 * SC + 8 * SC + 3 * 4 * PC + 20 * TC  // items 2-11
                           + 12 * divisions + 4 * MC + 8 * SDC + 12 * ISCH + 4 * TSIS          // 29-35
                           + 4 * S + 4 * S + 16 * S + 28 * S * S + 8 * S                       // 51-55
                           + 8 * S * S                                                         // 77
                           + 48 * TC * S + 48 * SC + 16 * TC + 8 * SRD + 24 * SRD + 4 * SRD    // 85-90
                           + (vibration ? 4 * S + 4 * MV * S + 8 * MV * S : 0)                 // 91-93
                           + 24 * GRD + 4 * TBD * S + 8 * GRD + 8 * GRD + 16 * GRD + 4 * S * S +
                           4 * GRD * S * S + 8 * GRD + 8 * SRD              // 97-105
                           + 4 * (9 + S) * KC                               // 106
                           + 4 * EC + 20 * EC + 28 * S * EC + 336 * S       // 153-156
                           + 16 * KC + 8 * KC + 12 * S * KC + 4 * SRD * KC  // 157-160
                           + 4 * S + 5 * 8 * S + 4 * S + 4 * SRD * S        // 170-178
                           + 4 * SEC * elements + 4 * 4 * SC;               // 185-197
        EXPECT_EQ(length("QR4TV2.RES"), 5412 + arrays + 8);
        reopen_log();
    }
}

// The size record: 132 in both length words, MAX_CELLS twice, the check integer last.
TEST_F(RestartRoundTripTest, SizeRecordLayout)
{
    make_case(true, true);
    WRITE_RESTART();
    std::string bytes = read_file("QR4TP.RES");
    ASSERT_EQ(bytes.size(), 140u);
    auto word = [&bytes](int k) {
        std::int32_t v;
        std::memcpy(&v, bytes.data() + 4 * k, 4);
        return v;
    };
    EXPECT_EQ(word(0), 132);
    EXPECT_EQ(word(34), 132);
    EXPECT_EQ(word(9), 6);    // item 9 MAX_CELLS
    EXPECT_EQ(word(30), 6);   // item 30 MAX_CELLS again
    EXPECT_EQ(word(10), 10);  // MNM
    EXPECT_EQ(word(33), RESTART_CHECK);
}

// Writing twice without a change gives the same bytes; no temporary file is left behind.
TEST_F(RestartRoundTripTest, WritingTwiceGivesIdenticalFiles)
{
    make_case(true, true);
    WRITE_RESTART();
    std::vector<std::string> first;
    for (const char* name : RESTART_FILE_NAME)
        first.push_back(read_file(name));
    WRITE_RESTART();
    for (int f = 0; f < RESTART_FILE_COUNT; ++f)
        EXPECT_TRUE(read_file(RESTART_FILE_NAME[f]) == first[f]) << RESTART_FILE_NAME[f];
    // Beside the restart files: the log and the set list (which counts the writes).
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const bool text = entry.path().filename() == "DIAG.TXT" || entry.path().filename() == "QR4TSET.TXT";
        EXPECT_EQ(entry.path().extension(), text ? ".TXT" : ".RES") << entry.path();
    }
}

// The scalars and fixed tables of the run-state record take 5412 bytes.
TEST_F(RestartRoundTripTest, RunStateRecordFixedPart)
{
    clear_every_state_group();
    RUN.INDEX_MODE = 2;  // no IRCELL in the plan: with every count 0 no allocatable array has a byte
    GAS.GAS_REACTION_DIM = GAS.SURFACE_REACTION_DIM = GAS.THIRD_BODY_DIM = 0;
    std::vector<PlannedArray> plan = restart_plan();
    MeasureVisitor measure(plan);
    restart_items(FILE_RUN_STATE, measure);
    EXPECT_EQ(measure.bytes, 5412.0L);
    GAS.MAX_VIB_MODES = 1;
    plan = restart_plan();
    MeasureVisitor with_vibration(plan);
    restart_items(FILE_RUN_STATE, with_vibration);
    EXPECT_EQ(with_vibration.bytes, 5412.0L);
}

// With normal indexing no "QR4TM5.RES" is written, an old one stays as it is and is not read.
TEST_F(RestartRoundTripTest, OldXrefFileIsLeftAlone)
{
    write_file("QR4TM5.RES", "left by an earlier run");
    make_case(true, false);
    round_trip();
    EXPECT_EQ(read_file("QR4TM5.RES"), "left by an earlier run");
}

// The log lines of the writer and of a good read, and the progress dialog.
TEST_F(RestartRoundTripTest, LogLinesAndProgress)
{
    make_case(false, true);
    WRITE_RESTART();
    HEADLESS.reset();
    clear_every_state_group();
    READ_RESTART();
    const std::string log = log_text();
    const std::string expected =
        std::string(" Writing restart files, QR4TP.RES, QR4TMn.RES, QR4TVn.RES \r\n") +
        " Reading restart files, QR4TP.RES, QR4TMn.RES, QR4TVn.RES,QR4TCn,RES \r\n" +
        " JCHECK from QR4TP     1234567\r\n" + " NM at restart           7\r\n" + "     1234567\r\n";
    EXPECT_EQ(log, expected);
    std::vector<std::string> progress;
    for (const std::string& call : HEADLESS.calls) {
        if (call.rfind("WDialog", 0) == 0)
            progress.push_back(call);
    }
    ASSERT_GE(progress.size(), 5u);
    EXPECT_EQ(progress[0], "WDialogLoad 123");
    EXPECT_NE(
        std::find_if(progress.begin(), progress.end(),
                     [](const std::string& c) { return c.find("Reading QR4TC2.RES") != std::string::npos; }),
        progress.end());
    EXPECT_EQ(progress.back(), "WDialogHide 123");
    EXPECT_EQ((HEADLESS.progress[{123, 1024}]), 1000);
}

}  // namespace
