// Stroke fonts: installers, glyph decoding and width tables.

#include "toolkit/graphics/stroke_font.h"

#include "toolkit/common/error_state.h"

#include <algorithm>
#include <cstddef>

GrStrokeFontRecord GrStrokeFont;
GrStrokeFontRecord GrStrokeFontSymbolSlot;
GrStrokeFontRecord GrStrokeFontSaved;

//--- installers

// Copies text into a blank-padded field of the given length, cutting what does not fit.
static void put_padded(std::string& field, std::string_view text, std::size_t length)
{
    field.assign(length, ' ');
    field.replace(0, std::min(text.size(), length), text.substr(0, std::min(text.size(), length)));
}

void IGrStrokeFontInstall(float m1, float m2, float m3, float m4, int m5, int m6, int m7, int slot,
                          std::string_view name, std::string_view strokes, const StrokeStarts& lower,
                          const StrokeStartsUpper& upper)
{
    GrStrokeFontRecord& font = slot == 1 ? GrStrokeFontSymbolSlot : GrStrokeFont;
    font.cell_width = m1;
    font.cell_height = m2;
    font.x_extent = m3;
    font.y_extent = m4;
    font.charset = m5;
    font.proportional = m7;
    put_padded(font.strokes, strokes, STROKE_TEXT_LENGTH);
    font.lower = lower;
    font.upper = upper;
    if (slot == 1) {
        return;
    }
    font.mode = m6;
    put_padded(font.name, name, STROKE_NAME_LENGTH);
    font.bold = 0;
}

static void install_builtin(const StrokeFontData& data, int slot)
{
    IGrStrokeFontInstall(data.cell_width, data.cell_height, data.x_extent, data.y_extent, data.charset,
                         data.mode, data.proportional, slot, data.name, data.strokes, data.lower, data.upper);
}

void IGrStrokeFontStandard(int slot)
{
    install_builtin(STROKE_FONT_STANDARD, slot);
}
void IGrStrokeFontFixedBold()
{
    install_builtin(STROKE_FONT_FIXED_BOLD, 0);
}
void IGrStrokeFontFixedPlain()
{
    install_builtin(STROKE_FONT_FIXED_PLAIN, 0);
}
void IGrStrokeFontRomanBold()
{
    install_builtin(STROKE_FONT_ROMAN_BOLD, 0);
}
void IGrStrokeFontRomanPlain()
{
    install_builtin(STROKE_FONT_ROMAN_PLAIN, 0);
}
void IGrStrokeFontSwissBold()
{
    install_builtin(STROKE_FONT_SWISS_BOLD, 0);
}
void IGrStrokeFontSwissPlain()
{
    install_builtin(STROKE_FONT_SWISS_PLAIN, 0);
}

void IGrStrokeFontSwap(int mode)
{
    if (mode & 1) {
        const int kept = GrStrokeFontSaved.bold;
        GrStrokeFontSaved = GrStrokeFont;
        GrStrokeFontSaved.bold = kept;
    } else {
        const int kept = GrStrokeFont.bold;
        GrStrokeFont = GrStrokeFontSaved;
        GrStrokeFont.bold = kept;
    }
}

//--- glyph decoding

int stroke_value(char c)
{
    const std::size_t at = STROKE_ALPHABET.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int stroke_map_code(int code, int charset)
{
    if (code >= 32 && code <= 126) {
        return code;
    }
    if (code >= 161 && code <= 255 && charset != 7) {
        return code;
    }
    return 32;
}

// Start of the glyph of code q (33..127 or 161..256) in the font's start tables; 0 for other codes.
static int glyph_start(const GrStrokeFontRecord& font, int q)
{
    if (q >= 33 && q <= 127) {
        return font.lower[static_cast<std::size_t>(q - 33)];
    }
    if (q >= 161 && q <= 256) {
        return font.upper[static_cast<std::size_t>(q - 161)];
    }
    return 0;
}

std::vector<StrokeRun> stroke_glyph_runs(const GrStrokeFontRecord& font, int code)
{
    std::vector<StrokeRun> runs;
    if (!((code >= 33 && code <= 126) || (code >= 161 && code <= 255))) {
        return runs;
    }
    // The glyph runs from its start to one before the start of the next code; the tables come from
    // the caller of the installer, so both ends are checked against the stroke text.
    const int first = glyph_start(font, code);
    const int last = std::min(glyph_start(font, code + 1) - 1, static_cast<int>(font.strokes.size()));
    if (first < 1 || last < first) {
        return runs;
    }
    StrokeRun run;
    auto finish_run = [&]() {
        if (run.size() >= 2) {
            runs.push_back(run);
        }
        run.clear();
    };
    bool run_full = false;
    int i = first;
    while (i <= last) {
        const int x = stroke_value(font.strokes[static_cast<std::size_t>(i - 1)]);
        const int y = i + 1 <= last ? stroke_value(font.strokes[static_cast<std::size_t>(i)]) : -1;
        if (x < 0 || y < 0) {
            // A pen-up mark, or a lone character where a point should be: the run ends here.
            finish_run();
            run_full = false;
            i += 1;
            continue;
        }
        // A run over the point limit is cut at the limit; its further points are skipped.
        if (static_cast<int>(run.size()) < STROKE_RUN_POINTS && !run_full) {
            run.push_back({x, y});
        } else {
            run_full = true;
        }
        i += 2;
    }
    finish_run();
    return runs;
}

//--- width tables

// Default width factors of the codes 32..126 and 161..255 (fractions of the character cell).
static constexpr std::array<float, 95> DEFAULT_WIDTHS_LOWER = {
    0.70f, 0.56f, 0.69f, 0.84f, 0.84f, 1.39f, 1.30f, 0.56f, 0.56f, 0.56f, 0.84f, 0.94f, 0.42f, 0.56f,
    0.42f, 0.47f,  // 32..47
    0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.47f, 0.47f, 0.94f, 0.94f,
    0.94f, 0.74f,  // 48..63
    1.54f, 1.11f, 1.11f, 1.11f, 1.20f, 1.02f, 0.93f, 1.20f, 1.05f, 0.56f, 0.65f, 1.20f, 0.98f, 1.30f,
    1.20f, 1.20f,  // 64..79
    0.93f, 1.20f, 1.11f, 0.93f, 1.02f, 1.11f, 1.02f, 1.50f, 1.20f, 1.20f, 1.02f, 0.56f, 0.47f, 0.56f,
    0.78f, 0.84f,  // 80..95
    0.56f, 0.74f, 0.84f, 0.74f, 0.84f, 0.74f, 0.56f, 0.84f, 0.84f, 0.46f, 0.46f, 0.84f, 0.46f, 1.30f,
    0.84f, 0.84f,  // 96..111
    0.84f, 0.84f, 0.56f, 0.65f, 0.50f, 0.84f, 0.84f, 1.20f, 0.84f, 0.84f, 0.74f, 0.80f, 0.33f, 0.80f,
    0.90f,  // 112..126
};
static constexpr std::array<float, 95> DEFAULT_WIDTHS_UPPER = {
    0.55f, 0.83f, 0.83f, 0.83f, 0.83f, 0.33f, 0.83f, 0.55f, 1.27f, 0.46f, 0.83f, 0.94f, 0.55f, 1.27f,
    0.55f, 0.67f,  // 161..176
    0.94f, 0.50f, 0.50f, 0.55f, 0.83f, 0.75f, 0.42f, 0.55f, 0.50f, 0.52f, 0.83f, 1.25f, 1.25f, 1.25f,
    0.74f, 1.20f,  // 177..192
    1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 1.49f, 1.11f, 1.02f, 1.02f, 1.02f, 1.02f, 0.55f, 0.55f, 0.55f,
    0.55f, 1.20f,  // 193..208
    1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 0.94f, 1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 1.20f, 0.93f,
    0.83f, 0.74f,  // 209..224
    0.74f, 0.74f, 0.74f, 0.74f, 0.74f, 1.11f, 0.74f, 0.74f, 0.74f, 0.74f, 0.74f, 0.46f, 0.46f, 0.46f,
    0.46f, 0.83f,  // 225..240
    0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.94f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f,
    0.83f,  // 241..255
};

GrCharWidthsRecord GrCharWidths = {DEFAULT_WIDTHS_LOWER, DEFAULT_WIDTHS_UPPER};

void IGrCharTables(int code)
{
    if (code == 0) {
        GrCharWidths.lower = DEFAULT_WIDTHS_LOWER;
        GrCharWidths.upper = DEFAULT_WIDTHS_UPPER;
    } else if (code >= 32 && code <= 126) {
        const auto k = static_cast<std::size_t>(code - 32);
        GrCharWidths.lower[k] = DEFAULT_WIDTHS_LOWER[k];
    } else if (code >= 161 && code <= 255) {
        const auto k = static_cast<std::size_t>(code - 161);
        GrCharWidths.upper[k] = DEFAULT_WIDTHS_UPPER[k];
    } else {
        IErrorReport(GR_ERR_CHAR_TABLE);
    }
}

int IStrCharCode(std::string_view text)
{
    return text.empty() ? 32 : static_cast<unsigned char>(text.front());
}

float stroke_width_factor(int code)
{
    if (code >= 32 && code <= 126) {
        return GrCharWidths.lower[static_cast<std::size_t>(code - 32)];
    }
    if (code >= 161 && code <= 255) {
        return GrCharWidths.upper[static_cast<std::size_t>(code - 161)];
    }
    return GrCharWidths.lower[0];
}

float stroke_text_cells(std::string_view text, int text_mode, int charset)
{
    if (text_mode == 0) {
        return static_cast<float>(text.size());
    }
    double cells = 0.0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        cells += stroke_width_factor(stroke_map_code(IStrCharCode(text.substr(k, 1)), charset));
    }
    return static_cast<float>(cells);
}
