// GAS: the gas of the case: species and their internal energy, gas-phase and surface reactions with
// the tables built from them, the stream and the secondary stream, the initial state, and the
// per-species counters kept with the species arrays.
//
// Written by the flow-data reader (app/casedata) for a new run and by the restart reader (app/restart)
// for a continued one. The flow initialisation of the kernel fills SPECIES_PAIR_DATA, the derived
// stream values and EFACE; the kernel counts into REACTION_COUNT, SURF_REACTION_COUNT and the
// constant-pressure and separation counters. The displays only read.
//
// Species codes are 1-based numbers into the species tables; an optional code of 0 or less is "none".
#ifndef QR4T_APP_STATE_GAS_H
#define QR4T_APP_STATE_GAS_H

#include "base/array.h"

// Fields of SPECIES_DATA.
constexpr int SPECIES_DIAMETER = 1;     // reference diameter
constexpr int SPECIES_REF_TEMP = 2;     // reference temperature
constexpr int SPECIES_VISC_POWER = 3;   // viscosity-temperature power law
constexpr int SPECIES_MASS = 4;         // molecular mass

struct GasState {
    // ---- counts and dimensions
    int SPECIES_COUNT = 0;         // number of molecular species
    int MAX_VIB_MODES = 0;         // largest number of vibrational modes of any species; 0 = none
    int GAS_REACTIONS = 0;         // number of gas-phase reactions
    int THIRD_BODY_TABLES = 0;     // number of third-body tables (0 without gas reactions)
    int SURFACE_REACTIONS = 0;     // number of surface reactions
    int GAS_REACTION_DIM = 1;      // GAS_REACTIONS, or 1 when there are none
    int THIRD_BODY_DIM = 1;        // THIRD_BODY_TABLES, or 1 when there are none
    int SURFACE_REACTION_DIM = 1;  // SURFACE_REACTIONS, or 1 when there are none

    // ---- species ("NUMBER OF SPECIES" group)
    Array<float, 2> SPECIES_DATA;       // (4, SPECIES_COUNT): diameter, ref. temperature, power law, mass
    Array<float, 1> STREAM_FRACTION;    // (SPECIES_COUNT) species fractions of the stream
    Array<float, 1> SECONDARY_FRACTION; // (SPECIES_COUNT) species fractions of the secondary stream
    Array<float, 3> SPECIES_PAIR_DATA;  // (7, SPECIES_COUNT, SPECIES_COUNT) collision constants per pair
    Array<int, 2> SPECIES_ROTATION;     // (2, SPECIES_COUNT): rotational degrees of freedom, relaxation number
    Array<int, 1> VIB_MODE_COUNT;       // (SPECIES_COUNT) vibrational modes; read only when MAX_VIB_MODES > 0
    Array<double, 1> CP_LEFT_MIN_X;     // (SPECIES_COUNT) molecules removed at side 1 (constant pressure)
    Array<double, 1> CP_LEFT_MAX_X;     // (SPECIES_COUNT) the same at side 2
    Array<double, 1> CP_ENTERED_MIN_X;  // (SPECIES_COUNT) molecules entered at side 1 to make up for them
    Array<double, 1> CP_ENTERED_MAX_X;  // (SPECIES_COUNT) the same at side 2
    Array<double, 1> SEPARATION_CROSSINGS;  // (SPECIES_COUNT) net crossings of the separation boundary

    // ---- vibration ("VIBRATIONAL MODES" group)
    Array<float, 2> VIB_TEMP;   // (MAX_VIB_MODES, SPECIES_COUNT) characteristic vibrational temperature
    Array<float, 3> VIB_RELAX;  // (2, MAX_VIB_MODES, SPECIES_COUNT) constants C1, C2 of Bird (1994) eq. 6.53

    // ---- gas-phase reaction tables (built from the reaction input)
    Array<float, 2> REACTION_CONSTANTS;    // (6, GAS_REACTION_DIM): internal degrees of freedom,
                                           // activation energy, 1.E10 x pre-exponential parameter,
                                           // temperature exponent, reaction energy, 6 kernel's
    Array<int, 2> REACTION_REACTANTS;      // (2, GAS_REACTION_DIM) species of the two reacting molecules
    Array<int, 2> REACTION_PRODUCT_COUNT;  // (2, GAS_REACTION_DIM) molecules out of reactant 1 and 2
    Array<float, 2> THIRD_BODY_TABLE;      // (THIRD_BODY_DIM, SPECIES_COUNT) third-body values
    Array<int, 3> REACTION_PRODUCTS;       // (2, GAS_REACTION_DIM, 2): (i, N, j) j-th molecule out of
                                           // reactant i; (2, N, 1) of a recombination: third body code
                                           // (species when > 0, minus the table number otherwise)
    Array<int, 2> REACTION_PAIR_COUNT;     // (SPECIES_COUNT, SPECIES_COUNT) reactions per pair; symmetric
    Array<int, 3> REACTION_PAIR_LIST;      // (GAS_REACTION_DIM, SPECIES_COUNT, SPECIES_COUNT) reaction
                                           // numbers of each pair, increasing; symmetric in the pair
    Array<double, 1> REACTION_COUNT;       // (GAS_REACTION_DIM) gas reactions in the present sample

    // ---- surface reactions
    Array<int, 2> SURF_REACTANTS;          // (2, SURFACE_REACTION_DIM) incident species; 2nd <= 0 none
    Array<int, 2> SURF_REACTION_PRODUCTS;  // (6, SURFACE_REACTION_DIM) reflected species; <= 0 none
    Array<float, 1> SURF_REACTION_ENERGY;  // (SURFACE_REACTION_DIM) energy input to the surface
    Array<double, 1> SURF_REACTION_COUNT;  // (SURFACE_REACTION_DIM) surface reactions in the present sample
    Array<int, 1> SURF_REACTION_SPECIES_COUNT;  // (SPECIES_COUNT) surface reactions of incident species
    Array<int, 2> SURF_REACTION_SPECIES_LIST;   // (SURFACE_REACTION_DIM, SPECIES_COUNT) their numbers

    // ---- stream (or reference gas)
    float STREAM_DENSITY = 0.0f;  // number density
    float STREAM_TEMP = 0.0f;     // temperature
    float STREAM_U = 0.0f, STREAM_V = 0.0f, STREAM_W = 0.0f;  // velocity components

    // ---- initial state and secondary stream
    int INITIAL_STATE = 0;           // 1 the stream fills the box at the start, 2 the box starts empty
    int INITIAL_GAS = 0;             // 0 homogeneous stream; 1 separation boundary at SEPARATION_X
    float SEPARATION_X = 0.0f;       // x of the separation boundary (scaled)
    float SECONDARY_DENSITY = 0.0f;  // number density of the secondary stream
    float SECONDARY_TEMP = 0.0f;     // its temperature
    float SECONDARY_U = 0.0f, SECONDARY_V = 0.0f, SECONDARY_W = 0.0f;  // its velocity components
};

extern GasState GAS;

#endif
