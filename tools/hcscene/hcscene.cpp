// hcscene: draws one fixed scene through the hardcopy front end.
//
//   hcscene [--device N] [--option N=V]... [--out NAME] [--title T] [--pages 2] [--screen F.png]
//           [--play FORMAT:FILE --screen F.png]
//   hcscene --display flowfield [--device N] [--option N=V]... [--out NAME] [--title T]
//           [--screen F.png] [--print 1]
//
// Resets the graphics, selects device N (op 1), applies the options, opens the hardcopy with the name
// (absent: the default plot-file name) and the title (absent: none), draws the scene, ends with "S".
// Prints the last toolkit error and exits 1 when one was raised. With --screen the scene is drawn as
// the screen draws it into F.png instead; with --play as well, the metafile FILE of FORMAT (0 WMF,
// 1 placeable WMF, 2 EMF) is played back into F.png.
//
// With --display the picture is not the scene but the live flowfield picture of a small flowfield,
// drawn by the display code in a main window (win build) while the device, when one is named, is open;
// --screen then saves the window's client area, and --print 1 prints it on the Windows printer through
// the screen driver's hardcopy page (op 20).
#include "tools/hcscene/hcscene.h"

#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_save.h"
#include "toolkit/graphics/line_clip.h"
#include "toolkit/win/device_select.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr const char* IMAGE_FILE = "hcscene_image.bmp";
// Dark colours of the standard table: black, red, yellow, green, cyan, blue, magenta, dark grey.
constexpr int INK[8] = {223, 32, 64, 96, 128, 160, 192, 208};

void line_width(int w)
{
    IHcOptionSet(HC_OPT_LINE_WIDTH, w);
    GrLineState.line_width = w;
    IGrScreenDriver(GrOpLineWidth);
}

// Seven line types in three widths.
void line_types()
{
    for (int width = 1; width <= 3; ++width) {
        line_width(width == 1 ? 1 : width * 3);
        for (int t = 0; t <= 6; ++t) {
            gr_colour_n(INK[t]);
            IGrLineType(t);
            const float y = 72.0f - t * 1.6f - (width - 1) * 12.0f;
            gr_line(2.0f, y, 30.0f, y);
        }
    }
    IGrLineType(0);
    line_width(1);
}

// Three thick corners, one per join, with the three caps.
void joins_and_caps()
{
    line_width(12);
    gr_colour_n(INK[1]);
    for (int k = 0; k <= 2; ++k) {
        IHcOptionSet(HC_OPT_LINE_JOIN, k);
        IHcOptionSet(HC_OPT_LINE_CAP, k);
        const float x[3] = {34.0f + k * 8, 37.0f + k * 8, 40.0f + k * 8};
        const float y[3] = {50.0f, 66.0f, 50.0f};
        IGrPolylineClipped(x, y, 3, 0);
    }
    IHcOptionSet(HC_OPT_LINE_JOIN, 0);
    IHcOptionSet(HC_OPT_LINE_CAP, 0);
    line_width(1);
}

// A 300-point polyline: a damped wave.
void long_polyline()
{
    std::vector<float> x(300), y(300);
    for (int i = 0; i < 300; ++i) {
        x[static_cast<std::size_t>(i)] = 60.0f + i * 0.12f;
        y[static_cast<std::size_t>(i)] =
            62.0f + 8.0f * static_cast<float>(std::exp(-i / 150.0) * std::sin(i * PI / 25));
    }
    gr_colour_n(INK[5]);
    IGrPolylineClipped(x.data(), y.data(), 300, 0);
}

// The filled shapes in fill styles 0..4: rectangle, ellipse, triangle, polygon.
void filled_shapes()
{
    for (int style = 0; style <= 4; ++style) {
        const float x = 3.0f + style * 19.0f;
        gr_colour_n(INK[7]);  // the second colour of a two-colour pattern
        gr_colour_n(INK[style]);
        gr_fill_pattern(style, 2, 1 + style % 4);
        gr_rectangle(x, 31.0f, x + 7.0f, 39.0f);
        IGrEllipseFill(x + 12.0f, 35.0f, 3.5f, 1.0f);
        IGrTriangleDraw(x, 22.0f, x + 7.0f, 22.0f, x + 3.5f, 29.0f);
        const float px[5] = {x + 9.0f, x + 16.0f, x + 15.0f, x + 12.0f, x + 9.5f};
        const float py[5] = {22.0f, 23.0f, 29.0f, 26.0f, 29.0f};
        IGrPolygonFill(px, py, 5, 0);
    }
    gr_fill_pattern(0);
}

void markers()
{
    gr_colour_n(INK[6]);
    for (int n = 1; n <= 12; ++n)
        gr_marker(3.0f + n * 3.0f, 17.0f, n);
}

// Stroke text and hardware text: faces 1..4, bold and italic, angles 0, 30 and 90, three
// justifications.
void texts()
{
    gr_colour_n(223);
    gr_char_font(1, 0, 0.012f, 0.03f);
    GrTextState.justification = 0;
    gr_char_out(42.0f, 16.0f, "Stroke text");
    const char* faces[4] = {"Courier", "Helvetica", "Times", "Symbol"};
    for (int face = 1; face <= 4; ++face) {
        gr_char_font(100 + face, face == 2 ? 1 : face == 3 ? 2 : 0, 0.012f, 0.03f);
        GrTextState.justification = face % 3;
        IGrTextAngle(0.0f);
        gr_char_out(5.0f + (face - 1) * 20.0f, 10.0f, faces[face - 1]);
    }
    gr_char_font(102, 3, 0.012f, 0.03f);
    GrTextState.justification = 0;
    IGrTextAngle(30.0f);
    gr_char_out(80.0f, 8.0f, "30 degrees");
    IGrTextAngle(90.0f);
    gr_char_out(93.0f, 5.0f, "90 degrees");
    IGrTextAngle(0.0f);
    GrTextState.justification = 1;
}

// A clip: the graphics area shrinks to a box, lines run beyond it, and the area comes back.
void clipped_lines()
{
    gr_area(0.62f, 0.5f, 0.95f, 0.7f);
    gr_units(0.0f, 0.0f, 10.0f, 10.0f);
    gr_colour_n(INK[3]);
    for (int k = -5; k <= 15; k += 2)
        gr_line(static_cast<float>(k), -5.0f, static_cast<float>(k) + 10.0f, 15.0f);
    gr_area(0.0f, 0.0f, 1.0f, 1.0f);
    gr_units(0.0f, 0.0f, 100.0f, 75.0f);
}

// Colours by number and by RGB value.
void colour_bars()
{
    for (int n = 0; n < 16; ++n) {
        gr_colour_n(16 * n + 8);
        gr_line(60.0f + n, 42.0f, 60.0f + n, 48.0f);
    }
    GrColourState.model = 2;
    const int rgb[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    for (int k = 0; k < 4; ++k) {
        gr_colour_n(rgb[k]);
        gr_line(80.0f + 2 * k, 42.0f, 80.0f + 2 * k, 48.0f);
    }
    GrColourState.model = 1;
}

// A 4 x 4 BMP of four colours for op 38.
void write_image()
{
    DibImage dib;
    dib.width = 4;
    dib.height = 4;
    dib.bit_count = 24;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            dib.bits.push_back(static_cast<unsigned char>(x < 2 ? 255 : 0));  // blue
            dib.bits.push_back(static_cast<unsigned char>(y < 2 ? 255 : 0));  // green
            dib.bits.push_back(static_cast<unsigned char>(200));              // red
        }
    int status = 0, code = 0;
    img_dib_save(1, dib, 4, 4, IMAGE_FILE, status, code);
}

// Page 2: the ops the core never sends, straight to the hardcopy device.
void direct_ops()
{
    auto& B = GrPrimitiveBlock;
    float cx = 0, cy = 0;
    IGrUserToDevice(30.0f, 40.0f, cx, cy);
    const float r = 80.0f;
    const float start = 0.5f, sweep = 2.0f;
    auto arc_block = [&](int style, int density) {
        B.X(1) = cx;
        B.Y(1) = cy;
        B.X(2) = r;
        B.X(3) = start;
        B.Y(3) = sweep;
        B.X(4) = static_cast<float>(start * 180.0 / PI);
        B.Y(4) = static_cast<float>(sweep * 180.0 / PI);
        B.FILL(FILL_STYLE) = style;
        B.FILL(FILL_DENSITY) = density;
    };
    gr_colour_n(INK[2]);
    arc_block(4, 2);
    B.NVAL = 1;
    IHcSendOp(GrOpPiePattern);
    B.NVAL = -1;
    IHcSendOp(GrOpPiePattern);
    arc_block(0, 3);
    B.X(1) += 250.0f;
    IHcSendOp(GrOpArc);
    write_image();
    B.IX(1) = 1;
    B.IX(2) = 4;
    B.IY(2) = 4;
    B.X(1) = 400.0f;
    B.Y(1) = 100.0f;
    B.X(2) = 500.0f;
    B.Y(2) = 200.0f;
    B.TEXT.fill(' ');
    std::string(IMAGE_FILE).copy(B.TEXT.data(), B.TEXT.size());
    IHcSendOp(GrOpImageFile);
    B.FILL(FILL_STYLE) = 0;
    B.FILL(FILL_DENSITY) = 2;
}

struct Arguments {
    int device = 1;
    std::vector<std::pair<int, int>> options;
    std::optional<std::string> out;
    std::optional<std::string> title;
    int pages = 1;
    std::optional<std::string> screen;
    std::optional<std::string> play;  // FORMAT:FILE
    std::optional<std::string> display;
    bool device_named = false;
    int print = 0;
};

bool parse_int(const char* text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -2147483647L || v > 2147483647L)
        return false;
    value = static_cast<int>(v);
    return true;
}

int usage(const std::string& what)
{
    std::fprintf(stderr,
                 "hcscene: %s\nusage: hcscene [--device N] [--option N=V]... [--out NAME] [--title T] "
                 "[--pages 1|2] [--screen F.png] [--play FORMAT:FILE] [--display flowfield] [--print 0|1]\n",
                 what.c_str());
    return 2;
}

}  // namespace

void draw_scene(int page)
{
    gr_units(0.0f, 0.0f, 100.0f, 75.0f);
    // A frame along the surface's edges: the picture's extent in every output, so that readers'
    // renderings can be laid over the screen's.
    gr_colour_n(INK[0]);
    gr_fill_pattern(0);
    gr_rectangle(0.2f, 0.2f, 99.8f, 74.8f);
    if (page == 2) {
        direct_ops();
        texts();
        return;
    }
    line_types();
    joins_and_caps();
    long_polyline();
    filled_shapes();
    markers();
    texts();
    clipped_lines();
    colour_bars();
}

#ifndef _WIN32
bool save_screen_reference(const std::string&)
{
    std::fprintf(stderr, "hcscene: --screen needs the win build (there is no screen here)\n");
    return false;
}

bool save_playback(int, const std::string&, const std::string&)
{
    std::fprintf(stderr, "hcscene: --play needs the win build (there is no screen here)\n");
    return false;
}

bool draw_display_picture(const DisplayRequest&)
{
    std::fprintf(stderr, "hcscene: --display needs the win build (there is no screen here)\n");
    return false;
}
#endif

int main(int argc, char** argv)
{
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        const std::string key = argv[i];
        if (i + 1 >= argc)
            return usage("missing value after " + key);
        const char* value = argv[++i];
        if (key == "--device") {
            if (!parse_int(value, a.device))
                return usage(std::string("bad device number: ") + value);
            a.device_named = true;
        } else if (key == "--option") {
            const std::string v = value;
            const std::size_t eq = v.find('=');
            int n = 0, x = 0;
            if (eq == std::string::npos || !parse_int(v.substr(0, eq).c_str(), n) ||
                !parse_int(v.substr(eq + 1).c_str(), x))
                return usage("bad option, want N=V: " + v);
            a.options.emplace_back(n, x);
        } else if (key == "--out") {
            a.out = value;
        } else if (key == "--title") {
            a.title = value;
        } else if (key == "--pages") {
            if (!parse_int(value, a.pages) || a.pages < 1 || a.pages > 2)
                return usage(std::string("bad page count: ") + value);
        } else if (key == "--screen") {
            a.screen = value;
        } else if (key == "--play") {
            a.play = value;
        } else if (key == "--display") {
            if (std::string(value) != "flowfield")
                return usage(std::string("unknown display: ") + value);
            a.display = value;
        } else if (key == "--print") {
            if (!parse_int(value, a.print) || a.print < 0 || a.print > 1)
                return usage(std::string("bad print flag: ") + value);
        } else {
            return usage("unknown argument " + key);
        }
    }
    if (a.display) {
        if (a.play || a.pages != 1)
            return usage("--display takes neither --play nor --pages");
        DisplayRequest r;
        if (a.device_named)
            r.device = a.device;
        r.options = a.options;
        r.out = a.out;
        r.title = a.title;
        r.screen = a.screen;
        r.print = a.print == 1;
        const bool drawn = draw_display_picture(r);
        const int error = ERROR_STATE.last_error;
        if (error != 0) {
            std::printf("%s\n", error_report_text(error).c_str());
            return 1;
        }
        return drawn ? 0 : 1;
    }
    if (a.print != 0)
        return usage("--print needs --display");
    IGrColourTableInit();
    if (a.play) {
        const std::string& v = *a.play;
        int format = 0;
        if (!a.screen || v.size() < 3 || v[1] != ':' || !parse_int(v.substr(0, 1).c_str(), format))
            return usage("--play wants FORMAT:FILE and --screen F.png");
        return save_playback(format, v.substr(2), *a.screen) ? 0 : 1;
    }
    if (a.screen)
        return save_screen_reference(*a.screen) ? 0 : 1;

    // The reset, with the screen off: the scene reaches the hardcopy device only.
    const char* temp = std::getenv("TEMP");
    const char* tmp = std::getenv("TMP");
    OS_CONFIG_PATHS.temp_plot_file = temp_plot_name_from(temp ? temp : "", tmp ? tmp : "");
    // The device variants as the toolkit's start-up reads them: the settings file named by WINTINIT
    // (PLOTTER, HPGL2, PRINTER).
    if (const char* settings = std::getenv("WINTINIT")) {
        bool version_request = false;
        read_settings_file(settings, version_request);
    }
    IHcDriversInstall();
    HcDeviceConfig& device = HC_DEVICE_CONFIG;
    HcPrinterSelect(device.printer_value);
    HcPlotterSelect(device.plotter_value);
    HcHpgl2Select(device.hpgl2_value);
    IGrInitGraphics("H");
    IGrSurfaceSetup(GrTarget.kind, GrTarget.number, SCENE_WIDTH, SCENE_HEIGHT);
    ERROR_STATE.last_error = 0;
    IHcDeviceSelect(GrOpInitialise, a.device);
    for (auto [n, v] : a.options)
        IHcOptionSet(n, v);
    IHcOpen(a.out ? std::optional<std::string_view>(*a.out) : std::nullopt,
            a.title ? std::optional<std::string_view>(*a.title) : std::nullopt);
    for (int page = 1; page <= a.pages; ++page) {
        if (page > 1) {
            GrPrimitiveBlock.NVAL = 0;
            GrPrimitiveBlock.NPTS = 0;
            IHcSendOp(GrOpHardcopyPage);
        }
        draw_scene(page);
    }
    IHcOpen("S", " ");
    const int error = ERROR_STATE.last_error;
    if (error != 0) {
        std::printf("%s\n", error_report_text(error).c_str());
        return 1;
    }
    return 0;
}
