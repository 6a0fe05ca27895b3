// The start of the Win32 timing programs that time a demonstration case: its data files copied into the
// working folder, the benchmark's main window (bench_window_win.h), and the case's flow and surface data
// read with the box's lattice widths and the stream speed.
#ifndef QR4T_BENCH_BENCH_CASE_WIN_H
#define QR4T_BENCH_BENCH_CASE_WIN_H

#include "app/casedata/casedata.h"
#include "app/geometry/setup.h"
#include "app/state/gas.h"

#include "bench_window_win.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>

// Case n (1 delta wing, 2 vacuum system, 3 re-entry) from the folder `demo`; false, with a line on
// standard error naming the program, when its files cannot be copied.
inline bool open_bench_case(const std::string& demo, int n, const char* program)
{
    const std::string suffix = ".DM" + std::to_string(n);
    if (!CopyFileA((demo + "\\QR4TD" + suffix).c_str(), "QR4TD.DAT", FALSE) ||
        !CopyFileA((demo + "\\QR4SD" + suffix).c_str(), "QR4SD.DAT", FALSE)) {
        std::fprintf(stderr, "%s: cannot copy the data files of case %d from %s\n", program, n, demo.c_str());
        return false;
    }
    open_bench_main_window(program);
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    set_lattice_scalars();
    GasState& G = GAS;
    G.STREAM_SPEED = static_cast<float>(std::sqrt(
        double(G.STREAM_U) * G.STREAM_U + double(G.STREAM_V) * G.STREAM_V + double(G.STREAM_W) * G.STREAM_W));
    return true;
}

#endif
