// Every process-wide simulation state group back to its default (empty) value at once.
#ifndef QR4T_APP_STATE_CLEAR_STATE_H
#define QR4T_APP_STATE_CLEAR_STATE_H

// Clears BOX, GAS, RUN, SURFACE, DIVISIONS, CELLS, MOLECULES, SAMPLES, RESULTS and DISPLAY: every array
// is released and every scalar takes its default. The random state is not a group and stays. Tests
// start each case from here, so that no group keeps what an earlier case left in it.
void clear_every_state_group();

#endif
