// Shared equipment of the fuzz harnesses.
#include "fuzz/fuzz_support.h"

#include "app/state/clear_state.h"
#include "base/fatal.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>

namespace {

std::filesystem::path WORK_FOLDER;

void remove_work_folder()
{
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(WORK_FOLDER, ec);
}

}  // namespace

void fuzz_enter_folder()
{
    if (WORK_FOLDER.empty()) {
        // One folder per process: libFuzzer's workers run side by side, each in a folder of its own.
        std::string pattern = (std::filesystem::temp_directory_path() / "qr4t-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("qr4t fuzz: no working folder");
            std::abort();
        }
        WORK_FOLDER = pattern;
        std::atexit(remove_work_folder);
    }
    std::filesystem::current_path(WORK_FOLDER);
}

void fuzz_write_file(const char* name, const uint8_t* data, size_t size)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::fprintf(stderr, "qr4t fuzz: cannot write %s\n", name);
        std::abort();
    }
}

void fuzz_write_file(const char* name, std::string_view bytes)
{
    fuzz_write_file(name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void fuzz_remove_files(std::initializer_list<const char*> names)
{
    for (const char* name : names)
        std::remove(name);
}

std::string fuzz_source_file(const char* path)
{
    std::ifstream in(std::filesystem::path(QR4T_SOURCE_DIR) / path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "qr4t fuzz: cannot read %s/%s\n", QR4T_SOURCE_DIR, path);
        std::abort();
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void fuzz_start_reader()
{
    clear_every_state_group();
    fuzz_restart_log();
}

void fuzz_restart_log()
{
    fuzz_enter_folder();
    unit_close_all_unchecked();
    HEADLESS.reset();
    HEADLESS.record_calls = false;
    set_fatal_handler([](const std::string&) { throw FuzzRefused{}; });
    if (!unit_open(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT)) {
        std::fprintf(stderr, "qr4t fuzz: cannot open DIAG.TXT\n");
        std::abort();
    }
}

void fuzz_end_reader()
{
    unit_close_all_unchecked();
}
