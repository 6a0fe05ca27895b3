// Number text for graphics on the shared edit-descriptor engine.
#include "toolkit/graphics/number_text.h"

#include "base/edit_format.h"
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>

void IStrFormatNumber(double value, std::string& text, std::string_view format)
{
    const std::size_t length = text.size();
    const EditDescriptor d = parse_edit_descriptor(format);
    std::string field;
    bool written = d.kind != 0;
    if (written) {
        field = format_real(value, d);
        written = !field.empty() && field.size() <= length;
    }
    const bool overflow = field.find('*') != std::string::npos;
    if (written && (!overflow || format.find('*') != std::string_view::npos)) {
        text = field;
        text.resize(length, ' ');
        return;
    }
    text = std::string("**********").substr(0, std::min<std::size_t>(10, length));
    text.resize(length, ' ');
    IErrorReport(ERR_NUMBER_TEXT);
}

void IStrJustify(std::string& text, std::string_view code)
{
    const int L = static_cast<int>(text.size());
    const std::size_t last_index = text.find_last_not_of(' ');
    if (last_index == std::string::npos)
        return;
    const int last = static_cast<int>(last_index) + 1;
    const int first = IStrFirstNonBlank(text);
    const int n = last - first + 1;
    if (first == 0 || n == L)
        return;
    int target = 0;
    if (IStrContainsAny(code, "L") != 0) {
        if (first == 1)
            return;
        target = 1;
    } else if (IStrContainsAny(code, "R") != 0) {
        if (last == L)
            return;
        target = L - n + 1;
    } else {
        target = (L - n) / 2 + 1;
    }
    // Moved whole, then the positions left behind are blanked.
    const std::string part = text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(n));
    std::fill(text.begin() + (first - 1), text.begin() + last, ' ');
    std::copy(part.begin(), part.end(), text.begin() + (target - 1));
}
