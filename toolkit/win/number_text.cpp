// Number text conversion on the shared edit-descriptor engine.
#include "toolkit/win/number_text.h"

#include "base/edit_format.h"
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"

#include <cmath>

namespace {

std::string left_trimmed(std::string s)
{
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// A formatted write: an empty result (unknown format) or asterisks where the format has none is an
// overflow.
std::string write_checked(const std::string& written, std::string_view format)
{
    bool format_has_star = format.find('*') != std::string_view::npos;
    if (written.empty() || (written.find('*') != std::string::npos && !format_has_star)) {
        IErrorReport(ERR_NUMBER_TEXT);
        return OVERFLOW_TEXT;
    }
    return written;
}

// Value of one part (mantissa or exponent) of a number; error number or 0.
int part_value(std::string_view part, bool exponent, int limit, double& value)
{
    value = 0.0;
    size_t point = part.find('.');
    if (point != std::string_view::npos) {
        if (exponent)
            return ERR_INVALID_CHARACTER;
        if (part.find('.', point + 1) != std::string_view::npos)
            return ERR_TWO_POINTS;
    }
    bool negative = false;
    size_t start = 0;
    if (!part.empty() && (part[0] == '+' || part[0] == '-')) {
        negative = part[0] == '-';
        start = 1;
    }
    for (size_t i = start; i < part.size(); ++i)
        if (part[i] != '.' && (part[i] < '0' || part[i] > '9'))
            return ERR_INVALID_CHARACTER;
    size_t int_end = point == std::string_view::npos ? part.size() : point;
    int digits_before = static_cast<int>(int_end - start);
    if (digits_before - 1 > limit)
        return ERR_NUMBER_TOO_LARGE;
    int place = digits_before - 1;
    for (size_t i = start; i < part.size(); ++i) {
        if (part[i] == '.')
            continue;
        value += (part[i] - '0') * std::pow(10.0, place);
        --place;
    }
    if (negative)
        value = -value;
    return 0;
}

// The scanner shared by IStrToReal and IStrToDouble; limit is the largest decimal magnitude.
int scan_number(std::string_view text, int limit, double& result)
{
    result = 0.0;
    int first = 0, last = 0;
    IStrBounds(text, first, last);
    if (first == 0)
        return ERR_NO_SUBSTRING;
    std::string_view number =
        text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
    size_t n = number.size();
    // The exponent position: a letter, or a sign standing three characters before the end.
    size_t epos = std::string_view::npos;
    for (char letter : {'E', 'e', 'D', 'd'}) {
        epos = number.find(letter);
        if (epos != std::string_view::npos)
            break;
    }
    bool sign_position = false;
    if (epos == std::string_view::npos && n >= 4) {
        for (char sign : {'+', '-'}) {
            size_t p = number.find(sign, 1);
            while (p != std::string_view::npos && p != n - 4)
                p = number.find(sign, p + 1);
            if (p != std::string_view::npos) {
                epos = p;
                sign_position = true;
                break;
            }
        }
    }
    std::string_view mantissa = epos == std::string_view::npos ? number : number.substr(0, epos);
    double m = 0.0;
    if (int e = part_value(mantissa, false, limit, m))
        return e;
    if (epos == std::string_view::npos) {
        result = m;
        return 0;
    }
    std::string exponent(number.substr(sign_position ? epos : epos + 1));
    double ev = 0.0;
    if (int e = part_value(exponent, true, limit, ev))
        return e;
    if (m == 0.0) {
        result = 0.0;
        return 0;
    }
    // Scale the mantissa to one digit before the point so that the magnitude test is exact; log10 of
    // the magnitude, since a negative mantissa must scale like its absolute value.
    int k = static_cast<int>(std::lround(std::log10(std::fabs(m)) - 1.0));
    long long magnitude = std::llround(ev) + k;
    if (magnitude > limit)
        return ERR_NUMBER_TOO_LARGE;
    result = (m * std::pow(10.0, -k)) * std::pow(10.0, static_cast<double>(magnitude));
    return 0;
}

}  // namespace

void IIntegerToString(int value, std::string& text, std::string_view format)
{
    text = write_checked(format_integer(value, format), format);
}

void IRealToString(float value, std::string& text, std::string_view format)
{
    text = write_checked(format_real(value, format), format);
}

void number_to_string(double value, std::string& text, std::string_view format)
{
    text = write_checked(format_real(value, format), format);
}

std::string IStrFormatInteger(int value)
{
    std::string t;
    IIntegerToString(value, t, INTEGER_FORMAT);
    return left_trimmed(t);
}

std::string IStrFormatDouble(double value, std::string_view format)
{
    std::string t;
    number_to_string(value, t, format);
    return left_trimmed(t);
}

void IStrToReal(std::string_view text, float& value)
{
    double d = 0.0;
    int e = scan_number(text, 38, d);
    if (e == 0 && std::fabs(d) > 3.4028234663852886e+38)
        e = ERR_NUMBER_TOO_LARGE;
    value = e ? 0.0f : static_cast<float>(d);
    if (e)
        IErrorReport(e);
}

void IStrToDouble(std::string_view text, double& value)
{
    int e = scan_number(text, 308, value);
    if (e) {
        value = 0.0;
        IErrorReport(e);
    }
}

void IStrReadDouble(double& value, std::string_view text)
{
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    else
        text = text.substr(0, text.find_last_not_of(' ') + 1);
    IStrToDouble(text, value);
}

// Read through the 8-byte reader: a 4-byte real would show 123456789 as 123456792.
std::string IStrCleanInteger(std::string_view text)
{
    double v = 0.0;
    IStrToDouble(text, v);
    double t = std::trunc(v);
    t = std::fmin(std::fmax(t, -2147483648.0), 2147483647.0);
    return IStrFormatInteger(static_cast<int>(t));
}

std::string IStrCleanReal(std::string_view text, std::string_view format)
{
    float v = 0.0f;
    IStrToReal(text, v);
    std::string t;
    IRealToString(v, t, format);
    return left_trimmed(t);
}

std::string IStrCleanDouble(std::string_view text, std::string_view format)
{
    double v = 0.0;
    IStrToDouble(text, v);
    return IStrFormatDouble(v, format);
}

double WStrScanReal(std::string_view text, bool& ok)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    double value = 0.0;
    long long exponent = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            value = value * 10.0 + (c - '0');
            if (point)
                --exponent;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        ++i;
        bool eneg = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            eneg = text[i++] == '-';
        long long e = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (e < 100000)
                e = e * 10 + (text[i] - '0');
            ++i;
        }
        exponent += eneg ? -e : e;
    }
    ok = i == text.size();
    // Scaling by repeated tens, bounded so that a huge exponent ends as 0 or infinity without looping
    // for ever.
    for (long long k = 0; k < -exponent && value != 0.0 && k < 400; ++k)
        value /= 10.0;
    for (long long k = 0; k < exponent && std::isfinite(value) && value != 0.0 && k < 400; ++k)
        value *= 10.0;
    return negative ? -value : value;
}
