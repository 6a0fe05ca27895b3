// The molecule store kept in cell order: after the normal index is built, the store is renumbered in
// list order when the order has decayed, so that the molecules of a cell, and of neighbouring cells,
// lie together in memory for the move, the indexing, the collisions and the sampling.
#ifndef QR4T_APP_KERNEL_CELL_ORDER_H
#define QR4T_APP_KERNEL_CELL_ORDER_H

// Share of the index's list neighbours below which the store is renumbered (see cell_order_share).
// A renumbering reads the store about a dozen times; at 0.3 a stream whose molecules all move every
// pass is renumbered about every 24 passes (at 0.6 every 8, which a store that fits the cache does
// not repay).
constexpr double CELL_ORDER_LIMIT = 0.3;

// Share, in (a sample of) the list positions p of the normal index, of the neighbours p, p + 1 whose
// molecule numbers differ by at most 64: 1 right after a renumbering, falling as molecules change
// cells, leave and enter. 1 with fewer than two molecules.
double cell_order_share();

// Renumbers molecules 1 .. NM in the order of the normal index just built by INDEX_MOLECULES (its
// starts in ICELL row 1, the molecules' cells unchanged since): the molecule at list position p becomes
// molecule p, each cell's molecules keeping their relative order. Every molecule array moves (MOL_POS,
// PV, IP rows 2 and 3, MOL_TIME, MOL_VIB_LEVEL, MOL_SKIP), and IP row 1 becomes the identity, which is
// the same index under the new numbers. Uses one scratch column of 4 bytes per molecule and one integer
// per cell while it runs; without the memory for them the store stays as it is.
void order_molecules_by_cell();

// INDEX_MOLECULES, then order_molecules_by_cell when cell_order_share has fallen below
// CELL_ORDER_LIMIT. The decision reads only the store, so the same state renumbers the same way.
// Changes which molecule draws which random numbers later, not what the index or the state hold.
void index_molecules_in_cell_order();

#endif
