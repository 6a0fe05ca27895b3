// Whole cases for the physics checks of the kernel: a flow-data file and a surface-data file written
// from a small description, read by the program's own readers, set up by the geometry and the flow
// initialisation, and then run through the phases of the time-step loop in the loop's order.
#ifndef QR4T_TESTS_KERNEL_PHYSICS_PHYSICS_CASE_H
#define QR4T_TESTS_KERNEL_PHYSICS_PHYSICS_CASE_H

#include "app/casedata/casedata.h"
#include "app/geometry/geometry.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/cell_order.h"
#include "app/kernel/collide_molecules.h"
#include "app/kernel/constants.h"
#include "app/kernel/enter_molecules.h"
#include "app/kernel/initialize_flow.h"
#include "app/kernel/kernel_move.h"
#include "app/kernel/sample_flowfield.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/clear_state.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/random.h"
#include "tests/geometry/bodies.h"
#include "toolkit/headless/headless.h"

#include <cmath>
#include <ctime>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>

// One gas species, the stream, the box and the run settings, in the units of the data files (m, K,
// m/s, s). The defaults are argon at rest in a closed box (every side a plane of symmetry).
struct PhysicsCase {
    double low[3] = {0.0, 0.0, 0.0};  // box limits (m)
    double high[3] = {0.2, 0.2, 0.2};
    int divisions[3] = {2, 2, 2};
    int elements[3] = {2, 2, 2};
    double diameter = 4.17e-10;  // VHS reference diameter (m) (Bird 1994, appendix A: argon)
    double tref = 273.0;         // reference temperature (K)
    double omega = 0.81;         // viscosity-temperature exponent
    double mass = 6.63e-26;      // molecular mass (kg)
    int rotation = 0;            // rotational degrees of freedom
    int rot_number = 5;          // rotational relaxation collision number
    double density = 1.0e20;     // stream number density (1/m^3)
    double temperature = 300.0;  // stream temperature (K)
    double velocity[3] = {0.0, 0.0, 0.0};
    int codes[6] = {2, 2, 2, 2, 2, 2};  // sides min x, max x, min y, max y, min z, max z
    double fnum = 4.0e13;               // real molecules per simulated molecule
    double ref_time = 1.0e-4;           // reference time (s)
    int sampling_mode = 1;              // 1 eventual steady flow
    double output_interval = 2.0;       // in reference times
    int samples_per_output = 10;
    int steady_after = 1;  // output intervals before the flow is taken as steady
    int mnm = 40000;       // initial capacity of the store
    int moves_per_coll_time = 2;
    int moves_per_transit = 3;
    int index_mode = 0;    // 0 normal, 1 continuous indexing
    int subcell_mode = 1;  // transient sub-cells
    bool body = false;     // a block body with diffuse walls at wall_temperature
    double body_low[3] = {0.06, 0.06, 0.08};
    double body_high[3] = {0.14, 0.14, 0.12};
    double wall_temperature = 300.0;
    Body shape;  // with `body`, this surface instead of the block when it has triangles
};

// Nitrogen (Bird 1994, appendix A) at 1e19 per m^3 in the closed box around a block of 8 x 8 x 4 cm
// with diffuse walls at the gas temperature, 4 divisions per axis so that the box faces lie in
// divisions without surfaces; the sample begins at the first output.
inline PhysicsCase diffuse_body_case(double fnum, int moves_per_transit)
{
    PhysicsCase c;
    c.mass = 4.65e-26;
    c.omega = 0.74;
    c.rotation = 2;
    c.density = 1.0e19;
    c.fnum = fnum;
    for (int& d : c.divisions)
        d = 4;
    c.moves_per_transit = moves_per_transit;
    c.output_interval = 4.0;
    c.steady_after = 2;
    c.body = true;
    c.body_low[0] = c.body_low[1] = 0.06, c.body_high[0] = c.body_high[1] = 0.14;
    c.body_low[2] = 0.08, c.body_high[2] = 0.12;
    return c;
}
constexpr double DIFFUSE_BODY_FLOW_VOLUME = 0.2 * 0.2 * 0.2 - 0.08 * 0.08 * 0.04;  // m^3

// Argon at 1e19 per m^3 streaming at 300 m/s along x through a box of 0.1 x 0.2 x 0.2 m (one division
// and one element along x, so that a molecule stays only some 30 passes), stream sides at x, planes of
// symmetry elsewhere, continuous indexing, an output every 2 reference times.
inline PhysicsCase stream_box_case(double fnum)
{
    PhysicsCase c;
    c.high[0] = 0.1;
    c.divisions[0] = 1;
    c.elements[0] = 1;
    c.density = 1.0e19;
    c.fnum = fnum;
    c.velocity[0] = 300.0;
    c.codes[0] = c.codes[1] = 3;
    c.index_mode = 1;
    c.output_interval = 2.0;
    c.steady_after = 2;
    return c;
}
constexpr double STREAM_BOX_VOLUME = 0.1 * 0.2 * 0.2;  // m^3

inline void write_flow_data(const PhysicsCase& c)
{
    std::ofstream f("QR4TD.DAT", std::ios::binary);
    for (int d = 0; d < 3; ++d)
        f << c.low[d] << "\r\n" << c.high[d] << "\r\n";
    for (int d = 0; d < 3; ++d)
        f << c.divisions[d] << "\r\n";
    for (int d = 0; d < 3; ++d)
        f << c.elements[d] << "\r\n";
    f << "1\r\n0\r\n0\r\n0\r\n";  // one species, no vibration, no gas or surface reactions
    f << c.diameter << "\r\n"
      << c.tref << "\r\n"
      << c.omega << "\r\n"
      << c.mass << "\r\n"
      << c.rotation << "\r\n";
    if (c.rotation > 0)
        f << c.rot_number << "\r\n";
    f << c.density << "\r\n" << c.temperature << "\r\n";
    for (double v : c.velocity)
        f << v << "\r\n";
    f << "1.\r\n";  // fraction of the species
    for (int code : c.codes)
        f << code << "\r\n";
    f << "1\r\n0\r\n";  // the stream fills the box; a homogeneous gas
    f << c.fnum << "\r\n" << c.ref_time << "\r\n" << c.sampling_mode << "\r\n" << c.output_interval << "\r\n";
    if (c.sampling_mode == 0)
        f << "1.\r\n";  // the whole interval is averaged
    f << c.samples_per_output << "\r\n";
    if (c.sampling_mode == 1)
        f << c.steady_after << "\r\n";
    f << c.mnm << "\r\n" << c.moves_per_coll_time << "\r\n" << c.moves_per_transit << "\r\n";
    f << c.index_mode << "\r\n" << c.subcell_mode << "\r\n";
}

// No surface, or the body (the block as 12 solid triangles, or the given shape) as one surface,
// diffuse, nothing adsorbed or outgassed.
inline void write_surface_data(const PhysicsCase& c)
{
    std::ofstream f("QR4SD.DAT", std::ios::binary);
    if (!c.body) {
        f << "0\r\n";
        return;
    }
    const Body b = !c.shape.triangles.empty()
                       ? c.shape
                       : block(float(c.body_low[0]), float(c.body_high[0]), float(c.body_low[1]),
                               float(c.body_high[1]), float(c.body_low[2]), float(c.body_high[2]));
    f << "1\r\n" << b.points.size() << "\r\n" << b.triangles.size() << "\r\n0\r\n";
    for (const Point3& p : b.points)
        f << p[0] << " " << p[1] << " " << p[2] << "\r\n";
    for (const auto& t : b.triangles) {
        f << t[0] << " " << t[1] << " " << t[2] << "\r\n";
        f << "1\r\n" << c.wall_temperature << "\r\n0.\r\n0.\r\n0.\r\n";
    }
}

// Writes and reads the case's data files in the current folder and sets up the case as a new run does:
// divisions and elements, cells, the initial state. The diagnostic log must be open.
inline void set_up_case(const PhysicsCase& c)
{
    clear_every_state_group();
    HEADLESS.reset();
    write_flow_data(c);
    write_surface_data(c);
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    INITIALIZE_FLOW();
}

// Watches a run: called after every pass with the pass number.
using PassWatch = std::function<void(int pass)>;

// Runs `passes` passes of the time-step loop's phases: TIME advances by DTM, then the move, the entry,
// the indexing (normal indexing only) and the collisions; the sampling when TIME has passed the sample
// time; and after it, when TIME has passed the output time, the index check (continuous indexing only)
// and the output. Counts the random numbers that the sampling and the output draw (there must be none).
// The processor time of each phase is added up (for the benchmarks that run whole cases: on a shared
// machine it varies far less than the wall time).
struct PhaseRun {
    int passes = 0;
    int samples = 0;
    int outputs = 0;
    int draws_in_output = 0;  // samplings and outputs after which the random state had moved
    // Processor seconds spent in the move, the entry, the indexing, the collisions, and the sampling and
    // output.
    double move_seconds = 0, enter_seconds = 0, index_seconds = 0, collide_seconds = 0, sample_seconds = 0;

    void run(int count, const PassWatch& watch = {})
    {
        std::clock_t t = 0;
        // Adds the processor time since the last call to `to`.
        auto lap = [&t](double& to) {
            const std::clock_t now = std::clock();
            to += double(now - t) / CLOCKS_PER_SEC;
            t = now;
        };
        for (int p = 1; p <= count; ++p) {
            ++passes;
            RUN.TIME += RUN.DTM;
            t = std::clock();
            MOVE_MOLECULES();
            lap(move_seconds);
            ENTER_MOLECULES();
            lap(enter_seconds);
            if (RUN.INDEX_MODE == INDEX_NORMAL)
                index_molecules_in_cell_order();
            lap(index_seconds);
            COLLIDE_MOLECULES();
            lap(collide_seconds);
            if (RUN.TIME > RUN.SAMPLE_TIME) {
                RandomState before = RANDOM_STATE;
                SAMPLE_FLOWFIELD();
                ++samples;
                if (RUN.TIME > RUN.OUTPUT_TIME) {
                    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
                        CHECK_INDEX();
                    OUTPUT_PROPERTIES();
                    ++outputs;
                }
                if (RANDOM_STATE.s1 != before.s1 || RANDOM_STATE.s2 != before.s2)
                    ++draws_in_output;
            }
            lap(sample_seconds);
            if (watch)
                watch(p);
        }
    }
};

// The mean velocity and the translational temperature of all the molecules of the store (one species of
// molecular mass m).
struct StoreMoments {
    double u[3] = {0, 0, 0};
    double T = 0;
};

inline StoreMoments store_moments(double m)
{
    const auto& PV = MOLECULES.PV;
    const int NM = MOLECULES.NM;
    StoreMoments s;
    double c2 = 0, u2 = 0;
    for (int n = 1; n <= NM; ++n)
        for (int d = 0; d < 3; ++d) {
            s.u[d] += PV(d + 1, n);
            c2 += double(PV(d + 1, n)) * PV(d + 1, n);
        }
    for (double& u : s.u) {
        u /= NM;
        u2 += u * u;
    }
    s.T = m * (c2 / NM - u2) / (3.0 * 1.3806e-23);
    return s;
}

// Kinetic theory of a simple VHS gas in equilibrium (Bird 1994, section 4.2).
inline double mean_speed(double T, double m)  // eq. 4.7: cbar = sqrt(8kT / (pi m))
{
    return std::sqrt(8.0 * 1.3806e-23 * T / (std::numbers::pi * m));
}
inline double collision_rate(const PhysicsCase& c, double n, double T)  // eq. 4.64
{
    return 4.0 * c.diameter * c.diameter * n * std::sqrt(std::numbers::pi * 1.3806e-23 * c.tref / c.mass) *
           std::pow(T / c.tref, 1.0 - c.omega);
}

#endif
