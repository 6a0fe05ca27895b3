// GrColourTable: colour numbers 0..255 with their packed RGB values (red in the low byte), the 16
// standard colours and the reduced palette, the nearest-colour search and the colour selection.
#ifndef QR4T_TOOLKIT_GRAPHICS_COLOUR_TABLE_H
#define QR4T_TOOLKIT_GRAPHICS_COLOUR_TABLE_H

#include <array>

struct GrColourTableRecord {
    std::array<int, 256> rgb{};        // packed RGB of every colour number
    std::array<int, 16> standard{};    // the 16 standard colours (palette of 16-colour displays)
    std::array<int, 128> reduced{};    // reduced palette of colour classes 32..128
    std::array<float, 256> hue_cos{};  // HSV cache of the nearest-colour search
    std::array<float, 256> hue_sin{};
    std::array<float, 256> saturation{};
    std::array<float, 256> value{};
};
extern GrColourTableRecord GrColourTable;

// Builds the default table: 16 ramps of 16 shades, the standard colours, the reduced palette.
void IGrColourTableInit();
// Stores one colour n (0..255) and its derived entries (standard slot, reduced entry, HSV cache).
void IGrColourTableSet(int n, int rgb);
// The colour number nearest to rgb: the lowest exact match, else the nearest in the HSV cone.
int IGrColourNearest(int rgb);
// The palette index of colour number n on the display of the current colour class.
int IGrColourDeviceIndex(int n);
void IGrColourRGBGet(int n, int& rgb);
void IGrColourStdRGBGet(int slot, int& rgb);
void IGrColourLowRGBGet(int index, int& rgb);
// Splits a colour: a colour number under colour model 1, else a packed RGB value.
void IGrColourSplit(int colour, int& red, int& green, int& blue);

// Makes the triple current without lookup (the current becomes the previous) and sends op 3 to the
// screen (unless target is 2) and the hardcopy device (unless target is 1).
void IGrColourApply(int number, int rgb, int device, int target);
// The body of IGrColourN: selects the drawing colour (a number under model 1, an RGB under model 2);
// a number outside 0..255 reports error 42 and changes nothing.
void gr_colour_n(int colour);
// Defines colour n: op 28 to screen and hardcopy, then the table entry. n outside 0..255: error 42.
void IGrColourDefine(int n, int rgb, int defer = 0);
// Components clamped to 0..255, packed, and passed to IGrColourDefine.
void IGrPaletteRGB(int n, int red, int green, int blue, int defer = 0);
// Rebuilds the default table and sends op 35 to the screen and the hardcopy device.
void IGrPaletteInit();

// Packed RGB to bytes: red the low byte; each pointer may be null. Division and remainder toward
// zero, so a negative value yields components in -255..0.
void IGrRGBSplit(int rgb, int* red, int* green, int* blue);
// Hue in radians (0..2 pi), saturation and value 0..1.
void IGrRGBToHSV(int rgb, float& hue, float& saturation, float& value);
// GrColourIndexMap: slot of a basic colour number 0..15 in set 0 or 1; -1 for other numbers.
int IGrColourIndexSlot(int number, int set);

#endif
