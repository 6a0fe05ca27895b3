// Lines and the current point.
#include "toolkit/graphics/gr_lines.h"

#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/line_clip.h"

void IGrLineDevice(float x1, float y1, float x2, float y2)
{
    auto& B = GrPrimitiveBlock;
    B.X(1) = x1;
    B.Y(1) = y1;
    B.X(2) = x2;
    B.Y(2) = y2;
    int visible = 0;
    IGrClipLine(B.X(1), B.Y(1), B.X(2), B.Y(2), visible);
    if (!visible)
        return;
    if (GrOutputSwitch.screen != 0) {
        B.IX(1) = gr_trunc(B.X(1));
        B.IY(1) = gr_trunc(B.Y(1));
        B.IX(2) = gr_trunc(B.X(2));
        B.IY(2) = gr_trunc(B.Y(2));
        IGrScreenDriver(GrOpLine);
    }
    IHcSendOp(GrOpLine);
}

void IGrLineUser(float x1, float y1, float x2, float y2)
{
    float dx1 = 0.0f, dy1 = 0.0f, dx2 = 0.0f, dy2 = 0.0f;
    IGrUserToDevice(x1, y1, dx1, dy1);
    IGrUserToDevice(x2, y2, dx2, dy2);
    IGrLineDevice(dx1, dy1, dx2, dy2);
}

void gr_move_to(float x, float y)
{
    GrCurrentPoint.x = x;
    GrCurrentPoint.y = y;
}

void IGrMoveToRel(float dx, float dy)
{
    gr_move_to(GrCurrentPoint.x + dx, GrCurrentPoint.y + dy);
}

void gr_line_to(float x, float y)
{
    IGrLineUser(GrCurrentPoint.x, GrCurrentPoint.y, x, y);
    gr_move_to(x, y);
}

void IGrLineToRel(float dx, float dy)
{
    gr_line_to(GrCurrentPoint.x + dx, GrCurrentPoint.y + dy);
}

void gr_line(float x1, float y1, float x2, float y2)
{
    IGrLineUser(x1, y1, x2, y2);
    gr_move_to(x2, y2);
}

void IGrLineRel(float x, float y, float dx, float dy)
{
    gr_line(x, y, x + dx, y + dy);
}
