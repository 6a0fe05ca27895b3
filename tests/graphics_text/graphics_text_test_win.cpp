// Window text and stroke text drawn into this process's own main window, read back pixel by pixel.
// Also leaves a picture of all eight stroke fonts and the window-text faces ("text_sample.bmp" in the
// test's working folder) for a look by eye.

#include "toolkit/graphics/graphics_text.h"

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/palette_colours.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_table_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A copy of the main window's client area: 0x00RRGGBB per pixel, rows from the top.
struct Capture {
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    bool ink(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height &&
               (pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF) != 0xFFFFFF;
    }
    int ink_in(int x1, int y1, int x2, int y2) const
    {
        int n = 0;
        for (int y = y1; y <= y2; ++y) {
            for (int x = x1; x <= x2; ++x) {
                n += ink(x, y) ? 1 : 0;
            }
        }
        return n;
    }
};

Capture capture()
{
    GdiFlush();
    Capture c;
    c.width = WIN_CURRENT.width;
    c.height = WIN_CURRENT.height;
    HDC dc = WIN_CURRENT.dc;
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, c.width, c.height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const unsigned*>(bits);
    c.pixels.assign(p, p + static_cast<std::size_t>(c.width) * c.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return c;
}

// Writes the capture as a 24-bit BMP file.
void save_bmp(const Capture& c, const char* path)
{
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    const int row = (c.width * 3 + 3) / 4 * 4;
    const unsigned size = 54u + static_cast<unsigned>(row) * c.height;
    unsigned char header[54] = {'B', 'M'};
    auto put32 = [&](int at, unsigned v) {
        for (int k = 0; k < 4; ++k) {
            header[at + k] = static_cast<unsigned char>(v >> (8 * k));
        }
    };
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(c.width));
    put32(22, static_cast<unsigned>(c.height));
    header[26] = 1;
    header[28] = 24;
    std::fwrite(header, 1, 54, f);
    std::vector<unsigned char> line(static_cast<std::size_t>(row), 0);
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) {
            const unsigned p = c.pixels[static_cast<std::size_t>(y) * c.width + x];
            line[static_cast<std::size_t>(3 * x)] = static_cast<unsigned char>(p);
            line[static_cast<std::size_t>(3 * x + 1)] = static_cast<unsigned char>(p >> 8);
            line[static_cast<std::size_t>(3 * x + 2)] = static_cast<unsigned char>(p >> 16);
        }
        std::fwrite(line.data(), 1, line.size(), f);
    }
    std::fclose(f);
}

// Compares a part of the capture (as a plain PBM: 1 = not white) with a golden picture under
// tests/graphics_text/golden; at most `tolerance` pixels may differ. With QR4T_UPDATE_GOLDEN set the
// golden picture is written instead.
void expect_golden(const Capture& c, const std::string& name, int x0, int y0, int w, int h, int tolerance)
{
    std::ostringstream out;
    out << "P1\n" << w << " " << h << "\n";
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            out << (c.ink(x, y) ? '1' : '0');
        }
        out << "\n";
    }
    const std::string picture = out.str();
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string path = std::string(source) + "/tests/graphics_text/golden/" + name + ".pbm";
    if (std::getenv("QR4T_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << picture;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden picture " << path;
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(golden.size(), picture.size()) << path;
    int differ = 0;
    for (std::size_t i = 0; i < golden.size(); ++i) {
        differ += golden[i] != picture[i] ? 1 : 0;
    }
    EXPECT_LE(differ, tolerance) << name << ": " << differ << " pixels differ";
}

class TextWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WinOpenRecord r;
        r.flags = 0x43;
        r.width = 1020;
        r.height = 718;
        r.title = "QR4T text test";
        WWinOpen(r);
        window_text_start();
        window_text_main_window_open();
        IGrInitGraphics(" ");
    }
    void SetUp() override
    {
        // White window, black text on white, no codes; graphics in black.
        WGrTextState.marker = ' ';
        WGrTextState.face = 0;
        WGrTextState.bold = 0;
        WGrTextColour(0, 15);
        RECT all{0, 0, WIN_CURRENT.width, WIN_CURRENT.height};
        FillRect(WIN_CURRENT.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        gr_colour_n(223);
        GrTextState.justification = 0;
        IGrTextAngle(0.0f);
    }
};

// "x~1y~0z" with the tilde as marker draws x, a bold y and z: the same pixels as the three runs drawn
// one after the other, and measured as "xyz".
TEST_F(TextWindow, InlineCodesDrawBoldRun)
{
    WGrTextState.face = 3;  // Arial
    WGrTextState.unit_height = 400;
    WGrTextFontScale();
    WGrTextState.marker = '~';
    WGrTextString(500, 2000, "x~1y~0z");
    const int end_x = WGrTextState.x;
    EXPECT_EQ(WGrTextState.bold, 0);  // the starting style is back
    WGrTextState.marker = ' ';

    // The same three runs by hand, lower down.
    int px = 0, py = 0;
    WGrUnitsToPixels(500, 5000, px, py);
    const int row_offset = py;
    WGrTextFontEnsure();
    WGrTextDraw(px, py, "x");
    WGrTextState.bold = 1;
    WGrTextFontEnsure();
    WGrTextDraw(px, py, "y");
    WGrTextState.bold = 0;
    WGrTextFontEnsure();
    WGrTextDraw(px, py, "z");

    const Capture c = capture();
    int top_x = 0, top_y = 0;
    WGrUnitsToPixels(500, 2000, top_x, top_y);
    const int shift = row_offset - top_y;
    int ink = 0, differ = 0;
    for (int y = top_y - 40; y <= top_y + 15; ++y) {
        for (int x = top_x; x < top_x + 120; ++x) {
            ink += c.ink(x, y) ? 1 : 0;
            differ += c.ink(x, y) != c.ink(x, y + shift) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 30);
    EXPECT_EQ(differ, 0);
    // The picture itself, where the TrueType faces are those of Debian's fonts-liberation (metric
    // twins of the Windows faces); other fonts draw other shapes.
    if (GetFileAttributesA("Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSans-Bold.ttf") !=
        INVALID_FILE_ATTRIBUTES) {
        expect_golden(c, "coded_window_text", top_x, top_y - 30, 80, 40, 12);
    }

    // Measured without its codes, in the current font.
    WGrTextState.marker = '~';
    const int coded = WGrTextLength("x~1y~0z");
    WGrTextState.marker = ' ';
    EXPECT_EQ(coded, WGrTextLength("xyz"));
    EXPECT_GT(end_x, 500);
}

// Trailing blanks paint the background: with an opaque black background two letters and two blanks
// paint four cells.
TEST_F(TextWindow, TrailingBlanksPaintTheBackground)
{
    WGrTextState.face = 4;  // Courier New: every cell alike
    WGrTextState.unit_height = 400;
    WGrTextFontScale();
    WGrTextColour(15, 0);
    WGrTextString(1000, 3000, "ab  ");
    int x1 = 0, y1 = 0;
    WGrUnitsToPixels(1000, 3000, x1, y1);
    int w = 0;
    WGrTextExtentPixels(w, "ab  ");
    const Capture c = capture();
    EXPECT_TRUE(c.ink(x1 + w - 2, y1 - 3));  // inside the last blank's cell
    EXPECT_FALSE(c.ink(x1 + w + 2, y1 - 3));
}

// Stroke text at 30 degrees: all its ink lies in the turned box of its cells.
TEST_F(TextWindow, TurnedStrokeText)
{
    IGrStrokeFontSwiss();
    IGrCharFont(1, 0, 0.03f, 0.08f);
    IGrTextAngle(30.0f);
    IGrCharOut(0.3f, 0.3f, "Hello");
    const Capture c = capture();
    float x0 = 0.0f, y0 = 0.0f;
    IGrUserToDevice(0.3f, 0.3f, x0, y0);
    const double W = GrTextState.char_width * GrDeviceArea.width;
    const double H = GrTextState.char_height * GrDeviceArea.height;
    const double L = W * IGrHardTextWidth("Hello", 1);
    const double co = std::cos(3.14159265 / 6), si = std::sin(3.14159265 / 6);
    int inside = 0, outside = 0;
    for (int row = 0; row < c.height; ++row) {
        for (int x = 0; x < c.width; ++x) {
            if (!c.ink(x, row)) {
                continue;
            }
            const double dx = x + 0.5 - x0, dy = (c.height - 1 - row) + 0.5 - y0;  // device y upwards
            const double along = dx * co + dy * si, across = -dx * si + dy * co;
            const bool in = along > -3 && along < L + 3 && across > -H / 2 - 3 && across < H / 2 + 3;
            (in ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 200);
    EXPECT_EQ(outside, 0);
    expect_golden(c, "turned_stroke_text", static_cast<int>(x0) - 40,
                  c.height - 1 - static_cast<int>(y0) - 170, 300, 210, 40);
    IGrTextAngle(0.0f);
    IGrCharFont(2);
}

// Making a window current starts window text again at its top-left corner.
TEST_F(TextWindow, TextPositionStartsAgainInTheWindowMadeCurrent)
{
    WGrTextString(1000, 3000, "abc");
    EXPECT_GT(WGrTextState.x, 1000);
    EXPECT_NE(WGrTextState.y, 0);
    WWinSelect(WIN_CURRENT.window);
    EXPECT_EQ(WGrTextState.x, 0);
    EXPECT_EQ(WGrTextState.y, 0);
}

// A window-text colour defined on a palette display goes into the toolkit's logical palette, in the
// entry that holds that window-text colour behind the colour-class entries. The graphics colours keep
// theirs: on a 256-colour palette a fixed slot 16 + n would have overwritten graphics colours 16..33.
TEST_F(TextWindow, ColourDefinitionReachesThePaletteOfAPaletteDisplay)
{
    auto& G = GrGdiContext;
    ASSERT_EQ(G.palette, nullptr);  // Xvfb's true-colour display has no palette of its own
    const int kept_class = GrColourState.screen_class;
    for (const int nc : {16, 256}) {
        SCOPED_TRACE(nc);
        GrColourState.screen_class = nc;
        IGrPaletteBuild(1);
        ASSERT_NE(G.palette, nullptr);
        ASSERT_EQ(GetPaletteEntries(G.palette, 0, 0, nullptr), static_cast<UINT>(nc + 18));
        WGrTextColourDefine(3, 10, 20, 30);
        EXPECT_EQ(WGrTextColours[3], 10 + 20 * 256 + 30 * 65536);
        PALETTEENTRY e{};
        ASSERT_EQ(GetPaletteEntries(G.palette, static_cast<UINT>(nc + 3), 1, &e), 1u);
        EXPECT_EQ(e.peRed, 10);
        EXPECT_EQ(e.peGreen, 20);
        EXPECT_EQ(e.peBlue, 30);
        if (nc == 256) {
            const int graphics = gr_palette_colours(256)[16 + 3];
            ASSERT_EQ(GetPaletteEntries(G.palette, 16 + 3, 1, &e), 1u);
            EXPECT_EQ(e.peRed + 256 * e.peGreen + 65536 * e.peBlue, graphics);
        }
        // Back to the true-colour display: no palette in the context, the default colours.
        SelectPalette(G.dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        DeleteObject(G.palette);
        G.palette = nullptr;
        G.palette_block.clear();
    }
    GrColourState.screen_class = kept_class;
    window_text_main_window_open();
}

// All eight stroke fonts and the window-text faces, as a picture for a person to read.
TEST_F(TextWindow, SamplePicture)
{
    struct Font {
        void (*install)();
        const char* name;
    };
    const Font fonts[] = {
        {[] { IGrStrokeFontStandard(); }, "standard.chr"}, {IGrStrokeFontFixedPlain, "fixed.chr"},
        {IGrStrokeFontFixedBold, "fixedbld.chr"},          {IGrStrokeFontRomanPlain, "roman.chr"},
        {IGrStrokeFontRomanBold, "romanbld.chr"},          {IGrStrokeFontSwissPlain, "swiss.chr"},
        {IGrStrokeFontSwissBold, "swissbld.chr"},          {IGrStrokeFontSymbol, "symbol.chr"},
    };
    IGrCharFont(1, 0, 0.0125f, 0.045f);
    float y = 0.96f;
    for (const Font& f : fonts) {
        f.install();
        GrTextState.text_mode = GrStrokeFont.proportional;
        IGrCharOut(0.01f, y,
                   std::string(f.name) + ": The quick brown fox 0123 \xC0\xE9\xF1\xFC\xDF \xB1\xB0");
        y -= 0.055f;
    }
    IGrStrokeFontStandard();
    // Graphics text in the device's own faces, right of the window-text faces.
    IGrCharFont(2, 0, 0.012f, 0.035f);
    float hy = 0.42f;
    for (int type = 101; type <= 104; ++type) {
        IGrCharFont(type);
        IGrCharOut(0.55f, hy, "Graphics text, face " + std::to_string(type - 100));
        hy -= 0.06f;
    }
    IGrCharFont(101);

    const struct {
        int face;
        const char* text;
    } faces[] = {
        {0, "System font: window text"},
        {-99, "GUI font: window text"},
        {1, "Fixed system font"},
        {2, "Times New Roman: window text"},
        {3, "Arial: window text"},
        {4, "Courier New: window text"},
        {5, "Symbol: abgdp"},
        {6, "Wingdings: abc"},
    };
    int unit_y = 5300;
    WGrTextState.unit_height = 320;
    WGrTextFontScale();
    for (const auto& f : faces) {
        WGrTextState.face = f.face;
        WGrTextString(100, unit_y, f.text);
        unit_y += 520;
    }
    WGrTextState.face = 3;
    WGrTextState.marker = '~';
    WGrTextColour(0, 15);
    WGrTextString(100, unit_y, "Codes: x~1y~0z ~3italic~0 ~5underline~0 ~jred~0 ~Kyellow back~0 ~~");
    WGrTextState.marker = ' ';

    const Capture c = capture();
    save_bmp(c, "text_sample.bmp");
    EXPECT_GT(c.ink_in(0, 0, c.width - 1, c.height / 2), 2000);
    EXPECT_GT(c.ink_in(0, c.height / 2, c.width - 1, c.height - 1), 2000);
}

}  // namespace
