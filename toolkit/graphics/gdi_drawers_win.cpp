// The GDI drawers of the screen driver: pens, brushes, the two-colour pattern, fonts, clip regions,
// the raster mode and the palette, on the current drawing context of GrGdiContext. Coordinates are
// pixels with rows counted from the top.
#include "toolkit/graphics/gdi_drawers_win.h"

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/palette_colours.h"

#include <algorithm>
#include <cstring>
#include <string>

GrGdiContextRecord GrGdiContext;
GdiPointListRecord GdiPointList;

namespace {

bool palette_display()
{
    return GrGdiContext.palette != nullptr && GrGdiContext.display_colours <= 256;
}

// A solid brush of the current colour.
HBRUSH solid_brush()
{
    return CreateSolidBrush(GrGdiContext.colour);
}

// Repaints the 8 x 8 pattern when the colours changed: current colour where x + y is even, previous
// colour where it is odd.
void refresh_pattern()
{
    auto& G = GrGdiContext;
    if (!G.pattern_dirty && G.pattern)
        return;
    if (!G.pattern)
        G.pattern = CreateCompatibleBitmap(G.dc, 8, 8);
    if (!G.pattern)
        return;
    BitmapDc mem(G.dc, G.pattern);
    if (!mem.get())
        return;
    PaletteSelection palette(mem.get(), G.palette);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(mem.get(), x, y, (x + y) % 2 == 0 ? G.colour : G.previous_colour);
    G.pattern_dirty = false;
}

// The shape's brush and pen, selected into the drawing context with its clip region: the pattern brush
// with the null pen, or a solid brush with a 1-pixel solid pen of the current colour (no pen under XOR
// when asked, so no edge is inverted twice). They are selected out of that same context at the end.
ShapeObjects shape_objects(bool pattern, bool drop_pen_under_xor)
{
    auto& G = GrGdiContext;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    if (pattern) {
        refresh_pattern();
        brush = G.pattern ? CreatePatternBrush(G.pattern) : solid_brush();
    } else {
        brush = solid_brush();
        if (!(drop_pen_under_xor && G.rop2 == R2_XORPEN))
            pen = CreatePen(PS_SOLID, 1, G.colour);
    }
    return ShapeObjects(G.dc, brush, pen, G.clip);
}

constexpr int pen_styles[7] = {PS_SOLID, PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT, PS_DASHDOT, PS_DASH};

}  // namespace

void gdi_pen_recreate()
{
    auto& G = GrGdiContext;
    if (!G.dc)
        return;
    if (G.pen) {
        SelectObject(G.dc, G.pen_replaced);
        DeleteObject(G.pen);
        G.pen = nullptr;
    }
    const int style = pen_styles[std::clamp(G.pen_kind, 0, 6)];
    if (G.geometric_pens && style != PS_SOLID && G.pen_width >= 2) {
        LOGBRUSH lb = {BS_SOLID, G.colour, 0};
        G.pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL | static_cast<DWORD>(style),
                             static_cast<DWORD>(G.pen_width), &lb, 0, nullptr);
    } else {
        G.pen = CreatePen(style, G.pen_width, G.colour);
    }
    if (G.pen)
        G.pen_replaced = SelectObject(G.dc, G.pen);
}

bool gdi_pen_solid()
{
    return GrGdiContext.pen_kind == 0;
}

void IGrGdiLine(int x1, int row1, int x2, int row2)
{
    auto& G = GrGdiContext;
    MoveToEx(G.dc, x1, row1, nullptr);
    LineTo(G.dc, x2, row2);
    if (gdi_pen_solid())  // GDI leaves the last pixel out
        SetPixel(G.dc, x2, row2, G.colour);
}

void IGrGdiColour(int device_value, int rgb)
{
    auto& G = GrGdiContext;
    G.previous_colour = G.colour;
    if (palette_display())
        G.colour = PALETTEINDEX(static_cast<WORD>(device_value));
    else
        G.colour = GetNearestColor(G.dc, static_cast<COLORREF>(rgb));
    G.colour_number = GrColourState.number[GR_CURRENT];
    G.pattern_dirty = true;
    gdi_pen_recreate();
}

void IGrGdiEllipse(int cx, int crow, int rx, int ry, int op)
{
    auto& G = GrGdiContext;
    const int rxp = rx + 1, ryp = ry + 1;
    if (op == GrOpEllipseOutline) {
        Selection no_brush(G.dc, GetStockObject(NULL_BRUSH));
        Ellipse(G.dc, cx - rxp, crow - ryp, cx + rxp + 1, crow + ryp + 1);
        return;
    }
    const bool pattern = op == GrOpEllipsePattern;
    ShapeObjects objects = shape_objects(pattern, false);
    const int extra = pattern ? 2 : 1;  // no pen: the right and bottom edges one pixel further
    Ellipse(G.dc, cx - rxp, crow - ryp, cx + rxp + extra, crow + ryp + extra);
}

void IGrGdiRectangle(int x1, int row_top, int x2, int row_bottom, bool pattern)
{
    auto& G = GrGdiContext;
    ShapeObjects objects = shape_objects(pattern, false);
    // With the null pen GDI fills one pixel less on the right and bottom: +2 includes both edges.
    Selection no_pen(G.dc, GetStockObject(NULL_PEN));
    Rectangle(G.dc, x1, row_top, x2 + 2, row_bottom + 2);
}

void IGrGdiPie(int cx, int crow, int rx, int ry, int sx, int srow, int ex, int erow, bool pattern)
{
    auto& G = GrGdiContext;
    ShapeObjects objects = shape_objects(pattern, false);
    const int extra = pattern ? 3 : 2;
    Pie(G.dc, cx - rx - 1, crow - ry - 1, cx + rx + extra, crow + ry + extra, sx, srow, ex, erow);
}

void IGrGdiArc(int cx, int crow, int rx, int ry, int sx, int srow, int ex, int erow, int density, int style)
{
    auto& G = GrGdiContext;
    Selection no_brush(G.dc, GetStockObject(NULL_BRUSH));
    if (G.clip)
        SelectClipRgn(G.dc, G.clip);
    if (density < 3 || style >= 1)
        Pie(G.dc, cx - rx - 1, crow - ry - 1, cx + rx + 2, crow + ry + 2, sx, srow, ex, erow);
    else
        Arc(G.dc, cx - rx - 1, crow - ry - 1, cx + rx + 2, crow + ry + 2, sx, srow, ex, erow);
    if (G.clip)
        SelectClipRgn(G.dc, nullptr);
}

void IGrGdiSetPoint(int i, int x, int row)
{
    if (i >= 1 && i <= GR_POLYLINE_MAX) {
        GdiPointList.point[static_cast<std::size_t>(i - 1)] = {x, row};
    }
}

void IGrGdiPolygon(int count, bool pattern)
{
    count = std::clamp(count, 0, GR_POLYLINE_MAX);
    if (count < 2)
        return;
    ShapeObjects objects = shape_objects(pattern, true);
    Polygon(GrGdiContext.dc, GdiPointList.point.data(), count);
}

void IGrGdiPolyline(int count)
{
    auto& G = GrGdiContext;
    count = std::clamp(count, 0, GR_POLYLINE_MAX);
    if (count < 2)
        return;
    Polyline(G.dc, GdiPointList.point.data(), count);
    const POINT& first = GdiPointList.point[0];
    const POINT& last = GdiPointList.point[static_cast<std::size_t>(count - 1)];
    if (gdi_pen_solid() && (last.x != first.x || last.y != first.y))
        SetPixel(G.dc, last.x, last.y, G.colour);
}

void IGrGdiClear(int width, int height, int rgb)
{
    auto& G = GrGdiContext;
    const COLORREF c =
        palette_display() ? PALETTEINDEX(0) : GetNearestColor(G.dc, static_cast<COLORREF>(rgb));
    ShapeObjects objects(G.dc, CreateSolidBrush(c), nullptr, nullptr);
    const int rop = SetROP2(G.dc, R2_COPYPEN);
    Rectangle(G.dc, 0, 0, width + 1, height + 1);
    SetROP2(G.dc, rop);
}

void IGrGdiPoint(int x, int row)
{
    SetPixel(GrGdiContext.dc, x, row, GrGdiContext.colour);
}

void IGrGdiPlotMode(int mode)
{
    constexpr int codes[4] = {R2_COPYPEN, R2_MERGEPEN, R2_MASKPEN, R2_XORPEN};
    auto& G = GrGdiContext;
    if (mode >= 0 && mode <= 3)
        G.rop2 = codes[mode];
    SetROP2(G.dc, G.rop2);
}

void IGrGdiLineType(int type)
{
    GrGdiContext.pen_kind = (type >= 0 && type <= 6) ? type : 0;
    gdi_pen_recreate();
}

void IGrGdiLineWidth(int width)
{
    GrGdiContext.pen_width = std::max(width, 1);
    gdi_pen_recreate();
}

void IGrGdiReadPixel(int x, int row, int& red, int& green, int& blue)
{
    const COLORREF c = GetPixel(GrGdiContext.dc, x, row);
    if (c == CLR_INVALID) {
        red = green = blue = -1;
        return;
    }
    red = GetRValue(c);
    green = GetGValue(c);
    blue = GetBValue(c);
}

void IGrGdiClip(int x1, int row_top, int x2, int row_bottom, bool none)
{
    auto& G = GrGdiContext;
    if (G.clip) {
        DeleteObject(G.clip);
        G.clip = nullptr;
    }
    if (!none)
        G.clip = CreateRectRgn(x1, row_top, x2, row_bottom);
}

void IGrGdiPaletteEntry(int slot, int rgb, int batch)
{
    auto& G = GrGdiContext;
    if (!G.palette)
        return;
    if (batch < 2)
        UnrealizeObject(G.palette);
    PALETTEENTRY e = {static_cast<BYTE>(rgb & 255), static_cast<BYTE>((rgb >> 8) & 255),
                      static_cast<BYTE>((rgb >> 16) & 255), 0};
    SetPaletteEntries(G.palette, static_cast<UINT>(slot), 1, &e);
    if (batch == 0 || batch == 3) {
        SelectPalette(G.dc, G.palette, FALSE);
        RealizePalette(G.dc);
    }
}

void IGrGdiDefineColour(int number, int rgb, int batch)
{
    auto& G = GrGdiContext;
    if (G.display_colours < 16)
        return;
    if (G.display_colours >= 256 && !G.palette) {
        if (number == GrColourState.number[GR_CURRENT])
            G.colour = GetNearestColor(G.dc, static_cast<COLORREF>(rgb));
    } else {
        IGrGdiPaletteEntry(number, rgb, batch);
    }
    gdi_pen_recreate();
}

void IGrGdiFont(int& width, int& height, int& ascent, int angle, int family, int style,
                const std::array<char, 100>& face_name)
{
    auto& G = GrGdiContext;
    struct Face {
        const char* name;
        DWORD pitch_family;
        DWORD charset;
    };
    const Face faces[5] = {{nullptr, FF_DONTCARE, DEFAULT_CHARSET},
                           {"Courier New", FF_MODERN, ANSI_CHARSET},
                           {"Arial", FF_SWISS, ANSI_CHARSET},
                           {"Times New Roman", FF_ROMAN, ANSI_CHARSET},
                           {"Symbol", FF_ROMAN, SYMBOL_CHARSET}};
    const Face& f = faces[std::clamp(family, 0, 4)];
    std::string name;
    if (f.name) {
        name = f.name;
    } else {
        name.assign(face_name.begin(), face_name.end());
        name.erase(name.find_last_not_of(' ') + 1);
    }
    name = name.substr(0, LF_FACESIZE - 1);
    auto create = [&](int escapement) {
        return CreateFontA(-height, width, escapement, escapement, (style & 1) ? 700 : 400,
                           (style & 2) ? 1 : 0, (style & 4) ? 1 : 0, 0, f.charset, OUT_TT_PRECIS,
                           CLIP_LH_ANGLES, DEFAULT_QUALITY, VARIABLE_PITCH | f.pitch_family, name.c_str());
    };
    if (G.font) {
        SelectObject(G.dc, G.font_replaced);
        DeleteObject(G.font);
        G.font = nullptr;
    }
    // Metrics of the upright font, then the font at its angle in tenths of a degree.
    HFONT upright = create(0);
    if (!upright)
        return;
    HGDIOBJ old = SelectObject(G.dc, upright);
    TEXTMETRICA tm = {};
    GetTextMetricsA(G.dc, &tm);
    SelectObject(G.dc, old);
    DeleteObject(upright);
    G.font = create(angle * 10);
    if (!G.font)
        return;
    G.font_replaced = SelectObject(G.dc, G.font);
    height = tm.tmHeight;
    ascent = tm.tmAscent;
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size = {};
    GetTextExtentPoint32A(G.dc, letters, 52, &size);
    width = size.cx;
}

void IGrGdiText(int x1, int row1, int x2, int row2, int justification, bool opaque, const char* text,
                int count)
{
    auto& G = GrGdiContext;
    if (count <= 0)
        return;
    const COLORREF old_text = SetTextColor(G.dc, G.colour);
    const COLORREF old_back = SetBkColor(G.dc, G.previous_colour);
    const int old_mode = SetBkMode(G.dc, opaque ? OPAQUE : TRANSPARENT);
    UINT align = TA_BASELINE | TA_LEFT;
    int x = x1, y = row1;
    if (justification == 1) {
        align = TA_BASELINE | TA_CENTER;
        x = (x1 + x2) / 2;
        y = (row1 + row2) / 2;
    } else if (justification == 2) {
        align = TA_BASELINE | TA_RIGHT;
        x = x2;
        y = row2;
    }
    const UINT old_align = SetTextAlign(G.dc, align);
    TextOutA(G.dc, x, y, text, count);
    SetTextAlign(G.dc, old_align);
    SetBkMode(G.dc, old_mode);
    SetBkColor(G.dc, old_back);
    SetTextColor(G.dc, old_text);
}

void IGrGdiTextWidth(int& width, const char* text, int count)
{
    SIZE size = {};
    width = 0;
    if (count > 0 && GetTextExtentPoint32A(GrGdiContext.dc, text, count, &size))
        width = size.cx;
}

void IGrGdiBlockMove(int sl, int st, int dl, int dt, int width, int height, bool fill, int rgb)
{
    auto& G = GrGdiContext;
    DWORD rop = SRCCOPY;
    switch (G.rop2) {
    case R2_XORPEN: rop = SRCINVERT; break;
    case R2_MASKPEN: rop = SRCAND; break;
    case R2_MERGEPEN: rop = SRCPAINT; break;
    default: break;
    }
    BitBlt(G.dc, dl, dt, width, height, G.dc, sl, st, rop);
    if (!fill)
        return;
    const int sr = sl + width - 1, sb = st + height - 1;
    const int dr = dl + width - 1, db = dt + height - 1;
    auto holds = [&](int y) { return dt <= y && y <= db; };
    // The uncovered part of the source, a polygon of at most six corners. (A fixed array: GCC 12 warns,
    // wrongly, of writes past the storage when brace lists are assigned to a std::vector here.)
    POINT p[6];
    int corners = 0;
    auto outline = [&](std::initializer_list<POINT> c) {
        corners = static_cast<int>(c.size());
        std::copy(c.begin(), c.end(), p);
    };
    if (dr >= sl && dr <= sr) {
        if (dr == sr && holds(st) && !holds(sb))
            outline({{sl, db + 1}, {sr, db + 1}, {sr, sb}, {sl, sb}});
        else if (holds(st) && !holds(sb))
            outline({{dr + 1, st}, {sr, st}, {sr, sb}, {sl, sb}, {sl, db + 1}, {dr + 1, db + 1}});
        else if (holds(sb) && dr == sr)
            outline({{sl, st}, {sr, st}, {sr, dt - 1}, {sl, dt - 1}});
        else if (holds(sb) && dt == st)
            outline({{dr + 1, st}, {sr, st}, {sr, sb}, {dr + 1, sb}});
        else if (holds(sb))
            outline({{sl, st}, {sr, st}, {sr, sb}, {dr + 1, sb}, {dr + 1, dt - 1}, {sl, dt - 1}});
    }
    if (corners == 0 && dl >= sl && dl <= sr) {
        if (dt == st)
            outline({{sl, st}, {dl - 1, st}, {dl - 1, sb}, {sl, sb}});
        else if (holds(sb))
            outline({{sl, st}, {sr, st}, {sr, dt - 1}, {dl - 1, dt - 1}, {dl - 1, sb}, {sl, sb}});
        else if (holds(st) && !holds(sb))
            outline({{sl, st}, {dl - 1, st}, {dl - 1, db + 1}, {sr, db + 1}, {sr, sb}, {sl, sb}});
    }
    if (corners == 0)
        outline({{sl, st}, {sr, st}, {sr, sb}, {sl, sb}});
    const COLORREF c = GetNearestColor(G.dc, static_cast<COLORREF>(rgb));
    HBRUSH brush = CreateSolidBrush(c);
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old_brush = SelectObject(G.dc, brush);
    HGDIOBJ old_pen = SelectObject(G.dc, pen);
    const int old_rop = SetROP2(G.dc, R2_COPYPEN);
    Polygon(G.dc, p, corners);
    SetROP2(G.dc, old_rop);
    SelectObject(G.dc, old_pen);
    SelectObject(G.dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void gdi_release_font_and_pen()
{
    auto& G = GrGdiContext;
    if (G.font) {
        if (G.dc)
            SelectObject(G.dc, G.font_replaced);
        DeleteObject(G.font);
        G.font = nullptr;
    }
    if (G.pen) {
        if (G.dc)
            SelectObject(G.dc, G.pen_replaced);
        DeleteObject(G.pen);
        G.pen = nullptr;
    }
}

void IGrGdiRelease()
{
    auto& G = GrGdiContext;
    if (G.pattern) {
        DeleteObject(G.pattern);
        G.pattern = nullptr;
        G.pattern_dirty = true;
    }
    if (G.clip) {
        DeleteObject(G.clip);
        G.clip = nullptr;
    }
    gdi_release_font_and_pen();
    if (G.palette) {
        DeleteObject(G.palette);
        G.palette = nullptr;
    }
    G.palette_block.clear();
}

void IGrPaletteBuild(int flag)
{
    auto& G = GrGdiContext;
    if (flag != 0) {
        const std::vector<int> entries = gr_palette_colours(GrColourState.screen_class);
        if (!entries.empty()) {
            const std::size_t count = entries.size() + 2;
            G.palette_block.assign(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY), 0);
            auto* lp = reinterpret_cast<LOGPALETTE*>(G.palette_block.data());
            lp->palVersion = 0x300;
            lp->palNumEntries = static_cast<WORD>(count);
            auto put = [&](std::size_t i, COLORREF c) {
                lp->palPalEntry[i] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
            };
            for (std::size_t i = 0; i < entries.size(); ++i)
                put(i, static_cast<COLORREF>(entries[i]));
            put(entries.size(), GetSysColor(COLOR_WINDOWTEXT));
            put(entries.size() + 1, GetSysColor(COLOR_WINDOW));
        }
    }
    if (!G.palette_block.empty() && !G.palette)
        G.palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(G.palette_block.data()));
    if (G.palette && G.dc) {
        SelectPalette(G.dc, G.palette, FALSE);
        RealizePalette(G.dc);
    }
}
