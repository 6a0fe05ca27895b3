// The Windows printer's page query for the device selection at start-up.
#include "toolkit/win/device_select.h"

#include <windows.h>
#include <winspool.h>

#include <float.h>

#include <string>

bool printer_page_query(HcPrinterPage& page)
{
    // A printer driver may change the floating-point control word; keep ours around the query, so that
    // floating-point exceptions stay masked and the rounding stays as it was.
    unsigned int control = _controlfp(0, 0);
    bool ok = false;
    DWORD n = 0;
    GetDefaultPrinterA(nullptr, &n);
    if (n > 0) {
        std::string name(n, '\0');
        if (GetDefaultPrinterA(name.data(), &n)) {
            name.resize(name.find('\0'));
            if (HDC dc = CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr)) {
                page.resolution_x = GetDeviceCaps(dc, LOGPIXELSX);
                page.resolution_y = GetDeviceCaps(dc, LOGPIXELSY);
                page.page_width = GetDeviceCaps(dc, PHYSICALWIDTH);
                page.page_height = GetDeviceCaps(dc, PHYSICALHEIGHT);
                page.printable_width = GetDeviceCaps(dc, HORZRES);
                page.printable_height = GetDeviceCaps(dc, VERTRES);
                page.offset_x = GetDeviceCaps(dc, PHYSICALOFFSETX);
                page.offset_y = GetDeviceCaps(dc, PHYSICALOFFSETY);
                DeleteDC(dc);
                ok = page.resolution_x > 0 && page.page_width > 0;
            }
        }
    }
    _controlfp(control, _MCW_EM | _MCW_RC | _MCW_DN);
    return ok;
}
