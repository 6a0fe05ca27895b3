// One picture of the flowfield section display under Wine: the re-entry case's box and lattice (its
// flow and surface data), every element its own cell with a sampled temperature, the z plane through
// its middle drawn with DRAW_FLOWFIELD_SECTION into the 621 x 690 window. Prints the mean time of a
// drawing in milliseconds over 10 drawings and exits non-zero above the 200 ms goal; run by
// scripts/bench_displays.
//   section_picture_bench.exe <folder with QR4TD.DM3 and QR4SD.DM3>
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/results.h"
#include "app/state/samples.h"

#include "bench_case_win.h"

namespace {

constexpr double GOAL_MS = 200.0;

// One cell per element, numbered x fastest; the temperature grows across the box so that the picture
// uses the whole ramp.
bool fill_lattice()
{
    const BoxState& B = BOX;
    Divisions& D = DIVISIONS;
    const int nx = B.DIVISIONS_X * B.ELEMENTS_PER_DIVISION_X, ny = B.DIVISIONS_Y * B.ELEMENTS_PER_DIVISION_Y;
    const int nz = B.DIVISIONS_Z * B.ELEMENTS_PER_DIVISION_Z;
    if (!D.ELEMENT_CELL.allocate(B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X, B.ELEMENTS_PER_DIVISION_Z,
                                 B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X))
        return false;
    Cells& C = CELLS;
    C.CELL_COUNT = C.MAX_CELLS = nx * ny * nz;
    if (!C.CELL_DATA.allocate(CELL_DATA_FIELDS, C.MAX_CELLS) ||
        !RESULTS.VAR.allocate(VAR_FRACTION + GAS.SPECIES_COUNT, C.MAX_CELLS) ||
        !RESULTS.SPECIES_VAR.allocate(SPECIES_VAR_ROWS, C.MAX_CELLS, GAS.SPECIES_COUNT))
        return false;
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const int c = 1 + i + nx * (j + ny * k);
                D.ELEMENT_CELL(k / B.ELEMENTS_PER_DIVISION_Z + 1, j / B.ELEMENTS_PER_DIVISION_Y + 1,
                               i / B.ELEMENTS_PER_DIVISION_X + 1, k % B.ELEMENTS_PER_DIVISION_Z + 1,
                               j % B.ELEMENTS_PER_DIVISION_Y + 1, i % B.ELEMENTS_PER_DIVISION_X + 1) = c;
                C.CELL_DATA(CELL_VOLUME, c) = 1.0f;
                RESULTS.VAR(VAR_SAMPLE_SIZE, c) = 1000.0f;
                RESULTS.VAR(VAR_TEMP, c) = 200.0f + 10.0f * i + j;
            }
    SAMPLES.SAMPLE_COUNT = 20;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: section_picture_bench <folder with QR4TD.DM3 and QR4SD.DM3>\n");
        return 2;
    }
    if (!open_bench_case(argv[1], 3, "section_picture_bench"))
        return 2;
    if (!fill_lattice()) {
        std::fprintf(stderr, "section_picture_bench: no memory for the lattice\n");
        return 2;
    }
    open_section_display_state();
    SECTION.SECTION_DIVISION.set((BOX.DIVISIONS_Z + 1) / 2);
    SECTION.SECTION_PLANE_POSITION = section_plane_position();
    WWinOpenChild(SECTION.SECTION_WINDOW, 7, 393, 23, SECTION_PICTURE_WIDTH, SECTION_PICTURE_HEIGHT,
                  "section picture benchmark");
    DRAW_FLOWFIELD_SECTION();  // the first drawing loads the fonts

    constexpr int DRAWINGS = 10;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < DRAWINGS; ++i)
        DRAW_FLOWFIELD_SECTION();
    QueryPerformanceCounter(&end);
    const double ms = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / DRAWINGS * 1e3;
    const int plane_elements =
        BOX.DIVISIONS_X * BOX.ELEMENTS_PER_DIVISION_X * BOX.DIVISIONS_Y * BOX.ELEMENTS_PER_DIVISION_Y;
    std::printf(
        "section picture of the re-entry case's z plane: %d elements in the plane, %d cells, mean %.1f ms "
        "per drawing (goal %.0f ms)\n",
        plane_elements, CELLS.CELL_COUNT, ms, GOAL_MS);
    WWinCloseChild(SECTION.SECTION_WINDOW);
    unit_close_all();
    return ms > GOAL_MS ? 1 : 0;
}
