// Change of the molecule weight while the flow goes on.
#ifndef QR4T_APP_KERNEL_RESCALE_WEIGHT_H
#define QR4T_APP_KERNEL_RESCALE_WEIGHT_H

// Multiplies the number of simulated molecules by F: every entry rate times F, the molecules in the
// flowfield thinned out (F <= 1) or cloned (F > 1) at random, then the index rebuilt. FNUM, the samples
// and the cell data are left to the caller. Must not run inside a pass over molecules or cells.
void RESCALE_WEIGHT(float F);

#endif
