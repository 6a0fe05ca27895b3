// qr4t-dump: reads the restart set of the current folder and prints results as CSV, for tests and
// physics checks. Test equipment, not a feature of the program.
//
//   --summary   time, molecule count and the event counters
//   --cells     cell number, node position x y z, then every flowfield result of the cell
//   --species   cell number, species, then every result of the species in the cell
//   --surface   solid triangle number, centroid x y z, then every surface result of the triangle
//
// The header line names each column after its quantity, with its SI unit in brackets. Lengths and
// times are true values (divided by the scale factor). The diagnostic lines of the reader go to a
// scratch log, so the run's own "DIAG.TXT" is left as it is, and the set is read without completing
// an interrupted write: the tool never writes to the folder it reads.
#include "app/restart/restart.h"
#include "app/restart/restart_set.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/units.h"
#include "toolkit/headless/headless.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

const char* const HELP =
    "usage: qr4t-dump --summary | --cells | --species | --surface | --help\n"
    "Reads the restart set (QR4TP.RES, QR4TM1.RES ...) of the current folder and prints its results as\n"
    "CSV on standard output, one header line naming the columns and their SI units, then one row per item:\n"
    "  --summary   flow time, molecules, moves, collisions, surface hits, entries, samples\n"
    "              (samples: those taken since the sample was last reset. An output resets it in an\n"
    "              unsteady flow, and in a steady one until the steady sampling begins; the restart set is\n"
    "              written right after the output, so samples is then 0, while the results that --cells,\n"
    "              --species and --surface print are that output's, with their own sample sizes.)\n"
    "  --cells     per cell: node position, number density, density, velocity, temperatures, Mach number,\n"
    "              molecules per cell, collision time, mean free path, pressure, species fractions\n"
    "  --species   per cell and species: fraction, temperatures, diffusion velocity\n"
    "  --surface   per solid triangle: centroid, number flux, pressure, shear stresses, heat fluxes,\n"
    "              surface temperature, species fractions\n"
    "A set that cannot be read ends the tool with its message and status 1. The tool changes nothing in the\n"
    "folder: a set whose writing was interrupted is read as its marker QR4TSET.NEW lists it, and is\n"
    "completed only by the next start of the program.\n";

// Column names of the rows of VAR, SPECIES_VAR and VARS (index = row); the species fractions follow.
const char* const VAR_COLUMNS[VAR_FRACTION + 1] = {"",
                                                   "sample_size",
                                                   "number_density[1/m3]",
                                                   "density[kg/m3]",
                                                   "u[m/s]",
                                                   "v[m/s]",
                                                   "w[m/s]",
                                                   "translational_temperature[K]",
                                                   "rotational_temperature[K]",
                                                   "vibrational_temperature[K]",
                                                   "temperature[K]",
                                                   "mach_number",
                                                   "molecules_per_cell",
                                                   "mean_collision_time[s]",
                                                   "mean_free_path[m]",
                                                   "separation_per_mean_free_path",
                                                   "speed[m/s]",
                                                   "pressure[Pa]"};
const char* const SPECIES_VAR_COLUMNS[SPECIES_VAR_ROWS + 1] = {"",
                                                               "sample_size",
                                                               "fraction",
                                                               "temperature_x[K]",
                                                               "temperature_y[K]",
                                                               "temperature_z[K]",
                                                               "translational_temperature[K]",
                                                               "rotational_temperature[K]",
                                                               "vibrational_temperature[K]",
                                                               "diffusion_u[m/s]",
                                                               "diffusion_v[m/s]",
                                                               "diffusion_w[m/s]"};
const char* const VARS_COLUMNS[VARS_FRACTION + 1] = {"",
                                                     "sample_size",
                                                     "number_flux[1/(m2 s)]",
                                                     "pressure[Pa]",
                                                     "shear_stress_1[Pa]",
                                                     "shear_stress_2[Pa]",
                                                     "incident_heat_flux[W/m2]",
                                                     "reflected_heat_flux[W/m2]",
                                                     "net_heat_flux[W/m2]",
                                                     "surface_temperature[K]"};

// The header of a result array of `fields` rows: the named rows, then "fraction_<species>".
void print_header(const char* head, const char* const* names, int named, int fields)
{
    std::printf("%s", head);
    for (int f = 1; f <= fields; ++f) {
        if (f <= named)
            std::printf(",%s", names[f]);
        else
            std::printf(",fraction_%d", f - named);
    }
    std::printf("\n");
}

void print_row(const std::string& head, const float* values, int n, int stride = 1)
{
    std::printf("%s", head.c_str());
    for (int i = 0; i < n; ++i)
        std::printf(",%.9g", static_cast<double>(values[i * stride]));
    std::printf("\n");
}

void summary()
{
    std::printf("time[s],molecules,moves,collisions,surface_hits,entries,samples\n");
    std::printf("%.15g,%d,%.15g,%.15g,%.15g,%.15g,%d\n", RUN.TIME / BOX.SCALE_FACTOR, MOLECULES.NM,
                RUN.MOVE_COUNT, RUN.COLLISION_COUNT, RUN.SURFACE_HIT_COUNT, RUN.ENTRY_COUNT,
                SAMPLES.SAMPLE_COUNT);
}

void cells()
{
    const auto& VAR = RESULTS.VAR;
    const int fields = VAR.extent(1);
    print_header("cell,x[m],y[m],z[m]", VAR_COLUMNS, VAR_FRACTION, fields);
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
    print_header("cell,species", SPECIES_VAR_COLUMNS, SPECIES_VAR_ROWS, fields);
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s)
            print_row(std::to_string(c) + "," + std::to_string(s), &SV(1, c, s), fields);
}

void surface()
{
    const auto& VARS = RESULTS.VARS;
    const SurfaceState& S = SURFACE;
    const int fields = VARS.extent(1);
    print_header("triangle,x[m],y[m],z[m]", VARS_COLUMNS, VARS_FRACTION, fields);
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

}  // namespace

int main(int argc, char** argv)
{
    std::string what = argc == 2 ? argv[1] : "";
    if (what == "--help") {
        std::printf("%s", HELP);
        return 0;
    }
    if (what != "--summary" && what != "--cells" && what != "--species" && what != "--surface") {
        if (argc == 2)
            std::fprintf(stderr, "qr4t-dump: unknown option \"%s\"\n", message_excerpt(what).c_str());
        std::fprintf(stderr, "%s", HELP);
        return 2;
    }
    HEADLESS.record_calls = false;
    std::filesystem::path scratch = std::filesystem::temp_directory_path() / "qr4t-dump-diag.txt";
    unit_open_or_stop(UNIT_DIAG, scratch.string(), UnitMode::WRITE_TEXT);
    set_restart_read_only(true);
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
