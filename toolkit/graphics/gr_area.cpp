// Graphics area, user units, transforms, the device clip and the surface set-up.
#include "toolkit/graphics/gr_area.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/graphics_text.h"

#include <cmath>

int gr_trunc(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return 2147483647;
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(v);
}

void gr_area(float x1, float y1, float x2, float y2)
{
    auto valid = [](float a, float b) { return a >= 0.0f && a < 1.0f && b > 0.0f && b <= 1.0f && a < b; };
    if (!valid(x1, x2)) {
        x1 = 0.0f;
        x2 = 1.0f;
        IErrorReport(GR_ERR_AREA);
    }
    if (!valid(y1, y2)) {
        y1 = 0.0f;
        y2 = 1.0f;
        IErrorReport(GR_ERR_AREA);
    }
    auto& A = GrArea;
    A.x1 = x1;
    A.y1 = y1;
    A.x2 = x2;
    A.y2 = y2;
    A.width = x2 - x1;
    A.height = y2 - y1;
    const float ex = GrSurface.extent_x;
    const float ey = GrSurface.extent_y;
    IGrClipArea(x1 * ex, y1 * ey, x2 * ex, y2 * ey);
    auto& U = GrUnits;
    const auto& D = GrDeviceArea;
    U.sx = U.x_range > 0.0f ? D.width / U.x_range : D.width;
    U.sy = U.y_range > 0.0f ? D.height / U.y_range : D.height;
    if (GrTarget.reselect == 0) {
        IHcSendOp(GrOpClip);
        A.text_width = A.width;
        A.text_height = A.height;
        GrDeviceArea.text_width = D.width;
        GrDeviceArea.text_height = D.height;
        IGrTextAngle(GrTextState.angle);
        IGrFontSelect();
    }
}

void gr_units(float x1, float y1, float x2, float y2)
{
    if (!(x1 < x2)) {
        x1 = 0.0f;
        x2 = 1.0f;
        IErrorReport(GR_ERR_UNITS);
    }
    if (!(y1 < y2)) {
        y1 = 0.0f;
        y2 = 1.0f;
        IErrorReport(GR_ERR_UNITS);
    }
    auto& U = GrUnits;
    U.x1 = x1;
    U.y1 = y1;
    U.x2 = x2;
    U.y2 = y2;
    U.x_range = x2 - x1;
    U.y_range = y2 - y1;
    U.aspect_x_range = U.x_range;
    U.aspect_y_range = U.y_range;
    U.sx = GrDeviceArea.width / U.x_range;
    U.sy = GrDeviceArea.height / U.y_range;
}

// An empty box (a surface smaller than the requested area) keeps its clamped bounds: the pixel width
// or height is then 0 or negative and the point tests accept nothing.
void IGrClipArea(float x1, float y1, float x2, float y2)
{
    const auto& S = GrSurface;
    if (x1 < 0.0f)
        x1 = 0.0f;
    if (y1 < 0.0f)
        y1 = 0.0f;
    if (x2 > S.extent_x)
        x2 = S.extent_x;
    if (y2 > S.extent_y)
        y2 = S.extent_y;
    auto& D = GrDeviceArea;
    D.wx1 = x1 - 0.001f;
    D.wy1 = y1 - 0.001f;
    D.wx2 = x2 + 0.001f;
    D.wy2 = y2 + 0.001f;
    D.ix1 = gr_trunc(x1);
    D.iy1 = gr_trunc(y1);
    D.ix2 = gr_trunc(x2);
    D.iy2 = gr_trunc(y2);
    D.pixel_width = D.ix2 - D.ix1 + 1;
    D.pixel_height = D.iy2 - D.iy1 + 1;
    D.x1 = x1;
    D.y1 = y1;
    D.x2 = x2;
    D.y2 = y2;
    D.width = x2 - x1;
    D.height = y2 - y1;
    IGrScreenDriver(GrOpClip);
}

void IGrSurfaceSetup(int kind, int number, int width, int height)
{
    if (kind != GrTarget.kind || number != GrTarget.number)
        return;
    auto& S = GrSurface;
    S.width = width;
    S.height = height;
    S.max_column = width - 1;
    S.max_row = height - 1;
    S.extent_x = static_cast<float>(width - 0.01);
    S.extent_y = static_cast<float>(height - 0.01);
    S.aspect = height == 0 ? 1.0f : static_cast<float>(double(width) / height);
    S.far_x = width;
    S.far_y = height;
    GrPrimitiveBlock.NVAL = -1;
    IHcSendOp(GrOpOpen);
    GrPrimitiveBlock.NVAL = 0;
    gr_area(GrArea.x1, GrArea.y1, GrArea.x2, GrArea.y2);
}

void gr_area_clear()
{
    const auto& D = GrDeviceArea;
    const auto& S = GrSurface;
    if (D.ix1 == 0 && D.iy1 == 0 && D.ix2 == S.width - 1 && D.iy2 == S.height - 1) {
        IGrScreenDriver(GrOpClear);
        return;
    }
    auto& B = GrPrimitiveBlock;
    auto& C = GrColourState;
    const int style = B.FILL(FILL_STYLE);
    const int mode = GrLineState.plot_mode;
    const GrColourStateRecord colours = C;
    B.FILL(FILL_STYLE) = 4;
    if (mode != 0) {
        GrLineState.plot_mode = 0;
        IGrScreenDriver(GrOpPlotMode);
    }
    const bool recolour = C.device[GR_CURRENT] != 0;
    if (recolour) {
        C.device[GR_PREVIOUS] = C.device[GR_CURRENT];
        C.number[GR_PREVIOUS] = C.number[GR_CURRENT];
        C.rgb[GR_PREVIOUS] = C.rgb[GR_CURRENT];
        C.device[GR_CURRENT] = 0;
        C.number[GR_CURRENT] = 0;
        C.rgb[GR_CURRENT] = GrColourTable.rgb[0];
        IGrScreenDriver(GrOpColour);
    }
    B.IX(1) = D.ix1;
    B.IY(1) = D.iy1;
    B.IX(2) = D.ix2;
    B.IY(2) = D.iy2;
    IGrScreenDriver(GrOpRectangleSolid);
    B.FILL(FILL_STYLE) = style;
    if (mode != 0) {
        GrLineState.plot_mode = mode;
        IGrScreenDriver(GrOpPlotMode);
    }
    if (recolour) {
        C = colours;
        IGrScreenDriver(GrOpColour);
    }
}

void IGrUserToDevice(float x, float y, float& dx, float& dy)
{
    const auto& U = GrUnits;
    dx = static_cast<float>((double(x) - U.x1) * U.sx + GrDeviceArea.x1);
    dy = static_cast<float>((double(y) - U.y1) * U.sy + GrDeviceArea.y1);
}

void IGrDeviceToUser(float dx, float dy, float& x, float& y)
{
    const auto& U = GrUnits;
    x = static_cast<float>((double(dx) - GrDeviceArea.x1) / U.sx + U.x1);
    y = static_cast<float>((double(dy) - GrDeviceArea.y1) / U.sy + U.y1);
}

int IGrPointInClip(float x, float y)
{
    const auto& D = GrDeviceArea;
    return (x >= D.wx1 && x <= D.wx2 && y >= D.wy1 && y <= D.wy2) ? 1 : 0;
}
