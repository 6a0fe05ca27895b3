// The time-step loop with a recording stand-in for the kernel: phase order for both indexing modes,
// the polls between phases above 1,000,000 molecules, and the silent stop on a close request.
#include "app/run/main_program.h"
#include "app/state/box.h"
#include "app/state/clear_state.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"
#include "toolkit/win/entry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> PHASES;

void record(const char* name)
{
    PHASES.emplace_back(name);
}

class TimeStepLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("qr4t_loop_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        HEADLESS.reset();
        PHASES.clear();
        clear_every_state_group();
        BOX.SCALE_FACTOR = 1.0f;
        MOLECULES.NM = 10;
        RUN.DTM = 1.0f;
        RUN.STOP_TIME = 3.5f;    // four passes: times 1, 2, 3, 4 (a pass starts while TIME < STOP_TIME)
        RUN.SAMPLE_TIME = 1.5f;  // samples at times 2, 3, 4
        RUN.OUTPUT_TIME = 2.5f;  // output at time 3
        RUN.OUTPUT_INTERVAL = 10.0f;
        RUN_PHASES.MOVE_MOLECULES = [] { record("move"); };
        RUN_PHASES.ENTER_MOLECULES = [] { record("enter"); };
        RUN_PHASES.INDEX_MOLECULES = [] { record("index"); };
        RUN_PHASES.COLLIDE_MOLECULES = [] { record("collide"); };
        RUN_PHASES.SAMPLE_FLOWFIELD = [] { record("sample"); };
        RUN_PHASES.CHECK_INDEX = [] { record("check"); };
        RUN_PHASES.OUTPUT_PROPERTIES = [] {
            record("output");
            RUN.OUTPUT_TIME += 10.0f;
        };
        RUN_PHASES.WRITE_RESTART = [] { record("restart"); };
        unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    }
    void TearDown() override
    {
        unit_close_all();
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    std::string joined() const
    {
        std::string s;
        for (const auto& p : PHASES)
            s += p + " ";
        return s;
    }
    static std::string diag()
    {
        std::ifstream f("DIAG.TXT", std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }
    std::filesystem::path dir_, old_;
};

TEST_F(TimeStepLoopTest, NormalIndexingPhaseOrder)
{
    RUN.INDEX_MODE = INDEX_NORMAL;
    TIME_STEP_LOOP();
    EXPECT_EQ(joined(), "move enter index collide "
                        "move enter index collide sample "
                        "move enter index collide sample output restart "
                        "move enter index collide sample ");
    // One time-step line per pass, 76 characters and CR LF each.
    std::string log = diag();
    EXPECT_EQ(log.size(), 4u * 78u);
    EXPECT_EQ(log.substr(0, 5), " TIME");
}

TEST_F(TimeStepLoopTest, ContinuousIndexingChecksTheIndexBeforeOutput)
{
    RUN.INDEX_MODE = INDEX_CONTINUOUS;
    TIME_STEP_LOOP();
    EXPECT_EQ(joined(), "move enter collide "
                        "move enter collide sample "
                        "move enter collide sample check output restart "
                        "move enter collide sample ");
}

TEST_F(TimeStepLoopTest, SampleAndOutputNeedTimeStrictlyAbove)
{
    RUN.SAMPLE_TIME = 2.0f;
    RUN.OUTPUT_TIME = 3.0f;
    RUN.STOP_TIME = 2.5f;
    TIME_STEP_LOOP();
    EXPECT_EQ(joined(), "move enter index collide move enter index collide move enter index collide sample ");
}

TEST_F(TimeStepLoopTest, PollsBetweenPhasesOnlyAboveAMillionMolecules)
{
    RUN.STOP_TIME = 2.5f;  // three passes; the second and third sample, the third outputs
    for (int nm : {1000000, 1000001}) {
        HEADLESS.reset();
        HEADLESS.peek_types.assign(100, MsgResize);  // a message at every poll makes the polls countable
        MOLECULES.NM = nm;
        RUN.TIME = 0.0;
        RUN.OUTPUT_TIME = 2.5f;
        unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
        TIME_STEP_LOOP();
        int polls = HEADLESS.count("WMsgPeek");
        // 1,000,000: once per pass. Above: plus after moving and entering in every pass, before
        // sampling in the two sampling passes, and after output and restart files in the third.
        EXPECT_EQ(polls, nm == 1000000 ? 3 : 3 + 3 * 2 + 2 + 2) << nm;
    }
}

TEST_F(TimeStepLoopTest, ExposeRedrawsTheLiveDisplays)
{
    // The first poll brings an expose: the history plot (whose background rectangle shows it) is drawn
    // once, by that poll alone.
    HEADLESS.peek_types = {MsgExpose};
    TIME_STEP_LOOP();
    EXPECT_EQ(HEADLESS.count("IGrRectangle -1 -50 101 120"), 1);
}

TEST_F(TimeStepLoopTest, CloseRequestStopsWithoutRestartFiles)
{
    // The second poll of the third pass (after moving) brings the close request.
    MOLECULES.NM = 2000000;
    HEADLESS.peek_types = {MsgNone, MsgNone, MsgNone, MsgNone, MsgNone,        MsgNone,
                           MsgNone, MsgNone, MsgNone, MsgNone, MsgCloseRequest};
    EXPECT_THROW(TIME_STEP_LOOP(), ProgramStopRequest);
    EXPECT_EQ(joined().find("restart"), std::string::npos);
}

// The progress log as the loop fills it: field 1020 announces when the displays commence while the
// flow time is below the first output, and each sampling pass clears it, so the field is empty after
// every pass that sampled. (This is why a screenshot of the re-entry case after 20 passes shows no such
// line: with its time step of 5.33E-06 s and first sample at 1.0E-04 s it samples from pass 19 on.)
// Field 1053 holds the count of the logged reaction, and is never written without gas reactions.
TEST_F(TimeStepLoopTest, ProgressLogAnnouncesTheDisplaysUntilTheFirstSample)
{
    RUN.STOP_TIME = 2.5f;  // three passes: no sample at time 1, samples at 2 and 3
    GAS = GasState{};
    TIME_STEP_LOOP();
    std::vector<std::string> field_1020;
    for (const std::string& c : HEADLESS.calls)
        if (c.rfind("WDialogPutString 1020", 0) == 0)
            field_1020.push_back(c);
    const std::string announce =
        "WDialogPutString 1020 |Flowfield and surface displays commence at time    10.0000|";
    EXPECT_EQ(field_1020, (std::vector<std::string>{announce, announce, "WDialogPutString 1020 ||", announce,
                                                    "WDialogPutString 1020 ||"}));
    EXPECT_EQ(HEADLESS.texts[std::make_pair(120, 1020)], "") << "empty after a pass with a sample";
    EXPECT_EQ(HEADLESS.count("WDialogPutDouble 1053"), 0) << "no gas reactions: field 1053 is left alone";

    // With gas reactions the count of the logged reaction is written in every pass.
    HEADLESS.reset();
    RUN.TIME = 0.0;
    GAS.GAS_REACTIONS = 2;
    GAS.REACTION_COUNT.allocate(2);
    GAS.REACTION_COUNT(2) = 7.0;
    DISPLAY.LOG_REACTION.set(2);
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    TIME_STEP_LOOP();
    EXPECT_EQ(HEADLESS.count("WDialogPutDouble 1053 |7.|"), 3);
    GAS = GasState{};
    DISPLAY = DisplaySettings{};
}

}  // namespace
