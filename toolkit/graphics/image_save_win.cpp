// IGrSaveImage: the current graphics area of the drawing surface (a window or an off-screen bitmap)
// saved as a BMP, PCX or PNG file, the type chosen by the name's extension.
#include "toolkit/graphics/entry.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/image_dib_win.h"

#include <windows.h>

void IGrSaveImage(std::string_view file)
{
    const size_t first = file.find_first_not_of(' ');
    const std::string_view name = first == std::string_view::npos
                                      ? std::string_view()
                                      : file.substr(first, file.find_last_not_of(' ') - first + 1);
    // The graphics area's pixel box, rows counted downwards.
    const int x1 = GrDeviceArea.ix1;
    const int x2 = GrDeviceArea.ix2;
    const int y1 = GrSurface.max_row - GrDeviceArea.iy2;
    const int y2 = GrSurface.max_row - GrDeviceArea.iy1;
    int status = 1;
    int code = ERROR_INVALID_HANDLE;
    if (GrGdiContext.dc)
        IImgFileSave(GrGdiContext.dc, GrGdiContext.palette, img_save_type(name), x1, y1, x2, y2, status, code,
                     name);
    if (status != 0) {
        IErrorReport(status);
        if (status <= 3)
            ERROR_STATE.last_os_error = code;
    }
}
