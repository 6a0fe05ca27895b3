// The molecule store's operations: opening a new slot, removal with dense renumbering, append of a
// copy, and growth of every molecule array through the scratch files "EXTMOLS.SCR" and "EXTMOLI.SCR".
#ifndef QR4T_APP_KERNEL_MOLECULE_STORE_H
#define QR4T_APP_KERNEL_MOLECULE_STORE_H

// Growth factor of the callers that append one molecule: the 4-byte real nearest to 1.1.
constexpr float MNM_GROWTH = 1.1f;

// Opens molecule slot NM + 1: grows the store when full (EXTEND_MNM), bumps NM and clears every field
// of the slot (position, velocity, rotational energy, place in XREF, cell, species, clock, vibrational
// levels), so that nothing of a removed molecule that once used it survives. Under normal indexing IP
// row 1 holds the index list, not the molecule's own data, and is left alone. Returns the new NM.
// Every path that makes a molecule opens its slot here; references into the store taken before the
// call are stale afterwards.
int open_molecule_slot();

void REMOVE_MOLECULE(int& N, int NCELL);
void ADD_MOLECULE(int K, int NCELL);
void EXTEND_MNM(float FACTOR);

// Copies every field of molecule `from` into slot `to` (both within 1 .. MNM).
void copy_molecule(int from, int to);

#endif
