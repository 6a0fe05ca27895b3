// MOLECULES: the molecule store, parallel arrays over the molecule numbers 1 .. MNM, of which 1 .. NM
// are in use and kept dense (a removed molecule's slot takes the last molecule).
//
// Written by the kernel (app/kernel: initial fill, entry, move, collisions, chemistry, EXTEND_MNM),
// rebuilt whole by the restart reader (app/restart), relocated by the cell adaption (app/geometry);
// the displays only read it. The collision step's sub-cell work arrays live here too: they hold
// molecule numbers of the cell being collided and are sized from MNM.
#ifndef QR4T_APP_STATE_MOLECULES_H
#define QR4T_APP_STATE_MOLECULES_H

#include "base/array.h"

#include <cstdint>

// Rows of PV and IP that several files name.
constexpr int PV_ROTATION = 4;  // PV row of the rotational energy (present when PV_ROWS = 4)
constexpr int IP_PLACE = 1;     // IP row: index entry (list position or place in XREF)
constexpr int IP_CELL = 2;      // IP row: the molecule's cell (negated while a recombination marks it)
constexpr int IP_SPECIES = 3;   // IP row: species code (present when IP_ROWS = 3)

struct MoleculeStore {
    Array<float, 2> MOL_POS;         // (3, MNM) x, y, z, scaled lengths
    Array<float, 2> PV;              // (PV_ROWS, MNM) u, v, w; row 4 rotational energy (J)
    Array<int32_t, 2> IP;            // (IP_ROWS, MNM) index entry, cell, species
    Array<double, 1> MOL_TIME;       // (MNM) flow time up to which the molecule has moved
    Array<int8_t, 2> MOL_VIB_LEVEL;  // (MAX_VIB_MODES, MNM) vibrational level of each mode, 0..127
    Array<int32_t, 1> XREF;          // (XREF_SIZE) continuous index: molecule numbers, cell by cell
    Array<uint8_t, 1> MOL_SKIP;      // (MNM, or none) passes of the move in which molecule n surely is
                                     // not due, so that its clock is not read; the move's own record,
                                     // not saved: none (or a store of another size) reads every clock

    // The capacity MNM (second extent of every molecule array) and XREF_SIZE are RUN's: the flow data
    // give them, EXTEND_MNM enlarges them, the restart set saves them.
    int NM = 0;               // molecules in use
    int NEW_XREF_SIZE = 1;    // XREF_SIZE being made by EXTEND_MNM
    int PV_ROWS = 3;          // 4 when any species rotates, else 3
    int IP_ROWS = 2;          // 3 with more than one species, else 2
    int DEBUG_MOLECULE = -1;  // molecule whose move is traced, -1 for none

    // Sub-cell work arrays of the collision step, allocated by INITIALIZE_FLOW, grown by the
    // collisions when a cell needs more room.
    Array<int32_t, 2> IPS;          // (3, IPS_SIZE) molecules of the cell, ordered by sub-cell
    Array<int32_t, 2> ISCH;         // (2, ISCH_SIZE) start and count of each sub-cell
    Array<int32_t, 2> SUBCELL_IJK;  // (3, ISCH_SIZE) indices of each sub-cell
    int IPS_SIZE = 0;               // columns of IPS: (2 MNM) / CELL_COUNT at initialisation
    int ISCH_SIZE = 0;              // columns of ISCH and SUBCELL_IJK: int(sqrt(IPS_SIZE))
};

extern MoleculeStore MOLECULES;

// The species of molecule n: IP row 3 with more than one species, else species 1.
inline int molecule_species(int n)
{
    return MOLECULES.IP_ROWS == 3 ? MOLECULES.IP(IP_SPECIES, n) : 1;
}

// Sets the species of molecule n; stored only with more than one species (IP row 3), else implied.
inline void set_molecule_species(int n, int s)
{
    if (MOLECULES.IP_ROWS == 3)
        MOLECULES.IP(IP_SPECIES, n) = s;
}

#endif
