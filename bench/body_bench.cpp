// Speed of the kernel in the cases users run: bodies, divisions of several elements, per-cell steps.
// Each case is written as data files, read by the program's readers and set up by the geometry and the
// flow initialisation, then run through the time-step loop's phases (with sampling and output).
//
// - transitional: argon (VHS, Bird 1994 appendix A) at 300 K and 1000 m/s, n = 6.47e19 per cubic
//   metre, so that the hard-sphere mean free path at the reference diameter is 0.02 m and Kn = 0.2 on
//   the diameter of a diffuse sphere of radius 0.05 m (1280 triangles) at the centre of a 0.4 m box of
//   60^3 divisions of 2 x 2 x 2 elements, stream sides all round, 1.49 million molecules, 5 moves per
//   collision time and 3 per cell transit. The first output comes after about 40 passes of the initial
//   step, which every molecule moves every pass; it adapts the cells' steps, after which a pass moves
//   about one molecule in ten. Printed: nanoseconds per move before and after the adaptation, their
//   ratio, and the wall time per simulated millisecond before and after; the same in processor time
//   (steadier on a shared machine), and the processor time of each phase per move. `transitional-small` is
//   the same flow in 30^3 divisions with 186 thousand molecules.
// - matched-sphere: the matched stream of matched_bench (N2-like VHS, n = 1e21, 300 K, 1000 m/s along
//   x, a 30 x 25 x 25 mm box of 60 x 50 x 50 one-element divisions, stream sides) with 1.5 million
//   molecules and one step of 3e-7 s for all, past a diffuse sphere at 300 K of radius 4 mm (1200
//   triangles) centred at (12, 12.5, 12.5) mm, and the same stream without it, each with no sub-cells
//   and with transient sub-cells; 200 warm-up and 100 timed passes. Printed: moves per second and
//   nanoseconds per move, the ratio of the case with the sphere to the one without, the molecules'
//   bytes, and the state checksum.
//
// Usage: body_bench [transitional|transitional-small|matched-sphere|sphere-none|open-none|
// sphere-transient|open-transient] [--warm N] [--timed N]
// [--molecules N] [--outputs N] (--warm, --timed and --molecules: the pass counts and the molecules of
// matched-sphere; --outputs: the transitional runs stop after that many outputs, 2 by default; beyond 2
// the passes after the second output are printed as a third stretch, "later outputs", which shows how
// the cost of a long run moves as the store's order decays). Instructions per
// move as in matched_bench: the difference of two runs under valgrind --tool=cachegrind --cache-sim=no (say
// --outputs 1 and --outputs 2 for the moves after the adaptation) divided by the moves between them, which
// the runs print.
#include "bench/kernel_pass.h"
#include "tests/kernel_physics/physics_case.h"

#include "base/units.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A fresh run folder with the diagnostic log open, of this process alone (runs under valgrind go side
// by side).
std::filesystem::path run_folder;  // the present one, removed when the next one is made or at the end

void leave_run_folder()
{
    if (unit_is_open(UNIT_DIAG))
        unit_close(UNIT_DIAG);
    if (!run_folder.empty()) {
        std::filesystem::current_path(run_folder.parent_path());
        std::filesystem::remove_all(run_folder);
        run_folder.clear();
    }
}

void enter_run_folder(const std::string& name)
{
    leave_run_folder();
    const auto dir =
        std::filesystem::temp_directory_path() / ("qr4t_body_bench_" + name + "_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    run_folder = dir;
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
}

// Wall time, processor time (all, and per phase), moves and flow time of a stretch of passes.
struct Stretch {
    double seconds = 0, moves = 0, flow_time = 0;
    double phase[5] = {0, 0, 0, 0, 0};  // move, entry, indexing, collisions, sampling and output
    int passes = 0;
    double cpu() const { return phase[0] + phase[1] + phase[2] + phase[3] + phase[4]; }
    void print(const char* name) const
    {
        const double scale = BOX.SCALE_FACTOR;
        const double cpu = this->cpu();
        const double per = moves > 0 ? 1e9 / moves : 0.0,
                     per_ms = flow_time > 0 ? scale / (1e3 * flow_time) : 0;
        std::printf("  %-18s %5d passes, %.4g moves, %.4g moves per pass, %.2f ns per move, %.3f s per "
                    "simulated ms\n",
                    name, passes, moves, passes > 0 ? moves / passes : 0.0, per * seconds, seconds * per_ms);
        std::printf(
            "  %-18s processor time: %.2f ns per move, %.3f s per simulated ms; move %.2f  entry %.2f "
            "indexing %.2f  collisions %.2f  sampling %.2f\n",
            "", per * cpu, cpu * per_ms, per * phase[0], per * phase[1], per * phase[2], per * phase[3],
            per * phase[4]);
    }
};

// The phase times of r so far.
void phase_seconds(const PhaseRun& r, double to[5])
{
    to[0] = r.move_seconds, to[1] = r.enter_seconds, to[2] = r.index_seconds, to[3] = r.collide_seconds;
    to[4] = r.sample_seconds;
}

// Runs passes of r until `done` holds after one, adding them to s.
template <class Done>
void run_until(PhaseRun& r, Stretch& s, Done done)
{
    double before[5], after[5];
    phase_seconds(r, before);
    do {
        const double moves0 = RUN.MOVE_COUNT, time0 = RUN.TIME;
        const auto t0 = BenchClock::now();
        r.run(1);
        s.seconds += seconds_since(t0);
        s.moves += RUN.MOVE_COUNT - moves0;
        s.flow_time += RUN.TIME - time0;
        ++s.passes;
    } while (!done());
    phase_seconds(r, after);
    for (int k = 0; k < 5; ++k)
        s.phase[k] += after[k] - before[k];
}

void transitional(bool small, int outputs)
{
    enter_run_folder(small ? "transitional_small" : "transitional");
    PhysicsCase c;
    for (int a = 0; a < 3; ++a) {
        c.low[a] = -0.2, c.high[a] = 0.2;
        c.divisions[a] = small ? 30 : 60;
        c.elements[a] = 2;
    }
    c.density = 6.47e19;  // 1 / (sqrt(2) pi d^2 lambda) with lambda = 0.02 m
    c.velocity[0] = 1000.0;
    for (int& code : c.codes)
        code = BOUNDARY_STREAM;
    c.body = true;
    c.shape = sphere({0.0f, 0.0f, 0.0f}, 0.05f, 21, 32);
    const double molecules = small ? 1.49e6 / 8 : 1.49e6;
    const double volume = 0.4 * 0.4 * 0.4 - 4.0 / 3.0 * 3.14159265358979 * 0.05 * 0.05 * 0.05;
    c.fnum = c.density * volume / molecules;
    c.mnm = static_cast<int>(1.3 * molecules);
    c.moves_per_coll_time = 5;
    c.moves_per_transit = 3;
    // The initial step is 0.04 of a division's transit at the stream speed; the first output after 40
    // of them, the second 40 initial steps later.
    const double initial_step = 0.04 * (0.4 / c.divisions[0]) / 1000.0;
    c.ref_time = 40.0 * initial_step;
    c.output_interval = 1.0;
    c.samples_per_output = 10;
    c.steady_after = 1;
    const auto t0 = BenchClock::now();
    set_up_case(c);
    std::printf("transitional%s: %d cells, %d molecules, %d triangles, set up in %.1f s\n",
                small ? "-small" : "", CELLS.CELL_COUNT, MOLECULES.NM, SURFACE.TRIANGLE_COUNT,
                seconds_since(t0));
    PhaseRun r;
    Stretch before, after, later;
    if (outputs >= 1)
        run_until(r, before, [&] { return r.outputs >= 1; });
    if (outputs >= 2)
        run_until(r, after, [&] { return r.outputs >= 2; });
    if (outputs >= 3)
        run_until(r, later, [&] { return r.outputs >= outputs; });
    before.print("before adaptation");
    after.print("after adaptation");
    if (later.passes > 0)
        later.print("later outputs");
    if (before.moves > 0 && after.moves > 0) {
        std::printf("  ratio after/before       %.2f (processor time %.2f)\n",
                    (after.seconds / after.moves) / (before.seconds / before.moves),
                    (after.cpu() / after.moves) / (before.cpu() / before.moves));
    }
    std::printf("  molecules at the end     %d, surface hits %.0f\n", MOLECULES.NM, RUN.SURFACE_HIT_COUNT);
    std::printf("  state checksum           %016llx\n", static_cast<unsigned long long>(state_checksum()));
    std::fflush(stdout);
}

// The matched stream, with or without the sphere, in sub-cell mode `subcells`; returns ns per move.
double matched_sphere(bool body, int subcells, int warm, int timed, double molecules)
{
    enter_run_folder("matched_sphere");
    PhysicsCase c;
    c.high[0] = 0.030, c.high[1] = 0.025, c.high[2] = 0.025;
    c.divisions[0] = 60, c.divisions[1] = 50, c.divisions[2] = 50;
    c.elements[0] = c.elements[1] = c.elements[2] = 1;
    c.mass = 4.65e-26;
    c.omega = 0.74;
    c.rotation = 2;
    c.density = 1.0e21;
    c.velocity[0] = 1000.0;
    for (int& code : c.codes)
        code = BOUNDARY_STREAM;
    c.body = body;
    c.shape = sphere({0.012f, 0.0125f, 0.0125f}, 0.004f, 21, 30);
    c.fnum = c.density * 0.030 * 0.025 * 0.025 / molecules;
    c.mnm = static_cast<int>(1.2 * molecules);
    c.subcell_mode = subcells;
    // No output within the run (one second of flow, far beyond its passes; a run whose first output
    // lies beyond 1e8 initial steps is refused): the one step stays.
    c.output_interval = 1e4;
    set_up_case(c);
    const float sf = BOX.SCALE_FACTOR;
    RUN.DTM = static_cast<float>(3e-7 * sf);
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j)
        CELLS.CELL_DATA(CELL_TIME_STEP, j) = RUN.DTM / 2.0f;
    PhaseRun r;
    r.run(warm);
    const double moves0 = RUN.MOVE_COUNT;
    const auto t0 = BenchClock::now();
    r.run(timed);
    const double seconds = seconds_since(t0), moves = RUN.MOVE_COUNT - moves0;
    const double ns = moves > 0 ? 1e9 * seconds / moves : 0.0;
    std::printf("  %-6s %-9s %d cells, %d molecules, %d + %d passes, %.0f timed moves, %.4g moves per "
                "second, %.2f ns per move, store %.1f bytes per molecule, checksum %016llx\n",
                body ? "sphere" : "open", subcells == SUBCELLS_NONE ? "none" : "transient", CELLS.CELL_COUNT,
                MOLECULES.NM, warm, timed, moves, seconds > 0 ? moves / seconds : 0.0, ns,
                store_bytes() / MOLECULES.NM, static_cast<unsigned long long>(state_checksum()));
    std::fflush(stdout);
    return ns;
}

}  // namespace

int main(int argc, char** argv)
{
    int warm = 200, timed = 100, outputs = 2;
    double molecules = 1.5e6;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--warm" || a == "--timed" || a == "--outputs") && i + 1 < argc)
            (a == "--warm" ? warm : a == "--timed" ? timed : outputs) = std::max(0, std::atoi(argv[++i]));
        else if (a == "--molecules" && i + 1 < argc)
            molecules = std::max(1000.0, std::atof(argv[++i]));
        else
            only = a;
    }
    const auto home = std::filesystem::current_path();
    if (only.empty() || only == "transitional-small")
        transitional(true, outputs);
    if (only.empty() || only == "transitional")
        transitional(false, outputs);
    if (only.empty() || only == "matched-sphere") {
        std::printf("matched-sphere: sub-cells none and transient, with the sphere and without\n");
        for (int subcells : {SUBCELLS_NONE, SUBCELLS_TRANSIENT}) {
            const double with = matched_sphere(true, subcells, warm, timed, molecules);
            const double without = matched_sphere(false, subcells, warm, timed, molecules);
            std::printf("  ratio sphere/open       %.2f\n", with / without);
        }
    }
    // One of the four alone (for instruction counts).
    const char* const ALONE[4] = {"sphere-none", "open-none", "sphere-transient", "open-transient"};
    for (int k = 0; k < 4; ++k)
        if (only == ALONE[k])
            matched_sphere(k % 2 == 0, k < 2 ? SUBCELLS_NONE : SUBCELLS_TRANSIENT, warm, timed, molecules);
    leave_run_folder();
    std::filesystem::current_path(home);
    return 0;
}
