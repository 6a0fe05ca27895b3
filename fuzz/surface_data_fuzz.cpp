// The surface-data reader on any input. The reader needs flow data read first (species, scale factor,
// surface reactions, stream): the first byte picks one of the flow-data files of the project, the rest
// becomes "QR4SD.DAT".
#include "app/casedata/casedata.h"
#include "app/state/surface.h"
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The flow-data files that the surface data of the seeds belong to, in the order of the first byte.
const char* const FLOW_FILES[] = {
    "tests/casedata/fixtures/one_species/QR4TD.DAT",
    "tests/casedata/fixtures/reacting_gas/QR4TD.DAT",
    "data/demo/QR4TD.DM1",
    "data/demo/QR4TD.DM2",
    "data/demo/QR4TD.DM3",
};
constexpr size_t FLOW_FILE_COUNT = sizeof FLOW_FILES / sizeof FLOW_FILES[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::string flow[FLOW_FILE_COUNT];
    // The flow data are read again only when the pick changes: the surface-data reader reads BOX, GAS
    // and RUN and writes only SURFACE, which is cleared before each input.
    static size_t flow_read = FLOW_FILE_COUNT;  // the flow data in the state groups: none yet
    if (size == 0)
        return 0;
    const size_t pick = data[0] % FLOW_FILE_COUNT;
    if (pick != flow_read) {
        if (flow[pick].empty())
            flow[pick] = fuzz_source_file(FLOW_FILES[pick]);
        fuzz_start_reader();
        fuzz_write_file("QR4TD.DAT", flow[pick]);
        try {
            READ_FLOW_DATA();
        } catch (const FuzzRefused&) {
            std::fprintf(stderr, "qr4t fuzz: the flow data %s are refused\n", FLOW_FILES[pick]);
            std::abort();
        }
        flow_read = pick;
    }
    SURFACE = SurfaceState{};
    fuzz_restart_log();
    fuzz_write_file("QR4SD.DAT", data + 1, size - 1);
    try {
        READ_SURFACE_DATA();
    } catch (const FuzzRefused&) {
    }
    fuzz_end_reader();
    return 0;
}
