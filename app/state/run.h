// RUN: the settings of the run and its timing and counting state.
//
// The settings below are written by the flow-data reader (app/casedata) for a new run and by the
// restart reader (app/restart) for a continued one; the kernel enlarges MNM and XREF_SIZE when the
// molecule store grows. Times are held in scaled units (reported times are divided by SCALE_FACTOR).
#ifndef QR4T_APP_STATE_RUN_H
#define QR4T_APP_STATE_RUN_H

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
};

extern RunState RUN;

#endif
