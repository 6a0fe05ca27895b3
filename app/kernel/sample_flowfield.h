// The sampling and output phases of the time-step loop.
#ifndef QR4T_APP_KERNEL_SAMPLE_FLOWFIELD_H
#define QR4T_APP_KERNEL_SAMPLE_FLOWFIELD_H

#include "base/array.h"

// "Sampling": adds every molecule's count, velocity moments and internal energies to the sums of its
// cell and species, counts the sample and records a point of the molecule-number history.
void SAMPLE_FLOWFIELD();

// "Output": the surface result VARS, the flowfield result VAR and SPECIES_VAR from the sums of the
// present sample, the new cell and overall time steps, the next output and sample times, and the
// sample reset of unsteady sampling.
void OUTPUT_PROPERTIES();

// The parts of OUTPUT_PROPERTIES, for tests. IC(c) (one entry per cell) is 1 when cell c's sample may
// set its time step.
void surface_properties();
void flowfield_properties(Array<int, 1>& IC);
void adapt_time_steps(const Array<int, 1>& IC);

#endif
