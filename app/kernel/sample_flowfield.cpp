// SAMPLE_FLOWFIELD: one pass over the molecule store adding each molecule's moments to the 8-byte
// sums of its cell and species (Bird 1994, section 1.4: macroscopic properties as sample means).
#include "app/kernel/sample_flowfield.h"

#include "app/displays/displays.h"
#include "app/kernel/constants.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "base/units.h"

#include <cstdlib>

namespace {

constexpr int HISTORY_LENGTH = 200;

}  // namespace

void SAMPLE_FLOWFIELD()
{
    SampleSums& S = SAMPLES;
    auto& CELL_SAMPLE = S.CELL_SAMPLE;
    const auto& IP = MOLECULES.IP;
    const auto& PV = MOLECULES.PV;
    const auto& LEVEL = MOLECULES.MOL_VIB_LEVEL;
    const auto& ROT = GAS.SPECIES_ROTATION;
    const int NM = MOLECULES.NM;
    const bool species_row = MOLECULES.IP_ROWS == 3;
    const int max_vib = GAS.MAX_VIB_MODES;

    S.SAMPLE_COUNT += 1;
    write_list(UNIT_DIAG, {"Flowfield sample", S.SAMPLE_COUNT});
    if (SURFACE.SOLID_TRIANGLE_COUNT > 0)
        SHOW_FORCES_AND_MOMENTS();

    for (int n = 1; n <= NM; ++n) {
        int s = species_row ? std::abs(IP(IP_SPECIES, n)) : 1;
        int j = IP(IP_CELL, n);
        double u = PV(1, n), v = PV(2, n), w = PV(3, n);
        CELL_SAMPLE(CS_COUNT, j, s) += 1.0;
        CELL_SAMPLE(CS_U, j, s) += u;
        CELL_SAMPLE(CS_U2, j, s) += u * u;
        CELL_SAMPLE(CS_U + 1, j, s) += v;
        CELL_SAMPLE(CS_U2 + 1, j, s) += v * v;
        CELL_SAMPLE(CS_U + 2, j, s) += w;
        CELL_SAMPLE(CS_U2 + 2, j, s) += w * w;
        if (ROT(1, s) > 0)
            CELL_SAMPLE(CS_ROT, j, s) += PV(PV_ROTATION, n);
        if (max_vib > 0) {
            for (int k = 1; k <= GAS.VIB_MODE_COUNT(s); ++k)
                CELL_SAMPLE(CS_VIB + k, j, s) += LEVEL(k, n) * double(BOLTZ) * GAS.VIB_TEMP(k, s);
        }
    }

    RUN.SAMPLE_TIME += RUN.SAMPLE_INTERVAL;
    RunState& R = RUN;
    R.NM_HISTORY(1, R.HISTORY_INDEX) = static_cast<float>(R.TIME);
    R.NM_HISTORY(2, R.HISTORY_INDEX) = static_cast<float>(NM);
    R.HISTORY_INDEX = R.HISTORY_INDEX < HISTORY_LENGTH ? R.HISTORY_INDEX + 1 : 1;
}
