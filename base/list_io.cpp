// List-directed text: the line writer of the diagnostic log and summaries, and the value reader of the
// data files (see list_io.h for the rules).
#include "base/list_io.h"

#include "base/edit_format.h"
#include "base/fatal.h"
#include "base/units.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <cstdio>
#include <limits>
#include <system_error>
#include <type_traits>

namespace {

const EditDescriptor INT4_FIELD = {'I', 12, -1, -1, 0};  // I12
const EditDescriptor REAL4_FIELD = {'G', 15, 7, 2, 1};   // 1PG15.7E2
const EditDescriptor REAL8_FIELD = {'G', 24, 15, 3, 1};  // 1PG24.15E3
constexpr std::size_t LINE_COLUMNS = 80;

// "file QR4TD.DAT", for messages.
std::string unit_name(int unit)
{
    return "file " + unit_path(unit);
}

// A list-directed statement on a unit that is not open for it is a fault of the program, not of its
// input; it stops like one.
[[noreturn]] void stop_unit_not_open(int unit, const char* purpose)
{
    fatal_stop("List-directed statement on unit " + std::to_string(unit) + ", which is not open for " +
               purpose);
}

// --- reader: records ---------------------------------------------------------------------------------------

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

bool ends_field(char c)
{
    return is_blank(c) || c == ',' || c == '/';
}

// Where a read statement takes its records from: a text unit, or nothing beyond the first record.
class RecordSource {
public:
    explicit RecordSource(int unit) : unit_(unit) {}

    // Reads the next record without its line end (LF or CR LF). False at the end of the input.
    bool next(std::string& record)
    {
        if (unit_ < 0)
            return false;
        std::FILE* f = unit_file(unit_);
        record.clear();
        bool any = false;
        int c;
        while ((c = std::getc(f)) != EOF) {
            any = true;
            if (c == '\n')
                break;
            record.push_back(static_cast<char>(c));
        }
        if (std::ferror(f)) {
            fatal_stop("Read error on " + unit_name(unit_) + " after line " +
                       std::to_string(unit_record(unit_)));
        }
        if (!any)
            return false;
        if (!record.empty() && record.back() == '\r')
            record.pop_back();
        unit_count_record(unit_);
        return true;
    }

private:
    int unit_;  // -1: no further records
};

// The values of one read statement, in order, across the records it needs.
class ValueScanner {
public:
    enum Got {
        VALUE,       // a value's text in the token
        NULL_VALUE,  // a null field: the item keeps its value
        SLASH,       // a slash: the statement ends here
        END          // the input ran out
    };

    ValueScanner(std::string_view first, RecordSource& more) : record_(first), more_(more) {}

    Got next(std::string& token)
    {
        if (repeat_left_ > 0) {
            --repeat_left_;
            token = repeat_token_;
            return repeat_null_ ? NULL_VALUE : VALUE;
        }
        // Pass over blanks and record ends (a record end counts as a blank). The comma that follows a
        // value is its separator; a comma anywhere else is a null field.
        for (;;) {
            while (pos_ < record_.size() && is_blank(record_[pos_]))
                ++pos_;
            if (pos_ == record_.size()) {
                if (!more_.next(record_))
                    return END;
                pos_ = 0;
                continue;
            }
            if (record_[pos_] != ',')
                break;
            ++pos_;
            if (!after_value_)
                return NULL_VALUE;
            after_value_ = false;
        }
        if (record_[pos_] == '/')
            return SLASH;
        std::size_t start = pos_;
        while (pos_ < record_.size() && !ends_field(record_[pos_]))
            ++pos_;
        token = record_.substr(start, pos_ - start);
        after_value_ = true;
        if (split_repeat(token)) {
            --repeat_left_;
            token = repeat_token_;
            return repeat_null_ ? NULL_VALUE : VALUE;
        }
        return VALUE;
    }

private:
    // "r*v" is r values v, "r*" r null values, r a positive integer. Returns false for any other text,
    // which then stays one value (and fails to convert when it holds a '*').
    bool split_repeat(const std::string& token)
    {
        std::size_t star = token.find('*');
        if (star == std::string::npos || star == 0)
            return false;
        int r = 0;
        auto res = std::from_chars(token.data(), token.data() + star, r);
        if (res.ec != std::errc() || res.ptr != token.data() + star || r < 1)
            return false;
        repeat_token_ = token.substr(star + 1);
        repeat_null_ = repeat_token_.empty();
        repeat_left_ = r;
        return true;
    }

    std::string record_;
    std::size_t pos_ = 0;
    bool after_value_ = false;  // a value was the last thing taken; a comma now is its separator
    RecordSource& more_;
    int repeat_left_ = 0;       // values of an r* form still to hand out
    bool repeat_null_ = false;  // they are null values
    std::string repeat_token_;  // the value text they repeat
};

// --- reader: values ----------------------------------------------------------------------------------------

// An integer: optional sign and digits, within the range of a 4-byte integer.
bool convert(const std::string& token, int& value)
{
    const char* p = token.data();
    const char* end = p + token.size();
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    if (p == end || *p < '0' || *p > '9')
        return false;
    unsigned long long mag = 0;
    auto res = std::from_chars(p, end, mag);
    if (res.ec != std::errc() || res.ptr != end)
        return false;
    unsigned long long limit = negative ? 2147483648ULL : 2147483647ULL;
    if (mag > limit)
        return false;
    value = static_cast<int>(negative ? -static_cast<long long>(mag) : static_cast<long long>(mag));
    return true;
}

bool equals_ignoring_case(std::string_view a, std::string_view upper)
{
    if (a.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

// Reads unsigned digits at token[i], saturating at a magnitude no exponent of a real can reach.
bool read_exponent_digits(const std::string& token, std::size_t i, int& mag)
{
    if (i == token.size())
        return false;
    mag = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9')
            return false;
        mag = std::min(mag * 10 + (token[i] - '0'), 100000);
    }
    return true;
}

// A real: optional sign, digits with an optional point (at least one digit), optional exponent given
// by a letter E, D or Q (either case) with an optional sign, or by a sign alone ("1.5+3" is 1500);
// also NaN, Inf and Infinity. The value is rounded once, directly to T. A magnitude beyond the range of
// T is unreadable; one below it reads as a zero.
template <class T>
bool convert_real(const std::string& token, T& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    std::string_view rest(token.data() + i, token.size() - i);
    if (equals_ignoring_case(rest, "NAN")) {
        value = std::numeric_limits<T>::quiet_NaN();
        return true;
    }
    if (equals_ignoring_case(rest, "INF") || equals_ignoring_case(rest, "INFINITY")) {
        value = negative ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::infinity();
        return true;
    }
    // The mantissa, copied for from_chars. `places` counts the digits before the point from the first
    // non-zero one, or minus the zeros after the point before it: the value is below 10^places.
    std::string text;
    int digits = 0;
    int places = 0;
    bool point = false;
    bool nonzero = false;
    for (; i < token.size(); ++i) {
        char c = token[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            nonzero = nonzero || c != '0';
            if (!point && nonzero)
                ++places;
            else if (point && !nonzero)
                --places;
        } else {
            break;
        }
        text += c;
    }
    if (digits == 0)
        return false;
    int exponent = 0;
    if (i < token.size()) {
        char c = token[i];
        bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q';
        if (!letter && c != '+' && c != '-')
            return false;
        if (letter)
            ++i;
        bool exponent_negative = i < token.size() && token[i] == '-';
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            ++i;
        if (!read_exponent_digits(token, i, exponent))
            return false;
        if (exponent_negative)
            exponent = -exponent;
    }
    text += 'e';
    text += std::to_string(exponent);
    T v{};
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        if (nonzero && places + exponent > 0)
            return false;
        v = 0;
    } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

bool convert(const std::string& token, float& value)
{
    return convert_real(token, value);
}

bool convert(const std::string& token, double& value)
{
    return convert_real(token, value);
}

template <class T>
const char* type_name()
{
    if constexpr (std::is_same_v<T, int>)
        return "an integer";
    else
        return "a real";
}

std::string item_text(std::string_view item, int index, int n)
{
    std::string text = item.empty() ? "item" : std::string(item);
    if (n > 1)
        text += " (value " + std::to_string(index + 1) + " of " + std::to_string(n) + ")";
    return text;
}

// One read statement of n items of type T from a text unit.
template <class T>
bool read_values(int unit, T* values, int n, std::string_view item)
{
    if (unit_mode(unit) != UnitMode::READ_TEXT)
        stop_unit_not_open(unit, "reading text");
    RecordSource source(unit);
    std::string first;
    if (!source.next(first))
        fatal_stop("End of " + unit_name(unit) + " after line " + std::to_string(unit_record(unit)) +
                   " while reading " + item_text(item, 0, n));
    ValueScanner scanner(first, source);
    bool all = true;
    for (int k = 0; k < n; ++k) {
        std::string token;
        switch (scanner.next(token)) {
        case ValueScanner::END:
            fatal_stop("End of " + unit_name(unit) + " after line " + std::to_string(unit_record(unit)) +
                       " while reading " + item_text(item, k, n));
        case ValueScanner::SLASH: return false;
        case ValueScanner::NULL_VALUE: all = false; break;
        case ValueScanner::VALUE:
            if (!convert(token, values[k])) {
                fatal_stop("Cannot read \"" + message_excerpt(token) + "\" as " + type_name<T>() + " for " +
                           item_text(item, k, n) + " in " + unit_name(unit) + ", line " +
                           std::to_string(unit_record(unit)));
            }
            break;
        }
    }
    return all;
}

template <class T>
int parse_value(std::string_view record, T& value)
{
    RecordSource none(-1);
    ValueScanner scanner(record, none);
    std::string token;
    switch (scanner.next(token)) {
    case ValueScanner::END: return -1;
    case ValueScanner::SLASH:
    case ValueScanner::NULL_VALUE: return 0;
    case ValueScanner::VALUE: break;
    }
    T v{};
    if (!convert(token, v))
        return -1;
    value = v;
    return 1;
}

}  // namespace

std::string list_directed_text(std::initializer_list<ListItem> items)
{
    std::string out;
    std::string line;
    bool after_number = false;  // the line's last item is a number
    for (const ListItem& item : items) {
        std::string field;
        switch (item.kind) {
        case ListItem::TEXT: field = item.text; break;
        case ListItem::INT4: field = format_integer(item.i, INT4_FIELD); break;
        case ListItem::REAL4: field = format_real(item.r, REAL4_FIELD); break;
        case ListItem::REAL8: field = format_real(item.r, REAL8_FIELD); break;
        }
        bool text = item.kind == ListItem::TEXT;
        std::size_t blank = text && (line.empty() || after_number) ? 1 : 0;
        if (!line.empty() && line.size() + blank + field.size() > LINE_COLUMNS) {
            out += line;
            out += "\r\n";
            line.clear();
            blank = text ? 1 : 0;
        }
        line.append(blank, ' ');
        line += field;
        after_number = !text;
    }
    out += line;
    out += "\r\n";
    return out;
}

void write_list(int unit, std::initializer_list<ListItem> items)
{
    if (unit_mode(unit) != UnitMode::WRITE_TEXT)
        stop_unit_not_open(unit, "writing text");
    std::string text = list_directed_text(items);
    std::FILE* f = unit_file(unit);
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fflush(f) != 0) {
        fatal_stop("Write error on " + unit_name(unit) + " at line " + std::to_string(unit_record(unit) + 1) +
                   ": " + (errno != 0 ? std::strerror(errno) : "unknown error"));
    }
    for (char c : text) {
        if (c == '\n')
            unit_count_record(unit);
    }
}

bool read_list(int unit, int& value, std::string_view item)
{
    return read_values(unit, &value, 1, item);
}

bool read_list(int unit, float& value, std::string_view item)
{
    return read_values(unit, &value, 1, item);
}

bool read_list(int unit, double& value, std::string_view item)
{
    return read_values(unit, &value, 1, item);
}

bool read_list(int unit, int* values, int n, std::string_view item)
{
    return read_values(unit, values, n, item);
}

bool read_list(int unit, float* values, int n, std::string_view item)
{
    return read_values(unit, values, n, item);
}

bool read_list(int unit, double* values, int n, std::string_view item)
{
    return read_values(unit, values, n, item);
}

int parse_list_value(std::string_view record, int& value)
{
    return parse_value(record, value);
}

int parse_list_value(std::string_view record, float& value)
{
    return parse_value(record, value);
}

int parse_list_value(std::string_view record, double& value)
{
    return parse_value(record, value);
}
