// Robustness of the case-data readers against damaged files: the fixture data sets cut short at every
// line and with each value replaced in turn by zero, negative, huge, tiny or unreadable values. Every
// run must either succeed with consistent data or end in a fatal stop; a crash or a sanitizer report
// fails the whole test program.
#include "app/casedata/casedata.h"
#include "case_test_support.h"

#include <vector>

namespace {

const char* const REPLACEMENTS[] = {"0", "-1", "2147483647", "99999", "1.E30", "x", "/"};
constexpr std::size_t REPLACEMENT_COUNT = sizeof REPLACEMENTS / sizeof REPLACEMENTS[0];

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size() - 1;
        lines.push_back(text.substr(pos, end + 1 - pos));
        pos = end + 1;
    }
    return lines;
}

std::string join(const std::vector<std::string>& lines, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        text += lines[i];
    return text;
}

// The damaged files of one data file: cut after every line (and inside the last value read), and
// every line with its first value replaced by each replacement in turn.
std::vector<std::string> damaged_versions(const std::string& text)
{
    std::vector<std::string> versions;
    std::vector<std::string> lines = split_lines(text);
    for (std::size_t n = 0; n < lines.size(); ++n)
        versions.push_back(join(lines, n));
    versions.push_back(text.substr(0, text.size() / 2));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::size_t start = lines[i].find_first_not_of(" \t");
        std::size_t end = lines[i].find_first_of(" \t,\r\n", start);
        if (start == std::string::npos || end == std::string::npos)
            continue;
        // Counts, codes and corner numbers (integers) get every replacement; real values, which
        // the model mostly holds as they come, two of them in turn, to keep the test fast.
        bool integer = lines[i].substr(start, end - start).find_first_of(".Ee") == std::string::npos;
        for (std::size_t r = 0; r < REPLACEMENT_COUNT; ++r) {
            if (!integer && (r + i) % REPLACEMENT_COUNT > 1)
                continue;
            std::vector<std::string> changed = lines;
            changed[i] = lines[i].substr(0, start) + REPLACEMENTS[r] + lines[i].substr(end);
            versions.push_back(join(changed, changed.size()));
        }
    }
    return versions;
}

// What the readers promise once they return: every code and number used as a subscript later lies
// in its range.
void check_consistent()
{
    const auto& G = GAS;
    const auto& S = SURFACE;
    ASSERT_GE(G.SPECIES_COUNT, 1);
    for (int N = 1; N <= G.GAS_REACTIONS; ++N) {
        for (int i = 1; i <= 2; ++i) {
            ASSERT_GE(G.REACTION_REACTANTS(i, N), 1);
            ASSERT_LE(G.REACTION_REACTANTS(i, N), G.SPECIES_COUNT);
        }
    }
    for (int N = 1; N <= G.SURFACE_REACTIONS; ++N) {
        ASSERT_GE(G.SURF_REACTANTS(1, N), 1);
        ASSERT_LE(G.SURF_REACTANTS(1, N), G.SPECIES_COUNT);
        for (int i = 1; i <= 6; ++i)
            ASSERT_LE(G.SURF_REACTION_PRODUCTS(i, N), G.SPECIES_COUNT);
    }
    if (G.MAX_VIB_MODES > 0) {
        for (int L = 1; L <= G.SPECIES_COUNT; ++L)
            ASSERT_LE(G.VIB_MODE_COUNT(L), G.MAX_VIB_MODES);
    }
    for (int K = 1; K <= BOX_SIDES; ++K) {
        ASSERT_GE(BOX.BOUNDARY_CODE(K), BOUNDARY_AXIS);
        ASSERT_LE(BOX.BOUNDARY_CODE(K), BOUNDARY_MOVING_WALL);
    }
    for (int t = 1; t <= S.TRIANGLE_COUNT; ++t) {
        for (int c = 1; c <= 3; ++c) {
            ASSERT_GE(S.TRIANGLE(c, t), 1);
            ASSERT_LE(S.TRIANGLE(c, t), S.POINT_COUNT);
        }
        int kind = S.TRIANGLE(TRIANGLE_KIND, t);
        ASSERT_NE(kind, 0);
        if (kind > 0) {
            ASSERT_LE(kind, S.SOLID_TRIANGLE_COUNT);
            ASSERT_EQ(S.SOLID_TRIANGLE(1, kind), t);
        } else {
            ASSERT_LE(-kind, S.ENTRY_TRIANGLE_COUNT);
            ASSERT_EQ(S.ENTRY_TRIANGLE(-kind), t);
        }
    }
}

class CaseFuzzTest : public CaseFolderTest {
protected:
    // Runs both readers on one pair of files; returns true when they accepted it.
    bool run_readers(const std::string& flow, const std::string& surface)
    {
        reopen_log();
        clear_every_state_group();
        write_file("QR4TD.DAT", flow);
        write_file("QR4SD.DAT", surface);
        try {
            READ_FLOW_DATA();
            READ_SURFACE_DATA();
        } catch (const FatalStopped&) {
            return false;
        }
        check_consistent();
        return true;
    }
};

TEST_F(CaseFuzzTest, DamagedFlowDataStopsOrReadsConsistently)
{
    for (const char* set : {"one_species", "reacting_gas"}) {
        std::string flow = read_file(fixture_dir(set) / "QR4TD.DAT");
        std::string surface = read_file(fixture_dir(set) / "QR4SD.DAT");
        int accepted = 0;
        int runs = 0;
        for (const std::string& damaged : damaged_versions(flow)) {
            SCOPED_TRACE(std::string(set) + " flow version " + std::to_string(runs));
            accepted += run_readers(damaged, surface) ? 1 : 0;
            ++runs;
            if (HasFatalFailure())
                return;
        }
        // Many replacements (descriptions, fractions, energies) are values the model holds.
        EXPECT_GT(accepted, 0) << set;
        EXPECT_LT(accepted, runs) << set;
    }
}

TEST_F(CaseFuzzTest, DamagedSurfaceDataStopsOrReadsConsistently)
{
    std::string flow = read_file(fixture_dir("reacting_gas") / "QR4TD.DAT");
    std::string surface = read_file(fixture_dir("reacting_gas") / "QR4SD.DAT");
    int accepted = 0;
    int runs = 0;
    for (const std::string& damaged : damaged_versions(surface)) {
        SCOPED_TRACE("surface version " + std::to_string(runs));
        accepted += run_readers(flow, damaged) ? 1 : 0;
        ++runs;
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, runs);
}

}  // namespace
