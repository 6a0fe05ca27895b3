// The display control handler's cost when nothing changed, under Wine: the Delta Wing case's data and
// the control dialogs in a main window as the program has them after its first output, then
// HANDLE_DISPLAY_CONTROLS called 2,000 times. Prints the mean time of one call in microseconds; run by
// scripts/bench_displays, which sets it against the mean pass time of the running program.
//   display_controls_bench.exe <folder with QR4TD.DM1 and QR4SD.DM1>
#include "app/displays/displays.h"
#include "app/state/display.h"
#include "app/state/run.h"

#include "bench_case_win.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: display_controls_bench <folder with QR4TD.DM1 and QR4SD.DM1>\n");
        return 2;
    }
    if (!open_bench_case(argv[1], 1, "display_controls_bench"))
        return 2;
    DISPLAY.RUN_TYPE = 3;
    LOAD_DISPLAY_DIALOGS();
    RUN.OUTPUT_COUNT = 1;
    HANDLE_DISPLAY_CONTROLS();  // the run-start differences redraw once

    constexpr int CALLS = 2000;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < CALLS; ++i)
        HANDLE_DISPLAY_CONTROLS();
    QueryPerformanceCounter(&end);
    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("handler calls %d, mean %.1f us per call\n", CALLS, seconds / CALLS * 1e6);
    unit_close_all();
    return 0;
}
