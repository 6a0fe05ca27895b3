// The HP-GL line writers shared by the HP-GL and HP-GL/2 drivers: one command per text line in plot
// slot 2, blanks squeezed, CR LF at the end, one leading blank in line-start mode 1
// (HcDeviceBlock.line_start, HcHpglLineStart). Also the number fields and the data records that
// carry colours, fill settings and shape vertices through an HP-GL file.
#ifndef QR4T_TOOLKIT_DRIVERS_HPGL_LINES_H
#define QR4T_TOOLKIT_DRIVERS_HPGL_LINES_H

#include <string>
#include <string_view>

constexpr int HC_HPGL_LINE_LENGTH = 50;  // characters of the line buffer (HcHpglLine without its prefix)
constexpr std::string_view HPGL_SCALE_RESET = "SC0 32760 0 32760";
constexpr double HPGL_USER_UNITS = 32760.0;

// A number written with one edit descriptor ("I6", "F5.3"); asterisks when it does not fit.
std::string hpgl_int(long long value, std::string_view descriptor);
std::string hpgl_real(double value, std::string_view descriptor);
// INT(v): truncated toward zero, clamped to the integer range.
int hpgl_trunc(double v);

// The line as written: the first two characters as they stand, then the rest with the blanks right
// after the mnemonic dropped and every run of blanks between two non-blank characters made one; the
// text is first cut to the 50-character line buffer.
std::string hpgl_squeeze(std::string_view text);
// Writes the text (squeezed) as one line.
void IHcHpglCommand(std::string_view text);
// The line buffer written by IHcHpglFlush; callers build a line in it.
extern std::string HcHpglLine;
void IHcHpglFlush();
// The mnemonic followed by INT(x * sx) and INT(y * sy) in the format 2I6, as one line.
void IHcHpglPoint(std::string_view mnemonic, double x, double y);
// " LB" (mode 1) or "LB" (mode 2), then the text (ended by the caller with the terminator) and CR LF,
// unsqueezed.
void IHcHpglLabel(std::string_view text);
// Writes text (no squeezing), then CR LF; a blank first in line-start mode 1.
void IHcHpgl2WriteLine(std::string_view text);

// The shared drawing helpers of both drivers.
// The pen position (surface units) of HcDeviceBlock.
void hpgl_pen_set(float x, float y);
// "PU" to the point unless the pen is there already.
void hpgl_move_unless_there(float x, float y);
// The scaling line reset with its first (last = false) or last 32760 replaced by v in the format I5.
std::string hpgl_scale_line(int v, bool last, std::string_view reset);
// INT(option 2 * area width * 32760 / (option 1 * area height * ratio)): the y scaling that keeps
// circles round on the page; 32760 when the page or the ratio gives no value.
int hpgl_aspect_units(double ratio);
// The circle of op 5 around the pen at (X(1), Y(1)) with radius X(2) and height ratio X(3), under the
// scaling that keeps it round, filled by the device when filled is true; the scaling is reset after.
void hpgl_circle(bool filled);
// The scaling line of an arc or wedge around (X(1), Y(1)) with radius X(2), keeping it round; r, cx,
// cy are then the radius and centre in user units under that scaling.
void hpgl_arc_scaling(std::string_view reset, double& r, double& cx, double& cy);
// The clip window "IW" in plotter units (upp per point) inside the plotting area P1..P2.
void hpgl_clip(double upp, int p1x, int p1y, int p2x, int p2y);
// The label origin of a text at (X(1), Y(1)): a cell widths along and b cell heights below the
// baseline, along the text direction.
void hpgl_text_start(double a, double b, double& x, double& y);
// "LT" with the 4 parameter characters of the current line type (types above 6 as type 0); type 1 is
// "1 .3", or "1 1 " for the plotters of class F.
void hpgl_line_type(bool class_f);
// "DI" with the text direction's cosine and sine.
void hpgl_text_direction();
// The hardcopy entry of GrDeviceInfo: angle resolution 360, level 2, no RGB flag, the further words.
void hpgl_device_info(int word);

// The data records, written only while option 18 is non-zero: "SC-" with code, p1, p2 and p3 + 32760,
// and with reset the scaling that follows; a vertex record of one point; an arc record of two reals.
void IHcHpglDataRecord(int code, bool reset, int p1, int p2, int p3);
void IHcHpglVertexRecord(double x, double y);
void IHcHpglArcRecord(double a, double b);

#endif
