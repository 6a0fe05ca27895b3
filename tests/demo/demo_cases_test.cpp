// The three demonstration cases of data/demo, set up as a new run sets them up: each pair of files is
// copied to "QR4TD.DAT" and "QR4SD.DAT" in a scratch folder and read by READ_FLOW_DATA and
// READ_SURFACE_DATA, then SET_DIVISIONS_AND_ELEMENTS, SET_UP_CELLS and INITIALIZE_FLOW build the case on
// the headless toolkit (the pictures close at their first wait). A data set that the readers refuse or
// that the geometry cannot close stops the test with the program's own message.
#include "app/casedata/casedata.h"
#include "app/geometry/geometry.h"
#include "app/geometry/locate.h"
#include "app/kernel/initialize_flow.h"
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
#include "base/fatal.h"
#include "base/random.h"
#include "base/units.h"
#include "tests/geometry/flow_cover.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Stopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One case: its file suffix and what its set-up must give.
struct DemoCase {
    int number;           // DM1 .. DM3
    int species;          // SPECIES_COUNT
    int gas_reactions;    // GAS_REACTIONS
    int solid_triangles;  // SOLID_TRIANGLE_COUNT
    int entry_triangles;  // ENTRY_TRIANGLE_COUNT
    bool starts_filled;   // INITIAL_STATE 1 (the stream fills the box) or 2 (a vacuum)
    double flow_volume;   // m^3: the box less the body, or the inside of the vacuum system, as the
                          // generator (tools/make_demo_cases.py) computes it from the triangles
    bool flow_inside;     // the surface encloses the flow (the vacuum system), not a body
};

const DemoCase CASES[] = {
    {1, 1, 0, 160, 0, true, 0.508595, false},
    {2, 2, 0, 672, 16, false, 0.000718398, true},
    {3, 5, 19, 1456, 0, true, 19767.4, false},
};

fs::path demo_folder()
{
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    return fs::path(source ? source : ".") / "data" / "demo";
}

std::string read_text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a case's set-up in a scratch folder of its own; the state groups are cleared first.
class DemoCaseTest : public testing::TestWithParam<DemoCase> {
protected:
    void SetUp() override
    {
        saved_random = RANDOM_STATE;
        original = fs::current_path();
        folder = fs::temp_directory_path() /
                 ("qr4t_demo_" + std::to_string(GetParam().number) + "_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        fs::current_path(folder);
        clear_every_state_group();
        HEADLESS.reset();
        HEADLESS.record_calls = true;
        set_fatal_handler([](const std::string& m) { throw Stopped(m); });
        unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    }
    void TearDown() override
    {
        set_fatal_handler(nullptr);
        unit_close_all_unchecked();
        fs::current_path(original);
        std::error_code ec;
        fs::remove_all(folder, ec);
        RANDOM_STATE = saved_random;
    }
    std::string diag()
    {
        std::fflush(unit_file(UNIT_DIAG));
        return read_text("DIAG.TXT");
    }

    RandomState saved_random;
    fs::path original;
    fs::path folder;
};

}  // namespace

TEST_P(DemoCaseTest, ReadsSetsUpAndInitialises)
{
    const DemoCase& c = GetParam();
    const std::string suffix = ".DM" + std::to_string(c.number);
    fs::copy_file(demo_folder() / ("QR4TD" + suffix), "QR4TD.DAT");
    fs::copy_file(demo_folder() / ("QR4SD" + suffix), "QR4SD.DAT");

    try {
        READ_FLOW_DATA();
        READ_SURFACE_DATA();
        SET_DIVISIONS_AND_ELEMENTS();
        SET_UP_CELLS();
        INITIALIZE_FLOW();
    } catch (const Stopped& e) {
        FAIL() << "the set-up stopped: " << e.what() << "\n" << diag();
    }
    const std::string log = diag();
    // No element in the flow is left without a cell (the Delta Wing's tip lost molecules there).
    expect_cells_cover_the_flow(c.flow_inside);

    // Data as the generator wrote it.
    EXPECT_EQ(GAS.SPECIES_COUNT, c.species);
    EXPECT_EQ(GAS.GAS_REACTIONS, c.gas_reactions);
    EXPECT_EQ(SURFACE.SURFACE_COUNT, 1);
    EXPECT_EQ(SURFACE.SOLID_TRIANGLE_COUNT, c.solid_triangles);
    EXPECT_EQ(SURFACE.ENTRY_TRIANGLE_COUNT, c.entry_triangles);
    EXPECT_NE(log.find("The data summary QR4TD.TXT has been written"), std::string::npos);
    EXPECT_NE(log.find("Surface Data has been Read"), std::string::npos);
    // Every surface ends on planes of symmetry (or the vacuum side of the tube): open, never broken.
    EXPECT_NE(log.find("is an open surface"), std::string::npos) << log;
    EXPECT_EQ(log.find("connectivity"), std::string::npos) << log;

    // Divisions: the surfaces cut some; flow divisions hold a level; the cells are formed around one
    // node per flow division and one per solid triangle.
    EXPECT_GT(DIVISIONS.SURFACE_DIVISION_COUNT, 0);
    EXPECT_GT(DIVISIONS.FLOW_DIVISION_COUNT, 0);
    EXPECT_GE(DIVISIONS.MAX_DIVISION_LEVEL, 1);
    EXPECT_GE(CELLS.CELL_COUNT, DIVISIONS.FLOW_DIVISION_COUNT);
    EXPECT_LE(CELLS.CELL_COUNT, DIVISIONS.FLOW_DIVISION_COUNT + SURFACE.SOLID_TRIANGLE_COUNT);
    // The cells fill the flow volume: the cut elements are analysed in thousandths of their volume.
    const double scale3 = double(BOX.SCALE_FACTOR) * BOX.SCALE_FACTOR * BOX.SCALE_FACTOR;
    double flow_volume = 0.0;
    for (int n = 1; n <= CELLS.CELL_COUNT; ++n)
        flow_volume += CELLS.CELL_DATA(CELL_VOLUME, n);
    flow_volume /= scale3;
    EXPECT_NEAR(flow_volume, c.flow_volume, 0.01 * c.flow_volume);

    // Molecules: a stream case holds the stream density in the flow volume, within the statistical
    // scatter of the initial placement; the vacuum system starts empty.
    const double expected = GAS.STREAM_DENSITY * flow_volume / RUN.FNUM;
    if (c.starts_filled) {
        EXPECT_NEAR(MOLECULES.NM, expected, 5.0 * std::sqrt(expected) + 0.01 * expected);
        for (int m = 1; m <= MOLECULES.NM; ++m) {
            ASSERT_GE(MOLECULES.IP(2, m), 1) << "molecule " << m;
            ASSERT_LE(MOLECULES.IP(2, m), CELLS.CELL_COUNT) << "molecule " << m;
        }
    } else {
        EXPECT_EQ(MOLECULES.NM, 0);
    }
    EXPECT_LE(MOLECULES.NM, RUN.MNM);
    EXPECT_EQ(
        HEADLESS.count(
            "WMessageBox 0 4 0 |The flow simulation will now start from zero time.|Initialization Complete|"),
        1);
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoCaseTest, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<DemoCase>& info) {
                             return "DM" + std::to_string(info.param.number);
                         });
