// The demonstration data sets are read by both readers without a refusal: the checks of the readers
// must accept every case the program itself offers.
#include "app/casedata/casedata.h"
#include "case_test_support.h"

namespace {

using DemoDataTest = CaseFolderTest;

TEST_F(DemoDataTest, EveryDemonstrationSetIsAccepted)
{
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    std::filesystem::path demo = std::filesystem::path(source ? source : ".") / "data" / "demo";
    int sets = 0;
    for (int n = 1; n <= 3; ++n) {
        std::filesystem::path flow = demo / ("QR4TD.DM" + std::to_string(n));
        std::filesystem::path surface = demo / ("QR4SD.DM" + std::to_string(n));
        if (!std::filesystem::exists(flow) || !std::filesystem::exists(surface))
            continue;
        SCOPED_TRACE(flow.string());
        ++sets;
        reopen_log();
        std::filesystem::copy_file(flow, "QR4TD.DAT", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(surface, "QR4SD.DAT", std::filesystem::copy_options::overwrite_existing);
        EXPECT_NO_THROW({
            READ_FLOW_DATA();
            READ_SURFACE_DATA();
        });
    }
    if (sets == 0)
        GTEST_SKIP() << "no demonstration data sets in " << demo;
}

}  // namespace
