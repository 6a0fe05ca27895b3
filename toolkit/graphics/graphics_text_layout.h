// Placement of graphics text: the text angle kept in 0..360 degrees, and where a justified text starts,
// ends and leaves the current point. Portable arithmetic used by the graphics-text operations.
#ifndef QR4T_TOOLKIT_GRAPHICS_GRAPHICS_TEXT_LAYOUT_H
#define QR4T_TOOLKIT_GRAPHICS_GRAPHICS_TEXT_LAYOUT_H

// The angle in 0 <= angle < 360: (angle + 360 (round(|angle|) div 360 + 1)) modulo 360, round being to
// the nearest integer.
float text_angle_normalise(float angle);

// Where a text lies, in device coordinates.
struct TextPlacement {
    float start_x, start_y;  // where the glyphs start
    float end_x, end_y;      // end of the text at the requested cell
    float next_x, next_y;    // the current point after the text (horizontal text)
};

// Horizontal text about the point (x, y) with justification 0 left, 1 centre, 2 right, along the
// direction (co, sB): `length` is its length with the cell in use, `requested_length` and
// `requested_cell` the same at the requested cell width. The text starts J L before the point
// (J = justification / 2), ends (1 - J) L' after it, and the current point goes (1 - J) L' + J Wc'
// past it: the end of left-justified text, half a cell past the middle of centred text, one cell past
// the point of right-justified text.
TextPlacement horizontal_text_placement(float x, float y, int justification, float length,
                                        float requested_length, float requested_cell, float co, float sB);

// Vertical text of n cells with the cell height vector (hx, hy): the column starts J n h above the
// point, so that justification 1 centres it on the point and 2 puts its foot there. Only the start is
// set; the current point does not move.
TextPlacement vertical_text_placement(float x, float y, int justification, int n, float hx, float hy);

#endif
