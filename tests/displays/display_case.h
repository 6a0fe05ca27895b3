// Fixture of the display tests: a demonstration case read into the state (flow data, surface data, the
// box's lattice widths and the stream speed), on the headless toolkit, in a scratch folder of its own.
#ifndef QR4T_TESTS_DISPLAYS_DISPLAY_CASE_H
#define QR4T_TESTS_DISPLAYS_DISPLAY_CASE_H

#include "app/casedata/casedata.h"
#include "app/displays/clear_display_state.h"
#include "app/geometry/setup.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/clear_state.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class DisplayCaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        original_ = std::filesystem::current_path();
        folder_ =
            std::filesystem::temp_directory_path() /
            ("qr4t_displays_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
             "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        clear_every_state_group();
        clear_display_state();
        HEADLESS.reset();
        unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    }
    void TearDown() override
    {
        unit_close_all_unchecked();
        std::filesystem::current_path(original_);
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    // Demonstration case n (1 delta wing, 2 vacuum system, 3 re-entry) as a new run would read it; the
    // headless record starts empty afterwards.
    static void load_case(int n)
    {
        const char* source = std::getenv("QR4T_SOURCE_DIR");
        const std::filesystem::path demo = std::filesystem::path(source ? source : ".") / "data" / "demo";
        const std::string suffix = ".DM" + std::to_string(n);
        std::filesystem::copy_file(demo / ("QR4TD" + suffix), "QR4TD.DAT");
        std::filesystem::copy_file(demo / ("QR4SD" + suffix), "QR4SD.DAT");
        READ_FLOW_DATA();
        READ_SURFACE_DATA();
        set_lattice_scalars();
        GasState& G = GAS;
        G.STREAM_SPEED =
            static_cast<float>(std::sqrt(double(G.STREAM_U) * G.STREAM_U + double(G.STREAM_V) * G.STREAM_V +
                                         double(G.STREAM_W) * G.STREAM_W));
        DISPLAY.RUN_TYPE = 2 + n;
        HEADLESS.calls.clear();
    }
    // The text a dialog field shows, without the blanks around it.
    static std::string field_text(int dialog, int field)
    {
        auto it = HEADLESS.texts.find({dialog, field});
        if (it == HEADLESS.texts.end())
            return "";
        std::string s = it->second;
        s.erase(0, s.find_first_not_of(' '));
        s.erase(s.find_last_not_of(' ') + 1);
        return s;
    }

private:
    std::filesystem::path original_, folder_;
};

#endif
