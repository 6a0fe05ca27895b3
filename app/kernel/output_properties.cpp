// OUTPUT_PROPERTIES: the surface result VARS, the flowfield result VAR and SPECIES_VAR from the sums
// of the present sample, then the new time steps of the cells and of the run.
//
// Temperatures and all other results come from the sums over the whole sample, never from averages
// of instantaneous values (Bird 1994, sections 1.4 and 11.1: translational temperature from the
// peculiar velocities, rotational temperature from the energy per degree of freedom, vibrational
// temperature of each harmonic mode from its mean quantum level).
#include "app/kernel/sample_flowfield.h"

#include "app/displays/displays.h"
#include "app/kernel/collide_molecules.h"
#include "app/kernel/constants.h"
#include "app/kernel/reset_sample.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The constants as 4-byte reals, as the results are formed with them.
constexpr double K = BOLTZ;
constexpr double K3 = BOLTZ3;
constexpr double TWO_OVER_K = TWO_OVER_BOLTZ;
constexpr double K2 = BOLTZ2;

// The output cannot go on without its work arrays: the line, then a fatal stop.
template <class T>
void allocate_work(Array<T, 1>& a, int n, const char* name)
{
    if (!a.allocate(n)) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE VAR,IC ", 1});
        fatal_stop(std::string("OUTPUT_PROPERTIES: cannot allocate the work array ") + name + " of " +
                   std::to_string(n) + " entries");
    }
}

// Vibrational temperature and degrees of freedom of one harmonic mode with characteristic temperature
// theta from the energy sum E of N_s molecules (Bird 1994, eqs. 11.28 and 11.29).
void mode_temperature(double theta, double energy, double count, double& temp, double& dof)
{
    if (energy >= K) {
        temp = theta / std::log(1.0 + theta * K * count / energy);
        dof = 2.0 * (theta / temp) / (std::exp(theta / temp) - 1.0);
    } else {
        temp = 0.0;
        dof = 0.0;
    }
}

}  // namespace

void surface_properties()
{
    RUN.OUTPUT_COUNT += 1;
    const SurfaceState& SF = SURFACE;
    if (SF.SURFACE_COUNT <= 0 || SF.SOLID_TRIANGLE_COUNT <= 0)
        return;
    auto& VARS = RESULTS.VARS;
    const auto& SS = SAMPLES.SURF_SAMPLE;
    const int species = GAS.SPECIES_COUNT;
    const double elapsed = RUN.TIME - SAMPLES.SAMPLE_START_TIME;
    const double scale3 = std::pow(double(BOX.SCALE_FACTOR), 3);
    for (int k = 1; k <= SF.SOLID_TRIANGLE_COUNT; ++k) {
        int t = SF.SOLID_TRIANGLE(1, k);
        double S[7] = {};
        for (int s = 1; s <= species; ++s)
            for (int f = 1; f <= 6; ++f)
                S[f] += SS(f, t, s);
        double area = SF.TRIANGLE_GEOMETRY(5, t);
        double F = elapsed > 0.0 && area > 0.0 ? double(RUN.FNUM) * scale3 / (elapsed * area) : 0.0;
        VARS(VARS_SAMPLE_SIZE, k) = static_cast<float>(S[1]);
        VARS(VARS_NUMBER_FLUX, k) = static_cast<float>(F * S[1]);
        VARS(VARS_PRESSURE, k) = static_cast<float>(F * S[2]);
        VARS(VARS_SHEAR_1, k) = static_cast<float>(F * S[3]);
        VARS(VARS_SHEAR_1 + 1, k) = static_cast<float>(F * S[4]);
        VARS(VARS_INCIDENT_HEAT, k) = static_cast<float>(F * S[5]);
        VARS(VARS_REFLECTED_HEAT, k) = static_cast<float>(F * S[6]);
        VARS(VARS_NET_HEAT, k) =
            static_cast<float>(double(VARS(VARS_INCIDENT_HEAT, k)) + VARS(VARS_REFLECTED_HEAT, k));
        // Surface temperature: the wall's own, or for an adiabatic wall the temperature of the incident
        // energy per degree of freedom, not below the wall's minimum.
        int j = SF.TRIANGLE(4, t);
        float temp = 0.0f;
        if (j > 0) {
            float T1 = SF.SOLID_PROPERTIES(1, j);
            if (T1 > 0.0f) {
                temp = T1;
            } else {
                const auto& AS = SAMPLES.ADIABATIC_SAMPLE;
                double tad = AS(1, t) <= 0.1 ? 0.0 : AS(2, t) * TWO_OVER_K / AS(1, t);
                temp = static_cast<float>(tad < -T1 ? -T1 : tad);
            }
        }
        VARS(VARS_SURFACE_TEMP, k) = temp;
        if (S[1] > 0.0)
            for (int s = 1; s <= species; ++s)
                VARS(VARS_FRACTION + s, k) = static_cast<float>(SS(1, t, s) / S[1]);
    }
}

void flowfield_properties(Array<int, 1>& IC)
{
    auto& VAR = RESULTS.VAR;
    auto& SV = RESULTS.SPECIES_VAR;
    const auto& CS = SAMPLES.CELL_SAMPLE;
    const auto& CELL_DATA = CELLS.CELL_DATA;
    const GasState& G = GAS;
    const int species = G.SPECIES_COUNT;
    const int cells = CELLS.CELL_COUNT;
    const int samples = SAMPLES.SAMPLE_COUNT;
    const double scale = BOX.SCALE_FACTOR;
    const int var_rows = VAR_FRACTION + species;

    SV.fill(0.0f);
    // Per species: vibrational temperature and degrees of freedom of the cell in hand.
    Array<double, 1> vib_temp, vib_dof;
    allocate_work(vib_temp, species, "of vibrational temperatures");
    allocate_work(vib_dof, species, "of vibrational degrees of freedom");
    double sep_sum = 0.0;

    for (int c = 1; c <= cells; ++c) {
        IC(c) = 1;
        double V = CELL_DATA(CELL_VOLUME, c);
        if (V <= 0.0) {
            VAR(VAR_NUMBER_DENSITY, c) = G.STREAM_DENSITY;
            VAR(VAR_DENSITY, c) = G.STREAM_MASS_DENSITY;
            VAR(VAR_U, c) = G.STREAM_U;
            VAR(VAR_U + 1, c) = G.STREAM_V;
            VAR(VAR_U + 2, c) = 0.0f;
            for (int f = VAR_TRANS_TEMP; f <= VAR_TEMP; ++f)
                VAR(f, c) = G.STREAM_TEMP;
            VAR(VAR_MACH, c) = G.STREAM_MACH;
            VAR(VAR_MOLS_PER_CELL, c) = 0.0f;
            VAR(VAR_COLL_TIME, c) = -1.0f;
            VAR(VAR_MFP, c) = VAR(VAR_SEP_MFP, c) = VAR(VAR_SPEED, c) = 0.0f;
            VAR(VAR_PRESSURE, c) = static_cast<float>(double(G.STREAM_DENSITY) * K * G.STREAM_TEMP);
            continue;
        }
        // Sums over the species.
        double SN = 0, SM = 0, SMU[3] = {0, 0, 0}, SE = 0, SQ = 0, SROT = 0, SDOF = 0;
        for (int s = 1; s <= species; ++s) {
            double N = CS(CS_COUNT, c, s);
            double m = G.SPECIES_DATA(4, s);
            int r = G.SPECIES_ROTATION(1, s);
            SN += N;
            SM += m * N;
            for (int d = 0; d < 3; ++d)
                SMU[d] += m * CS(CS_U + d, c, s);
            SE += m * (CS(CS_U2, c, s) + CS(CS_U2 + 1, c, s) + CS(CS_U2 + 2, c, s));
            if (N > 0.1) {
                for (int d = 0; d < 3; ++d) {
                    SV(SV_TRANS_TEMP_X + d, c, s) = static_cast<float>(CS(CS_U2 + d, c, s) / N);
                    SV(SV_DIFFUSION_U + d, c, s) = static_cast<float>(CS(CS_U + d, c, s) / N);
                }
            }
            if (N > 0.5) {
                SQ += CS(CS_U2, c, s) + CS(CS_U2 + 1, c, s) + CS(CS_U2 + 2, c, s);
                if (r > 0) {
                    SROT += CS(CS_ROT, c, s);
                    SDOF += r * N;
                }
            }
        }
        for (int s = 1; s <= species; ++s)
            SV(SV_SAMPLE_SIZE, c, s) = static_cast<float>(CS(CS_COUNT, c, s));
        if (SN < 25.0 || SN < samples)
            IC(c) = 0;
        for (int s = 1; s <= species; ++s) {
            double N = CS(CS_COUNT, c, s);
            double m = G.SPECIES_DATA(4, s);
            int r = G.SPECIES_ROTATION(1, s);
            if (SN > 0.1)
                VAR(VAR_FRACTION + s, c) = static_cast<float>(N / SN);
            if (N > 0.5) {
                double tsum = 0.0;
                for (int d = 0; d < 3; ++d) {
                    double mean = SV(SV_DIFFUSION_U + d, c, s);
                    double t = (double(SV(SV_TRANS_TEMP_X + d, c, s)) - mean * mean) * m / K;
                    SV(SV_TRANS_TEMP_X + d, c, s) = static_cast<float>(t);
                    tsum += SV(SV_TRANS_TEMP_X + d, c, s);
                }
                SV(SV_TRANS_TEMP, c, s) = static_cast<float>(tsum / 3.0);
                if (SN > 0.1) {
                    SV(SV_FRACTION, c, s) = static_cast<float>(N / SN);
                    SV(SV_ROT_TEMP, c, s) =
                        r < 1 ? 0.0f : static_cast<float>(CS(CS_ROT, c, s) * TWO_OVER_K / (r * N));
                }
            }
        }
        VAR(VAR_SAMPLE_SIZE, c) = static_cast<float>(SN);
        if (SN <= 50.0) {
            // Too small a sample for any result: every field shows 0, the sample size too.
            for (int f = 1; f <= var_rows; ++f)
                VAR(f, c) = 0.0f;
            continue;
        }
        // Densities, velocity, translational and rotational temperatures, overall temperature, pressure.
        double n = double(RUN.FNUM) * scale * scale * scale / (samples * V) * SN;
        VAR(VAR_NUMBER_DENSITY, c) = static_cast<float>(n);
        VAR(VAR_DENSITY, c) = static_cast<float>(n * SM / SN);
        for (int d = 0; d < 3; ++d)
            VAR(VAR_U + d, c) = static_cast<float>(SMU[d] / SM);
        double u = VAR(VAR_U, c), v = VAR(VAR_U + 1, c), w = VAR(VAR_U + 2, c);
        double u2 = u * u + v * v + w * w;
        VAR(VAR_TRANS_TEMP, c) = SN <= 1.0 ? 1.0f : static_cast<float>(std::fabs(SE - u2 * SM) / (SN * K3));
        VAR(VAR_ROT_TEMP, c) = SDOF <= 0.01 ? 0.0f : static_cast<float>(SROT * TWO_OVER_K / SDOF);
        VAR(VAR_VIB_TEMP, c) = 0.0f;
        double dr = SDOF / SN;
        VAR(VAR_TEMP, c) =
            static_cast<float>((3.0 * VAR(VAR_TRANS_TEMP, c) + dr * VAR(VAR_ROT_TEMP, c)) / (3.0 + dr));
        VAR(VAR_PRESSURE, c) = static_cast<float>(n * K * VAR(VAR_TEMP, c));
        double z = 3.0 + dr;
        // Vibration: the vibrational temperature, and the overall temperature again with its modes.
        if (G.MAX_VIB_MODES > 0) {
            double dv = 0.0, tv = 0.0;
            for (int s = 1; s <= species; ++s) {
                double N = CS(CS_COUNT, c, s);
                double sum_td = 0.0, sum_d = 0.0;
                int modes = G.VIB_MODE_COUNT(s);
                for (int k = 1; k <= modes; ++k) {
                    double tm = 0.0, dm = 0.0;
                    mode_temperature(G.VIB_TEMP(k, s), CS(CS_VIB + k, c, s), N, tm, dm);
                    sum_td += tm * dm;
                    sum_d += dm;
                }
                vib_dof(s) = sum_d;
                vib_temp(s) = modes == 0 ? 0.0 : sum_d <= 1e-6 ? VAR(VAR_TEMP, c) : sum_td / sum_d;
                if (N > 0.5)
                    SV(SV_VIB_TEMP, c, s) = static_cast<float>(vib_temp(s));
                dv += vib_dof(s) * N / SN;
                tv += vib_temp(s) * N / SN;
            }
            VAR(VAR_VIB_TEMP, c) = static_cast<float>(tv);
            VAR(VAR_TEMP, c) = static_cast<float>(
                (3.0 * VAR(VAR_TRANS_TEMP, c) + dr * VAR(VAR_ROT_TEMP, c) + dv * VAR(VAR_VIB_TEMP, c)) /
                (3.0 + dr + dv));
            z += dv;
        }
        // Diffusion velocities: each species' mean velocity less the cell's.
        for (int s = 1; s <= species; ++s)
            if (CS(CS_COUNT, c, s) > 0.5)
                for (int d = 0; d < 3; ++d)
                    SV(SV_DIFFUSION_U + d, c, s) =
                        static_cast<float>(double(SV(SV_DIFFUSION_U + d, c, s)) - VAR(VAR_U + d, c));
        // Mach number, molecules per cell, collision time, mean free path, separation ratio, speed.
        double speed = std::sqrt(u2);
        VAR(VAR_MACH, c) =
            static_cast<float>(speed / std::sqrt((z + 2.0) / z * VAR(VAR_TEMP, c) * K * SN / SM));
        VAR(VAR_MOLS_PER_CELL, c) = static_cast<float>(SN / samples);
        double colls = SAMPLES.CELL_COLL_COUNT(c);
        double elapsed = RUN.TIME - SAMPLES.SAMPLE_START_TIME;
        VAR(VAR_COLL_TIME, c) =
            colls <= 2.0 ? 1.0e10f
                         : static_cast<float>(elapsed * 0.5 * VAR(VAR_MOLS_PER_CELL, c) / (scale * colls));
        VAR(VAR_MFP, c) = static_cast<float>(double(float(0.92132f)) * std::sqrt(std::fabs(SQ / SN - u2)) *
                                             VAR(VAR_COLL_TIME, c));
        VAR(VAR_SEP_MFP, c) =
            colls <= 2.0 ? 0.0f
                         : static_cast<float>(SAMPLES.CELL_SEP_SUM(c) / (scale * colls) / VAR(VAR_MFP, c));
        sep_sum += VAR(VAR_SEP_MFP, c);
        VAR(VAR_SPEED, c) = static_cast<float>(speed);
    }
    RUN.SEP_MFP_RATIO = cells > 0 ? static_cast<float>(sep_sum / cells) : 0.0f;
}

// Lowers the collision bound of cell c by 0.8, so that one rare fast pair does not hold it high for the
// rest of the run, but never below the floor of the cell's gas (collision_bound_floor) at the sampled
// translational temperature, or the stream's floor when the cell's sample is not usable. A bound
// lowered into the bulk of the distribution would lose collisions after every output until pairs above
// it raised it again: 5.5 % over a run of an equilibrium argon box at 1e18 per m^3 with an output every
// 3 collision times, 9 % at 1e16, where a cell sees a few dozen selections per output.
static void lower_collision_bound(int c, bool usable, CollisionBoundFloors& floors, float stream_floor)
{
    float& bound = CELLS.CELL_DATA(CELL_SIGMA_CR_MAX, c);
    const double T = RESULTS.VAR(VAR_TRANS_TEMP, c);
    const float floor = usable && T > 0.0 ? floors(T, c) : stream_floor;
    bound = std::max(static_cast<float>(bound * double(0.8f)), floor);
}

void adapt_time_steps(const Array<int, 1>& IC)
{
    auto& CELL_DATA = CELLS.CELL_DATA;
    const auto& VAR = RESULTS.VAR;
    RunState& R = RUN;
    const int cells = CELLS.CELL_COUNT;
    const double scale = BOX.SCALE_FACTOR;
    const double m1 = GAS.SPECIES_DATA(4, 1);
    const double transit_moves = 2.0 * R.MOVES_PER_TRANSIT;
    double sum = 0.0;
    int count = 0;
    CollisionBoundFloors floors;
    const float stream_floor = stream_collision_bound_floor();
    for (int c = 1; c <= cells; ++c) {
        lower_collision_bound(c, IC(c) == 1, floors, stream_floor);
        if (IC(c) != 1 || !(VAR(VAR_COLL_TIME, c) > 0.0f))
            continue;
        double step = scale * VAR(VAR_COLL_TIME, c) / (2.0 * R.MOVES_PER_COLL_TIME);
        double w = std::sqrt(K2 * VAR(VAR_TEMP, c) / m1);
        for (int d = 0; d < 3; ++d) {
            double extent =
                std::fabs(double(CELL_DATA(CELL_HIGH_X + 2 * d, c)) - CELL_DATA(CELL_LOW_X + 2 * d, c));
            double speed = std::fabs(double(VAR(VAR_U + d, c)));
            if (speed > 0.0)  // a zero component gives an infinite limit, which never wins
                step = std::fmin(step, extent / speed / transit_moves);
            if (w > 0.0)
                step = std::fmin(step, extent / w / transit_moves);
        }
        CELL_DATA(CELL_TIME_STEP, c) = static_cast<float>(step);
        sum += CELL_DATA(CELL_TIME_STEP, c);
        ++count;
    }
    float old_dtm = R.DTM;
    if (count >= 1) {
        R.MEAN_CELL_STEP = static_cast<float>(sum / count);
        R.MIN_CELL_STEP = static_cast<float>(R.MEAN_CELL_STEP / 10.0);
        R.DTM = static_cast<float>(2.0 * R.MIN_CELL_STEP);
    }
    write_list(UNIT_DIAG, {"DTM changes from", static_cast<float>(old_dtm / scale), " to",
                           static_cast<float>(R.DTM / scale)});
    // Before any output with a usable cell there is no mean to bound the steps by: clamping to a zero
    // range would stop every molecule, so the steps are left as they are.
    if (R.MEAN_CELL_STEP > 0.0f) {
        for (int c = 1; c <= cells; ++c) {
            float& step = CELL_DATA(CELL_TIME_STEP, c);
            if (step < R.MIN_CELL_STEP)
                step = R.MIN_CELL_STEP;
            if (step > 10.0f * R.MEAN_CELL_STEP)
                step = static_cast<float>(10.0 * R.MEAN_CELL_STEP);
        }
    }
    R.OUTPUT_TIME = static_cast<float>(double(R.OUTPUT_TIME) + R.OUTPUT_INTERVAL);
    R.SAMPLE_TIME = static_cast<float>(double(R.SAMPLE_TIME) + R.SAMPLE_GAP);
}

void OUTPUT_PROPERTIES()
{
    surface_properties();
    Array<int, 1> IC;
    allocate_work(IC, CELLS.CELL_COUNT, "IC");
    flowfield_properties(IC);
    adapt_time_steps(IC);
    const int NM = MOLECULES.NM;
    if (RUN.SAMPLING_MODE == 1 &&
        std::abs(double(NM) - SAMPLES.NM_SAMPLE_START) > 8.0 * std::sqrt(double(NM))) {
        WDialogSelect(IDD_LOG);
        WDialogPutString(IDC_LOG_NOTE, "Sample reset due to excessive molecule number change");
        RESET_SAMPLE();
    }
    if (SURFACE.SOLID_TRIANGLE_COUNT > 0)
        DRAW_SURFACE_PROPERTIES();
    PLOT_MOLECULE_HISTORY();
    DRAW_FLOWFIELD_PROPERTIES();
    if (RUN.SAMPLING_MODE == 0 || (RUN.SAMPLING_MODE == 1 && RUN.TIME < RUN.STEADY_START_TIME))
        RESET_SAMPLE();
}
