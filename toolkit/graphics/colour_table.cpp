// The colour table, the nearest-colour search, the device palette index and the colour selection.
#include "toolkit/graphics/colour_table.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"

#include "toolkit/graphics/gr_driver.h"

#include <algorithm>
#include <cmath>

GrColourTableRecord GrColourTable;

namespace {

// GrColourIndexMap: two sets of 8 palette slots for the basic colour numbers.
constexpr int index_map[2][8] = {{0, 4, 6, 2, 3, 1, 5, 7}, {0, 5, 3, 4, 1, 6, 2, 7}};

// The 16 default ramps: first value, step per shade, and which components carry it.
struct Ramp {
    int first;
    int step;
    bool red, green, blue;
};
constexpr Ramp ramps[16] = {
    {255, -4, true, true, true},  {195, 4, true, false, false}, {131, 4, true, false, false},
    {195, 4, true, true, false},  {131, 4, true, true, false},  {195, 4, false, true, false},
    {131, 4, false, true, false}, {195, 4, false, true, true},  {131, 4, false, true, true},
    {195, 4, false, false, true}, {131, 4, false, false, true}, {195, 4, true, false, true},
    {131, 4, true, false, true},  {60, -4, true, true, true},   {124, -4, true, true, true},
    {191, -4, true, true, true},
};

// Colour numbers whose default colours are the standard colours 0..15.
constexpr int standard_source[16] = {0, 175, 111, 143, 47, 207, 79, 239, 240, 159, 95, 127, 31, 191, 63, 223};

int pack(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

// Refreshes the HSV cache entry of colour n.
void cache_hsv(int n)
{
    float h = 0.0f, s = 0.0f, v = 0.0f;
    IGrRGBToHSV(GrColourTable.rgb[n], h, s, v);
    GrColourTable.hue_cos[n] = static_cast<float>(std::cos(double(h)));
    GrColourTable.hue_sin[n] = static_cast<float>(std::sin(double(h)));
    GrColourTable.saturation[n] = s;
    GrColourTable.value[n] = v;
}

bool reduced_class(int nc)
{
    return nc >= 32 && nc <= 128;
}

// Sends op to the screen driver unless target is 2 and to the hardcopy device unless target is 1.
void send_to(int op, int target)
{
    if (target != 2)
        IGrScreenDriver(op);
    if (target != 1)
        IHcSendOp(op);
}

}  // namespace

void IGrRGBSplit(int rgb, int* red, int* green, int* blue)
{
    if (red)
        *red = rgb % 256;
    if (green)
        *green = (rgb / 256) % 256;
    if (blue)
        *blue = (rgb / 65536) % 256;
}

void IGrRGBToHSV(int rgb, float& hue, float& saturation, float& value)
{
    int ir = 0, ig = 0, ib = 0;
    IGrRGBSplit(rgb, &ir, &ig, &ib);
    const float r = static_cast<float>(ir / 255.0);
    const float g = static_cast<float>(ig / 255.0);
    const float b = static_cast<float>(ib / 255.0);
    const float vmax = std::max({r, g, b});
    const float vmin = std::min({r, g, b});
    const float delta = vmax - vmin;
    value = vmax;
    saturation = vmax == 0.0f ? 0.0f : static_cast<float>(double(delta) / vmax);
    if (saturation == 0.0f) {
        hue = 0.0f;
        return;
    }
    const double rc = (double(vmax) - r) / delta;
    const double gc = (double(vmax) - g) / delta;
    const double bc = (double(vmax) - b) / delta;
    // Two components closer than 0.039 count as equal when the hexcone sector is chosen.
    auto equal = [](float a, float c) { return std::fabs(double(a) - c) < 0.039; };
    double h = 0.0;
    if (equal(r, vmax))
        h = equal(g, vmin) ? 5.0 + bc : 1.0 - gc;
    else if (equal(g, vmax))
        h = equal(b, vmin) ? 1.0 + rc : 3.0 - bc;
    else
        h = equal(r, vmin) ? 3.0 + gc : 5.0 - rc;
    hue = static_cast<float>(h * 60.0 * double(0.017453292f));
}

int IGrColourIndexSlot(int number, int set)
{
    if (number < 0 || number > 15 || set < 0 || set > 1)
        return -1;
    return index_map[set][number & 7] + (number >= 8 ? 8 : 0);
}

void IGrColourTableInit()
{
    auto& T = GrColourTable;
    for (int r = 0; r < 16; ++r) {
        const Ramp& ramp = ramps[r];
        for (int k = 0; k < 16; ++k) {
            const int c = ramp.first + k * ramp.step;
            T.rgb[16 * r + k] = pack(ramp.red ? c : 0, ramp.green ? c : 0, ramp.blue ? c : 0);
        }
    }
    for (int i = 0; i < 16; ++i)
        T.standard[i] = T.rgb[standard_source[i]];
    const int nc = GrColourState.screen_class;
    if (reduced_class(nc)) {
        const int step = 256 / nc;
        for (int i = 0; i < nc; ++i) {
            const int j = i * step;
            T.reduced[i] = (j < 16 || j > 239) ? T.rgb[j] : T.rgb[j + step - 1];
        }
    }
    for (int n = 0; n < 256; ++n)
        cache_hsv(n);
}

void IGrColourTableSet(int n, int rgb)
{
    if (n < 0 || n > 255)
        return;
    auto& T = GrColourTable;
    T.rgb[n] = rgb;
    // Every number of a ramp maps to one standard slot; the last colour defined in it sets the slot.
    const int g = ((n + 16) / 32) % 8;
    const int slot = index_map[0][g] + ((n / 16) % 2 == 1 ? 8 : 0);
    T.standard[slot] = rgb;
    const int nc = GrColourState.screen_class;
    if (reduced_class(nc))
        T.reduced[(nc * n) / 256] = rgb;
    cache_hsv(n);
}

int IGrColourNearest(int rgb)
{
    const auto& T = GrColourTable;
    for (int n = 0; n < 256; ++n)
        if (T.rgb[n] == rgb)
            return n;
    float h = 0.0f, s = 0.0f, v = 0.0f;
    IGrRGBToHSV(rgb, h, s, v);
    // Points in the HSV cone: (s v cos h, s v sin h, v).
    const double px = double(s) * v * std::cos(double(h));
    const double py = double(s) * v * std::sin(double(h));
    const double pz = v;
    double best = 9999999.0;
    int nearest = 0;
    for (int n = 0; n < 256; ++n) {
        const double sv = double(T.saturation[n]) * T.value[n];
        const double dx = sv * T.hue_cos[n] - px;
        const double dy = sv * T.hue_sin[n] - py;
        const double dz = double(T.value[n]) - pz;
        const double d = dx * dx + dy * dy + dz * dz;
        if (d < best) {  // strictly smaller: on a tie the lower number wins
            best = d;
            nearest = n;
        }
    }
    return nearest;
}

int IGrColourDeviceIndex(int n)
{
    const int nc = GrColourState.screen_class;
    if (nc == 256)
        return n % 256;
    if (n == 0)
        return 0;
    if (nc <= 2)
        return 1;
    if (nc <= 8)
        return index_map[0][((n + 16) / 32) % 8];
    if (nc == 16) {
        const int m = n + 16;
        return index_map[0][(m / 32) % 8] + (m % 32 < 16 ? 8 : 0);
    }
    return static_cast<int>((static_cast<long long>(n) * nc) / 256);
}

void IGrColourRGBGet(int n, int& rgb)
{
    rgb = (n >= 0 && n <= 255) ? GrColourTable.rgb[n] : 0;
}

void IGrColourStdRGBGet(int slot, int& rgb)
{
    rgb = (slot >= 0 && slot <= 15) ? GrColourTable.standard[slot] : 0;
}

void IGrColourLowRGBGet(int index, int& rgb)
{
    rgb = (index >= 0 && index <= 127) ? GrColourTable.reduced[index] : 0;
}

void IGrColourSplit(int colour, int& red, int& green, int& blue)
{
    int rgb = colour;
    if (GrColourState.model == 1)
        IGrColourRGBGet(colour, rgb);
    IGrRGBSplit(rgb, &red, &green, &blue);
}

void IGrColourApply(int number, int rgb, int device, int target)
{
    auto& C = GrColourState;
    C.device[GR_PREVIOUS] = C.device[GR_CURRENT];
    C.number[GR_PREVIOUS] = C.number[GR_CURRENT];
    C.rgb[GR_PREVIOUS] = C.rgb[GR_CURRENT];
    C.device[GR_CURRENT] = device;
    C.number[GR_CURRENT] = number;
    C.rgb[GR_CURRENT] = rgb;
    send_to(GrOpColour, target);
}

void gr_colour_n(int colour)
{
    int number = colour;
    int rgb = 0;
    if (GrColourState.model == 1) {
        if (colour < 0 || colour > 255) {
            IErrorReport(GR_ERR_COLOUR);
            return;
        }
        rgb = GrColourTable.rgb[colour];
    } else {
        number = IGrColourNearest(colour);
        rgb = colour;
    }
    IGrColourApply(number, rgb, IGrColourDeviceIndex(number), 0);
}

// A colour number outside 0..255 would write past the table: it is refused with error 42.
void IGrColourDefine(int n, int rgb, int defer)
{
    if (n < 0 || n > 255) {
        IErrorReport(GR_ERR_COLOUR);
        return;
    }
    auto& B = GrPrimitiveBlock;
    B.IX(1) = rgb;
    B.IX(4) = defer;
    B.NVAL = IGrColourDeviceIndex(n);
    B.NPTS = n;
    gr_send_both(GrOpDefineColour);
    IGrColourTableSet(n, rgb);
}

void IGrPaletteRGB(int n, int red, int green, int blue, int defer)
{
    auto clamp = [](int c) { return std::clamp(c, 0, 255); };
    IGrColourDefine(n, pack(clamp(red), clamp(green), clamp(blue)), defer);
}

void IGrPaletteInit()
{
    IGrColourTableInit();
    gr_send_both(GrOpLoadPalette);
}
