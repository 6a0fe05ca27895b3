// The live surface picture under Wine: the re-entry case's surfaces (its surface data, mirrored in the
// plane of symmetry) coloured by a pressure that grows along x, drawn with DRAW_SURFACE_PROPERTIES into
// a main window of 1020 x 718 pixels (legend strip, OpenGL into the 510 x 420 bitmap, the copy), 20
// times. Prints the mean time of one drawing in milliseconds; run by scripts/bench_displays, which sets
// it against the time between two outputs of the running case.
//   surface_picture_bench.exe <folder with QR4TD.DM3 and QR4SD.DM3>
#include "app/displays/displays.h"
#include "app/state/display.h"
#include "app/state/results.h"
#include "app/state/surface.h"

#include "bench_case_win.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: surface_picture_bench <folder with QR4TD.DM3 and QR4SD.DM3>\n");
        return 2;
    }
    if (!open_bench_case(argv[1], 3, "surface_picture_bench"))
        return 2;
    const SurfaceState& S = SURFACE;
    Array<float, 2>& VARS = RESULTS.VARS;
    if (!VARS.allocate(9 + GAS.SPECIES_COUNT, S.SOLID_TRIANGLE_COUNT)) {
        std::fprintf(stderr, "surface_picture_bench: no memory for the surface results\n");
        return 2;
    }
    for (int k = 1; k <= S.SOLID_TRIANGLE_COUNT; ++k) {
        const int t = S.SOLID_TRIANGLE(1, k);
        VARS(1, k) = 100.0f;
        VARS(3, k) = 100.0f + S.POINT_X(S.TRIANGLE(1, t));
    }
    DisplaySettings& d = DISPLAY;
    d.SURF_DISPLAY_PROPERTY.set(3);
    DRAW_SURFACE_PROPERTIES();  // the first drawing makes the fonts and the rendering library ready

    constexpr int DRAWINGS = 20;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < DRAWINGS; ++i)
        DRAW_SURFACE_PROPERTIES();
    QueryPerformanceCounter(&end);
    const double ms = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / DRAWINGS * 1e3;
    std::printf("surface picture of the re-entry case: %d solid triangles, mean %.1f ms per drawing\n",
                S.SOLID_TRIANGLE_COUNT, ms);
    unit_close_all();
    return 0;
}
