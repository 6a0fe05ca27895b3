// The restart set of whole cases set up by the real subsystems: the flow and surface data read, the
// divisions, elements and cells made, the flow initialised, then the set written and read back into a
// cleared state. Every item must come back, and the writer's check that every array has the extents of
// the size record must pass: this is where the subsystems that allocate the state meet the set.
#include "app/casedata/casedata.h"
#include "app/geometry/geometry.h"
#include "app/kernel/initialize_flow.h"
#include "tests/casedata/case_files.h"
#include "tests/restart/restart_test_support.h"

namespace {

// A tetrahedron of four solid triangles inside the box of the flow-data template, the normals
// (P2 - P1) x (P3 - P1) pointing out of the body.
const char* const TETRAHEDRON = R"(1         surfaces
4         points
4         solid triangles
0         flow entry triangles
8. 3. 3.
12. 3. 3.
8. 7. 3.
8. 3. 7.
1 3 2
1
300.      temperature
0.        specular fraction
0.
0.
0.
0.
0.5       probability of surface reaction 1
1 2 4
0
1 4 3
0
2 3 4
0
)";

using RestartCaseTest = RestartTest;

// Sets up a new run from the data files in the working folder and checks its restart round trip.
void set_up_and_round_trip()
{
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    INITIALIZE_FLOW();
    ASSERT_GT(CELLS.CELL_COUNT, 0);
    std::vector<std::string> before = state_snapshot();
    WRITE_RESTART();
    clear_every_state_group();
    READ_RESTART();
    std::vector<std::string> after = state_snapshot();
    for (std::size_t f = 0; f < before.size(); ++f)
        EXPECT_TRUE(before[f] == after[f]) << RESTART_FILE_NAME[f] << " differs after the round trip";
}

TEST_F(RestartCaseTest, OneSpeciesWithoutSurfaces)
{
    copy_fixture("one_species");
    std::string flow = read_file("QR4TD.DAT");
    std::size_t at = flow.find("1.E15     FNUM");
    ASSERT_NE(at, std::string::npos);
    flow.replace(at, 5, "1.E17");  // 8000 molecules
    write_file("QR4TD.DAT", flow);
    set_up_and_round_trip();
}

TEST_F(RestartCaseTest, ReactingGasAroundABody)
{
    write_file("QR4TD.DAT", flow_file({{"FNUM", "1.E19"}, {"MNM", "100000"}, {"INDEX", "1"}}));
    write_file("QR4SD.DAT", TETRAHEDRON);
    set_up_and_round_trip();
    EXPECT_EQ(SURFACE.SOLID_TRIANGLE_COUNT, 4);
}

}  // namespace

namespace {

// The demonstration cases, set up as a new run of each would set them up, round-trip whole. The third
// (the largest body) is left out: its set-up alone takes over ten seconds under the sanitizers.
TEST_F(RestartCaseTest, DemonstrationCases)
{
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    std::filesystem::path demo = std::filesystem::path(source ? source : ".") / "data" / "demo";
    int sets = 0;
    for (int n = 1; n <= 2; ++n) {
        std::filesystem::path flow = demo / ("QR4TD.DM" + std::to_string(n));
        std::filesystem::path surface = demo / ("QR4SD.DM" + std::to_string(n));
        if (!std::filesystem::exists(flow) || !std::filesystem::exists(surface))
            continue;
        SCOPED_TRACE(flow.string());
        ++sets;
        reopen_log();
        clear_every_state_group();
        std::filesystem::copy_file(flow, "QR4TD.DAT", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(surface, "QR4SD.DAT", std::filesystem::copy_options::overwrite_existing);
        set_up_and_round_trip();
    }
    if (sets == 0)
        GTEST_SKIP() << "no demonstration data sets in " << demo;
}

}  // namespace
