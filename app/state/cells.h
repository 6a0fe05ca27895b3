// CELLS: the computational cells, formed around nodes by joining elements.
//
// Made by the flowfield geometry (SET_UP_CELLS, re-made by ADAPT_CELLS) and rebuilt by the restart
// reader; the kernel writes fields 12 to 14 of CELL_DATA, CELL_TIME and the index rows 1 and 2 of ICELL
// and IRCELL; the displays only read. The cell samples belong to the samples group.
#ifndef QR4T_APP_STATE_CELLS_H
#define QR4T_APP_STATE_CELLS_H

#include "base/array.h"

// CELL_DATA fields.
constexpr int CELL_VOLUME = 1;  // volume in the flow (scaled units)
constexpr int CELL_NODE_X = 2;  // node position, 2 to 4
constexpr int CELL_NODE_Y = 3;
constexpr int CELL_NODE_Z = 4;
constexpr int CELL_LOW_X = 5;  // lowest and highest x, y, z of the cell's elements, 5 to 10
constexpr int CELL_HIGH_X = 6;
constexpr int CELL_LOW_Y = 7;
constexpr int CELL_HIGH_Y = 8;
constexpr int CELL_LOW_Z = 9;
constexpr int CELL_HIGH_Z = 10;
constexpr int CELL_FILL_FRACTION = 11;  // share of the bounding box that the volume fills
constexpr int CELL_REMAINDER = 12;      // pair-selection remainder
constexpr int CELL_TIME_STEP = 13;      // time step of the cell
constexpr int CELL_SIGMA_CR_MAX = 14;   // maximum of collision cross-section times relative speed
constexpr int CELL_DATA_FIELDS = 14;

// ICELL rows.
constexpr int ICELL_START = 1;        // list entries before the cell's molecules
constexpr int ICELL_COUNT = 2;        // molecules in the cell
constexpr int ICELL_BY_DIVISION = 3;  // the cells listed division by division

struct Cells {
    int CELL_COUNT = 0;          // cells in use
    int MAX_CELLS = 0;           // capacity of the cell arrays
    Array<float, 2> CELL_DATA;   // (14, MAX_CELLS), fields above
    Array<int, 2> ICELL;         // (3, MAX_CELLS), rows above
    Array<int, 1> IRCELL;        // room of the cell in XREF (MAX_CELLS, or 1 with normal indexing)
    Array<double, 1> CELL_TIME;  // (MAX_CELLS): time up to which the cell has been advanced
};

extern Cells CELLS;

#endif
