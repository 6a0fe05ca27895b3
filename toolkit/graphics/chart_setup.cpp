// Chart set-up: the state of a presentation-graphics chart and the operations that set it.
#include "toolkit/graphics/chart_setup.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"

#include "toolkit/graphics/gr_state.h"

#include <algorithm>
#include <cctype>
#include <cmath>

PgChartStateRecord PgChartState;

namespace {

// log10, with the log of 0 taken as -38 (also for a negative end, whose log does not exist).
float log_or_floor(float v)
{
    return v <= 0.0f ? -38.0f : static_cast<float>(std::log10(double(v)));
}

bool bit(int options, int n)
{
    return ((options >> n) & 1) != 0;
}

void recompute_log_ranges()
{
    auto& P = PgChartState;
    P.x_log_active = P.x_log_flag != 0 && P.flag_bits[6] == 0 && P.plot_type != 1 && P.alternative == 0;
    P.y_log_active = P.y_log_flag != 0 && P.plot_type != 2 && P.alternative == 0;
    if (P.x_log_active) {
        P.log_x = {log_or_floor(P.x_range[0]), log_or_floor(P.x_range[1])};
        P.log_x_extent = P.log_x[1] - P.log_x[0];
    }
    if (P.y_log_active) {
        P.log_y = {log_or_floor(P.y_range[0]), log_or_floor(P.y_range[1])};
        P.log_y_extent = P.log_y[1] - P.log_y[0];
        P.log_reference = log_or_floor(P.y_log_reference);
        P.log_reference_span = P.log_reference + 38.0f;
    }
}

// Colour pairs of the schemes that set them: by the colour model.
void colour_pairs(int count)
{
    auto& P = PgChartState;
    if (GrColourState.model == 1) {
        int q = 0;
        for (int k = 0; k < count; ++k) {
            P.colour[k] = {q + 32, q + 64};
            q = (q + ((k + 1) % 4) + 36) % 176;
        }
        return;
    }
    for (int k = 0; k < count; ++k) {
        const int u = k + 1, v = 255 - k;
        const int red = (v / 32) - 32 * (u % 4) + 223;
        const int green = (u % 9) * 16 + 127;
        const int blue = (u % 5) * 32 + 127;
        P.colour[k] = {blue * 65536 + green * 256 + red, blue * 65536 + green * 256 - red + 255};
    }
}

// The per-type defaults of IPgNewPlot (only with the defaults flag).
void apply_type_defaults()
{
    auto& P = PgChartState;
    const int type = P.plot_type;
    const bool kept = P.alternative != 0;
    const bool rgb_model = GrColourState.model != 1;
    int sets = P.data_sets;
    if ((type == 5 || type == 8) && kept && P.three_way != 3 && P.flag_bits[5] == 0)
        sets = 2;
    int scheme = 1;
    switch (type) {
    case 1:
    case 2:
    case 3:
        scheme = 1;
        P.default_colour = rgb_model ? 0 : 223;
        break;
    case 4: {
        scheme = 2;
        if (P.points < 13) {
            P.label_steps = {1, 1};
        } else {
            int value = P.points, e = 0;
            while (value > 10) {
                value /= 10;
                ++e;
            }
            const int decade = static_cast<int>(std::lround(std::pow(10.0, e - 1)));
            const int step = value < 3 ? 2 * decade : value < 7 ? 5 * decade : 10 * decade;
            P.label_steps = {step, step};
        }
        break;
    }
    case 5:
        scheme = kept ? (P.three_way == 3 ? 3 : 1) : 2;
        if (kept) {
            P.drawing_ints[2] = 3;
            P.drawing_ints[0] = -3;
            P.drawing_reals[8] = scheme == 3 ? 0.6f : 0.7f;
        }
        break;
    case 6: scheme = 4; break;
    case 7: scheme = kept ? 6 : 5; break;
    case 8:
        if (kept) {
            scheme = P.three_way == 3 ? 3 : 1;
        } else if (P.flag_bits[3] != 0) {
            scheme = 1;
            if (P.three_way == 0)
                P.label_steps = {std::max(1, 150 / std::max(P.points, P.second_dimension)),
                                 std::max(1, 150 / std::max(P.points, P.second_dimension))};
        } else {
            scheme = 8;
        }
        break;
    case 9: scheme = 7; break;
    default:
        scheme = 1;
        P.drawing_ints[0] = -3;
        break;
    }
    for (int k = 0; k < sets; ++k) {
        auto& s = P.style[k];
        switch (scheme) {
        case 1: s[0] = 4; break;
        case 2: {
            const int j = k % 61;
            s[0] = -(k % 7);
            s[2] = 0;
            s[1] = j < 9 ? 1 : 2;
            P.marker[k] = j < 9 ? j + 1 : j - 8;
            break;
        }
        case 3:
            if (k < 2) {
                s[0] = 4;
                P.colour[k][0] = k == 0 ? (rgb_model ? 255 : 31) : (rgb_model ? 65535 : 63);
            }
            break;
        case 4: s = {-(k % 7), 0, 0}; break;
        case 5: {
            const int j = k % 72;
            s[1] = j < 20 ? 3 : 2;
            P.marker[k] = j < 20 ? j + 1 : j - 19;
            break;
        }
        case 6:
            s = {3, 3, 1};
            P.marker[k] = ((k + 1) % 8) + 13;
            break;
        case 7:
            s[0] = 0;
            s[1] = 2;
            P.colour[k][0] = rgb_model ? 0 : 223;
            break;
        default:
            s[0] = 0;
            s[1] = 5;
            break;
        }
    }
    if (scheme != 3 && scheme != 7)
        colour_pairs(sets);
    if (!kept || type < 5) {
        P.angle_words[0] = P.angle_words[1] = P.angle_words[2] = P.angle_words[3] = 0;
        P.drawing_reals[4] = 0.7f;
        P.drawing_reals[5] = 0.8f;
    } else {
        P.drawing_reals[0] = 0.5f;
        P.drawing_reals[1] = 0.0f;
        P.drawing_reals[2] = 0.70710677f;
        P.drawing_reals[3] = 0.70710677f;
        P.angle_words = {-45, 45, -45, 45, 0, 0};
        P.drawing_reals[4] = 0.6f;
        P.drawing_reals[5] = 0.6f;
        if (type == 5 || type == 8 || type == 10) {
            P.style_word = 4;
            P.colour_words.fill(rgb_model ? 131 + 131 * 256 + 131 * 65536 : 255);
        } else {
            P.style_word = 0;
        }
    }
    P.drawing_reals[9] = type == 9 ? 0.75f : (P.flag_bits[6] == 0 ? 0.5f : 0.65f);
}

}  // namespace

void IPgArea(float x1, float y1, float x2, float y2)
{
    auto& P = PgChartState;
    auto low_ok = [](float v) { return v >= 0.0f && v < 1.0f; };
    auto high_ok = [](float v) { return v > 0.0f && v <= 1.0f; };
    if (low_ok(x1))
        P.area_x1 = x1;
    if (low_ok(y1))
        P.area_y1 = y1;
    if (high_ok(x2))
        P.area_x2 = x2;
    if (high_ok(y2))
        P.area_y2 = y2;
}

void IPgSetUnits(float x1, float y1, float x2, float y2)
{
    auto& P = PgChartState;
    if (x1 == x2) {
        x1 = 0.0f;
        x2 = 1.0f;
        IErrorReport(GR_ERR_UNITS);
    }
    if (y1 == y2) {
        y1 = 0.0f;
        y2 = 1.0f;
        IErrorReport(GR_ERR_UNITS);
    }
    P.x_range = {x1, x2};
    P.y_range = {y1, y2};
    P.x_extent = x2 - x1;
    P.y_extent = y2 - y1;
    P.x_min = std::min(x1, x2);
    P.x_max = std::max(x1, x2);
    P.y_min = std::min(y1, y2);
    P.y_max = std::max(y1, y2);
    recompute_log_ranges();
}

void IPgZUnits(float z1, float z2)
{
    auto& P = PgChartState;
    if (z2 <= z1) {
        z1 = 0.0f;
        z2 = 1.0f;
        IErrorReport(GR_ERR_UNITS);
    }
    P.z_range = {z1, z2};
    P.z_extent = z2 - z1;
}

void IPgLogReference(float v)
{
    if (v <= 0.0f) {
        v = 1.0f;
        IErrorReport(GR_ERR_UNITS);
    }
    PgChartState.y_log_reference = v;
    recompute_log_ranges();
}

void IPgAxisScales(std::string_view x_type, std::string_view y_type)
{
    auto is_log = [](std::string_view t) {
        if (t.size() < 3)
            return 0;
        std::string head;
        for (int i = 0; i < 3; ++i)
            head +=
                static_cast<char>(std::toupper(static_cast<unsigned char>(t[static_cast<std::size_t>(i)])));
        return head == "LOG" ? 1 : 0;
    };
    PgChartState.x_log_flag = is_log(x_type);
    PgChartState.y_log_flag = is_log(y_type);
    recompute_log_ranges();
}

void IPgNewPlot(int type, int sets, std::span<const int> points, int options, int defaults)
{
    auto& P = PgChartState;
    P.data_sets = std::clamp(sets, 1, PG_MAX_SETS);
    P.points = std::max(points.empty() ? 1 : points[0], 1);
    P.plot_type = (type < 1 || type > 10) ? 4 : type;
    P.options = options;
    const int t = P.plot_type;
    // Option flags.
    bool alternative =
        bit(options, 0) && (t == 1 || t == 2 || t == 5 || t == 6 || t == 7 || t == 8 || t == 10);
    if (t == 1 && bit(options, 5))
        alternative = false;
    P.alternative = alternative ? 1 : 0;
    P.flag_bits.fill(0);
    for (int b : {1, 3, 5, 6, 7, 9})
        P.flag_bits[static_cast<std::size_t>(b)] = bit(options, b) ? 1 : 0;
    if (alternative)
        P.flag_bits[6] = 0;
    P.three_way = bit(options, 2) ? 1 : bit(options, 8) ? 2 : bit(options, 4) ? 3 : 0;
    P.stacked = bit(options, 10) && (t == 1 || t == 2 || t == 4) ? 1 : 0;
    if (P.stacked) {
        if (P.points > PG_MAX_STACKED) {
            P.points = PG_MAX_STACKED;
            IErrorReport(GR_ERR_STACKED);
        }
        std::fill(P.stacked_values.begin(), P.stacked_values.begin() + P.points, 0.0f);
    } else if (t == 10 || t == 8 || alternative) {
        auto dimension = [&](std::size_t i) { return std::max(i < points.size() ? points[i] : 0, 2); };
        P.points = dimension(0);
        P.second_dimension = (t == 6 || t == 7) ? P.points : dimension(1);
        if (t == 10)
            P.third_dimension = dimension(2);
        if (alternative) {
            if (!bit(options, 9))
                P.offset = 0.5f;
            else if (P.second_dimension < P.points)
                P.offset = static_cast<float>(1.0 - (P.second_dimension * 0.5) / P.points);
            else
                P.offset = static_cast<float>((P.points * 0.5) / P.second_dimension);
        }
    }
    P.points_real = static_cast<float>(P.points);
    P.points_less_one = static_cast<float>(P.points - 1);
    P.bar_width = std::min(static_cast<float>(0.6 / P.points), 0.25f);
    recompute_log_ranges();
    if (defaults != 0)
        apply_type_defaults();
}

void IPgNewPlot(int type, int sets, int points, int options, int defaults)
{
    const int one[1] = {points};
    IPgNewPlot(type, sets, std::span<const int>(one), options, defaults);
}

void pg_chart_reset()
{
    PgChartState = PgChartStateRecord{};
    auto& P = PgChartState;
    IPgSetUnits(0.0f, 0.0f, 1.0f, 1.0f);
    IPgNewPlot(4, 256, 1, 0, 0);
    for (int n = 0; n < PG_MAX_SETS; ++n) {
        P.style[n] = {4, 2, 0};
        P.colour[n] = {(n % 6) * 32 + 32, (n % 6) * 32 + 64};
        P.marker[n] = -1;
    }
    P.default_colour = 223;
    P.label_steps = {1, 1};
}
