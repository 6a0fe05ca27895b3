// The flow-data reader on any input: the bytes become "QR4TD.DAT" and READ_FLOW_DATA reads them, with
// its summary and reaction tables. A fatal stop (a refusal naming file, item and value) is a normal end.
#include "app/casedata/casedata.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start_reader();
    fuzz_write_file("QR4TD.DAT", data, size);
    try {
        READ_FLOW_DATA();
    } catch (const FuzzRefused&) {
    }
    fuzz_end_reader();
    return 0;
}
