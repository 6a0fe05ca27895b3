// The window table, the window classes, the main window and the frame window procedure.
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gdi_owners_win.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_palette_win.h"
#include "toolkit/win/lower_layer_hooks_win.h"
#include "toolkit/win/menus.h"
#include "toolkit/win/menus_win.h"
#include "toolkit/win/message_codes.h"
#include "toolkit/win/message_layer_win.h"
#include "toolkit/win/offscreen_bitmap_win.h"
#include "toolkit/win/picture_fields.h"
#include "toolkit/win/window_table_win.h"
#include "toolkit/win/window_utilities.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

WinTable WIN_TABLE;
WinCurrentWindow WIN_CURRENT;
WinScreenInfo WIN_SCREEN;

namespace {

// Whatever uses the window table also has the lower layers' hooks set, with or without WInitialise.
const bool LOWER_LAYER_HOOKS_SET = (win_set_lower_layer_hooks(), true);

}  // namespace

namespace {

constexpr char MAIN_CLASS[] = "VUVUZUVODER";
constexpr char CLIENT_CLASS[] = "WINTCLIENT";
constexpr char CHILD_CLASS[] = "RORERIDUZ";

bool inside_parent(HWND frame)
{
    return (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) != 0;
}

// A window inside a parent keeps its normal place itself: maximising stores it once, restoring puts it
// back and forgets it; minimising draws its caption inactive and that of the window holding it active.
void inside_parent_size(int n, WPARAM reason)
{
    WinSlot& s = WIN_TABLE.slot[n];
    if (reason == SIZE_MAXIMIZED && s.normal_rect.left == -999) {
        WINDOWPLACEMENT p = {};
        p.length = sizeof p;
        if (GetWindowPlacement(s.frame, &p))
            s.normal_rect = p.rcNormalPosition;
    } else if (reason == SIZE_RESTORED && s.normal_rect.left != -999) {
        RECT r = s.normal_rect;
        s.normal_rect = RECT{-999, 0, 0, 0};
        MoveWindow(s.frame, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    } else if (reason == SIZE_MINIMIZED) {
        SendMessageA(s.frame, WM_NCACTIVATE, FALSE, 0);
        int outer = WWinFromHandle(GetParent(s.frame));
        if (outer >= 0)
            SendMessageA(WIN_TABLE.slot[outer].frame, WM_NCACTIVATE, TRUE, 0);
    }
}

[[noreturn]] void abort_with(const char* text)
{
    MessageBoxA(nullptr, text, "Vuvuzuvoder Window", MB_OK | MB_ICONSTOP);
    ExitProcess(0);
}

// Frame style bits of the flag word shared by main and child windows.
DWORD style_from_flags(int flags)
{
    DWORD s = 0;
    if (flags & 1)
        s |= WS_SYSMENU;
    if (flags & 2)
        s |= WS_MINIMIZEBOX;
    if (flags & 4)
        s |= WS_MAXIMIZEBOX;
    if (flags & 8)
        s |= WS_MAXIMIZE;
    if (!(flags & 64))
        s |= WS_THICKFRAME;
    return s;
}

}  // namespace

void read_screen_info()
{
    if (WIN_SCREEN.width > 0)
        return;
    WindowDc screen(nullptr);
    HDC dc = screen.get();
    WIN_SCREEN.width = GetDeviceCaps(dc, HORZRES);
    WIN_SCREEN.height = GetDeviceCaps(dc, VERTRES);
    int bits = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    if (bits > 24)
        bits = 24;
    WIN_SCREEN.colours = 1 << bits;
    WIN_SCREEN.colour_class = WIN_SCREEN.colours <= 2     ? 2
                              : WIN_SCREEN.colours <= 16  ? 8
                              : WIN_SCREEN.colours <= 256 ? 16
                                                          : 256;
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    if (GetVersionExA(&v)) {
        WIN_SCREEN.platform = static_cast<int>(v.dwPlatformId);
        WIN_SCREEN.major_version = static_cast<int>(v.dwMajorVersion);
    }
}

int WInfoScreen(int option)
{
    read_screen_info();
    switch (option) {
    case 1: return WIN_SCREEN.width;
    case 2: return WIN_SCREEN.height;
    case 3: return WIN_SCREEN.colours;
    default: return 0;
    }
}

bool register_window_classes()
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WIN_TABLE.instance = inst;
    WNDCLASSA wc = {};
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (!WIN_TABLE.main_class) {
        UnregisterClassA(MAIN_CLASS, inst);
        wc.lpfnWndProc = WWinFrameProc;
        wc.hIcon = LoadIconA(inst, "icon1");
        wc.lpszClassName = MAIN_CLASS;
        WIN_TABLE.main_class = RegisterClassA(&wc);
    }
    if (!WIN_TABLE.client_class) {
        WNDCLASSA cc = wc;
        cc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        cc.lpfnWndProc = WWinClientProc;
        cc.hIcon = nullptr;
        cc.lpszClassName = CLIENT_CLASS;
        WIN_TABLE.client_class = RegisterClassA(&cc);
    }
    if (!WIN_TABLE.child_class) {
        WNDCLASSA fc = wc;
        fc.lpfnWndProc = WWinFrameProc;
        fc.hIcon = LoadIconA(inst, "icon1");
        fc.lpszClassName = CHILD_CLASS;
        WIN_TABLE.child_class = RegisterClassA(&fc);
    }
    return WIN_TABLE.main_class && WIN_TABLE.client_class && WIN_TABLE.child_class;
}

bool create_frame_and_client(int slot, const char* cls, DWORD style, DWORD ex_style, HWND parent, int x,
                             int y, int client_w, int client_h, bool status_bar, bool sizing,
                             const char* title)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    RECT r = {0, 0, client_w, client_h};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    int fw = r.right - r.left;
    int fh = r.bottom - r.top;
    const bool centred_y = y == WIN_UNSET;
    if (x == WIN_UNSET || y == WIN_UNSET) {
        int pw = WIN_SCREEN.width;
        int ph = WIN_SCREEN.height;
        if (parent && (style & WS_CHILD)) {
            RECT pc;
            GetClientRect(parent, &pc);
            pw = pc.right;
            ph = pc.bottom;
        }
        if (x == WIN_UNSET)
            x = (pw - fw) / 2;
        if (y == WIN_UNSET)
            y = (ph - fh) / 2;
    }
    s.frame = CreateWindowExA(ex_style, cls, title, style, x, y, fw, fh, parent, nullptr, WIN_TABLE.instance,
                              nullptr);
    if (!s.frame)
        return false;
    if (status_bar) {
        // The bar takes its own height when it is sized; the frame then grows by that height, and moves
        // up by half of it when its position was centred.
        DWORD sbs = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (sizing ? SBARS_SIZEGRIP : 0);
        s.status_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", sbs, 0, 0, 0, 0, s.frame,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(STATUS_BAR_ID)),
                                       WIN_TABLE.instance, nullptr);
        if (s.status_bar) {
            SendMessageA(s.status_bar, WM_SIZE, 0, 0);
            RECT sr;
            GetWindowRect(s.status_bar, &sr);
            int grow = sr.bottom - sr.top;
            SetWindowPos(s.frame, nullptr, x, centred_y ? y - grow / 2 : y, fw, fh + grow,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    }
    RECT fc;
    GetClientRect(s.frame, &fc);
    int ch = fc.bottom;
    if (s.status_bar) {
        SendMessageA(s.status_bar, WM_SIZE, 0, 0);
        RECT sr;
        GetWindowRect(s.status_bar, &sr);
        ch -= sr.bottom - sr.top;
    }
    s.client = CreateWindowExA(0, CLIENT_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                               0, 0, fc.right, ch, s.frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                               WIN_TABLE.instance, nullptr);
    if (!s.client) {
        DestroyWindow(s.frame);
        s = WinSlot{};
        return false;
    }
    s.normal_rect.left = -999;
    for (int& p : s.status_part_styles)
        p = 0;
    return true;
}

void client_size(int slot, int& width, int& height)
{
    RECT r = {0, 0, 0, 0};
    if (slot >= 0 && slot < WIN_SLOTS && WIN_TABLE.slot[slot].client)
        GetClientRect(WIN_TABLE.slot[slot].client, &r);
    width = r.right;
    height = r.bottom;
}

void WWinOpen(const WinOpenRecord& record, int colour_count)
{
    int x = record.x < 0 && record.x != -5 ? WIN_UNSET : record.x;
    int y = record.y < 0 && record.y != -5 ? WIN_UNSET : record.y;
    if (record.x == -5)
        x = WIN_UNSET;
    if (record.y == -5)
        y = WIN_UNSET;
    WWinOpenMain(record.flags, x, y, record.width, record.height, record.menu, 0, record.title.substr(0, 80),
                 WinToolbarIds{}, colour_count);
}

void open_window_bars(int slot, int menu, const WinToolbarIds& toolbars, bool x_centred, bool y_centred)
{
    WinSlot& s = WIN_TABLE.slot[slot];
    // Moves the frame back by half of what it grew, so that a centred frame stays centred.
    auto keep_centred = [&](int width_change, int height_change) {
        int dx = x_centred && width_change > 0 ? width_change / 2 : 0;
        int dy = y_centred && height_change > 0 ? height_change / 2 : 0;
        if (dx == 0 && dy == 0)
            return;
        RECT r;
        GetWindowRect(s.frame, &r);
        MapWindowPoints(nullptr, GetParent(s.frame), reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(s.frame, nullptr, r.left - dx, r.top - dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    };
    if (menu != 0 && !(GetWindowLongA(s.frame, GWL_STYLE) & WS_CHILD)) {
        RECT before, after;
        GetWindowRect(s.frame, &before);
        window_menu_attach(slot, menu);
        GetWindowRect(s.frame, &after);
        keep_centred(0, (after.bottom - after.top) - (before.bottom - before.top));
    }
    for (int side = 0; side < 4; ++side) {
        int id = toolbars.id[side];
        if (id == 0)
            continue;
        int width_change = 0, height_change = 0;
        WToolbarSet(id, slot, side, width_change, height_change);
        keep_centred(width_change, height_change);
    }
}

void WWinOpenMain(int flags, int x, int y, int width, int height, int menu, int dialog,
                  std::string_view title_in, const WinToolbarIds& toolbars, int colour_count)
{
    if (WIN_CURRENT.main_open == -1)
        return;
    read_screen_info();
    if (width < 1)
        width = WIN_SCREEN.width * 80 / 100;
    if (height < 1)
        height = WIN_SCREEN.height * 80 / 100;
    std::string title(title_in);
    title.erase(title.find_last_not_of(' ') + 1);
    if (dialog > 0)
        dialog = fit_combined_dialog(dialog, flags, width, height);

    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    LoadLibraryA("riched32.dll");
    // The find-and-replace box of the common dialogs reports through this registered message.
    WIN_TABLE.find_replace_message = RegisterWindowMessageA("commdlg_FindReplace");
    if (!register_window_classes())
        abort_with("Failed to register class - aborting.");

    DWORD style = WS_CLIPCHILDREN | WS_CAPTION | style_from_flags(flags);
    DWORD ex_style = (flags & 512) ? WS_EX_TOPMOST : 0;
    if (!create_frame_and_client(0, MAIN_CLASS, style, ex_style, nullptr, x, y, width, height,
                                 (flags & 32) != 0, !(flags & 64), title.c_str()))
        abort_with("Failed to create window - aborting.");
    // The menu bar with its item numbers, accelerators and help strings (none when it cannot be loaded),
    // and the toolbars.
    open_window_bars(0, menu, toolbars, x == WIN_UNSET && !(flags & 8), y == WIN_UNSET && !(flags & 8));
    if (dialog > 0)
        combine_dialog(0, dialog);

    WinSlot& s = WIN_TABLE.slot[0];
    if (flags & 128) {
        WIN_TABLE.main_hidden = true;
    } else {
        ShowWindow(s.frame, (flags & 8) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        UpdateWindow(s.frame);
        ValidateRect(s.client, nullptr);  // the opening itself raises no expose
    }
    clear_pending_messages();
    WIN_CURRENT.window = 0;
    WWinMakeCurrent(0, true);
    if (!(flags & 128))
        SetFocus(s.client);
    WIN_TABLE.default_owner = s.frame;
    WIN_CURRENT.main_open = -1;
    WIN_CURRENT.options[0] = flags;
    // The window-text colours and font, the graphics state and the colour table start from the main
    // window.
    window_text_main_window_open();
    window_text_start();
    // On a 256-colour display the colour count (16, 32, 64 or 128; any other 16) is the colour class,
    // which sizes the palette that the graphics core builds and realises in the window's context.
    const bool palette_display = WIN_SCREEN.colours == 256;
    if (palette_display)
        WIN_SCREEN.colour_class =
            colour_count == 32 || colour_count == 64 || colour_count == 128 ? colour_count : 16;
    IGrInitGraphics(" ");
    if (palette_display)
        IGrPaletteBuild(1);
    IGrColourTableInit();
    combined_dialog_result(dialog);
}

void close_media_device(WinSlot& slot, bool stop)
{
    MCIDEVICEID device = slot.media_device;
    if (device == 0)
        return;
    slot.media_device = 0;
    if (stop)
        mciSendCommandA(device, MCI_STOP, 0, 0);
    mciSendCommandA(device, MCI_CLOSE, 0, 0);
}

// Destroys every window of the toolkit, children first, and resets the message enable words.
void WWinCloseDown()
{
    // The drawing surfaces go first: a picture field's context, the pattern and the 20 bitmaps.
    picture_target_release();
    if (GrGdiContext.pattern) {
        DeleteObject(GrGdiContext.pattern);
        GrGdiContext.pattern = nullptr;
        GrGdiContext.pattern_dirty = true;
    }
    gr_bitmaps_delete_all();
    // Windows combined with a dialog give up their records; then every loaded dialog goes.
    for (WinSlot& s : WIN_TABLE.slot) {
        WinRecord* r = win_record(s.frame);
        if (r && r->kind == RECORD_WITH_DIALOG) {
            SetWindowLongPtrA(s.frame, GWLP_USERDATA, 0);
            delete r;
        }
    }
    dialogs_close_down();
    for (WinSlot& s : WIN_TABLE.slot)
        close_media_device(s, true);
    if (WIN_CURRENT.dc && WIN_TABLE.slot[WIN_CURRENT.window].client)
        ReleaseDC(WIN_TABLE.slot[WIN_CURRENT.window].client, WIN_CURRENT.dc);
    WIN_CURRENT.dc = nullptr;
    for (int i = WIN_SLOTS - 1; i >= 1; --i) {
        if (WIN_TABLE.slot[i].frame && IsWindow(WIN_TABLE.slot[i].frame))
            DestroyWindow(WIN_TABLE.slot[i].frame);
        WIN_TABLE.slot[i] = WinSlot{};
    }
    WIN_CURRENT.window = 0;
    for (int t = 1; t <= 16; ++t)
        WMsgEnableSet(t, 1);
    for (int t : {5, 6, 10, 11, 12})
        WMsgEnableSet(t, 0);
    if (WIN_TABLE.slot[0].frame && IsWindow(WIN_TABLE.slot[0].frame))
        DestroyWindow(WIN_TABLE.slot[0].frame);
    WIN_TABLE.slot[0] = WinSlot{};
    WIN_TABLE.default_owner = nullptr;
    WIN_CURRENT.main_open = 0;
}

LRESULT CALLBACK WWinFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    int n = WWinFromHandle(hwnd);
    // Menu help, the menu loop, toolbar tooltips and the menu's clean-up: the menu code.
    LRESULT menu_result = 0;
    if (menu_frame_message(hwnd, n, msg, wp, lp, menu_result))
        return menu_result;
    switch (msg) {
    case WM_CLOSE: WMsgPost(MsgCloseRequest, 0, wp, lp, hwnd); return 0;  // the application decides
    case WM_COMMAND:
        if (HIWORD(wp) == 0 || HIWORD(wp) == 1) {
            WMsgPost(MsgMenu, 0, wp, lp, hwnd);
            return 0;
        }
        break;
    case WM_TIMER:
        KillTimer(hwnd, wp);
        WMsgPost(MsgTimer, 0, wp, lp, hwnd);
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        if (wp != HTREDUCE) {
            int button = msg == WM_NCLBUTTONDOWN ? 1 : msg == WM_NCMBUTTONDOWN ? 2 : 3;
            WMsgPost(MsgNonClientClick, button, wp, lp, hwnd);
        }
        BringWindowToTop(hwnd);
        WWinActivate(hwnd);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        BringWindowToTop(hwnd);
        WWinActivate(hwnd);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE)
            WWinActivate(hwnd);
        break;
    case WM_ACTIVATEAPP:
        // Another application comes to the front: every window is drawn inactive. This one comes to the
        // front: the palettes of an 8-bit display are realised again.
        if (!wp)
            WWinActivate(nullptr);
        else if (n >= 0)
            gl_realise_palettes(WIN_TABLE.slot[n].client);
        break;
    case WM_PALETTECHANGED:
        if (n >= 0 && WIN_TABLE.slot[n].client)
            return SendMessageA(WIN_TABLE.slot[n].client, msg, wp, lp);
        break;
    case WM_SYSCHAR:
        // A window inside a parent hands its Alt keys to the parent's menu; Alt+'-' opens its own system
        // menu.
        if (inside_parent(hwnd) && wp != '-')
            return SendMessageA(GetParent(hwnd), msg, wp, lp);
        break;
    case WM_EXITSIZEMOVE:
        if (n > 0 && inside_parent(hwnd) && IsIconic(hwnd))
            ArrangeIconicWindows(GetParent(hwnd));
        break;
    case MM_MCINOTIFY:
        // The window's media device has finished: it is closed and forgotten.
        if (n >= 0 && WIN_TABLE.slot[n].media_device == static_cast<unsigned>(lp))
            close_media_device(WIN_TABLE.slot[n], false);
        else
            mciSendCommandA(static_cast<MCIDEVICEID>(lp), MCI_CLOSE, 0, 0);
        return 0;
    case WM_SETFOCUS:
        if (n >= 0 && WIN_TABLE.slot[n].client)
            SetFocus(WIN_TABLE.slot[n].client);
        return 0;
    case WM_SIZE:
        if (n >= 0) {
            WinSlot& s = WIN_TABLE.slot[n];
            int h = HIWORD(lp);
            if (s.status_bar) {
                SendMessageA(s.status_bar, WM_SIZE, 0, 0);
                RECT sr;
                GetWindowRect(s.status_bar, &sr);
                h -= sr.bottom - sr.top;
            }
            if (s.client)
                MoveWindow(s.client, 0, 0, LOWORD(lp), h > 0 ? h : 0, TRUE);
            if (s.toolbars[0] || s.toolbars[1] || s.toolbars[2] || s.toolbars[3])
                toolbars_layout(n);  // the client shares the frame with the toolbars
            if (n > 0 && inside_parent(hwnd))
                inside_parent_size(n, wp);
        }
        break;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}
