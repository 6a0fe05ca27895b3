// RUN: the settings of the run and its timing and counting state.
//
// The settings below are written by the flow-data reader (app/casedata) for a new run and by the
// restart reader (app/restart) for a continued one; the kernel enlarges MNM and XREF_SIZE when the
// molecule store grows. Times are held in scaled units (reported times are divided by SCALE_FACTOR).
#ifndef QR4T_APP_STATE_RUN_H
#define QR4T_APP_STATE_RUN_H

#include "base/array.h"

// Values of INDEX_MODE and SUBCELL_MODE.
constexpr int INDEX_NORMAL = 0;
constexpr int INDEX_CONTINUOUS = 1;
constexpr int SUBCELLS_NONE = 0;
constexpr int SUBCELLS_TRANSIENT = 1;

struct RunState {
    // ---- settings from the flow data
    float FNUM = 0.0f;                 // real molecules represented by one simulated molecule
    float REF_TIME = 0.0f;             // reference time (scaled)
    int SAMPLING_MODE = 0;             // 0 unsteady flow; any other value an eventual steady flow
    float OUTPUT_INTERVAL_REF = 0.0f;  // output interval in reference times
    float AVERAGING_FRACTION = 1.0f;   // fraction of each output interval used for time-averaging
    int SAMPLES_PER_OUTPUT = 0;        // samples in each output interval
    int STEADY_AFTER_OUTPUTS = 0;      // output intervals after which the flow is taken as steady
    int MNM = 0;                       // capacity of the molecule store
    int MOVES_PER_COLL_TIME = 0;       // molecule moves in each mean collision time
    int MOVES_PER_TRANSIT = 0;         // molecule moves in each cell transit time
    int INDEX_MODE = 0;                // INDEX_NORMAL or INDEX_CONTINUOUS
    int XREF_SIZE = 0;                 // length of XREF: 1 normal, int(6 x MNM) continuous indexing
    int SUBCELL_MODE = 0;              // SUBCELLS_NONE or SUBCELLS_TRANSIENT
    int PROGRAM_OPTIONS = 1;           // the integer of the options file "QR4T.CFG" (1 standard)

    // ---- run state of the kernel: set by INITIALIZE_FLOW for a new run, advanced by the time-step
    // loop and the kernel's phases, saved in the restart set
    double TIME = 0.0;               // flow time
    float DTM = 0.0f;                // overall time step
    float DTM_INITIAL = 0.0f;        // the initial DTM
    float STOP_TIME = 0.0f;          // 100000 x REF_TIME
    float OUTPUT_INTERVAL = 0.0f;    // OUTPUT_INTERVAL_REF x REF_TIME
    float OUTPUT_TIME = 0.0f;        // next output time
    float SAMPLE_INTERVAL = 0.0f;    // time between samples within the averaging part of an interval
    float SAMPLE_GAP = 0.0f;         // part of an output interval before its averaging begins
    float SAMPLE_TIME = 0.0f;        // next sample time
    float STEADY_START_TIME = 0.0f;  // STEADY_AFTER_OUTPUTS x OUTPUT_INTERVAL
    double MOVE_COUNT = 0.0;         // molecule moves
    double COLLISION_COUNT = 0.0;    // collisions
    double SURFACE_HIT_COUNT = 0.0;  // molecule-surface interactions
    double ENTRY_COUNT = 0.0;        // molecules entered
    double REMOVAL_COUNT = 0.0;      // molecules removed
    int ROUNDOFF_COUNT = 0;          // surface-interaction round-off substitutions
    float SEP_MFP_RATIO = 0.0f;      // mean (collision separation / mean free path) over the cells
    float MEAN_CELL_STEP = 0.0f;     // mean of the cell steps set at the last output with a usable cell;
                                     // 0 until then (not saved: a continued run sets it anew)
    float MIN_CELL_STEP = 0.0f;      // MEAN_CELL_STEP / 10
    int OUTPUT_COUNT = 0;            // outputs made
    int PICTURE_COUNTER = 1;         // number of the next picture file
    int OUTPUT_UNITS = 1;            // unit system of the results (from PROGRAM_OPTIONS)
    float REFERENCE_AREA = -1.0f;    // reference area of the coefficients; -1 not yet given
    Array<float, 2> NM_HISTORY;      // (2, 200) flow time and NM of each sample
    int HISTORY_INDEX = 2;           // next NM_HISTORY entry to be written
    float OUTGAS_TOTAL = 0.0f;       // simulated molecules outgassed per unit time, all triangles
    int SURFACE_ROW1_MAX = 0;        // largest field 1 of SURFACE_SPARE_2 (restart size record)

    // ---- the restart set's own items: the check integer as read, and spare items that only the
    // run-state record carries (0 in a new run, written back as read in a continued one)
    int JCHECK = 0;  // check integer read from the restart set (1234567 when sound)
    int SPARE_RUN_INT = 0;
    float SPARE_RUN_REAL = 0.0f;
    int SPARE_DISPLAY_INT = 0;
    Array<int, 1> SPARE_INT_ARRAY;  // never allocated: an item of no bytes
};

extern RunState RUN;

#endif
