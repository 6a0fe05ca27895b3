// The portable part of the common dialogs: the filter text of a file chooser.
#include "toolkit/win/common_dialogs.h"

std::string file_filter_from_text(std::string_view text)
{
    size_t end = text.find_last_not_of(' ');
    if (end == std::string_view::npos)
        return std::string();
    std::string filter(text.substr(0, end + 1));
    char separator = filter.back();
    for (char& c : filter)
        if (c == separator)
            c = '\0';
    // The system reads pairs up to an empty string: a second NUL after the last one.
    filter.push_back('\0');
    return filter;
}
