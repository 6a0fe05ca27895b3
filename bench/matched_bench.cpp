// Speed and memory of the kernel on the matched stream case: an N2-like VHS gas (d = 4.17e-10 m,
// omega 0.74 at 273 K, m = 4.65e-26 kg, two rotational degrees of freedom with a collision number of
// 5, no vibration) at n = 1e21 per cubic metre and 300 K streams at 1000 m/s along x through a box of
// 30 x 25 x 25 mm whose six sides are all stream sides; one element per division, every division one
// cell, no body. The time step is 1.25e-7 s (every molecule moves once per pass); 50 warm-up passes,
// then 100 timed passes in the kernel's phase order (move, entry, indexing, collisions with transient
// sub-cells). Two sizes: 60 x 50 x 50 cells with 1.5 million molecules (memory-bound), and
// 30 x 25 x 25 cells with 190 thousand (in cache).
//
// Printed per size: moves per second (one core), nanoseconds per move of each phase, collisions and
// entered molecules per pass, bytes of the molecule store and of the peak resident memory per
// molecule, and the checksum of the final state, which a change meant to leave results alone must
// leave unchanged.
//
// Usage: matched_bench [large|small] [--warm N] [--timed N]. The instruction count per move is the
// difference of two runs under valgrind --tool=cachegrind (say --warm 20 --timed 0 and --warm 20
// --timed 100) divided by the moves of the timed passes, which the run prints.
#include "bench/kernel_pass.h"

#include "base/units.h"
#include "tests/kernel_collide/collide_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr double LX = 0.030, LY = 0.025, LZ = 0.025;  // real extents (m)
constexpr double MASS = 4.65e-26;                     // N2-like molecule (kg)
constexpr double DENSITY = 1.0e21;                    // per cubic metre
constexpr double TEMP = 300.0;                        // K
constexpr double STREAM_SPEED = 1000.0;               // m/s along x
constexpr double TIME_STEP = 1.25e-7;                 // s

struct MatchedSize {
    const char* name;
    int nx, ny, nz;           // divisions = cells
    double molecules_wanted;  // molecules in the box
};

// The small size first, so that the peak memory of the large one, run after it, is its own.
constexpr MatchedSize SIZES[] = {{"small", 30, 25, 25, 1.5e6 / 8}, {"large", 60, 50, 50, 1.5e6}};

// The box, its cells and the gas as the flow-data reader would leave them (lengths and times scaled by
// the scale factor); INITIALIZE_FLOW fills the box with the stream.
void make_matched_case(const MatchedSize& s)
{
    TestCase c;
    c.nx = s.nx, c.ny = s.ny, c.nz = s.nz;
    c.lx = LX, c.ly = LY, c.lz = LZ;
    c.sf = static_cast<float>(10.0 / std::min(LY, LZ));
    c.density = DENSITY;
    c.temperature = TEMP;
    c.fnum = DENSITY * LX * LY * LZ / s.molecules_wanted;
    c.mnm = static_cast<int>(1.2 * s.molecules_wanted);
    c.subcell_mode = SUBCELLS_TRANSIENT;
    c.species = {{4.17e-10, 273.0, 0.74, MASS, 1.0, 2, 5}};
    c.before_initialise = [] {
        for (int k = 1; k <= BOX_SIDES; ++k)
            BOX.BOUNDARY_CODE(k) = BOUNDARY_STREAM;
        GAS.STREAM_U = static_cast<float>(STREAM_SPEED);
        set_lattice_without_surfaces();
    };
    make_case(c);
    set_time_step(static_cast<float>(TIME_STEP * c.sf));
}

void run_size(const MatchedSize& s, int warm, int timed)
{
    make_matched_case(s);
    PhaseTimes t;
    for (int pass = 1; pass <= warm; ++pass)
        one_pass(t);
    t = PhaseTimes{};
    const double moves0 = RUN.MOVE_COUNT, colls0 = RUN.COLLISION_COUNT, entered0 = RUN.ENTRY_COUNT;
    double nm_sum = 0;
    for (int pass = 1; pass <= timed; ++pass) {
        one_pass(t);
        nm_sum += MOLECULES.NM;
    }
    const double moves = RUN.MOVE_COUNT - moves0;
    const double per_pass = timed > 0 ? 1.0 / timed : 0.0;
    const double per_move = moves > 0 ? 1e9 / moves : 0.0;
    std::printf("%s: %d x %d x %d cells, %.0f molecules (mean), %d + %d passes, %.0f timed moves\n", s.name,
                s.nx, s.ny, s.nz, nm_sum * per_pass, warm, timed, moves);
    std::printf("  moves per second          %.4g\n", t.total() > 0 ? moves / t.total() : 0.0);
    std::printf("  ns per move: move %.2f  entry %.2f  indexing %.2f  collisions %.2f  total %.2f\n",
                t.move * per_move, t.enter * per_move, t.index * per_move, t.collide * per_move,
                t.total() * per_move);
    std::printf("  collisions per pass       %.1f\n", (RUN.COLLISION_COUNT - colls0) * per_pass);
    std::printf("  entries per pass          %.1f\n", (RUN.ENTRY_COUNT - entered0) * per_pass);
    std::printf("  store bytes per molecule  %.1f\n", store_bytes() / MOLECULES.NM);
    std::printf("  peak bytes per molecule   %.1f\n", peak_rss_bytes() / MOLECULES.NM);
    std::printf("  state checksum            %016llx\n", static_cast<unsigned long long>(state_checksum()));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    int warm = 50, timed = 100;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--warm" || a == "--timed") && i + 1 < argc)
            (a == "--warm" ? warm : timed) = std::max(0, std::atoi(argv[++i]));
        else if (a == "large" || a == "small")
            only = a;
    }
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    for (const MatchedSize& s : SIZES)
        if (only.empty() || only == s.name)
            run_size(s, warm, timed);
    unit_close(UNIT_DIAG);
    return 0;
}
