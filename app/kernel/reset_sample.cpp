// RESET_SAMPLE: starts a new sample.
#include "app/kernel/reset_sample.h"

#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"

// RESET_SAMPLE: records the start of the sample (flow time as a 4-byte real, NM) and zeroes every
// sample sum over its whole allocated extent: the cell, collision, surface, force and reaction sums.
// The results, the molecule-number history, the running event totals, the constant-pressure and
// separation counters, the cell data and the sample and output times are left as they are.
void RESET_SAMPLE()
{
    auto& S = SAMPLES;
    S.SAMPLE_START_TIME = static_cast<float>(RUN.TIME);
    S.SAMPLE_COUNT = 0;
    S.NM_SAMPLE_START = MOLECULES.NM;
    S.CELL_COLL_COUNT.fill(0.0);
    S.CELL_SEP_SUM.fill(0.0);
    S.CELL_SAMPLE.fill(0.0);
    S.SURF_SAMPLE.fill(0.0);
    S.ADIABATIC_SAMPLE.fill(0.0);
    S.SURF_FORCE_SAMPLE.fill(0.0);
    GAS.REACTION_COUNT.fill(0.0);
    GAS.SURF_REACTION_COUNT.fill(0.0);
    S.PAIR_COLL_COUNT.fill(0.0);
}
