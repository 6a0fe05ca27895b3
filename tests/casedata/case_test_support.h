// Test equipment of the case-data tests: a fresh working folder per test with the data files in it,
// the diagnostic log open on unit 9, the state groups cleared, and fatal stops turned into exceptions.
#ifndef QR4T_TESTS_CASEDATA_CASE_TEST_SUPPORT_H
#define QR4T_TESTS_CASEDATA_CASE_TEST_SUPPORT_H

#include "app/state/box.h"
#include "app/state/clear_state.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

// Thrown by the fatal handler in place of the process exit.
struct FatalStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The folder of the fixture data sets in the source tree.
inline std::filesystem::path fixture_dir(const std::string& name)
{
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    std::filesystem::path root = source ? source : ".";
    return root / "tests" / "casedata" / "fixtures" / name;
}

inline std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Each test runs in a folder of its own, since the readers use fixed file names.
class CaseFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Under the build folder's test directory, named after the test: unique per build and test.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        home_ = std::filesystem::current_path();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        folder_ = home_ / "work" / name;
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        clear_every_state_group();
        HEADLESS.reset();
        set_fatal_handler([](const std::string& m) { throw FatalStopped(m); });
        ASSERT_TRUE(unit_open(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT));
    }

    void TearDown() override
    {
        unit_close_all();
        set_fatal_handler(nullptr);
        std::filesystem::current_path(home_);
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    // Copies the data files of a fixture set into the working folder.
    void copy_fixture(const std::string& name)
    {
        for (const char* file : {"QR4TD.DAT", "QR4SD.DAT"}) {
            std::filesystem::path source = fixture_dir(name) / file;
            if (std::filesystem::exists(source))
                std::filesystem::copy_file(source, file, std::filesystem::copy_options::overwrite_existing);
        }
    }

    // Starts over with a fresh diagnostic log, for a second reading within one test.
    void reopen_log()
    {
        unit_close_all();
        ASSERT_TRUE(unit_open(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT));
    }

    // Closes the units so that every file written so far is complete on disk, then reads one.
    std::string written(const std::string& file)
    {
        unit_close_all();
        return read_file(file);
    }

    std::filesystem::path home_;
    std::filesystem::path folder_;
};

#endif
