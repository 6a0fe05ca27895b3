// Portable pieces of the typed messages: key codes, mouse-key state and the enable words.
//
// The client window procedure turns system key and mouse events into toolkit values with these, so
// that the application sees one code per key whatever keyboard state produced it.
#ifndef QR4T_TOOLKIT_WIN_MESSAGE_CODES_H
#define QR4T_TOOLKIT_WIN_MESSAGE_CODES_H

// Modifier offsets of a virtual key raised without a character.
constexpr int KEY_OFFSET_NONE = 0;
constexpr int KEY_OFFSET_SHIFT = 20;
constexpr int KEY_OFFSET_CTRL = 40;

// Key code of a virtual key with its modifier offset (0, 20 Shift, 40 Ctrl): cursor keys 258..269,
// Home 270, End 271, Insert 272, Delete 273, Shift+Tab 274, keypad 280..294, Print Screen 300,
// F1..F20 301..360; any other key its virtual-key code.
int WMsgKeyCode(int virtual_key, int offset);

// Mouse-key state from the system's flags (MK_LBUTTON 1, MK_RBUTTON 2, MK_SHIFT 4, MK_CONTROL 8,
// MK_MBUTTON 16): 1 Ctrl, 2 middle, 4 left, 8 Shift, 16 right.
int WMsgMouseState(int system_flags);

// Enable words of the message types 1..16: a disabled type is dropped where it is raised.
void WMsgEnableSet(int type, int on);
int WMsgEnableGet(int type);
// The application's entry to WMsgEnableSet.
void WMessageEnable(int type, int on);
// All words back to their start-up state (types 5, 6, 10, 11, 12, 15 and 16 off, the rest on).
void WMsgEnableReset();

#endif
