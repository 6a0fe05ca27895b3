// Helpers shared by the kernel tests: the random state kept across a test, the diagnostic log on
// unit 9 read back as lines, and a fatal stop turned into an exception.
#ifndef QR4T_TESTS_KERNEL_KERNEL_TEST_SUPPORT_H
#define QR4T_TESTS_KERNEL_KERNEL_TEST_SUPPORT_H

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "base/random.h"
#include "base/units.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Restores the run's random state at the end of a scope, so that a test's draws do not shift the
// sequence that later tests pin.
struct RandomGuard {
    RandomState saved = RANDOM_STATE;
    ~RandomGuard() { RANDOM_STATE = saved; }
};

// A fatal stop inside the code under test.
struct FatalStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Opens "DIAG.TXT" on unit 9 for the life of the object and turns fatal stops into FatalStopped.
class DiagLog {
public:
    DiagLog()
    {
        unit_open_or_stop(UNIT_DIAG, path_, UnitMode::WRITE_TEXT);
        set_fatal_handler([](const std::string& m) { throw FatalStopped(m); });
    }
    ~DiagLog()
    {
        set_fatal_handler(nullptr);
        unit_close(UNIT_DIAG);
    }
    // The lines written so far, without their CR LF.
    std::vector<std::string> lines() const
    {
        std::fflush(unit_file(UNIT_DIAG));
        std::ifstream in(path_, std::ios::binary);
        std::vector<std::string> out;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            out.push_back(line);
        }
        return out;
    }
    // The whole log as one text with "\n" line ends.
    std::string text() const
    {
        std::string all;
        for (const auto& l : lines())
            all += l + "\n";
        return all;
    }
    // Lines that contain the given text.
    int count(const std::string& needle) const
    {
        int n = 0;
        for (const auto& l : lines())
            n += l.find(needle) != std::string::npos ? 1 : 0;
        return n;
    }

private:
    std::string path_ = "DIAG.TXT";
};

// A molecule store of capacity mnm over `cells` empty cells (CELL_COUNT = MAX_CELLS), with the given
// indexing mode and row counts; every other group that the store reads is cleared.
inline void make_store(int mnm, int cells, int index_mode, int vib_modes = 0, int pv_rows = 3,
                       int ip_rows = 2)
{
    GAS = GasState{};
    GAS.MAX_VIB_MODES = vib_modes;
    GAS.SPECIES_COUNT = ip_rows == 3 ? 2 : 1;
    RUN = RunState{};
    RUN.MNM = mnm;
    RUN.INDEX_MODE = index_mode;
    RUN.XREF_SIZE = index_mode == INDEX_CONTINUOUS ? 6 * mnm : 1;
    BOX = BoxState{};
    CELLS = Cells{};
    CELLS.CELL_COUNT = CELLS.MAX_CELLS = cells;
    CELLS.CELL_DATA.allocate(14, cells);
    CELLS.ICELL.allocate(3, cells);
    CELLS.IRCELL.allocate(index_mode == INDEX_CONTINUOUS ? cells : 1);
    CELLS.CELL_TIME.allocate(cells);
    MOLECULES = MoleculeStore{};
    auto& M = MOLECULES;
    M.PV_ROWS = pv_rows;
    M.IP_ROWS = ip_rows;
    M.MOL_POS.allocate(3, mnm);
    M.PV.allocate(pv_rows, mnm);
    M.IP.allocate(ip_rows, mnm);
    M.MOL_TIME.allocate(mnm);
    M.XREF.allocate(RUN.XREF_SIZE);
    M.MOL_VIB_LEVEL.allocate(vib_modes, mnm);
}

// Argon (Bird 1994, appendix A: VHS diameter, reference temperature, exponent, mass) as `species`
// species of masses m, 2m, ... in equal fractions; a stream at rest of n = 1e20 at 300 K filling the box.
// Every per-species array that the flow-data reader allocates is allocated.
constexpr double AR_D = 4.17e-10, AR_TREF = 273.0, AR_OMEGA = 0.81, AR_MASS = 6.63e-26;
inline void set_argon(int species = 1)
{
    auto& G = GAS;
    G.SPECIES_COUNT = species;
    G.SPECIES_DATA.allocate(4, species);
    G.SPECIES_ROTATION.allocate(2, species);
    G.STREAM_FRACTION.allocate(species);
    G.SECONDARY_FRACTION.allocate(species);
    G.SPECIES_PAIR_DATA.allocate(7, species, species);
    for (auto* a : {&G.CP_LEFT_MIN_X, &G.CP_LEFT_MAX_X, &G.CP_ENTERED_MIN_X, &G.CP_ENTERED_MAX_X,
                    &G.SEPARATION_CROSSINGS})
        a->allocate(species);
    G.REACTION_COUNT.allocate(1);
    G.SURF_REACTION_COUNT.allocate(1);
    for (int s = 1; s <= species; ++s) {
        G.SPECIES_DATA(1, s) = float(AR_D);
        G.SPECIES_DATA(2, s) = float(AR_TREF);
        G.SPECIES_DATA(3, s) = float(AR_OMEGA);
        G.SPECIES_DATA(4, s) = float(AR_MASS * s);
        G.STREAM_FRACTION(s) = 1.0f / species;
        G.SECONDARY_FRACTION(s) = 1.0f / species;
    }
    G.STREAM_DENSITY = 1.0e20f;
    G.STREAM_TEMP = 300.0f;
    G.INITIAL_STATE = 1;
    G.INITIAL_GAS = 0;
}

#endif
