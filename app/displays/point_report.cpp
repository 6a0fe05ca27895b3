// The point report of the flowfield section display and its reset: the flow properties of the cell
// that holds a point picked in the section picture, for the gas as a whole and for one species,
// written into the point-report dialog of the unit system (124 SI, 141 English, 140 dimensionless).
#include "app/displays/section_display.h"

#include "app/displays/display_dialogs.h"
#include "app/displays/section_state.h"
#include "app/geometry/locate.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "resources/dialog_ids.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/win/entry.h"

#include <cmath>

namespace {

constexpr const char* REPORT_FORMAT = "(G11.5)";

// English factors of the report: metres per foot, cubic metres per cubic foot, kg per cubic metre per
// lbm per cubic foot, N per square metre per lbf per square foot; the temperature 1.8 T - 459.4.
constexpr float FOOT = 0.3048f;
constexpr float CU_M_PER_CU_FT = 0.0283168f;
constexpr float DENSITY_PER_LBM_CU_FT = 16.01846f;
constexpr float PA_PER_LBF_SQ_FT = 47.8803f;
constexpr float BOLTZMANN = 1.3806e-23f;

// The real fields of the report in the order they are written: the point, the gas, the species.
constexpr int POINT_FIELDS[] = {IDC_REPORT_X, IDC_REPORT_Y, IDC_REPORT_Z};
constexpr int GAS_FIELDS[] = {
    IDC_REPORT_NUMBER_DENSITY,
    IDC_REPORT_U,
    IDC_REPORT_V,
    IDC_REPORT_W,
    IDC_REPORT_SPEED,
    IDC_REPORT_TRANS_TEMP,
    IDC_REPORT_ROT_TEMP,
    IDC_REPORT_VIB_TEMP,
    IDC_REPORT_TEMPERATURE,
    IDC_REPORT_DENSITY,
    IDC_REPORT_MACH,
    IDC_REPORT_MFP,
    IDC_REPORT_COLL_TIME,
    IDC_REPORT_MOLS_PER_CELL,
    IDC_REPORT_SEP_MFP,
    IDC_REPORT_PRESSURE,
};
constexpr int SPECIES_FIELDS[] = {
    IDC_REPORT_SP_FRACTION,   IDC_REPORT_SP_DIFF_U,   IDC_REPORT_SP_DIFF_V,   IDC_REPORT_SP_DIFF_W,
    IDC_REPORT_SP_DIFF_SPEED, IDC_REPORT_SP_TEMP_X,   IDC_REPORT_SP_TEMP_Y,   IDC_REPORT_SP_TEMP_Z,
    IDC_REPORT_SP_TRANS_TEMP, IDC_REPORT_SP_ROT_TEMP, IDC_REPORT_SP_VIB_TEMP,
};

// What a quantity of the report becomes in each unit system.
enum class ReportKind {
    PLAIN,           // the same in every system
    NUMBER_DENSITY,  // per cubic metre
    DENSITY,         // kg per cubic metre
    VELOCITY,        // m/s
    TEMPERATURE,     // K
    PRESSURE,        // N per square metre
    LENGTH,          // m, the mean free path: SI in the dimensionless system
};

float converted(float v, ReportKind kind, int units)
{
    const GasState& G = GAS;
    const double x = v;
    if (units == UNITS_ENGLISH) {
        switch (kind) {
        case ReportKind::NUMBER_DENSITY: return static_cast<float>(x * CU_M_PER_CU_FT);
        case ReportKind::DENSITY: return static_cast<float>(x / DENSITY_PER_LBM_CU_FT);
        case ReportKind::VELOCITY:
        case ReportKind::LENGTH: return static_cast<float>(x / FOOT);
        case ReportKind::TEMPERATURE: return static_cast<float>(static_cast<float>(x * 1.8f) - 459.4f);
        case ReportKind::PRESSURE: return static_cast<float>(x / PA_PER_LBF_SQ_FT);
        case ReportKind::PLAIN: return v;
        }
    }
    if (units == UNITS_RATIO) {
        switch (kind) {
        case ReportKind::NUMBER_DENSITY: return static_cast<float>(x / G.STREAM_DENSITY);
        case ReportKind::DENSITY: return static_cast<float>(x / G.STREAM_MASS_DENSITY);
        case ReportKind::VELOCITY: return static_cast<float>(x / G.STREAM_SPEED);
        case ReportKind::TEMPERATURE: return static_cast<float>(x / G.STREAM_TEMP);
        case ReportKind::PRESSURE: {
            const float stream_pressure = static_cast<float>(
                static_cast<float>(double(G.STREAM_DENSITY) * BOLTZMANN) * double(G.STREAM_TEMP));
            return static_cast<float>(x / stream_pressure);
        }
        case ReportKind::PLAIN:
        case ReportKind::LENGTH: return v;
        }
    }
    return v;
}

// The point's coordinate along an axis as the report shows it: the true length in metres or feet, or
// the stored coordinate over the stored box extent.
float report_coordinate(float stored, int axis, int units)
{
    const BoxState& B = BOX;
    if (units == UNITS_RATIO) {
        const float extent = axis == 1 ? B.XMAX - B.XMIN : axis == 2 ? B.YMAX - B.YMIN : B.ZMAX - B.ZMIN;
        return static_cast<float>(double(stored) / extent);
    }
    const float metres = static_cast<float>(double(stored) / B.SCALE_FACTOR);
    return units == UNITS_ENGLISH ? static_cast<float>(metres / double(FOOT)) : metres;
}

void put(int field, float value)
{
    WDialogPutReal(field, value, REPORT_FORMAT);
}

}  // namespace

int section_plane_dialog(int units)
{
    return dialog_of_units(units, IDD_SECTION_PLANE_SI, IDD_SECTION_PLANE_ENGLISH, IDD_SECTION_PLANE_RATIO);
}

int point_report_dialog(int units)
{
    return dialog_of_units(units, IDD_POINT_REPORT_SI, IDD_POINT_REPORT_ENGLISH, IDD_POINT_REPORT_RATIO);
}

void CLEAR_POINT_REPORT()
{
    const int units = RUN.OUTPUT_UNITS;
    SECTION.SECTION_POINT_SHOWN = 0;
    WDialogSelect(point_report_dialog(units));
    for (int field : POINT_FIELDS)
        put(field, 0.0f);
    WDialogPutInteger(IDC_REPORT_SAMPLE_SIZE, 0);
    for (int field : GAS_FIELDS)
        put(field, 0.0f);
    WDialogPutInteger(IDC_REPORT_SP_SAMPLE_SIZE, 0);
    for (int field : SPECIES_FIELDS)
        put(field, 0.0f);
    WDialogSelect(section_plane_dialog(units));
    WDialogPutString(IDC_SECTION_MESSAGE, "  ");
}

void SHOW_POINT_REPORT()
{
    SectionDisplayState& s = SECTION;
    const int units = RUN.OUTPUT_UNITS;

    // The point: the plane's coordinate on JSDIR, the picked coordinates on the other two axes,
    // which are also the marked point.
    float p[4] = {0.0f, s.SECTION_PICK_X, s.SECTION_PICK_Y, s.SECTION_PICK_Z};
    const int axis = s.JSDIR.current;
    if (axis >= 1 && axis <= 3)
        p[axis] = s.SECTION_PLANE_POSITION;
    if (axis != 1)
        s.SECTION_POINT_X = s.SECTION_PICK_X;
    if (axis != 2)
        s.SECTION_POINT_Y = s.SECTION_PICK_Y;
    if (axis != 3)
        s.SECTION_POINT_Z = s.SECTION_PICK_Z;

    // Its cell; none (inside a body): a blank report and the message.
    int cell = 0;
    if (lattice_ready())
        FIND_CELL(cell, p[1], p[2], p[3]);
    const FlowResults& R = RESULTS;
    const bool results = R.VAR.allocated() && R.VAR.extent(1) >= VAR_PRESSURE && R.VAR.extent(2) >= cell;
    if (cell < 1 || cell > CELLS.CELL_COUNT || !results) {
        CLEAR_POINT_REPORT();
        WDialogSelect(section_plane_dialog(units));
        WDialogPutString(IDC_SECTION_MESSAGE, NOT_IN_FLOWFIELD_TEXT);
        return;
    }

    // The report, in the order of the dialog.
    const auto& VAR = RESULTS.VAR;
    WDialogSelect(point_report_dialog(units));
    for (int a = 1; a <= 3; ++a)
        put(POINT_FIELDS[a - 1], report_coordinate(p[a], a, units));
    WDialogPutInteger(IDC_REPORT_SAMPLE_SIZE, gr_trunc(VAR(VAR_SAMPLE_SIZE, cell)));
    const std::pair<int, ReportKind> gas[] = {
        {VAR_NUMBER_DENSITY, ReportKind::NUMBER_DENSITY},
        {VAR_U, ReportKind::VELOCITY},
        {VAR_U + 1, ReportKind::VELOCITY},
        {VAR_U + 2, ReportKind::VELOCITY},
        {VAR_SPEED, ReportKind::VELOCITY},
        {VAR_TRANS_TEMP, ReportKind::TEMPERATURE},
        {VAR_ROT_TEMP, ReportKind::TEMPERATURE},
        {VAR_VIB_TEMP, ReportKind::TEMPERATURE},
        {VAR_TEMP, ReportKind::TEMPERATURE},
        {VAR_DENSITY, ReportKind::DENSITY},
        {VAR_MACH, ReportKind::PLAIN},
        {VAR_MFP, ReportKind::LENGTH},
        {VAR_COLL_TIME, ReportKind::PLAIN},
        {VAR_MOLS_PER_CELL, ReportKind::PLAIN},
        {VAR_SEP_MFP, ReportKind::PLAIN},
        {VAR_PRESSURE, ReportKind::PRESSURE},
    };
    static_assert(std::size(gas) == std::size(GAS_FIELDS));
    for (std::size_t i = 0; i < std::size(gas); ++i)
        put(GAS_FIELDS[i], converted(VAR(gas[i].first, cell), gas[i].second, units));

    // The species part, for REPORT_SPECIES when the results hold that species.
    const int species = s.REPORT_SPECIES.current;
    if (species >= 1 && species <= R.SPECIES_VAR.extent(3) && R.SPECIES_VAR.extent(2) >= cell) {
        const auto& SV = RESULTS.SPECIES_VAR;
        WDialogPutInteger(IDC_REPORT_SP_SAMPLE_SIZE, gr_trunc(SV(SV_SAMPLE_SIZE, cell, species)));
        const double du = SV(SV_DIFFUSION_U, cell, species), dv = SV(SV_DIFFUSION_U + 1, cell, species),
                     dw = SV(SV_DIFFUSION_U + 2, cell, species);
        const float diffusion_speed = static_cast<float>(std::sqrt(du * du + dv * dv + dw * dw));
        const std::pair<float, ReportKind> values[] = {
            {SV(SV_FRACTION, cell, species), ReportKind::PLAIN},
            {SV(SV_DIFFUSION_U, cell, species), ReportKind::VELOCITY},
            {SV(SV_DIFFUSION_U + 1, cell, species), ReportKind::VELOCITY},
            {SV(SV_DIFFUSION_U + 2, cell, species), ReportKind::VELOCITY},
            {diffusion_speed, ReportKind::VELOCITY},
            {SV(SV_TRANS_TEMP_X, cell, species), ReportKind::TEMPERATURE},
            {SV(SV_TRANS_TEMP_X + 1, cell, species), ReportKind::TEMPERATURE},
            {SV(SV_TRANS_TEMP_X + 2, cell, species), ReportKind::TEMPERATURE},
            {SV(SV_TRANS_TEMP, cell, species), ReportKind::TEMPERATURE},
            {SV(SV_ROT_TEMP, cell, species), ReportKind::TEMPERATURE},
            {SV(SV_VIB_TEMP, cell, species), ReportKind::TEMPERATURE},
        };
        static_assert(std::size(values) == std::size(SPECIES_FIELDS));
        for (std::size_t i = 0; i < std::size(values); ++i)
            put(SPECIES_FIELDS[i], converted(values[i].first, values[i].second, units));
    }

    WDialogSelect(section_plane_dialog(units));
    WDialogPutString(IDC_SECTION_MESSAGE, "  ");
}
