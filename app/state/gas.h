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
constexpr int SPECIES_DIAMETER = 1;    // reference diameter
constexpr int SPECIES_REF_TEMP = 2;    // reference temperature
constexpr int SPECIES_VISC_POWER = 3;  // viscosity-temperature power law
constexpr int SPECIES_MASS = 4;        // molecular mass

// Fields of SPECIES_PAIR_DATA (field, p, q), set by INITIALIZE_FLOW.
constexpr int PAIR_REDUCED_MASS = 1;   // m_p m_q / (m_p + m_q)
constexpr int PAIR_CROSS_SECTION = 2;  // pi/4 (d_p + d_q)^2
constexpr int PAIR_VISC_POWER = 3;     // mean viscosity-temperature exponent
constexpr int PAIR_DIAMETER = 4;       // mean diameter
constexpr int PAIR_REF_TEMP = 5;       // mean reference temperature
constexpr int PAIR_GAMMA_FACTOR = 6;   // 1 / Gamma(2.5 - exponent)
constexpr int PAIR_ROT_RELAX = 7;      // 2 / (Z_p + Z_q), rotational relaxation probability

// Items of EFACE (item, species, side, gas), set by INITIALIZE_FLOW.
constexpr int EFACE_FRACTION = 1;     // species fraction of the gas
constexpr int EFACE_RATE = 2;         // simulated molecules entering one face division per unit time
constexpr int EFACE_REMAINDER = 3;    // carried remainder of the entry number
constexpr int EFACE_VMP = 4;          // most probable speed
constexpr int EFACE_SPEED_RATIO = 5;  // speed ratio S into the box
constexpr int EFACE_CONST_A = 6;      // S + sqrt(S^2 + 2)
constexpr int EFACE_CONST_B = 7;      // 0.5 (1 + S (2S - item 6))

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
    Array<float, 2> SPECIES_DATA;        // (4, SPECIES_COUNT): diameter, ref. temperature, power law, mass
    Array<float, 1> STREAM_FRACTION;     // (SPECIES_COUNT) species fractions of the stream
    Array<float, 1> SECONDARY_FRACTION;  // (SPECIES_COUNT) species fractions of the secondary stream
    Array<float, 3> SPECIES_PAIR_DATA;   // (7, SPECIES_COUNT, SPECIES_COUNT) collision constants per pair
    Array<int, 2> SPECIES_ROTATION;  // (2, SPECIES_COUNT): rotational degrees of freedom, relaxation number
    Array<int, 1> VIB_MODE_COUNT;    // (SPECIES_COUNT) vibrational modes; read only when MAX_VIB_MODES > 0
    Array<double, 1> CP_LEFT_MIN_X;  // (SPECIES_COUNT) molecules removed at side 1 (constant pressure)
    Array<double, 1> CP_LEFT_MAX_X;  // (SPECIES_COUNT) the same at side 2
    Array<double, 1> CP_ENTERED_MIN_X;      // (SPECIES_COUNT) molecules entered at side 1 to make up for them
    Array<double, 1> CP_ENTERED_MAX_X;      // (SPECIES_COUNT) the same at side 2
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
    float STREAM_DENSITY = 0.0f;                              // number density
    float STREAM_TEMP = 0.0f;                                 // temperature
    float STREAM_U = 0.0f, STREAM_V = 0.0f, STREAM_W = 0.0f;  // velocity components

    // ---- initial state and secondary stream
    int INITIAL_STATE = 0;           // 1 the stream fills the box at the start, 2 the box starts empty
    int INITIAL_GAS = 0;             // 0 homogeneous stream; 1 separation boundary at SEPARATION_X
    float SEPARATION_X = 0.0f;       // x of the separation boundary (scaled)
    float SECONDARY_DENSITY = 0.0f;  // number density of the secondary stream
    float SECONDARY_TEMP = 0.0f;     // its temperature
    float SECONDARY_U = 0.0f, SECONDARY_V = 0.0f, SECONDARY_W = 0.0f;  // its velocity components

    // ---- stream constants derived by INITIALIZE_FLOW (kernel)
    Array<float, 1> VMP;                // (SPECIES_COUNT) most probable speed sqrt(2k STREAM_TEMP / m)
    float MAX_SPECIES_VMP = 0.0f;       // the largest VMP
    float STREAM_MASS_DENSITY = 0.0f;   // STREAM_DENSITY x sum of fraction x mass
    float STREAM_PRESSURE = 0.0f;       // STREAM_DENSITY k STREAM_TEMP
    float STREAM_SPEED = 0.0f;          // magnitude of the stream velocity
    float STREAM_MACH = 0.0f;           // stream Mach number
    float SINGLE_REDUCED_MASS = 0.0f;   // one species: SPECIES_PAIR_DATA(1, 1, 1)
    float SINGLE_CROSS_SECTION = 0.0f;  // one species: SPECIES_PAIR_DATA(2, 1, 1)
    float SINGLE_GAMMA_FACTOR = 0.0f;   // one species: SPECIES_PAIR_DATA(6, 1, 1)
    Array<float, 4> EFACE;              // (7, SPECIES_COUNT, 6, 2) entry constants per item, species,
                                        // box side and gas (1 stream, 2 secondary stream)
};

extern GasState GAS;

#endif
