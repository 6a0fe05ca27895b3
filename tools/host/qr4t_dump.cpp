// qr4t-dump: reads the restart set of the current folder and prints results as CSV, for tests and
// physics checks. Test equipment, not a feature of the program.
//
//   --summary   time, molecule count and the event counters
//   --cells     cell number, node position x y z, then every VAR field
//   --species   cell number, species, then every SPECIES_VAR field
//   --surface   solid triangle number, centroid x y z, then every VARS field
//
// Lengths and times are true values (divided by the scale factor). The diagnostic lines of the reader
// go to a scratch log, so the run's own "DIAG.TXT" is left as it is.
#include "app/restart/restart.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void print_row(const std::string& head, const float* values, int n, int stride = 1)
{
    std::printf("%s", head.c_str());
    for (int i = 0; i < n; ++i)
        std::printf(",%.9g", static_cast<double>(values[i * stride]));
    std::printf("\n");
}

void summary()
{
    std::printf("time,molecules,moves,collisions,surface_hits,entries,samples\n");
    std::printf("%.15g,%d,%.15g,%.15g,%.15g,%.15g,%d\n", RUN.TIME / BOX.SCALE_FACTOR, MOLECULES.NM, RUN.MOVE_COUNT,
                RUN.COLLISION_COUNT, RUN.SURFACE_HIT_COUNT, RUN.ENTRY_COUNT, SAMPLES.SAMPLE_COUNT);
}

void cells()
{
    const auto& VAR = RESULTS.VAR;
    const int fields = VAR.extent(1);
    std::printf("cell,x,y,z");
    for (int f = 1; f <= fields; ++f)
        std::printf(",var%d", f);
    std::printf("\n");
    const float scale = BOX.SCALE_FACTOR;
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        char head[128];
        std::snprintf(head, sizeof head, "%d,%.9g,%.9g,%.9g", c, CELLS.CELL_DATA(CELL_NODE_X, c) / scale,
                      CELLS.CELL_DATA(CELL_NODE_Y, c) / scale, CELLS.CELL_DATA(CELL_NODE_Z, c) / scale);
        print_row(head, &VAR(VAR_SAMPLE_SIZE, c), fields);
    }
}

void species()
{
    const auto& SV = RESULTS.SPECIES_VAR;
    const int fields = SV.extent(1);
    std::printf("cell,species");
    for (int f = 1; f <= fields; ++f)
        std::printf(",sv%d", f);
    std::printf("\n");
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s)
            print_row(std::to_string(c) + "," + std::to_string(s), &SV(1, c, s), fields);
}

void surface()
{
    const auto& VARS = RESULTS.VARS;
    const SurfaceState& S = SURFACE;
    const int fields = VARS.extent(1);
    std::printf("triangle,x,y,z");
    for (int f = 1; f <= fields; ++f)
        std::printf(",vars%d", f);
    std::printf("\n");
    const double scale = BOX.SCALE_FACTOR;
    for (int k = 1; k <= S.SOLID_TRIANGLE_COUNT; ++k) {
        int t = S.SOLID_TRIANGLE(1, k);
        double x = 0, y = 0, z = 0;
        for (int corner = 1; corner <= 3; ++corner) {
            int p = S.TRIANGLE(corner, t);
            x += S.POINT_X(p);
            y += S.POINT_Y(p);
            z += S.POINT_Z(p);
        }
        char head[128];
        std::snprintf(head, sizeof head, "%d,%.9g,%.9g,%.9g", k, x / 3 / scale, y / 3 / scale, z / 3 / scale);
        print_row(head, &VARS(1, k), fields);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qr4t-dump --summary | --cells | --species | --surface\n");
        return 2;
    }
    std::string what = argv[1];
    if (what != "--summary" && what != "--cells" && what != "--species" && what != "--surface") {
        std::fprintf(stderr, "qr4t-dump: unknown option %s\n", what.c_str());
        return 2;
    }
    HEADLESS.record_calls = false;
    std::filesystem::path scratch = std::filesystem::temp_directory_path() / "qr4t-dump-diag.txt";
    unit_open_or_stop(UNIT_DIAG, scratch.string(), UnitMode::WRITE_TEXT);
    READ_RESTART();
    unit_close_all();
    std::filesystem::remove(scratch);
    if (what == "--summary")
        summary();
    else if (what == "--cells")
        cells();
    else if (what == "--species")
        species();
    else
        surface();
    return 0;
}
