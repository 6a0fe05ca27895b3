// The live flowfield picture's passes over every cell (the range, the logarithmic rescan and the
// colours) and its walk over the elements of one plane, on the headless toolkit with the record off: a
// box the shape of the re-entry case (42 x 30 x 16 divisions of 2 x 2 x 2 elements, 161,280 cells, a
// z plane of 5,040 elements), one cell per element. The drawing itself is timed under Wine by
// flowfield_picture_bench.exe (scripts/bench_displays).
#include "app/displays/displays.h"
#include "app/state/display.h"
#include "tests/displays/flow_box.h"
#include "toolkit/headless/headless.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void set_up_reentry_box(int log_scale)
{
    static bool made = false;
    if (!made) {
        const float low[3] = {-6, -14, 0}, high[3] = {36, 16, 16};
        const int divisions[3] = {42, 30, 16}, elements[3] = {2, 2, 2};
        if (!make_flow_box(low, high, divisions, elements, 5))
            std::abort();
        for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
            RESULTS.VAR(VAR_TEMP, c) = 200.0f + static_cast<float>(c % 5000);
        made = true;
    }
    DisplaySettings& d = DISPLAY;
    d.FLOW_PROPERTY.set(VAR_TEMP);
    d.FLOW_PLANE_AXIS.set(3);
    d.FLOW_PLANE_DIVISION.set(1);
    d.FLOW_PLANE_ELEMENT.set(1);
    d.FLOW_LOG_SCALE.set(log_scale);
    HEADLESS.record_calls = false;
}

void BM_FlowfieldPicture(benchmark::State& state)
{
    set_up_reentry_box(static_cast<int>(state.range(0)));
    for (auto _ : state)
        DRAW_FLOWFIELD_PROPERTIES();
    state.counters["cells"] = CELLS.CELL_COUNT;
}
BENCHMARK(BM_FlowfieldPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
