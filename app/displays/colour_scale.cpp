// The colour scales: the flowfield ramp and its bands in the toolkit's colour table, the legend steps,
// and the byte ramp of the OpenGL surface pictures.
#include "app/displays/colour_scale.h"

#include "toolkit/graphics/colour_table.h"

#include <algorithm>
#include <cmath>

ColourRamp VIEW_RAMP;
ColourRamp PICTURE_RAMP;

namespace {

// The scale of colours 1..254 as three running single-precision components: they start at red 0.5,
// green 0.5, blue 255.5 and change by 4 after each colour (green up through 64, blue down through 128,
// red up through 192, green down after that). A colour takes each component truncated toward zero
// and clamped to 0..255, so -0.5 gives 0 and 256.5 gives 255.
struct RampComponents {
    std::array<int, 255> red{}, green{}, blue{};  // index 1..254
};

const RampComponents& ramp_components()
{
    static const RampComponents table = [] {
        RampComponents t;
        float r = 0.5f, g = 0.5f, b = 255.5f;
        auto component = [](float c) { return std::clamp(static_cast<int>(c), 0, 255); };
        for (int n = 1; n <= 254; ++n) {
            t.red[n] = component(r);
            t.green[n] = component(g);
            t.blue[n] = component(b);
            if (n <= 64)
                g += 4.0f;
            else if (n <= 128)
                b -= 4.0f;
            else if (n <= 192)
                r += 4.0f;
            else
                g -= 4.0f;
        }
        return t;
    }();
    return table;
}

void define_extremes()
{
    IGrPaletteRGB(0, 0, 0, 0);
    IGrPaletteRGB(255, 255, 255, 255);
}

}  // namespace

void SET_COLOUR_RAMP()
{
    const RampComponents& t = ramp_components();
    define_extremes();
    for (int n = 1; n <= 254; ++n)
        IGrPaletteRGB(n, t.red[n], t.green[n], t.blue[n]);
}

void SET_BANDED_RAMP(const std::array<int, BANDED_RAMP_ENTRIES>& listed)
{
    const RampComponents& t = ramp_components();
    define_extremes();
    int red = 0, green = 0, blue = 255;  // the remembered colour until the first listed number
    for (int n = 1; n <= 254; ++n) {
        if (std::find(listed.begin(), listed.end(), n) != listed.end()) {
            red = t.red[n];
            green = t.green[n];
            blue = t.blue[n];
        }
        IGrPaletteRGB(n, red, green, blue);
    }
}

int property_colour(double v, double low, double span)
{
    if (span == 0.0 || !std::isfinite(span))
        return 1;
    const double k = (v - low) * 255.0 / span;
    if (!(k >= 1.0))
        return 1;  // below 1, or not a number
    return k > 254.0 ? 254 : static_cast<int>(k);
}

bool LEGEND_STEPS(float v, float& major, float& minor, float& m, int& e)
{
    major = minor = m = 0.0f;
    e = 0;
    // Zero, a negative value, NaN or infinity has no decade: the scaling loops below would never end.
    if (!(v > 0.0f) || !std::isfinite(v))
        return false;
    m = v;
    // Every product is stored as a 4-byte real, with the 4-byte constant 0.1.
    if (v >= 1.0f) {
        while (m > 10.0f) {
            m = static_cast<float>(m * static_cast<double>(0.1f));
            ++e;
        }
    } else {
        while (m < 1.0f) {
            m = static_cast<float>(m * 10.0);
            --e;
        }
    }
    struct Row {
        float below;  // mantissa limit of the row
        float major, minor;
    };
    static constexpr Row rows[] = {
        {1.79f, 0.2f, 0.05f},
        {2.39f, 0.4f, 0.1f},
        {4.49f, 0.5f, 0.1f},
        {5.99f, 1.0f, 0.2f},
    };
    major = 2.0f;
    minor = 0.5f;
    for (const Row& row : rows)
        if (m < row.below) {
            major = row.major;
            minor = row.minor;
            break;
        }
    return true;
}

void FILL_COLOUR_RAMP(ColourRamp& ramp)
{
    constexpr int N = ColourRamp::ENTRIES;
    auto put = [&](int i, int r, int g, int b) {
        ramp.bytes[i] = static_cast<std::uint8_t>(r);
        ramp.bytes[N + i] = static_cast<std::uint8_t>(g);
        ramp.bytes[2 * N + i] = static_cast<std::uint8_t>(b);
    };
    // Steps of 4 in every run; 255, not 256, closes each rising run.
    put(0, 0, 0, 0);
    for (int i = 1; i <= 64; ++i)
        put(i, 0, 4 * (i - 1), 255);
    for (int i = 65; i <= 128; ++i)
        put(i, 0, 255, 256 - 4 * (i - 64));
    for (int i = 129; i <= 191; ++i)
        put(i, 4 * (i - 128), 255, 0);
    for (int i = 192; i <= 255; ++i)
        put(i, 255, 256 - 4 * (i - 191), 0);
    put(256, 200, 200, 200);
}
