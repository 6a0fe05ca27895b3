// The logical palette's colours for palette displays.
#include "toolkit/graphics/palette_colours.h"

namespace {

int pack(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

// The colour of source index v (0..255): 16 ramps of 16 shades, as the default colour table.
int ramp_colour(int v)
{
    const int c = 4 * v;
    switch (v / 16) {
    case 0: return pack(255 - c, 255 - c, 255 - c);
    case 1: return pack(c + 131, 0, 0);
    case 2: return pack(c + 3, 0, 0);
    case 3: return pack(c + 3, c + 3, 0);
    case 4: return pack(c - 125, c - 125, 0);
    case 5: return pack(0, c - 125, 0);
    case 6: return pack(0, c - 253, 0);
    case 7: return pack(0, c - 253, c - 253);
    case 8: return pack(0, c - 381, c - 381);
    case 9: return pack(0, 0, c - 381);
    case 10: return pack(0, 0, c - 509);
    case 11: return pack(c - 509, 0, c - 509);
    case 12: return pack(c - 637, 0, c - 637);
    case 13: return pack((223 - v) * 4, (223 - v) * 4, (223 - v) * 4);
    case 14: return pack((239 - v) * 4 + 64, (239 - v) * 4 + 64, (239 - v) * 4 + 64);
    default: return pack((255 - v) * 4 + 131, (255 - v) * 4 + 131, (255 - v) * 4 + 131);
    }
}

}  // namespace

std::vector<int> gr_palette_colours(int n)
{
    if (n != 16 && n != 32 && n != 64 && n != 128 && n != 256)
        return {};
    std::vector<int> colours(static_cast<std::size_t>(n), 0);
    if (n == 16) {
        colours = {pack(255, 255, 255), pack(0, 0, 191),   pack(0, 191, 0),   pack(0, 191, 191),
                   pack(191, 0, 0),     pack(191, 0, 191), pack(191, 191, 0), pack(64, 64, 64),
                   pack(191, 191, 191), pack(0, 0, 255),   pack(0, 255, 0),   pack(0, 255, 255),
                   pack(255, 0, 0),     pack(255, 0, 255), pack(255, 255, 0), pack(0, 0, 0)};
    } else {
        // Entry k takes source index v with k = v / s; each ramp is walked from its first index + s - 1
        // in steps of s, except the ramps at 0 and 240, which start at their first index.
        const int s = 256 / n;
        for (int ramp = 0; ramp < 16; ++ramp) {
            const int first = 16 * ramp;
            const int start = (ramp == 0 || ramp == 15) ? first : first + s - 1;
            for (int v = start; v < first + 16; v += s)
                colours[static_cast<std::size_t>(v / s)] = ramp_colour(v);
        }
    }
    // The basic colours appended after the ramps.
    const int basic[16] = {pack(0, 0, 0),     pack(191, 0, 0), pack(191, 191, 0), pack(0, 191, 0),
                           pack(0, 191, 191), pack(0, 0, 191), pack(191, 0, 191), pack(191, 191, 191),
                           pack(64, 64, 64),  pack(255, 0, 0), pack(255, 255, 0), pack(0, 255, 0),
                           pack(0, 255, 255), pack(0, 0, 255), pack(255, 0, 255), pack(255, 255, 255)};
    colours.insert(colours.end(), basic, basic + 16);
    return colours;
}
