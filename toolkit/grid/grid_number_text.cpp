// Number text of real and integer grid cells.
#include "toolkit/grid/grid_number_text.h"

#include "toolkit/common/error_state.h"
#include "toolkit/win/number_text.h"

#include <cmath>

namespace {

// The part of a cell text that counts: up to the first NUL, else up to the last non-blank character.
std::string_view counted_text(std::string_view text)
{
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        return text.substr(0, nul);
    size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}  // namespace

void IStrFormatReal(float value, std::string& text, std::string_view format)
{
    IRealToString(value, text, format);
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
}

void IStrReadReal(float& value, std::string_view text)
{
    IStrToReal(counted_text(text), value);
}

// Reading an integer through a 4-byte real would round 123456789 to 123456792 and overflow past
// 2^31; the 8-byte reader holds every 32-bit integer exactly, and the range is checked before the
// conversion.
void IStrReadInteger(int& value, std::string_view text)
{
    double v = 0.0;
    IStrToDouble(counted_text(text), v);
    v = std::trunc(v);
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) {
        value = 0;
        IErrorReport(ERR_NUMBER_TOO_LARGE);
        return;
    }
    value = static_cast<int>(v);
}
