// The PNG codec's uncompress and unfilter on any input. The first four bytes give the geometry of the
// rows (row length with its filter byte, rows, filter distance), the rest is a zlib stream that
// IImgUncompress inflates into room for those rows; what it gives is then unfiltered in place.
#include "fuzz/fuzz_support.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/png_codec.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const size_t row_length = 1 + (data[0] | (data[1] & 0x0F) << 8);  // 1 .. 4096 bytes
    const size_t rows = 1 + data[2];                                  // 1 .. 256
    const int distance = 1 + data[3] % 8;                             // 1 .. 8 bytes
    std::vector<unsigned char> raw(row_length * rows);
    size_t length = raw.size();
    IImgUncompress(data + 4, raw.data(), size - 4, length);
    if (length > raw.size())
        __builtin_trap();
    // Whole rows of what was inflated; a filter type beyond 4 is left to the unfilter.
    IImgPngUnfilter(row_length, length / row_length, distance, raw.data());
    ERROR_STATE = ErrorState{};
    return 0;
}
