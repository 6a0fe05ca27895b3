// The edit-descriptor engine: I, F, E, D and G output editing with the kP scale factor.
//
// The rules are those of formatted output in the Fortran 2008 standard:
// - Fw.d: the value rounded to d decimals; the zero before the point of a value below 1 is dropped when
//   the field is too narrow for it.
// - Ew.d, Ew.dEe, Dw.d with scale factor k: for -d < k <= 0 the mantissa is "0.", -k zeros and d+k
//   significant digits; for 0 < k < d+2 it is k digits, the point and d-k+1 digits; any other k cannot
//   be written and gives asterisks. The exponent is E+ee (Ee: e digits), or for E and D without Ee,
//   E+dd up to 99 and +ddd up to 999 (the letter is dropped).
// - Gw.d, Gw.dEe: let n = e+2 (4 without Ee). When the value rounded to d significant digits lies in
//   [0.1, 10^d) and has s digits before the point, it is written as F(w-n).(d-s) followed by n blanks,
//   and the scale factor has no effect; otherwise as kPEw.d (kPEw.dEe). A zero is written as
//   F(w-n).(d-1) followed by n blanks (the standard's rule for an identically zero value), so 0.0 in
//   1PG15.7E2 is "   0.000000    ".
// - A negative value, and a negative zero, carry a minus sign, also when the value rounds to zero.
// - NaN and infinities are written as "NaN", "Infinity" or "Inf", right-justified.
// Rounding is round-to-nearest on the exact binary value (std::to_chars), ties to even. G's choice of
// form is made on that same exact value: the double nearest 0.99999995 lies below that decimal, so in
// G15.7 it rounds to 0.9999999 and stays in the [0.1, 1) form (a comparison with a rounded boundary would
// write 1.000000, digits the value does not round to).
#include "base/edit_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

char to_upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A field of w asterisks (one for a zero-width field, so that an overflow is always visible).
std::string stars(int w)
{
    return std::string(static_cast<std::size_t>(std::max(w, 1)), '*');
}

// Right-justifies text in w columns; asterisks when it does not fit.
std::string right_justify(const std::string& text, int w)
{
    std::size_t width = static_cast<std::size_t>(w);
    if (text.size() > width)
        return stars(w);
    return std::string(width - text.size(), ' ') + text;
}

// --- parsing -----------------------------------------------------------------------------------------------

// Reads an unsigned decimal number at s[pos]; -1 when there is no digit or it passes EDIT_FIELD_LIMIT.
int read_number(const std::string& s, std::size_t& pos)
{
    if (pos >= s.size() || !is_digit(s[pos]))
        return -1;
    int v = 0;
    while (pos < s.size() && is_digit(s[pos])) {
        v = v * 10 + (s[pos] - '0');
        if (v > EDIT_FIELD_LIMIT)
            return -1;
        ++pos;
    }
    return v;
}

// Reads one descriptor (letter, w, .d, Ee) at s[pos]; false when the text there is not one.
bool read_descriptor(const std::string& s, std::size_t& pos, EditDescriptor& d)
{
    if (pos >= s.size())
        return false;
    char kind = s[pos];
    if (kind != 'I' && kind != 'F' && kind != 'E' && kind != 'D' && kind != 'G')
        return false;
    ++pos;
    int w = read_number(s, pos);
    if (w < 0)
        return false;
    int digits = -1;
    int exponent = -1;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        digits = read_number(s, pos);
        if (digits < 0)
            return false;
    }
    if ((kind == 'E' || kind == 'G') && digits >= 0 && pos < s.size() && s[pos] == 'E') {
        ++pos;
        exponent = read_number(s, pos);
        if (exponent < 1)
            return false;
    }
    if (kind == 'I') {
        if (w > 0 && digits > w)
            return false;
    } else if (w < 1 || digits < 0) {
        return false;
    }
    d.kind = kind;
    d.width = w;
    d.digits = digits;
    d.exponent = exponent;
    return true;
}

// --- digits ------------------------------------------------------------------------------------------------

// Rounds a (finite, > 0) to sig >= 1 significant digits. Returns the sig digits and sets x so that the
// rounded value is d1.d2d3... times 10^x.
std::string significant_digits(double a, int sig, int& x)
{
    std::string buf(static_cast<std::size_t>(sig) + 32, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::scientific, sig - 1);
    std::string digits;
    const char* p = buf.data();
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            digits += *p;
    }
    // p is at 'e', followed by the exponent's sign and digits
    bool negative = p + 1 < res.ptr && p[1] == '-';
    int e = 0;
    std::from_chars(p + 2, res.ptr, e);
    x = negative ? -e : e;
    return digits;
}

// The value a (finite, >= 0) rounded to `decimals` places, as digits with a point ("123.", "0.500").
std::string fixed_digits(double a, int decimals)
{
    // a double has at most 309 digits before the point
    std::string buf(static_cast<std::size_t>(decimals) + 330, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::fixed, decimals);
    std::string text(buf.data(), res.ptr);
    if (decimals == 0)
        text += '.';
    return text;
}

// Places sign and digits right-justified in w columns. The zero before the point of "0.ddd" is optional
// and is dropped when the field is too narrow for it.
std::string place_number(bool negative, std::string body, int w)
{
    std::size_t width = static_cast<std::size_t>(w);
    std::size_t need = body.size() + (negative ? 1 : 0);
    if (need > width && body.size() > 2 && body[0] == '0' && body[1] == '.') {
        body.erase(0, 1);
        --need;
    }
    if (need > width)
        return stars(w);
    return std::string(width - need, ' ') + (negative ? "-" : "") + body;
}

// NaN and infinities: "Infinity" when it fits, else "Inf", else asterisks.
std::string non_finite(double v, int w)
{
    if (std::isnan(v))
        return w >= 3 ? right_justify("NaN", w) : stars(w);
    bool negative = v < 0;
    int sign = negative ? 1 : 0;
    if (w >= 8 + sign)
        return right_justify(negative ? "-Infinity" : "Infinity", w);
    if (w >= 3 + sign)
        return right_justify(negative ? "-Inf" : "Inf", w);
    return stars(w);
}

// --- the editors -------------------------------------------------------------------------------------------

// Fw.d with scale factor k: the value times 10^k (one extra rounding in double arithmetic when k is not
// 0; the program's formats use kP only with E and G).
std::string edit_f(double v, int w, int d, int k)
{
    bool negative = std::signbit(v);
    double a = std::fabs(v);
    if (k != 0)
        a *= std::pow(10.0, k);
    if (!std::isfinite(a))
        return stars(w);
    return place_number(negative, fixed_digits(a, d), w);
}

// The exponent part for exponent value x; empty when x does not fit.
std::string exponent_text(int x, int e, char letter)
{
    int mag = std::abs(x);
    std::string digits = std::to_string(mag);
    char sign = x < 0 ? '-' : '+';
    if (e > 0) {
        if (digits.size() > static_cast<std::size_t>(e))
            return "";
        return std::string(1, letter) + sign + std::string(static_cast<std::size_t>(e) - digits.size(), '0') +
               digits;
    }
    if (mag <= 99)
        return std::string(1, letter) + sign + (mag < 10 ? "0" : "") + digits;
    if (mag <= 999)
        return std::string(1, sign) + digits;
    return "";
}

// Ew.d (e = -1), Ew.dEe and Dw.d (letter 'D') with scale factor k.
std::string edit_e(double v, int w, int d, int e, int k, char letter)
{
    if (k <= -d || k >= d + 2)
        return stars(w);
    bool negative = std::signbit(v);
    double a = std::fabs(v);
    int sig = k <= 0 ? d + k : d + 1;  // significant digits shown
    std::string digits;
    int x = 0;  // exponent shown
    if (a == 0) {
        digits.assign(static_cast<std::size_t>(sig), '0');
    } else {
        int sci = 0;
        digits = significant_digits(a, sig, sci);
        x = sci + 1 - k;
    }
    std::string body;
    if (k <= 0)
        body = "0." + std::string(static_cast<std::size_t>(-k), '0') + digits;
    else
        body =
            digits.substr(0, static_cast<std::size_t>(k)) + "." + digits.substr(static_cast<std::size_t>(k));
    std::string ex = exponent_text(x, e, letter);
    if (ex.empty())
        return stars(w);
    return place_number(negative, body + ex, w);
}

// The fixed branch of G: F(w-n).decimals and n blanks; the whole field is asterisks when it overflows.
std::string g_fixed(double v, int w, int n, int decimals)
{
    if (w - n < 1)
        return stars(w);
    std::string f = edit_f(v, w - n, decimals, 0);
    if (f.find('*') != std::string::npos)
        return stars(w);
    return f + std::string(static_cast<std::size_t>(n), ' ');
}

// Gw.d and Gw.dEe: the fixed form for zero and for 0.1 <= |v| < 10^d after rounding, else kPE.
std::string edit_g(double v, const EditDescriptor& ds)
{
    int w = ds.width;
    int d = ds.digits;
    int n = ds.exponent > 0 ? ds.exponent + 2 : 4;
    double a = std::fabs(v);
    if (d == 0)
        return edit_e(v, w, d, ds.exponent, ds.scale, 'E');
    if (a == 0)
        return g_fixed(v, w, n, d - 1);
    int x = 0;
    significant_digits(a, d, x);
    // rounded to d digits the value is in [10^x, 10^(x+1)): fixed form for 0.1 <= |v| < 10^d
    if (x >= -1 && x <= d - 1)
        return g_fixed(v, w, n, d - 1 - x);
    return edit_e(v, w, d, ds.exponent, ds.scale, 'E');
}

}  // namespace

// --- the public operations ---------------------------------------------------------------------------------

std::vector<EditDescriptor> parse_format_list(std::string_view text)
{
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t')
            s += to_upper(c);
    }
    if (!s.empty() && s.front() == '(') {
        if (s.size() < 2 || s.back() != ')')
            return {};
        s = s.substr(1, s.size() - 2);
    }
    if (s.empty())
        return {};

    std::vector<EditDescriptor> out;
    int scale = 0;
    std::size_t pos = 0;
    for (;;) {
        // One item: [k P] [r] descriptor, or a scale factor k P on its own.
        bool negative = false;
        bool signed_number = false;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
            negative = s[pos] == '-';
            signed_number = true;
            ++pos;
        }
        int number = read_number(s, pos);
        bool scale_only = false;
        if (pos < s.size() && s[pos] == 'P') {
            if (number < 0)
                return {};
            scale = negative ? -number : number;
            signed_number = false;
            ++pos;
            scale_only = pos == s.size() || s[pos] == ',';
            number = scale_only ? -1 : read_number(s, pos);
        }
        if (signed_number)
            return {};
        if (!scale_only) {
            int repeat = number < 0 ? 1 : number;
            EditDescriptor d;
            if (repeat == 0 || !read_descriptor(s, pos, d))
                return {};
            d.scale = scale;
            out.insert(out.end(), static_cast<std::size_t>(repeat), d);
        }
        if (pos == s.size())
            break;
        if (s[pos] != ',')
            return {};
        ++pos;
    }
    return out;
}

EditDescriptor parse_edit_descriptor(std::string_view text)
{
    std::vector<EditDescriptor> list = parse_format_list(text);
    return list.size() == 1 ? list.front() : EditDescriptor{};
}

std::string format_integer(long long value, const EditDescriptor& d)
{
    if (d.kind == 0)
        return "";
    if (d.kind != 'I')
        return stars(d.width);
    unsigned long long mag =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    // Iw.0 writes a zero as blanks only
    std::string text = (mag == 0 && d.digits == 0) ? "" : std::to_string(mag);
    if (d.digits > 0 && text.size() < static_cast<std::size_t>(d.digits))
        text.insert(0, static_cast<std::size_t>(d.digits) - text.size(), '0');
    if (value < 0)
        text.insert(0, 1, '-');
    if (d.width == 0)
        return text;
    return right_justify(text, d.width);
}

std::string format_real(double value, const EditDescriptor& d)
{
    switch (d.kind) {
    case 'I': {
        if (std::isnan(value))
            return stars(d.width);
        // truncated toward zero, clamped in floating point to the range of the integer first
        constexpr double limit = 9223372036854774784.0;  // largest double below 2^63
        return format_integer(static_cast<long long>(std::clamp(value, -limit, limit)), d);
    }
    case 'F':
        if (!std::isfinite(value))
            return non_finite(value, d.width);
        return edit_f(value, d.width, d.digits, d.scale);
    case 'E':
    case 'D':
        if (!std::isfinite(value))
            return non_finite(value, d.width);
        return edit_e(value, d.width, d.digits, d.kind == 'E' ? d.exponent : -1, d.scale, d.kind);
    case 'G':
        if (!std::isfinite(value))
            return non_finite(value, d.width);
        return edit_g(value, d);
    default: return "";
    }
}

std::string format_integer(long long value, std::string_view descriptor)
{
    return format_integer(value, parse_edit_descriptor(descriptor));
}

std::string format_real(double value, std::string_view descriptor)
{
    return format_real(value, parse_edit_descriptor(descriptor));
}
