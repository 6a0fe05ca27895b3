// The screen driver's op switch on GDI: each GrDriverOp is drawn by one GDI drawer on the bound drawing
// context. Block rows count upward from the bottom row; the driver turns a row IY into the context row
// (H - 1) - IY.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_drawers_win.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_dib_win.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

int row(int iy)
{
    return GrSurface.max_row - iy;
}

int row_of(float y)
{
    return GrSurface.max_row - gr_trunc(y);
}

// The RGB the display palette holds for index n (classes above 8).
int palette_rgb(int n)
{
    const int nc = GrColourState.screen_class;
    int rgb = 0;
    if (nc == 16)
        IGrColourStdRGBGet(n, rgb);
    else if (nc == 256)
        IGrColourRGBGet(n, rgb);
    else
        IGrColourLowRGBGet(n, rgb);
    return rgb;
}

// Sector (13, 14) and arc (34): the two boundary points, moved apart when a small sector would put
// both on one pixel (GDI would then draw the full ellipse).
void sector_points(int& sx, int& srow, int& ex, int& erow)
{
    const auto& B = GrPrimitiveBlock;
    sx = gr_trunc(B.IX(1) + double(B.X(2)) * std::cos(double(B.X(3))));
    int sy = gr_trunc(B.IY(1) + double(B.Y(2)) * std::sin(double(B.X(3))));
    ex = gr_trunc(B.IX(1) + double(B.X(2)) * std::cos(double(B.Y(3))));
    int ey = gr_trunc(B.IY(1) + double(B.Y(2)) * std::sin(double(B.Y(3))));
    if (std::fabs(B.Y(4)) <= 10.0f && sx == ex && sy == ey) {
        double a = std::fmod(double(B.X(4)), 360.0);
        if (a < 0.0)
            a += 360.0;
        // Up is toward the top of the surface (a larger block row).
        if (a < 90.0)
            ex -= 1, ey += 1;
        else if (a < 180.0)
            ex -= 1, ey -= 1;
        else if (a < 270.0)
            ex += 1, ey -= 1;
        else
            ex += 1, ey += 1;
    }
    srow = row(sy);
    erow = row(ey);
}

// Op 21 and 33: the font for the current text settings, created only when they changed.
void select_font()
{
    auto& G = GrGdiContext;
    auto& T = GrTextState;
    const auto& D = GrDeviceArea;
    int w = gr_trunc(double(D.pixel_width) * T.char_width);
    int h = gr_trunc(double(D.pixel_height) * T.char_height);
    const int angle = gr_trunc(T.angle);
    int style = T.style;
    if (T.hardware_face != 0) {
        double f = T.hardware_face == 1 ? 0.607 : 0.78;
        if (T.family == 4)
            f *= 1.38;
        w = gr_trunc(w * f);
        h = gr_trunc(h * 0.821);
        if (T.hardware_face == 1)
            style &= ~4;
    }
    const std::array<int, 5> wanted{T.family, style, angle, w, h};
    const bool same = wanted == G.font_cache && (T.family != 0 || T.face_name == G.font_cache_name) && G.font;
    if (!same) {
        int width = w, height = h, ascent = 0;
        IGrGdiFont(width, height, ascent, angle, T.family, style, T.face_name);
        G.font_cache = wanted;
        if (T.family == 0)
            G.font_cache_name = T.face_name;
        else
            G.font_cache_name.fill(' ');
        T.font_height = height;
        T.font_ascent = ascent;
        // The average letter across the surface, for every face: graphics text measures proportional
        // text on the screen in these cells, so a face without them would give every text no width
        // and could not be centred on its point.
        if (width > 0)
            T.screen_cells_x = static_cast<float>(double(GrSurface.extent_x) * 52.0 / width);
    }
}

// Op 22: text on its baseline. Fixed-pitch text is written whole as the justification asks; every
// other op carries text whose extent graphics text has already laid out (a whole string measured by
// the screen, or one character in its own cell), so it is written whole, centred between its start
// and end on the base line. The font's own spacing is kept and nothing is lifted off the base line.
void draw_text()
{
    auto& B = GrPrimitiveBlock;
    const auto& T = GrTextState;
    const double d = T.font_ascent - 0.5 * T.font_height;
    // The baseline lies d below the text's middle line, along the text's normal.
    const double nx = d * T.angle_sin, ny = -d * T.angle_cos;
    const double x1 = B.X(1) + nx, y1 = B.Y(1) + ny, x3 = B.X(3) + nx, y3 = B.Y(3) + ny;
    const int count = std::clamp(B.IX(1), 0, static_cast<int>(B.TEXT.size()));
    if (T.text_mode == 0) {
        const int justification = T.hardware_face == 1 ? 0 : T.justification;
        const bool opaque = (T.style & 8) != 0 && T.hardware_face != 1;
        IGrGdiText(gr_trunc(x1), row_of(float(y1)), gr_trunc(x3), row_of(float(y3)), justification, opaque,
                   B.TEXT.data(), count);
        B.IX(4) = 0;
        return;
    }
    IGrGdiText(gr_trunc(x1), row_of(float(y1)), gr_trunc(x3), row_of(float(y3)), 1, false, B.TEXT.data(),
               count);
}

// Op 28: one colour definition (displays above 8 colours); op 35: the whole palette.
void define_colour()
{
    auto& G = GrGdiContext;
    const auto& B = GrPrimitiveBlock;
    if (GrColourState.screen_class <= 8)
        return;
    if (B.IX(1) == palette_rgb(B.NVAL))
        return;
    int batch = 0;
    if (B.IX(4) == 0) {
        batch = G.palette_pending != 0 ? 3 : 0;
        G.palette_pending = 0;
    } else {
        batch = G.palette_pending != 0 ? 2 : 1;
        G.palette_pending = 1;
    }
    IGrGdiDefineColour(B.NVAL, B.IX(1), batch);
}

void load_palette()
{
    const int nc = GrColourState.screen_class;
    if (nc <= 8)
        return;
    for (int k = 0; k < nc; ++k)
        IGrGdiDefineColour(k, palette_rgb(k), k == 0 ? 1 : (k == nc - 1 ? 3 : 2));
    GrGdiContext.palette_pending = 0;
}

// Op 20: the graphics area as an image on the Windows printer (IGrPrintImage, which the drivers
// install). Without it the page cannot be printed: error 1 with the file-error code 0.
void hardcopy_page()
{
    if (HcFrontEnd.print_image) {
        HcFrontEnd.print_image();
        return;
    }
    IErrorReport(ERR_OPEN_FILE);
    ERROR_STATE.last_file_error = 0;
}

// Op 23: block move of the source box to the destination's lower-left corner.
void move_block()
{
    const auto& B = GrPrimitiveBlock;
    const int x1 = std::min(B.IX(1), B.IX(2)), x2 = std::max(B.IX(1), B.IX(2));
    const int y1 = std::min(B.IY(1), B.IY(2)), y2 = std::max(B.IY(1), B.IY(2));
    const int width = x2 - x1 + 1, height = y2 - y1 + 1;
    IGrGdiBlockMove(x1, row(y2), B.IX(3), row(B.IY(3) + height - 1), width, height, B.NVAL != 0,
                    GrColourTable.rgb[0]);
}

// Op 38: the image file named by TEXT drawn into the graphics area's pixel box; IX1 the image type,
// IY1 the stretch flag; NPTS receives the status and NVAL the system's code.
void draw_image_file()
{
    auto& B = GrPrimitiveBlock;
    const auto& D = GrDeviceArea;
    std::string name(B.TEXT.data(), 255);
    name.erase(name.find_last_not_of(' ') + 1);
    int status = 0, code = 0;
    IImgFileDraw(GrGdiContext.dc, GrGdiContext.clip, B.IX(1), D.ix1, row(D.iy2), D.ix2, row(D.iy1), B.IY(1),
                 status, code, name);
    B.NPTS = status;
    B.NVAL = code;
}

void gdi_screen_device(int op)
{
    auto& G = GrGdiContext;
    auto& B = GrPrimitiveBlock;
    if (!G.dc)
        return;
    const auto& P = GrPolylineBuffer;
    switch (op) {
    case GrOpLine: IGrGdiLine(B.IX(1), row(B.IY(1)), B.IX(2), row(B.IY(2))); break;
    case GrOpColour: {
        const auto& C = GrColourState;
        int rgb = C.rgb[GR_CURRENT];
        if (C.model == 1)
            IGrColourRGBGet(C.number[GR_CURRENT], rgb);
        IGrGdiColour(C.device[GR_CURRENT], rgb);
        break;
    }
    case GrOpEllipseOutline:
    case GrOpEllipsePattern:
    case GrOpEllipseSolid: IGrGdiEllipse(B.IX(1), row(B.IY(1)), B.IX(2), B.IY(2), op); break;
    case GrOpQuadPattern:
    case GrOpQuadSolid:
    case GrOpTrianglePattern:
    case GrOpTriangleSolid: {
        const int n = op <= GrOpQuadSolid ? 4 : 3;
        for (int i = 1; i <= n; ++i)
            IGrGdiSetPoint(i, B.IX(i), row(B.IY(i)));
        IGrGdiPolygon(n, op % 2 == 1);
        break;
    }
    case GrOpRectanglePattern:
    case GrOpRectangleSolid:
        IGrGdiRectangle(std::min(B.IX(1), B.IX(2)), row(std::max(B.IY(1), B.IY(2))),
                        std::max(B.IX(1), B.IX(2)), row(std::min(B.IY(1), B.IY(2))),
                        op == GrOpRectanglePattern);
        break;
    case GrOpPiePattern:
    case GrOpPieSolid:
    case GrOpArc: {
        int sx = 0, srow = 0, ex = 0, erow = 0;
        sector_points(sx, srow, ex, erow);
        const int rx = gr_trunc(B.X(2)), ry = gr_trunc(B.Y(2));
        if (op == GrOpArc)
            IGrGdiArc(B.IX(1), row(B.IY(1)), rx, ry, sx, srow, ex, erow, B.FILL(FILL_DENSITY),
                      B.FILL(FILL_STYLE));
        else
            IGrGdiPie(B.IX(1), row(B.IY(1)), rx, ry, sx, srow, ex, erow, op == GrOpPiePattern);
        break;
    }
    case GrOpPolygonPattern:
    case GrOpPolygonSolid:
    case GrOpPolyline: {
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        for (int i = 1; i <= n; ++i)
            IGrGdiSetPoint(i, gr_trunc(P.X(i)), row_of(P.Y(i)));
        if (op == GrOpPolyline)
            IGrGdiPolyline(n);
        else
            IGrGdiPolygon(n, op == GrOpPolygonPattern);
        break;
    }
    case GrOpClear: IGrGdiClear(GrSurface.far_x, GrSurface.far_y, GrColourTable.rgb[0]); break;
    case GrOpOpen:
        GrDeviceInfo.angle_resolution[0] = 360;
        GrDeviceInfo.platform[0] = 2;  // the program runs on the Windows NT family only
        GrDeviceInfo.true_colour[0] = G.display_colours > 256 ? 1 : 0;
        GrDeviceInfo.text_real[0] = 1.7e38f;
        GrDeviceInfo.text_word[0] = 8;
        G.font_cache.fill(-1);
        G.font_cache_name.fill(' ');
        G.palette_pending = 0;
        break;
    case GrOpClose: IGrGdiRelease(); break;
    case GrOpHardcopyPage: hardcopy_page(); break;
    case GrOpFont:
    case GrOpTextAngle: select_font(); break;
    case GrOpText: draw_text(); break;
    case GrOpMoveBlock: move_block(); break;
    case GrOpClip: {
        const auto& D = GrDeviceArea;
        const bool smaller =
            D.ix1 > 0 || D.iy1 > 0 || D.ix2 < GrSurface.max_column || D.iy2 < GrSurface.max_row;
        if (GrTarget.kind == TARGET_PICTURE_FIELD || smaller)
            IGrGdiClip(D.ix1, row(D.iy2), D.ix2 + 1, row(D.iy1) + 1, false);
        else
            IGrGdiClip(0, 0, 0, 0, true);
        break;
    }
    case GrOpTextWidth: {
        int width = 0;
        IGrGdiTextWidth(width, B.TEXT.data(), std::clamp(B.NVAL, 0, static_cast<int>(B.TEXT.size())));
        B.NVAL = width;
        B.NPTS = 1;
        break;
    }
    case GrOpPoint: IGrGdiPoint(B.IX(1), row(B.IY(1))); break;
    case GrOpPlotMode: IGrGdiPlotMode(GrLineState.plot_mode); break;
    case GrOpDefineColour: define_colour(); break;
    case GrOpLineType: IGrGdiLineType(GrLineState.line_type); break;
    case GrOpLineWidth: IGrGdiLineWidth(GrLineState.line_width); break;
    case GrOpReadPixel: {
        int r = 0, g = 0, b = 0;
        IGrGdiReadPixel(B.IX(1), row(B.IY(1)), r, g, b);
        B.IX(1) = r;
        B.IX(2) = g;
        B.IX(3) = b;
        break;
    }
    case GrOpLoadPalette: load_palette(); break;
    case GrOpImageFile: draw_image_file(); break;
    default:  // 36 and 37 (line join and cap) leave the screen untouched
        break;
    }
}

}  // namespace

void gr_gdi_bind(HDC dc, int bitmap)
{
    auto& G = GrGdiContext;
    if (G.dc != dc) {
        // Drawing objects live in one context: the old context's objects go, the new context gets its
        // pen, drawing mode and palette, and the next font op creates its font.
        IGrGdiClip(0, 0, 0, 0, true);
        gdi_release_font_and_pen();
        G.font_cache.fill(-1);
    }
    G.dc = dc;
    G.bitmap = bitmap;
    G.pattern_dirty = true;
    GrScreenDevice = dc ? gdi_screen_device : nullptr;
    if (!dc)
        return;
    SetROP2(dc, G.rop2);
    if (G.palette)
        IGrPaletteBuild(0);
    gdi_pen_recreate();
}

void gr_gdi_unbind()
{
    gr_gdi_bind(nullptr, -1);
}
