// What the graphics core needs of the platform: the drawing target and the display's colour class.
// The window layer answers from its window table by filling GR_PLATFORM_HOOKS when the toolkit starts
// (toolkit/win/lower_layer_hooks_win.cpp); until then, and always in the host build, which has no
// windows, the answers are for a true-colour display and the target record is only kept.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_PLATFORM_H
#define QR4T_TOOLKIT_GRAPHICS_GR_PLATFORM_H

struct GrPlatformHooks {
    // Selects the drawing target: kind 1 window (number < 0: the current window), 2 off-screen bitmap
    // (number < 0: bitmap 1), 3 picture field of the current dialog; the body of IGrSelectTarget.
    void (*select_target)(int kind, int number);
    // Makes the current window the drawing target (kind 1, its number) and sets up its surface.
    void (*select_current_window)();
    // The display's colour class (2, 8, 16, 32..128 with a reduced palette, or 256).
    int (*display_colour_class)();
};
extern GrPlatformHooks GR_PLATFORM_HOOKS;

#endif
