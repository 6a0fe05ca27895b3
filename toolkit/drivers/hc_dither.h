// Colour dither masks: the current drawing colour as three 32-bit ordered-dither masks (HcDitherMask),
// one per channel, for devices with one bit per channel or one bit in all. A mask covers a cell 8
// pixels wide and 4 rows high: bit (y mod 4) * 8 + (x mod 8) set means pixel (x, y) is on.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_DITHER_H
#define QR4T_TOOLKIT_DRIVERS_HC_DITHER_H

#include <array>
#include <cstdint>

using HcDitherMask = std::uint32_t;

// The one-channel rule: intensity v in 0..1, channel index q (2 red or the monochrome intensity,
// 3 green, 4 blue). round(32 v) bits are set in runs spread over the cell, then equal bytes are
// turned against each other so that rows do not line up.
HcDitherMask hc_dither_mask(double v, int q);

// The per-colour table of the raster page: a stored mask per colour number, used for a monochrome
// device in numbered colour mode where the entry is not negative. Nothing fills it yet (all -1).
struct HcDitherTableRecord {
    std::array<int, 256> entry;
    std::array<HcDitherMask, 256> mask;
    HcDitherTableRecord()
    {
        entry.fill(-1);
        mask.fill(0);
    }
};
extern HcDitherTableRecord HcDitherTable;

// The masks of a colour given by its components: colour model 2 (subtractive inks) complements them on
// a colour device; option 6 inverts (1 always, 2 near white and near black); a device of 2 colours
// (HcDeviceBlock.colours) gets one mask of the luminance in all three outputs.
void hc_dither_rgb(int model, int red, int green, int blue, HcDitherMask& r, HcDitherMask& g,
                   HcDitherMask& b);
// The masks of the current drawing colour (GrColourState), with the stored mask of step 6.
void IHcDitherColour(int model, HcDitherMask& r, HcDitherMask& g, HcDitherMask& b);

#endif
