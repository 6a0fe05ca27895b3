// clear_every_state_group: one place that knows the list of state groups.
#include "app/state/clear_state.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"

void clear_every_state_group()
{
    BOX = BoxState{};
    GAS = GasState{};
    RUN = RunState{};
    SURFACE = SurfaceState{};
    DIVISIONS = Divisions{};
    CELLS = Cells{};
    MOLECULES = MoleculeStore{};
    SAMPLES = SampleSums{};
    RESULTS = FlowResults{};
    DISPLAY = DisplaySettings{};
}
