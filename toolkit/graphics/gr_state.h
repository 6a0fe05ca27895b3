// The process-wide graphics state: one record per group, one instance each, shared by every window and
// bitmap (selecting another surface re-derives only the device values from the kept area and units).
//
// Written by the graphics core (area, units, lines, colours, text set-up, target selection); the
// stroke-font and graphics-text code reads GrTextState and writes its text fields; the screen and
// hardcopy drivers read all of it. Portable: no platform types.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_STATE_H
#define QR4T_TOOLKIT_GRAPHICS_GR_STATE_H

#include <array>

// A small fixed array subscripted from 1, as the records' fields are numbered (IX(1..4), FILL(1..7)).
template <class T, int N>
struct GrWords {
    std::array<T, N> v{};
    T& operator()(int i) { return v[static_cast<std::size_t>(i - 1)]; }
    const T& operator()(int i) const { return v[static_cast<std::size_t>(i - 1)]; }
};

// Kinds of drawing surface; GrTarget.kind keeps any other number it is given, as chosen.
enum GrTargetKind : int {
    TARGET_WINDOW = 1,         // a toolkit window
    TARGET_BITMAP = 2,         // an off-screen bitmap
    TARGET_PICTURE_FIELD = 3,  // a picture field of the current dialog (or the dialog itself)
};

// GrTarget: the current drawing surface.
struct GrTargetRecord {
    int kind = TARGET_WINDOW;  // a GrTargetKind
    int number = 0;            // window 0..20, bitmap 1..20, or dialog control id (0 = the dialog itself)
    int reselect = 0;          // non-zero while window selection or a resize re-applies the area
    int last_width = 0;        // pixel size of the last selected bitmap or field
    int last_height = 0;
};

// GrArea: the graphics area as fractions 0..1 of the drawing surface, y from the bottom.
struct GrAreaRecord {
    float x1 = 0.0f, y1 = 0.0f;  // lower-left corner
    float x2 = 1.0f, y2 = 1.0f;  // upper-right corner
    float width = 1.0f;          // x2 - x1
    float height = 1.0f;         // y2 - y1
    float text_width = 1.0f;     // width and height fractions at the last text-scale update
    float text_height = 1.0f;
};

// GrUnits: the user-unit window mapped onto the area.
struct GrUnitsRecord {
    float x1 = 0.0f, y1 = 0.0f;   // left, bottom
    float x2 = 1.0f, y2 = 1.0f;   // right, top
    float x_range = 1.0f;         // x2 - x1
    float y_range = 1.0f;         // y2 - y1
    float aspect_x_range = 1.0f;  // copy of the ranges for aspect corrections (arrows, arcs)
    float aspect_y_range = 1.0f;
    float text_x_range = 1.0f;  // ranges kept at the last text-scale update
    float text_y_range = 1.0f;
    float sx = 1.0f;  // device units per user unit, x
    float sy = 1.0f;  // device units per user unit, y
};

// GrCurrentPoint: the pen position in user units, as the caller gave it (never clipped).
struct GrCurrentPointRecord {
    float x = 0.0f;
    float y = 0.0f;
};

// Index of the (previous, current) pairs of GrColourState.
constexpr int GR_PREVIOUS = 0;
constexpr int GR_CURRENT = 1;

// GrColourState: the colour model and the (previous, current) colour triples.
struct GrColourStateRecord {
    int model = 1;                        // 1 colours are numbers 0..255, 2 packed RGB values
    std::array<int, 2> device{0, 0};      // device colour value (palette index on the display)
    std::array<int, 2> number{0, 223};    // colour number
    std::array<int, 2> rgb{16777215, 0};  // packed RGB: red low byte, green, blue
    int screen_class = 256;               // display colour class (2, 8, 16, 32..128, 256)
    int hardcopy_class = 256;             // colour class kept for the hardcopy device
};

// GrLineState: read by the screen driver for ops 27, 29 and 30.
struct GrLineStateRecord {
    int plot_mode = 0;   // 0 copy, 1 OR, 2 AND, 3 XOR
    int line_type = 0;   // 0..6: solid, dot, dash, dash-dot, dash-dot-dot, dash-dot, dash
    int line_width = 1;  // pen width in pixels
};

// GrTextState: the graphics-text settings read by the font selection (op 21) and the text ops.
struct GrTextStateRecord {
    float char_width = 0.01333333f;   // character width as a fraction of the area width
    float char_height = 0.04f;        // character height as a fraction of the area height
    float slant = 0.0f;               // italic slant of stroke glyphs (horizontal shear)
    float angle = 0.0f;               // text angle in degrees
    float angle_cos = 1.0f;           // cosine of the angle
    float angle_sin = 0.0f;           // sine of the angle
    float angle_sin_aspect = 0.0f;    // sine corrected by the area's aspect ratio
    float angle_sin_aspect2 = 0.0f;   // sine corrected by the inverse aspect ratio
    int font_kind = 0;                // 0 hardware (device) font, non-zero a stroke font is in use
    int hardware_face = 1;            // 0 none, 1 fixed pitch, 2 proportional
    int effective_face = 1;           // face sent with op 21
    int family = 0;                   // 0 user-named face, 1 Courier New, 2 Arial, 3 Times, 4 Symbol
    int style = 0;                    // bits: 1 bold, 2 italic, 4 underline, 8 text on a filled box
    int text_mode = 0;                // 0 whole string, 1 and 2 character by character
    int vertical = 0;                 // vertical-text flag
    int justification = 1;            // 0 left, 1 centre, 2 right of the text about its point
    int number_justification = 2;     // index 0..2 into "LCR" for numbers written as text
    std::array<char, 100> face_name;  // user face name for family 0, blank-padded
    float advance_x = 0.0f;           // cell advance vector, device units
    float advance_y = 0.0f;
    float cell_width = 0.0f;  // character cell, device units
    float cell_height = 0.0f;
    float screen_cells_x = 0.0f;  // the screen's character cells per surface width (op 21)
    float screen_cells_y = 0.0f;  // and per surface height
    int font_height = 0;          // measured height and ascent of the screen font (op 21)
    int font_ascent = 0;
    int centre_glyphs = 0;     // stroke renderer centres each glyph in its cell when non-zero
    int single_character = 1;  // set around single-character text ops

    GrTextStateRecord() { face_name.fill(' '); }
};

// GrOutputSwitch: which outputs receive the driver ops.
struct GrOutputSwitchRecord {
    int screen = 0;    // 1 while the screen receives ops (the graphics reset turns it on)
    int hardcopy = 0;  // non-zero while a hardcopy is open
};

// GrSurface: facts of the current drawing surface.
struct GrSurfaceRecord {
    int width = 0;            // W, pixels
    int height = 0;           // H, pixels
    int max_column = -1;      // W - 1
    int max_row = -1;         // H - 1
    float extent_x = -0.01f;  // W - 0.01: largest device x
    float extent_y = -0.01f;  // H - 0.01
    float aspect = 1.0f;      // W / H, 1 when H = 0
    int far_x = 0;            // W and H again: far corner of the clear operation
    int far_y = 0;
};

// GrDeviceArea: the graphics area in device coordinates (pixel units, y upward) of the current surface.
struct GrDeviceAreaRecord {
    float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;      // real bounds: the clipping rectangle
    float wx1 = 0.0f, wy1 = 0.0f, wx2 = 0.0f, wy2 = 0.0f;  // bounds widened by 0.001 for point tests
    int ix1 = 0, iy1 = 0, ix2 = 0, iy2 = 0;                // pixel bounds (real bounds truncated)
    int pixel_width = 0;                                   // ix2 - ix1 + 1
    int pixel_height = 0;                                  // iy2 - iy1 + 1
    float width = 0.0f;                                    // x2 - x1
    float height = 0.0f;                                   // y2 - y1
    float text_width = 0.0f;                               // real width and height at the last
    float text_height = 0.0f;                              // text-scale update
};

extern GrTargetRecord GrTarget;
extern GrAreaRecord GrArea;
extern GrUnitsRecord GrUnits;
extern GrCurrentPointRecord GrCurrentPoint;
extern GrColourStateRecord GrColourState;
extern GrLineStateRecord GrLineState;
extern GrTextStateRecord GrTextState;
extern GrOutputSwitchRecord GrOutputSwitch;
extern GrSurfaceRecord GrSurface;
extern GrDeviceAreaRecord GrDeviceArea;

// Puts every graphics record back to its initial value: the state above and the driver records of
// gr_driver.h (primitive block, polyline buffer, device information, screen op flags, capabilities).
// The tests start from it; the program's reset (IGrInitGraphics) keeps some records instead.
void gr_records_clear();

#endif
