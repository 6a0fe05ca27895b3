// Bitmaps and icons shown by button and static fields: images of the program's resources, and copies
// of the off-screen bitmaps.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/offscreen_bitmap_win.h"

namespace {

// Shows `image` (IMAGE_BITMAP or IMAGE_ICON) in a button or static field, which takes the matching
// image style; the field record owns the image and frees the one it replaces.
bool show_image(HWND f, HANDLE image, UINT type)
{
    if (!image)
        return false;
    const int kind = WDialogFieldKindOf(f);
    LONG style = GetWindowLongA(f, GWL_STYLE);
    if (kind == FK_STATIC || kind == FK_STATIC_TEXT) {
        style = (style & ~SS_TYPEMASK) | (type == IMAGE_ICON ? SS_ICON : SS_BITMAP);
        SetWindowLongA(f, GWL_STYLE, style);
        SendMessageA(f, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image));
    } else {
        style = (style & ~(BS_BITMAP | BS_ICON)) | (type == IMAGE_ICON ? BS_ICON : BS_BITMAP);
        SetWindowLongA(f, GWL_STYLE, style);
        SendMessageA(f, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(image));
    }
    make_field_record(f).image.reset(image, type);
    InvalidateRect(f, nullptr, TRUE);
    return true;
}

bool takes_image(int kind)
{
    switch (kind) {
    case FK_STATIC_TEXT:
    case FK_STATIC:
    case FK_BUTTON:
    case FK_CHECK:
    case FK_RADIO: return true;
    default: return false;
    }
}

}  // namespace

bool show_resource_image(HWND f, int id, UINT type)
{
    // Bitmaps are loaded with the button face for their transparent colour and 3-D greys mapped to the
    // system's.
    const UINT flags = type == IMAGE_BITMAP ? LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS : LR_DEFAULTCOLOR;
    HANDLE image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), type, 0, 0, flags);
    return show_image(f, image, type);
}

void WDialogFieldImage(int field, int image, int kind, int& status)
{
    status = 0;
    HWND f = field_or_report(field);
    if (!f) {
        status = -1;
        return;
    }
    if (!takes_image(WDialogFieldKindOf(f))) {
        status = -1;
        IErrorReport(ERR_NO_FIELD);
        return;
    }
    bool shown = false;
    switch (kind) {
    case FIELD_IMAGE_BITMAP: shown = show_resource_image(f, image, IMAGE_BITMAP); break;
    case FIELD_IMAGE_ICON: shown = show_resource_image(f, image, IMAGE_ICON); break;
    case FIELD_IMAGE_OFFSCREEN:
        // A copy, so that the field keeps its picture when the application deletes the bitmap.
        if (image >= 1 && image <= BITMAP_SLOTS && GrBitmapTable.slot[image - 1].bitmap)
            shown = show_image(f, CopyImage(GrBitmapTable.slot[image - 1].bitmap, IMAGE_BITMAP, 0, 0, 0),
                               IMAGE_BITMAP);
        break;
    default: break;
    }
    if (!shown)
        status = -2;
}
