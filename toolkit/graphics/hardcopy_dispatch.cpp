// The hardcopy dispatch to the driver of HcDeviceNumber, and two string tests shared with the drivers.
#include "toolkit/graphics/hardcopy_dispatch.h"

#include "toolkit/graphics/window_text.h"

#include <cctype>

int HcDeviceNumber = HC_WINDOWS_PRINTER;
HcDriverTableRecord HcDriverTable;
HcDeviceBlockRecord HcDeviceBlock;
HcOptionsRecord HcOptions;
int HcPageUsed = 0;
HcFrontEndHooks HcFrontEnd;
HcScreenPrintRecord HcScreenPrint;

void IHcDriverCall(int op)
{
    if (HcDeviceNumber < 1 || HcDeviceNumber > HC_DEVICE_COUNT)
        return;
    if (GrDeviceRoutine driver = HcDriverTable(HcDeviceNumber))
        driver(op);
}

void IHcDeviceSelect(int op, int device)
{
    if (op != GrOpInitialise)
        return;
    HcDeviceNumber = device;
    IHcDriverCall(op);
    HcDeviceBlock.initialised_device = device;
}

void WGrTextFlagSet(int flag)
{
    WGrTextUnderlineSet(flag);
}

int IStrFirstNonBlank(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '\0')
            return static_cast<int>(i + 1);
    return 0;
}

// The set is not converted, so the test is case-insensitive only for an upper-case code.
int IStrContainsAny(std::string_view set, std::string_view code)
{
    if (code.empty())
        return 0;
    const char c = code[0];
    if (set.find(c) != std::string_view::npos)
        return -1;
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return set.find(lower) != std::string_view::npos ? -1 : 0;
}
