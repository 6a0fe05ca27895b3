// Window text on Win32: the window-text font (GDI), drawing and measuring on the current surface, and
// the text, number and in-line-code operations in window units.

#include "toolkit/graphics/window_text.h"

#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_drawers_win.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/number_text.h"
#include "toolkit/win/window_table_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

// The window-text font object; it lives as long as the process and is made again only when one of
// its parameters changes.
static HFONT text_font = nullptr;

// The drawing context of the current surface: the bound screen device's (a window or an off-screen
// bitmap), else the current window's client context.
static HDC text_dc()
{
    return GrGdiContext.dc != nullptr ? GrGdiContext.dc : WIN_CURRENT.dc;
}

// Whether the display works through a 256-colour palette.
static bool palette_display()
{
    return (GetDeviceCaps(WindowDc(nullptr).get(), RASTERCAPS) & RC_PALETTE) != 0;
}

static COLORREF text_colour_ref(HDC dc, int number, bool palette)
{
    const int index = std::clamp(number, 0, WGR_TEXT_COLOUR_COUNT - 1);
    const COLORREF c = static_cast<COLORREF>(WGrTextColours[static_cast<std::size_t>(index)]);
    return palette ? GetNearestColor(dc, c) : c;
}

//--- font

void WGrTextFontCreate(int face, int bold, int italic, int& width, int& height)
{
    if (text_font != nullptr) {
        DeleteObject(text_font);
        text_font = nullptr;
    }
    HFONT font = nullptr;
    auto make = [&](const char* name, DWORD pitch_family) {
        return CreateFontA(height, width, 0, 0, bold != 0 ? 700 : 400, italic != 0 ? 1 : 0, 0, 0,
                           DEFAULT_CHARSET, OUT_TT_PRECIS, 0, 0, pitch_family, name);
    };
    switch (face) {
    case -99: font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); break;
    case 1: font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT)); break;
    case 2: font = make("Times New Roman", 0x12); break;
    case 3: font = make("Arial", 0x22); break;
    case 4: font = make("Courier New", 0x32); break;
    case 5: font = make("Symbol", 0x02); break;
    case 6: font = make("Wingdings", 0x02); break;
    default: font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); break;
    }
    if (face >= 2 && face <= 6) {
        text_font = font;  // ours to delete; stock objects are never deleted
    }
    HDC dc = text_dc();
    if (font == nullptr || dc == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm)) {
        height = tm.tmHeight;
        width = tm.tmAveCharWidth;
    }
    SelectObject(dc, previous);
}

// The font object in use: ours, or the stock object of the face.
static HGDIOBJ current_font()
{
    if (text_font != nullptr) {
        return text_font;
    }
    switch (WGrTextState.last_face) {
    case -99: return GetStockObject(DEFAULT_GUI_FONT);
    case 1: return GetStockObject(SYSTEM_FIXED_FONT);
    default: return GetStockObject(SYSTEM_FONT);
    }
}

void WGrTextFontEnsure()
{
    auto& S = WGrTextState;
    if (S.face == S.last_face && S.bold == S.last_bold && S.italic == S.last_italic &&
        S.font_width == S.last_width && S.font_height == S.last_height) {
        return;
    }
    int width = S.font_width, height = S.font_height;
    WGrTextFontCreate(S.face, S.bold, S.italic, width, height);
    S.last_face = S.face;
    S.last_bold = S.bold;
    S.last_italic = S.italic;
    // The returned size becomes both the request and the last one, so that an unchanged request does
    // not make the font again.
    S.font_width = S.last_width = width;
    S.font_height = S.last_height = height;
}

void WGrTextFontScale()
{
    WGrTextState.font_width = window_units_to_pixels(WGrTextState.unit_width, WIN_CURRENT.width);
    WGrTextState.font_height = window_units_to_pixels(WGrTextState.unit_height, WIN_CURRENT.height);
}

// Window-text colour n in the toolkit's logical palette (palette displays only): the palette build puts
// the 18 window-text colours behind the entries of the display's colour class, so colour n is the
// entry 18 - n from the end. (A fixed slot 16 + n is right only on a 16-colour display; on a 256-colour
// display it would overwrite the graphics colours 16..33.)
static void palette_define(int n, int rgb)
{
    HPALETTE palette = GrGdiContext.palette;
    if (palette == nullptr) {
        return;
    }
    const int entries = static_cast<int>(GetPaletteEntries(palette, 0, 0, nullptr));
    if (entries < WGR_TEXT_COLOUR_COUNT) {
        return;
    }
    IGrGdiPaletteEntry(entries - WGR_TEXT_COLOUR_COUNT + n, rgb, 0);
}

void window_text_start()
{
    WINDOW_TEXT_PALETTE_HOOK = palette_define;
    WGrTextState = WGrTextStateRecord{};
    int width = 0, height = 0;
    WGrTextFontCreate(0, 0, 0, width, height);
    WGrTextState.last_face = 0;
    WGrTextState.last_bold = 0;
    WGrTextState.last_italic = 0;
    WGrTextState.font_width = WGrTextState.last_width = width;
    WGrTextState.font_height = WGrTextState.last_height = height;
    WGrPixelsToUnits(width, height, WGrTextState.unit_width, WGrTextState.unit_height);
}

void window_text_main_window_open()
{
    WGrTextDrawing.text_colour = 0;
    WGrTextDrawing.background_colour = 15;
    WGrTextDrawing.underline = 0;
    WGrTextColours = WGR_TEXT_DEFAULT_COLOURS;
    WGrTextColours[16] = static_cast<int>(GetSysColor(COLOR_WINDOWTEXT));
    WGrTextColours[17] = static_cast<int>(GetSysColor(COLOR_WINDOW));
}

//--- drawing and measuring

void WGrTextDraw(int& x, int& y, std::string_view text)
{
    HDC dc = text_dc();
    if (dc == nullptr) {
        return;
    }
    const bool palette = palette_display();
    HGDIOBJ previous_font = SelectObject(dc, current_font());
    const int previous_mode = SetBkMode(dc, OPAQUE);
    const UINT previous_align = SetTextAlign(dc, TA_BASELINE | TA_UPDATECP);
    const COLORREF fore = text_colour_ref(dc, WGrTextDrawing.text_colour, palette);
    const COLORREF back = text_colour_ref(dc, WGrTextDrawing.background_colour, palette);
    const COLORREF previous_back = SetBkColor(dc, back);
    const COLORREF previous_fore = SetTextColor(dc, fore);

    MoveToEx(dc, x, y, nullptr);
    TextOutA(dc, 0, 0, text.data(), static_cast<int>(text.size()));
    POINT after{x, y};
    GetCurrentPositionEx(dc, &after);
    if (WGrTextDrawing.underline != 0) {
        // Two pixels below the baseline, in the text colour.
        HPEN pen = CreatePen(PS_SOLID, 1, fore);
        HGDIOBJ previous_pen = SelectObject(dc, pen);
        MoveToEx(dc, x, y + 2, nullptr);
        LineTo(dc, after.x, after.y + 2);
        SelectObject(dc, previous_pen);
        DeleteObject(pen);
        MoveToEx(dc, after.x, after.y, nullptr);
    }
    x = after.x;
    y = after.y;

    SetTextAlign(dc, previous_align);
    SetBkMode(dc, previous_mode);
    SetBkColor(dc, previous_back);
    SetTextColor(dc, previous_fore);
    SelectObject(dc, previous_font);
}

void WGrTextExtentPixels(int& width, std::string_view text)
{
    width = 0;
    HDC dc = text_dc();
    if (dc == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(dc, current_font());
    SIZE size{};
    if (GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size)) {
        width = size.cx;
    }
    SelectObject(dc, previous);
}

void WGrPixelsToUnits(int px, int py, int& ux, int& uy)
{
    ux = window_pixels_to_units(px, WIN_CURRENT.width);
    uy = window_pixels_to_units(py, WIN_CURRENT.height);
}

//--- text in window units

// Draws one run at the pen (x, y) in the attributes of the piece.
static void draw_piece(int& x, int& y, const WindowTextPiece& piece)
{
    WGrTextState.bold = piece.bold;
    WGrTextState.italic = piece.italic;
    WGrTextUnderlineSet(piece.underline);
    WGrTextState.text_colour = piece.text_colour;
    WGrTextState.background_colour = piece.background_colour;
    WGrTextColourIndexSet(piece.text_colour, piece.background_colour);
    WGrTextFontEnsure();
    WGrTextDraw(x, y, piece.text);
}

void WGrTextLayout(int x, int y, std::string_view text)
{
    auto& S = WGrTextState;
    int px = 0, py = 0;
    WGrUnitsToPixels(x, y, px, py);
    WindowTextPiece start;
    start.bold = S.bold;
    start.italic = S.italic;
    start.underline = S.underline;
    start.text_colour = S.text_colour;
    start.background_colour = S.background_colour;
    for (const WindowTextPiece& piece : window_text_pieces(text, S.marker, start)) {
        draw_piece(px, py, piece);
    }
    // The attributes in force when the call began come back.
    S.bold = start.bold;
    S.italic = start.italic;
    WGrTextUnderlineSet(start.underline);
    S.text_colour = start.text_colour;
    S.background_colour = start.background_colour;
    WGrTextColourIndexSet(start.text_colour, start.background_colour);
    WGrPixelsToUnits(px, py, S.x, S.y);
}

void WGrTextString(int x, int y, std::string_view text)
{
    auto& S = WGrTextState;
    if (S.marker != ' ') {
        WGrTextLayout(x, y, text);
        return;
    }
    int px = 0, py = 0;
    WGrUnitsToPixels(x, y, px, py);
    WGrTextFontEnsure();
    WGrTextDraw(px, py, text);  // trailing blanks too: they paint the background
    WGrPixelsToUnits(px, py, S.x, S.y);
}

int WGrTextLength(std::string_view text)
{
    WGrTextFontEnsure();
    int width = 0;
    if (WGrTextState.marker == ' ') {
        WGrTextExtentPixels(width, text);
    } else {
        std::string copy;
        int length = 0;
        WGrTextStripMarkers(text, WGrTextState.marker, copy, length);
        WGrTextExtentPixels(width, copy);
    }
    int ux = 0, uy = 0;
    WGrPixelsToUnits(width, 0, ux, uy);
    return ux;
}

// The first n characters of the text (n its length without trailing blanks), justified and written.
static void justified_out(int x, int y, std::string text)
{
    const std::size_t end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
    IStrJustify(text, std::string_view(&WGrTextState.justification, 1));
    WGrTextString(x, y, text);
}

void WGrTextReal(int x, int y, float value, std::string_view format)
{
    std::string text(200, ' ');
    IStrFormatNumber(value, text, format);
    justified_out(x, y, text);
}

void WGrTextInteger(int x, int y, int value, int width)
{
    const int w = std::clamp(width, 0, 100);
    std::string digits(3, ' ');
    IStrFormatNumber(w, digits, "(I3.3)");
    std::string text(static_cast<std::size_t>(w), ' ');
    IStrFormatNumber(value, text, "(I" + digits + ")");
    IStrJustify(text, std::string_view(&WGrTextState.justification, 1));
    WGrTextString(x, y, text);
}
