// Robustness of the settings-file reader: corrupted and random lines never crash it (the host build
// runs this under AddressSanitizer), never leave a last error behind, and keep its invariants.
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A fixed pseudo-random sequence of the test's own (the program's generator is never reseeded).
struct Lcg {
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

const char* const SEEDS[] = {
    "PRINTER = 29 laser",
    "PLOTTER=12",
    "PLNAME = my plot.plt",
    "LFNGEN = 41",
    "LFNPLOTO=40",
    "LFNPLOTI = 41",
    "HPGL2=3",
    "DEBUG = 0",
    "CHARSET=symbol.chr",
    "CHARDIR = C:\\fonts",
    "BROWSER = viewer -x",
    "VERSION=",
    "=",
    "  =  ",
    "PRINTER=-2147483648",
};

void check_invariants()
{
    const OsConfigPaths& p = OS_CONFIG_PATHS;
    EXPECT_NE(p.general_unit, p.plot_output_unit);
    EXPECT_NE(p.general_unit, p.plot_input_unit);
    EXPECT_NE(p.plot_output_unit, p.plot_input_unit);
    EXPECT_LE(p.plot_output_file.size(), 260u);
    EXPECT_LE(p.charset_file.size(), 260u);
    EXPECT_LE(p.charset_directory.size(), 260u);
    EXPECT_LE(p.browser.size(), 200u);
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    EXPECT_TRUE(ERROR_STATE.error_mode >= 0 && ERROR_STATE.error_mode <= 4);
}

}  // namespace

TEST(SettingsFuzz, MutatedAndRandomLines)
{
    OS_CONFIG_PATHS = OsConfigPaths{};
    HC_DEVICE_CONFIG = HcDeviceConfig{};
    ERROR_STATE = ErrorState{};
    Lcg rng{20261210u};
    const std::string alphabet = "= \t0123456789+-PRINTERLFNGOIVDBUGHCSA.\\:\"x\r";
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        if (round % 2 == 0) {
            line = SEEDS[rng.next() % std::size(SEEDS)];
            int changes = 1 + static_cast<int>(rng.next() % 4);
            for (int c = 0; c < changes && !line.empty(); ++c) {
                size_t at = rng.next() % line.size();
                switch (rng.next() % 3) {
                case 0: line[at] = alphabet[rng.next() % alphabet.size()]; break;
                case 1: line.erase(at, 1); break;
                default: line.insert(at, std::string(1 + rng.next() % 300, line[at])); break;
                }
            }
        } else {
            size_t n = rng.next() % 320;
            for (size_t i = 0; i < n; ++i)
                line.push_back(static_cast<char>(rng.next() & 0xFF));
        }
        bool version = false;
        apply_settings_line(line, version);
        // A DEBUG line may set another mode; keep the reports silent.
        ERROR_STATE.error_mode = 0;
        check_invariants();
        if (HasFailure()) {
            ADD_FAILURE() << "line: " << line;
            break;
        }
    }
}

TEST(SettingsFuzz, BinaryFileWithNulsAndLongLines)
{
    OS_CONFIG_PATHS = OsConfigPaths{};
    HC_DEVICE_CONFIG = HcDeviceConfig{};
    ERROR_STATE = ErrorState{};
    using namespace std::string_literals;
    std::string text = "PLNAME = a" + std::string(5000, 'b') +
                       "\nPRINTER=3\0"
                       "7\n"s +
                       "\0\0\0CHARSET=\xff\xfe\r\r\n"s + "HPGL2 = 2\0"s;
    std::ofstream("settings_fuzz.ini", std::ios::binary) << text;
    bool version = false;
    EXPECT_TRUE(read_settings_file("settings_fuzz.ini", version));
    EXPECT_EQ(OS_CONFIG_PATHS.plot_output_file, "a" + std::string(259, 'b'));
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_value, 0);  // a NUL inside the number is an invalid character
    EXPECT_EQ(OS_CONFIG_PATHS.charset_file, "standard.chr");  // NULs before the keyword make it no keyword
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_value, 0);               // "2" followed by a NUL on the last line
    check_invariants();
    std::remove("settings_fuzz.ini");
}
