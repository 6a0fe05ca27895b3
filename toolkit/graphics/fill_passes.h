// The two-pass scheme that every filled shape shares (internal to the graphics core).
#ifndef QR4T_TOOLKIT_GRAPHICS_FILL_PASSES_H
#define QR4T_TOOLKIT_GRAPHICS_FILL_PASSES_H

#include <functional>

// Offers the shape to the hardcopy device (NVAL 1, op) while hardcopy output is on; the driver may
// answer in FILL(6) (emulate the fill) or NVAL.
void gr_shape_open(int op);
// Ends the shape on the hardcopy device (NVAL -1, op).
void gr_shape_close(int op);
// Runs pass 1 (screen, hardcopy switched off) when the screen is on, then pass 2 (hardcopy, screen
// switched off) when the hardcopy is on; each only for styles 0..2 or when its pass flag is set. The
// pass flag is cleared after its pass and the switches are restored at the end.
void gr_fill_passes(const std::function<void(int pass)>& draw);
// Runs one scan, then, when IGrFillColourSwap switches to the second colour of a two-colour fill, the
// scan again half a spacing further on, and switches back.
void gr_scan_two_colour(int pass, float half_spacing, const std::function<void(float offset)>& scan);
// Rounds down to a multiple of step (step >= 1).
double gr_floor_to(double v, int step);
// The first of start, start + spacing, start + 2 spacing, ... that is not below lo. Scans use it to
// skip the lines before the clipping rectangle, so that a shape reaching far outside the area (huge
// user coordinates) costs no more lines than the area holds.
double gr_skip_to(double start, double spacing, double lo);

#endif
