// Speed of the kernel on the three demonstration cases (data/demo): each is read by the program's
// readers, set up as a new run and run through the time-step loop's phases up to its first output,
// when the cells' steps adapt; then the passes up to the next output (at most --passes) are timed.
// Printed per case: cells, molecules, passes per second and moves per pass after the first output,
// nanoseconds per move, and the state checksum.
//
// Usage: demo_bench [1|2|3] [--passes N] (default: all three, at most 400 timed passes).
#include "bench/kernel_pass.h"
#include "tests/kernel_physics/physics_case.h"

#include "base/units.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::filesystem::path DEMO_FOLDER =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "demo";

void run_demo(int k, int max_passes)
{
    namespace fs = std::filesystem;
    if (unit_is_open(UNIT_DIAG))
        unit_close(UNIT_DIAG);
    const auto dir =
        fs::temp_directory_path() / ("qr4t_demo_bench_" + std::to_string(k) + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(DEMO_FOLDER / ("QR4TD.DM" + std::to_string(k)), dir / "QR4TD.DAT");
    fs::copy_file(DEMO_FOLDER / ("QR4SD.DM" + std::to_string(k)), dir / "QR4SD.DAT");
    fs::current_path(dir);
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    clear_every_state_group();
    HEADLESS.reset();
    HEADLESS.record_calls = false;
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    INITIALIZE_FLOW();
    PhaseRun r;
    const auto t_first = BenchClock::now();
    while (r.outputs < 1)
        r.run(1);
    const double first = seconds_since(t_first);
    const int passes_before = r.passes;
    const double moves0 = RUN.MOVE_COUNT;
    const auto t0 = BenchClock::now();
    int passes = 0;
    while (r.outputs < 2 && passes < max_passes) {
        r.run(1);
        ++passes;
    }
    const double seconds = seconds_since(t0), moves = RUN.MOVE_COUNT - moves0;
    std::printf("demonstration %d: %d cells, %d molecules; first output after %d passes (%.1f s)\n", k,
                CELLS.CELL_COUNT, MOLECULES.NM, passes_before, first);
    std::printf("  after it: %d passes, %.4g passes per second, %.4g moves per pass, %.2f ns per move\n",
                passes, seconds > 0 ? passes / seconds : 0.0, passes > 0 ? moves / passes : 0.0,
                moves > 0 ? 1e9 * seconds / moves : 0.0);
    std::printf("  state checksum %016llx\n", static_cast<unsigned long long>(state_checksum()));
    std::fflush(stdout);
    unit_close(UNIT_DIAG);
    fs::current_path(dir.parent_path());
    fs::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv)
{
    int max_passes = 400, only = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--passes" && i + 1 < argc)
            max_passes = std::max(0, std::atoi(argv[++i]));
        else if (a == "1" || a == "2" || a == "3")
            only = std::atoi(a.c_str());
    }
    const auto home = std::filesystem::current_path();
    for (int k = 1; k <= 3; ++k)
        if (only == 0 || only == k)
            run_demo(k, max_passes);
    std::filesystem::current_path(home);
    return 0;
}
