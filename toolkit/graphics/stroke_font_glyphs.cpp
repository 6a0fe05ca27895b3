// The geometry of stroke text: glyph placement, scaling, slant and rotation.

#include "toolkit/graphics/stroke_font_glyphs.h"

std::vector<StrokeOutput> stroke_text_geometry(const GrStrokeFontRecord& font, float x, float y,
                                               std::string_view text, float W, float H,
                                               const StrokeTextSettings& settings)
{
    std::vector<StrokeOutput> out;
    if (!(font.cell_width > 0.0f) || !(font.cell_height > 0.0f)) {
        return out;
    }
    const double co = settings.co;
    const double sA = settings.sA;
    const double sB = settings.sB;
    const bool proportional = settings.text_mode != 0;
    const bool vertical = settings.vertical != 0;

    // Scales from grid units to device units, and the slant of y into x.
    double sx = static_cast<double>(W) / font.cell_width;
    const double sy = static_cast<double>(H) / font.cell_height;
    if (proportional && font.x_extent < 8.0f) {
        sx *= 0.75;
    }
    const double t = H != 0.0f ? static_cast<double>(settings.slant) * W / H : 0.0;

    // Cell advance a along the baseline and cell height h up the character.
    const double ax = W * co, ay = W * sB;
    const double hx = -H * sA, hy = H * co;
    const double xext = font.x_extent, yext = font.y_extent;

    double px = 0.0, py = 0.0;  // pen: where the glyph's grid origin lies
    for (std::size_t k = 0; k < text.size(); ++k) {
        const int code = stroke_map_code(IStrCharCode(text.substr(k, 1)), font.charset);

        // Advance a' and centring offset f of this character.
        double apx = ax, apy = ay, fx = 0.0, fy = 0.0;
        if (proportional) {
            const double w = stroke_width_factor(code);
            apx = w * ax;
            apy = w * ay;
            if (!vertical) {
                fx = (1.0 - w) * ax / 2.0;
                fy = (1.0 - w) * ay / 2.0;
            }
        }
        // The first glyph's box is centred on the text's middle line (rotated with the text).
        if (k == 0) {
            if (!vertical) {
                px = x + fx + (apx - xext * co * sx - hx) / 2.0;
                py = y + fy + (apy - xext * sB * sx - hy) / 2.0;
            } else {
                px = x + (yext * sA * sy - hx - xext * co * sx) / 2.0;
                py = y - (yext * co * sy + xext * sA * sx + hy) / 2.0;
            }
        }
        if (proportional && !vertical) {
            px -= fx;
            py -= fy;
        }
        if (code > 32) {
            for (const StrokeRun& run : stroke_glyph_runs(font, code)) {
                StrokeOutput piece;
                piece.shape =
                    font.mode == 0 ? STROKE_POLYGON : (run.size() == 2 ? STROKE_LINE : STROKE_POLYLINE);
                piece.x.reserve(run.size());
                piece.y.reserve(run.size());
                for (const StrokePoint& p : run) {
                    const double u = p.x * sx + t * p.y * sy;
                    const double v = p.y * sy;
                    piece.x.push_back(static_cast<float>(px + co * u - sA * v));
                    piece.y.push_back(static_cast<float>(py + sB * u + co * v));
                }
                out.push_back(std::move(piece));
            }
        }
        if (!vertical) {
            px += apx + fx;
            py += apy + fy;
        } else {
            px -= hx;
            py -= hy;
        }
    }

    // Underline of horizontal text: from just below the middle line's start, m cells long.
    if ((settings.style & 4) != 0 && !vertical) {
        const double m = stroke_text_cells(text, settings.text_mode, font.charset);
        const double ux = x - 0.45 * hx, uy = y - 0.45 * hy;
        out.push_back({STROKE_LINE,
                       {static_cast<float>(ux), static_cast<float>(ux + m * ax)},
                       {static_cast<float>(uy), static_cast<float>(uy + m * ay)}});
    }
    return out;
}
