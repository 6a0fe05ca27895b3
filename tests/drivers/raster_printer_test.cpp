// The raster printer (device 4): a decoder of the three printer languages rebuilds the printed planes
// from the stream, and they must equal the rasteriser's page read in the printer's orientation.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_raster.h"
#include "toolkit/drivers/hc_raster_printer.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/device_select.h"
#include "toolkit/win/settings.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace {

constexpr char ESC = '\x1b';

// Printed planes by key: PCL planes 0, 1, 2; ESC/P colours 'c', 'm', 'y', 'k' (black also for a
// one-colour page). Each plane is rows of dot flags.
using Planes = std::map<int, std::vector<std::vector<bool>>>;

void put_dots(Planes& planes, int key, int row, int first_dot, const std::string& bytes, int stride = 1,
              int bit_row = 0)
{
    auto& rows = planes[key];
    if (static_cast<int>(rows.size()) <= row)
        rows.resize(static_cast<std::size_t>(row) + 1);
    auto& r = rows[static_cast<std::size_t>(row)];
    for (std::size_t i = bit_row; i < bytes.size(); i += static_cast<std::size_t>(stride))
        for (int b = 0; b < 8; ++b) {
            const int x = first_dot + static_cast<int>(i / static_cast<std::size_t>(stride)) * 8 + b;
            if (static_cast<int>(r.size()) <= x)
                r.resize(static_cast<std::size_t>(x) + 1);
            if ((static_cast<unsigned char>(bytes[i]) >> (7 - b) & 1) != 0)
                r[static_cast<std::size_t>(x)] = true;
        }
}

// PackBits (and PCL mode 1 pairs) decoders.
std::string unpack_bits(const std::string& in)
{
    std::string out;
    for (std::size_t i = 0; i < in.size();) {
        const int n = static_cast<signed char>(in[i++]);
        if (n >= 0) {
            out += in.substr(i, static_cast<std::size_t>(n) + 1);
            i += static_cast<std::size_t>(n) + 1;
        } else if (n != -128) {
            out.append(static_cast<std::size_t>(1 - n), in.at(i++));
        }
    }
    return out;
}

std::string unpack_pairs(const std::string& in)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < in.size(); i += 2)
        out.append(static_cast<std::size_t>(static_cast<unsigned char>(in[i])) + 1, in[i + 1]);
    return out;
}

struct Stream {
    const std::string& s;
    std::size_t at = 0;
    char next() { return s.at(at++); }
    int u8() { return static_cast<unsigned char>(next()); }
    int u16() { return u8() | u8() << 8; }
    std::string take(std::size_t n)
    {
        std::string r = s.substr(at, n);
        if (r.size() != n)
            throw std::runtime_error("stream ends inside data");
        at += n;
        return r;
    }
    bool done() const { return at >= s.size(); }
};

// PCL raster: ESC E, ESC &a..V, ESC *t..R, ESC *r..A, ESC *b..M, ESC *b..V / W, ESC &l..X, ESC *rB,
// ESC &k..W. Counts: the header's escapes seen, in order, in `log`.
Planes decode_pcl(const std::string& bytes, std::vector<std::string>& log)
{
    Planes planes;
    Stream in{bytes};
    int mode = 0, row = 0, plane = 0;
    while (!in.done()) {
        if (in.next() != ESC)
            throw std::runtime_error("PCL: byte outside an escape sequence");
        const char family = in.next();
        if (family == 'E') {
            log.push_back("E");
            continue;
        }
        const char group = in.next();
        // Parameterised: value and letter pairs; a lower-case letter continues the sequence.
        for (;;) {
            std::string value;
            while (std::isdigit(static_cast<unsigned char>(bytes.at(in.at))) || bytes.at(in.at) == '-')
                value += in.next();
            const char letter = in.next();
            const std::string command = std::string{family, group} + static_cast<char>(std::toupper(letter));
            log.push_back(command + value);
            if (command == "*bM")
                mode = std::stoi(value);
            if (command == "*bV" || command == "*bW") {
                std::string data = in.take(static_cast<std::size_t>(std::stoi(value)));
                data = mode == 1 ? unpack_pairs(data) : mode == 2 ? unpack_bits(data) : data;
                put_dots(planes, plane, row, 0, data);
                ++plane;
                if (command == "*bW") {
                    plane = 0;
                    ++row;
                }
            }
            if (std::isupper(static_cast<unsigned char>(letter)))
                break;
        }
    }
    return planes;
}

int colour_key(int select)
{
    return select == 4 ? 'y' : select == 1 ? 'm' : select == 2 ? 'c' : 'k';
}

// ESC/P2 raster: ESC @, ESC ( x with a length, ESC \ offset, ESC . compression, units, rows, dots,
// data; CR; ESC r colour; ESC ( v advances the row.
Planes decode_escp2(const std::string& bytes)
{
    Planes planes;
    Stream in{bytes};
    int row = 0, key = 'k', offset = 0;
    while (!in.done()) {
        const char c = in.next();
        if (c == '\r' || c == '\f')
            continue;
        if (c != ESC)
            throw std::runtime_error("ESC/P2: byte outside a command");
        const char command = in.next();
        if (command == '@')
            continue;
        if (command == '(') {
            const char which = in.next();
            const std::string p = in.take(static_cast<std::size_t>(in.u16()));
            if (which == 'v')
                row += static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8;
        } else if (command == 'r') {
            key = colour_key(in.u8());
        } else if (command == '\\') {
            offset = in.u16();
        } else if (command == '.') {
            const int z = in.u8();
            in.take(3);
            const int n = in.u16() / 8;
            std::string data;
            if (z == 0) {
                data = in.take(static_cast<std::size_t>(n));
            } else {
                while (static_cast<int>(data.size()) < n) {
                    const int k = static_cast<signed char>(in.next());
                    if (k >= 0)
                        data += in.take(static_cast<std::size_t>(k) + 1);
                    else
                        data.append(static_cast<std::size_t>(1 - k), in.next());
                }
            }
            (void)offset;  // the left margin is where the page starts: dots count from it
            put_dots(planes, key, row, 0, data);
        } else {
            throw std::runtime_error("ESC/P2: unknown command");
        }
    }
    return planes;
}

// ESC/P bit image: ESC U, ESC J, ESC 3, ESC 2, ESC r, the graphics commands ESC [g, ESC *, ESC K/L/Z;
// CR ends a colour pass, LF a band pass. Bands of pins x passes rows; pass p holds rows p, p +
// passes, ...; the left offset bytes come before the first column.
Planes decode_escp(const std::string& bytes, int pins, int passes, int offset_bytes, int& spacing_sum)
{
    Planes planes;
    Stream in{bytes};
    const int per_column = pins == 24 ? 3 : 1;
    int top = 0, pass = 0, key = 'k', spacing = 0;
    spacing_sum = 0;
    while (!in.done()) {
        const char c = in.next();
        if (c == '\r' || c == '\f')
            continue;
        if (c == '\n') {
            spacing_sum += spacing;
            key = 'k';
            if (++pass == passes) {
                pass = 0;
                top += pins * passes;
            }
            continue;
        }
        if (c != ESC)
            throw std::runtime_error("ESC/P: byte outside a command");
        const char command = in.next();
        int data_bytes = -1;
        switch (command) {
        case 'U':
        case 'J': in.u8(); break;
        case '3': spacing = in.u8(); break;
        case '2': break;
        case 'r': key = colour_key(in.u8()); break;
        case '[':
            in.next();  // g
            data_bytes = in.u16() - 1;
            in.u8();
            break;
        case '*':
            in.u8();
            data_bytes = in.u16() * per_column;
            break;
        case 'K':
        case 'L':
        case 'Z': data_bytes = in.u16() * per_column; break;
        default: throw std::runtime_error("ESC/P: unknown command");
        }
        if (data_bytes < 0)
            continue;
        const std::string data = in.take(static_cast<std::size_t>(data_bytes));
        if (data.find_first_not_of('\0') < static_cast<std::size_t>(offset_bytes))
            throw std::runtime_error("ESC/P: ink inside the left offset");
        const std::string columns =
            data.substr(std::min(data.size(), static_cast<std::size_t>(offset_bytes)));
        // Column byte k of pin group g holds pins 8g..8g+7, the top pin in the highest bit.
        for (int pin = 0; pin < pins; ++pin) {
            std::string dots((columns.size() / static_cast<std::size_t>(per_column) + 7) / 8, '\0');
            for (std::size_t x = 0; x * static_cast<std::size_t>(per_column) < columns.size(); ++x)
                if ((static_cast<unsigned char>(columns[x * static_cast<std::size_t>(per_column) +
                                                        static_cast<std::size_t>(pin / 8)]) >>
                         (7 - pin % 8) &
                     1) != 0)
                    dots[x / 8] |= static_cast<char>(0x80 >> (x % 8));
            put_dots(planes, key, top + pass + pin * passes, 0, dots);
        }
    }
    return planes;
}

class RasterPrinter : public DriverFixture {
protected:
    // The model settings are process-wide: each test's model is put back to what was there.
    void SetUp() override
    {
        DriverFixture::SetUp();
        kept = HC_RASTER_PRINTER;
    }
    void TearDown() override
    {
        HC_RASTER_PRINTER = kept;
        DriverFixture::TearDown();
    }
    HcRasterPrinter kept;
    // Selects the model, opens a page of the options, draws a test picture, and keeps the page's
    // expected planes (read from the rasteriser's page in the printer orientation) before it ends.
    std::string print(int model, std::initializer_list<std::pair<int, int>> options)
    {
        HcPrinterSelect(model);
        IHcDeviceSelect(GrOpInitialise, HC_RASTER_PRINTER_DEVICE);
        for (auto [n, v] : options)
            HcOptions(n) = v;
        IHcOpen(name, std::nullopt);
        EXPECT_EQ(GrOutputSwitch.hardcopy, 1);
        if (GrOutputSwitch.hardcopy == 0)
            return {};
        // Colours by RGB: black, red, green, blue, yellow, in lines and a point near the right edge.
        GrColourState.model = 2;
        const int rgb[5] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
        for (int k = 0; k < 5; ++k) {
            gr_colour_n(rgb[k]);
            send_line(10.0f + 40 * k, 20.0f, 300.0f - 30 * k, 460.0f);
            send_line(5.0f, 30.0f + 50 * k, 630.0f, 40.0f + 50 * k);
        }
        send_line(639.0f, 470.0f, 639.5f, 470.0f);
        GrColourState.model = 1;
        expected = expected_planes();
        EXPECT_FALSE(trimmed(expected).empty()) << "the picture inks the page";
        IHcOpen("S", " ");
        std::string bytes = read_file(name);
        std::remove(name.c_str());
        return bytes;
    }
    // The page read by an independent rule: portrait (x, ymax - y), landscape (xmax - y, ymax - x).
    Planes expected_planes()
    {
        const auto& P = HcRasterPage;
        const auto& R = HC_RASTER_PRINTER;
        const bool land = HcOptions(HC_OPT_ORIENTATION) != 0;
        const int W = land ? P.height : P.width, H = land ? P.width : P.height;
        const bool pcl = R.printer_class >= 7;
        const bool colour = P.bits_per_pixel == 3;
        Planes e;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const std::uint32_t v =
                    land ? hc_raster_pixel(P.xmax - y, P.ymax - x) : hc_raster_pixel(x, P.ymax - y);
                std::vector<int> keys;
                if (!colour) {
                    if (v & 1u)
                        keys.push_back(pcl ? 0 : 'k');
                } else if (pcl) {
                    for (int p = 0; p < 3; ++p)
                        if (v >> p & 1u)
                            keys.push_back(p);
                } else if ((v & 7u) == 7u) {
                    keys.push_back('k');
                } else {
                    if (v & 1u)
                        keys.push_back('c');
                    if (v & 2u)
                        keys.push_back('m');
                    if (v & 4u)
                        keys.push_back('y');
                }
                for (int k : keys)
                    put_dots(e, k, y, x, std::string(1, '\x80'));
            }
        return e;
    }

public:
    // Both sides without trailing white: rows cut after their last dot, planes after their last ink row.
    static Planes trimmed(Planes p)
    {
        Planes out;
        for (auto& [key, rows] : p) {
            for (auto& r : rows)
                while (!r.empty() && !r.back())
                    r.pop_back();
            while (!rows.empty() && rows.back().empty())
                rows.pop_back();
            if (!rows.empty())
                out[key] = rows;
        }
        return out;
    }

protected:
    Planes expected;
    const std::string name = "raster_printer_test.prn";
};

// PCL models in compression 0, 1 and 2, black and colour, portrait and landscape: the decoded planes
// are the page's, and the header holds the settings.
TEST_F(RasterPrinter, PclPagesDecodeToThePage)
{
    struct Case {
        int model;
        int compression;
        int landscape;
    };
    for (const Case c : {Case{28, 0, 0}, Case{28, 1, 1}, Case{28, 2, 0}, Case{18, 2, 1}, Case{18, 0, 0}}) {
        SCOPED_TRACE(testing::Message()
                     << "model " << c.model << " mode " << c.compression << " landscape " << c.landscape);
        const std::string b =
            print(c.model, {{5, c.landscape}, {13, 4}, {24, c.compression}, {1, 144}, {2, 72}});
        std::vector<std::string> log;
        Planes got;
        ASSERT_NO_THROW(got = decode_pcl(b, log));
        EXPECT_EQ(trimmed(got), trimmed(expected));
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(log[0], "E");
        EXPECT_EQ(log[3], "*tR075");
        EXPECT_EQ(log.back(), "E");
        if (c.compression > 0) {
            EXPECT_NE(std::find(log.begin(), log.end(), "*bM" + std::to_string(c.compression)), log.end());
        }
        EXPECT_EQ(std::count(log.begin(), log.end(), "*rU-3"), c.model == 18 ? 1 : 0);
    }
}

// Option 19 places the resets: 0 none, 1 at the end, 2 at the start, 3 both. Uncompressed, a blank row
// is ESC *b000W; a row above 999 bytes gets a four-digit count.
TEST_F(RasterPrinter, PclResetsAndRowCounts)
{
    for (int option : {0, 1, 2, 3}) {
        const std::string b = print(28, {{19, option}, {5, 0}, {13, 4}, {24, 0}, {1, 72}, {2, 72}});
        EXPECT_EQ(b.rfind(std::string(1, ESC) + "E", 0) == 0, option >= 2) << option;
        const std::string reset{ESC, 'E'};
        EXPECT_EQ(b.size() >= 2 && b.substr(b.size() - 2) == reset, (option & 1) != 0) << option;
    }
    const std::string blank = print(28, {{5, 0}, {13, 4}, {24, 0}, {1, 72}, {2, 72}});
    EXPECT_NE(blank.find(std::string{ESC} + "*b000W"), std::string::npos);
    // 960 points at 600 dpi: 8000 dots, 1000 bytes a row, the point at the right edge inked.
    const std::string wide = print(30, {{5, 0}, {13, 1}, {24, 0}, {1, 960}, {2, 2}});
    EXPECT_NE(wide.find(std::string{ESC} + "*b1000W"), std::string::npos);
    std::vector<std::string> log;
    EXPECT_EQ(trimmed(decode_pcl(wide, log)), trimmed(expected));
}

// ESC/P2 (black and colour, portrait and landscape) and ESC/P pin printers (8 and 24 pins, one and two
// passes, colour): the decoder rebuilds the page; a pixel in all three planes prints black only.
TEST_F(RasterPrinter, EscPagesDecodeToThePage)
{
    struct Case {
        int model;
        int resolution;
        int landscape;
    };
    for (const Case c :
         {Case{8, 3, 1}, Case{9, 3, 0}, Case{2, 3, 0}, Case{2, 2, 1}, Case{5, 4, 0}, Case{7, 4, 1}}) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " landscape " << c.landscape);
        const std::string b =
            print(c.model, {{5, c.landscape}, {13, c.resolution}, {1, 144}, {2, 72}, {3, 10}});
        const auto& R = HC_RASTER_PRINTER;
        Planes got;
        if (R.printer_class == 6) {
            ASSERT_NO_THROW(got = decode_escp2(b));
        } else {
            int spacing = 0;
            ASSERT_NO_THROW(got = decode_escp(b, R.pins, R.passes, R.left_offset_bytes, spacing));
            const int bands = (R.raster_height + R.pins * R.passes - 1) / (R.pins * R.passes);
            if (R.passes == 2) {
                EXPECT_EQ(spacing, bands * R.line_feed);
            }
        }
        EXPECT_EQ(trimmed(got), trimmed(expected));
        if (HcRasterPage.bits_per_pixel == 3) {
            EXPECT_TRUE(expected.count('k') && expected.count('c'))
                << "black and colour passes both carry ink";
        }
    }
}

// A model without a resolution: error 5, output off. No page at any resolution: error 34.
TEST_F(RasterPrinter, OpenFailures)
{
    HcPrinterSelect(28);
    IHcDeviceSelect(GrOpInitialise, HC_RASTER_PRINTER_DEVICE);
    HcOptions(HC_OPT_RESOLUTION) = 0;
    IHcOpen(name, std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, 5);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
    IHcDeviceSelect(GrOpInitialise, HC_RASTER_PRINTER_DEVICE);
    HcOptions(HC_OPT_ORIENTATION) = 0;
    HcOptions(HC_OPT_RESOLUTION) = 1;
    IHcOpen(name, std::nullopt);  // 576 x 432 points at 300 dpi
    EXPECT_EQ(HcRasterPage.width, 2400);
    EXPECT_EQ(HcRasterPage.height, 1800);
    EXPECT_EQ(HcRasterPage.words_per_row, 75);
    IHcOpen("S", " ");
    IHcDeviceSelect(GrOpInitialise, HC_RASTER_PRINTER_DEVICE);
    HcOptions(HC_OPT_PAGE_WIDTH) = 100000;
    HcOptions(HC_OPT_PAGE_HEIGHT) = 100000;
    IHcOpen(name, std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, 34);
    EXPECT_EQ(GrOutputSwitch.hardcopy, 0);
    std::remove(name.c_str());
}

#ifndef _WIN32
// The decoder checked first on an independent writer: hp2xx's PCL and ESC/P2 pages of an HP-GL plot
// decode to hp2xx's PBM picture of the same plot.
TEST(PrinterStreamDecoder, ReadsAnIndependentWritersPages)
{
    if (std::system("command -v hp2xx >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "hp2xx missing";
    {
        std::FILE* f = std::fopen("decoder_plot.hpgl", "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("IN;SP1;PU100,100;PD2000,1500;PD2000,100;PU;PA500,1200;PD900,1200,900,800;\n", f);
        std::fclose(f);
    }
    struct Case {
        const char* mode;
        int dpi;
    };
    for (const Case c : {Case{"pcl", 75}, Case{"esc2", 180}}) {
        SCOPED_TRACE(c.mode);
        const std::string d = std::to_string(c.dpi);
        ASSERT_EQ(std::system(("hp2xx -q -m " + std::string(c.mode) + " -d " + d +
                               " -f decoder_plot.prn decoder_plot.hpgl && hp2xx -q -m pbm -d " + d +
                               " -f decoder_plot.pbm decoder_plot.hpgl")
                                  .c_str()),
                  0);
        const std::string stream = read_file("decoder_plot.prn");
        const std::string pbm = read_file("decoder_plot.pbm");
        // P4, width, height, then rows of whole bytes.
        std::size_t at = 0;
        std::vector<int> header;
        std::string word;
        while (header.size() < 3 && at < pbm.size()) {
            const char ch = pbm[at++];
            if (std::isspace(static_cast<unsigned char>(ch))) {
                if (!word.empty())
                    header.push_back(word == "P4" ? 0 : std::stoi(word));
                word.clear();
            } else {
                word += ch;
            }
        }
        ASSERT_EQ(header.size(), 3u);
        const int w = header[1], h = header[2], row_bytes = (w + 7) / 8;
        Planes want;
        for (int y = 0; y < h; ++y)
            put_dots(want, c.dpi == 75 ? 0 : 'k', y, 0,
                     pbm.substr(at + static_cast<std::size_t>(y * row_bytes),
                                static_cast<std::size_t>(row_bytes)));
        std::vector<std::string> log;
        Planes got;
        ASSERT_NO_THROW(got = c.dpi == 75 ? decode_pcl(stream, log) : decode_escp2(stream));
        EXPECT_FALSE(RasterPrinter::trimmed(want).empty());
        EXPECT_EQ(RasterPrinter::trimmed(got), RasterPrinter::trimmed(want));
    }
    std::remove("decoder_plot.hpgl");
    std::remove("decoder_plot.prn");
    std::remove("decoder_plot.pbm");
}
#endif

// Fault: a 24-pin band line cut after its last non-zero byte could end inside a column (one or two of
// its three bytes), so that the command's column count and the bytes that follow disagree and the
// printer takes the line end for dot data. One dot on the top pin (first byte of its column) ends the
// line: the line is padded to whole columns, the count covers them, and CR LF follows.
TEST_F(RasterPrinter, TwentyFourPinLineEndingInsideAColumn)
{
    int model = 2;
    for (; model <= 38; ++model) {
        HcPrinterSelect(model);
        if (HC_RASTER_PRINTER.pins == 24 && HC_RASTER_PRINTER.printer_class == 5)
            break;
    }
    ASSERT_LE(model, 38) << "no 24-pin model";
    IHcDeviceSelect(GrOpInitialise, HC_RASTER_PRINTER_DEVICE);
    HcOptions(HC_OPT_PAGE_WIDTH) = 144;
    HcOptions(HC_OPT_PAGE_HEIGHT) = 72;
    IHcOpen(name, std::nullopt);
    ASSERT_EQ(GrOutputSwitch.hardcopy, 1);
    GrPrimitiveBlock.X(1) = 320;
    GrPrimitiveBlock.Y(1) = 479.9f;  // the page's top row: the band's top pin
    IHcSendOp(GrOpPoint);
    IHcOpen("S", " ");
    const std::string b = read_file(name);
    std::remove(name.c_str());
    const std::size_t command = b.find("\x1b*");
    ASSERT_NE(command, std::string::npos);
    const std::size_t columns = static_cast<unsigned char>(b[command + 3]) |
                                static_cast<std::size_t>(static_cast<unsigned char>(b[command + 4])) << 8;
    const std::string line = b.substr(command + 5, 3 * columns + 2);
    ASSERT_EQ(line.size(), 3 * columns + 2);
    EXPECT_EQ(line.substr(3 * columns), "\r\n");
    EXPECT_EQ(line.substr(3 * columns - 3, 3), std::string("\x80\0\0", 3));  // the dot's column, padded
}

}  // namespace
