// INITIALIZE_FLOW: prepares a new run to start from zero flow time.
//
// Lengths inside the program are scaled by SCALE_FACTOR and velocities are not, so every internal time
// is the real time times SCALE_FACTOR and a rate per unit of real time is divided by it. Collision
// constants follow the variable hard sphere model (Bird 1994, sections 4.2 and 4.3); the entry fluxes
// are the one-sided fluxes of a drifting Maxwellian (Bird 1994, eq. 4.22).
#include "app/kernel/initialize_flow.h"

#include "app/geometry/close_request.h"
#include "app/kernel/chemical_reaction.h"
#include "app/kernel/collide_molecules.h"
#include "app/kernel/constants.h"
#include "app/kernel/initial_molecules.h"
#include "app/kernel/molecule_store.h"
#include "app/kernel/reset_sample.h"
#include "app/kernel/samplers.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

namespace {

// An allocation failed: the log line, then a stop naming the data items that sized the arrays.
void allocation_failed(const char* line, const std::string& items)
{
    write_list(UNIT_DIAG, {line});
    fatal_stop(std::string(line) + ": the memory for the arrays sized by " + items +
               " could not be allocated");
}

std::string species_item()
{
    return "QR4TD.DAT item 13 (number of molecular species) = " + std::to_string(GAS.SPECIES_COUNT);
}

// Refuses data that would make the constants below undefined (division by zero, NaN).
void check_data()
{
    const auto& G = GAS;
    auto refuse = [](const std::string& file, const std::string& item, const std::string& value) {
        fatal_stop(file + ": " + item + " = " + value + " cannot start a run");
    };
    if (!(G.STREAM_TEMP > 0.0f))
        refuse("QR4TD.DAT", "stream temperature", std::to_string(G.STREAM_TEMP));
    if (G.INITIAL_STATE == 1 && G.INITIAL_GAS == 1 && !(G.SECONDARY_TEMP > 0.0f))
        refuse("QR4TD.DAT", "secondary stream temperature", std::to_string(G.SECONDARY_TEMP));
    for (int s = 1; s <= G.SPECIES_COUNT; ++s)
        if (!(G.SPECIES_DATA(SPECIES_MASS, s) > 0.0f))
            refuse("QR4TD.DAT", "molecular mass of species " + std::to_string(s),
                   std::to_string(G.SPECIES_DATA(SPECIES_MASS, s)));
    if (!(RUN.FNUM > 0.0f))
        refuse("QR4TD.DAT", "FNUM", std::to_string(RUN.FNUM));
    if (CELLS.CELL_COUNT < 1)
        refuse("QR4TD.DAT", "number of cells", std::to_string(CELLS.CELL_COUNT));
    for (int j = 1; j <= SURFACE.ENTRY_TRIANGLE_COUNT; ++j)
        if (!(SURFACE.ENTRY_PROPERTIES(4, j) > 0.0f))
            refuse("QR4SD.DAT", "temperature of flow-entry triangle " + std::to_string(j),
                   std::to_string(SURFACE.ENTRY_PROPERTIES(4, j)));
}

// Stream constants: VMP of every species, the largest, mass density, pressure, speed, Mach number.
void set_stream_constants()
{
    auto& G = GAS;
    double mean_mass = 0.0, dof = 0.0;
    G.MAX_SPECIES_VMP = 0.0f;
    for (int s = 1; s <= G.SPECIES_COUNT; ++s) {
        const double f = G.STREAM_FRACTION(s);
        const double m = G.SPECIES_DATA(SPECIES_MASS, s);
        mean_mass += f * m;
        dof += f * (3 + G.SPECIES_ROTATION(1, s));
        G.VMP(s) = static_cast<float>(std::sqrt(double(G.STREAM_TEMP) * BOLTZ2 / m));
        if (G.VMP(s) > G.MAX_SPECIES_VMP)
            G.MAX_SPECIES_VMP = G.VMP(s);
    }
    G.STREAM_MASS_DENSITY = static_cast<float>(G.STREAM_DENSITY * mean_mass);
    G.STREAM_PRESSURE = static_cast<float>(double(G.STREAM_DENSITY) * BOLTZ * G.STREAM_TEMP);
    G.STREAM_SPEED = static_cast<float>(std::sqrt(
        double(G.STREAM_U) * G.STREAM_U + double(G.STREAM_V) * G.STREAM_V + double(G.STREAM_W) * G.STREAM_W));
    const double sound = std::sqrt((dof + 2.0) / dof * BOLTZ * G.STREAM_TEMP / mean_mass);
    G.STREAM_MACH = static_cast<float>(G.STREAM_SPEED / sound);
}

// Pair constants of every ordered pair (p, q), fields in the order 4, 3, 5, 1, 2, 6, 7.
void set_pair_constants()
{
    auto& G = GAS;
    auto& SPD = G.SPECIES_PAIR_DATA;
    const auto& SD = G.SPECIES_DATA;
    for (int p = 1; p <= G.SPECIES_COUNT; ++p) {
        for (int q = 1; q <= G.SPECIES_COUNT; ++q) {
            const double dp = SD(SPECIES_DIAMETER, p), dq = SD(SPECIES_DIAMETER, q);
            const double mp = SD(SPECIES_MASS, p), mq = SD(SPECIES_MASS, q);
            SPD(PAIR_DIAMETER, p, q) = static_cast<float>((dp + dq) / 2.0);
            SPD(PAIR_VISC_POWER, p, q) =
                static_cast<float>((double(SD(SPECIES_VISC_POWER, p)) + SD(SPECIES_VISC_POWER, q)) / 2.0);
            SPD(PAIR_REF_TEMP, p, q) =
                static_cast<float>((double(SD(SPECIES_REF_TEMP, p)) + SD(SPECIES_REF_TEMP, q)) / 2.0);
            SPD(PAIR_REDUCED_MASS, p, q) = static_cast<float>(mp * mq / (mp + mq));
            SPD(PAIR_CROSS_SECTION, p, q) = static_cast<float>(double(0.7853982f) * (dp + dq) * (dp + dq));
            SPD(PAIR_GAMMA_FACTOR, p, q) = static_cast<float>(
                1.0 / GAMMA_FUNCTION(static_cast<float>(2.5 - SPD(PAIR_VISC_POWER, p, q))));
            const int zp = G.SPECIES_ROTATION(2, p), zq = G.SPECIES_ROTATION(2, q);
            if (zp > 1.0e-5 || zq > 1.0e-5)
                SPD(PAIR_ROT_RELAX, p, q) = static_cast<float>(2.0 / float(zp + zq));
        }
    }
}

struct StreamCollisions {
    float time;       // mean collision time (real seconds)
    float free_path;  // mean free path (real metres)
};

// Equilibrium collision rate of every species in the stream (VHS, Bird 1994 eq. 4.64), the mean
// free path (mean thermal speed over collision rate, averaged over the species) and collision time.
StreamCollisions stream_collisions()
{
    const auto& G = GAS;
    const auto& SPD = G.SPECIES_PAIR_DATA;
    double nu = 0.0, lambda = 0.0;
    for (int p = 1; p <= G.SPECIES_COUNT; ++p) {
        double nu_p = 0.0;
        for (int q = 1; q <= G.SPECIES_COUNT; ++q) {
            const double d = SPD(PAIR_DIAMETER, p, q), tref = SPD(PAIR_REF_TEMP, p, q);
            nu_p += double(3.544908f) * d * d * G.STREAM_DENSITY * G.STREAM_FRACTION(q) *
                    std::pow(G.STREAM_TEMP / tref, 1.0 - SPD(PAIR_VISC_POWER, p, q)) *
                    std::sqrt(double(BOLTZ2) * tref / SPD(PAIR_REDUCED_MASS, p, q));
        }
        const double f = G.STREAM_FRACTION(p);
        nu += f * nu_p;
        if (f > 0.0)  // a species absent from the stream adds nothing (and no 0 x infinity)
            lambda += f * double(1.128379f) * G.VMP(p) / nu_p;
    }
    return {static_cast<float>(1.0 / nu), static_cast<float>(lambda)};
}

// Passes to the first output beyond which a case is refused. Every pass writes its 78-byte time-step
// line to "DIAG.TXT", and before the first output there is no result, no display and no restart set:
// 1E8 passes leave about 8 GB of log and, at a millisecond a pass (a case of some ten thousand
// molecules), more than a day of computing behind a blank screen. Sound cases need tens to thousands
// of passes per output; the damaged data that pass the bound need 1E15 and more.
constexpr double MAX_PASSES_TO_FIRST_OUTPUT = 1.0e8;

// The items that set the initial time step through its smallest bound: the transit of an x division,
// or the mean free path and the collision time of the stream.
std::string time_step_items(bool transit)
{
    const auto& G = GAS;
    if (transit)
        return "items 1, 2 and 7 (x extent of the box and DIVISIONS_X) with the stream velocity (items 50 "
               "to 52, speed " +
               value_text(G.STREAM_SPEED) +
               " m/s) and the stream temperature (item 49) = " + value_text(G.STREAM_TEMP);
    std::string text = "the stream number density (item 48) = " + value_text(G.STREAM_DENSITY) +
                       " and temperature (item 49) = " + value_text(G.STREAM_TEMP);
    for (int s = 1; s <= G.SPECIES_COUNT; ++s)
        text += ", species " + std::to_string(s) +
                ": reference diameter (item 18) = " + value_text(G.SPECIES_DATA(SPECIES_DIAMETER, s)) +
                ", reference temperature (item 19) = " + value_text(G.SPECIES_DATA(SPECIES_REF_TEMP, s));
    return text;
}

// A run whose first output lies beyond MAX_PASSES_TO_FIRST_OUTPUT passes of the initial step cannot
// give a result: it is refused, naming the output interval and the items that set the step.
void check_passes_to_first_output(bool transit)
{
    const auto& R = RUN;
    const double interval = double(R.OUTPUT_INTERVAL_REF) * R.REF_TIME;  // scaled, as the step is
    const double passes = interval / R.DTM;
    if (passes <= MAX_PASSES_TO_FIRST_OUTPUT)
        return;
    const double sf = BOX.SCALE_FACTOR;
    fatal_stop("QR4TD.DAT: the first output would come after about " + value_text(passes) +
               " time steps, more than the " + value_text(MAX_PASSES_TO_FIRST_OUTPUT) +
               " a run can make: the output interval (items 66 and 68) is " + value_text(interval / sf) +
               " s and the initial time step " + value_text(R.DTM / sf) + " s, set by " +
               time_step_items(transit) + "; check these items of QR4TD.DAT");
}

// Initial overall time step: 0.04 of an x division's transit at the larger of the stream speed and
// the largest most probable speed, at most the time to cross 0.05 of a mean free path and 0.1 of the
// mean collision time.
void set_initial_time_step(const StreamCollisions& sc)
{
    const auto& G = GAS;
    const double sf = BOX.SCALE_FACTOR;
    const double width = DIVISIONS.DIVISION_WIDTH_X;
    float dtm = G.STREAM_SPEED / G.MAX_SPECIES_VMP > 1.0f
                    ? static_cast<float>(0.04 * width / G.STREAM_SPEED)
                    : static_cast<float>(0.04 * width / G.MAX_SPECIES_VMP);
    bool transit = true;  // the transit bound is the smallest
    const float B = static_cast<float>(0.05 * sc.free_path * sf / G.MAX_SPECIES_VMP);
    if (B < dtm) {
        dtm = B;
        transit = false;
    }
    write_list(UNIT_DIAG, {"Initial time step is", dtm});
    const float B2 = static_cast<float>(0.1 * sc.time * sf);
    if (B2 < dtm) {
        dtm = B2;
        transit = false;
    }
    // A step of 0 (or a denormal, infinite or NaN one) would leave the flow time where it is for ever:
    // the data that set it are refused.
    if (!std::isfinite(dtm) || !(dtm >= FLT_MIN))
        fatal_stop("QR4TD.DAT: the initial time step " + value_text(dtm) +
                   " is not a positive number (stream speed " + value_text(G.STREAM_SPEED) +
                   ", largest most probable speed " + value_text(G.MAX_SPECIES_VMP) + ", mean free path " +
                   value_text(sc.free_path) + ", collision time " + value_text(sc.time) +
                   "): the run could not advance; check the species data and the stream of QR4TD.DAT");
    RUN.DTM = dtm;
    RUN.DTM_INITIAL = dtm;
    write_list(UNIT_DIAG, {"The initial value of the overall time step is", static_cast<float>(dtm / sf)});
    check_passes_to_first_output(transit);
}

// F(S): the one-sided flux factor of a Maxwellian with speed ratio S along the inward normal, so that
// n F(S) vmp is the flux of molecules entering (Bird 1994 eq. 4.22).
double flux_factor(float S)
{
    if (S >= 9.9f)
        return S;
    if (S <= -9.9f)
        return 0.0;
    return (std::exp(-double(S) * S) + double(1.772454f) * S * (1.0 + ERF(S))) / double(3.544908f);
}

// Items 2 to 7 of the entry constants of one species in one gas: rate of simulated molecules through
// an area A (real) with density n, fraction f and most probable speed vmp, speed ratio S.
void set_entry_items(float* item, double n, double f, float vmp, float S, double A)
{
    const double sf = BOX.SCALE_FACTOR;
    item[2] = static_cast<float>(n * f * vmp * A * flux_factor(S) / (RUN.FNUM * sf));
    item[3] = 0.0f;
    item[4] = vmp;
    item[5] = S;
    item[6] = static_cast<float>(S + std::sqrt(double(S) * S + 2.0));
    item[7] = static_cast<float>(0.5 * (1.0 + S * (2.0 * S - item[6])));
}

// EFACE of the sides that admit gas: the stream sides (code 3) and the constant-pressure sides
// (code 6), which read the same items for the gas they admit; gas 2 only with a separation boundary.
void set_stream_sides()
{
    auto& G = GAS;
    auto& EFACE = G.EFACE;
    const auto& D = DIVISIONS;
    const double sf = BOX.SCALE_FACTOR;
    const float inward_u[7] = {0, G.STREAM_U, -G.STREAM_U, G.STREAM_V, -G.STREAM_V, G.STREAM_W, -G.STREAM_W};
    const float inward_u2[7] = {
        0, G.SECONDARY_U, -G.SECONDARY_U, G.SECONDARY_V, -G.SECONDARY_V, G.SECONDARY_W, -G.SECONDARY_W};
    for (int k = 1; k <= BOX_SIDES; ++k) {
        const int code = BOX.BOUNDARY_CODE(k);
        if (code != BOUNDARY_STREAM && code != BOUNDARY_PRESSURE)
            continue;
        double A;
        if (k <= 2)
            A = double(D.DIVISION_WIDTH_Y) * D.DIVISION_WIDTH_Z;
        else if (k <= 4)
            A = double(D.DIVISION_WIDTH_X) * D.DIVISION_WIDTH_Z;
        else
            A = double(D.DIVISION_WIDTH_Y) * D.DIVISION_WIDTH_X;
        A /= sf * sf;
        for (int s = 1; s <= G.SPECIES_COUNT; ++s) {
            float item[8];
            EFACE(EFACE_FRACTION, s, k, 1) = G.STREAM_FRACTION(s);
            const float S1 = static_cast<float>(double(inward_u[k]) / G.VMP(s));
            set_entry_items(item, G.STREAM_DENSITY, G.STREAM_FRACTION(s), G.VMP(s), S1, A);
            for (int i = 2; i <= 7; ++i)
                EFACE(i, s, k, 1) = item[i];
            if (G.INITIAL_GAS == 1) {
                EFACE(EFACE_FRACTION, s, k, 2) = G.SECONDARY_FRACTION(s);
                const float v2 = static_cast<float>(
                    std::sqrt(double(G.SECONDARY_TEMP) * BOLTZ2 / G.SPECIES_DATA(SPECIES_MASS, s)));
                const float S2 = static_cast<float>(double(inward_u2[k]) / v2);
                set_entry_items(item, G.SECONDARY_DENSITY, G.SECONDARY_FRACTION(s), v2, S2, A);
                for (int i = 2; i <= 7; ++i)
                    EFACE(i, s, k, 2) = item[i];
            }
        }
    }
}

// Flow-entry triangles: the velocity of the entering gas turned into its normal and two tangential
// components, and the entry constants of every species. Each triangle keeps the species fractions it
// was given (field 1 as read: its own for a specified segment, the stream's for a stream element);
// replacing them by the stream's would make a specified segment's own fractions have no effect.
void set_entry_triangles()
{
    auto& S = SURFACE;
    const auto& G = GAS;
    const double sf = BOX.SCALE_FACTOR;
    for (int j = 1; j <= S.ENTRY_TRIANGLE_COUNT; ++j) {
        const int t = S.ENTRY_TRIANGLE(j);
        const double nx = S.TRIANGLE_GEOMETRY(1, t), ny = S.TRIANGLE_GEOMETRY(2, t),
                     nz = S.TRIANGLE_GEOMETRY(3, t);
        const double A = S.TRIANGLE_GEOMETRY(5, t) / (sf * sf);
        const double u = S.ENTRY_PROPERTIES(1, j), v = S.ENTRY_PROPERTIES(2, j), w = S.ENTRY_PROPERTIES(3, j);
        S.ENTRY_PROPERTIES(1, j) = static_cast<float>(u * nx + v * ny + w * nz);
        const double L = std::sqrt(ny * ny + nz * nz);
        if (L > 1.0e-6) {
            S.ENTRY_PROPERTIES(2, j) = static_cast<float>((v * nz - w * ny) / L);
            S.ENTRY_PROPERTIES(3, j) = static_cast<float>((v * ny + w * nz) * nx / L - u * L);
        } else {
            S.ENTRY_PROPERTIES(2, j) = static_cast<float>(v);
            S.ENTRY_PROPERTIES(3, j) = static_cast<float>(w);
        }
        for (int s = 1; s <= G.SPECIES_COUNT; ++s) {
            const float vmp =
                static_cast<float>(std::sqrt(double(S.ENTRY_PROPERTIES(4, j)) / G.STREAM_TEMP) * G.VMP(s));
            const float ratio = static_cast<float>(double(S.ENTRY_PROPERTIES(1, j)) / vmp);
            float item[8];
            set_entry_items(item, S.ENTRY_PROPERTIES(5, j), S.ENTRY_SPECIES_PROPERTIES(1, s, j), vmp, ratio,
                            A);
            for (int i = 2; i <= 7; ++i)
                S.ENTRY_SPECIES_PROPERTIES(i, s, j) = item[i];
        }
    }
}

// Outgassing: the mass flux of every solid triangle and species into simulated molecules per unit
// (internal) time, and their total.
void set_outgassing()
{
    auto& S = SURFACE;
    const double sf = BOX.SCALE_FACTOR;
    RUN.OUTGAS_TOTAL = 0.0f;
    for (int j = 1; j <= S.SOLID_TRIANGLE_COUNT; ++j) {
        const int t = S.SOLID_TRIANGLE(1, j);
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s) {
            auto& rate = S.SOLID_SPECIES_PROPERTIES(2, s, j);
            rate = static_cast<float>(double(rate) * S.TRIANGLE_GEOMETRY(5, t) /
                                      (double(RUN.FNUM) * GAS.SPECIES_DATA(SPECIES_MASS, s) * sf * sf * sf));
            S.SOLID_SPECIES_PROPERTIES(3, s, j) = 0.0f;
            RUN.OUTGAS_TOTAL = static_cast<float>(double(RUN.OUTGAS_TOTAL) + rate);
        }
    }
}

// The molecules that enter in one time step through the stream and constant-pressure sides, the
// flow-entry triangles and the outgassing surfaces must fit in the store that can grow from them: a
// molecule weight far too small for the flow would otherwise grow it by 10 % again and again.
void check_entry_count()
{
    const auto& G = GAS;
    const auto& B = BOX;
    const auto& S = SURFACE;
    const int faces[BOX_SIDES + 1] = {0,
                                      B.DIVISIONS_Y * B.DIVISIONS_Z,
                                      B.DIVISIONS_Y * B.DIVISIONS_Z,
                                      B.DIVISIONS_X * B.DIVISIONS_Z,
                                      B.DIVISIONS_X * B.DIVISIONS_Z,
                                      B.DIVISIONS_X * B.DIVISIONS_Y,
                                      B.DIVISIONS_X * B.DIVISIONS_Y};
    double rate = RUN.OUTGAS_TOTAL;
    for (int k = 1; k <= BOX_SIDES; ++k)
        for (int s = 1; s <= G.SPECIES_COUNT; ++s)
            for (int g = 1; g <= 2; ++g)
                rate += double(G.EFACE(EFACE_RATE, s, k, g)) * faces[k];
    for (int e = 1; e <= S.ENTRY_TRIANGLE_COUNT; ++e)
        for (int s = 1; s <= G.SPECIES_COUNT; ++s)
            rate += S.ENTRY_SPECIES_PROPERTIES(2, s, e);
    const double per_step = rate * RUN.DTM;
    const int limit = molecule_store_limit();
    if (!(per_step <= limit))
        fatal_stop("QR4TD.DAT: about " + value_text(per_step) +
                   " molecules would enter in each time step, more than the " + std::to_string(limit) +
                   " that the molecule store can hold; the molecule weight FNUM = " + value_text(RUN.FNUM) +
                   " is too small for the stream number density " + value_text(G.STREAM_DENSITY) +
                   " (secondary stream " + value_text(G.SECONDARY_DENSITY) + ")");
}

// Per-cell collision fields: cell time, pair-selection remainder, cell time step DTM / 2, and the
// starting maximum of cross-section times relative speed. That maximum, 2 VMP sigma_ref, is
// sigma_T c_r of argon at about twice the most probable relative speed, low in the distribution: it is
// raised to the stream's floor, so that cells with few selections do not lose the collisions of the
// faster pairs until their bound has grown.
void set_cell_fields()
{
    auto& C = CELLS;
    const float sigma_cr = std::max(
        static_cast<float>(2.0 * GAS.MAX_SPECIES_VMP * GAS.SPECIES_PAIR_DATA(PAIR_CROSS_SECTION, 1, 1)),
        stream_collision_bound_floor());
    for (int i = 1; i <= C.CELL_COUNT; ++i) {
        C.CELL_TIME(i) = 0.0;
        C.CELL_DATA(CELL_REMAINDER, i) = 0.0f;
        C.CELL_DATA(CELL_TIME_STEP, i) = RUN.DTM / 2.0f;
        C.CELL_DATA(CELL_SIGMA_CR_MAX, i) = sigma_cr;
    }
}

// Run state: times of the run, its output and sampling.
void set_run_state()
{
    auto& R = RUN;
    R.TIME = 0.0;
    R.STOP_TIME = static_cast<float>(100000.0 * R.REF_TIME);
    R.OUTPUT_UNITS = R.PROGRAM_OPTIONS;
    R.REFERENCE_AREA = -1.0f;
    R.OUTPUT_COUNT = 0;
    R.OUTPUT_INTERVAL = static_cast<float>(double(R.OUTPUT_INTERVAL_REF) * R.REF_TIME);
    R.OUTPUT_TIME = R.OUTPUT_INTERVAL;
    R.SAMPLE_INTERVAL =
        static_cast<float>(double(R.OUTPUT_INTERVAL) * R.AVERAGING_FRACTION / R.SAMPLES_PER_OUTPUT);
    R.SAMPLE_GAP = static_cast<float>(R.OUTPUT_INTERVAL - double(R.OUTPUT_INTERVAL) * R.AVERAGING_FRACTION);
    R.STEADY_START_TIME = static_cast<float>(double(R.STEADY_AFTER_OUTPUTS) * R.OUTPUT_INTERVAL);
    R.SAMPLE_TIME = static_cast<float>(double(R.SAMPLE_GAP) + R.SAMPLE_INTERVAL);
    // The largest field 1 of SURFACE_SPARE_2 (the restart size record carries it); nothing fills the
    // array, so it is read only as far as it was allocated.
    R.SURFACE_ROW1_MAX = 0;
    const int spare = std::min(SURFACE.SURFACE_COUNT, SURFACE.SURFACE_SPARE_2.extent(2));
    for (int n = 1; n <= spare; ++n)
        R.SURFACE_ROW1_MAX = std::max(R.SURFACE_ROW1_MAX, SURFACE.SURFACE_SPARE_2(1, n));
}

}  // namespace

void INITIALIZE_FLOW()
{
    auto& G = GAS;
    auto& R = RUN;
    auto& M = MOLECULES;
    const int species = G.SPECIES_COUNT;
    check_data();

    // Stream arrays; counters.
    if (!G.VMP.allocate(species) || !SAMPLES.PAIR_COLL_COUNT.allocate(species, species))
        allocation_failed("PROGRAM COULD NOT ALLOCATE VMP", species_item());
    R.PICTURE_COUNTER = 1;
    R.MOVE_COUNT = R.COLLISION_COUNT = R.SURFACE_HIT_COUNT = R.ENTRY_COUNT = R.REMOVAL_COUNT = 0.0;
    R.ROUNDOFF_COUNT = 0;
    G.CP_LEFT_MIN_X.fill(0.0);
    G.CP_LEFT_MAX_X.fill(0.0);
    G.CP_ENTERED_MIN_X.fill(0.0);
    G.CP_ENTERED_MAX_X.fill(0.0);
    G.SEPARATION_CROSSINGS.fill(0.0);
    poll_close_request();

    // Stream and pair constants.
    set_stream_constants();
    set_pair_constants();
    if (G.GAS_REACTIONS > 0)
        REACTION_RATE_FACTORS();
    if (species == 1) {
        G.SINGLE_REDUCED_MASS = G.SPECIES_PAIR_DATA(PAIR_REDUCED_MASS, 1, 1);
        G.SINGLE_CROSS_SECTION = G.SPECIES_PAIR_DATA(PAIR_CROSS_SECTION, 1, 1);
        G.SINGLE_GAMMA_FACTOR = G.SPECIES_PAIR_DATA(PAIR_GAMMA_FACTOR, 1, 1);
    }
    poll_close_request();

    // Collision time and mean free path of the stream; the initial time step.
    const StreamCollisions sc = stream_collisions();
    write_list(UNIT_DIAG, {"Approximate collision time in the stream is", sc.time});
    write_list(UNIT_DIAG, {"Approximate mean free path in the stream is", sc.free_path});
    set_initial_time_step(sc);
    poll_close_request();

    // Cells, entry constants, outgassing.
    set_cell_fields();
    if (!G.EFACE.allocate(7, species, BOX_SIDES, 2))
        allocation_failed("PROGRAM COULD NOT ALLOCATE EFACE", species_item());
    set_stream_sides();
    set_entry_triangles();
    set_outgassing();
    check_entry_count();
    poll_close_request();

    // The molecule store and the initial molecules.
    allocate_molecule_store();
    M.NM = 0;
    for (int i = 1; i <= CELLS.CELL_COUNT; ++i) {
        CELLS.ICELL(ICELL_START, i) = 0;
        CELLS.ICELL(ICELL_COUNT, i) = 0;
    }
    poll_close_request();
    fill_initial_molecules();
    poll_close_request();

    // Molecule-number history.
    if (!R.NM_HISTORY.allocate(2, 200))
        allocation_failed("PROGRAM COULD NOT ALLOCATE INITIAL MOLECULES",
                          "no data item (200 history points)");
    R.NM_HISTORY(1, 1) = 0.0f;
    R.NM_HISTORY(2, 1) = static_cast<float>(M.NM);
    R.HISTORY_INDEX = 2;

    // Sub-cell work arrays of the collisions.
    M.IPS_SIZE = (2 * R.MNM) / CELLS.CELL_COUNT;
    M.ISCH_SIZE = static_cast<int>(std::sqrt(double(M.IPS_SIZE)));
    if (!M.IPS.allocate(3, M.IPS_SIZE) || !M.SUBCELL_IJK.allocate(3, M.ISCH_SIZE) ||
        !M.ISCH.allocate(2, M.ISCH_SIZE))
        allocation_failed("PROGRAM COULD NOT ALLOCATE INITIAL MOLECULES",
                          "QR4TD.DAT item 72 (maximum number of molecules) = " + std::to_string(R.MNM) +
                              " over the " + std::to_string(CELLS.CELL_COUNT) + " cells");
    poll_close_request();

    // Run state, result arrays, a new sample.
    set_run_state();
    auto& V = RESULTS;
    if (!V.VAR.allocate(VAR_FRACTION + species, CELLS.MAX_CELLS) ||
        !V.VARS.allocate(VARS_FRACTION + species, SURFACE.SOLID_TRIANGLE_COUNT) ||
        !V.SPECIES_VAR.allocate(SPECIES_VAR_ROWS, CELLS.MAX_CELLS, species)) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE VAR,VARS ", 1});
        fatal_stop("PROGRAM COULD NOT ALLOCATE VAR,VARS: the memory for the results of the " +
                   std::to_string(CELLS.MAX_CELLS) + " cells and " +
                   std::to_string(SURFACE.SOLID_TRIANGLE_COUNT) + " solid triangles (QR4SD.DAT) with " +
                   species_item() + " could not be allocated");
    }
    poll_close_request();
    RESET_SAMPLE();
    poll_close_request();

    // The set-up is complete: the user is told that the run starts from zero time.
    WMessageBox(0, 4, 0, "The flow simulation will now start from zero time.", "Initialization Complete");
}
