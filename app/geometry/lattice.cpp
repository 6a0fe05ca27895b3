// The lattice of divisions and elements: its scalars, the two constant neighbour tables, and the
// helpers that every stage of the set-up shares (progress, allocation failure).
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include <cmath>
#include <cstdint>

namespace {

// The 26 divisions around a division, offsets (x, y, z): the eight of the same z layer from -x on through
// +y, +x and -y; then the z - 1 layer, its centre first and then the same eight; then the z + 1 layer.
constexpr int NEIGHBOURS[26][3] = {
    {-1, 0, 0},  {-1, 1, 0},  {0, 1, 0},    {1, 1, 0},   {1, 0, 0},  {1, -1, 0}, {0, -1, 0},
    {-1, -1, 0}, {0, 0, -1},  {-1, 0, -1},  {-1, 1, -1}, {0, 1, -1}, {1, 1, -1}, {1, 0, -1},
    {1, -1, -1}, {0, -1, -1}, {-1, -1, -1}, {0, 0, 1},   {-1, 0, 1}, {-1, 1, 1}, {0, 1, 1},
    {1, 1, 1},   {1, 0, 1},   {1, -1, 1},   {0, -1, 1},  {-1, -1, 1}};

// The divisions of the block spanned by a division and its neighbour k, from (0, 0, 0) to the
// neighbour's own offset: 2 for a face neighbour, 4 for an edge, 8 for a corner. A shorter list is
// closed by (10, 0, 0) and padded with (0, 0, 0).
constexpr int END = 10;
constexpr int PATHS[26][8][3] = {
    {{0, 0, 0}, {-1, 0, 0}, {END, 0, 0}},
    {{0, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {-1, 1, 0}, {END, 0, 0}},
    {{0, 0, 0}, {0, 1, 0}, {END, 0, 0}},
    {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {END, 0, 0}},
    {{0, 0, 0}, {1, 0, 0}, {END, 0, 0}},
    {{0, 0, 0}, {1, 0, 0}, {0, -1, 0}, {1, -1, 0}, {END, 0, 0}},
    {{0, 0, 0}, {0, -1, 0}, {END, 0, 0}},
    {{0, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {-1, -1, 0}, {END, 0, 0}},
    {{0, 0, 0}, {0, 0, -1}, {END, 0, 0}},
    {{0, 0, 0}, {-1, 0, 0}, {0, 0, -1}, {-1, 0, -1}, {END, 0, 0}},
    {{0, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {-1, 1, 0}, {0, 0, -1}, {-1, 0, -1}, {0, 1, -1}, {-1, 1, -1}},
    {{0, 0, 0}, {0, 1, 0}, {0, 0, -1}, {0, 1, -1}, {END, 0, 0}},
    {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, -1}, {0, 1, -1}, {1, 0, -1}, {1, 1, -1}},
    {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {1, 0, -1}, {END, 0, 0}},
    {{0, 0, 0}, {0, -1, 0}, {1, 0, 0}, {1, -1, 0}, {0, 0, -1}, {0, -1, -1}, {1, 0, -1}, {1, -1, -1}},
    {{0, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, -1, -1}, {END, 0, 0}},
    {{0, 0, 0}, {0, -1, 0}, {-1, 0, 0}, {-1, -1, 0}, {0, 0, -1}, {0, -1, -1}, {-1, 0, -1}, {-1, -1, -1}},
    {{0, 0, 0}, {0, 0, 1}, {END, 0, 0}},
    {{0, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {-1, 0, 1}, {END, 0, 0}},
    {{0, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {-1, 1, 0}, {0, 0, 1}, {-1, 0, 1}, {0, 1, 1}, {-1, 1, 1}},
    {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {END, 0, 0}},
    {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}},
    {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}, {END, 0, 0}},
    {{0, 0, 0}, {0, -1, 0}, {1, 0, 0}, {1, -1, 0}, {0, 0, 1}, {0, -1, 1}, {1, 0, 1}, {1, -1, 1}},
    {{0, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, -1, 1}, {END, 0, 0}},
    {{0, 0, 0}, {0, -1, 0}, {-1, 0, 0}, {-1, -1, 0}, {0, 0, 1}, {0, -1, 1}, {-1, 0, 1}, {-1, -1, 1}}};

float smallest(float a, float b, float c)
{
    float m = a;
    if (b < m)
        m = b;
    if (c < m)
        m = c;
    return m;
}

// A count product of the lattice, refused when it passes the 4-byte integer range.
int checked_product(long long a, long long b, const char* item)
{
    long long p = a * b;
    if (p > INT32_MAX)
        fatal_stop(std::string("QR4TD.DAT: the lattice is too large: ") + item + " would be " +
                   std::to_string(p));
    return static_cast<int>(p);
}

// A count of the lattice below 1, or a box without extent, would divide by zero or size nothing.
void check_lattice_input()
{
    const auto& B = BOX;
    const struct {
        const char* item;
        int value;
    } counts[6] = {{"DIVISIONS_X", B.DIVISIONS_X},
                   {"DIVISIONS_Y", B.DIVISIONS_Y},
                   {"DIVISIONS_Z", B.DIVISIONS_Z},
                   {"ELEMENTS_PER_DIVISION_X", B.ELEMENTS_PER_DIVISION_X},
                   {"ELEMENTS_PER_DIVISION_Y", B.ELEMENTS_PER_DIVISION_Y},
                   {"ELEMENTS_PER_DIVISION_Z", B.ELEMENTS_PER_DIVISION_Z}};
    for (const auto& c : counts)
        if (c.value < 1)
            fatal_stop(std::string("QR4TD.DAT: ") + c.item + " must be at least 1, not " +
                       std::to_string(c.value));
    const struct {
        const char* item;
        float low, high;
    } limits[3] = {
        {"XMIN, XMAX", B.XMIN, B.XMAX}, {"YMIN, YMAX", B.YMIN, B.YMAX}, {"ZMIN, ZMAX", B.ZMIN, B.ZMAX}};
    for (const auto& l : limits)
        if (!(l.high > l.low))
            fatal_stop(std::string("QR4TD.DAT: the box limits ") + l.item + " (" + std::to_string(l.low) +
                       ", " + std::to_string(l.high) + ") give no extent");
}

}  // namespace

void set_lattice_scalars()
{
    const auto& B = BOX;
    Divisions& D = DIVISIONS;
    check_lattice_input();
    D.BOX_EXTENT_X = static_cast<float>(double(B.XMAX) - double(B.XMIN));
    D.BOX_EXTENT_Y = static_cast<float>(double(B.YMAX) - double(B.YMIN));
    D.BOX_EXTENT_Z = static_cast<float>(double(B.ZMAX) - double(B.ZMIN));
    D.DIVISION_WIDTH_X = static_cast<float>(double(D.BOX_EXTENT_X) / B.DIVISIONS_X);
    D.DIVISION_WIDTH_Y = static_cast<float>(double(D.BOX_EXTENT_Y) / B.DIVISIONS_Y);
    D.DIVISION_WIDTH_Z = static_cast<float>(double(D.BOX_EXTENT_Z) / B.DIVISIONS_Z);
    D.DIVISION_COUNT = checked_product(checked_product(B.DIVISIONS_X, B.DIVISIONS_Y, "DIVISION_COUNT"),
                                       B.DIVISIONS_Z, "DIVISION_COUNT");
    D.MIN_DIVISION_WIDTH = smallest(D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z);
    D.ELEMENT_WIDTH_X = static_cast<float>(double(D.DIVISION_WIDTH_X) / B.ELEMENTS_PER_DIVISION_X);
    D.ELEMENT_WIDTH_Y = static_cast<float>(double(D.DIVISION_WIDTH_Y) / B.ELEMENTS_PER_DIVISION_Y);
    D.ELEMENT_WIDTH_Z = static_cast<float>(double(D.DIVISION_WIDTH_Z) / B.ELEMENTS_PER_DIVISION_Z);
    D.ELEMENTS_IN_DIVISION = checked_product(
        checked_product(B.ELEMENTS_PER_DIVISION_X, B.ELEMENTS_PER_DIVISION_Y, "ELEMENTS_IN_DIVISION"),
        B.ELEMENTS_PER_DIVISION_Z, "ELEMENTS_IN_DIVISION");
    D.ELEMENT_COUNT = checked_product(D.ELEMENTS_IN_DIVISION, D.DIVISION_COUNT, "ELEMENT_COUNT");
    D.MIN_ELEMENT_WIDTH = smallest(D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z);
    const double ex = D.ELEMENT_WIDTH_X, ey = D.ELEMENT_WIDTH_Y, ez = D.ELEMENT_WIDTH_Z;
    D.ELEMENT_DIAGONAL = static_cast<float>(std::sqrt(ex * ex + ey * ey + ez * ez));
    D.ELEMENT_VOLUME = static_cast<float>(ex * ey * ez);
}

void fill_neighbour_tables()
{
    Divisions& D = DIVISIONS;
    if (!D.NEIGHBOUR_DIVISIONS.allocate(26, 3) || !D.PATH_DIVISIONS.allocate(26, 3, 8))
        allocation_stop("PROGRAM COULD NOT ALLOCATE POINTS AND TRIANGLES", "NEIGHBOUR_DIVISIONS");
    for (int k = 1; k <= 26; ++k) {
        for (int a = 1; a <= 3; ++a) {
            D.NEIGHBOUR_DIVISIONS(k, a) = NEIGHBOURS[k - 1][a - 1];
            for (int n = 1; n <= 8; ++n)
                D.PATH_DIVISIONS(k, a, n) = PATHS[k - 1][n - 1][a - 1];
        }
    }
}

void fold_progress_range(int& range, float& step)
{
    const double factor = double(1.2f);
    while (range > PROGRESS_RANGE_LIMIT) {
        range = static_cast<int>(range / factor);
        step = static_cast<float>(step / factor);
    }
}

void open_progress_dialog(int dialog, int& range, float& step)
{
    WDialogLoad(dialog);
    WDialogSelect(dialog);
    WDialogShow(-1, -1, 0, 2);
    step = 1.0f;
    fold_progress_range(range, step);
    WDialogRangeProgressBar(IDC_PROGRESS_BAR, 0, range);
    WDialogPutProgressBar(IDC_PROGRESS_BAR, 0, 0);
}

// The bar is put only when its integer position changes: a large set-up advances it some hundred
// thousand times by fractions of a step, and each put costs the window system a round trip.
void progress_advance(float share)
{
    Divisions& D = DIVISIONS;
    const int shown = static_cast<int>(D.PROGRESS_VALUE);
    D.PROGRESS_VALUE = static_cast<float>(double(D.PROGRESS_VALUE) + double(share) * double(D.PROGRESS_STEP));
    if (static_cast<int>(D.PROGRESS_VALUE) != shown)
        WDialogPutProgressBar(IDC_PROGRESS_BAR, static_cast<int>(D.PROGRESS_VALUE), 0);
}

void progress_stage(std::string_view text)
{
    WDialogPutString(IDC_PROGRESS_TEXT, text);
}

// The data items that size each array of the set-up, as the user knows them, with their values.
std::string items_sizing(std::string_view array_name)
{
    const auto& B = BOX;
    const std::string grid =
        "QR4TD.DAT items 7 to 12 (divisions and elements per division) = " + std::to_string(B.DIVISIONS_X) +
        " x " + std::to_string(B.DIVISIONS_Y) + " x " + std::to_string(B.DIVISIONS_Z) + " x " +
        std::to_string(B.ELEMENTS_PER_DIVISION_X) + " x " + std::to_string(B.ELEMENTS_PER_DIVISION_Y) +
        " x " + std::to_string(B.ELEMENTS_PER_DIVISION_Z);
    const std::string triangles = "the " + std::to_string(SURFACE.TRIANGLE_COUNT) + " triangles of QR4SD.DAT";
    const std::string cells =
        "the " + std::to_string(CELLS.MAX_CELLS) + " cells formed on the grid of " + grid;
    static const char* const GRID[] = {"SURFACE_ELEMENT_NUMBER", "ELEMENT_CODE", "ELEMENT_CELL",
                                       "DIVISION_INFO", "DEDIV"};
    static const char* const SURFACE_IN_GRID[] = {"INDIV",
                                                  "INDSURF",
                                                  "SURFACE_INDEX",
                                                  "TOTAL_SURFACE_INDEX",
                                                  "SUB_ELEMENTS_IN_FLOW",
                                                  "SURFACE_ELEMENT_DATA",
                                                  "ICHECK"};
    static const char* const TRIANGLES[] = {"SURF_SAMPLE", "TRIANGLE_NEIGHBOURS", "ADIABATIC_SAMPLE"};
    for (const char* name : GRID)
        if (array_name == name)
            return grid;
    for (const char* name : SURFACE_IN_GRID)
        if (array_name == name)
            return triangles + " on the grid of " + grid;
    for (const char* name : TRIANGLES)
        if (array_name == name)
            return triangles;
    if (array_name == "SURF_FORCE_SAMPLE")
        return "the surfaces of QR4SD.DAT (" + std::to_string(SURFACE.SURFACE_COUNT) + ")";
    if (array_name == "NEIGHBOUR_DIVISIONS")
        return "no data item (tables of 26 neighbours)";
    return cells;
}

void allocation_stop(std::string_view line, std::string_view array_name)
{
    fatal_stop(std::string(line) + ": the memory for the arrays sized by " + items_sizing(array_name) +
               " could not be allocated");
}
