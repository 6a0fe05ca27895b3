// The portable window utilities: the text scans and the beep flag.
#include "toolkit/win/window_utilities.h"

namespace {

int beep_flag = 1;  // 1 = beeping enabled (the start-up turns it on again)

}  // namespace

unsigned IStrToUInt(std::string_view text)
{
    unsigned long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        v = v * 10 + static_cast<unsigned>(c - '0');
        if (v > 4294967295ull)
            return 4294967295u;
    }
    return static_cast<unsigned>(v);
}

int IStrTrimLength(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? 0 : static_cast<int>(last + 1);
}

void IOsBeepEnable(int on)
{
    beep_flag = on != 0 ? 1 : 0;
}

int os_beep_enabled()
{
    return beep_flag;
}

int os_beep_count(bool sounded)
{
    static int count = 0;
    if (sounded)
        ++count;
    return count;
}
