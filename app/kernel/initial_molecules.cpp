// The initial molecules of a new run: every computational cell is filled with simulated molecules drawn
// from the equilibrium (Maxwellian) distribution of the stream, and, with a separation boundary, the
// part of the box beyond it with the secondary stream.
//
// Random numbers, in this order: per placement try x, y, z (also for a rejected try); per molecule made
// one for its time, two for each of u, v, w (amplitude, then angle), the draws of the rotational-energy
// sampler, one per vibrational mode. Cells in increasing number, species in increasing code within a
// cell, the stream fill before the secondary fill.
#include "app/kernel/initial_molecules.h"

#include "app/geometry/locate.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/constants.h"
#include "app/kernel/molecule_store.h"
#include "app/kernel/samplers.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/random.h"
#include "base/units.h"

#include <cmath>
#include <string>

namespace {

// Tries in a row after which a cell's species gives up its missing molecules.
constexpr int MAX_FAILED_PLACEMENTS = 100;

// One gas of the fill: the stream or the secondary stream.
struct FillGas {
    float density;
    const Array<float, 1>* fraction;
    float temp;
    float u, v, w;
    bool secondary;  // fills x > SEPARATION_X; the stream fills x < SEPARATION_X
};

// The most probable speed of species s in a gas at temperature T: sqrt(2kT / m).
float most_probable_speed(int s, float T)
{
    return static_cast<float>(std::sqrt(double(T) * BOLTZ2 / GAS.SPECIES_DATA(SPECIES_MASS, s)));
}

// True when the point just located lies in cell i and, in a surface division, in an element wholly in
// the flow (all its sub-elements in the flow).
bool placement_accepted(int cell, int i)
{
    if (cell != i)
        return false;
    const auto& D = DIVISIONS;
    const int code =
        D.DIVISION_INFO(DIVISION_CODE, D.CURRENT_DIVISION_Z, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_X);
    if (code >= 0)
        return true;
    return D.SUB_ELEMENTS_IN_FLOW(-code, D.CURRENT_ELEMENT_Z, D.CURRENT_ELEMENT_Y, D.CURRENT_ELEMENT_X) >=
           D.SUB_ELEMENTS;
}

// A uniform coordinate between lo and hi (one random number).
float random_between(float lo, float hi)
{
    return static_cast<float>(random_uniform() * (double(hi) - lo) + lo);
}

// A normal deviate of variance 1/2: sin(2 pi b) sqrt(-ln a), a drawn before b.
double thermal_component()
{
    const double a = random_uniform();
    const double b = random_uniform();
    return std::sin(double(2.0f * PI4) * b) * std::sqrt(-std::log(a));
}

// Makes molecule n (a slot just opened) of species s at (x, y, z) in cell i, in equilibrium in gas g.
void make_molecule(int n, int i, int s, float x, float y, float z, const FillGas& g, float vmp)
{
    auto& M = MOLECULES;
    M.IP(IP_CELL, n) = i;
    set_molecule_species(n, s);
    M.MOL_POS(1, n) = x;
    M.MOL_POS(2, n) = y;
    M.MOL_POS(3, n) = z;
    M.MOL_TIME(n) = (2.0 * random_uniform() - 1.0) * CELLS.CELL_DATA(CELL_TIME_STEP, i);
    const double cu = thermal_component();
    const double cv = thermal_component();
    const double cw = thermal_component();
    M.PV(1, n) = static_cast<float>(vmp * cu + g.u);
    M.PV(2, n) = static_cast<float>(vmp * cv + g.v);
    M.PV(3, n) = static_cast<float>(vmp * cw + g.w);
    if (M.PV_ROWS == 4 && GAS.SPECIES_ROTATION(1, s) > 0)
        SAMPLE_ROTATIONAL_ENERGY(s, g.temp, M.PV(PV_ROTATION, n));
    if (GAS.MAX_VIB_MODES > 0)
        for (int m = 1; m <= GAS.VIB_MODE_COUNT(s); ++m)
            SAMPLE_VIB_LEVEL(s, g.temp, M.MOL_VIB_LEVEL(m, n), m);
}

// Stops the run because the molecules that cell i expects of species s, `expected`, pass the store's
// limit before a single one is placed: the number density, the cell volume and FNUM set the count.
[[noreturn]] void refuse_expected_count(const FillGas& g, int i, int s, double expected, int limit)
{
    const int density_item = g.secondary ? 59 : 48;
    const char* density_name = g.secondary ? "secondary-stream number density" : "stream number density";
    write_list(UNIT_DIAG, {"The initial number of molecules exceeds MNM in cell", i});
    write_list(UNIT_DIAG, {"Either increase MNM or FNUM in the data"});
    fatal_stop(std::string("QR4TD.DAT item ") + std::to_string(density_item) + " (" + density_name +
               "): value " + value_text(g.density) + ": with the molecule weight FNUM = " +
               value_text(RUN.FNUM) + " (item 65) cell " + std::to_string(i) + " would take about " +
               value_text(expected) + " molecules of species " + std::to_string(s) + ", more than the " +
               std::to_string(limit) + " that the molecule store can hold; increase FNUM");
}

// Fills every cell with gas g; R is the carried remainder of the expected counts.
void fill_with_gas(const FillGas& g, float& R)
{
    auto& M = MOLECULES;
    const auto& CELL_DATA = CELLS.CELL_DATA;
    const double sf = BOX.SCALE_FACTOR;
    const bool separated = GAS.INITIAL_GAS == 1;
    const float sep = GAS.SEPARATION_X;
    for (int i = 1; i <= CELLS.CELL_COUNT; ++i) {
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s) {
            float X = static_cast<float>(double(g.density) * CELL_DATA(CELL_VOLUME, i) * (*g.fraction)(s) /
                                         (sf * sf * sf * RUN.FNUM));
            if (X < 0.0f)
                X = 0.0f;
            // The count is converted to an integer only when the store could hold it: far beyond, the
            // conversion was undefined and a dense gas started with no molecules at all. (A separation
            // boundary can drop part of a cell's count, so only what no store could hold is refused.)
            const double expected = double(X) + R;
            const int limit = molecule_store_limit();
            if (!(expected <= double(limit) - M.NM))
                refuse_expected_count(g, i, s, expected, limit);
            const int N = static_cast<int>(expected);
            R = static_cast<float>(double(X) + R - N);
            const float vmp = most_probable_speed(s, g.temp);
            int T = M.NM + N;
            int failures = 0;
            while (failures < MAX_FAILED_PLACEMENTS && M.NM < T) {
                const float x = random_between(CELL_DATA(CELL_LOW_X, i), CELL_DATA(CELL_HIGH_X, i));
                const float y = random_between(CELL_DATA(CELL_LOW_Y, i), CELL_DATA(CELL_HIGH_Y, i));
                const float z = random_between(CELL_DATA(CELL_LOW_Z, i), CELL_DATA(CELL_HIGH_Z, i));
                if (separated && (g.secondary ? !(x > sep) : !(x < sep))) {
                    --T;  // the far side of the boundary: one molecule fewer, not a failure
                    continue;
                }
                int cell;
                FIND_CELL(cell, x, y, z);
                ++failures;
                if (!placement_accepted(cell, i))
                    continue;
                // The initial fill never grows the store: a full store stops the run, so the slot
                // opened below is always within MNM.
                if (M.NM >= RUN.MNM) {
                    write_list(UNIT_DIAG, {"The initial number of molecules exceeds MNM in cell", i});
                    write_list(UNIT_DIAG, {"Either increase MNM or FNUM in the data"});
                    fatal_stop(
                        "Either increase MNM or FNUM in the data: QR4TD.DAT item 72 (maximum number of "
                        "molecules) is " +
                        std::to_string(RUN.MNM) + " and item 65 (molecule weight FNUM) is " +
                        value_text(RUN.FNUM) + "; the initial molecules pass MNM in cell " +
                        std::to_string(i));
                }
                failures = 0;
                make_molecule(open_molecule_slot(), i, s, x, y, z, g, vmp);
            }
        }
    }
}

}  // namespace

// allocate_molecule_store: PV_ROWS 4 when any species rotates, IP_ROWS 3 with more than one species;
// then MOL_POS, PV, MOL_TIME, IP, XREF and MOL_VIB_LEVEL, zero-filled.
void allocate_molecule_store()
{
    auto& M = MOLECULES;
    const auto& G = GAS;
    M.PV_ROWS = 3;
    for (int s = 1; s <= G.SPECIES_COUNT; ++s)
        if (G.SPECIES_ROTATION(1, s) > 0)
            M.PV_ROWS = 4;
    M.IP_ROWS = G.SPECIES_COUNT > 1 ? 3 : 2;
    const int mnm = RUN.MNM;
    const bool ok = M.MOL_POS.allocate(3, mnm) && M.PV.allocate(M.PV_ROWS, mnm) && M.MOL_TIME.allocate(mnm) &&
                    M.IP.allocate(M.IP_ROWS, mnm) && M.XREF.allocate(RUN.XREF_SIZE) &&
                    M.MOL_VIB_LEVEL.allocate(G.MAX_VIB_MODES, mnm);
    if (!ok) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE INITIAL MOLECULES"});
        fatal_stop("QR4TD.DAT item 72 (maximum number of molecules): value " + std::to_string(mnm) +
                   ": the memory for the molecule store it sizes could not be allocated");
    }
}

// fill_initial_molecules: the initial fill of INITIALIZE_FLOW, the stream and then the secondary stream
// (NM and the cell counts are 0 on entry).
void fill_initial_molecules()
{
    const auto& G = GAS;
    if (G.INITIAL_STATE == 1) {
        float R = 0.0f;
        fill_with_gas(
            {G.STREAM_DENSITY, &G.STREAM_FRACTION, G.STREAM_TEMP, G.STREAM_U, G.STREAM_V, G.STREAM_W, false},
            R);
        if (G.INITIAL_GAS == 1)
            fill_with_gas({G.SECONDARY_DENSITY, &G.SECONDARY_FRACTION, G.SECONDARY_TEMP, G.SECONDARY_U,
                           G.SECONDARY_V, G.SECONDARY_W, true},
                          R);
        if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
            RESET_CONTINUOUS_INDEXING();
        else
            INDEX_MOLECULES();
    } else if (RUN.INDEX_MODE == INDEX_CONTINUOUS) {
        // A vacuum start indexes nothing, and the continuous index would have no rooms laid out: the
        // first entering molecule would be listed at place 0 of every cell. The empty rooms are laid out.
        lay_out_cell_rooms();
    }
}
