// grid_bench.exe (under Wine, run by scripts/bench): the grid control with 100,000 rows of six columns:
// its set-up from the companion text, page down (aim: under 50 ms), a thumb jump to the last rows, and
// row swaps on and off screen, and WGridSort of all rows by an integer column in random and in sorted
// order (the sorted order was the slow case of a first-row pivot). Prints one line per figure.
#include "toolkit/grid/grid.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_win.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int BENCH_DIALOG = 3200;
constexpr int GRID = 3201;

double now_ms()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Lets the dialog paint what the last step changed, so that drawing counts in the figures.
void paint(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

int main()
{
    WinOpenRecord r;
    r.flags = 0x43 | 128;
    r.width = 1020;
    r.height = 718;
    r.title = "QR4T grid bench";
    WWinOpen(r);
    WGridRegister();

    double t0 = now_ms();
    WDialogLoad(BENCH_DIALOG);
    const double setup = now_ms() - t0;
    HWND dialog = current_dialog_window();
    HWND grid = GetDlgItem(dialog, GRID);
    GridRecord* g = grid ? grid_record(grid) : nullptr;
    if (!g) {
        std::fprintf(stderr, "grid_bench: the grid was not set up\n");
        return 1;
    }
    for (int row = 1; row <= 100000; ++row) {  // every row holds numbers: each scroll changes every text
        WGridPutInteger(GRID, 2, row, row);
        WGridPutDouble(GRID, 4, row, row * 0.25);
    }
    WDialogShow(-1, -1, 0, 2);
    paint(dialog);
    std::printf("grid_bench: %d rows x %d columns, %d slots, %d cell controls\n", g->rows, g->columns,
                g->slots, g->columns * g->slots);
    std::printf("set-up (load with companion text)    %10.2f ms\n", setup);

    constexpr int PAGES = 40;
    t0 = now_ms();
    for (int i = 0; i < PAGES; ++i) {
        grid_vscroll(grid, SB_PAGEDOWN, 0);
        paint(dialog);
    }
    std::printf("page down (mean of %d)                %10.2f ms\n", PAGES, (now_ms() - t0) / PAGES);

    t0 = now_ms();
    grid_vscroll(grid, SB_THUMBPOSITION, (g->rows - g->rows_fit) / g->scale);
    paint(dialog);
    std::printf("thumb jump to the last rows           %10.2f ms (top row %d)\n", now_ms() - t0, g->top_row);

    constexpr int SWAPS = 20000;
    t0 = now_ms();
    for (int i = 0; i < SWAPS; ++i) {
        int f = GRID;
        WGridSwapRows(f, (i * 37) % 50000, 50000 + (i * 91) % 40000, 0);  // both off screen
    }
    std::printf("WGridSwapRows off screen (mean)       %10.4f ms\n", (now_ms() - t0) / SWAPS);
    constexpr int SCREEN_SWAPS = 200;
    t0 = now_ms();
    for (int i = 0; i < SCREEN_SWAPS; ++i) {
        int f = GRID;
        WGridSwapRows(f, g->top_row + i % g->rows_fit, i, 0);  // one row on screen
    }
    std::printf("WGridSwapRows one row on screen (mean)%10.4f ms\n", (now_ms() - t0) / SCREEN_SWAPS);

    // Sorts: the integer column holds a random permutation first, then is sorted again as it stands.
    unsigned seed = 12345;
    for (int row = 1; row <= g->rows; ++row) {
        seed = seed * 1103515245u + 12345u;
        WGridPutInteger(GRID, 2, row, static_cast<int>(seed >> 8));
    }
    t0 = now_ms();
    WGridSort(GRID, 2);
    std::printf("WGridSort %d rows, random order    %10.1f ms\n", g->rows, now_ms() - t0);
    t0 = now_ms();
    WGridSort(GRID, 2);
    std::printf("WGridSort %d rows, sorted order    %10.1f ms\n", g->rows, now_ms() - t0);
    t0 = now_ms();
    WGridSort(GRID, 2, 0, 0, 1);
    std::printf("WGridSort %d rows, reversed order  %10.1f ms\n", g->rows, now_ms() - t0);
    WDialogUnload();
    return 0;
}
