// Key codes, mouse-key state and message enable words.
#include "toolkit/win/message_codes.h"

#include <gtest/gtest.h>

TEST(KeyCodes, TableOfKeys)
{
    struct Case {
        int vk, offset, code;
    } cases[] = {
        {0x26, KEY_OFFSET_NONE, 258}, {0x28, KEY_OFFSET_NONE, 259},  {0x27, KEY_OFFSET_NONE, 260},
        {0x25, KEY_OFFSET_NONE, 261}, {0x26, KEY_OFFSET_SHIFT, 262}, {0x25, KEY_OFFSET_SHIFT, 265},
        {0x27, KEY_OFFSET_CTRL, 268}, {0x21, KEY_OFFSET_NONE, 262},  {0x22, KEY_OFFSET_NONE, 263},
        {0x24, KEY_OFFSET_NONE, 270}, {0x23, KEY_OFFSET_NONE, 271},  {0x29, KEY_OFFSET_NONE, 271},
        {0x2D, KEY_OFFSET_NONE, 272}, {0x2E, KEY_OFFSET_NONE, 273},  {0x09, KEY_OFFSET_SHIFT, 274},
        {0x09, KEY_OFFSET_NONE, 9},   {0x2C, KEY_OFFSET_NONE, 300},  {0x67, KEY_OFFSET_NONE, 287},
        {0x60, KEY_OFFSET_NONE, 280}, {0x6D, KEY_OFFSET_NONE, 290},  {0x6E, KEY_OFFSET_NONE, 291},
        {0x6B, KEY_OFFSET_NONE, 292}, {0x6C, KEY_OFFSET_NONE, 292},  {0x6F, KEY_OFFSET_NONE, 293},
        {0x6A, KEY_OFFSET_NONE, 294}, {0x0C, KEY_OFFSET_NONE, 285},  {0x70, KEY_OFFSET_NONE, 301},
        {0x83, KEY_OFFSET_NONE, 320}, {0x71, KEY_OFFSET_SHIFT, 322}, {0x70, KEY_OFFSET_CTRL, 341},
        {0x83, KEY_OFFSET_CTRL, 360}, {0x41, KEY_OFFSET_NONE, 0x41},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WMsgKeyCode(c.vk, c.offset), c.code) << "vk " << c.vk << " offset " << c.offset;
}

TEST(MouseState, SumsTheKeys)
{
    EXPECT_EQ(WMsgMouseState(0x0001), 4);           // left
    EXPECT_EQ(WMsgMouseState(0x0002), 16);          // right
    EXPECT_EQ(WMsgMouseState(0x0010), 2);           // middle
    EXPECT_EQ(WMsgMouseState(0x0008 | 0x0004), 9);  // Ctrl + Shift
}

TEST(EnableWords, StartUpStateAndRange)
{
    WMsgEnableReset();
    for (int t : {1, 2, 3, 4, 7, 8, 9, 13, 14})
        EXPECT_EQ(WMsgEnableGet(t), 1) << t;
    for (int t : {5, 6, 10, 11, 12, 15, 16})
        EXPECT_EQ(WMsgEnableGet(t), 0) << t;
    WMessageEnable(6, 1);
    EXPECT_EQ(WMsgEnableGet(6), 1);
    WMsgEnableSet(17, 1);
    EXPECT_EQ(WMsgEnableGet(17), 0);
    EXPECT_EQ(WMsgEnableGet(0), 0);
    WMsgEnableReset();
}
