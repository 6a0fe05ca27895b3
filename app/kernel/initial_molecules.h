// The initial molecules of a new run (the part of INITIALIZE_FLOW after the entry constants): the
// store, the fill of the cells with the stream and the secondary stream, and their first indexing.
#ifndef QR4T_APP_KERNEL_INITIAL_MOLECULES_H
#define QR4T_APP_KERNEL_INITIAL_MOLECULES_H

// Sets PV_ROWS and IP_ROWS and allocates the molecule store with capacity MNM; stops the run when the
// memory cannot be had.
void allocate_molecule_store();

// With INITIAL_STATE 1 fills every cell with Maxwellian molecules of the stream (and, with a separation
// boundary, of the secondary stream beyond it), then indexes them. A vacuum start under continuous
// indexing lays out the empty rooms instead.
void fill_initial_molecules();

#endif
