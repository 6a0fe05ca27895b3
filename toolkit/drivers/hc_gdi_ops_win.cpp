// The drawing ops that the Windows printer (device 10) and the metafile driver (device 11) handle alike:
// device units are mapped to pixels of the device's context, colours and fills chosen, and the
// device's primitives called. The metafile has no monochrome mode, never edges a polygon and clips only
// an enhanced metafile (its driver decides that before calling op 24 here).
#include "toolkit/drivers/hc_printer_win.h"

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_dib_win.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

int px(double x)
{
    return gr_trunc(double(HcDeviceBlock.sx) * x);
}

int py(double y)
{
    return gr_trunc((double(GrSurface.extent_y) - y) * double(HcDeviceBlock.sy));
}

// The device whose primitives the op calls.
struct Device {
    bool meta;
    HcGdiDraw& d;
    bool mono() const { return !meta && HcOptions(HC_OPT_MONOCHROME) != 0; }
    void colour(int r, int g, int b) const { meta ? IHcMetaColour(r, g, b) : IHcPrnColour(r, g, b); }
    void store(int x, int y, int i) const { meta ? IHcMetaPointStore(x, y, i) : IHcPrnPointStore(x, y, i); }
};

void split_current(int& r, int& g, int& b)
{
    const auto& C = GrColourState;
    IGrColourSplit(C.model == 1 ? C.number[GR_CURRENT] : C.rgb[GR_CURRENT], r, g, b);
}

void split_previous(int& r, int& g, int& b)
{
    const auto& C = GrColourState;
    IGrColourSplit(C.model == 1 ? C.number[GR_PREVIOUS] : C.rgb[GR_PREVIOUS], r, g, b);
}

// Makes (r, g, b) the current colour when it differs from the line colour last sent.
void line_colour(const Device& v, int r, int g, int b)
{
    const std::array<int, 3> rgb{r, g, b};
    if (rgb == v.d.line_rgb)
        return;
    v.colour(r, g, b);
    v.d.line_rgb = rgb;
}

// Ops 3 and 35. Monochrome (printer only): colour number 0 is white, every other colour black.
void op_colour(const Device& v)
{
    int r = 0, g = 0, b = 0;
    if (v.mono()) {
        const int c = GrColourState.number[GR_CURRENT] == 0 ? 255 : 0;
        r = g = b = c;
    } else {
        split_current(r, g, b);
        v.meta ? IHcMetaColourInvert(r, g, b) : IHcPrnColourInvert(r, g, b);
    }
    line_colour(v, r, g, b);
}

// The start and end points of a pie or arc (ops 13, 34) in pixels, the end moved one pixel off the
// start when a small sector would put both on one pixel (GDI would then draw the whole ellipse).
void sector(int& sx, int& sy, int& ex, int& ey)
{
    const auto& B = GrPrimitiveBlock;
    const double cx = B.X(1), cy = B.Y(1), rx = B.X(2), ry = B.Y(2);
    sx = px(cx + rx * std::cos(double(B.X(3))));
    sy = py(cy + ry * std::sin(double(B.X(3))));
    ex = px(cx + rx * std::cos(double(B.Y(3))));
    ey = py(cy + ry * std::sin(double(B.Y(3))));
    if (std::fabs(B.Y(4)) <= 10.0f && sx == ex && sy == ey) {
        double a = std::fmod(double(B.X(4)), 360.0);
        if (a < 0.0)
            a += 360.0;
        if (a < 90.0)
            ex -= 1, ey -= 1;
        else if (a < 180.0)
            ex -= 1, ey += 1;
        else if (a < 270.0)
            ex += 1, ey += 1;
        else
            ex += 1, ey -= 1;
    }
}

void op_fill(const Device& v, int op)
{
    auto& B = GrPrimitiveBlock;
    HcGdiDraw& d = v.d;
    const int style = B.FILL(FILL_STYLE);
    const bool fill_colour = style > 2 || (v.mono() && style > 0);
    if (B.NVAL == -1) {
        // The closing pass: the line colour comes back.
        if (fill_colour && d.line_rgb != d.fill_rgb)
            v.colour(d.line_rgb[0], d.line_rgb[1], d.line_rgb[2]);
        return;
    }
    HcPageUsed = -1;
    if (fill_colour) {
        auto& f = d.fill_rgb;
        split_current(f[0], f[1], f[2]);
        if (style == 3) {
            auto& p = d.previous_rgb;
            split_previous(p[0], p[1], p[2]);
            for (int k = 0; k < 3; ++k)
                f[static_cast<std::size_t>(k)] =
                    (f[static_cast<std::size_t>(k)] + p[static_cast<std::size_t>(k)]) / 2;
        }
        int r = f[0], g = f[1], b = f[2];
        v.meta ? IHcMetaColourInvert(r, g, b) : IHcPrnColourInvert(r, g, b);
        v.colour(r, g, b);
    }
    if (style < 3 && op != GrOpEllipsePattern)
        return;
    const auto& O = HcOptions;
    switch (op) {
    case GrOpEllipsePattern: {
        const double w = GrSurface.extent_x, h = GrSurface.extent_y;
        const double ry = double(B.X(2)) * B.X(3) * O(HC_OPT_PAGE_WIDTH) * h * GrArea.height /
                          (std::max(O(HC_OPT_PAGE_HEIGHT), 1) * w * GrArea.width);
        const int rx = px(B.X(2)), ryp = gr_trunc(double(HcDeviceBlock.sy) * ry);
        if (v.meta)
            IHcMetaEllipse(px(B.X(1)), py(B.Y(1)), rx, ryp, style);
        else
            IHcPrnEllipse(px(B.X(1)), py(B.Y(1)), rx, ryp, style);
        return;
    }
    case GrOpQuadPattern:
    case GrOpTrianglePattern: {
        const int n = op == GrOpQuadPattern ? 4 : 3;
        for (int i = 1; i <= n; ++i)
            v.store(px(B.X(i)), py(B.Y(i)), i - 1);
        v.meta ? IHcMetaPolygon(n) : IHcPrnPolygon(n, 0);
        return;
    }
    case GrOpRectanglePattern: {
        const auto& D = GrDeviceArea;
        const double left = std::max(D.x1, B.X(1)), bottom = std::max(D.y1, B.Y(1));
        const double right = std::min(D.x2, B.X(2)), top = std::min(D.y2, B.Y(2));
        if (v.meta)
            IHcMetaRectangle(px(left), py(top), px(right), py(bottom));
        else
            IHcPrnRectangle(px(left), py(top), px(right), py(bottom));
        return;
    }
    case GrOpPiePattern: {
        // The y radius in device units from the page's proportions.
        B.Y(2) = static_cast<float>(double(O(HC_OPT_PAGE_WIDTH)) / std::max(O(HC_OPT_PAGE_HEIGHT), 1) *
                                    (B.Y(2) / GrSurface.aspect));
        int sx = 0, sy = 0, ex = 0, ey = 0;
        sector(sx, sy, ex, ey);
        const int rx = px(B.X(2)), ry = gr_trunc(double(HcDeviceBlock.sy) * B.Y(2));
        if (v.meta)
            IHcMetaPie(px(B.X(1)), py(B.Y(1)), rx, ry, sx, sy, ex, ey);
        else
            IHcPrnPie(px(B.X(1)), py(B.Y(1)), rx, ry, sx, sy, ex, ey);
        return;
    }
    case GrOpPolygonPattern: {
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        for (int i = 1; i <= n; ++i)
            v.store(px(GrPolylineBuffer.X(i)), py(GrPolylineBuffer.Y(i)), i - 1);
        v.meta ? IHcMetaPolygon(n) : IHcPrnPolygon(n, B.polygon_edge);
        return;
    }
    default: return;
    }
}

}  // namespace

void hc_gdi_op(int device, int op)
{
    const Device v{device != HC_WINDOWS_PRINTER, hc_gdi_draw(device)};
    auto& B = GrPrimitiveBlock;
    switch (op) {
    case GrOpLine: {
        HcPageUsed = -1;
        const int x1 = px(B.X(1)), y1 = py(B.Y(1)), x2 = px(B.X(2)), y2 = py(B.Y(2));
        v.meta ? IHcMetaLine(x1, y1, x2, y2) : IHcPrnLine(x1, y1, x2, y2);
        break;
    }
    case GrOpColour:
    case GrOpLoadPalette: op_colour(v); break;
    case GrOpEllipsePattern:
    case GrOpQuadPattern:
    case GrOpRectanglePattern:
    case GrOpTrianglePattern:
    case GrOpPiePattern:
    case GrOpPolygonPattern: op_fill(v, op); break;
    case GrOpClip: {
        const auto& D = GrDeviceArea;
        const int left = px(D.x1), top = py(D.y2);
        const int right = gr_trunc(double(HcDeviceBlock.sx) * D.x2 + 0.99);
        const int bottom = gr_trunc((double(GrSurface.extent_y) - D.y1) * HcDeviceBlock.sy + 0.99);
        v.meta ? IHcMetaClip(left, top, right, bottom) : IHcPrnClip(left, top, right, bottom);
        break;
    }
    case GrOpTextWidth: {
        const int n = std::clamp(B.NVAL, 0, static_cast<int>(B.TEXT.size()));
        int width = 0;
        v.meta ? IHcMetaTextWidth(width, B.TEXT.data(), n) : IHcPrnTextWidth(width, B.TEXT.data(), n);
        B.NVAL = width;
        B.NPTS = 1;
        break;
    }
    case GrOpPoint:
        HcPageUsed = -1;
        v.meta ? IHcMetaPoint(px(B.X(1)), py(B.Y(1))) : IHcPrnPoint(px(B.X(1)), py(B.Y(1)));
        break;
    case GrOpLineType:
        v.meta ? IHcMetaLineType(GrLineState.line_type) : IHcPrnLineType(GrLineState.line_type);
        break;
    case GrOpPolyline: {
        HcPageUsed = -1;
        const int n = std::clamp(B.NPTS, 0, GR_POLYLINE_MAX);
        for (int i = 1; i <= n; ++i)
            v.store(px(GrPolylineBuffer.X(i)), py(GrPolylineBuffer.Y(i)), i - 1);
        v.meta ? IHcMetaPolyline(n) : IHcPrnPolyline(n);
        break;
    }
    case GrOpArc: {
        HcPageUsed = -1;
        int sx = 0, sy = 0, ex = 0, ey = 0;
        sector(sx, sy, ex, ey);
        const int x = px(B.X(1)), y = py(B.Y(1)), rx = px(B.X(2)),
                  ry = gr_trunc(double(HcDeviceBlock.sy) * B.Y(2));
        if (v.meta)
            IHcMetaArc(x, y, rx, ry, sx, sy, ex, ey, B.arc_closure);
        else
            IHcPrnArc(x, y, rx, ry, sx, sy, ex, ey, B.arc_closure);
        break;
    }
    case GrOpImageFile: {
        HcPageUsed = -1;
        if (!v.meta && v.d.page_pending)
            IHcPrnStartPage();
        const auto& D = GrDeviceArea;
        std::string name(B.TEXT.data(), 255);
        name.erase(name.find_last_not_of(' ') + 1);
        int status = 0, code = 0;
        IImgFileDraw(v.d.dc, nullptr, B.IX(1), px(D.x1), py(D.y2), px(D.x2), py(D.y1), 1, status, code, name);
        B.NVAL = status;
        B.NPTS = code;
        break;
    }
    default: break;
    }
}

HcGdiFontRequest hc_gdi_font_request()
{
    const auto& T = GrTextState;
    const auto& D = HcDeviceBlock;
    double w = double(T.char_width) * GrDeviceArea.text_width * D.sx;
    double h = double(T.char_height) * GrDeviceArea.text_height * D.sy;
    HcGdiFontRequest f;
    f.style = T.style;
    if (T.text_mode != 0) {
        constexpr double FACTOR[4] = {1.0, 0.607, 0.725, 0.0};
        w *= FACTOR[std::clamp(T.text_mode, 0, 3)];
        if (T.family == 4)
            w *= 1.38;
        h *= 0.821;
        if (T.text_mode == 1)
            f.style &= ~4;
    }
    f.width = gr_trunc(w);
    f.height = gr_trunc(h);
    f.angle = gr_trunc(T.angle);
    f.name.assign(T.face_name.data(), T.face_name.size());
    f.name.erase(f.name.find_last_not_of(' ') + 1);
    return f;
}

void hc_gdi_text_layout(int& justification, int& opaque)
{
    const auto& T = GrTextState;
    justification = T.text_mode == 1 ? 0 : T.justification;
    opaque = T.text_mode != 1 && GrPrimitiveBlock.FILL(FILL_TEXT_WORD) == 0 && (T.style & 8) != 0 ? 1 : 0;
}
