// The colours of the logical palette that the screen driver builds for a palette display: n ramp
// entries and the 16 basic colours after them. Portable, so that the table is tested in both builds.
#ifndef QR4T_TOOLKIT_GRAPHICS_PALETTE_COLOURS_H
#define QR4T_TOOLKIT_GRAPHICS_PALETTE_COLOURS_H

#include <vector>

// Packed RGB of palette entries 0 .. n+15 for a display of n colours (16, 32, 64, 128 or 256); the two
// system colours (entries n+16, n+17) are the platform's and not included. Other n give an empty list.
std::vector<int> gr_palette_colours(int n);

#endif
