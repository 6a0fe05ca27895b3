// A flowfield built in a test or benchmark, for the flowfield displays of both builds: a box with the
// divisions and elements given, one cell per element, every cell well sampled.
#ifndef QR4T_TESTS_DISPLAYS_FLOW_BOX_H
#define QR4T_TESTS_DISPLAYS_FLOW_BOX_H

#include "app/geometry/setup.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/samples.h"

// A box from `low` to `high` on each axis (x, y, z) with the divisions and elements per division
// given; one cell per element, numbered across x first, then y, then z; each with volume 1, sample
// size 1000 and 10 molecules per cell; SAMPLE_COUNT 20; species `species`. False when an array cannot
// be allocated.
[[nodiscard]] inline bool make_flow_box(const float low[3], const float high[3], const int divisions[3],
                                        const int elements[3], int species = 1)
{
    BoxState& B = BOX;
    B.XMIN = low[0], B.YMIN = low[1], B.ZMIN = low[2];
    B.XMAX = high[0], B.YMAX = high[1], B.ZMAX = high[2];
    B.DIVISIONS_X = divisions[0], B.DIVISIONS_Y = divisions[1], B.DIVISIONS_Z = divisions[2];
    B.ELEMENTS_PER_DIVISION_X = elements[0], B.ELEMENTS_PER_DIVISION_Y = elements[1];
    B.ELEMENTS_PER_DIVISION_Z = elements[2];
    set_lattice_scalars();
    Divisions& D = DIVISIONS;
    if (!D.ELEMENT_CELL.allocate(B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X, B.ELEMENTS_PER_DIVISION_Z,
                                 B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X))
        return false;
    const int nx = divisions[0] * elements[0], ny = divisions[1] * elements[1],
              nz = divisions[2] * elements[2];
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i)
                D.ELEMENT_CELL(k / elements[2] + 1, j / elements[1] + 1, i / elements[0] + 1,
                               k % elements[2] + 1, j % elements[1] + 1, i % elements[0] + 1) =
                    1 + i + nx * (j + ny * k);
    Cells& C = CELLS;
    C.CELL_COUNT = C.MAX_CELLS = nx * ny * nz;
    GAS.SPECIES_COUNT = species;
    if (!C.CELL_DATA.allocate(CELL_DATA_FIELDS, C.MAX_CELLS) ||
        !RESULTS.VAR.allocate(VAR_FRACTION + species, C.MAX_CELLS) ||
        !RESULTS.SPECIES_VAR.allocate(SPECIES_VAR_ROWS, C.MAX_CELLS, species))
        return false;
    for (int c = 1; c <= C.CELL_COUNT; ++c) {
        C.CELL_DATA(CELL_VOLUME, c) = 1.0f;
        RESULTS.VAR(VAR_SAMPLE_SIZE, c) = 1000.0f;
        RESULTS.VAR(VAR_MOLS_PER_CELL, c) = 10.0f;
    }
    SAMPLES.SAMPLE_COUNT = 20;
    return true;
}

// The cell of an element given by its 1-based indices across the whole box.
inline int& flow_element_cell(int i, int j, int k)
{
    const BoxState& B = BOX;
    return DIVISIONS.ELEMENT_CELL(
        (k - 1) / B.ELEMENTS_PER_DIVISION_Z + 1, (j - 1) / B.ELEMENTS_PER_DIVISION_Y + 1,
        (i - 1) / B.ELEMENTS_PER_DIVISION_X + 1, (k - 1) % B.ELEMENTS_PER_DIVISION_Z + 1,
        (j - 1) % B.ELEMENTS_PER_DIVISION_Y + 1, (i - 1) % B.ELEMENTS_PER_DIVISION_X + 1);
}

#endif
