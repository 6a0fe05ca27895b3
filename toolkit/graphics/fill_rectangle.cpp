// Fill settings, the rectangle with its line-based fill, the helpers shared by the filled shapes, and
// arrows.
#include "toolkit/graphics/fill_shapes.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/fill_passes.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_lines.h"
#include "toolkit/graphics/graphics_text.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <algorithm>
#include <cmath>

namespace {

// What IGrDrawStateSave keeps.
GrColourStateRecord saved_colours;
int saved_line_type = 0;
int saved_text_mode = 0;
float saved_area[4] = {0.0f, 0.0f, 1.0f, 1.0f};

// What IGrFillColourSwap keeps between its two calls.
GrColourStateRecord swap_colours;

int pass_flag_index(int pass)
{
    return pass == 1 ? FILL_SCREEN_PASS : FILL_HARD_PASS;
}

}  // namespace

// ---- the two-pass scheme

void gr_shape_open(int op)
{
    if (GrOutputSwitch.hardcopy == 0)
        return;
    GrPrimitiveBlock.NVAL = 1;
    IHcSendOp(op);
}

void gr_shape_close(int op)
{
    GrPrimitiveBlock.NVAL = -1;
    IHcSendOp(op);
}

void gr_fill_passes(const std::function<void(int pass)>& draw)
{
    auto& B = GrPrimitiveBlock;
    const GrOutputSwitchRecord outputs = GrOutputSwitch;
    const int style = B.FILL(FILL_STYLE);
    if (outputs.screen != 0 && (style < 3 || B.FILL(FILL_SCREEN_PASS) != 0)) {
        GrOutputSwitch.hardcopy = 0;
        draw(1);
        B.FILL(FILL_SCREEN_PASS) = 0;
        GrOutputSwitch = outputs;
    }
    if (outputs.hardcopy != 0 && (style < 3 || B.FILL(FILL_HARD_PASS) != 0)) {
        GrOutputSwitch.screen = 0;
        draw(2);
        B.FILL(FILL_HARD_PASS) = 0;
        GrOutputSwitch = outputs;
    }
    B.FILL(FILL_SCREEN_PASS) = 0;
    B.FILL(FILL_HARD_PASS) = 0;
    GrOutputSwitch = outputs;
}

void gr_scan_two_colour(int pass, float half_spacing, const std::function<void(float offset)>& scan)
{
    scan(0.0f);
    int state = 1;
    IGrFillColourSwap(pass, state);
    if (state == 2) {
        scan(half_spacing);
        IGrFillColourSwap(pass, state);
    }
}

double gr_skip_to(double start, double spacing, double lo)
{
    if (!(start < lo) || !(spacing > 0.0))
        return start;
    return start + std::ceil((lo - start) / spacing) * spacing;
}

double gr_floor_to(double v, int step)
{
    step = std::max(step, 1);
    return std::floor(v / step) * step;
}

// ---- shared helpers

void IGrFillOpChoose(int solid_op, int& op)
{
    if (GrPrimitiveBlock.FILL(FILL_STYLE) != 3 || !GrScreenOpFlags.draws(solid_op))
        return;
    const auto& C = GrColourState;
    bool equal = false;
    if (C.screen_class <= 2)
        equal = C.model == 1 ? C.number[GR_PREVIOUS] == C.number[GR_CURRENT]
                             : C.rgb[GR_PREVIOUS] == C.rgb[GR_CURRENT];
    else
        equal = C.device[GR_PREVIOUS] == C.device[GR_CURRENT];
    if (equal)
        op = solid_op;
}

void IGrRectangleOutline(float x1, float y1, float x2, float y2)
{
    const GrOutputSwitchRecord outputs = GrOutputSwitch;
    auto four_lines = [&](float s, float t) {
        IGrLineDevice(x1 + s, y1, x2, y1);
        IGrLineDevice(x2, y1 + t, x2, y2);
        IGrLineDevice(x2 - s, y2, x1, y2);
        IGrLineDevice(x1, y2 - t, x1, y1);
    };
    if (outputs.screen != 0) {
        GrOutputSwitch.hardcopy = 0;
        float s = 0.0f, t = 0.0f;
        if (GrLineState.plot_mode != 0) {
            s = x2 >= x1 ? 1.0f : -1.0f;
            t = y2 >= y1 ? 1.0f : -1.0f;
        }
        four_lines(s, t);
        GrOutputSwitch = outputs;
    }
    if (outputs.hardcopy != 0) {
        GrOutputSwitch.screen = 0;
        four_lines(0.0f, 0.0f);
        GrOutputSwitch = outputs;
    }
}

GrHatchSpacing IGrHatchSpacing(int pass, int density)
{
    const auto& B = GrPrimitiveBlock;
    const auto& S = GrSurface;
    const int style = B.FILL(FILL_STYLE);
    const int d = std::clamp(density, 1, 5);
    const int y_div = 10 * (1 << (d - 1)) + 20;  // 30, 40, 60, 100, 180
    const int x_div = 10 * (1 << d) + 10;        // 30, 50, 90, 170, 330
    GrHatchSpacing h;
    h.inset = (GrLineState.plot_mode != 0 && pass == 1) ? 1.0f : 0.0f;
    h.alternate = style < 3 && pass == 2;
    if (pass == 1) {
        if (style < 3) {
            h.y_step = std::max(S.height / y_div, 2);
            h.x_step = std::max(S.width / x_div, 2);
        } else {
            h.y_step = (B.FILL(FILL_SCREEN_PASS) == 2 && style == 3) ? 2 : 1;
            h.x_step = h.y_step;
        }
        h.y_spacing = static_cast<float>(h.y_step);
        h.x_spacing = static_cast<float>(h.x_step);
        return h;
    }
    if (style < 3) {
        h.y_spacing = static_cast<float>(double(S.extent_y) / y_div);
        h.x_spacing = static_cast<float>(double(S.extent_x) / x_div);
    } else {
        h.y_spacing = HcDeviceBlock.line_spacing;
        h.x_spacing = HcDeviceBlock.line_spacing;
    }
    // A device that states no usable line spacing (0, negative or NaN) would make every scan endless:
    // its lines are then one device unit apart.
    if (!(h.y_spacing > 0.0f))
        h.y_spacing = 1.0f;
    if (!(h.x_spacing > 0.0f))
        h.x_spacing = 1.0f;
    h.y_step = gr_trunc(std::max(h.y_spacing, 1.0f));
    h.x_step = gr_trunc(std::max(h.x_spacing, 1.0f));
    return h;
}

void IGrDrawStateSave(int mode)
{
    auto& C = GrColourState;
    switch (mode) {
    case 0:
        saved_colours = C;
        saved_line_type = GrLineState.line_type;
        saved_text_mode = GrTextState.text_mode;
        break;
    case 1:
        IGrColourApply(saved_colours.number[GR_PREVIOUS], saved_colours.rgb[GR_PREVIOUS],
                       saved_colours.device[GR_PREVIOUS], 0);
        IGrColourApply(saved_colours.number[GR_CURRENT], saved_colours.rgb[GR_CURRENT],
                       saved_colours.device[GR_CURRENT], 0);
        if (GrLineState.line_type != saved_line_type)
            IGrLineType(saved_line_type);
        GrTextState.text_mode = saved_text_mode;
        break;
    case 2:
    case 4:
        saved_area[0] = GrArea.x1;
        saved_area[1] = GrArea.y1;
        saved_area[2] = GrArea.x2;
        saved_area[3] = GrArea.y2;
        if (mode == 4) {
            const auto& D = GrDeviceArea;
            if (D.ix1 > 0 || D.iy1 > 0 || D.ix2 < GrSurface.max_column || D.iy2 < GrSurface.max_row)
                IGrClipArea(0.0f, 0.0f, GrSurface.extent_x, GrSurface.extent_y);
        }
        break;
    case 3:
        IGrClipArea(saved_area[0] * GrSurface.extent_x, saved_area[1] * GrSurface.extent_y,
                    saved_area[2] * GrSurface.extent_x, saved_area[3] * GrSurface.extent_y);
        break;
    default: break;
    }
}

void IGrFillColourSwap(int pass, int& state)
{
    const auto& B = GrPrimitiveBlock;
    if (B.FILL(FILL_STYLE) != 3 || B.FILL(pass_flag_index(pass)) != 2)
        return;
    // A device that takes the shape's rows as spans (span mode) draws both colours of the pattern
    // itself: its rows are sent once, in the current colour.
    if (pass == 2 && B.span_mode != 0)
        return;
    auto& C = GrColourState;
    const int colour_class = pass == 1 ? C.screen_class : C.hardcopy_class;
    if (state == 1) {
        if (colour_class == 1)
            return;
        swap_colours = C;
        if (colour_class == 2 && C.number[GR_CURRENT] != 0)
            IGrColourApply(0, 0, 0, pass);
        else
            IGrColourApply(C.number[GR_PREVIOUS], C.rgb[GR_PREVIOUS], C.device[GR_PREVIOUS], pass);
        state = 2;
    } else if (state == 2) {
        C.device = swap_colours.device;
        C.number = swap_colours.number;
        C.rgb = swap_colours.rgb;
        if (pass == 1)
            IGrScreenDriver(GrOpColour);
        else
            IHcSendOp(GrOpColour);
        state = 3;
    }
}

// ---- fill settings and rectangles

void gr_fill_pattern(int style, int density, int direction)
{
    auto& B = GrPrimitiveBlock;
    if (style < -2 || style > 4) {
        B.FILL(FILL_STYLE) = 0;
        B.FILL(FILL_OUTLINE) = 1;
    } else {
        B.FILL(FILL_STYLE) = std::abs(style);
        B.FILL(FILL_OUTLINE) = style >= 0 ? 1 : 0;
    }
    B.FILL(FILL_DENSITY) = (density < 1 || density > 5) ? 2 : density;
    B.FILL(FILL_ANGLE) = (direction < 1 || direction > 4) ? 3 : direction;
}

namespace {

// One pass of the rectangle's line fill between the device corners L and U.
void rectangle_pass(int pass, int mode, int direction, float lx, float ly, float ux, float uy)
{
    auto& B = GrPrimitiveBlock;
    const int style = B.FILL(FILL_STYLE);
    if (B.FILL(FILL_OUTLINE) == 1 && style < 3)
        IGrRectangleOutline(lx, ly, ux, uy);
    if (mode != 1 && mode != 2)
        return;
    const GrHatchSpacing h = IGrHatchSpacing(pass, B.FILL(FILL_DENSITY));
    const float f = h.inset;
    const int lcol = gr_trunc(lx), lrow = gr_trunc(ly);
    const double w = double(gr_trunc(ux)) - lcol;  // pixel width; in double, the columns may be far apart
    const bool diagonal = direction == 1 || direction == 2;
    if (diagonal) {
        // The clip becomes the rectangle (inside the area) shrunk by the inset.
        const auto& D = GrDeviceArea;
        IGrDrawStateSave(2);
        IGrClipArea(std::max(lx, D.x1) + f, std::max(ly, D.y1) + f, std::min(ux, D.x2) - f,
                    std::min(uy, D.y2) - f);
        // Only lines that can meet the clip are drawn: a line through (lx, y) with slope k meets it for
        // y between these bounds.
        const double k = ux > lx ? w / (double(ux) - lx) : 1.0;
        const double sp = h.y_spacing;
        if (direction == 1 || mode == 2) {
            const double lo = D.y1 - (double(D.x2) - lx) * k, hi = D.y2 - (double(D.x1) - lx) * k;
            const double q = gr_floor_to(double(lrow) - w, h.y_step);
            for (double y = gr_skip_to(q + sp, sp, lo - sp); y <= uy && y <= hi + sp; y += sp)
                IGrLineDevice(lx, float(y), ux, float(y + w));
        }
        if (direction == 2 || mode == 2) {
            const double lo = D.y1 + (double(D.x1) - lx) * k, hi = D.y2 + (double(D.x2) - lx) * k;
            const double q = gr_floor_to(lrow, h.y_step);
            for (double y = gr_skip_to(q + sp, sp, lo - sp); y <= double(uy) + w && y <= hi + sp; y += sp)
                IGrLineDevice(lx, float(y), ux, float(y - w));
        }
        IGrDrawStateSave(3);
        return;
    }
    if (direction == 3 || mode == 2) {
        const double q = gr_floor_to(lrow, h.y_step);
        gr_scan_two_colour(pass, 0.5f * h.y_spacing, [&](float offset) {
            bool reverse = false;
            const auto& D = GrDeviceArea;
            for (double y = gr_skip_to(q + offset, h.y_spacing, D.y1 - h.y_spacing);;) {
                y = std::max(y + h.y_spacing, double(ly));
                if (y >= uy || y > D.y2 + h.y_spacing)
                    break;
                if (reverse)
                    IGrLineDevice(ux - f, float(y), lx + f, float(y));
                else
                    IGrLineDevice(lx + f, float(y), ux - f, float(y));
                reverse = h.alternate && !reverse;
            }
        });
    }
    if (direction == 4 || mode == 2) {
        const double q = gr_floor_to(lcol, h.x_step);
        bool reverse = false;
        const auto& D = GrDeviceArea;
        const double x0 = gr_skip_to(q + h.x_spacing, h.x_spacing, D.x1 - h.x_spacing);
        for (double x = std::max(x0, double(lx)); x < ux && x <= D.x2 + h.x_spacing;
             x = std::max(x + h.x_spacing, double(lx))) {
            if (reverse)
                IGrLineDevice(float(x), uy - f, float(x), ly + f);
            else
                IGrLineDevice(float(x), ly + f, float(x), uy - f);
            reverse = h.alternate && !reverse;
        }
    }
}

}  // namespace

void gr_rectangle(float x1, float y1, float x2, float y2)
{
    if (x1 == x2 || y1 == y2) {
        IErrorReport(GR_ERR_ZERO_SIZE);
        return;
    }
    auto& B = GrPrimitiveBlock;
    const auto& D = GrDeviceArea;
    float lx = 0, ly = 0, ux = 0, uy = 0;
    IGrUserToDevice(std::min(x1, x2), std::min(y1, y2), lx, ly);
    IGrUserToDevice(std::max(x1, x2), std::max(y1, y2), ux, uy);
    const int lcol = gr_trunc(lx), lrow = gr_trunc(ly), ucol = gr_trunc(ux), urow = gr_trunc(uy);
    const bool meets = lcol <= D.ix2 && ucol >= D.ix1 && lrow <= D.iy2 && urow >= D.iy1;
    if (meets) {
        const int style = B.FILL(FILL_STYLE);
        int mode = style;
        int direction = B.FILL(FILL_ANGLE);
        bool draw = true;
        if (style >= 3) {
            int op = style == 3 ? GrOpRectanglePattern : GrOpRectangleSolid;
            if (style == 3)
                IGrFillOpChoose(GrOpRectangleSolid, op);
            if (!GrScreenOpFlags.draws(op)) {
                B.FILL(FILL_SCREEN_PASS) = 2;
            } else {
                B.IX(1) = std::max(lcol, D.ix1);
                B.IY(1) = std::max(lrow, D.iy1);
                B.IX(2) = std::min(ucol, D.ix2);
                B.IY(2) = std::min(urow, D.iy2);
                IGrScreenDriver(op);
            }
            draw = B.FILL(FILL_SCREEN_PASS) != 0 || GrOutputSwitch.hardcopy != 0;
            mode = 1;
            direction = 3;
        }
        if (draw) {
            if (GrOutputSwitch.hardcopy != 0) {
                B.X(1) = lx;
                B.Y(1) = ly;
                B.X(2) = ux;
                B.Y(2) = uy;
                gr_shape_open(GrOpRectanglePattern);
            }
            const bool hardcopy = GrOutputSwitch.hardcopy != 0;
            gr_fill_passes([&](int pass) { rectangle_pass(pass, mode, direction, lx, ly, ux, uy); });
            if (hardcopy)
                gr_shape_close(GrOpRectanglePattern);
        }
    }
    gr_move_to(x1, y1);
}

void IGrRectangleRel(float width, float height)
{
    gr_rectangle(GrCurrentPoint.x, GrCurrentPoint.y, GrCurrentPoint.x + width, GrCurrentPoint.y + height);
}

// ---- arrows

void gr_arrow(float x1, float y1, float x2, float y2, int style)
{
    if (x1 == x2 && y1 == y2)
        return;
    const auto& U = GrUnits;
    const double r = double(U.aspect_y_range) * GrSurface.aspect / U.aspect_x_range;
    const double dx = double(x2) - x1;
    const double dy = (double(y2) - y1) / r;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double angle = std::atan2(dy, dx) * 180.0 / 3.14159265358979;
    gr_arrow_polar(x2, y2, float(length), float(angle), style);
}

void gr_arrow_polar(float x, float y, float length, float angle, int style)
{
    if (length == 0.0f)
        return;
    const auto& U = GrUnits;
    const double L = length;
    const double Ly = L * GrSurface.aspect * U.aspect_y_range / U.aspect_x_range;
    const double pi = 3.14159265358979;
    const double A = angle * pi / 180.0;
    const double b1 = pi / 4 - A;
    const double b2 = A + pi / 4;
    const double hx = 0.25 * L;
    const double hy = 0.25 * Ly;
    const double b1x = x - hx * std::cos(b1), b1y = y + hy * std::sin(b1);
    const double b2x = x - hx * std::cos(b2), b2y = y - hy * std::sin(b2);
    if (style == 2) {
        const double k = 1.0 - 0.25 * 0.70710678;
        const double ox = 0.125 * L * std::sin(A), oy = -0.125 * Ly * std::cos(A);
        const double sx = k * L * std::cos(A), sy = k * Ly * std::sin(A);
        const double p3x = b1x + ox, p3y = b1y + oy;
        const double p6x = b2x - ox, p6y = b2y - oy;
        const float px[7] = {x,          float(b1x), float(p3x), float(p3x - sx), float(p6x - sx),
                             float(p6x), float(b2x)};
        const float py[7] = {y,          float(b1y), float(p3y), float(p3y - sy), float(p6y - sy),
                             float(p6y), float(b2y)};
        IGrPolygonFill(px, py, 7, 0);
    } else {
        gr_move_to(float(x - L * std::cos(A)), float(y - Ly * std::sin(A)));
        gr_line_to(x, y);
        gr_line_to(float(b1x), float(b1y));
        gr_move_to(x, y);
        gr_line_to(float(b2x), float(b2y));
    }
    gr_move_to(x, y);
}
