// The OpenGL view of the body surfaces: the view transform and its handlers, the content of display
// list 1 in its three modes, and the view after data input.
#include "app/displays/view_3d.h"

#include "app/displays/colour_scale.h"
#include "app/displays/displays.h"
#include "app/displays/surface_values.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d_gl.h"
#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/surface.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/menus.h"
#include "toolkit/win/message_codes.h"

#include <cmath>
#include <string>

ViewList VIEW_LIST;
View3DState VIEW_3D;

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double DEGREES = 180.0 / PI;
constexpr std::array<double, 3> EYE = {-20.0, -40.0, 5.0};
constexpr std::array<std::uint8_t, 3> BLACK = {0, 0, 0};
constexpr const char* VIEW_TITLE =
    "POSITION:- Arrow Keys   SIZE:- Right Mouse Button  ORIENTATION:- Left Mouse Button  ";

int mode()
{
    return DISPLAY.VIEW_MODE_3D;
}

bool symmetry_at_min_z()
{
    return BOX.BOUNDARY_CODE.size() >= 5 && BOX.BOUNDARY_CODE(5) == BOUNDARY_PLANE;
}

// Builds one list: vertices are sent relative to the centre M.
struct ListBuilder {
    ViewList list;
    double mx = 0, my = 0, mz = 0;
    std::array<std::uint8_t, 3> colour = BLACK;

    ViewPrimitive& begin(ViewPrimitiveKind kind)
    {
        list.primitives.push_back({kind, {}, false});
        return list.primitives.back();
    }
    void vertex(double x, double y, double z)
    {
        list.primitives.back().vertices.push_back(
            {static_cast<float>(x - mx), static_cast<float>(y - my), static_cast<float>(z - mz), colour});
    }
    // A corner of triangle t, z mirrored in the plane z = M's z when asked.
    void corner(int t, int c, bool mirror)
    {
        const SurfaceState& S = SURFACE;
        const int p = S.TRIANGLE(c, t);
        const float z = S.POINT_Z(p);
        list.primitives.back().vertices.push_back({static_cast<float>(S.POINT_X(p) - mx),
                                                   static_cast<float>(S.POINT_Y(p) - my),
                                                   static_cast<float>(mirror ? -(z - mz) : z - mz), colour});
    }
    void triangle(int t, bool mirror)
    {
        if (mirror) {
            corner(t, 1, true);
            corner(t, 3, true);
            corner(t, 2, true);
        } else {
            corner(t, 1, false);
            corner(t, 2, false);
            corner(t, 3, false);
        }
    }
};

void add_axes(ListBuilder& b, double L)
{
    const BoxState& B = BOX;
    b.colour = BLACK;
    b.begin(ViewPrimitiveKind::LINES);
    auto segment = [&](double x1, double y1, double z1, double x2, double y2, double z2) {
        b.vertex(x1, y1, z1);
        b.vertex(x2, y2, z2);
    };
    segment(0, 0, 0, B.XMAX + L, 0, 0);
    segment(0, 0, 0, 0, B.YMAX + L, 0);
    segment(0, 0, 0, 0, 0, B.ZMAX + L);
    const double x = B.XMAX + 3 * L, y = B.YMAX + 3 * L, z = B.ZMAX + 3 * L;
    segment(x, -L, L, x, L, -L);  // X in (y, z)
    segment(x, -L, -L, x, L, L);
    segment(-L, y, -L, 0, y, 0);  // Y in (x, z)
    segment(-L, y, L, L, y, -L);
    segment(-L, L, z, L, L, z);  // Z in (x, y)
    segment(L, L, z, -L, -L, z);
    segment(-L, -L, z, L, -L, z);
}

void add_box(ListBuilder& b)
{
    const BoxState& B = BOX;
    b.colour = BLACK;
    b.begin(ViewPrimitiveKind::LINES);
    const double xs[2] = {B.XMIN, B.XMAX}, ys[2] = {B.YMIN, B.YMAX}, zs[2] = {B.ZMIN, B.ZMAX};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            b.vertex(xs[0], ys[i], zs[j]);
            b.vertex(xs[1], ys[i], zs[j]);
            b.vertex(xs[i], ys[0], zs[j]);
            b.vertex(xs[i], ys[1], zs[j]);
            b.vertex(xs[i], ys[j], zs[0]);
            b.vertex(xs[i], ys[j], zs[1]);
        }
}

std::array<std::uint8_t, 3> surface_colour(int n)
{
    static constexpr std::array<std::uint8_t, 3> colours[] = {
        {255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 0, 255}};
    return colours[n < 5 ? n - 1 : 4];
}

void add_triangles(ListBuilder& b, int m)
{
    const SurfaceState& S = SURFACE;
    const SurfaceWindowState& w = S3D;
    const bool mirror = symmetry_at_min_z() && (m == 2 || (m == 3 && w.S3D_NO_REFLECTION == 0));
    const ColourRamp& ramp = m == 2 ? PICTURE_RAMP : VIEW_RAMP;
    ViewPrimitive& triangles = b.begin(ViewPrimitiveKind::TRIANGLES);
    triangles.grey_back_emission = m == 1;
    for (int n = 1; n <= S.SURFACE_COUNT; ++n) {
        if (m == 1)
            b.colour = surface_colour(n);
        for (int j = 1; j <= S.SURFACE_TRIANGLE_COUNT(n); ++j) {
            const int t = S.SURFACE_FIRST_TRIANGLE(n) + j;
            if (m == 1) {
                b.triangle(t, false);
                continue;
            }
            const int k = S.TRIANGLE(TRIANGLE_KIND, t);
            if (k < 1) {
                if (m == 3 && w.S3D_SHOW_ENTRY == 1) {
                    b.colour = ramp.entry(256);
                    b.triangle(t, false);
                }
                continue;
            }
            const bool selected = m == 3 && w.S3D_SELECTED_SURFACE == n && w.S3D_SELECTED_TRIANGLE == j;
            b.colour = ramp.entry(selected ? 0 : S.SOLID_TRIANGLE(2, k));
            b.triangle(t, false);
            if (mirror)
                b.triangle(t, true);
        }
    }
}

void add_streamlines(ListBuilder& b)
{
    const SurfaceWindowState& w = S3D;
    b.colour = BLACK;
    for (int s = 1; s <= w.STREAMLINE_COUNT; ++s) {
        const Array<float, 2>* halves[2][3] = {{&w.STREAM_DOWN_X, &w.STREAM_DOWN_Y, &w.STREAM_DOWN_Z},
                                               {&w.STREAM_UP_X, &w.STREAM_UP_Y, &w.STREAM_UP_Z}};
        for (int h = 0; h < 2; ++h) {
            b.begin(ViewPrimitiveKind::LINE_STRIP);
            for (int i = 1; i <= w.STREAM_POINT_COUNT(h + 1, s); ++i)
                b.vertex((*halves[h][0])(s, i), (*halves[h][1])(s, i), (*halves[h][2])(s, i));
        }
    }
}

void add_shear_vectors(ListBuilder& b)
{
    const SurfaceState& S = SURFACE;
    const Array<float, 2>& VARS = RESULTS.VARS;
    b.colour = BLACK;
    b.begin(ViewPrimitiveKind::LINES);
    const float lift = 0.2f * DIVISIONS.ELEMENT_DIAGONAL;
    for (int k = 1; k <= S.SOLID_TRIANGLE_COUNT; ++k) {
        if (!(VARS(VARS_SAMPLE_SIZE, k) > 5.0f))
            continue;
        const int t = S.SOLID_TRIANGLE(1, k);
        float g[3] = {0, 0, 0};
        for (int c = 1; c <= 3; ++c) {
            const int p = S.TRIANGLE(c, t);
            g[0] += S.POINT_X(p);
            g[1] += S.POINT_Y(p);
            g[2] += S.POINT_Z(p);
        }
        const float nx = S.TRIANGLE_GEOMETRY(1, t), ny = S.TRIANGLE_GEOMETRY(2, t),
                    nz = S.TRIANGLE_GEOMETRY(3, t);
        const float P[3] = {g[0] * 0.33333f + lift * nx, g[1] * 0.33333f + lift * ny,
                            g[2] * 0.33333f + lift * nz};
        const float t1 = VARS(VARS_SHEAR_1, k), t2 = VARS(VARS_SHEAR_2, k);
        const float h = std::sqrt(ny * ny + nz * nz);
        float v[3];
        if (h > 1e-6f) {
            v[0] = -h * t2;
            v[1] = (nz * t1 + nx * ny * t2) / h;
            v[2] = (nx * nz * t2 - ny * t1) / h;
        } else {
            v[0] = 0.0f;
            v[1] = t1;
            v[2] = t2;
        }
        const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (!(length > 0.0f) || !std::isfinite(length))
            continue;  // no stress, no direction
        const float size = std::sqrt(S.TRIANGLE_GEOMETRY(5, t)) / length;
        b.vertex(P[0], P[1], P[2]);
        b.vertex(P[0] + size * v[0], P[1] + size * v[1], P[2] + size * v[2]);
    }
}

}  // namespace

ViewList view_list_content(int m)
{
    const BoxState& B = BOX;
    ListBuilder b;
    b.mx = (static_cast<double>(B.XMIN) + B.XMAX) / 2;
    b.my = (static_cast<double>(B.YMIN) + B.YMAX) / 2;
    b.mz = (m != 1 && symmetry_at_min_z()) ? static_cast<double>(B.ZMIN)
                                           : (static_cast<double>(B.ZMIN) + B.ZMAX) / 2;
    const double L =
        ((B.XMAX - B.XMIN) + (B.YMAX - B.YMIN) + static_cast<double>(B.ZMAX - B.ZMIN)) / 3.0 / 20.0;
    const SurfaceWindowState& w = S3D;
    if (m == 1 || (m == 3 && w.S3D_SHOW_AXES == 1))
        add_axes(b, L);
    if (m == 1 || (m == 3 && w.S3D_SHOW_BOX == 1))
        add_box(b);
    add_triangles(b, m);
    if (m == 3 && w.STREAMLINE_COUNT > 0)
        add_streamlines(b);
    if (m == 3 && w.S3D_PROPERTY == window_row(WINDOW_SHEAR_VECTORS))
        add_shear_vectors(b);
    return std::move(b.list);
}

std::array<double, 3> CARTESIAN_TO_SPHERICAL(const std::array<double, 3>& p)
{
    const double radius = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    const double azimuth = (p[0] == 0.0 && p[1] == 0.0) ? 0.0 : std::atan2(p[1], p[0]);
    const double polar = radius == 0.0 ? 0.0 : std::acos(p[2] / radius);
    return {azimuth, polar, radius};
}

void RESET_VIEW_3D()
{
    View3DState& v = VIEW_3D;
    const std::array<double, 3> s = CARTESIAN_TO_SPHERICAL(EYE);
    v.VIEW_ROT_Z = -90.0 - s[0] * DEGREES;
    v.VIEW_ROT_X = -s[1] * DEGREES;
    v.VIEW_SHIFT_X = v.VIEW_SHIFT_Y = 0.0;
    v.VIEW_SHIFT_Z = -s[2];
    v.VIEW_SCALE_X = v.VIEW_SCALE_Y = v.VIEW_SCALE_Z = 0.2;
    if (mode() == 1 || mode() == 3)
        REDRAW_VIEW_3D();
}

void SET_VIEW_TRANSFORM_3D()
{
    View3DState& v = VIEW_3D;
    if (mode() == 2) {
        const DisplaySettings& d = DISPLAY;
        const double zoom = d.SURF_VIEW_ZOOM.current * 0.04 + 1.2;
        v.VIEW_SCALE_X *= zoom;
        v.VIEW_SCALE_Y *= zoom;
        v.VIEW_SCALE_Z *= zoom;
        v.VIEW_ROT_Z += 3.0 * d.SURF_VIEW_AZIMUTH.current;
        v.VIEW_ROT_X -= 3.0 * d.SURF_VIEW_ELEVATION.current;
        v.VIEW_SHIFT_X += 0.2 * d.SURF_VIEW_SHIFT_H.current;
        v.VIEW_SHIFT_Y += 0.2 * d.SURF_VIEW_SHIFT_V.current;
    }
    gl_view_model_view(v);
}

void REDRAW_VIEW_3D()
{
    SET_VIEW_TRANSFORM_3D();
    gl_view_draw((VIEW_3D.VIEW_LIST_ON & 1) != 0);
    if (mode() != 2)
        WGlSwapBuffers();
}

void BUILD_VIEW_LIST_3D()
{
    if (mode() == 3)
        FILL_COLOUR_RAMP(VIEW_RAMP);
    gl_view_projection(400.0, true);
    RESET_VIEW_3D();
    VIEW_LIST = view_list_content(mode());
    gl_view_compile(VIEW_LIST);
    gl_view_enable_culling();
    REDRAW_VIEW_3D();
}

void BUILD_PROPERTY_LIST_3D()
{
    FILL_COLOUR_RAMP(PICTURE_RAMP);
    gl_view_projection(100.0, false);
    RESET_VIEW_3D();
    VIEW_LIST = view_list_content(2);
    gl_view_compile(VIEW_LIST);
    gl_view_enable_culling();
    SET_VIEW_TRANSFORM_3D();
    // The list switch belongs to the view windows' menu; the live picture always shows its list.
    gl_view_draw(true);
}

void VIEW_3D_KEY(int key)
{
    View3DState& v = VIEW_3D;
    const bool up = key == KEY_UP, down = key == KEY_DOWN, right = key == KEY_RIGHT, left = key == KEY_LEFT;
    constexpr double SHRINK = 0.9803922;
    switch (v.VIEW_KEY_MODE) {
    case 1:
        v.VIEW_ROT_X += up ? -1.0 : down ? 1.0 : 0.0;
        v.VIEW_ROT_Z += right ? 1.0 : left ? -1.0 : 0.0;
        break;
    case 2:
        v.VIEW_SHIFT_Y += up ? 0.02 : down ? -0.02 : 0.0;
        v.VIEW_SHIFT_X += right ? 0.02 : left ? -0.02 : 0.0;
        break;
    case 3: v.VIEW_SHIFT_Z *= up ? SHRINK : down ? 1.02 : 1.0; break;
    case 4: v.VIEW_SCALE_X *= up ? 1.02 : down ? SHRINK : 1.0; break;
    case 5: v.VIEW_SCALE_Y *= up ? 1.02 : down ? SHRINK : 1.0; break;
    case 6: v.VIEW_SCALE_Z *= up ? 1.02 : down ? SHRINK : 1.0; break;
    default: break;
    }
    REDRAW_VIEW_3D();
}

void VIEW_3D_MOUSE_BUTTON(int type, int button, int x, int y)
{
    View3DState& v = VIEW_3D;
    int px = 0, py = 0;
    WGrUnitsToPixels(x, y, px, py);
    if (type == MsgMouseDown) {
        if (button == 1) {
            v.VIEW_LEFT_DOWN = -1;
            v.LEFT_ANCHOR_X = px;
            v.LEFT_ANCHOR_Y = py;
        } else if (button == 3) {
            v.VIEW_RIGHT_DOWN = -1;
            v.RIGHT_ANCHOR_X = px;
            v.RIGHT_ANCHOR_Y = py;
        }
        WMessageEnable(MsgMouseMove, 1);
    } else if (type == MsgMouseUp) {
        if (button == 1)
            v.VIEW_LEFT_DOWN = 0;
        else if (button == 3)
            v.VIEW_RIGHT_DOWN = 0;
        // Moves stop with either button, even while the other is held.
        WMessageEnable(MsgMouseMove, 0);
    }
}

void VIEW_3D_MOUSE_MOVE(int x, int y)
{
    View3DState& v = VIEW_3D;
    int px = 0, py = 0;
    WGrUnitsToPixels(x, y, px, py);
    v.MOVE_X = px;
    v.MOVE_Y = py;
    double *ax = nullptr, *ay = nullptr;
    int drag_mode = 0;
    if (v.VIEW_LEFT_DOWN != 0) {
        ax = &v.LEFT_ANCHOR_X;
        ay = &v.LEFT_ANCHOR_Y;
        drag_mode = v.VIEW_LEFT_MODE;
    } else if (v.VIEW_RIGHT_DOWN != 0) {
        ax = &v.RIGHT_ANCHOR_X;
        ay = &v.RIGHT_ANCHOR_Y;
        drag_mode = v.VIEW_RIGHT_MODE;
    } else {
        return;
    }
    const double dx = px - *ax, dy = py - *ay;
    auto nearer = [dy](double& value, bool scale) {
        const double f = 1.0 + 0.002 * std::fabs(dy);
        if (dy > 0)
            value = scale ? value / f : value * f;
        else if (dy < 0)
            value = scale ? value * f : value / f;
    };
    switch (drag_mode) {
    case 1:
        v.VIEW_ROT_Z += dx;
        v.VIEW_ROT_X += dy;
        break;
    case 2:
        v.VIEW_SHIFT_X += 0.01 * dx;
        v.VIEW_SHIFT_Y -= 0.01 * dy;
        break;
    case 3: nearer(v.VIEW_SHIFT_Z, false); break;
    case 4: nearer(v.VIEW_SCALE_X, true); break;
    case 5: nearer(v.VIEW_SCALE_Y, true); break;
    case 6: nearer(v.VIEW_SCALE_Z, true); break;
    default: break;
    }
    *ax = px;
    *ay = py;
    v.MOVE_MODE = drag_mode;
    REDRAW_VIEW_3D();
}

void VIEW_3D_MENU(int item)
{
    View3DState& v = VIEW_3D;
    if (item == 40007) {
        RESET_VIEW_3D();
        return;
    }
    if (item == 40011) {
        v.VIEW_LIST_ON = ~v.VIEW_LIST_ON;
        WMenuSetState(item, 2, v.VIEW_LIST_ON & 1);
        REDRAW_VIEW_3D();
        return;
    }
    const int group = item / 100 * 100;  // 40100, 40200 or 40300
    const int choice = item - group;
    if (choice < 1 || choice > 6)
        return;
    int* setting = group == 40100   ? &v.VIEW_LEFT_MODE
                   : group == 40200 ? &v.VIEW_RIGHT_MODE
                   : group == 40300 ? &v.VIEW_KEY_MODE
                                    : nullptr;
    if (!setting)
        return;
    *setting = choice;
    for (int i = 1; i <= 6; ++i)
        WMenuSetState(group + i, 2, 0);
    WMenuSetState(item, 2, 1);
}

int view_3d_wait(WinMessage& m)
{
    int type = MsgNone;
    WMsgWait(type, m);
    switch (type) {
    case MsgKey: VIEW_3D_KEY(m.value1); break;
    case MsgMouseDown:
    case MsgMouseUp: VIEW_3D_MOUSE_BUTTON(type, m.value1, m.x, m.y); break;
    case MsgMouseMove: VIEW_3D_MOUSE_MOVE(m.x, m.y); break;
    default: break;
    }
    return type;
}

void VIEW_SURFACES_3D()
{
    View3DState& v = VIEW_3D;
    IGrArea(0.0f, 0.1f, 1.0f, 1.0f);
    WGrTextColour(15, 9);
    WGrTextString(7000, 9946, "CLOSE WINDOW TO CONTINUE");
    WGrTextColour(5, 15);
    WGrTextString(1000, 9946, "The Surfaces are Transparent when Viewed from Behind.");
    DISPLAY.VIEW_MODE_3D = 1;
    WWinOpenChild(v.WINDOW, 0, WIN_UNSET, 0, 1018, 695, VIEW_TITLE);
    WGlSelectTarget(1, v.WINDOW, 2);
    BUILD_VIEW_LIST_3D();
    WMessageEnable(MsgMouseUp, 1);
    for (;;) {
        const WinMessage& m = v.MESSAGE;
        switch (view_3d_wait(v.MESSAGE)) {
        case MsgExpose: REDRAW_VIEW_3D(); break;
        case MsgResize:
            gl_view_resize(m.value1, m.value2, true);
            REDRAW_VIEW_3D();
            break;
        case MsgCloseRequest:
            WWinCloseChild(v.WINDOW);
            WGlSelectTarget(0);
            return;
        default: break;
        }
    }
}
