// Helpers of the base tests: a scratch folder per test, whole-file reads and writes, and fatal stops
// turned into exceptions so that a failure path can be checked in-process.
#ifndef QR4T_TESTS_BASE_TEST_SUPPORT_H
#define QR4T_TESTS_BASE_TEST_SUPPORT_H

#include "base/fatal.h"
#include "base/units.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

// What a fatal stop throws while FatalToException is installed.
struct FatalStop {
    std::string message;  // the message fatal_stop received
};

inline void throw_fatal_stop(const std::string& message)
{
    throw FatalStop{message};
}

// A fresh folder under the operating system's temporary folder, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir()
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "qr4t_base_" + std::string(info ? info->name() : "test") + "_" +
                           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        dir_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(dir_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string path(std::string_view file) const { return (dir_ / file).string(); }

private:
    std::filesystem::path dir_;
};

inline void write_file(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Fixture base: fatal stops throw FatalStop, and every unit is closed again after the test.
class FatalToException : public testing::Test {
protected:
    void SetUp() override { set_fatal_handler(throw_fatal_stop); }
    void TearDown() override
    {
        set_fatal_handler(nullptr);
        unit_close_all_unchecked();
    }
    ScratchDir scratch;
};

#endif
