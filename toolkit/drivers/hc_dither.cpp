// Colour dither masks.
#include "toolkit/drivers/hc_dither.h"

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <cmath>

HcDitherTableRecord HcDitherTable;

namespace {

unsigned rotate_byte(unsigned b, int s)
{
    s %= 8;
    return s == 0 ? b : ((b << s) | (b >> (8 - s))) & 0xFFu;
}

// Equal bytes of the mask would repeat one row pattern: later equal bytes are rotated by q + 1, and
// earlier bytes equal to a rotated one by q.
HcDitherMask decorrelate(HcDitherMask mask, int q)
{
    unsigned b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = mask >> (8 * i) & 0xFFu;
    for (int k = 0; k < 4; ++k) {
        if (b[k] == 0x00u || b[k] == 0xFFu)
            continue;
        for (int j = k + 1; j < 4; ++j) {
            if (b[j] == b[k])
                b[j] = rotate_byte(b[j], q + 1);
            for (int i = j - 1; i >= 0; --i)
                if (b[i] == b[j])
                    b[i] = rotate_byte(b[i], q);
        }
    }
    return b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24;
}

}  // namespace

HcDitherMask hc_dither_mask(double v, int q)
{
    const int n = std::clamp(static_cast<int>(v * 32.0 + 0.5), 0, 32);
    if (n == 0)
        return 0;
    if (v > 0.975)
        return 0xFFFFFFFFu;
    const int on = std::max(1, n / std::max(1, 32 - n));
    const int off = std::max(1, (32 - n) / std::max(1, n));
    HcDitherMask mask = 0;
    auto clear = [&](int bit) { return (mask >> bit & 1u) == 0; };
    int p = ((n / q) * (q + 1)) % 32;
    int run = 0;
    int remaining = n;
    for (int step = 0; step < 32; ++step) {
        if (clear(p) && remaining > 0 && run < on) {
            mask |= 1u << p;
            ++run;
            --remaining;
            p = (p + 1) % 32;
        } else {
            p = (p + off) % 32;
            run = 0;
        }
    }
    for (int i = 0; i < 32 && remaining > 0; ++i) {
        if (clear(i)) {
            mask |= 1u << i;
            if (--remaining == 0)
                break;
        }
        if (clear(31 - i)) {
            mask |= 1u << (31 - i);
            --remaining;
        }
    }
    return decorrelate(mask, q);
}

void hc_dither_rgb(int model, int red, int green, int blue, HcDitherMask& r, HcDitherMask& g, HcDitherMask& b)
{
    const int option6 = HcOptions(HC_OPT_INVERSION);
    const bool near_white = red > 245 && green > 245 && blue > 245;
    const bool near_black = red < 10 && green < 10 && blue < 10;
    auto complement = [&] {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    };
    if (option6 == 1 || (option6 == 2 && (near_white || near_black)))
        complement();
    const bool colour = HcDeviceBlock.colours > 2;
    if (colour && model == 2)
        complement();
    if (colour) {
        r = hc_dither_mask(red / 255.0, 2);
        g = hc_dither_mask(green / 255.0, 3);
        b = hc_dither_mask(blue / 255.0, 4);
        const int spread = std::max({red, green, blue}) - std::min({red, green, blue});
        if (spread < 4)
            g = b = r;
        return;
    }
    const double v = (double(0.35f) * red + double(0.59f) * green + double(0.11f) * blue) / 255.0;
    HcDitherMask m = hc_dither_mask(v, 2);
    if (option6 >= 1)
        m = ~m;
    r = g = b = m;
}

void IHcDitherColour(int model, HcDitherMask& r, HcDitherMask& g, HcDitherMask& b)
{
    const auto& C = GrColourState;
    int red = 0, green = 0, blue = 0;
    IGrColourSplit(C.model == 1 ? C.number[GR_CURRENT] : C.rgb[GR_CURRENT], red, green, blue);
    hc_dither_rgb(model, red, green, blue, r, g, b);
    const int number = std::clamp(C.number[GR_CURRENT], 0, 255);
    if (HcDeviceBlock.colours <= 2 && C.model == 1 &&
        HcDitherTable.entry[static_cast<std::size_t>(number)] >= 0)
        r = HcDitherTable.mask[static_cast<std::size_t>(number)];
}
