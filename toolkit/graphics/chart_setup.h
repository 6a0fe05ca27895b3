// PgChartState: the settings of a presentation-graphics chart (its area inside the graphics area, user
// ranges, log axes, plot type, data sets and points, option flags and one style record per data set).
// Nothing in this program draws a chart; the set-up keeps the state complete for the graphics reset.
#ifndef QR4T_TOOLKIT_GRAPHICS_CHART_SETUP_H
#define QR4T_TOOLKIT_GRAPHICS_CHART_SETUP_H

#include <array>
#include <span>
#include <string_view>

constexpr int PG_MAX_SETS = 256;
constexpr int PG_MAX_STACKED = 1024;

struct PgChartStateRecord {
    float area_x1 = 0.1f, area_y1 = 0.1f, area_x2 = 0.9f, area_y2 = 0.9f;  // fractions of the area
    std::array<float, 2> x_range{0.0f, 1.0f};                              // user units of the chart axes
    std::array<float, 2> y_range{0.0f, 1.0f};
    float x_extent = 1.0f, y_extent = 1.0f;                        // second value minus first
    float x_min = 0.0f, x_max = 1.0f, y_min = 0.0f, y_max = 1.0f;  // ordered ends
    std::array<float, 2> z_range{0.0f, 1.0f};                      // third axis
    float z_extent = 1.0f;
    float y_log_reference = 1.0f;            // > 0: its log bounds log-scaled y data
    int x_log_flag = 0, y_log_flag = 0;      // axis scale type "LOG"
    int x_log_active = 0, y_log_active = 0;  // log scaling in force
    std::array<float, 2> log_x{0.0f, 0.0f};  // log10 of the range ends (log of 0 is -38)
    float log_x_extent = 0.0f;
    std::array<float, 2> log_y{0.0f, 0.0f};
    float log_y_extent = 0.0f;
    float log_reference = 0.0f;        // log10 of the y log reference
    float log_reference_span = 38.0f;  // that value plus 38
    int plot_type = 4;                 // 1..10
    int data_sets = PG_MAX_SETS;       // 1..256
    int points = 1;                    // at least 1
    float points_real = 1.0f;          // points and points - 1 as reals
    float points_less_one = 0.0f;
    int second_dimension = 0;  // plot types 8, 10 and the alternative forms
    int third_dimension = 0;
    int options = 0;                                       // option bits as given
    int alternative = 0;                                   // bit 0, kept for types 1, 2, 5, 6, 7, 8, 10
    std::array<int, 10> flag_bits{};                       // bits 1, 3, 5, 6, 7, 9 by their bit number
    int three_way = 0;                                     // 1 bit 2, 2 bit 8, 3 bit 4, else 0
    int stacked = 0;                                       // bit 10 with types 1, 2, 4
    float offset = 0.0f;                                   // of the alternative forms
    float bar_width = 0.25f;                               // 0.6 / points, at most 0.25
    std::array<std::array<int, 3>, PG_MAX_SETS> style{};   // (s1, s2, s3) per set
    std::array<std::array<int, 2>, PG_MAX_SETS> colour{};  // colour pair per set
    std::array<int, PG_MAX_SETS> marker{};                 // marker word per set
    int default_colour = 223;
    std::array<int, 2> label_steps{1, 1};  // tick-label spacing along the data index
    std::array<float, PG_MAX_STACKED> stacked_values{};
    // Further defaults of the chart drawing (not part of this program), in the order the reset stores
    // them: reals 0 and 1 the view words, 2 and 3 the cosines of -pi/4 and pi/4, 4 and 5 the depth
    // pair (0.7/0.8 or 0.6/0.6 by type), 6..8 three drawing words (8 the type-5 real word), 9 the last
    // real word (0.75, 0.5 or 0.65 by type), 10 one more word.
    std::array<float, 11> drawing_reals{0.5f,  0.0f, 0.70710677f, 0.70710677f, 0.8f, 0.8f,
                                        0.38f, 1.5f, 0.7f,        0.5f,        0.7f};
    std::array<int, 5> drawing_ints{-3, 1, 3, 1, -1};  // 0 the type-10 word, 2 and 0 the type-5 pair
    std::array<float, 3> unit_reals{1.0f, 1.0f, 1.0f};
    std::array<int, 6> angle_words{};  // four angle words in degrees and two further words
    int style_word = 0;
    std::array<int, 3> colour_words{};
};
extern PgChartStateRecord PgChartState;

// The reset of the chart settings (graphics reset).
void pg_chart_reset();
// Chart area; each value taken only when valid (x1, y1 in [0, 1), x2, y2 in (0, 1]).
void IPgArea(float x1, float y1, float x2, float y2);
// x and y ranges; an empty range becomes 0..1 with error 16.
void IPgSetUnits(float x1, float y1, float x2, float y2);
// Third-axis range; z2 <= z1 gives 0..1 with error 16.
void IPgZUnits(float z1, float z2);
// y log reference; v <= 0 gives 1.0 with error 16.
void IPgLogReference(float v);
// A scale type whose first three characters are "LOG" (any case) makes the axis logarithmic.
void IPgAxisScales(std::string_view x_type, std::string_view y_type);
// Starts a new chart. points holds the point count, or for types 8 and 10 and the alternative forms
// the dimension counts.
void IPgNewPlot(int type, int sets, std::span<const int> points, int options = 0, int defaults = 0);
void IPgNewPlot(int type, int sets, int points, int options = 0, int defaults = 0);

#endif
