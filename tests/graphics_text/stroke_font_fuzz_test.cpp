// Robustness of the stroke-text decoder and layout: fonts of random stroke texts and start tables (as
// an installer may be handed them) never make them read outside the stroke text (the host build runs
// this under AddressSanitizer), never give a run outside its limits, and never give coordinates that
// are not finite.

#include "toolkit/graphics/stroke_font_glyphs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// A fixed pseudo-random sequence of the test's own (the program's generator is never reseeded).
struct Lcg {
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

}  // namespace

TEST(StrokeFontFuzz, RandomFontsStayInside)
{
    Lcg rng{12345u};
    const std::string characters = std::string(STROKE_ALPHABET) + "uv ~\x01\xff";
    for (int round = 0; round < 80; ++round) {
        // Stroke text of random length, mostly alphabet characters.
        std::string strokes(static_cast<std::size_t>(rng.below(400)), ' ');
        for (char& c : strokes) {
            c = characters[static_cast<std::size_t>(rng.below(static_cast<int>(characters.size())))];
        }
        StrokeStarts lower{};
        StrokeStartsUpper upper{};
        for (int& s : lower) {
            s = rng.below(4) == 0 ? rng.below(40000) - 20000
                                  : rng.below(static_cast<int>(strokes.size()) + 3);
        }
        for (int& s : upper) {
            s = rng.below(4) == 0 ? rng.below(40000) - 20000
                                  : rng.below(static_cast<int>(strokes.size()) + 3);
        }
        const int charset = rng.below(2) == 0 ? 7 : 8;
        const int mode = rng.below(2);
        IGrStrokeFontInstall(1.0f + rng.below(60), 1.0f + rng.below(60), static_cast<float>(rng.below(60)),
                             static_cast<float>(rng.below(60)), charset, mode, rng.below(2), 0, "fuzz.chr",
                             strokes, lower, upper);
        for (int code = 0; code <= 256; ++code) {
            for (const StrokeRun& run : stroke_glyph_runs(GrStrokeFont, code)) {
                ASSERT_GE(run.size(), 2u);
                ASSERT_LE(run.size(), static_cast<std::size_t>(STROKE_RUN_POINTS));
                for (const StrokePoint& p : run) {
                    ASSERT_TRUE(p.x >= 0 && p.x <= 55 && p.y >= 0 && p.y <= 55);
                }
            }
        }
        std::string text(static_cast<std::size_t>(rng.below(20)), ' ');
        for (char& c : text) {
            c = static_cast<char>(rng.below(256));
        }
        StrokeTextSettings s;
        s.text_mode = rng.below(3);
        s.vertical = rng.below(2);
        s.style = rng.below(16);
        s.slant = rng.below(2) == 0 ? 0.4663f : 0.0f;
        for (const StrokeOutput& o : stroke_text_geometry(GrStrokeFont, 10.0f, 20.0f, text, 8.0f, 12.0f, s)) {
            ASSERT_EQ(o.x.size(), o.y.size());
            for (std::size_t i = 0; i < o.x.size(); ++i) {
                ASSERT_TRUE(std::isfinite(o.x[i]) && std::isfinite(o.y[i]));
            }
        }
    }
    IGrStrokeFontStandard();
}
