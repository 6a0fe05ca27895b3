// MAIN_PROGRAM: start-up, the run-type choice, the new or continued run, and the time-step loop.
#ifndef QR4T_APP_RUN_MAIN_PROGRAM_H
#define QR4T_APP_RUN_MAIN_PROGRAM_H

#include "base/fatal.h"  // ProgramStopRequest, which MAIN_PROGRAM catches

// Runs the program; returns the exit status (0 for every ordinary stop, a close request included).
int MAIN_PROGRAM();

// The operations that the run calls outside run control, as one table so that a test can put a
// recording stand-in in place of the kernel and the geometry. RUN_PHASES holds the real routines.
struct RunPhases {
    void (*SET_DIVISIONS_AND_ELEMENTS)();
    void (*SET_UP_CELLS)();
    void (*INITIALIZE_FLOW)();
    void (*ADAPT_CELLS)();
    void (*RESET_SAMPLE)();
    void (*RESET_CONTINUOUS_INDEXING)();
    void (*MOVE_MOLECULES)();
    void (*ENTER_MOLECULES)();
    void (*INDEX_MOLECULES)();
    void (*COLLIDE_MOLECULES)();
    void (*SAMPLE_FLOWFIELD)();
    void (*CHECK_INDEX)();
    void (*OUTPUT_PROPERTIES)();
    void (*WRITE_RESTART)();
    void (*READ_RESTART)();
};

extern RunPhases RUN_PHASES;

// Binds RUN_PHASES to the kernel's, the geometry's and the restart set's routines; the program's entry
// points call it before MAIN_PROGRAM.
void bind_run_phases();

// The options file: PROGRAM_OPTIONS from "QR4T.CFG", or 1 (and the file rewritten to hold 1).
void read_program_options();

// The time-step loop (until STOP_TIME or a close request).
void TIME_STEP_LOOP();

#endif
