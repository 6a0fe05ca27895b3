// The HP-GL line writers and data records.
#include "toolkit/drivers/hpgl_lines.h"

#include "base/edit_format.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>

std::string HcHpglLine;

namespace {

std::string line_prefix()
{
    return HcDeviceBlock.line_start == 1 ? " " : "";
}

}  // namespace

std::string hpgl_int(long long value, std::string_view descriptor)
{
    return format_integer(value, descriptor);
}

std::string hpgl_real(double value, std::string_view descriptor)
{
    return format_real(value, descriptor);
}

int hpgl_trunc(double v)
{
    return gr_trunc(v);
}

// A command line cut to the line length, the blanks after its two-letter mnemonic and at its end
// dropped and every inner run of blanks made one.
std::string hpgl_squeeze(std::string_view text)
{
    text = text.substr(0, std::min<std::size_t>(text.size(), HC_HPGL_LINE_LENGTH));
    std::string out(text.substr(0, std::min<std::size_t>(text.size(), 2)));
    bool pending_blank = false;
    bool seen = false;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (text[i] == ' ') {
            pending_blank = seen;
            continue;
        }
        if (pending_blank)
            out += ' ';
        out += text[i];
        pending_blank = false;
        seen = true;
    }
    return out;
}

void IHcHpglCommand(std::string_view text)
{
    IHcPlotWriteText(HC_PLOT_SLOT, line_prefix() + hpgl_squeeze(text) + "\r\n");
}

void IHcHpglFlush()
{
    IHcHpglCommand(HcHpglLine);
}

// A move or draw to a surface point in user units (I6 each), truncated toward zero.
void IHcHpglPoint(std::string_view mnemonic, double x, double y)
{
    HcHpglLine = std::string(mnemonic) + hpgl_int(hpgl_trunc(x * HcDeviceBlock.sx), "I6") +
                 hpgl_int(hpgl_trunc(y * HcDeviceBlock.sy), "I6");
    IHcHpglFlush();
}

// A label: "LB", the text with its terminator, written as it stands (never squeezed).
void IHcHpglLabel(std::string_view text)
{
    IHcPlotWriteText(HC_PLOT_SLOT, line_prefix() + "LB");
    IHcPlotWriteText(HC_PLOT_SLOT, std::string(text) + "\r\n");
}

void IHcHpgl2WriteLine(std::string_view text)
{
    IHcPlotWriteText(HC_PLOT_SLOT, line_prefix() + std::string(text) + "\r\n");
}

void hpgl_pen_set(float x, float y)
{
    HcDeviceBlock.pen_x = x;
    HcDeviceBlock.pen_y = y;
}

void hpgl_move_unless_there(float x, float y)
{
    if (HcDeviceBlock.pen_x != x || HcDeviceBlock.pen_y != y)
        IHcHpglPoint("PU", x, y);
}

// The reset scaling line with its first (last false) or last user-unit bound replaced by v (I5).
std::string hpgl_scale_line(int v, bool last, std::string_view reset)
{
    std::string line(reset);
    line.resize(std::max<std::size_t>(line.size(), 17), ' ');
    line.replace(last ? 12 : 4, 5, hpgl_int(v, "I5"));
    return line;
}

// User units that make one surface unit as long in y as in x on the page: page height over width
// in the area's proportions, divided by the ellipse's height ratio.
int hpgl_aspect_units(double ratio)
{
    const double d = double(HcOptions(HC_OPT_PAGE_WIDTH)) * GrArea.height * ratio;
    if (!(d > 0.0))
        return 32760;
    return hpgl_trunc(double(HcOptions(HC_OPT_PAGE_HEIGHT)) * GrArea.width * HPGL_USER_UNITS / d);
}

// An ellipse as a circle under a scaling that stretches the shorter axis; filled between PM0 and
// PM2;FP.
void hpgl_circle(bool filled)
{
    const auto& B = GrPrimitiveBlock;
    const int n = hpgl_aspect_units(B.X(3));
    double r = B.X(2);
    if (n > 32760) {
        IHcHpglCommand(hpgl_scale_line(1073217600 / n, false, HPGL_SCALE_RESET));
        r = B.X(2) * HPGL_USER_UNITS / n;
    } else {
        IHcHpglCommand(hpgl_scale_line(n, true, HPGL_SCALE_RESET));
    }
    if (filled)
        IHcHpglCommand("PM0");
    IHcHpglPoint("CI", r, 0.0);
    if (filled)
        IHcHpglCommand("PM2;FP");
    hpgl_pen_set(B.X(1), B.Y(1));
    IHcHpglCommand(HPGL_SCALE_RESET);
}

void hpgl_arc_scaling(std::string_view reset, double& r, double& cx, double& cy)
{
    const auto& B = GrPrimitiveBlock;
    const int n = hpgl_aspect_units(1.0);
    r = B.X(2);
    cx = B.X(1);
    cy = B.Y(1);
    if (n > 32760) {
        const int m = 1073217600 / n;
        IHcHpglCommand(hpgl_scale_line(m, false, reset));
        r = B.X(2) * HPGL_USER_UNITS / n;
        cx = m * double(B.X(1)) / HPGL_USER_UNITS;
    } else {
        IHcHpglCommand(hpgl_scale_line(n, true, reset));
        cy = n * double(B.Y(1)) / HPGL_USER_UNITS;
    }
    r *= HcDeviceBlock.sx;
    cx *= HcDeviceBlock.sx;
    cy *= HcDeviceBlock.sy;
}

// Op 24: the input window in plotter units (scaling off while it is written).
void hpgl_clip(double upp, int p1x, int p1y, int p2x, int p2y)
{
    const auto& A = GrDeviceArea;
    IHcHpglCommand("SC");
    const double fx = HcOptions(HC_OPT_PAGE_WIDTH) * upp / std::max(GrSurface.width, 1);
    const double fy = HcOptions(HC_OPT_PAGE_HEIGHT) * upp / std::max(GrSurface.height, 1);
    // The window corners summed in reals (exact for two integers) and clamped: no int overflow.
    auto at = [](double v, int p) { return hpgl_trunc(double(hpgl_trunc(v)) + p); };
    IHcHpglCommand("IW" + hpgl_int(at(A.x1 * fx, p1x), "I7") + hpgl_int(at(A.y1 * fy, p1y), "I7") +
                   hpgl_int(std::min(p2x, at(A.x2 * fx + 0.99, p1x)), "I7") +
                   hpgl_int(std::min(p2y, at(A.y2 * fy + 0.99, p1y)), "I7"));
    IHcHpglCommand(HPGL_SCALE_RESET);
}

// The text start: the point moved a cell widths along and b cell heights across the text direction.
void hpgl_text_start(double a, double b, double& x, double& y)
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    const double t1 = T.cell_width * T.angle_cos, t2 = T.cell_width * T.angle_sin_aspect;
    const double t3 = T.cell_height * T.angle_cos, t4 = T.cell_height * T.angle_sin_aspect;
    x = B.X(1) + a * t1 + b * t4;
    y = B.Y(1) + a * t2 - b * t3;
}

void hpgl_line_type(bool class_f)
{
    static constexpr std::string_view TYPES[7] = {"    ", "1 .3", "2 2 ", "4 3 ", "6 3 ", "5 3 ", "3 1 "};
    const int t = GrLineState.line_type;
    std::string_view p = TYPES[static_cast<std::size_t>(t >= 0 && t <= 6 ? t : 0)];
    if (t == 1 && class_f)
        p = "1 1 ";
    IHcHpglCommand("LT" + std::string(p));
}

void hpgl_text_direction()
{
    IHcHpglCommand("DI" + hpgl_real(GrTextState.angle_cos, "F6.3") + " " +
                   hpgl_real(GrTextState.angle_sin_aspect, "F6.3"));
}

void hpgl_device_info(int word)
{
    auto& I = GrDeviceInfo;
    I.angle_resolution[1] = 360;
    I.platform[1] = 2;
    I.true_colour[1] = 0;
    I.hardcopy_words = {word, 0, 0};
    I.text_real[1] = 1.7e38f;
    I.text_word[1] = 8;
}

// A data record: a scaling command with a negative first value that carries the values (p3 offset
// by 32760), followed by the real scaling when reset; only with option 18.
void IHcHpglDataRecord(int code, bool reset, int p1, int p2, int p3)
{
    if (HcOptions(HC_OPT_EXTENDED) == 0)
        return;
    const long long p3_shifted = static_cast<long long>(p3) + 32760;
    HcHpglLine = "SC-";
    if (code == 1)
        HcHpglLine += hpgl_int(code, "I1") + hpgl_int(p1, "I9");
    else
        HcHpglLine += hpgl_int(code, code < 10 ? "I1" : "I2") + hpgl_int(p1, "I6");
    HcHpglLine += hpgl_int(p2, "I6") + hpgl_int(p3_shifted, "I6");
    if (reset)
        HcHpglLine += " ;" + std::string(HPGL_SCALE_RESET);
    IHcHpglFlush();
}

void IHcHpglVertexRecord(double x, double y)
{
    if (HcOptions(HC_OPT_EXTENDED) == 0)
        return;
    HcHpglLine = "SC-9 " + hpgl_int(hpgl_trunc(x * HcDeviceBlock.sx), "I6") +
                 hpgl_int(hpgl_trunc(y * HcDeviceBlock.sy), "I6") + " 0";
    IHcHpglFlush();
}

void IHcHpglArcRecord(double a, double b)
{
    if (HcOptions(HC_OPT_EXTENDED) == 0)
        return;
    HcHpglLine = "SC-9 " + hpgl_real(a, "F10.4") + hpgl_real(b, "F10.4") + " 0";
    IHcHpglFlush();
}
