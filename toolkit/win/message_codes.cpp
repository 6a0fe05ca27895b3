// Key codes, mouse-key state and the message enable words.
#include "toolkit/win/message_codes.h"

namespace {

// Virtual-key codes of the keys that get toolkit codes (the values of the Win32 VK_ constants; kept
// here so that this table is portable and testable without the platform headers).
constexpr int VK_TAB_ = 0x09, VK_CLEAR_ = 0x0C, VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_END_ = 0x23,
              VK_HOME_ = 0x24, VK_LEFT_ = 0x25, VK_UP_ = 0x26, VK_RIGHT_ = 0x27, VK_DOWN_ = 0x28,
              VK_SELECT_ = 0x29, VK_SNAPSHOT_ = 0x2C, VK_INSERT_ = 0x2D, VK_DELETE_ = 0x2E,
              VK_NUMPAD0_ = 0x60, VK_NUMPAD9_ = 0x69, VK_MULTIPLY_ = 0x6A, VK_ADD_ = 0x6B,
              VK_SEPARATOR_ = 0x6C, VK_SUBTRACT_ = 0x6D, VK_DECIMAL_ = 0x6E, VK_DIVIDE_ = 0x6F, VK_F1_ = 0x70,
              VK_F20_ = 0x83;

// Start-up state of the enable words of types 1..16.
constexpr int ENABLE_DEFAULT[17] = {0, 1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0};

int enable_words[17] = {0, 1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0};

}  // namespace

int WMsgKeyCode(int vk, int offset)
{
    // Cursor keys: up, down, right, left plain 258..261, Shift 262..265, Ctrl 266..269.
    int cursor = -1;
    switch (vk) {
    case VK_UP_: cursor = 0; break;
    case VK_DOWN_: cursor = 1; break;
    case VK_RIGHT_: cursor = 2; break;
    case VK_LEFT_: cursor = 3; break;
    default: break;
    }
    if (cursor >= 0)
        return 258 + cursor + (offset == KEY_OFFSET_SHIFT ? 4 : offset == KEY_OFFSET_CTRL ? 8 : 0);
    if (vk >= VK_F1_ && vk <= VK_F20_)
        return 301 + (vk - VK_F1_) + offset;
    if (vk >= VK_NUMPAD0_ && vk <= VK_NUMPAD9_)
        return 280 + (vk - VK_NUMPAD0_);
    switch (vk) {
    case VK_PRIOR_: return 262;
    case VK_NEXT_: return 263;
    case VK_HOME_: return 270;
    case VK_END_:
    case VK_SELECT_: return 271;
    case VK_INSERT_: return 272;
    case VK_DELETE_: return 273;
    case VK_TAB_: return offset == KEY_OFFSET_SHIFT ? 274 : 9;
    case VK_SNAPSHOT_: return 300;
    case VK_SUBTRACT_: return 290;
    case VK_DECIMAL_: return 291;
    case VK_ADD_:
    case VK_SEPARATOR_: return 292;
    case VK_DIVIDE_: return 293;
    case VK_MULTIPLY_: return 294;
    case VK_CLEAR_: return 285;  // keypad 5 without Num Lock
    default: return vk;
    }
}

int WMsgMouseState(int flags)
{
    int state = 0;
    if (flags & 0x0008)
        state += 1;  // MK_CONTROL
    if (flags & 0x0010)
        state += 2;  // MK_MBUTTON
    if (flags & 0x0001)
        state += 4;  // MK_LBUTTON
    if (flags & 0x0004)
        state += 8;  // MK_SHIFT
    if (flags & 0x0002)
        state += 16;  // MK_RBUTTON
    return state;
}

void WMsgEnableSet(int type, int on)
{
    if (type >= 1 && type <= 16)
        enable_words[type] = on;
}

int WMsgEnableGet(int type)
{
    return type >= 1 && type <= 16 ? enable_words[type] : 0;
}

void WMessageEnable(int type, int on)
{
    WMsgEnableSet(type, on);
}

void WMsgEnableReset()
{
    for (int t = 1; t <= 16; ++t)
        enable_words[t] = ENABLE_DEFAULT[t];
}
