// RESCALE_WEIGHT: changes the number of simulated molecules by a factor while the flow goes on.
#include "app/kernel/rescale_weight.h"

#include "app/kernel/cell_index.h"
#include "app/kernel/molecule_store.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "base/random.h"

namespace {

float scaled(float value, float F)
{
    return static_cast<float>(double(value) * F);
}

// Every rate at which molecules are created, times F: EFACE item 2 of every species, side and gas;
// outgassing rates; entry rates and remainders of the flow-entry triangles.
void scale_entry_rates(float F)
{
    auto& G = GAS;
    auto& S = SURFACE;
    for (int g = 1; g <= G.EFACE.extent(4); ++g)
        for (int k = 1; k <= G.EFACE.extent(3); ++k)
            for (int s = 1; s <= G.EFACE.extent(2); ++s)
                G.EFACE(EFACE_RATE, s, k, g) = scaled(G.EFACE(EFACE_RATE, s, k, g), F);
    for (int j = 1; j <= S.SOLID_TRIANGLE_COUNT; ++j)
        for (int s = 1; s <= G.SPECIES_COUNT; ++s)
            S.SOLID_SPECIES_PROPERTIES(2, s, j) = scaled(S.SOLID_SPECIES_PROPERTIES(2, s, j), F);
    for (int j = 1; j <= S.ENTRY_TRIANGLE_COUNT; ++j)
        for (int s = 1; s <= G.SPECIES_COUNT; ++s)
            for (int i = 2; i <= 3; ++i)
                S.ENTRY_SPECIES_PROPERTIES(i, s, j) = scaled(S.ENTRY_SPECIES_PROPERTIES(i, s, j), F);
}

}  // namespace

// RESCALE_WEIGHT: see the header. Thinning keeps each molecule with probability F (one random number
// per molecule tested; the molecule moved into a freed slot is tested when the walk comes back to it).
// Cloning first enlarges the store to about 1.1 F NM, then gives each molecule present at the start
// int(F - 1) clones and one more with probability equal to the fraction left (one random number per
// molecule), so F - 1 clones on average.
void RESCALE_WEIGHT(float F)
{
    auto& M = MOLECULES;
    scale_entry_rates(F);
    if (F <= 1.0f) {
        for (int N = 1; N <= M.NM; ++N)
            if (!(random_uniform() <= F))
                REMOVE_MOLECULE(N, M.IP(IP_CELL, N));
    } else {
        const double X = double(F) * M.NM * 1.1 / RUN.MNM;
        if (X > 1.0)
            EXTEND_MNM(static_cast<float>(X));
        const int start = M.NM;
        for (int N = 1; N <= start; ++N) {
            const int K = M.IP(IP_CELL, N);
            float f = static_cast<float>(double(F) - 1.0);
            while (f > 1.0f) {
                ADD_MOLECULE(N, K);
                f = static_cast<float>(double(f) - 1.0);
            }
            if (random_uniform() < f)
                ADD_MOLECULE(N, K);
        }
    }
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        RESET_CONTINUOUS_INDEXING();
    else
        INDEX_MOLECULES();
}
