// PNG codec primitives (the PNG format as published; CRC-32 of ISO 3309 and ITU-T V.42).
#include "toolkit/graphics/png_codec.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"

#include <zlib.h>

#include <cstdlib>
#include <limits>

namespace {

// CRC table of the reflected polynomial EDB88320, built on the first CRC computed.
struct CrcTable {
    uint32_t entry[256] = {};
    bool built = false;
};

CrcTable crc_table;

void build_crc_table()
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crc_table.entry[i] = c;
    }
    crc_table.built = true;
}

// zlib counts bytes in uLong, which is 32 bits on Win64: larger buffers cannot be handed over whole.
bool fits_ulong(size_t n)
{
    return n <= std::numeric_limits<uLong>::max();
}

// One call of zlib's compress or uncompress; destination_length is the room in and the bytes out.
void zlib_transfer(int (*transfer)(Bytef*, uLongf*, const Bytef*, uLong), const unsigned char* source,
                   unsigned char* destination, size_t source_length, size_t& destination_length, int& status)
{
    if (!fits_ulong(source_length) || !fits_ulong(destination_length)) {
        status = Z_BUF_ERROR;
        destination_length = 0;
        return;
    }
    uLongf out = uLongf(destination_length);
    status = transfer(destination, &out, source, uLong(source_length));
    destination_length = out;
}

// Paeth predictor of the PNG standard.
int paeth(int left, int up, int up_left)
{
    int p = left + up - up_left;
    int pa = std::abs(p - left);
    int pb = std::abs(p - up);
    int pc = std::abs(p - up_left);
    if (pa <= pb && pa <= pc)
        return left;
    return pb <= pc ? up : up_left;
}

}  // namespace

uint32_t IImgPngGetBE32(const unsigned char* bytes)
{
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

void IImgPngPutBE32(uint32_t value, unsigned char* bytes)
{
    bytes[0] = (unsigned char)(value >> 24);
    bytes[1] = (unsigned char)(value >> 16);
    bytes[2] = (unsigned char)(value >> 8);
    bytes[3] = (unsigned char)value;
}

int IImgPngChunkIs(const unsigned char* bytes, std::string_view name)
{
    if (name.size() < 4)
        return 0;
    for (int i = 0; i < 4; ++i) {
        unsigned char c = (unsigned char)name[i];
        if (c >= 128 || bytes[i] != c)
            return 0;
    }
    return 1;
}

void IImgPngCrc(size_t n, uint32_t& crc, const unsigned char* buffer)
{
    crc = IImgPngCrcCompute(buffer, n);
}

uint32_t IImgPngCrcCompute(const unsigned char* buffer, size_t n)
{
    if (!crc_table.built)
        build_crc_table();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
        c = crc_table.entry[(c ^ buffer[i]) & 255] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void IImgPngUnfilter(size_t row_length, size_t rows, int bytes_per_pixel, unsigned char* buffer)
{
    if (row_length < 2 || bytes_per_pixel < 1)
        return;
    const size_t b = size_t(bytes_per_pixel);
    const size_t n = row_length - 1;  // data bytes of a row
    for (size_t r = 0; r < rows; ++r) {
        unsigned char* row = buffer + r * row_length + 1;
        const unsigned char* up = r > 0 ? row - row_length : nullptr;  // the row above, unfiltered
        switch (row[-1]) {
        case 1:  // Sub
            for (size_t i = b; i < n; ++i)
                row[i] = (unsigned char)(row[i] + row[i - b]);
            break;
        case 2:  // Up
            if (up)
                for (size_t i = 0; i < n; ++i)
                    row[i] = (unsigned char)(row[i] + up[i]);
            break;
        case 3:  // Average
            for (size_t i = 0; i < n; ++i) {
                int left = i >= b ? row[i - b] : 0;
                int above = up ? up[i] : 0;
                row[i] = (unsigned char)(row[i] + (left + above) / 2);
            }
            break;
        case 4:  // Paeth
            for (size_t i = 0; i < n; ++i) {
                int left = i >= b ? row[i - b] : 0;
                int above = up ? up[i] : 0;
                int up_left = up && i >= b ? up[i - b] : 0;
                row[i] = (unsigned char)(row[i] + paeth(left, above, up_left));
            }
            break;
        default:  // 0 None, and unknown types pass unchanged
            break;
        }
    }
}

void IImgDeflate(const unsigned char* source, unsigned char* destination, size_t source_length,
                 size_t& destination_length, int& status)
{
    zlib_transfer(compress, source, destination, source_length, destination_length, status);
}

void IImgInflate(const unsigned char* source, unsigned char* destination, size_t source_length,
                 size_t& destination_length, int& status)
{
    zlib_transfer(uncompress, source, destination, source_length, destination_length, status);
}

void IImgUncompress(const unsigned char* source, unsigned char* destination, size_t source_length,
                    size_t& destination_length)
{
    int status = 0;
    IImgInflate(source, destination, source_length, destination_length, status);
    if (status != 0) {
        IErrorReport(IMG_ERR_ZLIB);
        ERROR_STATE.last_os_error = status;
        destination_length = 0;
    }
}

void IImgPutBE32(uint32_t value, unsigned char* buffer, int& count)
{
    IImgPngPutBE32(value, buffer + count);
    count += 4;
}

void IImgCompress(const unsigned char* source, unsigned char* destination, size_t source_length,
                  size_t& destination_length)
{
    int status = 0;
    IImgDeflate(source, destination, source_length, destination_length, status);
    if (status != 0 || destination_length == 0) {
        IErrorReport(IMG_ERR_ZLIB);
        ERROR_STATE.last_os_error = status;
        destination_length = 0;
    }
}
