// The graphics file identifier on any input: the bytes become a file, IImgFileIdentify names its type,
// size, colours and pages, and the scans that count pages, pictures and colours of the plot, CGM and
// picture files run on it whatever its type.
#include "fuzz/fuzz_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/graphics_file_id.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr char FILE_NAME[] = "GRAPHICS.DAT";
    fuzz_enter_folder();
    fuzz_write_file(FILE_NAME, data, size);
    int info[IMG_FILE_INFO_LENGTH] = {};
    IImgFileIdentify(FILE_NAME, info);
    int pages = 0, pictures = 0, colours = 0;
    float aspect = 0.0f;
    IImgPlotPageCount(FILE_NAME, pages);
    IImgCgmScan(FILE_NAME, pictures, aspect);
    IImgPictureScan(FILE_NAME, colours);
    ERROR_STATE = ErrorState{};
    return 0;
}
