// Text utilities of the toolkit: word bounds, case, integer conversion and case-blind search.
#include "toolkit/common/text_utilities.h"

#include "toolkit/common/error_state.h"

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_no_case(std::string_view a, std::string_view b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

}  // namespace

void IStrBounds(std::string_view text, int& first, int& last)
{
    first = 0;
    last = 0;
    size_t f = text.find_first_not_of(' ');
    if (f == std::string_view::npos)
        return;
    size_t blank = text.find(' ', f);
    first = static_cast<int>(f) + 1;
    last = blank == std::string_view::npos ? static_cast<int>(text.size()) : static_cast<int>(blank);
}

void IStrUpper(std::string& text)
{
    for (char& c : text)
        c = upper(c);
}

void IStrLower(std::string& text)
{
    for (char& c : text)
        c = lower(c);
}

void IStrToInteger(std::string_view text, int& value)
{
    value = 0;
    int first = 0;
    int last = 0;
    IStrBounds(text, first, last);
    if (first == 0) {
        IErrorReport(ERR_NO_SUBSTRING);
        return;
    }
    std::string_view word = text.substr(first - 1, last - first + 1);
    bool negative = false;
    if (word[0] == '+' || word[0] == '-') {
        negative = word[0] == '-';
        word.remove_prefix(1);
    }
    // A sign without digits is no number either (it would otherwise read as 0).
    if (word.empty()) {
        IErrorReport(ERR_INVALID_CHARACTER);
        return;
    }
    for (char c : word) {
        if (c < '0' || c > '9') {
            IErrorReport(ERR_INVALID_CHARACTER);
            return;
        }
    }
    if (word.size() > 10 || (word.size() == 10 && word[0] >= '3')) {
        IErrorReport(ERR_NUMBER_TOO_LARGE);
        return;
    }
    long long sum = 0;
    for (char c : word)
        sum = sum * 10 + (c - '0');
    if (sum > 2147483647LL) {
        IErrorReport(ERR_NUMBER_TOO_LARGE);
        return;
    }
    value = static_cast<int>(negative ? -sum : sum);
}

int IStrIndexNoCase(std::string_view text, std::string_view pattern, int backward)
{
    int n = static_cast<int>(text.size());
    int m = static_cast<int>(pattern.size());
    if (m > n)
        return 0;
    if ((backward & 1) != 0) {
        for (int p = n - m; p >= 0; --p)
            if (equal_no_case(pattern, text.substr(p, m)))
                return p + 1;
    } else {
        for (int p = 0; p <= n - m; ++p)
            if (equal_no_case(pattern, text.substr(p, m)))
                return p + 1;
    }
    return 0;
}

std::string_view str_trim(std::string_view text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
