// The BMP, PCX and PNG readers on any input: the bytes become an image file, the graphics file
// identifier names its type and size, and both readers decode it: the loader into pixels
// (IImgLoadPixels) and the reader into a device-independent bitmap (img_file_read_dib). Any error
// number is a normal end.
#include "fuzz/fuzz_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/graphics_file_id.h"
#include "toolkit/graphics/image_load.h"
#include "toolkit/graphics/image_read.h"

#include <vector>

namespace {

// The most pixels a harness gives the loader: the loader's own cap would take 256 MB a run. A larger
// picture gets a small array, which the loader must refuse without writing past it.
constexpr int64_t HARNESS_PIXELS = int64_t(2048) * 2048;
constexpr char IMAGE_FILE[] = "IMAGE.IMG";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_enter_folder();
    fuzz_write_file(IMAGE_FILE, data, size);
    int info[IMG_FILE_INFO_LENGTH] = {};
    IImgFileIdentify(IMAGE_FILE, info);
    const int type = info[0];
    if (type == IMG_TYPE_BMP || type == IMG_TYPE_PCX || type == IMG_TYPE_PNG) {
        const int64_t pixels = int64_t{info[1]} * info[2];
        std::vector<uint32_t> picture(pixels > 0 && pixels <= HARNESS_PIXELS ? static_cast<size_t>(pixels)
                                                                             : 16);
        IImgLoadPixels(IMAGE_FILE, picture);
        DibImage dib;
        int width = 0, height = 0, status = 0, system_code = 0;
        img_file_read_dib(type, IMAGE_FILE, dib, width, height, status, system_code);
    }
    ERROR_STATE = ErrorState{};
    return 0;
}
