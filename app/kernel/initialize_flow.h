// The initialisation of a new run from zero flow time.
#ifndef QR4T_APP_KERNEL_INITIALIZE_FLOW_H
#define QR4T_APP_KERNEL_INITIALIZE_FLOW_H

// Stream and pair constants, the stream's collision time and mean free path, the initial time step,
// the per-cell collision fields, the entry constants of the stream sides (EFACE), of the flow-entry
// triangles and of the outgassing triangles, the initial molecules, the run state, the result arrays
// and a sample reset; ends with the message box "Initialization Complete". A close request while it
// runs ends the program at once.
void INITIALIZE_FLOW();

#endif
