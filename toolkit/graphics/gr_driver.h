// The driver interface: every output device is one routine taking an operation code (GrDriverOp) with
// its parameters in the shared GrPrimitiveBlock. Drawing routines fill the block once and send the same
// code first to the screen (IGrScreenDriver) and then to the hardcopy device (IHcSendOp); each side obeys
// its own switch of GrOutputSwitch.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_DRIVER_H
#define QR4T_TOOLKIT_GRAPHICS_GR_DRIVER_H

#include "toolkit/graphics/gr_state.h"

#include <array>

// GrDriverOp: the codes shared by the screen driver and every hardcopy driver.
enum GrDriverOp {
    GrOpInitialise = 1,      // initialise device (hardcopy drivers set their defaults)
    GrOpLine = 2,            // (IX1,IY1)-(IX2,IY2); hardcopy reads X1..Y2
    GrOpColour = 3,          // select the current colour of GrColourState
    GrOpEllipseOutline = 4,  // centre (IX1,IY1), radii IX2 (x), IY2 (y)
    GrOpEllipsePattern = 5,  // as 4, pattern-filled
    GrOpEllipseSolid = 6,    // as 4, solid
    GrOpQuadPattern = 7,     // corners IX1..4, IY1..4
    GrOpQuadSolid = 8,
    GrOpRectanglePattern = 9,  // corners (IX1,IY1), (IX2,IY2); hardcopy open (NVAL 1) / close (NVAL -1)
    GrOpRectangleSolid = 10,
    GrOpTrianglePattern = 11,  // corners IX1..3, IY1..3
    GrOpTriangleSolid = 12,
    GrOpPiePattern = 13,  // centre (IX1,IY1), radii X2,Y2, angles X3,Y3 (rad), X4,Y4 (deg)
    GrOpPieSolid = 14,
    GrOpPolygonPattern = 15,  // NPTS points of GrPolylineBuffer
    GrOpPolygonSolid = 16,
    GrOpClear = 17,  // whole surface to colour number 0
    GrOpOpen = 18,   // screen: reset device facts; NVAL -1 to hardcopy: surface changed
    GrOpClose = 19,
    GrOpHardcopyPage = 20,
    GrOpFont = 21,
    GrOpText = 22,       // start (X1,Y1), end (X3,Y3), IX1 characters of TEXT
    GrOpMoveBlock = 23,  // source (IX1,IY1)-(IX2,IY2), destination lower-left (IX3,IY3), NVAL fill
    GrOpClip = 24,       // clip to the GrDeviceArea pixel box
    GrOpTextWidth = 25,  // NVAL characters of TEXT; answer NVAL width, NPTS 1
    GrOpPoint = 26,      // (IX1,IY1)
    GrOpPlotMode = 27,
    GrOpDefineColour = 28,  // IX1 RGB, IX4 defer flag, NVAL palette index, NPTS colour number
    GrOpLineType = 29,
    GrOpLineWidth = 30,
    GrOpReadPixel = 31,  // (IX1,IY1); answer IX1..IX3 red, green, blue (-1 when unreadable)
    GrOpPolyline = 32,   // NPTS points of GrPolylineBuffer
    GrOpTextAngle = 33,  // as 21
    GrOpArc = 34,        // as 13 with FILL(1), FILL(2)
    GrOpLoadPalette = 35,
    GrOpLineJoin = 36,
    GrOpLineCap = 37,
    GrOpImageFile = 38,  // IX1 image type, IY1, NVAL, NPTS, TEXT file name
};

// Indices of the fill words FILL(1..7) of GrPrimitiveBlock.
constexpr int FILL_STYLE = 1;        // 0 outline, 1 hatch, 2 cross-hatch, 3 two-colour pattern, 4 solid
constexpr int FILL_DENSITY = 2;      // hatch density 1..5
constexpr int FILL_ANGLE = 3;        // hatch direction 1..4: rising, falling, horizontal, vertical
constexpr int FILL_OUTLINE = 4;      // 1 draws the outline of styles 0..2
constexpr int FILL_SCREEN_PASS = 5;  // 2 when the screen pass emulates a style 3/4 fill with lines
constexpr int FILL_HARD_PASS = 6;    // 2 when the hardcopy pass emulates it
constexpr int FILL_TEXT_WORD = 7;    // passed between graphics text and the hardcopy drivers

// GrPrimitiveBlock: the parameters of one driver operation.
struct GrPrimitiveBlockRecord {
    GrWords<int, 4> IX;   // pixel columns, or integer parameters
    GrWords<int, 4> IY;   // pixel rows counted upward from the bottom row (row 0 = bottom)
    GrWords<float, 4> X;  // device coordinates (pixel units, y upward) or real parameters
    GrWords<float, 4> Y;
    int NVAL = 0;                // value field: op 1 -998/0, open/close -1, op 25 width, op 28 index
    int NPTS = 0;                // count field: points of ops 15 and 32, colour number of op 28
    GrWords<int, 7> FILL;        // fill words, FILL_STYLE .. FILL_TEXT_WORD
    std::array<char, 256> TEXT;  // text of the text operations, blank-padded
    // Words shared by the core and the hardcopy drivers:
    int solid = 0;           // non-zero: the shape is filled solid in one colour
    int span_mode = 0;       // 1: the rows of a shape arrive as op 2 and are filled as spans
    int pattern_select = 0;  // 0 dither mask, else solid on/off
    int arc_closure = 0;     // 3 or more: an open arc (ops 13, 34)
    int polygon_edge = 0;    // polygon edge flag
    int colour_record = 0;   // 0: the HP-GL writers record each colour; 2 once a fill was emulated

    GrPrimitiveBlockRecord()
    {
        FILL(FILL_DENSITY) = 2;
        FILL(FILL_ANGLE) = 3;
        FILL(FILL_OUTLINE) = 1;
        TEXT.fill(' ');
    }
};

// Points of polygons and polylines: X(1..5000), Y(1..5000) in device coordinates; NPTS of them.
constexpr int GR_POLYLINE_MAX = 5000;
struct GrPolylineBufferRecord {
    GrWords<float, GR_POLYLINE_MAX> X;
    GrWords<float, GR_POLYLINE_MAX> Y;
};

// GrDeviceInfo: pairs (screen, hardcopy) read by graphics text to decide how text may be drawn.
struct GrDeviceInfoRecord {
    std::array<int, 2> angle_resolution{360, 360};     // text-angle resolution
    std::array<int, 2> platform{2, 2};                 // screen: 2 on the NT family, else 1
    std::array<int, 2> true_colour{1, 0};              // screen: 1 when the display has > 256 colours
    std::array<int, 3> hardcopy_words{0, 0, 0};        // further words of the hardcopy device
    std::array<float, 2> text_real{1.7e38f, 1.7e38f};  // per-device text real (op 18 presets 1.7E38)
    std::array<int, 2> text_word{8, 8};                // per-device text word (op 18 presets 8)
};

// GrScreenOpFlags: one character per op code 1..40; a blank means the screen driver does not draw that
// op itself (the fill routines then emulate it). Start-up sets one blank, 35 "W" and four blanks.
struct GrScreenOpFlagsRecord {
    std::array<char, 40> op;
    GrScreenOpFlagsRecord();
    bool draws(int code) const
    {
        return code >= 1 && code <= 40 && op[static_cast<std::size_t>(code - 1)] != ' ';
    }
};

// GrDeviceCaps: the 29-character capability strings, entry 1 the screen, entry 2 the hardcopy device.
// Key: position p (1..29) is character p - 1, '1' the capability present and '0' absent. The graphics
// core reads position GR_CAP_HARDWARE_TEXT only; the other positions are kept as each device states
// them (the screen every capability but 20 and 24), and nothing in the toolkit reads them.
constexpr int GR_CAPS_LENGTH = 29;
constexpr int GR_CAP_HARDWARE_TEXT = 27;  // '1': hardware text may serve text modes 1 and 2
struct GrDeviceCapsRecord {
    std::array<std::array<char, GR_CAPS_LENGTH>, 2> entry;
    GrDeviceCapsRecord();
};

extern GrPrimitiveBlockRecord GrPrimitiveBlock;
extern GrPolylineBufferRecord GrPolylineBuffer;
extern GrDeviceInfoRecord GrDeviceInfo;
extern GrScreenOpFlagsRecord GrScreenOpFlags;
extern GrDeviceCapsRecord GrDeviceCaps;

// The screen device behind IGrScreenDriver: the routine that draws one op on the current drawing
// context. Bound with the drawing context (the GDI drawers in the win build); nothing is drawn while it
// is null. Tests bind a recording routine.
using GrDeviceRoutine = void (*)(int op);
extern GrDeviceRoutine GrScreenDevice;

// Does nothing when the screen output switch is 0 or op lies outside 2..38; else draws op.
void IGrScreenDriver(int op);
// Calls IHcDriverCall(op) when the hardcopy output switch is 1 or more.
void IHcSendOp(int op);
// Sends op to the screen driver, then to the hardcopy device.
void gr_send_both(int op);

#endif
