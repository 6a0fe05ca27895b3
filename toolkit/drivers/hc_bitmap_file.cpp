// The bitmap-file device (device 6) and its BMP, PCX and PNG writers.
#include "toolkit/drivers/hc_bitmap_file.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_raster.h"
#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_save.h"
#include "toolkit/graphics/png_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::string_view BITMAP_CAPS = "00000111111111110010011111000";
constexpr int BMP_HEADER = 54;
constexpr int PCX_HEADER = 128;

using Bytes = std::vector<unsigned char>;

// The output name kept for the size patch at op 19.
std::string saved_name;

int depth()
{
    return HcRasterPage.bits_per_pixel;
}

int format()
{
    return HcOptions(HC_OPT_BITMAP_FORMAT);
}

void put_le(Bytes& b, std::size_t at, std::uint32_t v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
}

// Writes the bytes to the plot file; false after a failed write (the plot-file layer has reported it).
bool emit(const Bytes& b)
{
    if (HcPlotStatus == -1)
        return false;
    IHcPlotWriteText(HC_PLOT_SLOT, std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
    return HcPlotStatus != -1;
}

// The file's 4-bit colour index of a page value: planes red, green, blue, intensity in value bits 0..3
// give blue + 2 green + 4 red + 8 intensity.
std::uint32_t file_index(std::uint32_t v)
{
    if (depth() != 4)
        return v;
    return (v >> 2 & 1u) | (v >> 1 & 1u) << 1 | (v & 1u) << 2 | (v >> 3 & 1u) << 3;
}

// One page row y (0 = bottom) packed as BMP and PNG rows are: 1 bit eight pixels a byte from the
// highest bit, 4 bits two a byte from the high nibble, 8 bits a byte each, 24 bits three bytes in the
// order blue, green, red (bgr) or red, green, blue.
void pack_row(int y, bool bgr, Bytes& row)
{
    const int w = HcRasterPage.width;
    const int d = depth();
    const std::int64_t n = d == 24 ? 3 * std::int64_t(w) : (std::int64_t(w) * d + 7) / 8;
    row.assign(static_cast<std::size_t>(n), 0);
    for (int x = 0; x < w; ++x) {
        const std::uint32_t v = file_index(hc_raster_pixel(x, y));
        switch (d) {
        case 1:
            row[static_cast<std::size_t>(x / 8)] |= static_cast<unsigned char>((v & 1u) << (7 - x % 8));
            break;
        case 4:
            row[static_cast<std::size_t>(x / 2)] |=
                static_cast<unsigned char>((v & 15u) << (x % 2 == 0 ? 4 : 0));
            break;
        case 8: row[static_cast<std::size_t>(x)] = static_cast<unsigned char>(v); break;
        default: {
            const std::size_t at = 3 * static_cast<std::size_t>(x);
            row[at] = static_cast<unsigned char>(bgr ? v >> 16 : v);
            row[at + 1] = static_cast<unsigned char>(v >> 8);
            row[at + 2] = static_cast<unsigned char>(bgr ? v : v >> 16);
            break;
        }
        }
    }
}

// Palette colour i (packed RGB, red in the low byte) of the page's depth: 1 bit white and black,
// 4 bits the 16 standard colours, 8 bits the colour table.
int palette_rgb(int i)
{
    int rgb = 0;
    if (depth() == 1)
        rgb = i == 0 ? 0xFFFFFF : 0;
    else if (depth() == 4)
        IGrColourStdRGBGet(i, rgb);
    else
        IGrColourRGBGet(i, rgb);
    return rgb;
}

// Colour-table entries of the depth: none at 24 bits.
int palette_size()
{
    return depth() == 24 ? 0 : 1 << depth();
}

// A run-length BMP row: groups of four bytes (8 pixels at 4 bits, 4 at 8), equal groups joined in
// runs, other groups in absolute mode; a last group short of pixels codes only those left, as runs.
void rle_row(const Bytes& row, int w, Bytes& code)
{
    const int d = depth();
    const int g = 12 - d;                    // pixels a group
    const int limit = d == 4 ? 247 : 251;    // a run grows while its count is below this
    std::size_t run_at = std::string::npos;  // count byte of the run the last group made
    code.clear();
    for (int first = 0; first < w; first += g) {
        const std::size_t i = static_cast<std::size_t>(first * d / 8);
        const int pixels = std::min(g, w - first);
        if (pixels < g) {
            // Pixels left: one run per byte (two pixels a byte at 4 bits).
            for (int k = 0; k < pixels; k += 8 / d) {
                code.push_back(static_cast<unsigned char>(std::min(8 / d, pixels - k)));
                code.push_back(row[i + static_cast<std::size_t>(k * d / 8)]);
            }
            break;
        }
        const bool equal = row[i] == row[i + 1] && row[i] == row[i + 2] && row[i] == row[i + 3];
        if (equal && run_at != std::string::npos && code[run_at + 1] == row[i] && code[run_at] < limit) {
            code[run_at] = static_cast<unsigned char>(code[run_at] + g);
        } else if (equal) {
            run_at = code.size();
            code.push_back(static_cast<unsigned char>(g));
            code.push_back(row[i]);
        } else {
            run_at = std::string::npos;
            code.push_back(0);
            code.push_back(static_cast<unsigned char>(g));
            code.insert(code.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                        row.begin() + static_cast<std::ptrdiff_t>(i + 4));
        }
    }
    code.push_back(0);
    code.push_back(0);
}

// Page set-up and the allocation loop of op 18.
bool allocate_page()
{
    auto& P = HcRasterPage;
    auto& O = HcOptions;
    const int d = O(HC_OPT_DEPTH) == 1 || O(HC_OPT_DEPTH) == 4 || O(HC_OPT_DEPTH) == 24 ? O(HC_OPT_DEPTH) : 8;
    P.byte_mask = {0xFFFFFF00u, 0xFFFF00FFu, 0xFF00FFFFu, 0x00FFFFFFu};
    P.bits_per_pixel = d;
    P.planes = d == 4 ? 4 : 1;
    const int per_word = d == 8 ? 4 : d == 24 ? 1 : 32;
    P.resolution_x = 150.0;
    P.resolution_y = 150.0;
    P.background = d == 24 ? 0xFFFFFFFFu : 0u;
    P.colour_model = 1;
    O(HC_OPT_INVERSION) = 0;
    std::int64_t w = std::max(O(HC_OPT_PAGE_WIDTH), 1), h = std::max(O(HC_OPT_PAGE_HEIGHT), 1);
    for (;;) {
        if (hc_raster_allocate(w, h, P.planes, per_word))
            return true;
        IErrorReport(ERR_PAGE_TOO_LARGE);
        const std::int64_t t = P.planes * h * ((w + per_word - 1) / per_word);
        const std::int64_t nine_tenths = 9 * t / 10;
        if ((w <= 1 && h <= 1) || nine_tenths <= 0)
            return false;
        const double f = std::sqrt(double(t) / double(nine_tenths));
        w = std::max<std::int64_t>(1, static_cast<std::int64_t>(double(w) / f));
        h = std::max<std::int64_t>(1, static_cast<std::int64_t>(double(h) / f));
    }
}

// Op 1: the rasteriser's defaults, a 640 by 480 page at 8 bits, format 0 (PCX).
void op_initialise()
{
    if (!hc_initialise_begin(HC_BITMAP_DEVICE))
        return;
    IHcRasterDriver(GrOpInitialise);
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 640;
    O(HC_OPT_PAGE_HEIGHT) = 480;
    O(HC_OPT_DEPTH) = 8;
    O(HC_OPT_ORIENTATION) = 0;
    O(HC_OPT_BITMAP_FORMAT) = 0;
    HcDeviceBlock.colours = 256;
    HcDeviceBlock.pens = 256;
    HcSpoolAllowed = 0;
    hc_device_caps(BITMAP_CAPS);
    HcDeviceBlock.initialised_device = HC_BITMAP_DEVICE;
}

// Op 18: with a real open the page allocated and the file name kept for the size patch, then the
// rasteriser's open and a cleared page.
void op_open()
{
    auto& B = GrPrimitiveBlock;
    const bool real = B.NVAL > 0;
    if (real) {
        if (!allocate_page()) {
            GrOutputSwitch.hardcopy = 0;
            return;
        }
        saved_name.assign(B.TEXT.data(), HC_NAME_LENGTH);
    }
    IHcRasterDriver(GrOpOpen);
    if (real && HcRasterPage.allocated)
        IHcRasterDriver(GrOpClear);
}

}  // namespace

void IHcBitmapFileDriver(int op)
{
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpClose: {
        const bool patch =
            (depth() == 4 || depth() == 8) && format() == 2 && HcPlotStatus != -1 && HcRasterPage.allocated;
        IHcRasterDriver(GrOpClose);
        if (patch)
            IHcBmpPatchSizes(saved_name);
        return;
    }
    case GrOpHardcopyPage:
        if ((HcPageUsed & 1) == 0 || !HcRasterPage.allocated)
            return;
        if (format() == 1 || format() == 2)
            IHcWriteBmp();
        else if (format() == 3)
            IHcWritePng();
        else
            IHcWritePcx();
        HcPageUsed = 0;
        IHcRasterDriver(GrOpClear);
        return;
    default: IHcRasterDriver(op); return;
    }
}

void IHcWriteBmp()
{
    const auto& P = HcRasterPage;
    const int d = depth(), w = P.width, h = P.height;
    const bool rle = format() == 2 && (d == 4 || d == 8);
    const std::int64_t row_bytes = d == 24 ? 3 * std::int64_t(w) : (std::int64_t(w) * d + 7) / 8;
    const std::int64_t padded = (row_bytes + 3) / 4 * 4;
    const int colours = palette_size();
    const std::int64_t offset = BMP_HEADER + 4 * colours;
    Bytes head(static_cast<std::size_t>(offset), 0);
    head[0] = 'B';
    head[1] = 'M';
    put_le(head, 2, static_cast<std::uint32_t>(offset + padded * h), 4);
    put_le(head, 10, static_cast<std::uint32_t>(offset), 4);
    put_le(head, 14, 40, 4);
    put_le(head, 18, static_cast<std::uint32_t>(w), 4);
    put_le(head, 22, static_cast<std::uint32_t>(h), 4);
    put_le(head, 26, 1, 2);
    put_le(head, 28, static_cast<std::uint32_t>(d), 2);
    put_le(head, 30, rle ? (d == 4 ? 2u : 1u) : 0u, 4);
    for (int i = 0; i < colours; ++i) {
        const int rgb = palette_rgb(i);
        const std::size_t at = static_cast<std::size_t>(BMP_HEADER + 4 * i);
        head[at] = static_cast<unsigned char>(rgb >> 16);
        head[at + 1] = static_cast<unsigned char>(rgb >> 8);
        head[at + 2] = static_cast<unsigned char>(rgb);
    }
    if (!emit(head))
        return;
    Bytes row, code;
    for (int y = 0; y < h; ++y) {
        pack_row(y, true, row);
        if (rle) {
            rle_row(row, w, code);
            if (!emit(code))
                return;
        } else {
            row.resize(static_cast<std::size_t>(padded), 0);
            if (!emit(row))
                return;
        }
    }
    if (rle)
        emit(Bytes{0, 1});
}

// After a run-length BMP is written: its file size (offset 2) and image size (offset 34) set from
// the file's true length.
void IHcBmpPatchSizes(std::string_view name)
{
    int handle = -1;
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return;
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    IOsBinOpen(name, 2, handle);
    if (handle == -1)
        return;
    int length = 0;
    IOsBinSeek(handle, length, 2);
    const std::uint32_t values[2] = {static_cast<std::uint32_t>(length),
                                     static_cast<std::uint32_t>(length - 4 * palette_size() - BMP_HEADER)};
    const int at[2] = {2, 34};
    for (int k = 0; k < 2 && length > 0; ++k) {
        int position = at[k];
        IOsBinSeek(handle, position, 0);
        unsigned char bytes[4];
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<unsigned char>(values[k] >> (8 * i));
        int count = 0;
        IOsBinWrite(handle, bytes, 4, count);
        if (count != 4) {
            if (count >= 0)
                IErrorReport(ERR_READ_WRITE);
            break;
        }
    }
    IOsBinClose(handle);
}

// One PCX scan line of a plane (a colour byte at 24 bits, a bit plane at 1 and 4 bits), run-length
// encoded.
void IHcPcxEncodeLine(int row, int plane, int bytes_per_line)
{
    const auto& P = HcRasterPage;
    const int d = depth();
    Bytes line(static_cast<std::size_t>(bytes_per_line), 0);
    for (int x = 0; x < P.width; ++x) {
        const std::uint32_t v = hc_raster_pixel(x, row);
        switch (d) {
        case 24: line[static_cast<std::size_t>(x)] = static_cast<unsigned char>(v >> (8 * plane)); break;
        case 8: line[static_cast<std::size_t>(x)] = static_cast<unsigned char>(v); break;
        default:
            // 1 bit: the page bit (1 ink); 4 bits: page plane `plane`.
            const std::uint32_t bit = d == 1 ? (v & 1u) : (v >> plane & 1u);
            line[static_cast<std::size_t>(x / 8)] |= static_cast<unsigned char>(bit << (7 - x % 8));
            break;
        }
    }
    Bytes coded;
    IImgPcxPut(line.data(), bytes_per_line, coded);
    emit(coded);
}

void IHcWritePcx()
{
    const auto& P = HcRasterPage;
    const int d = depth(), w = P.width, h = P.height;
    int bytes = d == 1 || d == 4 ? (w + 7) / 8 : w;
    bytes += bytes % 2;
    const int planes = d == 24 ? 3 : d == 4 ? 4 : 1;
    Bytes head(PCX_HEADER, 0);
    head[0] = 10;
    head[1] = d == 1 ? 3 : 5;
    head[2] = 1;
    head[3] = d == 1 || d == 4 ? 1 : 8;
    put_le(head, 8, static_cast<std::uint32_t>(w - 1), 2);
    put_le(head, 10, static_cast<std::uint32_t>(h - 1), 2);
    put_le(head, 12, 75, 2);
    put_le(head, 14, 75, 2);
    if (d == 4)
        for (int i = 0; i < 16; ++i) {
            const int rgb = palette_rgb(i);
            for (int c = 0; c < 3; ++c)
                head[static_cast<std::size_t>(16 + 3 * i + c)] = static_cast<unsigned char>(rgb >> (8 * c));
        }
    head[65] = static_cast<unsigned char>(planes);
    put_le(head, 66, static_cast<std::uint32_t>(bytes), 2);
    put_le(head, 70, static_cast<std::uint32_t>(bytes), 2);
    put_le(head, 72, static_cast<std::uint32_t>(h), 2);
    if (!emit(head))
        return;
    // 4 bits: file planes in index-bit order, page planes blue, green, red, intensity.
    static constexpr int PLANE_ORDER_4[4] = {2, 1, 0, 3};
    for (int y = h - 1; y >= 0; --y)
        for (int p = 0; p < planes; ++p) {
            IHcPcxEncodeLine(y, d == 4 ? PLANE_ORDER_4[p] : p, bytes);
            if (HcPlotStatus == -1)
                return;
        }
    if (d == 8) {
        Bytes tail(769, 0);
        tail[0] = 12;
        for (int i = 0; i < 256; ++i) {
            const int rgb = palette_rgb(i);
            for (int c = 0; c < 3; ++c)
                tail[static_cast<std::size_t>(1 + 3 * i + c)] = static_cast<unsigned char>(rgb >> (8 * c));
        }
        emit(tail);
    }
}

void IHcWritePng()
{
    const auto& P = HcRasterPage;
    const int d = depth(), w = P.width, h = P.height;
    auto chunk = [](const char* type, const Bytes& data) {
        Bytes c(12 + data.size());
        int n = 0;
        IImgPutBE32(static_cast<std::uint32_t>(data.size()), c.data(), n);
        std::copy(type, type + 4, c.begin() + 4);
        std::copy(data.begin(), data.end(), c.begin() + 8);
        n = static_cast<int>(8 + data.size());
        IImgPutBE32(IImgPngCrcCompute(c.data() + 4, data.size() + 4), c.data(), n);
        return c;
    };
    Bytes ihdr(13, 0);
    int n = 0;
    IImgPutBE32(static_cast<std::uint32_t>(w), ihdr.data(), n);
    IImgPutBE32(static_cast<std::uint32_t>(h), ihdr.data(), n);
    ihdr[8] = static_cast<unsigned char>(std::min(d, 8));
    ihdr[9] = d == 24 ? 2 : 3;
    Bytes head(PNG_SIGNATURE, PNG_SIGNATURE + 8);
    const Bytes c = chunk("IHDR", ihdr);
    head.insert(head.end(), c.begin(), c.end());
    if (!emit(head))
        return;
    if (d < 24) {
        Bytes plte;
        for (int i = 0; i < palette_size(); ++i) {
            const int rgb = palette_rgb(i);
            for (int k = 0; k < 3; ++k)
                plte.push_back(static_cast<unsigned char>(rgb >> (8 * k)));
        }
        if (!emit(chunk("PLTE", plte)))
            return;
    }
    // The raw image, top row first, each row after its filter byte 0.
    Bytes raw, row;
    for (int y = h - 1; y >= 0; --y) {
        pack_row(y, false, row);
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    Bytes buffer(raw.size() + raw.size() / 1000 + 22);
    std::size_t length = buffer.size() - 8;
    IImgCompress(raw.data(), buffer.data() + 4, raw.size(), length);
    if (length == 0) {
        HcPlotStatus = -1;
        return;
    }
    Bytes size(4);
    n = 0;
    IImgPutBE32(static_cast<std::uint32_t>(length), size.data(), n);
    std::copy_n("IDAT", 4, buffer.begin());
    n = static_cast<int>(4 + length);
    IImgPutBE32(IImgPngCrcCompute(buffer.data(), 4 + length), buffer.data(), n);
    buffer.resize(length + 8);
    if (!emit(size) || !emit(buffer))
        return;
    emit(chunk("IEND", Bytes{}));
}
