// The molecule-in-cell index in its two modes: normal indexing rebuilds every cell's list in IP row 1
// once per time step; continuous indexing keeps the lists in XREF up to date molecule by molecule,
// with room to spare in every cell (IRCELL), and rebuilds them only when needed.
#ifndef QR4T_APP_KERNEL_CELL_INDEX_H
#define QR4T_APP_KERNEL_CELL_INDEX_H

void INDEX_MOLECULES();
void RESET_CONTINUOUS_INDEXING();
void INSERT_INTO_CELL_LIST(int K, int N);
void REMOVE_FROM_CELL_LIST(int K, int N);
void CHECK_INDEX();

// Lays out the rooms and starts of the continuous index for the present counts in ICELL row 2 (every
// count set to 0 afterwards): room int(4.95 n + int(MNM / MAX_CELLS)), groups end to end.
void lay_out_cell_rooms();

#endif
