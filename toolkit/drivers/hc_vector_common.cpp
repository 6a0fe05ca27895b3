// Pieces shared by the PostScript, SVG, DXF and CGM drivers.
#include "toolkit/drivers/hc_vector_common.h"

#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hpgl_lines.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>

void hc_vector_device(int rgb_flag, int w1, int w2, int w3, std::string_view caps, int resolution,
                      int colours, int device)
{
    auto& I = GrDeviceInfo;
    I.angle_resolution[1] = 360;
    I.platform[1] = 2;
    I.true_colour[1] = rgb_flag;
    I.hardcopy_words = {w1, w2, w3};
    I.text_word[1] = 8;
    I.text_real[1] = 1.7e38f;
    hc_device_caps(caps);
    auto& D = HcDeviceBlock;
    D.resolution_x = resolution;
    D.resolution_y = resolution;
    D.colours = colours;
    D.initialised_device = device;
}

int hc_colour_value(int which)
{
    const auto& C = GrColourState;
    return C.model == 1 ? C.number[static_cast<std::size_t>(which)] : C.rgb[static_cast<std::size_t>(which)];
}

std::string_view hc_text()
{
    const auto& B = GrPrimitiveBlock;
    const int n = std::clamp(B.IX(1), 0, 255);
    return {B.TEXT.data(), static_cast<std::size_t>(n)};
}

void hc_text_anchor(double b, bool justify, double& x, double& y)
{
    const auto& T = GrTextState;
    const auto& B = GrPrimitiveBlock;
    hpgl_text_start(0.0, b, x, y);
    if (!justify || T.text_mode == 1)
        return;
    const double x3 = B.X(3) + (x - B.X(1)), y3 = B.Y(3) + (y - B.Y(1));
    if (T.justification == 1) {
        x = (x + x3) / 2.0;
        y = (y + y3) / 2.0;
    } else if (T.justification == 2) {
        x = x3;
        y = y3;
    }
}

std::string_view hc_trim_right(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

void hc_colour_invert(int& red, int& green, int& blue)
{
    const int invert = HcOptions(HC_OPT_INVERSION);
    const bool dark = red < 10 && green < 10 && blue < 10;
    const bool light = red > 245 && green > 245 && blue > 245;
    if (invert == 1 || (invert == 2 && (dark || light))) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
}
