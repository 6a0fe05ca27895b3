// The system's common dialogs for the application: file open and save, colour, page set-up, the
// message box, and the locale's measuring system.
#include "toolkit/graphics/colour_table.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/common_dialogs_win.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/window_table_win.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

HcPrinterSetupRecord HcPrinterSetup;

namespace {

constexpr int FILTER_RESOURCE_LENGTH = 1001;

std::string trimmed(std::string_view s)
{
    size_t end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

// The page set-up kept between calls: the printer's device mode and names, the units of the last call.
struct PageSetupState {
    PAGESETUPDLGA dialog = {};
    int units_flag = -1;  // PSD_INTHOUSANDTHSOFINCHES or PSD_INHUNDREDTHSOFMILLIMETERS of the last call
};

PageSetupState page_setup;

// Asks the system for the default printer's page without showing anything.
bool page_setup_defaults(DWORD units_flag)
{
    PAGESETUPDLGA& d = page_setup.dialog;
    d.lStructSize = sizeof d;
    d.hwndOwner = common_dialog_owner();
    d.Flags = PSD_RETURNDEFAULT | units_flag;
    if (!PageSetupDlgA(&d))
        return false;
    page_setup.units_flag = static_cast<int>(units_flag);
    return true;
}

// Copies the chosen printer's names and settings into HcPrinterSetup. The names-loaded flag is set too,
// so that the next page query keeps this printer instead of looking up the default one again.
void copy_printer_out(const DEVMODEA& dm)
{
    HcPrinterSetupRecord& p = HcPrinterSetup;
    auto& o = p.overrides;
    o[HC_PAPER_SIZE] = dm.dmPaperSize;
    o[HC_PAPER_LENGTH] = dm.dmPaperLength;
    o[HC_PAPER_WIDTH] = dm.dmPaperWidth;
    o[HC_SCALE] = dm.dmScale;
    o[HC_PAPER_SOURCE] = dm.dmDefaultSource;
    o[HC_PRINT_QUALITY] = dm.dmPrintQuality;
    o[HC_COLOUR] = dm.dmColor;
    o[HC_DUPLEX] = dm.dmDuplex;
    o[HC_Y_RESOLUTION] = dm.dmYResolution;
    o[HC_TRUETYPE_OPTION] = dm.dmTTOption;
    o[HC_COLLATE] = dm.dmCollate;
    p.media_type = static_cast<int>(dm.dmMediaType);
    p.dither_type = static_cast<int>(dm.dmDitherType);
    HGLOBAL names = page_setup.dialog.hDevNames;
    if (auto* n = names ? static_cast<DEVNAMES*>(GlobalLock(names)) : nullptr) {
        const char* base = reinterpret_cast<const char*>(n);
        p.driver = base + n->wDriverOffset;
        p.device = base + n->wDeviceOffset;
        p.port = base + n->wOutputOffset;
        p.names_loaded = 1;
        p.dialog_choice = 1;
        GlobalUnlock(names);
    }
}

}  // namespace

HWND common_dialog_owner()
{
    HWND dlg = current_dialog_window();
    if (dlg && IsWindowVisible(dlg)) {
        DialogRecord* r = dialog_record(dlg);
        return r && r->combined ? r->combined : dlg;
    }
    return WIN_TABLE.slot[0].frame;
}

void WDialogFileSelect(const FileSelectRequest& q, int& filter_index, std::string& file, int& success,
                       int& error)
{
    success = 0;
    error = 0;
    std::string filter;
    if (q.filter_id == -1) {
        filter = file_filter_from_text(q.filter_text);
    } else if (q.filter_id != 0) {
        char text[FILTER_RESOURCE_LENGTH + 1] = {};
        int n = LoadStringA(WIN_TABLE.instance, static_cast<UINT>(q.filter_id), text, sizeof text);
        filter = file_filter_from_text(std::string_view(text, static_cast<size_t>(n > 0 ? n : 0)));
    }
    // The buffer holds the initial name and receives the chosen ones; its size is the caller's.
    size_t size = file.size();
    std::vector<char> buffer(size + 2, '\0');
    std::string initial = trimmed(file);
    std::copy(initial.begin(), initial.end(), buffer.begin());
    std::string directory = trimmed(q.initial_directory);
    std::string title = trimmed(q.title);
    read_screen_info();

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = common_dialog_owner();
    ofn.hInstance = WIN_TABLE.instance;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(filter_index, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(size);
    ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_HIDEREADONLY;
    if (!q.path_may_be_missing)
        ofn.Flags |= OFN_PATHMUSTEXIST;
    // An empty default extension makes the chooser add the filter's extension to a bare name.
    if (q.default_extension == 1 && WIN_SCREEN.major_version != 3)
        ofn.lpstrDefExt = "";
    if (q.save == 1) {
        if (q.prompt == 1)
            ofn.Flags |= OFN_OVERWRITEPROMPT;
    } else {
        if (q.must_exist == 1)
            ofn.Flags |= OFN_FILEMUSTEXIST;
        else if (q.prompt == 1)
            ofn.Flags |= OFN_CREATEPROMPT;
        if (q.multiple == 1)
            ofn.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    }

    HWND owner = ofn.hwndOwner;
    WWinDisableOthers(owner, true);
    BOOL ok = q.save == 1 ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    WWinEnableOthers(owner, true);
    if (owner && WWinFromHandle(owner) > 0)
        SetFocus(owner);
    if (!ok) {
        error = static_cast<int>(CommDlgExtendedError());
        DIALOG_RESULTS.message_box_answer = 0;
        return;
    }
    // One name ends at its NUL; several (directory, then names) end at two NULs.
    size_t length = 0;
    while (length < size && (buffer[length] != '\0' || (q.multiple == 1 && buffer[length + 1] != '\0')))
        ++length;
    file.assign(buffer.data(), length);
    file.resize(size, ' ');
    filter_index = static_cast<int>(ofn.nFilterIndex);
    success = 1;
    DIALOG_RESULTS.message_box_answer = 1;
}

void WDialogSelectColour(int& red, int& green, int& blue, int& success, int& error)
{
    static COLORREF custom[16];
    for (int i = 0; i < 16; ++i)
        custom[i] = static_cast<COLORREF>(GrColourTable.rgb[static_cast<size_t>(i)]);
    auto channel = [](int v) { return static_cast<BYTE>(std::clamp(v, 0, 255)); };
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = common_dialog_owner();
    cc.rgbResult = RGB(channel(red), channel(green), channel(blue));
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN | CC_RGBINIT;
    success = 0;
    error = 0;
    WWinDisableOthers(cc.hwndOwner, true);
    BOOL ok = ChooseColorA(&cc);
    WWinEnableOthers(cc.hwndOwner, true);
    if (!ok) {
        error = static_cast<int>(CommDlgExtendedError());
        return;
    }
    red = GetRValue(cc.rgbResult);
    green = GetGValue(cc.rgbResult);
    blue = GetBValue(cc.rgbResult);
    success = 1;
}

void WDialogPageSetup(PageSetupValues& v, int& success)
{
    success = 0;
    DWORD units_flag = v.units < 2 ? PSD_INTHOUSANDTHSOFINCHES : PSD_INHUNDREDTHSOFMILLIMETERS;
    PAGESETUPDLGA& d = page_setup.dialog;
    if (!d.hDevMode) {
        if (!page_setup_defaults(units_flag))
            return;
    } else if (page_setup.units_flag != static_cast<int>(units_flag)) {
        if (!page_setup_defaults(units_flag))
            return;
    }
    if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(d.hDevMode))) {
        if (v.orientation != dm->dmOrientation - 1) {
            std::swap(d.ptPaperSize.x, d.ptPaperSize.y);
            dm->dmOrientation = static_cast<short>(v.orientation + 1);
        }
        dm->dmCopies = static_cast<short>(v.copies);
        GlobalUnlock(d.hDevMode);
    }
    d.rtMargin.left = v.left_margin;
    d.rtMargin.top = v.top_margin;
    d.rtMargin.right = d.ptPaperSize.x - v.printable_width - v.left_margin;
    d.rtMargin.bottom = d.ptPaperSize.y - v.printable_height - v.top_margin;
    d.hwndOwner = common_dialog_owner();
    d.Flags = PSD_MARGINS | units_flag;
    WWinDisableOthers(d.hwndOwner, true);
    BOOL ok = PageSetupDlgA(&d);
    WWinEnableOthers(d.hwndOwner, true);
    if (!ok)
        return;
    page_setup.units_flag = static_cast<int>(units_flag);
    v.paper_width = d.ptPaperSize.x;
    v.paper_height = d.ptPaperSize.y;
    v.printable_width = d.ptPaperSize.x - d.rtMargin.left - d.rtMargin.right;
    v.printable_height = d.ptPaperSize.y - d.rtMargin.top - d.rtMargin.bottom;
    v.left_margin = d.rtMargin.left;
    v.top_margin = d.rtMargin.top;
    if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(d.hDevMode))) {
        v.orientation = dm->dmOrientation - 1;
        v.copies = dm->dmCopies;
        copy_printer_out(*dm);
        HDC ic = CreateICA(HcPrinterSetup.driver.c_str(), HcPrinterSetup.device.c_str(), nullptr, dm);
        if (ic) {
            v.printer_colours = GetDeviceCaps(ic, NUMCOLORS);
            DeleteDC(ic);
        }
        GlobalUnlock(d.hDevMode);
    }
    success = 1;
}

void WDialogMessageShow(int buttons, int icon, int default_button, int& answer, std::string_view message,
                        std::string_view title)
{
    HWND owner = common_dialog_owner();
    std::string text(message);
    std::string caption(title);
    WWinDisableOthers(owner, true);
    int system_answer =
        MessageBoxA(owner, text.c_str(), caption.c_str(), message_box_style(buttons, icon, default_button));
    WWinEnableOthers(owner, true);
    answer = system_answer == 0 ? -1 : message_box_answer(system_answer);
    DIALOG_RESULTS.message_box_answer = answer;
}

void WDialogMeasureSystem(int& system)
{
    char measure[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure);
    system = measure[0] == '1' ? 1 : 2;
}

void WDialogScreenOrigin(int& x, int& y)
{
    HWND w = current_dialog_window();
    if (!w)
        w = WIN_TABLE.slot[0].frame;
    POINT p = {0, 0};
    if (w)
        ClientToScreen(w, &p);
    x = p.x;
    y = p.y;
}
