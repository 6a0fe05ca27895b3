// SAMPLES: the sample sums from which the output makes the flowfield and surface results, and the
// scalars of the present sample. Every sum is an 8-byte real, counts included.
//
// Written by the kernel (sampling, collisions, chemistry, gas-surface interaction) and zeroed all
// together by RESET_SAMPLE (app/kernel). Allocated where their extents become known: the cell sums
// with the cells (app/geometry), the surface sums with the surface divisions (app/geometry),
// PAIR_COLL_COUNT by INITIALIZE_FLOW; the restart reader rebuilds them all. The output (app/kernel)
// and the displays only read them.
#ifndef QR4T_APP_STATE_SAMPLES_H
#define QR4T_APP_STATE_SAMPLES_H

#include "base/array.h"

// Fields of CELL_SAMPLE (field, cell, species).
constexpr int CS_COUNT = 1;  // molecules sampled
constexpr int CS_U = 2;      // sums of u, v, w in rows 2..4
constexpr int CS_U2 = 5;     // sums of u^2, v^2, w^2 in rows 5..7
constexpr int CS_ROT = 8;    // sum of the rotational energy
constexpr int CS_VIB = 8;    // row CS_VIB + m: sum of the vibrational energy of mode m

struct SampleSums {
    Array<double, 3> CELL_SAMPLE;        // (8 + MAX_VIB_MODES, MAX_CELLS, SPECIES_COUNT), fields above
    Array<double, 1> CELL_COLL_COUNT;    // (MAX_CELLS) accepted collisions in the cell
    Array<double, 1> CELL_SEP_SUM;       // (MAX_CELLS) sum of collision-partner separations
    Array<double, 2> PAIR_COLL_COUNT;    // (SPECIES_COUNT, SPECIES_COUNT) collisions per species pair
    Array<double, 3> SURF_SAMPLE;        // (6, TRIANGLE_COUNT, SPECIES_COUNT): 1 incident molecules,
                                         // 2 normal momentum, 3-4 tangential momenta relative to the
                                         // wall, 5 incident energy, 6 minus the reflected energy
    Array<double, 2> SURF_FORCE_SAMPLE;  // (6, SURFACE_COUNT) momentum x, y, z and moment x, y, z
    Array<double, 2> ADIABATIC_SAMPLE;   // (2, TRIANGLE_COUNT) degrees of freedom and energy of the
                                         // incident molecules (wall without heat transfer)
    // The reaction counts of the sample, REACTION_COUNT and SURF_REACTION_COUNT, live with the reaction
    // tables in GAS.

    int SAMPLE_COUNT = 0;            // flowfield samples taken into the present sample
    float SAMPLE_START_TIME = 0.0f;  // flow time at which the present sample began
    int NM_SAMPLE_START = 0;         // NM when the present sample began
};

extern SampleSums SAMPLES;

#endif
