// Device-independent bitmaps on a GDI drawing context: StretchDIBits for drawing image files, and a
// compatible bitmap read back with GetDIBits for saving a rectangle of a window or bitmap.
#include "toolkit/graphics/image_dib_win.h"

#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/image_read.h"

#include <vector>

namespace {

int last_error_code()
{
    DWORD code = GetLastError();
    return code != 0 ? int(code) : ERROR_INVALID_HANDLE;
}

// BITMAPINFO of the bitmap: a 40-byte header followed by its colour table (or masks).
std::vector<unsigned char> bitmap_info(const DibImage& dib)
{
    std::vector<unsigned char> block(sizeof(BITMAPINFOHEADER) + 4 * dib.colours.size() + 4);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = dib.width;
    header->biHeight = dib.height;  // positive: rows bottom-up
    header->biPlanes = 1;
    header->biBitCount = WORD(dib.bit_count);
    header->biCompression = DWORD(dib.compression);
    header->biSizeImage = DWORD(dib.bits.size());
    header->biClrUsed = dib.compression == BI_BITFIELDS ? 0 : DWORD(dib.colours.size());
    unsigned char* table = block.data() + sizeof(BITMAPINFOHEADER);
    for (size_t i = 0; i < dib.colours.size(); ++i)
        CopyMemory(table + 4 * i, &dib.colours[i], 4);
    return block;
}

// Bytes of the colour table that GetDIBits fills for a bit count: the full table up to 8 bits, the
// three masks of 16 and 32 bits.
int colour_table_entries(int bit_count)
{
    return bit_count <= 8 ? 1 << bit_count : bit_count == 24 ? 0 : 3;
}

}  // namespace

bool img_dib_draw(HDC dc, HRGN clip, const DibImage& dib, int width, int height, int x1, int y1, int x2,
                  int y2, int stretch)
{
    std::vector<unsigned char> info = bitmap_info(dib);
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
    int drawn = 0;
    if (stretch == 0) {
        if (clip)
            SelectClipRgn(dc, clip);
        drawn = StretchDIBits(dc, x1, y1, width, height, 0, 0, width, height, dib.bits.data(), bmi,
                              DIB_RGB_COLORS, SRCCOPY);
        if (clip)
            SelectClipRgn(dc, nullptr);
    } else {
        drawn = StretchDIBits(dc, x1, y1, x2 - x1 + 1, y2 - y1 + 1, 0, 0, width, height, dib.bits.data(), bmi,
                              DIB_RGB_COLORS, SRCCOPY);
    }
    return drawn != int(GDI_ERROR) && drawn != 0;
}

bool img_dc_capture(HDC dc, HPALETTE palette, int x1, int y1, int x2, int y2, bool even_width, DibImage& dib,
                    int& system_code)
{
    dib = DibImage{};
    system_code = 0;
    const int w = x2 - x1 + 1;
    const int h = y2 - y1 + 1;
    if (w < 1 || h < 1) {
        system_code = ERROR_INVALID_PARAMETER;
        return false;
    }
    const int bitmap_width = even_width ? w + (w & 1) : w;
    MemoryDc memory(dc);
    CompatibleBitmap bitmap(dc, bitmap_width, h);
    if (!memory.get() || !bitmap.get()) {
        system_code = last_error_code();
        return false;
    }
    {
        Selection selected(memory.get(), bitmap.get());
        if (!selected.ok() || !BitBlt(memory.get(), 0, 0, w, h, dc, x1, y1, SRCCOPY)) {
            system_code = last_error_code();
            return false;
        }
    }  // the bitmap is deselected before GetDIBits reads it

    BITMAP facts = {};
    GetObjectA(bitmap.get(), sizeof facts, &facts);
    const int bits = facts.bmPlanes * facts.bmBitsPixel;
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 4 * 256, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = bitmap_width;
    header->biHeight = h;
    header->biPlanes = 1;
    header->biBitCount = WORD(bits);
    PaletteSelection realised(memory.get(), palette ? palette : HPALETTE(GetStockObject(DEFAULT_PALETTE)));
    // The first call completes the header (image size, compression); the second fills the bits.
    if (!GetDIBits(memory.get(), bitmap.get(), 0, UINT(h), nullptr,
                   reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS)) {
        system_code = last_error_code();
        return false;
    }
    const int64_t image_size = img_dib_row_bytes(bitmap_width, header->biBitCount) * h;
    header->biSizeImage = DWORD(image_size);
    dib.width = bitmap_width;
    dib.height = h;
    dib.bit_count = header->biBitCount;
    dib.compression = int(header->biCompression);
    dib.bits.assign(size_t(image_size), 0);
    if (GetDIBits(memory.get(), bitmap.get(), 0, UINT(h), dib.bits.data(),
                  reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) != h) {
        system_code = last_error_code();
        dib = DibImage{};
        return false;
    }
    const int entries = dib.compression == BI_BITFIELDS ? 3 : colour_table_entries(dib.bit_count);
    for (int i = 0; i < entries; ++i) {
        uint32_t quad = 0;
        CopyMemory(&quad, info.data() + sizeof(BITMAPINFOHEADER) + 4 * i, 4);
        dib.colours.push_back(quad);
    }
    return true;
}

void IImgFileDraw(HDC dc, HRGN clip, int type, int x1, int y1, int x2, int y2, int stretch, int& status,
                  int& system_code, std::string_view name)
{
    DibImage dib;
    int width = 0, height = 0;
    img_file_read_dib(type, name, dib, width, height, status, system_code);
    if (status != 0)
        return;
    if (!img_dib_draw(dc, clip, dib, width, height, x1, y1, x2, y2, stretch)) {
        status = 2;
        system_code = last_error_code();
    }
}

void IImgFileSave(HDC dc, HPALETTE palette, int type, int x1, int y1, int x2, int y2, int& status,
                  int& system_code, std::string_view name)
{
    DibImage dib;
    // PCX and PNG rows are captured an even number of pixels wide.
    if (!img_dc_capture(dc, palette, x1, y1, x2, y2, type != 1, dib, system_code)) {
        status = 1;
        return;
    }
    img_dib_save(type, dib, x2 - x1 + 1, y2 - y1 + 1, name, status, system_code);
}
