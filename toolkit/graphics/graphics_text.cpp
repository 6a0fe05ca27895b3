// Graphics text: font selection, text angle, stroke glyph output and text placement on the outputs.

#include "toolkit/graphics/graphics_text.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/fill_shapes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/graphics_text_layout.h"
#include "toolkit/graphics/line_clip.h"
#include "toolkit/graphics/number_text.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/stroke_font_glyphs.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

//--- settings

void IGrTextAngle(float angle)
{
    auto& T = GrTextState;
    T.angle = text_angle_normalise(angle);
    // The aspect factor K as kept at the last area or unit change. The device coordinates of the
    // graphics core are pixels, so the surface's own aspect (W / H in coordinates normalised to the
    // surface) is already in them; K keeps the user-unit and area-fraction terms.
    double k = 1.0;
    const double units = double(GrUnits.text_x_range) / GrUnits.text_y_range;
    const double area = double(GrArea.text_height) / GrArea.text_width;
    if (std::isfinite(units) && std::isfinite(area) && units * area > 0.0) {
        k = std::fabs(units) * area;
    }
    const double r = double(T.angle) * 3.14159265358979323846 / 180.0;
    T.angle_cos = static_cast<float>(std::cos(r));
    T.angle_sin = static_cast<float>(std::sin(r));
    T.angle_sin_aspect = static_cast<float>(k * std::sin(r));
    T.angle_sin_aspect2 = static_cast<float>(std::sin(r) / k);
    gr_send_both(GrOpTextAngle);
}

static bool face_name_blank()
{
    const auto& name = GrTextState.face_name;
    return std::all_of(name.begin(), name.end(), [](char c) { return c == ' ' || c == '\0'; });
}

void IGrFontSelect()
{
    auto& T = GrTextState;
    T.effective_face = T.hardware_face != 0 ? T.hardware_face : (T.text_mode != 0 ? 2 : 1);
    // The screen driver makes its font from the family word: the effective face, or the user-named
    // face (0) when one is named.
    T.family = T.hardware_face == 0 && !face_name_blank() ? 0 : T.effective_face;
    IHcSendOp(GrOpFont);
    if (GrOutputSwitch.screen != 0) {
        if (T.font_kind == 0) {
            IGrScreenDriver(GrOpFont);
        }
    } else {
        // Cells of the requested size per surface width and height.
        const double w = double(GrArea.width) * T.char_width;
        const double h = double(GrArea.height) * T.char_height;
        T.screen_cells_x = w > 0.0 ? static_cast<float>(1.0 / w) : 0.0f;
        T.screen_cells_y = h > 0.0 ? static_cast<float>(1.0 / h) : 0.0f;
    }
}

void IGrCharSize(float width, float height)
{
    GrTextState.char_width = width;
    GrTextState.char_height = height;
    IGrFontSelect();
}

void gr_char_scale(float width_factor, float height_factor)
{
    const float w = width_factor > 0.0f ? width_factor : 1.0f;
    const float h = height_factor > 0.0f ? height_factor : 1.0f;
    IGrCharSize(static_cast<float>(w / 75.0), static_cast<float>(h / 25.0));
}

void IGrLineType(int type)
{
    GrLineState.line_type = type >= 0 && type <= 6 ? type : 0;
    gr_send_both(GrOpLineType);
}

// Text mode when no option asks otherwise: the stroke font's spacing, else proportional as the device
// measures, fixed pitch for "Courier New".
static int default_text_mode()
{
    const auto& T = GrTextState;
    if (T.font_kind != 0) {
        return GrStrokeFont.proportional;
    }
    return T.hardware_face == 1 ? 0 : 2;
}

// The bold or plain font of the family of the active font ("fixed", "swiss" or "roman").
static void reinstall_family_weight()
{
    const std::string_view family = std::string_view(GrStrokeFont.name).substr(0, 5);
    if (family == "fixed") {
        IGrStrokeFontFixed();
    } else if (family == "swiss") {
        IGrStrokeFontSwiss();
    } else if (family == "roman") {
        IGrStrokeFontRoman();
    }
}

void gr_char_font(std::optional<int> type, std::optional<int> style, std::optional<float> width,
                  std::optional<float> height, std::optional<std::string_view> name,
                  std::optional<int> option)
{
    auto& T = GrTextState;
    bool changed = false;
    // 1. The kind of font.
    if (type) {
        if (*type == 1) {
            T.font_kind = 1;
            T.text_mode = GrStrokeFont.proportional;
        } else if (*type == 2) {
            T.font_kind = 0;
            T.text_mode = T.hardware_face == 1 ? 0 : 2;
        } else if (*type >= 100 && *type <= 104) {
            T.hardware_face = *type - 100;
            T.text_mode = *type == 101 ? 0 : 2;
            T.font_kind = 0;
            changed = true;
        }
    }
    GrStrokeFont.stroke_in_use = T.font_kind;
    // 2. Size.
    if (width) {
        if (*width > 0.0f) {
            T.char_width = *width;
        }
        changed = true;
    }
    if (height) {
        if (*height > 0.0f) {
            T.char_height = *height;
        }
        changed = true;
    }
    // 3. Style; 4. a filled stroke font follows the bold bit with its other weight.
    if (style) {
        if (T.font_kind == 0 && ((*style ^ T.style) & 7) != 0) {
            changed = true;
        }
        T.style = *style;
    }
    if ((T.style & 1) != GrStrokeFont.bold && T.font_kind != 0 && GrStrokeFont.mode == 0) {
        reinstall_family_weight();
    }
    // 5. Italic slant of stroke glyphs.
    if ((type || style) && T.font_kind != 0) {
        T.slant = (T.style & 2) != 0 ? ITALIC_SLANT : 0.0f;
    }
    // 6. Text mode option.
    if (option) {
        const int before = T.text_mode;
        if (*option == 0) {
            T.text_mode = default_text_mode();
        } else if (*option == 1 && (T.font_kind != 0 || T.hardware_face == 0)) {
            T.text_mode = 0;
        } else if (*option == 2 && (T.font_kind != 0 || T.hardware_face != 1)) {
            T.text_mode = 1;
        }
        if (T.font_kind == 0 && T.text_mode != before) {
            changed = true;
        }
    }
    // 7. Face name of face 0.
    if (name && T.hardware_face == 0) {
        T.face_name.fill(' ');
        std::copy_n(name->begin(), std::min(name->size(), T.face_name.size()), T.face_name.begin());
        changed = true;
    }
    // 8. Face 0 needs a name.
    if (T.hardware_face == 0 && T.font_kind == 0 && face_name_blank()) {
        IErrorReport(GR_ERR_NO_FACE_NAME);
        T.effective_face = T.text_mode != 0 ? 2 : 1;
    }
    if (changed) {
        IGrFontSelect();
    }
}

//--- stroke fonts by family

void IGrStrokeFontFixed()
{
    const int bold = GrTextState.style % 2;
    bold != 0 ? IGrStrokeFontFixedBold() : IGrStrokeFontFixedPlain();
    GrStrokeFont.bold = bold;
}

void IGrStrokeFontRoman()
{
    const int bold = GrTextState.style % 2;
    bold != 0 ? IGrStrokeFontRomanBold() : IGrStrokeFontRomanPlain();
    GrStrokeFont.bold = bold;
}

void IGrStrokeFontSwiss()
{
    const int bold = GrTextState.style % 2;
    bold != 0 ? IGrStrokeFontSwissBold() : IGrStrokeFontSwissPlain();
    GrStrokeFont.bold = bold;
}

void IGrStrokeFontSymbol()
{
    const StrokeFontData& d = STROKE_FONT_SYMBOL;
    IGrStrokeFontInstall(d.cell_width, d.cell_height, d.x_extent, d.y_extent, d.charset, d.mode,
                         d.proportional, 0, d.name, d.strokes, d.lower, d.upper);
    GrStrokeFont.bold = GrTextState.style % 2;
}

//--- widths and stroke output

float IGrHardTextWidth(std::string_view text, int hardware)
{
    const auto& T = GrTextState;
    if (T.text_mode == 0) {
        return static_cast<float>(text.size());
    }
    if (T.text_mode == 2 && hardware == 0) {
        auto& B = GrPrimitiveBlock;
        const int n = static_cast<int>(std::min<std::size_t>(text.size(), 255));
        B.TEXT.fill(' ');
        std::copy_n(text.begin(), n, B.TEXT.begin());
        B.NVAL = n;
        B.NPTS = 0;
        if (GrOutputSwitch.screen != 0) {
            IGrScreenDriver(GrOpTextWidth);
        } else {
            IHcSendOp(GrOpTextWidth);
        }
        if (B.NPTS == 1 && GrSurface.extent_x > 0.0f) {
            const float cells = static_cast<float>(double(B.NVAL) * T.screen_cells_x / GrSurface.extent_x);
            B.NPTS = 0;
            return cells;
        }
    }
    return stroke_text_cells(text, T.text_mode, GrStrokeFont.charset);
}

// The text settings that the stroke layout reads.
static StrokeTextSettings stroke_settings()
{
    const auto& T = GrTextState;
    StrokeTextSettings s;
    s.co = T.angle_cos;
    s.sB = T.angle_sin_aspect;
    s.sA = T.angle_sin_aspect2;
    s.slant = T.slant;
    s.text_mode = T.text_mode;
    s.vertical = T.vertical;
    s.style = T.style;
    return s;
}

void IGrStrokeGlyphs(float x, float y, std::string_view text, float W, float H)
{
    auto& B = GrPrimitiveBlock;
    auto& L = GrLineState;
    const bool filled = GrStrokeFont.mode == 0;
    const bool bold_lines = !filled && (GrTextState.style & 1) != 0;
    const int fill_style = B.FILL(FILL_STYLE);
    const int line_width = L.line_width;
    if (filled) {
        B.FILL(FILL_STYLE) = 4;
        B.FILL(FILL_TEXT_WORD) = 1;  // tells the hardcopy drivers that the polygons are glyphs
    } else if (bold_lines) {
        L.line_width = 2 * line_width;
        gr_send_both(GrOpLineWidth);
    }
    for (const StrokeOutput& piece :
         stroke_text_geometry(GrStrokeFont, x, y, text, W, H, stroke_settings())) {
        const int n = static_cast<int>(piece.x.size());
        if (piece.shape == STROKE_POLYGON) {
            IGrPolygonFill(piece.x.data(), piece.y.data(), n, 1);
        } else if (piece.shape == STROKE_LINE) {
            IGrLineDevice(piece.x[0], piece.y[0], piece.x[1], piece.y[1]);
        } else {
            IGrPolylineClipped(piece.x.data(), piece.y.data(), n, 1);
        }
    }
    if (filled) {
        B.FILL(FILL_STYLE) = fill_style;
        B.FILL(FILL_TEXT_WORD) = 0;
    } else if (bold_lines) {
        L.line_width = line_width;
        gr_send_both(GrOpLineWidth);
    }
}

void IGrStrokeTextPlain(const float* x, const float* y, int n)
{
    IGrPolygonFill(x, y, n, 0);
}

// The character cell of the requested size, in device units.
static float requested_cell_width()
{
    return GrTextState.char_width * GrDeviceArea.width;
}
static float requested_cell_height()
{
    return GrTextState.char_height * GrDeviceArea.height;
}

void IGrStrokeTextStyled(float x, float y, std::string_view text, int hardware, int screen, int hardcopy)
{
    const auto& T = GrTextState;
    const float W = requested_cell_width(), H = requested_cell_height();
    const double ax = W * T.angle_cos, ay = W * T.angle_sin_aspect;
    const double hx = -H * T.angle_sin_aspect2, hy = H * T.angle_cos;
    float px[4], py[4];
    if (T.vertical == 0) {
        const double m = IGrHardTextWidth(text, hardware);
        px[0] = static_cast<float>(x - hx / 2);
        py[0] = static_cast<float>(y - hy / 2);
        px[1] = static_cast<float>(px[0] + m * ax);
        py[1] = static_cast<float>(py[0] + m * ay);
        px[2] = static_cast<float>(px[1] + hx);
        py[2] = static_cast<float>(py[1] + hy);
        px[3] = static_cast<float>(px[0] + hx);
        py[3] = static_cast<float>(py[0] + hy);
    } else {
        // The column of n cells hanging below the point, as wide as its widest character.
        double widest = 1.0;
        if (T.text_mode != 0) {
            widest = 0.0;
            for (std::size_t k = 0; k < text.size(); ++k) {
                const int code = stroke_map_code(IStrCharCode(text.substr(k, 1)), GrStrokeFont.charset);
                widest = std::max<double>(widest, stroke_width_factor(code));
            }
        }
        const double n = static_cast<double>(text.size());
        px[0] = static_cast<float>(x - widest * ax / 2);
        py[0] = static_cast<float>(y - widest * ay / 2);
        px[1] = static_cast<float>(px[0] + widest * ax);
        py[1] = static_cast<float>(py[0] + widest * ay);
        px[2] = static_cast<float>(px[1] - n * hx);
        py[2] = static_cast<float>(py[1] - n * hy);
        px[3] = static_cast<float>(px[0] - n * hx);
        py[3] = static_cast<float>(py[0] - n * hy);
    }
    auto& C = GrColourState;
    auto& B = GrPrimitiveBlock;
    auto& O = GrOutputSwitch;
    const GrColourStateRecord colours = C;
    const int fill_style = B.FILL(FILL_STYLE);
    const GrOutputSwitchRecord outputs = O;
    IGrColourApply(C.number[GR_PREVIOUS], C.rgb[GR_PREVIOUS], C.device[GR_PREVIOUS], 0);
    B.FILL(FILL_STYLE) = 4;
    O.screen = screen != 0 ? outputs.screen : 0;
    O.hardcopy = hardcopy != 0 ? outputs.hardcopy : 0;
    IGrPolygonFill(px, py, 4, 1);
    O = outputs;
    B.FILL(FILL_STYLE) = fill_style;
    IGrColourApply(colours.number[GR_CURRENT], colours.rgb[GR_CURRENT], colours.device[GR_CURRENT], 0);
    C = colours;
}

//--- text output

// Stroke text at its start point with the cell W x H on the outputs that are on: line type 0 for the
// text, the filled box first for style bit 8.
static void stroke_text_out(float x, float y, std::string_view text, float W, float H)
{
    const int line_type = GrLineState.line_type;
    if (line_type != 0) {
        IGrLineType(0);
    }
    if ((GrTextState.style & 8) != 0) {
        IGrStrokeTextStyled(x, y, text, 1, 1, 1);
    }
    IGrStrokeGlyphs(x, y, text, W, H);
    if (line_type != 0) {
        IGrLineType(line_type);
    }
}

// Whether output d (0 screen, 1 hardcopy) draws this text with a stroke substitute for its own font.
static bool needs_substitute(int d, float W, float H)
{
    const auto& T = GrTextState;
    const float v = GrDeviceInfo.text_real[static_cast<std::size_t>(d)];
    if (v >= 1.7e38f) {
        return false;
    }
    const int rotation = GrDeviceInfo.angle_resolution[static_cast<std::size_t>(d)];
    const float angle = T.angle > 180.0f ? 360.0f - T.angle : T.angle;
    if (rotation == 0 || (rotation == 1 && std::fabs(angle) > 1.0f)) {
        return true;
    }
    if (T.text_mode == 0) {
        if (v >= 0.0f && v < W && v < H) {
            return true;
        }
    } else {
        if (GrDeviceCaps.entry[static_cast<std::size_t>(d)][26] == '0') {
            return true;
        }
        // The screen's font departs too far from the requested size.
        if (d == 0 && T.screen_cells_x > 0.0f && T.screen_cells_y > 0.0f && W > 0.0f && H > 0.0f) {
            const double rw = GrSurface.width / T.screen_cells_x / W;
            const double rh = GrSurface.height / T.screen_cells_y / H;
            if (rw < 0.8 || rw > 1.3 || rh < 0.8 || rh > 1.3) {
                return true;
            }
        }
    }
    return false;
}

// Draws on output d alone with the stroke family of the effective face, then restores the font.
static void substitute_out(int d, float x, float y, std::string_view text, float W, float H)
{
    auto& T = GrTextState;
    auto& O = GrOutputSwitch;
    const GrOutputSwitchRecord outputs = O;
    const float slant = T.slant;
    const int text_mode = T.text_mode;
    IGrStrokeFontSwap(1);
    switch (T.effective_face) {
    case 2: IGrStrokeFontSwiss(); break;
    case 3: IGrStrokeFontRoman(); break;
    case 4: IGrStrokeFontSymbol(); break;
    default: IGrStrokeFontFixed(); break;
    }
    T.slant = (T.style & 2) != 0 ? ITALIC_SLANT : 0.0f;
    // Measured proportional text is drawn by the substitute's own width factors.
    if (T.text_mode == 2) {
        T.text_mode = 1;
    }
    if (d == 0) {
        O.hardcopy = 0;
    } else {
        O.screen = 0;
    }
    stroke_text_out(x, y, text, W, H);
    O = outputs;
    T.text_mode = text_mode;
    T.slant = slant;
    IGrStrokeFontSwap(0);
}

// Sends characters to output d as one op 22: start, direction and end of the text. IX(2) holds the
// group flags of the drivers that group a string's characters: 1 on its first op, 2 on its last (3 for
// a whole string in one op).
static void hardware_text_op(int d, float x, float y, std::string_view text, double L, int group = 3)
{
    const auto& T = GrTextState;
    auto& B = GrPrimitiveBlock;
    const int n = static_cast<int>(std::min<std::size_t>(text.size(), B.TEXT.size()));
    B.TEXT.fill(' ');
    std::copy_n(text.begin(), n, B.TEXT.begin());
    B.IX(1) = n;
    B.IX(2) = group;
    B.X(1) = x;
    B.Y(1) = y;
    B.X(2) = T.angle_cos;
    B.Y(2) = T.angle_sin_aspect;
    B.X(3) = static_cast<float>(x + L * T.angle_cos);
    B.Y(3) = static_cast<float>(y + L * T.angle_sin_aspect);
    if (d == 0) {
        IGrScreenDriver(GrOpText);
    } else {
        IHcSendOp(GrOpText);
    }
}

// Hardware text on output d from the start point with the cell W x H: horizontal text clipped by whole
// characters, vertical text one character per cell.
static void hardware_out(int d, float x, float y, std::string_view text, float W, float H)
{
    const auto& T = GrTextState;
    const double ax = W * T.angle_cos, ay = W * T.angle_sin_aspect;
    const double hx = -H * T.angle_sin_aspect2, hy = H * T.angle_cos;
    const std::size_t n = text.size();
    if (T.vertical != 0) {
        for (std::size_t k = 0; k < n; ++k) {
            // Centred across the column, one cell below the previous character.
            const float cx = static_cast<float>(x - ax / 2 - (k + 0.5) * hx);
            const float cy = static_cast<float>(y - ay / 2 - (k + 0.5) * hy);
            hardware_text_op(d, cx, cy, text.substr(k, 1), W, (k == 0 ? 1 : 0) | (k + 1 == n ? 2 : 0));
        }
        return;
    }
    // Advance of each character in cells: one, or its width factor for text that the device does not
    // measure itself.
    const bool by_factor = T.text_mode == 1;
    std::vector<double> at(n + 1, 0.0);
    for (std::size_t k = 0; k < n; ++k) {
        const int code = stroke_map_code(IStrCharCode(text.substr(k, 1)), GrStrokeFont.charset);
        at[k + 1] = at[k] + (by_factor ? stroke_width_factor(code) : 1.0);
    }
    auto cell_inside = [&](std::size_t k) {
        const double x1 = x + at[k] * ax - hx / 2, y1 = y + at[k] * ay - hy / 2;
        const double x2 = x + at[k + 1] * ax + hx / 2, y2 = y + at[k + 1] * ay + hy / 2;
        return IGrPointInClip(static_cast<float>(x1), static_cast<float>(y1)) != 0 &&
               IGrPointInClip(static_cast<float>(x2), static_cast<float>(y2)) != 0;
    };
    std::size_t first = 0, last = n;
    while (first < last && !cell_inside(first)) {
        ++first;
    }
    while (last > first && !cell_inside(last - 1)) {
        --last;
    }
    if (first == last) {
        return;
    }
    if (!by_factor) {
        const double L = T.text_mode == 0 ? W * double(last - first)
                                          : W * IGrHardTextWidth(text.substr(first, last - first));
        hardware_text_op(d, static_cast<float>(x + at[first] * ax), static_cast<float>(y + at[first] * ay),
                         text.substr(first, last - first), L);
        return;
    }
    for (std::size_t k = first; k < last; ++k) {
        hardware_text_op(d, static_cast<float>(x + at[k] * ax), static_cast<float>(y + at[k] * ay),
                         text.substr(k, 1), W * (at[k + 1] - at[k]),
                         (k == first ? 1 : 0) | (k + 1 == last ? 2 : 0));
    }
}

void gr_char_out(std::optional<float> x, std::optional<float> y, std::string_view text)
{
    auto& T = GrTextState;
    const float ux = x ? *x : GrCurrentPoint.x;
    const float uy = y ? *y : GrCurrentPoint.y;
    float dx = 0.0f, dy = 0.0f;
    IGrUserToDevice(ux, uy, dx, dy);
    const int n = static_cast<int>(text.size());
    const int j = std::clamp(T.justification, 0, 2);
    const float Wr = requested_cell_width(), Hr = requested_cell_height();
    const double cells = T.text_mode == 0 ? n : IGrHardTextWidth(text, T.font_kind != 0 ? 1 : 0);
    const float co = T.angle_cos, sB = T.angle_sin_aspect;
    // The cell and its advance vector, for the drivers.
    T.cell_width = Wr;
    T.cell_height = Hr;
    T.advance_x = Wr * co;
    T.advance_y = Wr * sB;

    // Where the text starts for a cell of width W and height H.
    auto start_for = [&](float W, float H, double used_cells) {
        if (T.vertical != 0) {
            return vertical_text_placement(dx, dy, j, n, -H * T.angle_sin_aspect2, H * co);
        }
        return horizontal_text_placement(dx, dy, j, static_cast<float>(W * used_cells),
                                         static_cast<float>(Wr * cells), Wr, co, sB);
    };

    if (T.font_kind != 0) {
        const TextPlacement p = start_for(Wr, Hr, cells);
        stroke_text_out(p.start_x, p.start_y, text, Wr, Hr);
    } else {
        for (int d = 0; d <= 1; ++d) {
            if ((d == 0 && GrOutputSwitch.screen == 0) || (d == 1 && GrOutputSwitch.hardcopy == 0)) {
                continue;
            }
            if (needs_substitute(d, Wr, Hr)) {
                const TextPlacement p = start_for(Wr, Hr, cells);
                substitute_out(d, p.start_x, p.start_y, text, Wr, Hr);
                continue;
            }
            // The screen's own cell where its font set one: the width in which the screen measured the
            // text (so that the text's extent is its measured width), the height when one is known.
            float W = Wr, H = Hr;
            if (d == 0 && T.screen_cells_x > 0.0f)
                W = static_cast<float>(GrSurface.extent_x / T.screen_cells_x);
            if (d == 0 && T.screen_cells_y > 0.0f)
                H = static_cast<float>(GrSurface.extent_y / T.screen_cells_y);
            const TextPlacement p = start_for(W, H, cells);
            const GrOutputSwitchRecord outputs = GrOutputSwitch;
            if (d == 0) {
                GrOutputSwitch.hardcopy = 0;
            } else {
                GrOutputSwitch.screen = 0;
            }
            hardware_out(d, p.start_x, p.start_y, text, W, H);
            GrOutputSwitch = outputs;
        }
    }
    // The current point follows horizontal text.
    if (T.vertical == 0) {
        const TextPlacement p = horizontal_text_placement(dx, dy, j, static_cast<float>(Wr * cells),
                                                          static_cast<float>(Wr * cells), Wr, co, sB);
        float cx = 0.0f, cy = 0.0f;
        IGrDeviceToUser(p.next_x, p.next_y, cx, cy);
        gr_move_to(cx, cy);
    }
}

//--- numbers

// The first n characters of the buffer (n its length without trailing blanks), justified by the
// number justification and drawn.
static void number_out(std::optional<float> x, std::optional<float> y, std::string text)
{
    const std::size_t end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
    const int j = std::clamp(GrTextState.number_justification, 0, 2);
    IStrJustify(text, std::string_view("LCR").substr(static_cast<std::size_t>(j), 1));
    gr_char_out(x, y, text);
}

void gr_integer_out(std::optional<float> x, std::optional<float> y, int value, std::optional<int> width)
{
    std::string format = "(I11)";
    if (width) {
        std::string digits(3, ' ');
        IStrFormatNumber(std::clamp(*width, 0, 100), digits, "(I3.3)");
        format = "(I" + digits + ")";
    }
    std::string text(100, ' ');
    IStrFormatNumber(value, text, format);
    number_out(x, y, text);
}

void gr_real_out(std::optional<float> x, std::optional<float> y, float value,
                 std::optional<std::string_view> format)
{
    std::string text(100, ' ');
    IStrFormatNumber(value, text, format ? *format : std::string_view("(G15.5E2)"));
    number_out(x, y, text);
}
