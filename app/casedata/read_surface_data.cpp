// READ_SURFACE_DATA: the surface-data file "QR4SD.DAT", the triangulated surfaces of the bodies in the
// flowfield, echoed value by value to the summary "QR4SD.TXT".
//
// The file holds first the counts of every surface (points, solid triangles, flow-entry triangles),
// then surface by surface the points (x, y, z on one record) and the triangles (three local corner
// numbers on one record, then a property code and the properties). Points and triangles are numbered
// across all surfaces in memory; solid and flow-entry triangles get numberings of their own, linked
// through row 4 of TRIANGLE.
//
// Since later steps index and divide by what this file gives, the reader refuses negative counts,
// corner numbers outside the surface, degenerate (zero-area) triangles, property codes outside 0 to 3
// and more triangles of a kind than the surface's count, each with a message naming the file, the
// item and the value.
#include "app/casedata/case_input.h"
#include "app/casedata/casedata.h"
#include "app/state/box.h"
#include "app/state/gas.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

// Property codes of a triangle (row 7).
enum TriangleCode {
    CODE_SAME_AS_PREVIOUS = 0,
    CODE_SOLID = 1,
    CODE_SPECIFIED_ENTRY = 2,
    CODE_STREAM_ELEMENT = 3,
};

// "item 6 (corner points of triangle 3 of surface 2)": the name of a surface-data item in messages.
std::string surface_item(int number, const std::string& what)
{
    return "item " + std::to_string(number) + " (" + what + ")";
}

std::string of_triangle(const std::string& what, int j, int n)
{
    return what + " of triangle " + std::to_string(j) + " of surface " + std::to_string(n);
}

// The group "NUMBER OF SURFACES".
void allocate_surfaces()
{
    CaseArrayGroup group;
    auto& S = SURFACE;
    int n = S.SURFACE_COUNT;
    bool ok = group.allocate(S.SURFACE_POINT_COUNT, n) && group.allocate(S.SURFACE_SPARE_1, 2, n) &&
              group.allocate(S.SURFACE_SPARE_2, 2, n) && group.allocate(S.SURFACE_SOLID_COUNT, n) &&
              group.allocate(S.SURFACE_CLOSED, n) && group.allocate(S.SURFACE_ENTRY_COUNT, n) &&
              group.allocate(S.SURFACE_TRIANGLE_COUNT, n) && group.allocate(S.SURFACE_FIRST_POINT, n) &&
              group.allocate(S.SURFACE_FIRST_TRIANGLE, n);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE NUMBER OF SURFACES", SURFACE_DATA_FILE,
                        surface_item(1, "number of distinct surfaces"), value_text(n));
}

// The groups "NUMBER OF POINTS" and "TRIANGLES", once the counts of all surfaces are known.
void allocate_points_and_triangles()
{
    auto& S = SURFACE;
    int P = S.POINT_COUNT;
    CaseArrayGroup points;
    bool ok = points.allocate(S.POINT_X, P) && points.allocate(S.POINT_Y, P) &&
              points.allocate(S.POINT_Z, P) && points.allocate(S.POINT_TRIANGLE_COUNT, P);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE NUMBER OF POINTS", SURFACE_DATA_FILE,
                        "items 2 (numbers of points)", value_text(P));
    int T = S.TRIANGLE_COUNT;
    int E = S.ENTRY_TRIANGLE_COUNT;
    int K = S.SOLID_TRIANGLE_COUNT;
    int species = GAS.SPECIES_COUNT;
    CaseArrayGroup triangles;
    ok = triangles.allocate(S.TRIANGLE, 6, T) && triangles.allocate(S.TRIANGLE_GEOMETRY, 5, T) &&
         triangles.allocate(S.ENTRY_TRIANGLE, E) && triangles.allocate(S.ENTRY_PROPERTIES, 5, E) &&
         triangles.allocate(S.ENTRY_SPECIES_PROPERTIES, 7, species, E) &&
         triangles.allocate(S.SOLID_PROPERTIES, 4, K) &&
         triangles.allocate(S.SOLID_SPECIES_PROPERTIES, 3, species, K) &&
         triangles.allocate(S.SOLID_REACTION_PROBABILITY, GAS.SURFACE_REACTION_DIM, K) &&
         triangles.allocate(S.SOLID_TRIANGLE, 2, K) && triangles.allocate(S.TRIANGLE_SURFACE, T);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE TRIANGLES", SURFACE_DATA_FILE,
                        "items 3 and 4 (numbers of triangles)", value_text(T));
}

// Adds a surface's count to a total; the totals number points and triangles in 4-byte integers.
void add_count(int& total, int count, int number, const std::string& what)
{
    if (count < 0)
        refuse_item(SURFACE_DATA_FILE, surface_item(number, what), value_text(count),
                    "a count cannot be negative");
    if (static_cast<long long>(total) + count > INT32_MAX)
        refuse_item(SURFACE_DATA_FILE, surface_item(number, what), value_text(count),
                    "the total over all surfaces passes 2147483647");
    total += count;
}

// Items 2 to 4 for surface n: the first block of the file.
void read_surface_counts(int n)
{
    auto& S = SURFACE;
    S.SURFACE_FIRST_POINT(n) = S.POINT_COUNT;
    S.SURFACE_FIRST_TRIANGLE(n) = S.TRIANGLE_COUNT;
    write_list(UNIT_SUMMARY, {"Points and triangles up to this surface", S.POINT_COUNT, S.TRIANGLE_COUNT});
    const std::string of_surface = " of surface " + std::to_string(n);

    read_item(S.SURFACE_POINT_COUNT(n), surface_item(2, "number of points" + of_surface));
    write_list(UNIT_SUMMARY, {"The number of points on surface", n, " is", S.SURFACE_POINT_COUNT(n)});
    add_count(S.POINT_COUNT, S.SURFACE_POINT_COUNT(n), 2, "number of points" + of_surface);

    read_item(S.SURFACE_SOLID_COUNT(n), surface_item(3, "number of solid triangles" + of_surface));
    write_list(UNIT_SUMMARY,
               {"The number of solid surface triangles on surface", n, " is", S.SURFACE_SOLID_COUNT(n)});
    add_count(S.SOLID_TRIANGLE_COUNT, S.SURFACE_SOLID_COUNT(n), 3, "number of solid triangles" + of_surface);

    read_item(S.SURFACE_ENTRY_COUNT(n), surface_item(4, "number of flow entry triangles" + of_surface));
    write_list(UNIT_SUMMARY,
               {"The number of flow entry triangles on surface", n, " is", S.SURFACE_ENTRY_COUNT(n)});
    add_count(S.ENTRY_TRIANGLE_COUNT, S.SURFACE_ENTRY_COUNT(n), 4,
              "number of flow entry triangles" + of_surface);

    // Both counts are at most the totals, which fit; their sum may not.
    long long triangles = static_cast<long long>(S.SURFACE_SOLID_COUNT(n)) + S.SURFACE_ENTRY_COUNT(n);
    if (triangles + S.TRIANGLE_COUNT > INT32_MAX)
        refuse_item(SURFACE_DATA_FILE, surface_item(4, "number of flow entry triangles" + of_surface),
                    value_text(S.SURFACE_ENTRY_COUNT(n)), "the triangles of all surfaces pass 2147483647");
    S.SURFACE_TRIANGLE_COUNT(n) = static_cast<int>(triangles);
    S.TRIANGLE_COUNT += S.SURFACE_TRIANGLE_COUNT(n);
}

// Item 5: point i of surface n, echoed as read and stored scaled.
void read_point(int i, int n)
{
    auto& S = SURFACE;
    const std::string what = "coordinates of point " + std::to_string(i) + " of surface " + std::to_string(n);
    float xyz[3] = {0.0f, 0.0f, 0.0f};
    read_items(xyz, 3, surface_item(5, what));
    write_list(UNIT_SUMMARY, {"Point", i, " is at", xyz[0], xyz[1], xyz[2]});
    int p = ++S.POINT_COUNT;
    float* stored[3] = {&S.POINT_X(p), &S.POINT_Y(p), &S.POINT_Z(p)};
    for (int d = 0; d < 3; ++d) {
        *stored[d] = static_cast<float>(static_cast<double>(xyz[d]) * BOX.SCALE_FACTOR);
        if (!std::isfinite(*stored[d]))
            refuse_item(SURFACE_DATA_FILE, surface_item(5, what), value_text(xyz[d]),
                        "not a finite coordinate once scaled");
    }
}

// A triangle whose corners lie on one line has no normal: the geometry would divide by its zero area.
// The test is relative (the sine of the angle at the first corner against the 4-byte precision), so
// that it holds at every scale.
bool degenerate(int t)
{
    auto& S = SURFACE;
    double P[3][3];
    for (int c = 0; c < 3; ++c) {
        int p = S.TRIANGLE(c + 1, t);
        P[c][0] = S.POINT_X(p);
        P[c][1] = S.POINT_Y(p);
        P[c][2] = S.POINT_Z(p);
    }
    double a[3], b[3];
    for (int d = 0; d < 3; ++d) {
        a[d] = P[1][d] - P[0][d];
        b[d] = P[2][d] - P[0][d];
    }
    double cx = a[1] * b[2] - a[2] * b[1];
    double cy = a[2] * b[0] - a[0] * b[2];
    double cz = a[0] * b[1] - a[1] * b[0];
    double cross = std::sqrt(cx * cx + cy * cy + cz * cz);
    double la = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    double lb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    return !(cross > 1.0e-6 * la * lb);
}

// The running numbers of the second block and the kind of the last triangle of the current surface
// that carried its own properties (0 none, else its property code).
struct TriangleCursor {
    int solid = 0;          // solid triangles so far, all surfaces (k)
    int entry = 0;          // flow-entry triangles so far, all surfaces (e)
    int surface_solid = 0;  // solid triangles so far on this surface
    int surface_entry = 0;  // flow-entry triangles so far on this surface
    int kind = 0;
};

// Makes triangle t the next solid triangle, refusing one more than the surface's count.
int next_solid(TriangleCursor& cur, int t, int j, int n, int code)
{
    auto& S = SURFACE;
    if (cur.surface_solid == S.SURFACE_SOLID_COUNT(n))
        refuse_item(SURFACE_DATA_FILE, surface_item(7, of_triangle("property code", j, n)), value_text(code),
                    "surface " + std::to_string(n) + " has only " + std::to_string(S.SURFACE_SOLID_COUNT(n)) +
                        " solid triangles");
    ++cur.surface_solid;
    int k = ++cur.solid;
    S.TRIANGLE(TRIANGLE_KIND, t) = k;
    S.SOLID_TRIANGLE(1, k) = t;
    return k;
}

// Makes triangle t the next flow-entry triangle, refusing one more than the surface's count.
int next_entry(TriangleCursor& cur, int t, int j, int n, int code)
{
    auto& S = SURFACE;
    if (cur.surface_entry == S.SURFACE_ENTRY_COUNT(n))
        refuse_item(SURFACE_DATA_FILE, surface_item(7, of_triangle("property code", j, n)), value_text(code),
                    "surface " + std::to_string(n) + " has only " + std::to_string(S.SURFACE_ENTRY_COUNT(n)) +
                        " flow entry triangles");
    ++cur.surface_entry;
    int e = ++cur.entry;
    S.TRIANGLE(TRIANGLE_KIND, t) = -e;
    S.ENTRY_TRIANGLE(e) = t;
    return e;
}

// Items 8 to 11: the properties of solid triangle k, all read before their lines are written.
void read_solid_properties(int k, int j, int n)
{
    auto& S = SURFACE;
    int species = GAS.SPECIES_COUNT;
    read_item(S.SOLID_PROPERTIES(1, k), surface_item(8, of_triangle("surface temperature", j, n)));
    read_item(S.SOLID_PROPERTIES(2, k),
              surface_item(9, of_triangle("fraction of specular reflection", j, n)));
    for (int s = 1; s <= species; ++s) {
        const std::string of_s = " of species " + std::to_string(s);
        read_item(S.SOLID_SPECIES_PROPERTIES(1, s, k),
                  surface_item(10, of_triangle("adsorbed fraction" + of_s, j, n)));
        read_item(S.SOLID_SPECIES_PROPERTIES(2, s, k),
                  surface_item(10, of_triangle("outgas mass flux" + of_s, j, n)));
    }
    for (int r = 1; r <= GAS.SURFACE_REACTIONS; ++r)
        read_item(
            S.SOLID_REACTION_PROBABILITY(r, k),
            surface_item(11, of_triangle("probability of surface reaction " + std::to_string(r), j, n)));

    float temperature = S.SOLID_PROPERTIES(1, k);
    if (temperature > 0.0f)
        write_list(UNIT_SUMMARY, {"Diffuse reflection at a temperature of", temperature});
    else
        write_list(UNIT_SUMMARY, {"Diffuse adiabatic with a minimum temperature of", -temperature});
    write_list(UNIT_SUMMARY, {"The fraction of specular reflection is", S.SOLID_PROPERTIES(2, k)});
    for (int s = 1; s <= species; ++s) {
        write_list(UNIT_SUMMARY,
                   {"The fraction of species", s, " adsorbed is", S.SOLID_SPECIES_PROPERTIES(1, s, k)});
        write_list(UNIT_SUMMARY,
                   {"The outgas mass flux of species", s, " is", S.SOLID_SPECIES_PROPERTIES(2, s, k)});
    }
    for (int r = 1; r <= GAS.SURFACE_REACTIONS; ++r)
        write_list(UNIT_SUMMARY,
                   {"The probability of surface reaction", r, " is", S.SOLID_REACTION_PROBABILITY(r, k)});

    // A temperature of 0 or below means an adiabatic wall with that minimum; fractions and
    // probabilities lie in 0 to 1, a mass flux is 0 or more.
    check_real(SURFACE_DATA_FILE, surface_item(8, of_triangle("surface temperature", j, n)), temperature,
               -FLT_MAX, FLT_MAX);
    check_real(SURFACE_DATA_FILE, surface_item(9, of_triangle("fraction of specular reflection", j, n)),
               S.SOLID_PROPERTIES(2, k), 0.0, 1.0);
    for (int s = 1; s <= species; ++s) {
        const std::string of_s = " of species " + std::to_string(s);
        check_real(SURFACE_DATA_FILE, surface_item(10, of_triangle("adsorbed fraction" + of_s, j, n)),
                   S.SOLID_SPECIES_PROPERTIES(1, s, k), 0.0, 1.0);
        check_real(SURFACE_DATA_FILE, surface_item(10, of_triangle("outgas mass flux" + of_s, j, n)),
                   S.SOLID_SPECIES_PROPERTIES(2, s, k), 0.0, FLT_MAX);
    }
    for (int r = 1; r <= GAS.SURFACE_REACTIONS; ++r)
        check_real(
            SURFACE_DATA_FILE,
            surface_item(11, of_triangle("probability of surface reaction " + std::to_string(r), j, n)),
            S.SOLID_REACTION_PROBABILITY(r, k), 0.0, 1.0);
}

// Items 12 and 13: the gas entering through flow-entry triangle e.
void read_entry_properties(int e, int j, int n)
{
    auto& S = SURFACE;
    static const char* const names[6] = {"",
                                         "velocity component in x",
                                         "velocity component in y",
                                         "velocity component in z",
                                         "gas temperature",
                                         "number density"};
    static const char* const lines[6] = {"",
                                         "The velocity component in the x direction is",
                                         "The velocity component in the y direction is",
                                         "The velocity component in the z direction is",
                                         "The gas temperature is",
                                         "The number density is"};
    for (int f = 1; f <= 5; ++f)
        read_item(S.ENTRY_PROPERTIES(f, e), surface_item(12, of_triangle(names[f], j, n)));
    for (int f = 1; f <= 5; ++f)
        write_list(UNIT_SUMMARY, {lines[f], S.ENTRY_PROPERTIES(f, e)});
    // Velocities below the speed of light, a temperature that speeds are formed from, a density of 0
    // or more.
    for (int f = 1; f <= 3; ++f)
        check_real(SURFACE_DATA_FILE, surface_item(12, of_triangle(names[f], j, n)), S.ENTRY_PROPERTIES(f, e),
                   -SPEED_LIMIT, SPEED_LIMIT);
    check_positive_real(SURFACE_DATA_FILE, surface_item(12, of_triangle(names[4], j, n)),
                        S.ENTRY_PROPERTIES(4, e), FLT_MAX);
    check_real(SURFACE_DATA_FILE, surface_item(12, of_triangle(names[5], j, n)), S.ENTRY_PROPERTIES(5, e),
               0.0, FLT_MAX);
    for (int s = 1; s <= GAS.SPECIES_COUNT; ++s) {
        const std::string what =
            surface_item(13, of_triangle("fraction of species " + std::to_string(s), j, n));
        read_item(S.ENTRY_SPECIES_PROPERTIES(1, s, e), what);
        write_list(UNIT_SUMMARY, {"The fraction of species", s, " is", S.ENTRY_SPECIES_PROPERTIES(1, s, e)});
        check_real(SURFACE_DATA_FILE, what, S.ENTRY_SPECIES_PROPERTIES(1, s, e), 0.0, 1.0);
    }
}

// A stream boundary element takes the stream's values as the flow data gave them.
void take_stream_values(int e)
{
    auto& S = SURFACE;
    auto& G = GAS;
    S.ENTRY_PROPERTIES(1, e) = G.STREAM_U;
    S.ENTRY_PROPERTIES(2, e) = G.STREAM_V;
    S.ENTRY_PROPERTIES(3, e) = G.STREAM_W;
    S.ENTRY_PROPERTIES(4, e) = G.STREAM_TEMP;
    S.ENTRY_PROPERTIES(5, e) = G.STREAM_DENSITY;
    for (int s = 1; s <= G.SPECIES_COUNT; ++s)
        S.ENTRY_SPECIES_PROPERTIES(1, s, e) = G.STREAM_FRACTION(s);
}

// Code 0: triangle t copies the properties of the previous triangle of its kind on this surface.
void copy_previous(TriangleCursor& cur, int t, int j, int n)
{
    auto& S = SURFACE;
    if (cur.kind == 0) {
        write_list(UNIT_SUMMARY, {"No values available for previous triangle"});
        write_list(UNIT_DIAG, {"No values available for previous triangle"});
        refuse_item(SURFACE_DATA_FILE, surface_item(7, of_triangle("property code", j, n)), "0",
                    "no earlier triangle of the surface has properties to copy");
    }
    if (cur.kind == CODE_SOLID) {
        int k = next_solid(cur, t, j, n, CODE_SAME_AS_PREVIOUS);
        for (int f = 1; f <= 2; ++f)
            S.SOLID_PROPERTIES(f, k) = S.SOLID_PROPERTIES(f, k - 1);
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s) {
            S.SOLID_SPECIES_PROPERTIES(1, s, k) = S.SOLID_SPECIES_PROPERTIES(1, s, k - 1);
            S.SOLID_SPECIES_PROPERTIES(2, s, k) = S.SOLID_SPECIES_PROPERTIES(2, s, k - 1);
        }
        for (int r = 1; r <= GAS.SURFACE_REACTIONS; ++r)
            S.SOLID_REACTION_PROBABILITY(r, k) = S.SOLID_REACTION_PROBABILITY(r, k - 1);
    } else {
        int e = next_entry(cur, t, j, n, CODE_SAME_AS_PREVIOUS);
        for (int f = 1; f <= 5; ++f)
            S.ENTRY_PROPERTIES(f, e) = S.ENTRY_PROPERTIES(f, e - 1);
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s)
            S.ENTRY_SPECIES_PROPERTIES(1, s, e) = S.ENTRY_SPECIES_PROPERTIES(1, s, e - 1);
    }
}

// Items 6 to 13: triangle j of surface n.
void read_triangle(TriangleCursor& cur, int j, int n)
{
    auto& S = SURFACE;
    const std::string corners_name = of_triangle("corner points", j, n);
    int c[3] = {0, 0, 0};
    read_items(c, 3, surface_item(6, corners_name));
    write_list(UNIT_SUMMARY, {"Triangle", j, " is defined by points", c[0], c[1], c[2]});
    int points = S.SURFACE_POINT_COUNT(n);
    for (int i = 0; i < 3; ++i) {
        if (c[i] < 1 || c[i] > points)
            refuse_item(SURFACE_DATA_FILE, surface_item(6, corners_name), value_text(c[i]),
                        "not a point of the surface (1 to " + std::to_string(points) + ")");
    }
    int t = ++S.TRIANGLE_COUNT;
    for (int i = 0; i < 3; ++i)
        S.TRIANGLE(i + 1, t) = c[i] + S.SURFACE_FIRST_POINT(n);
    S.TRIANGLE_SURFACE(t) = n;
    if (degenerate(t))
        refuse_item(SURFACE_DATA_FILE, surface_item(6, corners_name),
                    value_text(c[0]) + " " + value_text(c[1]) + " " + value_text(c[2]),
                    "the corners lie on one line: the triangle has no area");

    int code = -1;
    read_item(code, surface_item(7, of_triangle("property code", j, n)));
    switch (code) {
    case CODE_SAME_AS_PREVIOUS:
        write_list(UNIT_SUMMARY, {"Triangle", j, " has the same properties as triangle", j - 1});
        copy_previous(cur, t, j, n);
        break;
    case CODE_SOLID: {
        write_list(UNIT_SUMMARY, {"Triangle", j, " is a solid surface"});
        int k = next_solid(cur, t, j, n, code);
        read_solid_properties(k, j, n);
        cur.kind = code;
        break;
    }
    case CODE_SPECIFIED_ENTRY: {
        write_list(UNIT_SUMMARY, {"Triangle", j, " is a specified flow entry segment"});
        int e = next_entry(cur, t, j, n, code);
        read_entry_properties(e, j, n);
        cur.kind = code;
        break;
    }
    case CODE_STREAM_ELEMENT: {
        write_list(UNIT_SUMMARY, {"Triangle", j, " is a stream boundary element"});
        int e = next_entry(cur, t, j, n, code);
        take_stream_values(e);
        cur.kind = code;
        break;
    }
    default:
        // Every triangle must become solid or flow entry: later steps read row 4 of each.
        refuse_item(SURFACE_DATA_FILE, surface_item(7, of_triangle("property code", j, n)), value_text(code),
                    "not a property code (0 to 3)");
    }
}

}  // namespace

void READ_SURFACE_DATA()
{
    auto& S = SURFACE;
    write_list(UNIT_DIAG, {"Reading the data file QR4SD.DAT"});
    unit_open_or_stop(UNIT_DATA, SURFACE_DATA_FILE, UnitMode::READ_TEXT);
    unit_open_or_stop(UNIT_SUMMARY, SURFACE_SUMMARY_FILE, UnitMode::WRITE_TEXT);
    write_list(UNIT_SUMMARY, {"Surface data summary for program QR4T"});
    write_list(UNIT_SUMMARY, {});

    S.POINT_COUNT = 0;
    S.TRIANGLE_COUNT = 0;
    S.SOLID_TRIANGLE_COUNT = 0;
    S.ENTRY_TRIANGLE_COUNT = 0;
    read_item(S.SURFACE_COUNT, surface_item(1, "number of distinct surfaces"));
    write_list(UNIT_SUMMARY, {"The number of distinct surfaces is", S.SURFACE_COUNT});
    if (S.SURFACE_COUNT > 0) {
        allocate_surfaces();
        for (int n = 1; n <= S.SURFACE_COUNT; ++n)
            read_surface_counts(n);
        allocate_points_and_triangles();

        // The second block counts points and triangles again as their global numbers; the solid and
        // flow-entry totals keep the sums of the first block.
        S.POINT_COUNT = 0;
        S.TRIANGLE_COUNT = 0;
        TriangleCursor cur;
        for (int n = 1; n <= S.SURFACE_COUNT; ++n) {
            write_list(UNIT_SUMMARY, {"DATA FOR SURFACE", n});
            write_list(UNIT_SUMMARY, {});
            for (int i = 1; i <= S.SURFACE_POINT_COUNT(n); ++i)
                read_point(i, n);
            // Each triangle becomes solid or flow entry, neither kind past its count, and the two
            // counts add up to the surface's triangles: so both counts are met exactly at the end.
            cur.surface_solid = 0;
            cur.surface_entry = 0;
            cur.kind = 0;
            for (int j = 1; j <= S.SURFACE_TRIANGLE_COUNT(n); ++j)
                read_triangle(cur, j, n);
        }
    }
    // Both files are closed here, so that the summary is complete on disk while the run goes on.
    unit_close(UNIT_SUMMARY);
    unit_close(UNIT_DATA);
    write_list(UNIT_DIAG, {"Surface Data has been Read"});
}
