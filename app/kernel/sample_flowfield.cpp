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
#include "base/prefetch.h"
#include "base/units.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int HISTORY_LENGTH = 200;

// How many molecules ahead of the one being added the memory is asked for the sums of its cell.
constexpr int SAMPLE_PREFETCH_DISTANCE = 64;

// Adds every molecule of the store to the sums of its cell and species, in store order. The store
// drifts out of cell order between the indexing's renumberings, so the sums of consecutive molecules
// lie anywhere in the cell table: those of the molecule SAMPLE_PREFETCH_DISTANCE ahead are asked for
// (a hint only), so that the misses overlap instead of each waiting in turn. The columns are reached
// through raw pointers (column (f, j, s) of CELL_SAMPLE at sums[(f - 1) + (j - 1) F + (s - 1) F C]):
// this is the loop of the phase.
void add_molecules()
{
    auto& CELL_SAMPLE = SAMPLES.CELL_SAMPLE;
    const auto& LEVEL = MOLECULES.MOL_VIB_LEVEL;
    const auto& ROT = GAS.SPECIES_ROTATION;
    const int NM = MOLECULES.NM;
    const bool species_row = MOLECULES.IP_ROWS == 3;
    const int max_vib = GAS.MAX_VIB_MODES;
    const std::ptrdiff_t fields = CELL_SAMPLE.extent(1), per_species = fields * CELL_SAMPLE.extent(2);
    double* const sums = CELL_SAMPLE.data();
    const int32_t* const ip = MOLECULES.IP.data();
    const std::ptrdiff_t ip_rows = MOLECULES.IP_ROWS;
    const float* const pv = MOLECULES.PV.data();
    const std::ptrdiff_t pv_rows = MOLECULES.PV_ROWS;
    auto species = [&](std::ptrdiff_t i) {  // i = n - 1
        return species_row ? std::abs(ip[i * ip_rows + (IP_SPECIES - 1)]) : 1;
    };
    auto row = [&](int j, int s) { return sums + (j - 1) * fields + (s - 1) * per_species; };

    for (int n = 1; n <= NM; ++n) {
        const std::ptrdiff_t i = n - 1;
        if (n + SAMPLE_PREFETCH_DISTANCE <= NM) {
            const std::ptrdiff_t a = i + SAMPLE_PREFETCH_DISTANCE;
            const int ja = ip[a * ip_rows + (IP_CELL - 1)];
            if (ja > 0) {
                const double* const r = row(ja, species(a));
                prefetch_line(r);
                prefetch_line(r + (fields - 1));
            }
        }
        const int s = species(i);
        double* const S = row(ip[i * ip_rows + (IP_CELL - 1)], s);
        auto sum = [S](int field) -> double& { return S[field - 1]; };
        const float* const P = pv + i * pv_rows;
        const double u = P[0], v = P[1], w = P[2];
        sum(CS_COUNT) += 1.0;
        sum(CS_U) += u;
        sum(CS_U2) += u * u;
        sum(CS_U + 1) += v;
        sum(CS_U2 + 1) += v * v;
        sum(CS_U + 2) += w;
        sum(CS_U2 + 2) += w * w;
        if (ROT(1, s) > 0)
            sum(CS_ROT) += P[PV_ROTATION - 1];
        if (max_vib > 0) {
            for (int k = 1; k <= GAS.VIB_MODE_COUNT(s); ++k)
                sum(CS_VIB + k) += LEVEL(k, n) * double(BOLTZ) * GAS.VIB_TEMP(k, s);
        }
    }
}

}  // namespace

void SAMPLE_FLOWFIELD()
{
    SampleSums& S = SAMPLES;
    const int NM = MOLECULES.NM;

    S.SAMPLE_COUNT += 1;
    write_list(UNIT_DIAG, {"Flowfield sample", S.SAMPLE_COUNT});
    if (SURFACE.SOLID_TRIANGLE_COUNT > 0)
        SHOW_FORCES_AND_MOMENTS();

    add_molecules();

    RUN.SAMPLE_TIME += RUN.SAMPLE_INTERVAL;
    RunState& R = RUN;
    R.NM_HISTORY(1, R.HISTORY_INDEX) = static_cast<float>(R.TIME);
    R.NM_HISTORY(2, R.HISTORY_INDEX) = static_cast<float>(NM);
    R.HISTORY_INDEX = R.HISTORY_INDEX < HISTORY_LENGTH ? R.HISTORY_INDEX + 1 : 1;
}
