// RESULTS: the flowfield and surface results of the last output, 4-byte reals.
//
// Allocated by INITIALIZE_FLOW (app/kernel) in the order VAR, VARS, SPECIES_VAR and rebuilt by the
// restart reader (app/restart); filled by the output (app/kernel) from the sample sums; the displays
// (app/displays) only read them. RESET_SAMPLE leaves them as they are.
#ifndef QR4T_APP_STATE_RESULTS_H
#define QR4T_APP_STATE_RESULTS_H

#include "base/array.h"

// Rows of VAR (row, cell); row VAR_FRACTION + s is the fraction of species s. The flowfield displays'
// property codes are these rows: codes 1..VAR_FRACTION the gas, then the species (SPECIES_VAR rows
// counted on from VAR_FRACTION in the section display).
constexpr int VAR_SAMPLE_SIZE = 1;
constexpr int VAR_NUMBER_DENSITY = 2;
constexpr int VAR_DENSITY = 3;
constexpr int VAR_U = 4;  // velocity components u, v, w in rows 4..6
constexpr int VAR_TRANS_TEMP = 7;
constexpr int VAR_ROT_TEMP = 8;
constexpr int VAR_VIB_TEMP = 9;
constexpr int VAR_TEMP = 10;  // overall temperature
constexpr int VAR_MACH = 11;
constexpr int VAR_MOLS_PER_CELL = 12;
constexpr int VAR_COLL_TIME = 13;  // mean collision time
constexpr int VAR_MFP = 14;        // mean free path
constexpr int VAR_SEP_MFP = 15;    // mean collision separation / mean free path
constexpr int VAR_SPEED = 16;      // flow speed
constexpr int VAR_PRESSURE = 17;   // scalar pressure n k T
constexpr int VAR_FRACTION = 17;

// Rows of SPECIES_VAR (row, cell, species).
constexpr int SV_SAMPLE_SIZE = 1;
constexpr int SV_FRACTION = 2;
constexpr int SV_TRANS_TEMP_X = 3;  // x, y, z translational temperatures in rows 3..5
constexpr int SV_TRANS_TEMP = 6;    // the species' translational temperature, the mean of rows 3..5
constexpr int SV_ROT_TEMP = 7;
constexpr int SV_VIB_TEMP = 8;
constexpr int SV_DIFFUSION_U = 9;  // diffusion velocity in rows 9..11
constexpr int SPECIES_VAR_ROWS = 11;

// Rows of VARS (row, solid triangle); row VARS_FRACTION + s is the fraction of species s.
constexpr int VARS_SAMPLE_SIZE = 1;
constexpr int VARS_NUMBER_FLUX = 2;
constexpr int VARS_PRESSURE = 3;
constexpr int VARS_SHEAR_1 = 4;  // shear stress in two directions
constexpr int VARS_SHEAR_2 = 5;
constexpr int VARS_INCIDENT_HEAT = 6;
constexpr int VARS_REFLECTED_HEAT = 7;  // negative
constexpr int VARS_NET_HEAT = 8;
constexpr int VARS_SURFACE_TEMP = 9;
constexpr int VARS_FRACTION = 9;

struct FlowResults {
    Array<float, 2> VAR;          // (VAR_FRACTION + SPECIES_COUNT, MAX_CELLS) per cell, rows above
    Array<float, 3> SPECIES_VAR;  // (SPECIES_VAR_ROWS, MAX_CELLS, SPECIES_COUNT) per cell and species
    Array<float, 2> VARS;         // (VARS_FRACTION + SPECIES_COUNT, SOLID_TRIANGLE_COUNT) per solid triangle
};

extern FlowResults RESULTS;

#endif
