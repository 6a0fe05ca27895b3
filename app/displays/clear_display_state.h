// The displays' own process-wide state back to its start at once, as clear_every_state_group does for
// the simulation state.
#ifndef QR4T_APP_DISPLAYS_CLEAR_DISPLAY_STATE_H
#define QR4T_APP_DISPLAYS_CLEAR_DISPLAY_STATE_H

// Clears SECTION, S3D (its arrays released), VIEW_3D, VIEW_LIST, the two colour ramps, the plane frames
// and CONTOUR_BAND (both keep their size, with every entry 0). Tests start each case from here, so
// that no display keeps what an earlier case left in it.
void clear_display_state();

#endif
