// The live flowfield picture under Wine: a box the shape of the re-entry case (42 x 30 x 16 divisions
// of 2 x 2 x 2 elements, one cell per element) and its z plane of 5,040 elements drawn into a main
// window of 1020 x 718 pixels, 20 times. Prints the mean time of one drawing in milliseconds; run by
// scripts/bench_displays, which sets it against the time between two outputs of the running case.
#include "app/displays/displays.h"
#include "app/state/display.h"
#include "base/units.h"
#include "tests/displays/flow_box.h"
#include "toolkit/win/entry.h"

#include "bench_window_win.h"

#include <windows.h>

#include <cstdio>

int main()
{
    open_bench_main_window("flowfield picture benchmark");
    const float low[3] = {-6, -14, 0}, high[3] = {36, 16, 16};
    const int divisions[3] = {42, 30, 16}, elements[3] = {2, 2, 2};
    if (!make_flow_box(low, high, divisions, elements, 5)) {
        std::fprintf(stderr, "flowfield_picture_bench: cannot allocate the box\n");
        return 2;
    }
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        RESULTS.VAR(VAR_TEMP, c) = 200.0f + static_cast<float>(c % 5000);
    DisplaySettings& d = DISPLAY;
    d.FLOW_PROPERTY.set(VAR_TEMP);
    d.FLOW_PLANE_AXIS.set(3);
    d.FLOW_PLANE_DIVISION.set(1);
    d.FLOW_PLANE_ELEMENT.set(1);
    DRAW_FLOWFIELD_PROPERTIES();  // the first drawing makes the fonts and brushes

    constexpr int DRAWINGS = 20;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < DRAWINGS; ++i)
        DRAW_FLOWFIELD_PROPERTIES();
    QueryPerformanceCounter(&end);
    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("flowfield picture of %d cells, %d drawings, mean %.2f ms per drawing\n", CELLS.CELL_COUNT,
                DRAWINGS, seconds / DRAWINGS * 1e3);
    unit_close_all();
    return 0;
}
