// SHOW_FORCES_AND_MOMENTS: the overall force and moment on one surface from the kernel's force sample,
// written into the forces dialog of the unit system (SI, English, or coefficients); the moments are
// taken about the point the user types into that dialog. ASK_REFERENCE_AREA asks once for the area and
// length of the coefficients.
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"

#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/dialogs.h"
#include "toolkit/win/entry.h"

#include <cmath>

namespace {

constexpr const char* FORCE_FORMAT = "(G10.4)";
constexpr double MIN_ELAPSED = 1.0e-10;      // a sample shorter than this has no rate
constexpr float NEWTONS_PER_POUND = 4.448f;  // pounds force
constexpr float MOMENT_ENGLISH = 0.74f;      // N m to lbf ft, as the English moments take it
constexpr float SQ_M_PER_SQ_FT = 0.092903f;
constexpr float M_PER_FT = 0.3048f;
constexpr int MODAL = 1;

struct Vector3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

float to_float(double v)
{
    return static_cast<float>(v);
}

// The moments about lines through p parallel to x, y, z: G is minus the sum of r x f with its
// components in the order z, y, x (G4, G5, G6).
Vector3 moments(const Vector3& F, float g4, float g5, float g6, const Vector3& p)
{
    return {to_float(double(g6) + double(p.y) * F.z - double(p.z) * F.y),
            to_float(double(g5) + double(p.z) * F.x - double(p.x) * F.z),
            to_float(double(g4) + double(p.x) * F.y - double(p.y) * F.x)};
}

void put_vector(int fx, int fy, int fz, const Vector3& v)
{
    WDialogPutReal(fx, v.x, FORCE_FORMAT);
    WDialogPutReal(fy, v.y, FORCE_FORMAT);
    WDialogPutReal(fz, v.z, FORCE_FORMAT);
}

Vector3 read_point()
{
    Vector3 p;
    WDialogGetReal(IDC_POINT_X, p.x);
    WDialogGetReal(IDC_POINT_Y, p.y);
    WDialogGetReal(IDC_POINT_Z, p.z);
    return p;
}

}  // namespace

void SHOW_FORCES_AND_MOMENTS()
{
    const RunState& R = RUN;
    const int surface = DISPLAY.FORCE_SURFACE.current;
    const auto& S = SAMPLES.SURF_FORCE_SAMPLE;
    const double elapsed = R.TIME - SAMPLES.SAMPLE_START_TIME;
    // No rate yet right after a reset; a surface number outside the surfaces has no sums.
    const bool sums = S.allocated() && surface >= 1 && surface <= SURFACE.SURFACE_COUNT;
    if (elapsed > MIN_ELAPSED && sums) {
        // Per unit time (the times are scaled, hence SCALE_FACTOR) and per simulated molecule.
        const float factor = to_float(double(R.FNUM) * BOX.SCALE_FACTOR / elapsed);
        Vector3 F = {to_float(factor * S(1, surface)), to_float(factor * S(2, surface)),
                     to_float(factor * S(3, surface))};
        float g4 = to_float(factor * S(4, surface)), g5 = to_float(factor * S(5, surface)),
              g6 = to_float(factor * S(6, surface));
        const int units = R.OUTPUT_UNITS;
        if (units == UNITS_ENGLISH) {
            // Pounds force; the moment terms G times 0.74, the point in feet.
            WDialogSelect(IDD_FORCES_ENGLISH);
            F = {to_float(F.x / double(NEWTONS_PER_POUND)), to_float(F.y / double(NEWTONS_PER_POUND)),
                 to_float(F.z / double(NEWTONS_PER_POUND))};
            g4 = to_float(g4 * double(MOMENT_ENGLISH));
            g5 = to_float(g5 * double(MOMENT_ENGLISH));
            g6 = to_float(g6 * double(MOMENT_ENGLISH));
            put_vector(IDC_FORCE_X, IDC_FORCE_Y, IDC_FORCE_Z, F);
            put_vector(IDC_MOMENT_X, IDC_MOMENT_Y, IDC_MOMENT_Z, moments(F, g4, g5, g6, read_point()));
        } else if (units == UNITS_RATIO) {
            // Coefficients over the stream's dynamic pressure times the reference area (and length).
            if (R.REFERENCE_AREA < 0.0f && SURFACE.SURFACE_COUNT > 0)
                ASK_REFERENCE_AREA();
            WDialogSelect(IDD_FORCES_COEFFICIENTS);
            const GasState& G = GAS;
            const float qa = to_float(double(G.STREAM_MASS_DENSITY) * 0.5 * G.STREAM_SPEED * G.STREAM_SPEED *
                                      RUN.REFERENCE_AREA);
            put_vector(IDC_FORCE_X, IDC_FORCE_Y, IDC_FORCE_Z,
                       {to_float(F.x / double(qa)), to_float(F.y / double(qa)), to_float(F.z / double(qa))});
            // The point is typed as fractions of the box; in metres (the true extent, stored extent
            // over SCALE_FACTOR), like G.
            Vector3 p = read_point();
            const double scale = BOX.SCALE_FACTOR;
            p = {to_float(p.x * (double(BOX.XMAX) - BOX.XMIN) / scale),
                 to_float(p.y * (double(BOX.YMAX) - BOX.YMIN) / scale),
                 to_float(p.z * (double(BOX.ZMAX) - BOX.ZMIN) / scale)};
            const Vector3 M = moments(F, g4, g5, g6, p);
            const double qal = double(qa) * DISPLAY.REFERENCE_LENGTH;
            put_vector(IDC_MOMENT_X, IDC_MOMENT_Y, IDC_MOMENT_Z,
                       {to_float(M.x / qal), to_float(M.y / qal), to_float(M.z / qal)});
            WDialogPutReal(IDC_REFERENCE_AREA, RUN.REFERENCE_AREA, FORCE_FORMAT);
            WDialogPutReal(IDC_REFERENCE_LENGTH, DISPLAY.REFERENCE_LENGTH, FORCE_FORMAT);
        } else {
            // SI.
            WDialogSelect(IDD_FORCES_SI);
            put_vector(IDC_FORCE_X, IDC_FORCE_Y, IDC_FORCE_Z, F);
            put_vector(IDC_MOMENT_X, IDC_MOMENT_Y, IDC_MOMENT_Z, moments(F, g4, g5, g6, read_point()));
        }
    }
    IGrColourN(0);
}

void ASK_REFERENCE_AREA()
{
    const DisplaySettings& d = DISPLAY;
    WDialogLoad(IDD_REFERENCE_AREA);
    WDialogSelect(IDD_REFERENCE_AREA);
    WDialogPutRadioButton(IDC_AREA_SI);
    for (;;) {
        WDialogSelect(IDD_REFERENCE_AREA);
        WDialogShow(d.DIALOG_OFFSET_X + 35, d.DIALOG_OFFSET_Y + 210, IDC_AREA_SI, MODAL);
        float area = FIELD_EMPTY, length = FIELD_EMPTY;
        int system = 1;
        WDialogGetReal(IDC_AREA, area);
        WDialogGetReal(IDC_LENGTH, length);
        WDialogGetRadioButton(IDC_AREA_SI, system);
        // An area or length at or below 0 (or unreadable) would make every coefficient infinite and
        // would be kept in the restart set: the user is told and asked again.
        if (!(area > 0.0f) || !(length > 0.0f) || !std::isfinite(area) || !std::isfinite(length)) {
            WMessageBox(0, 3, 1,
                        "The area and the length must both be above 0 (area " + value_text(double(area)) +
                            ", length " + value_text(double(length)) + ")",
                        REFERENCE_AREA_TITLE);
            continue;
        }
        if (system == 2) {
            area = to_float(area * double(SQ_M_PER_SQ_FT));
            length = to_float(length * double(M_PER_FT));
        }
        RUN.REFERENCE_AREA = area;
        DISPLAY.REFERENCE_LENGTH = length;
        return;
    }
}
