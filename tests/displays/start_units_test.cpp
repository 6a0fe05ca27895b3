// The unit system a new run starts in, from the options file, through the whole program on the
// headless toolkit: the Vacuum System case (its stream at rest) with the options file holding 3 or 7.
#include "app/run/main_program.h"
#include "app/state/run.h"
#include "base/random.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include "display_case.h"

#include <fstream>

namespace {

using StartUnitsTest = DisplayCaseTest;

// Before, an options file holding 3 with the stream at rest brought the refusal back at every poll.
TEST_F(StartUnitsTest, OptionsFileUnitsThatCannotBeShownStartInSI)
{
    const RandomState keep = RANDOM_STATE;
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    const std::filesystem::path demo = std::filesystem::path(source ? source : ".") / "data" / "demo";
    const struct {
        int options;  // what the options file holds
        int counted;  // what the program takes it for (outside 1..3: the standard options, 1)
        int boxes;
    } cases[] = {{3, 3, 1}, {7, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        TearDown();
        SetUp();
        unit_close_all_unchecked();  // the program opens its own log
        for (const char* name : {"QR4TD.DM2", "QR4SD.DM2"})
            std::filesystem::copy_file(demo / name, name);
        std::ofstream("QR4T.CFG") << c.options << "\r\n";
        HEADLESS.answers = {{116, 1005, 4}, {162, 1005, 1}};  // the Vacuum System; keep the options
        // A close request at the first poll of the fourth pass.
        HEADLESS.peek_hook = [] {
            static int polls = 0;
            if (!HEADLESS.loaded_dialogs.count(IDD_LOG))
                return static_cast<int>(MsgNone);
            return static_cast<int>(++polls % 4 == 0 ? MsgCloseRequest : MsgNone);
        };
        bind_run_phases();
        EXPECT_EQ(MAIN_PROGRAM(), 0);
        EXPECT_EQ(RUN.PROGRAM_OPTIONS, c.counted);
        EXPECT_EQ(RUN.OUTPUT_UNITS, 1);
        EXPECT_EQ(
            HEADLESS.count("WMessageBox 0 3 1 |Cannot choose \"Non-dimensional\" for zero stream speed|"),
            c.boxes);
        EXPECT_EQ(HEADLESS.count("WDialogShow 112 5000 2345"), 1);
        EXPECT_EQ(HEADLESS.count("WDialogShow 134"), 0);
        RANDOM_STATE = keep;
    }
}

}  // namespace
