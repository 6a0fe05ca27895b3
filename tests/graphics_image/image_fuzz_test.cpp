// Robustness of the readers of untrusted files: truncations and byte corruptions of valid BMP, PCX,
// PNG, CGM and plot files go through the identifier, the loader and the bitmap reader without a
// crash or a write outside the array. It runs in the host build, under AddressSanitizer, which sees
// every stray access; under Wine its thousands of file writes would take half a minute.
#include "toolkit/graphics/graphics_file_id.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/image_load.h"
#include "toolkit/graphics/image_read.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32

#include <unistd.h>

namespace {

using namespace fixture;

// The fuzz file lives in memory where the system has a memory file system: thousands of small writes
// to a disk would make the test wait on the disk, not on the readers.
const std::string NAME = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm/" : "") +
                         ("qr4t_fuzz_" + std::to_string(getpid()) + ".dat");
constexpr size_t ROOM = 4096;  // entries of the array; images that claim more are refused

// A fixed pseudo-random sequence of the test's own (the program's generator is never reseeded).
struct Lcg {
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

std::vector<Bytes> image_seeds()
{
    std::vector<Bytes> seeds;
    auto pal = palette(256);
    Picture indexed = indexed_picture(9, 5, pal);
    seeds.push_back(bmp_file(indexed, 8, pal, indices(9, 5, 256)));
    seeds.push_back(bmp_file(indexed, 8, pal, indices(9, 5, 256), false, 124));
    Picture rgb = rgb_picture(6, 4);
    seeds.push_back(bmp_file(rgb, 24, {}, {}, true));
    seeds.push_back(bmp_file(rgb, 16, {}, {}));
    Bytes rle8 = bmp_head(6, 3, 8, 1, palette(16), 30);
    rle8.insert(rle8.end(),
                {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 8, 5, 1, 7, 0, 0, 2, 6, 0, 2, 2, 0, 1, 3, 0, 0, 5, 1, 0, 1});
    seeds.push_back(rle8);
    Bytes rle4 = bmp_head(5, 2, 4, 2, palette(16), 12);
    rle4.insert(rle4.end(), {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x67, 0, 1});
    seeds.push_back(rle4);
    for (int planes : {1, 3, 4}) {
        int bits = planes == 4 ? 1 : 8;
        int bpl = planes == 4 ? 2 : 10;
        Bytes pcx = pcx_head(9, 5, bits, planes, bpl, palette(16));
        for (int i = 0; i < 5 * planes; ++i) {
            Bytes line(bpl);
            for (int x = 0; x < bpl; ++x)
                line[x] = (unsigned char)(x * 37 + i * 11);
            pcx_runs(pcx, line);
        }
        if (planes == 1) {
            pcx.push_back(12);
            pcx.insert(pcx.end(), 768, 0x55);
        }
        seeds.push_back(pcx);
    }
    Bytes raw;
    for (int y = 0; y < 5; ++y) {
        raw.push_back((unsigned char)(y % 5));  // every filter type
        for (int x = 0; x < 9; ++x)
            raw.push_back((unsigned char)(x * 29 + y));
    }
    seeds.push_back(png_file(png_ihdr(9, 5, 8, 3), raw, palette(256), true, 2));
    Bytes raw16;
    for (int y = 0; y < 4; ++y) {
        raw16.push_back((unsigned char)(4 - y % 5));
        for (int i = 0; i < 6 * 8; ++i)
            raw16.push_back((unsigned char)(i * 13 + y));
    }
    seeds.push_back(png_file(png_ihdr(6, 4, 16, 6), raw16));
    return seeds;
}

std::vector<Bytes> structure_seeds()
{
    Bytes cgm = {0x00, 0x22, 1, 'A', 0x10, 0x82, 0, 32, 0x20, 0xD0};
    for (int v : {0, 0, 300, 100})
        be32(cgm, uint32_t(v));
    cgm.insert(cgm.end(),
               {0x00, 0x7F, 0x80, 0x04, 1, 2, 3, 4, 0x00, 0x04, 5, 6, 7, 8, 0x00, 0xA0, 0x00, 0x40});
    Bytes picture(17, 0);
    picture[0] = 1;
    picture[4] = 1;
    picture[6] = 8;
    picture[8] = 68;
    picture[13] = 12;
    picture.insert(picture.end(),
                   {0x60, 0xA0, 1, 2, 3, 4, 0x30, 1, 1, 2, 3, 4, 5, 6, 7, 8, 0xA8, 9, 'a', 0, 0x6F});
    std::string hpgl = "IN; IP 395 0 10865 7478\nSC-13 1 0 32760\nSC-3 32 0 32760\n";
    std::string hpgl2 = "\x1b%0BIN;\nCO\"13 2\"\nIP 0 0 10159 7111\nCO\"3 1\"\n";
    std::string svg = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg>\n<svg width=\"40\" height=\"30\">\n";
    std::string dxf = "  0\nSECTION\n  2\nHEADER\n 9\n$X\n 10\n1\n 20\n2\n 9\n$Y\n 10\n8.5\n 20\n11.0\n";
    std::vector<Bytes> seeds = {cgm, picture};
    for (const std::string& s : {hpgl, hpgl2, svg, dxf})
        seeds.emplace_back(s.begin(), s.end());
    return seeds;
}

void read_all_ways(const Bytes& file, bool load)
{
    write_file(NAME, file);
    std::array<int, 6> info{};
    IImgFileIdentify(NAME, info);
    if (load) {
        std::vector<uint32_t> pixels(ROOM);
        IImgLoadPixels(NAME, pixels);
        for (int type : {1, 2, 15}) {
            DibImage dib;
            int width = 0, height = 0, status = 0, code = 0;
            img_file_read_dib(type, NAME, dib, width, height, status, code);
            // A bitmap that was read holds all its rows (run-length codes: at least one byte).
            const bool coded = dib.compression == 1 || dib.compression == 2;
            if (status == 0) {
                ASSERT_GE(int64_t(dib.bits.size()),
                          coded ? 1 : img_dib_row_bytes(dib.width, dib.bit_count) * dib.height);
            }
        }
    }
}

// Every truncation, then corruptions of one to four bytes at pseudo-random places.
void fuzz(const std::vector<Bytes>& seeds, bool load, int mutations)
{
    Lcg random{12345};
    // Values that are boundaries, or counts that the headers hold (bits, planes, header sizes).
    const unsigned char special[12] = {0x00, 0xFF, 0x80, 0x7F, 0x01, 0xC0, 3, 4, 8, 16, 24, 40};
    for (const Bytes& seed : seeds) {
        // Every length through the headers, every eighth one after.
        for (size_t length = 0; length <= seed.size(); length += length < 64 ? 1 : 8)
            read_all_ways(Bytes(seed.begin(), seed.begin() + length), load);
        for (int m = 0; m < mutations; ++m) {
            Bytes file = seed;
            int changes = 1 + random.next() % 4;
            for (int c = 0; c < changes; ++c) {
                // Half of the changes fall into the first 80 bytes, where the headers are.
                uint32_t where = random.next();
                size_t at =
                    where % 2 ? (where >> 1) % std::min<size_t>(file.size(), 80) : (where >> 1) % file.size();
                uint32_t r = random.next();
                file[at] = r % 3 == 0 ? special[(r >> 4) % 12] : (unsigned char)(r >> 8);
            }
            read_all_ways(file, load);
        }
    }
    std::remove(NAME.c_str());
    IErrorInfo(1);
    IErrorInfo(2);
    IErrorInfo(3);
}

TEST(ImageFuzz, LoaderSurvivesTruncatedAndCorruptedImages)
{
    fuzz(image_seeds(), true, 120);
}

TEST(ImageFuzz, IdentifierSurvivesTruncatedAndCorruptedStructures)
{
    fuzz(structure_seeds(), false, 200);
}

}  // namespace

#endif
