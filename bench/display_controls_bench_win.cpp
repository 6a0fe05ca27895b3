// The display control handler's cost when nothing changed, under Wine: the Delta Wing case's data and
// the control dialogs in a main window as the program has them after its first output, then
// HANDLE_DISPLAY_CONTROLS called 2,000 times. Prints the mean time of one call in microseconds; run by
// scripts/bench_displays, which sets it against the mean pass time of the running program.
//   display_controls_bench.exe <folder with QR4TD.DM1 and QR4SD.DM1>
#include "app/casedata/casedata.h"
#include "app/displays/displays.h"
#include "app/geometry/setup.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "base/units.h"
#include "toolkit/win/entry.h"

#include "bench_window_win.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: display_controls_bench <folder with QR4TD.DM1 and QR4SD.DM1>\n");
        return 2;
    }
    const std::string demo = argv[1];
    if (!CopyFileA((demo + "\\QR4TD.DM1").c_str(), "QR4TD.DAT", FALSE) ||
        !CopyFileA((demo + "\\QR4SD.DM1").c_str(), "QR4SD.DAT", FALSE)) {
        std::fprintf(stderr, "display_controls_bench: cannot copy the Delta Wing data from %s\n", argv[1]);
        return 2;
    }
    open_bench_main_window("display controls benchmark");
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    set_lattice_scalars();
    GasState& G = GAS;
    G.STREAM_SPEED = static_cast<float>(std::sqrt(
        double(G.STREAM_U) * G.STREAM_U + double(G.STREAM_V) * G.STREAM_V + double(G.STREAM_W) * G.STREAM_W));
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
