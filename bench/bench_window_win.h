// The main window of the Win32 timing programs: the toolkit started with its default settings, a main
// window with the program's client size (1020 x 718) and the diagnostic log open.
#ifndef QR4T_BENCH_BENCH_WINDOW_WIN_H
#define QR4T_BENCH_BENCH_WINDOW_WIN_H

#include "base/units.h"
#include "toolkit/win/entry.h"

#include <string>

inline void open_bench_main_window(const std::string& title)
{
    WInitialise(" ");
    WinOpenRecord main_window;
    main_window.flags = 67;
    main_window.width = 1020;
    main_window.height = 718;
    main_window.title = title;
    WWinOpen(main_window);
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
}

#endif
