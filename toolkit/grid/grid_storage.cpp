// The grid's storage and the arithmetic of its layout.
#include "toolkit/grid/grid_storage.h"

#include "toolkit/grid/grid_number_text.h"
#include "toolkit/win/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

size_t text_stride(const GridColumn& c)
{
    return static_cast<size_t>(c.length) + 1;
}

void set_flag(GridColumn& c, int row, unsigned char bit, bool on)
{
    if (on)
        c.flags[row] |= bit;
    else
        c.flags[row] &= static_cast<unsigned char>(~bit);
}

}  // namespace

bool grid_column_allocate(GridColumn& c, int kind, int length, int capacity)
{
    c.kind = kind;
    c.length = length;
    c.text.clear();
    c.ints.clear();
    c.reals.clear();
    c.doubles.clear();
    c.colours.clear();
    const size_t rows = static_cast<size_t>(std::max(capacity, 0));
    try {
        switch (kind) {
        case GRID_TEXT: c.text.assign(rows * text_stride(c), '\0'); break;
        case GRID_REAL: c.reals.assign(rows, 0.0f); break;
        case GRID_DOUBLE: c.doubles.assign(rows, 0.0); break;
        default: c.ints.assign(rows, 0); break;
        }
        c.flags.assign(rows, 0);
    } catch (const std::bad_alloc&) {
        c.text.clear();
        c.ints.clear();
        c.reals.clear();
        c.doubles.clear();
        c.flags.clear();
        return false;
    }
    return true;
}

int grid_column_capacity(const GridColumn& c)
{
    return static_cast<int>(c.flags.size());
}

std::string grid_stored_string(const GridColumn& c, int row)
{
    const char* p = c.text.data() + static_cast<size_t>(row) * text_stride(c);
    return std::string(p, strnlen(p, text_stride(c)));
}

void grid_store_string(GridColumn& c, int row, std::string_view text)
{
    char* p = c.text.data() + static_cast<size_t>(row) * text_stride(c);
    size_t n = std::min(text.size(), static_cast<size_t>(c.length));
    text = text.substr(0, n);
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        n = nul;
    std::memcpy(p, text.data(), n);
    std::memset(p + n, 0, text_stride(c) - n);
}

std::string grid_stored_text(const GridColumn& c, int row, std::string_view format)
{
    if (c.kind == GRID_TEXT)
        return grid_stored_string(c, row);
    if (c.kind == GRID_CHECK || c.kind == GRID_MENU || !(c.flags[row] & GRID_DEFINED))
        return "";
    std::string t;
    switch (c.kind) {
    case GRID_INTEGER: return IStrFormatInteger(c.ints[row]);
    case GRID_REAL: IStrFormatReal(c.reals[row], t, format); return t;
    default: return IStrFormatDouble(c.doubles[row], format);
    }
}

int grid_stored_value(const GridColumn& c, int row, double& value)
{
    switch (c.kind) {
    case GRID_TEXT: {
        std::string t = grid_stored_string(c, row);
        if (t.find_first_not_of(' ') == std::string::npos)
            return -3;
        IStrReadDouble(value, t);
        return 0;
    }
    case GRID_CHECK:
    case GRID_MENU: return -2;
    default:
        if (!(c.flags[row] & GRID_DEFINED))
            return -3;
        value = c.kind == GRID_INTEGER ? c.ints[row] : c.kind == GRID_REAL ? c.reals[row] : c.doubles[row];
        return 0;
    }
}

// A number stored into an integer cell is truncated toward zero after clamping to the integer range.
static int to_int(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(v, -2147483648.0, 2147483647.0)));
}

static void store_value(GridColumn& c, int row, double value)
{
    switch (c.kind) {
    case GRID_INTEGER: c.ints[row] = to_int(value); break;
    case GRID_REAL: c.reals[row] = static_cast<float>(value); break;
    case GRID_DOUBLE: c.doubles[row] = value; break;
    default: break;
    }
}

void grid_store_put(GridColumn& c, int row, double value, std::string_view text, bool non_blank)
{
    if (c.kind == GRID_TEXT)
        grid_store_string(c, row, text);
    else
        store_value(c, row, value);
    set_flag(c, row, GRID_DEFINED, !text.empty());
    set_flag(c, row, GRID_NON_BLANK, non_blank);
}

void grid_store_number(GridColumn& c, int row, double value, bool non_blank)
{
    store_value(c, row, value);
    set_flag(c, row, GRID_DEFINED, non_blank);
    if (non_blank)
        set_flag(c, row, GRID_NON_BLANK, true);
}

int grid_stored_int(const GridColumn& c, int row)
{
    return c.ints.empty() ? 0 : c.ints[row];
}

void grid_store_int(GridColumn& c, int row, int value)
{
    if (!c.ints.empty())
        c.ints[row] = value;
}

void grid_store_clear(GridColumn& c, int row)
{
    switch (c.kind) {
    case GRID_TEXT: grid_store_string(c, row, ""); break;
    case GRID_REAL: c.reals[row] = 0.0f; break;
    case GRID_DOUBLE: c.doubles[row] = 0.0; break;
    default: c.ints[row] = 0; break;
    }
    set_flag(c, row, GRID_DEFINED, false);
    set_flag(c, row, GRID_NON_BLANK, false);
}

void grid_store_swap(GridColumn& c, int a, int b)
{
    switch (c.kind) {
    case GRID_TEXT: {
        char* pa = c.text.data() + static_cast<size_t>(a) * text_stride(c);
        char* pb = c.text.data() + static_cast<size_t>(b) * text_stride(c);
        std::swap_ranges(pa, pa + text_stride(c), pb);
        break;
    }
    case GRID_REAL: std::swap(c.reals[a], c.reals[b]); break;
    case GRID_DOUBLE: std::swap(c.doubles[a], c.doubles[b]); break;
    default: std::swap(c.ints[a], c.ints[b]); break;
    }
    constexpr unsigned char moved = GRID_DEFINED | GRID_NON_BLANK;
    unsigned char fa = c.flags[a], fb = c.flags[b];
    c.flags[a] = static_cast<unsigned char>((fa & ~moved) | (fb & moved));
    c.flags[b] = static_cast<unsigned char>((fb & ~moved) | (fa & moved));
}

int grid_scroll_scale(int rows)
{
    int scale = 1;
    while (rows / scale > 65536)
        scale *= 2;
    return scale;
}

int grid_rows_that_fit(int client_height, int cell_height)
{
    if (cell_height < 2)
        return 1;
    return std::max(1, (client_height - cell_height) / (cell_height - 1) + 1);
}

int grid_slot_count(int rows_that_fit, int rows)
{
    return std::max(0, std::min(rows_that_fit + 1, rows));
}

int grid_horizontal_limit(const std::vector<int>& widths, int client_width, int& page)
{
    int sum = 1;
    int counted = 0;
    for (int k = static_cast<int>(widths.size()) - 1; k >= 0; --k) {
        sum += widths[k] - 1;
        ++counted;
        if (sum > client_width) {
            page = counted - 1;
            return k + 1;
        }
    }
    page = counted;
    return 0;
}

int grid_last_visible_column(const std::vector<int>& widths, int first, int client_width)
{
    int sum = 0;
    int last = first;
    for (int k = first; k < static_cast<int>(widths.size()); ++k) {
        sum += widths[k] - 1;
        if (sum > client_width)
            break;
        last = k;
    }
    return last;
}

int grid_slot_budget(int window_count, int windows_per_slot, int wanted)
{
    constexpr int SYSTEM_WINDOW_LIMIT = 16000;
    int room = std::max(0, SYSTEM_WINDOW_LIMIT - window_count) / std::max(1, windows_per_slot);
    return std::clamp(wanted, 0, room);
}

int grid_wheel_lines(int& accumulated, int delta)
{
    accumulated += delta;
    int lines = 0;
    while (accumulated <= -120) {
        ++lines;
        accumulated += 120;
    }
    while (accumulated >= 120) {
        --lines;
        accumulated -= 120;
    }
    return lines;
}

int grid_read_number(std::string_view text, size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    long long v = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (v < 1000000000LL)
            v = v * 10 + (text[pos] - '0');
        ++pos;
    }
    return static_cast<int>(std::min(v, 2147483647LL));
}

GridSetupLine parse_grid_line(std::string_view text)
{
    GridSetupLine line;
    size_t pos = 0;
    line.columns = grid_read_number(text, pos);
    line.rows = grid_read_number(text, pos);
    line.template_id = grid_read_number(text, pos);
    line.consumed = pos;
    return line;
}

size_t parse_row_labels(std::string_view text, int rows, bool skip_texts, std::vector<std::string>& labels)
{
    labels.assign(static_cast<size_t>(std::max(rows, 0)), std::string());
    size_t pos = text.find('\n');
    size_t consumed = pos == std::string_view::npos ? text.size() : pos;
    if (skip_texts || pos == std::string_view::npos)
        return consumed;
    ++pos;
    for (int r = 0; r < rows && pos < text.size() && text[pos] != '\0'; ++r) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        size_t nul = line.find('\0');
        if (nul != std::string_view::npos)
            line = line.substr(0, nul);
        std::string label;
        for (char ch : line.substr(0, GRID_LABEL_LENGTH))
            if (ch != '\r')
                label += ch;
        label.erase(label.find_last_not_of(' ') + 1);
        labels[static_cast<size_t>(r)] = label;
        consumed = end;
        if (nul != std::string_view::npos)
            break;
        pos = end + 1;
    }
    return consumed;
}
