// The raster printer driver (device 4): page set-up, the pixel reader and the three printer languages.
#include "toolkit/drivers/hc_raster_printer.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_raster.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/device_select.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <algorithm>
#include <string_view>

HcPrinterCommandsRecord HcPrinterCommands;

namespace {

constexpr std::string_view PRINTER_CAPS = "00000111111111110010011011000";
constexpr char ESC = '\x1b';
constexpr int LINE_LIMIT = 40000;  // bytes of a pin printer's band line written in one piece

// Printed raster size of the open page (printer orientation).
int printed_width = 0;
int printed_height = 0;
// The page's planes are additive (red, green, blue) rather than inks.
bool additive = false;

int printer_class()
{
    return HC_RASTER_PRINTER.printer_class;
}

bool landscape()
{
    return HcOptions(HC_OPT_ORIENTATION) != 0;
}

// Decimal digits, zero-filled to at least `digits`; a larger number gets the digits it needs.
std::string digits(long long v, int width)
{
    std::string s = std::to_string(v < 0 ? 0 : v);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

std::string lo_hi(int v)
{
    return {static_cast<char>(v & 255), static_cast<char>(v >> 8 & 255)};
}

void write(std::string_view bytes)
{
    if (HcPlotStatus != -1 && !bytes.empty())
        IHcPlotWriteText(HC_PLOT_SLOT, bytes);
}

bool failed()
{
    return HcPlotStatus == -1;
}

// Printer row y packed eight dots a byte, the first dot in the highest bit.
std::string packed_row(int y, bool (*pixel)(int, int))
{
    const int w = printed_width;
    std::string row(static_cast<std::size_t>((w + 7) / 8), '\0');
    for (int x = 0; x < w; ++x)
        if (pixel(x, y))
            row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    return row;
}

// The row's length up to its last non-zero byte: trailing white is not sent.
std::size_t used_length(const std::string& row)
{
    const std::size_t last = row.find_last_not_of('\0');
    return last == std::string::npos ? 0 : last + 1;
}

// ---- op 1 and op 18

// Op 1: the rasteriser's defaults, then the model's page, margins, resolution and compression.
void op_initialise()
{
    if (!hc_initialise_begin(HC_RASTER_PRINTER_DEVICE))
        return;
    IHcRasterDriver(GrOpInitialise);
    const auto& R = HC_RASTER_PRINTER;
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 576;
    O(HC_OPT_PAGE_HEIGHT) = 432;
    const bool sheet = R.printer_class >= 6;
    O(HC_OPT_MARGIN_LEFT) = sheet ? 100 : 0;
    O(HC_OPT_MARGIN_BOTTOM) = sheet ? 70 : 0;
    O(HC_OPT_ORIENTATION) = sheet ? 1 : 0;
    O(HC_OPT_RESOLUTION) = std::min(R.resolution_count, 2);
    O(HC_OPT_DEVICE_ESCAPES) = 3;
    O(HC_OPT_PRINT_MODE) = 0;
    O(HC_OPT_COMPRESSION) = std::min(R.compression_limit, 2);
    auto& D = HcDeviceBlock;
    D.colours = R.colour_depth >= 31 ? 0 : 1 << R.colour_depth;
    D.pens = 8;
    D.resolution_index = O(HC_OPT_RESOLUTION);
    HcSpoolAllowed = 1;
    hc_device_caps(PRINTER_CAPS);
    D.initialised_device = HC_RASTER_PRINTER_DEVICE;
}

// Op 18: with a real open the first resolution from option 13 on whose page can be allocated, and
// the page commands prepared; error 5 without a resolution, 34 when no page fits.
void op_open()
{
    auto& B = GrPrimitiveBlock;
    if (B.NVAL <= 0) {
        IHcRasterDriver(GrOpOpen);
        return;
    }
    auto& R = HC_RASTER_PRINTER;
    auto& P = HcRasterPage;
    const auto& O = HcOptions;
    if (O(HC_OPT_RESOLUTION) == 0 || R.resolution_count == 0) {
        IErrorReport(ERR_NO_RESOLUTION);
        GrOutputSwitch.hardcopy = 0;
        return;
    }
    const int bits = O(HC_OPT_INVERSION) == 1 || R.colour_depth <= 1 ? 1 : 3;
    if (bits == 1)
        GrDeviceInfo.true_colour[1] = 0;
    additive = bits == 3 && R.colour_form == 1;
    P.bits_per_pixel = bits;
    P.colour_model = bits == 3 && !additive ? 2 : 1;
    // White is the empty page: all planes clear for inks, all set for additive planes.
    P.background = additive ? 0xFFFFFFFFu : 0u;
    P.byte_mask = {0xFFFFFF00u, 0xFFFF00FFu, 0xFF00FFFFu, 0x00FFFFFFu};
    bool done = false;
    for (int r = std::max(O(HC_OPT_RESOLUTION), 1); r <= R.resolution_count && !done; ++r) {
        const int xdpi = R.resolutions[static_cast<std::size_t>(r - 1)];
        int ydpi = xdpi;
        if (R.printer_class == 5)
            ydpi = 180;
        else if (R.printer_class <= 4)
            ydpi = R.pins * 216 / std::max(R.line_feed, 1) * (xdpi > 100 ? 2 : 1);
        const int page_x = landscape() ? ydpi : xdpi, page_y = landscape() ? xdpi : ydpi;
        const long long width = static_cast<long long>(O(HC_OPT_PAGE_WIDTH)) * page_x / 72;
        const long long height = static_cast<long long>(O(HC_OPT_PAGE_HEIGHT)) * page_y / 72;
        if (!hc_raster_allocate(width, height, bits, 32))
            continue;
        done = true;
        R.resolution = xdpi;
        R.resolution_y = ydpi;
        P.resolution_x = page_x;
        P.resolution_y = page_y;
        HcDeviceBlock.resolution_x = xdpi;
        HcDeviceBlock.resolution_y = ydpi;
        HcDeviceBlock.resolution_index = r;
    }
    if (!done) {
        IErrorReport(ERR_PAGE_TOO_LARGE);
        GrOutputSwitch.hardcopy = 0;
        return;
    }
    printed_width = landscape() ? P.height : P.width;
    printed_height = landscape() ? P.width : P.height;
    IHcRasterDriver(GrOpOpen);
    if (P.allocated)
        IHcRasterDriver(GrOpClear);
}

// ---- the three languages

// A PCL page: per row and plane the row bytes, compressed by the page's mode, as transfer commands.
void emit_pcl(bool (*pixel)(int, int))
{
    auto& R = HC_RASTER_PRINTER;
    const auto& C = HcPrinterCommands;
    write(C.header);
    for (int y = 0; y < printed_height && !failed(); ++y)
        for (int p = 0; p < R.planes_sent && !failed(); ++p) {
            R.plane = p;
            std::string row = packed_row(y, pixel);
            if (additive && R.planes_sent == 3 && printed_width % 8 != 0)
                row.back() = static_cast<char>(row.back() | (0xFF >> (printed_width % 8)));
            if (R.compression == 0) {
                row.resize(used_length(row));
                HcPrinterCommands.row_command[static_cast<std::size_t>(p)] =
                    std::string{ESC} + "*b" + digits(static_cast<long long>(row.size()), 3);
            } else {
                IHcPclCompressRow(row, R.compression, p);
            }
            write(HcPrinterCommands.row_command[static_cast<std::size_t>(p)] +
                  (p == R.planes_sent - 1 ? "W" : "V"));
            write(row);
        }
    write(C.page_end);
}

// An ESC/P2 page: each row cut after its last ink byte, PackBits-compressed when that is shorter, each
// colour after its select, then the row advance.
void emit_escp2(bool (*pixel)(int, int))
{
    auto& R = HC_RASTER_PRINTER;
    const auto& C = HcPrinterCommands;
    write(C.header);
    const bool colour = R.planes_sent == 3;
    static constexpr int PASS_PLANES[4] = {2, 1, 0, -1};
    for (int y = 0; y < printed_height && !failed(); ++y) {
        for (int k = 0; k < (colour ? 4 : 1) && !failed(); ++k) {
            R.plane = colour ? PASS_PLANES[k] : 0;
            if (colour)
                write(C.colour_select[static_cast<std::size_t>(k)]);
            std::string row = packed_row(y, pixel);
            row.resize(used_length(row));
            const int dots = static_cast<int>(row.size()) * 8;
            const int z = IHcPackBitsRow(row);
            std::string record = C.row_command[0];
            record[6] = static_cast<char>(z);
            record.replace(10, 2, lo_hi(dots));
            write(record);
            write(row);
            write("\r");
        }
        write(C.row_advance);
    }
    write(C.page_end);
}

// An ESC/P bit-image page: bands of pins x passes rows, each pass line a column of 1 or 3 bytes per
// dot column, cut after its last ink byte to whole columns.
void emit_escp(bool (*pixel)(int, int))
{
    auto& R = HC_RASTER_PRINTER;
    const auto& C = HcPrinterCommands;
    write(C.header);
    const bool colour = R.planes_sent == 3;
    const int bytes_per_column = R.pins == 24 ? 3 : 1;
    const int band = std::max(R.pins * R.passes, 1);
    static constexpr int PASS_PLANES[4] = {2, 1, 0, -1};
    for (int top = 0; top < printed_height && !failed(); top += band)
        for (int pass = 0; pass < R.passes && !failed(); ++pass) {
            if (R.passes == 2)
                write(C.pass_spacing[static_cast<std::size_t>(pass)]);
            const int colours = colour ? 4 : 1;
            for (int k = 0; k < colours && !failed(); ++k) {
                R.plane = colour ? PASS_PLANES[k] : 0;
                if (colour)
                    write(C.colour_select[static_cast<std::size_t>(k)]);
                std::string line(static_cast<std::size_t>(R.left_offset_bytes), '\0');
                line.reserve(line.size() + static_cast<std::size_t>(printed_width * bytes_per_column));
                for (int x = 0; x < printed_width; ++x) {
                    unsigned char column[3] = {0, 0, 0};
                    for (int pin = 0; pin < R.pins; ++pin) {
                        const int y = top + pass + pin * R.passes;
                        if (y < printed_height && pixel(x, y))
                            column[pin / 8] |= static_cast<unsigned char>(0x80 >> (pin % 8));
                    }
                    line.append(reinterpret_cast<const char*>(column),
                                static_cast<std::size_t>(bytes_per_column));
                }
                if (static_cast<long long>(line.size()) <= LINE_LIMIT) {
                    std::size_t n = used_length(line);
                    n = (n + static_cast<std::size_t>(bytes_per_column) - 1) /
                        static_cast<std::size_t>(bytes_per_column) *
                        static_cast<std::size_t>(bytes_per_column);
                    line.resize(n);
                    IHcDotColumnCount(static_cast<int>(n));
                    write(HcPrinterCommands.graphics);
                    write(line);
                } else {
                    write(C.graphics);
                    for (std::size_t at = 0; at < line.size() && !failed(); at += LINE_LIMIT)
                        write(std::string_view(line).substr(at, LINE_LIMIT));
                }
                write(k == colours - 1 ? "\r\n" : "\r");
            }
        }
    write(C.page_end);
}

// The ESC/P graphics command with the full count (class and dpi decide the command).
std::string escp_graphics(int dpi, int count)
{
    const int c = printer_class();
    if (c == 4) {
        const char mode = dpi == 60 ? 8 : dpi == 120 ? 9 : dpi == 180 ? 11 : 12;
        return std::string{ESC} + "[g" + lo_hi(3 * count + 1) + mode;
    }
    if (c == 5) {
        const char mode = dpi == 90 ? 38 : dpi == 120 ? 33 : dpi == 180 ? 39 : 40;
        return std::string{ESC, '*', mode} + lo_hi(count);
    }
    if (dpi == 60 || (dpi == 80 && c == 3))
        return std::string{ESC, 'K'} + lo_hi(count);
    if (dpi == 80)
        return std::string{ESC, '*', 4} + lo_hi(count);
    if (dpi == 90)
        return std::string{ESC, '*', 6} + lo_hi(count);
    if (dpi == 240)
        return std::string{ESC, 'Z'} + lo_hi(count);
    return std::string{ESC, 'L'} + lo_hi(count);
}

}  // namespace

// The dot at printed column x, row y for the current plane, through the page's orientation.
bool IHcPrinterPixel(int x, int y)
{
    const auto& R = HC_RASTER_PRINTER;
    const auto& P = HcRasterPage;
    const int px = landscape() ? P.xmax - y : x;
    const int py = landscape() ? P.ymax - x : P.ymax - y;
    const std::uint32_t v = hc_raster_pixel(px, py);
    if (P.bits_per_pixel == 1)
        return (v & 1u) != 0;
    if (printer_class() >= 7)
        return (v >> std::max(R.plane, 0) & 1u) != 0;
    const bool black = (v & 7u) == 7u;
    if (R.plane < 0)
        return black;
    return !black && (v >> R.plane & 1u) != 0;
}

// The page's command texts (header, graphics command, page end) by printer class, margins, dpi and
// page controls of option 19.
void IHcPrinterPageSetup(int width, int height)
{
    auto& R = HC_RASTER_PRINTER;
    auto& C = HcPrinterCommands;
    const auto& O = HcOptions;
    C = HcPrinterCommandsRecord{};
    R.raster_width = width;
    R.raster_height = height;
    R.last_row = height - 1;
    R.planes_sent = HcRasterPage.bits_per_pixel == 3 ? 3 : 1;
    R.compression = std::clamp(O(HC_OPT_COMPRESSION), 0, 2);
    const int dpi = R.resolution;
    const int left = landscape() ? O(HC_OPT_MARGIN_BOTTOM) : O(HC_OPT_MARGIN_LEFT);
    const int top = landscape() ? O(HC_OPT_MARGIN_LEFT) : O(HC_OPT_MARGIN_BOTTOM);
    const bool end_reset = (O(HC_OPT_DEVICE_ESCAPES) & 1) != 0;
    const bool start_reset = O(HC_OPT_DEVICE_ESCAPES) >= 2;
    const bool header = GrSurface.height > 0;
    C.colour_select = {std::string{ESC, 'r', 4}, std::string{ESC, 'r', 1}, std::string{ESC, 'r', 2},
                       std::string{ESC, 'r', 0}};
    const int c = printer_class();
    if (c >= 7) {
        if (header) {
            if (start_reset)
                C.header += std::string{ESC, 'E'};
            C.header += std::string{ESC} + "&a" + digits(left * 10LL, 4) + "h" + digits(top * 10LL, 4) + "V";
            C.header += std::string{ESC} + "*t" + digits(dpi, 3) + "R";
            C.header += std::string{ESC} + "*r";
            if (R.model > 11)
                C.header += digits((width + 7) / 8 * 8LL, 4) + "s";
            if (R.colour_depth > 1)
                C.header += std::string(additive || R.planes_sent == 1 ? "" : "-") +
                            std::to_string(R.planes_sent) + "u";
            C.header += "1A";
            if ((c == 9 || c == 10) && O(HC_OPT_PRINT_MODE) != 0)
                C.header += std::string{ESC} + "&k3W";
            if (R.compression > 0)
                C.header += std::string{ESC} + "*b" + std::to_string(R.compression) + "M";
        }
        if (c == 7 || R.model == 32)
            C.page_end += std::string{ESC} + "&l" + digits(O(HC_OPT_COPIES), 2) + "X";
        C.page_end += std::string{ESC} + "*rB";
        if (end_reset)
            C.page_end += std::string{ESC, 'E'};
        return;
    }
    if (c == 6) {
        const int u = 3600 / std::max(dpi, 1);
        if (header)
            C.header = std::string{ESC, '@'} + std::string{ESC, '(', 'G', 1, 0, 1} +
                       std::string{ESC, '(', 'U', 1, 0, static_cast<char>(u)} +
                       std::string{ESC, '(', 'V', 2, 0} + lo_hi(dpi * top / 72);
        C.row_command[0] = std::string{ESC, '\\'} + lo_hi(dpi * left / 72) +
                           std::string{ESC, '.', 0, static_cast<char>(u), static_cast<char>(u), 1, 0, 0};
        C.row_advance = std::string{ESC, '(', 'v', 2, 0, 1, 0};
        C.page_end = std::string{ESC, '@'};
        if (end_reset)
            C.page_end += '\f';
        return;
    }
    // Pin printers.
    const int xo = dpi * left / 72;
    R.left_offset_bytes = std::min((R.pins == 24 ? 3 : 1) * xo, LINE_LIMIT - 1);
    R.passes = c <= 4 && dpi > 100 ? 2 : 1;
    const int n = R.line_feed;
    C.graphics = escp_graphics(dpi, width + xo);
    if (header) {
        C.header = std::string{ESC, 'U', 1};
        const int feed = std::min(c == 5 ? top * 5 / 2 : top * 3, 255);
        if (feed > 0)
            C.header += std::string{ESC, 'J', static_cast<char>(feed)};
        if (R.passes == 1)
            C.header += std::string{ESC, '3', static_cast<char>(n)};
    }
    C.pass_spacing = {std::string{ESC, '3', 1}, std::string{ESC, '3', static_cast<char>(n - 1)}};
    C.page_end = std::string{ESC, '2'};
    if (end_reset)
        C.page_end += '\f';
}

void IHcPrinterPageEmit(int slot, bool (*pixel)(int x, int y))
{
    (void)slot;
    const int c = printer_class();
    if (c >= 7)
        emit_pcl(pixel);
    else if (c == 6)
        emit_escp2(pixel);
    else
        emit_escp(pixel);
    HC_RASTER_PRINTER.plane = 0;
}

// PackBits: runs of 2..128 equal bytes as 257 - run and the byte; other bytes in literal groups of
// up to 128 (count - 1 first), a group ending before two equal neighbours.
static std::string pack_bits(const std::string& row)
{
    const std::size_t n = row.size();
    std::string out;
    out.reserve(n + n / 128 + 1);
    for (std::size_t i = 0; i < n;) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out += static_cast<char>(257 - run);
            out += row[i];
            i += run;
            continue;
        }
        std::size_t end = i + 1;
        while (end < n && end - i < 128 && !(end + 1 < n && row[end] == row[end + 1]))
            ++end;
        out += static_cast<char>(end - i - 1);
        out.append(row, i, end - i);
        i = end;
    }
    return out;
}

// A PCL row in compression mode 1 (count and byte pairs) or else 2 (PackBits), with its transfer
// command for the plane.
void IHcPclCompressRow(std::string& row, int mode, int plane)
{
    if (mode == 1) {
        std::string out;
        out.reserve(2 * row.size());
        for (std::size_t i = 0; i < row.size();) {
            std::size_t run = 1;
            while (i + run < row.size() && run < 256 && row[i + run] == row[i])
                ++run;
            out += static_cast<char>(run - 1);
            out += row[i];
            i += run;
        }
        row = out;
    } else {
        row = pack_bits(row);
    }
    HcPrinterCommands.row_command[static_cast<std::size_t>(plane)] =
        std::string{ESC} + "*b" + std::to_string(row.size());
}

int IHcPackBitsRow(std::string& row)
{
    std::string packed = pack_bits(row);
    if (packed.size() >= row.size())
        return 0;
    row = packed;
    return 1;
}

void IHcDotColumnCount(int bytes)
{
    const auto& R = HC_RASTER_PRINTER;
    auto& G = HcPrinterCommands.graphics;
    int count = bytes;
    if (printer_class() == 4)
        count = bytes + 1;
    else if (R.pins == 24)
        count = (bytes + 2) / 3;
    // The count is the two bytes before the mode byte of bracket-g, else the command's last two.
    const std::size_t at = printer_class() == 4 ? 3 : G.size() - 2;
    G.replace(at, 2, lo_hi(count));
}

void IHcRasterPrinterDriver(int op)
{
    switch (op) {
    case GrOpInitialise: op_initialise(); return;
    case GrOpOpen: op_open(); return;
    case GrOpHardcopyPage:
        if ((HcPageUsed & 1) == 0 || !HcRasterPage.allocated)
            return;
        IHcPrinterPageSetup(printed_width, printed_height);
        IHcPrinterPageEmit(HC_PLOT_SLOT, IHcPrinterPixel);
        HcPageUsed = 0;
        IHcRasterDriver(GrOpClear);
        return;
    default: IHcRasterDriver(op); return;
    }
}
