// The metafile driver (device 11): the toolkit's primitives recorded as a Windows picture, a WMF file,
// a placeable WMF file (a 22-byte header with the picture's size before the records), an EMF file, or
// a picture on the clipboard when no file name was given. Also the playback of such files.
#include "toolkit/common/error_numbers.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_printer_win.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/os_utilities.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int FORMAT_WMF = 0;
constexpr int FORMAT_PLACEABLE = 1;
constexpr int FORMAT_EMF = 2;
constexpr std::uint32_t PLACEABLE_KEY = 0x9AC6CDD7;
constexpr int PLACEABLE_SIZE = 22;
constexpr std::uint16_t PLACEABLE_UNITS = 1000;   // units per inch of the header's box
constexpr std::uint16_t CHECKSUM_FIXED = 0x54F9;  // XOR of the header's fixed words

// The picture being recorded.
struct Picture {
    int format = FORMAT_WMF;
    int clipboard = 0;
    int width = 0;  // picture size in 0.01 mm
    int height = 0;
    HANDLE file = INVALID_HANDLE_VALUE;  // the placeable file while it is written
    int extent_x = 0;                    // logical extent of the picture
    int extent_y = 0;
    double line_scale = 1.0;  // EMF: logical units per tenth of a point
} picture;

void put16(unsigned char* p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char* p, std::uint32_t v)
{
    put16(p, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

bool write_all(HANDLE file, const void* data, DWORD n)
{
    DWORD written = 0;
    return WriteFile(file, data, n, &written, nullptr) && written == n;
}

// The reference device of an enhanced metafile: the chosen printer's information context, else the
// screen.
struct ReferenceDevice {
    HDC dc = nullptr;
    bool printer = false;
    ReferenceDevice()
    {
        const HcPrinterSetupRecord& S = HcPrinterSetup;
        if (S.names_loaded != 0)
            dc = CreateICA(S.driver.c_str(), S.device.c_str(), nullptr, nullptr);
        printer = dc != nullptr;
        if (!dc)
            dc = GetDC(nullptr);
    }
    ~ReferenceDevice()
    {
        if (printer)
            DeleteDC(dc);
        else if (dc)
            ReleaseDC(nullptr, dc);
    }
    ReferenceDevice(const ReferenceDevice&) = delete;
    ReferenceDevice& operator=(const ReferenceDevice&) = delete;
};

}  // namespace

void IHcMetaCreate(int& extent_x, int& extent_y, int format, short right, short bottom, short checksum,
                   int clipboard, std::string_view name, std::string_view description, int& status)
{
    HcGdiDraw& d = hc_gdi_draw(HC_METAFILE_DEVICE);
    Picture& P = picture;
    status = 0;
    P.clipboard = clipboard;
    P.format = format;
    P.width = extent_x * 254 / 72;
    P.height = extent_y * 254 / 72;
    const std::string file(name);
    if (format != FORMAT_EMF) {
        if (clipboard != 0) {
            d.dc = CreateMetaFileA(nullptr);
        } else if (format == FORMAT_WMF) {
            d.dc = CreateMetaFileA(file.c_str());
        } else {
            unsigned char header[PLACEABLE_SIZE] = {};
            put32(header, PLACEABLE_KEY);
            put16(header + 10, static_cast<std::uint16_t>(right));
            put16(header + 12, static_cast<std::uint16_t>(bottom));
            put16(header + 14, PLACEABLE_UNITS);
            put16(header + 20, static_cast<std::uint16_t>(checksum));
            P.file = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            if (P.file != INVALID_HANDLE_VALUE && write_all(P.file, header, PLACEABLE_SIZE))
                d.dc = CreateMetaFileA(nullptr);
        }
        if (d.dc)
            SetMapMode(d.dc, MM_ANISOTROPIC);
    } else {
        ReferenceDevice ref;
        const int hres = GetDeviceCaps(ref.dc, HORZRES), vres = GetDeviceCaps(ref.dc, VERTRES);
        const int hsize = GetDeviceCaps(ref.dc, HORZSIZE), vsize = GetDeviceCaps(ref.dc, VERTSIZE);
        if (hsize > 0 && vsize > 0) {
            extent_x = gr_trunc(extent_x * double(hres) * 25.4 / (hsize * 720.0));
            extent_y = gr_trunc(extent_y * double(vres) * 25.4 / (vsize * 720.0));
        }
        const RECT frame{0, 0, P.width, P.height};
        d.dc = CreateEnhMetaFileA(ref.dc, clipboard != 0 ? nullptr : file.c_str(), &frame,
                                  std::string(description).c_str());
    }
    if (!d.dc) {
        // No picture: the placeable file that was started goes again.
        if (P.file != INVALID_HANDLE_VALUE) {
            CloseHandle(P.file);
            P.file = INVALID_HANDLE_VALUE;
            DeleteFileA(file.c_str());
        }
        P.format = FORMAT_WMF;
        status = 1;
        return;
    }
    P.extent_x = extent_x;
    P.extent_y = extent_y;
    d.origin = {0, 0};
    d.extent = {extent_x + 1, extent_y + 1};
    SetWindowOrgEx(d.dc, 0, 0, nullptr);
    SetWindowExtEx(d.dc, extent_x + 1, extent_y + 1, nullptr);
    d.clip = nullptr;
    SetBkMode(d.dc, TRANSPARENT);
    d.pen_colour_made = d.pen_style_made = d.pen_width_made = -1;
    d.geometric = false;
    if (format == FORMAT_EMF) {
        int platform = 0;
        IOsPlatform(platform);
        d.geometric = platform == 4;
    }
}

// Ends the picture: to the clipboard (status 2 when it cannot take it), the placeable file's records
// after its header, or the file the system wrote; handles not handed over are deleted.
void IHcMetaClose(int& status)
{
    HcGdiDraw& d = hc_gdi_draw(HC_METAFILE_DEVICE);
    Picture& P = picture;
    status = 0;
    if (!d.dc)
        return;
    hc_gdi_release(d);
    const bool emf = P.format == FORMAT_EMF;
    HMETAFILE wmf = nullptr;
    HENHMETAFILE enh = nullptr;
    if (emf)
        enh = CloseEnhMetaFile(d.dc);
    else
        wmf = CloseMetaFile(d.dc);
    d.dc = nullptr;
    bool enh_handed_over = false;
    if (P.clipboard != 0) {
        bool ok = OpenClipboard(nullptr) && EmptyClipboard();
        if (ok && emf) {
            ok = SetClipboardData(CF_ENHMETAFILE, enh) != nullptr;
            enh_handed_over = ok;
        } else if (ok) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, sizeof(METAFILEPICT));
            auto* pict = block ? static_cast<METAFILEPICT*>(GlobalLock(block)) : nullptr;
            if (pict) {
                pict->mm = MM_ANISOTROPIC;
                pict->xExt = P.width;
                pict->yExt = P.height;
                pict->hMF = CopyMetaFileA(wmf, nullptr);
                GlobalUnlock(block);
            }
            ok = pict && SetClipboardData(CF_METAFILEPICT, block) != nullptr;
            if (!ok && block)
                GlobalFree(block);
        }
        CloseClipboard();
        if (!ok)
            status = 2;
    } else if (P.format == FORMAT_PLACEABLE) {
        const UINT size = GetMetaFileBitsEx(wmf, 0, nullptr);
        std::vector<unsigned char> bits(size);
        if (size == 0 || GetMetaFileBitsEx(wmf, size, bits.data()) != size ||
            !write_all(P.file, bits.data(), size))
            status = 2;
    }
    if (P.file != INVALID_HANDLE_VALUE) {
        CloseHandle(P.file);
        P.file = INVALID_HANDLE_VALUE;
    }
    if (wmf)
        DeleteMetaFile(wmf);
    if (enh && !enh_handed_over)
        DeleteEnhMetaFile(enh);
    P.format = FORMAT_WMF;
}

namespace {

// Op 1: a 10.5 by 7.5 inch page at 600 dpi as a placeable metafile.
void op_initialise()
{
    if (!hc_initialise_begin(HC_METAFILE_DEVICE))
        return;
    auto& O = HcOptions;
    O(HC_OPT_PAGE_WIDTH) = 756;  // 10.5 by 7.5 inches
    O(HC_OPT_PAGE_HEIGHT) = 540;
    O(HC_OPT_METAFILE_FORMAT) = FORMAT_PLACEABLE;
    HcDeviceBlock.resolution_x = 600;
    HcDeviceBlock.resolution_y = 600;
    HcDeviceBlock.colours = 256;
    hc_gdi_device_info(HC_METAFILE_DEVICE);
}

// A failure of the picture: the error, the output status, and (for a picture not made) output off.
void picture_failed(int error)
{
    IErrorReport(error);
    HcPlotStatus = -1;
}

// Op 18: the metafile of the format of option 27 (to the clipboard without a name), with its
// description and placeable header; a picture that cannot be made is error 1 and output off.
void op_open()
{
    auto& B = GrPrimitiveBlock;
    const auto& O = HcOptions;
    int extent_x = O(HC_OPT_PAGE_WIDTH) * 10, extent_y = O(HC_OPT_PAGE_HEIGHT) * 10;
    if (B.NVAL > 0) {
        // An option 27 outside 0..2 is taken for the placeable file, the driver's default.
        const int format = O(HC_OPT_METAFILE_FORMAT) >= FORMAT_WMF && O(HC_OPT_METAFILE_FORMAT) <= FORMAT_EMF
                               ? O(HC_OPT_METAFILE_FORMAT)
                               : FORMAT_PLACEABLE;
        const int right = O(HC_OPT_PAGE_WIDTH) * 1000 / 72, bottom = O(HC_OPT_PAGE_HEIGHT) * 1000 / 72;
        const int checksum = right ^ bottom ^ CHECKSUM_FIXED;
        if (B.IX(1) == 0)
            HcTitle = hc_padded("Vuvuzuvoder graphic", HC_TITLE_LENGTH);
        std::string name(B.TEXT.data(), HC_NAME_LENGTH);
        name.erase(name.find_last_not_of(' ') + 1);
        std::string title = HcTitle;
        title.erase(title.find_last_not_of(' ') + 1);
        std::string description = "RUV metafile driver";
        description += '\0';
        description += title;
        description += '\0';
        description += '\0';
        int status = 0;
        IHcMetaCreate(extent_x, extent_y, format, static_cast<short>(right), static_cast<short>(bottom),
                      static_cast<short>(checksum), B.NPTS, name, description, status);
        if (status != 0) {
            picture_failed(ERR_OPEN_FILE);
            GrOutputSwitch.hardcopy = 0;
            return;
        }
        HcPlotStatus = 0;
        if (format == FORMAT_EMF)
            picture.line_scale = double(extent_x) / std::max(O(HC_OPT_PAGE_WIDTH) * 10, 1);
        hc_gdi_draw(HC_METAFILE_DEVICE).line_rgb = {-1, -1, -1};
    } else if (picture.extent_x > 0) {
        extent_x = picture.extent_x;
        extent_y = picture.extent_y;
    }
    hc_page_scale(extent_x, extent_y);
}

void op_close()
{
    int status = 0;
    IHcMetaClose(status);
    picture.extent_x = picture.extent_y = 0;
    if (status != 0)
        picture_failed(ERR_READ_WRITE);
}

// Ops 21 and 33: the font of the text state.
void op_font()
{
    const HcGdiFontRequest f = hc_gdi_font_request();
    IHcMetaFont(f.width, f.height, f.angle, GrTextState.family, f.style, f.name);
}

// Op 22: the point given is the middle of the character cell; a quarter of the character height along
// the text's normal brings it near the baseline.
void op_text()
{
    auto& B = GrPrimitiveBlock;
    const auto& T = GrTextState;
    const double h = double(T.char_height) * GrDeviceArea.text_height;
    const double hx = h * T.angle_sin, hy = h * T.angle_cos;
    const double H = GrSurface.extent_y;
    const auto map_x = [](double x) { return gr_trunc(double(HcDeviceBlock.sx) * x); };
    const auto map_y = [H](double y) { return gr_trunc((H - y) * double(HcDeviceBlock.sy)); };
    int justification = 0, opaque = 0;
    hc_gdi_text_layout(justification, opaque);
    const int n = std::clamp(B.IX(1), 0, static_cast<int>(B.TEXT.size()));
    IHcMetaText(map_x(B.X(1) + 0.25 * hx), map_y(B.Y(1) - 0.25 * hy), map_x(B.X(3) + 0.25 * hx),
                map_y(B.Y(3) - 0.25 * hy), justification, opaque, B.TEXT.data(), n);
    B.IX(4) = 0;
}

}  // namespace

void IHcMetafileDriver(int op)
{
    switch (op) {
    case GrOpInitialise: op_initialise(); break;
    case GrOpOpen: op_open(); break;
    case GrOpClose: op_close(); break;
    case GrOpHardcopyPage: HcPageUsed = 0; break;
    case GrOpFont:
    case GrOpTextAngle: op_font(); break;
    case GrOpText:
        HcPageUsed = -1;
        op_text();
        break;
    case GrOpClip:
        if (picture.format == FORMAT_EMF)
            hc_gdi_op(HC_METAFILE_DEVICE, op);
        break;
    case GrOpLineWidth: {
        const int w = HcOptions(HC_OPT_LINE_WIDTH);
        IHcMetaLineWidth(picture.format == FORMAT_EMF ? gr_trunc(w * picture.line_scale) : w);
        break;
    }
    default: hc_gdi_op(HC_METAFILE_DEVICE, op); break;
    }
}

void IHcMetafilePlay(int format, int x1, int y1, int x2, int y2, int target, int& status,
                     std::string_view name)
{
    status = 1;
    const std::string path(name);
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    const LONGLONG skip = format == FORMAT_PLACEABLE ? PLACEABLE_SIZE : 0;
    // The records are read whole; a file beyond 256 MB is no picture of this driver.
    const LONGLONG n = std::clamp<LONGLONG>(size.QuadPart - skip, 0, LONGLONG(1) << 28);
    std::vector<unsigned char> bits(static_cast<std::size_t>(n));
    LARGE_INTEGER at = {};
    at.QuadPart = skip;
    DWORD got = 0;
    const bool read = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                      ReadFile(file, bits.data(), static_cast<DWORD>(n), &got, nullptr) && got == n;
    CloseHandle(file);
    status = 2;
    if (!read)
        return;
    HDC dc = target == 0                                                    ? GrGdiContext.dc
             : target == HC_WINDOWS_PRINTER || target == HC_METAFILE_DEVICE ? hc_gdi_draw(target).dc
                                                                            : nullptr;
    if (!dc)
        return;
    // The screen's clip region holds while the picture plays (the screen keeps it selected after).
    if (target == 0 && GrGdiContext.clip)
        SelectClipRgn(dc, GrGdiContext.clip);
    if (format != FORMAT_EMF) {
        // A metafile header: type 1 or 2, a header of 9 words, and a size (in words) the bytes hold.
        METAHEADER head = {};
        if (n >= LONGLONG(sizeof head))
            std::memcpy(&head, bits.data(), sizeof head);
        HMETAFILE wmf = n >= LONGLONG(sizeof head) && head.mtHeaderSize == sizeof head / 2 &&
                                LONGLONG(head.mtSize) * 2 <= n
                            ? SetMetaFileBitsEx(static_cast<UINT>(n), bits.data())
                            : nullptr;
        if (wmf) {
            const POINT shift = target == HC_WINDOWS_PRINTER ? hc_gdi_draw(target).origin : POINT{0, 0};
            const int mode = SetMapMode(dc, MM_ANISOTROPIC);
            POINT origin = {};
            SIZE extent = {};
            SetViewportOrgEx(dc, x1 - shift.x, y1 - shift.y, &origin);
            SetViewportExtEx(dc, x2 - x1 + 1, y2 - y1 + 1, &extent);
            PlayMetaFile(dc, wmf);
            DeleteMetaFile(wmf);
            SetMapMode(dc, mode);
            SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
            SetViewportExtEx(dc, extent.cx, extent.cy, nullptr);
            status = 0;
        }
    } else {
        ENHMETAHEADER head = {};
        if (n >= LONGLONG(sizeof head))
            std::memcpy(&head, bits.data(), sizeof head);
        HENHMETAFILE enh = n >= LONGLONG(sizeof head) && head.iType == EMR_HEADER &&
                                   head.dSignature == ENHMETA_SIGNATURE && LONGLONG(head.nBytes) <= n
                               ? SetEnhMetaFileBits(static_cast<UINT>(n), bits.data())
                               : nullptr;
        if (enh) {
            const RECT box{x1, y1, x2, y2};
            PlayEnhMetaFile(dc, enh, &box);
            DeleteEnhMetaFile(enh);
            status = 0;
        }
    }
}
