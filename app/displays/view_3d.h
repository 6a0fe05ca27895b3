// The OpenGL view of the body surfaces in its three uses (DISPLAY.VIEW_MODE_3D): 1 the view after the
// surface data of a new run are read, 2 the live surface property picture, 3 the surface display window.
//
// The picture is compiled into display list 1 and replayed under a model-view matrix that keys and mouse
// drags change. The content of the list (primitives, colours, vertices, in order) is built here in
// portable code into VIEW_LIST; view_3d_gl.h replays it with OpenGL.
#ifndef QR4T_APP_DISPLAYS_VIEW_3D_H
#define QR4T_APP_DISPLAYS_VIEW_3D_H

#include "toolkit/win/entry.h"

#include <array>
#include <cstdint>
#include <vector>

enum class ViewPrimitiveKind {
    LINES,
    LINE_STRIP,
    TRIANGLES
};

struct ViewVertex {
    float x, y, z;                    // the point minus the centre M of the list
    std::array<std::uint8_t, 3> rgb;  // the colour in force (0..255 per component)
};

struct ViewPrimitive {
    ViewPrimitiveKind kind;
    std::vector<ViewVertex> vertices;
    bool grey_back_emission = false;  // the view after data input: back faces emit grey
};

// The content of display list 1 after the fixed turns of 110 degrees about x and 15 about z.
struct ViewList {
    std::vector<ViewPrimitive> primitives;
};
extern ViewList VIEW_LIST;

// View transform and interaction state.
struct View3DState {
    double VIEW_ROT_Z = 0.0;  // turn about the model's z axis, degrees
    double VIEW_ROT_X = 0.0;  // tilt about the screen's horizontal axis, degrees
    double VIEW_SHIFT_X = 0.0, VIEW_SHIFT_Y = 0.0;
    double VIEW_SHIFT_Z = 0.0;  // along the line of sight, negative away from the eye
    double VIEW_SCALE_X = 0.2, VIEW_SCALE_Y = 0.2, VIEW_SCALE_Z = 0.2;
    int VIEW_LIST_ON = -1;  // list 1 is replayed while the lowest bit is set
    // What the arrow keys, a left drag and a right drag do: 1 rotate, 2 translate, 3 nearer/farther,
    // 4, 5, 6 scale x, y, z.
    int VIEW_KEY_MODE = 2;
    int VIEW_LEFT_MODE = 1;
    int VIEW_RIGHT_MODE = 3;
    int VIEW_LEFT_DOWN = 0;  // -1 while the button is held
    int VIEW_RIGHT_DOWN = 0;
    double LEFT_ANCHOR_X = 0.0, LEFT_ANCHOR_Y = 0.0;  // last pixel position of each button
    double RIGHT_ANCHOR_X = 0.0, RIGHT_ANCHOR_Y = 0.0;
    int MOVE_X = 0, MOVE_Y = 0;  // pixel position of the latest mouse move
    int MOVE_MODE = 0;           // mode used by the latest move
    int WINDOW = -1;             // the view's child window
    WinMessage MESSAGE;          // message record of its event loop
};
extern View3DState VIEW_3D;

// Toolkit key codes of the plain cursor keys.
constexpr int KEY_UP = 258, KEY_DOWN = 259, KEY_RIGHT = 260, KEY_LEFT = 261;

// (azimuth, polar angle, radius) of (x, y, z), angles in radians; azimuth 0 on the z axis, polar angle 0
// at the origin.
std::array<double, 3> CARTESIAN_TO_SPHERICAL(const std::array<double, 3>& p);

// The view transform from the eye point (-20, -40, 5), scales 0.2; redraws in modes 1 and 3.
void RESET_VIEW_3D();
// The model-view matrix from the view transform; in mode 2 the surface toolbar's view steps are added
// to the transform first.
void SET_VIEW_TRANSFORM_3D();
// Transform, clear, list 1 (when VIEW_LIST_ON allows), and a buffer swap except in mode 2.
void REDRAW_VIEW_3D();
// Compiles list 1 for mode 1 or 3 into the window made the OpenGL target just before, and redraws.
void BUILD_VIEW_LIST_3D();
// Compiles and draws the surface property picture (mode 2) into the current OpenGL target.
void BUILD_PROPERTY_LIST_3D();
// Event handlers of the view; x, y in 0..9999 window units.
void VIEW_3D_KEY(int key);
void VIEW_3D_MOUSE_BUTTON(int type, int button, int x, int y);
void VIEW_3D_MOUSE_MOVE(int x, int y);
// Waits for the next message of a view's window into m; a key, mouse button or mouse move goes to its
// handler above. Returns the message's type.
int view_3d_wait(WinMessage& m);
// Interaction modes and the list switch by command id (40007 reset, 40011 list on/off, 40101..40106
// left drag, 40201..40206 right drag, 40301..40306 keys).
void VIEW_3D_MENU(int item);

// The list content of mode 1 or 3 (what BUILD_VIEW_LIST_3D compiles) and of mode 2.
ViewList view_list_content(int mode);

#endif
