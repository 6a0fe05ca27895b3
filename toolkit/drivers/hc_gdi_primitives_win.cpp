// The GDI primitives of the Windows printer (device 10) and the metafile driver (device 11). Both draw
// the same way, each on its own drawing record; the printer's primitives first start a page that an
// earlier op 20 left pending, the metafile's have one page only.
#include "toolkit/drivers/hc_printer_win.h"

#include "toolkit/graphics/gdi_drawers_win.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <string>

namespace {

HcGdiDraw printer_draw;
HcGdiDraw metafile_draw;

// The brush of the current colour and, with edge, the thin pen of the current colour (else the null
// pen), selected for one primitive and selected out and deleted when it returns.
ShapeObjects filled(HcGdiDraw& d, bool edge)
{
    return ShapeObjects(d.dc, CreateSolidBrush(d.colour), edge ? CreatePen(PS_SOLID, 1, d.colour) : nullptr,
                        nullptr);
}

// The hollow brush for an outline drawn with the lasting pen.
Selection hollow(HcGdiDraw& d)
{
    return Selection(d.dc, GetStockObject(HOLLOW_BRUSH));
}

void pen_ensure(HcGdiDraw& d)
{
    const int colour = static_cast<int>(d.colour);
    if (d.pen && d.pen_colour_made == colour && d.pen_style_made == d.pen_style &&
        d.pen_width_made == d.pen_width)
        return;
    if (d.pen) {
        SelectObject(d.dc, d.pen_replaced);
        DeleteObject(d.pen);
        d.pen = nullptr;
    }
    if (d.geometric && d.pen_style != PS_SOLID && d.pen_width >= 2) {
        LOGBRUSH brush = {BS_SOLID, d.colour, 0};
        d.pen =
            ExtCreatePen(static_cast<DWORD>(d.pen_style) | PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL,
                         static_cast<DWORD>(d.pen_width), &brush, 0, nullptr);
    } else {
        d.pen = CreatePen(d.pen_style, d.pen_width, d.colour);
    }
    d.pen_replaced = d.pen ? SelectObject(d.dc, d.pen) : nullptr;
    d.pen_colour_made = colour;
    d.pen_style_made = d.pen_style;
    d.pen_width_made = d.pen_width;
}

// The bounding box of an ellipse of centre (x, y) and radii rx, ry as the printer draws it.
RECT ellipse_box(int x, int y, int rx, int ry)
{
    return {x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2};
}

void line(HcGdiDraw& d, int x1, int y1, int x2, int y2)
{
    pen_ensure(d);
    MoveToEx(d.dc, x1, y1, nullptr);
    LineTo(d.dc, x2, y2);
    // GDI leaves out a line's last pixel; a solid line gets it.
    if (d.pen_style == PS_SOLID)
        SetPixel(d.dc, x2, y2, d.colour);
}

void colour(HcGdiDraw& d, int red, int green, int blue)
{
    d.previous = d.colour;
    d.colour = RGB(red, green, blue);
}

void ellipse(HcGdiDraw& d, int x, int y, int rx, int ry, int fill_style)
{
    const RECT b = ellipse_box(x, y, rx, ry);
    if (fill_style < 3) {
        pen_ensure(d);
        const Selection brush = hollow(d);
        Ellipse(d.dc, b.left, b.top, b.right, b.bottom);
        return;
    }
    const ShapeObjects objects = filled(d, true);
    Ellipse(d.dc, b.left, b.top, b.right, b.bottom);
}

void rectangle(HcGdiDraw& d, int x1, int y1, int x2, int y2)
{
    const ShapeObjects objects = filled(d, false);
    Rectangle(d.dc, x1, y1, x2 + 2, y2 + 2);
}

void pie(HcGdiDraw& d, int x, int y, int rx, int ry, int sx, int sy, int ex, int ey)
{
    const ShapeObjects objects = filled(d, true);
    const RECT b = ellipse_box(x, y, rx, ry);
    Pie(d.dc, b.left, b.top, b.right, b.bottom, sx, sy, ex, ey);
}

void point_store(int x, int y, int index)
{
    if (index >= 0 && index < GR_POLYLINE_MAX)
        GdiPointList.point[static_cast<std::size_t>(index)] = {x, y};
}

// At most the list's 5000 points reach GDI.
int list_count(int count)
{
    return std::clamp(count, 0, GR_POLYLINE_MAX);
}

void polygon(HcGdiDraw& d, int count, bool edge)
{
    const int n = list_count(count);
    if (n < 2)
        return;
    const ShapeObjects objects = filled(d, edge);
    Polygon(d.dc, GdiPointList.point.data(), n);
}

void polyline(HcGdiDraw& d, int count)
{
    const int n = list_count(count);
    if (n < 2)
        return;
    pen_ensure(d);
    Polyline(d.dc, GdiPointList.point.data(), n);
    const POINT& first = GdiPointList.point[0];
    const POINT& last = GdiPointList.point[static_cast<std::size_t>(n - 1)];
    if (d.pen_style == PS_SOLID && (last.x != first.x || last.y != first.y))
        SetPixel(d.dc, last.x, last.y, d.colour);
}

void arc(HcGdiDraw& d, int x, int y, int rx, int ry, int sx, int sy, int ex, int ey, int closure)
{
    const Selection brush = hollow(d);
    pen_ensure(d);
    const RECT b = ellipse_box(x, y, rx, ry);
    if (closure >= 3)
        Arc(d.dc, b.left, b.top, b.right, b.bottom, sx, sy, ex, ey);
    else
        Pie(d.dc, b.left, b.top, b.right, b.bottom, sx, sy, ex, ey);
}

void text(HcGdiDraw& d, int x1, int y1, int x2, int y2, int justification, int opaque, const char* s, int n)
{
    SetTextColor(d.dc, d.colour);
    SetBkColor(d.dc, d.previous);
    SetBkMode(d.dc, opaque != 0 ? OPAQUE : TRANSPARENT);
    const int length = std::max(n, 0);
    switch (justification) {
    case 0:
        SetTextAlign(d.dc, TA_BASELINE | TA_LEFT);
        TextOutA(d.dc, x1, y1, s, length);
        break;
    case 1:
        SetTextAlign(d.dc, TA_BASELINE | TA_CENTER);
        TextOutA(d.dc, (x1 + x2) / 2, (y1 + y2) / 2, s, length);
        break;
    case 2:
        SetTextAlign(d.dc, TA_BASELINE | TA_RIGHT);
        TextOutA(d.dc, x2, y2, s, length);
        break;
    default: break;
    }
}

void clip(HcGdiDraw& d, int x1, int y1, int x2, int y2)
{
    if (d.clip)
        DeleteObject(d.clip);
    d.clip = CreateRectRgn(x1 - d.origin.x, y1 - d.origin.y, x2 - d.origin.x, y2 - d.origin.y);
    SelectClipRgn(d.dc, d.clip);
}

void text_width(HcGdiDraw& d, int& width, const char* s, int n)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(d.dc, s, std::max(n, 0), &size);
    width = size.cx;
}

void line_type(HcGdiDraw& d, int type)
{
    constexpr int STYLE[7] = {PS_SOLID, PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT, PS_DASHDOT, PS_DASH};
    if (type >= 0 && type <= 6)
        d.pen_style = STYLE[type];
}

void colour_invert(int& red, int& green, int& blue)
{
    const int mode = HcOptions(HC_OPT_INVERSION);
    const bool near_black = red < 10 && green < 10 && blue < 10;
    const bool near_white = red > 245 && green > 245 && blue > 245;
    if (mode == 1 || (mode == 2 && (near_black || near_white))) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
}

// Font faces 0..4: the user's face, then "Courier New", "Arial", "Times New Roman", "Symbol".
struct Face {
    const char* name;
    int charset;
    int family;
};
constexpr Face FACES[5] = {{nullptr, DEFAULT_CHARSET, 0},
                           {"Courier New", ANSI_CHARSET, FF_MODERN},
                           {"Arial", ANSI_CHARSET, FF_SWISS},
                           {"Times New Roman", ANSI_CHARSET, FF_ROMAN},
                           {"Symbol", SYMBOL_CHARSET, FF_ROMAN}};

HFONT make_font(int height, int width, int angle, int face, int style, std::string_view name)
{
    const Face& f = FACES[std::clamp(face, 0, 4)];
    const std::string user(name);
    return CreateFontA(height, width, angle * 10, angle * 10, (style & 1) ? FW_BOLD : FW_NORMAL,
                       (style & 2) != 0, (style & 4) != 0, FALSE, static_cast<DWORD>(f.charset),
                       OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                       static_cast<DWORD>(f.family | VARIABLE_PITCH), f.name ? f.name : user.c_str());
}

void font_replace(HcGdiDraw& d, HFONT font)
{
    if (d.font) {
        SelectObject(d.dc, d.font_replaced);
        DeleteObject(d.font);
    }
    d.font = font;
    d.font_replaced = font ? SelectObject(d.dc, font) : nullptr;
}

// The printer starts the page that op 20 left pending before it draws.
HcGdiDraw& printer_page()
{
    if (printer_draw.page_pending)
        IHcPrnStartPage();
    return printer_draw;
}

}  // namespace

HcGdiDraw& hc_gdi_draw(int device)
{
    return device == HC_WINDOWS_PRINTER ? printer_draw : metafile_draw;
}

void hc_gdi_release(HcGdiDraw& d)
{
    if (d.clip) {
        SelectClipRgn(d.dc, nullptr);
        DeleteObject(d.clip);
        d.clip = nullptr;
    }
    font_replace(d, nullptr);
    if (d.pen) {
        SelectObject(d.dc, d.pen_replaced);
        DeleteObject(d.pen);
        d.pen = nullptr;
    }
    d.pen_colour_made = d.pen_style_made = d.pen_width_made = -1;
}

//--- printer primitives

void IHcPrnLine(int x1, int y1, int x2, int y2)
{
    line(printer_page(), x1, y1, x2, y2);
}
void IHcPrnColour(int red, int green, int blue)
{
    colour(printer_draw, red, green, blue);
}
void IHcPrnEllipse(int x, int y, int rx, int ry, int fill_style)
{
    ellipse(printer_page(), x, y, rx, ry, fill_style);
}
void IHcPrnRectangle(int x1, int y1, int x2, int y2)
{
    rectangle(printer_page(), x1, y1, x2, y2);
}
void IHcPrnPie(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey)
{
    pie(printer_page(), x, y, rx, ry, sx, sy, ex, ey);
}
void IHcPrnPointStore(int x, int y, int index)
{
    point_store(x, y, index);
}
void IHcPrnPolygon(int count, int edge)
{
    polygon(printer_page(), count, edge != 0);
}
void IHcPrnStartPage()
{
    HcGdiDraw& d = printer_draw;
    StartPage(d.dc);
    SetWindowOrgEx(d.dc, d.origin.x, d.origin.y, nullptr);
    SetWindowExtEx(d.dc, d.extent.cx, d.extent.cy, nullptr);
    if (d.font)
        SelectObject(d.dc, d.font);
    d.page_pending = false;
}
void IHcPrnEndPage()
{
    EndPage(printer_draw.dc);
    printer_draw.page_pending = true;
}
void IHcPrnFont(int width, int& height, int& ascent, int angle, int face, int style, std::string_view name)
{
    HcGdiDraw& d = printer_draw;
    font_replace(d, nullptr);
    // Measure a first font, then make the lasting one with the measured cell height.
    if (HFONT probe = make_font(-height, width, 0, face, style, name)) {
        HGDIOBJ old = SelectObject(d.dc, probe);
        TEXTMETRICA m = {};
        GetTextMetricsA(d.dc, &m);
        SelectObject(d.dc, old);
        DeleteObject(probe);
        height = m.tmHeight;
        ascent = m.tmAscent;
    }
    font_replace(d, make_font(-height, width, angle, face, style, name));
}
void IHcPrnText(int x1, int y1, int x2, int y2, int justification, int opaque, const char* s, int length)
{
    text(printer_page(), x1, y1, x2, y2, justification, opaque, s, length);
}
void IHcPrnClip(int x1, int y1, int x2, int y2)
{
    clip(printer_draw, x1, y1, x2, y2);
}
void IHcPrnTextWidth(int& width, const char* s, int length)
{
    text_width(printer_draw, width, s, length);
}
void IHcPrnPoint(int x, int y)
{
    HcGdiDraw& d = printer_page();
    const int w = d.pen_width, h = w / 2;
    const ShapeObjects objects = filled(d, false);
    Rectangle(d.dc, x - h, y - h, x - h + w + 1, y - h + w + 1);
}
void IHcPrnLineType(int type)
{
    line_type(printer_draw, type);
}
void IHcPrnLineWidth(int width)
{
    printer_draw.pen_width = width;
}
void IHcPrnPolyline(int count)
{
    polyline(printer_page(), count);
}
void IHcPrnArc(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey, int closure)
{
    arc(printer_page(), x, y, rx, ry, sx, sy, ex, ey, closure);
}
void IHcPrnPenEnsure()
{
    pen_ensure(printer_draw);
}
void IHcPrnColourInvert(int& red, int& green, int& blue)
{
    colour_invert(red, green, blue);
}

//--- metafile primitives

void IHcMetaLine(int x1, int y1, int x2, int y2)
{
    line(metafile_draw, x1, y1, x2, y2);
}
void IHcMetaColour(int red, int green, int blue)
{
    colour(metafile_draw, red, green, blue);
}
void IHcMetaEllipse(int x, int y, int rx, int ry, int fill_style)
{
    ellipse(metafile_draw, x, y, rx, ry, fill_style);
}
void IHcMetaRectangle(int x1, int y1, int x2, int y2)
{
    rectangle(metafile_draw, x1, y1, x2, y2);
}
void IHcMetaPie(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey)
{
    pie(metafile_draw, x, y, rx, ry, sx, sy, ex, ey);
}
void IHcMetaPointStore(int x, int y, int index)
{
    point_store(x, y, index);
}
void IHcMetaPolygon(int count)
{
    polygon(metafile_draw, count, false);
}
void IHcMetaFont(int width, int height, int angle, int face, int style, std::string_view name)
{
    font_replace(metafile_draw, make_font(-height, width, angle, face, style, name));
}
void IHcMetaText(int x1, int y1, int x2, int y2, int justification, int opaque, const char* s, int length)
{
    text(metafile_draw, x1, y1, x2, y2, justification, opaque, s, length);
}
void IHcMetaClip(int x1, int y1, int x2, int y2)
{
    clip(metafile_draw, x1, y1, x2, y2);
}
void IHcMetaTextWidth(int& width, const char* s, int length)
{
    text_width(metafile_draw, width, s, length);
}
void IHcMetaPoint(int x, int y)
{
    SetPixel(metafile_draw.dc, x, y, metafile_draw.colour);
}
void IHcMetaLineType(int type)
{
    line_type(metafile_draw, type);
}
void IHcMetaLineWidth(int width)
{
    metafile_draw.pen_width = width;
}
void IHcMetaPolyline(int count)
{
    polyline(metafile_draw, count);
}
void IHcMetaArc(int x, int y, int rx, int ry, int sx, int sy, int ex, int ey, int closure)
{
    arc(metafile_draw, x, y, rx, ry, sx, sy, ex, ey, closure);
}
void IHcMetaPenEnsure()
{
    pen_ensure(metafile_draw);
}
void IHcMetaColourInvert(int& red, int& green, int& blue)
{
    colour_invert(red, green, blue);
}
