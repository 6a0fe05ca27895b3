// READ_FLOW_DATA: the flow-data file "QR4TD.DAT", items 1 to 38 (box, divisions and elements, the
// counts of the case, the species with their rotation and vibration, the gas reactions and the
// third-body tables), echoed item by item to the summary "QR4TD.TXT". The items from 39 on are read by
// read_flow_settings (flow_data_settings.cpp) on the same open files; the reaction tables are built
// last (reaction_tables.cpp).
//
// The file is list-directed text, one item per record, in a fixed order without keywords. The reader
// refuses values that the data model cannot hold (counts that size arrays, species codes, mode
// counts, box extents) with a message naming the file, the item and the value, since later steps
// would index or divide by them.
#include "app/casedata/case_input.h"
#include "app/casedata/casedata.h"
#include "app/casedata/flow_data.h"
#include "app/state/box.h"
#include "app/state/gas.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/machine_memory.h"
#include "base/records.h"
#include "base/units.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

constexpr double BOX_LIMIT = 1.0e12;  // largest magnitude of a box limit, in metres

std::string of_species(const std::string& what, int L)
{
    return what + " of species " + std::to_string(L);
}

std::string of_reaction(const std::string& what, int J)
{
    return what + " of gas reaction " + std::to_string(J);
}

// A count read from the file must lie in [low, high].
void check_count(int value, int low, int high, int number, const std::string& what, const std::string& reason)
{
    if (value < low || value > high)
        refuse_item(FLOW_DATA_FILE, flow_item(number, what), value_text(value), reason);
}

// A species code read from the file must name a species.
void check_species(int code, int number, const std::string& what)
{
    int species = GAS.SPECIES_COUNT;
    if (code < 1 || code > species)
        refuse_item(FLOW_DATA_FILE, flow_item(number, what), value_text(code),
                    "not a species code (1 to " + std::to_string(species) + ")");
}

// Items 1 to 6, the box limits, and the scale factor. Every length of the data is multiplied by
// SCALE_FACTOR, so that a small box gets a smallest extent of 10.
void read_box()
{
    auto& B = BOX;
    read_item(B.XMIN, flow_item(1, "XMIN"));
    read_item(B.XMAX, flow_item(2, "XMAX"));
    read_item(B.YMIN, flow_item(3, "YMIN"));
    read_item(B.YMAX, flow_item(4, "YMAX"));
    read_item(B.ZMIN, flow_item(5, "ZMIN"));
    read_item(B.ZMAX, flow_item(6, "ZMAX"));
    write_list(UNIT_SUMMARY, {"x limits of flowfield are", B.XMIN, ",", B.XMAX});
    write_list(UNIT_SUMMARY, {"y limits of flowfield are", B.YMIN, ",", B.YMAX});
    write_list(UNIT_SUMMARY, {"z limits of flowfield are", B.ZMIN, ",", B.ZMAX});

    // The extents, rounded to 4-byte reals as the limits are.
    const float limits[6] = {B.XMIN, B.XMAX, B.YMIN, B.YMAX, B.ZMIN, B.ZMAX};
    static const char* const names[6] = {"XMIN", "XMAX", "YMIN", "YMAX", "ZMIN", "ZMAX"};
    float extent[3];
    for (int d = 0; d < 3; ++d) {
        float low = limits[2 * d];
        float high = limits[2 * d + 1];
        extent[d] = static_cast<float>(static_cast<double>(high) - low);
        // A box of no extent makes the scale factor infinite and the divisions empty. Limits beyond
        // 1E12 m (a box far larger than any rarefied flow) carry the geometry's volumes and products of
        // lengths past the range of 4-byte reals.
        check_real(FLOW_DATA_FILE, flow_item(2 * d + 1, names[2 * d]), low, -BOX_LIMIT, BOX_LIMIT);
        check_real(FLOW_DATA_FILE, flow_item(2 * d + 2, names[2 * d + 1]), high, -BOX_LIMIT, BOX_LIMIT);
        if (!std::isfinite(high) || !(extent[d] > 0.0f) || !std::isfinite(extent[d]))
            refuse_item(FLOW_DATA_FILE, flow_item(2 * d + 2, names[2 * d + 1]), value_text(high),
                        std::string("the upper box limit must lie above the lower one, ") + names[2 * d] +
                            " = " + value_text(low));
    }

    B.SCALE_FACTOR = 1.0f;
    if (extent[0] < 10.0f) {
        float smallest = extent[0];
        if (extent[1] < smallest)
            smallest = extent[1];
        if (extent[2] < smallest)
            smallest = extent[2];
        B.SCALE_FACTOR = static_cast<float>(10.0 / smallest);
    }
    write_list(UNIT_DIAG, {"The Scale Factor is", B.SCALE_FACTOR});
    for (float* v : {&B.XMIN, &B.XMAX, &B.YMIN, &B.YMAX, &B.ZMIN, &B.ZMAX}) {
        *v = static_cast<float>(static_cast<double>(*v) * B.SCALE_FACTOR);
        // A tiny extent gives a scale factor that carries the limits past the 4-byte range.
        if (!std::isfinite(*v))
            refuse_item(FLOW_DATA_FILE, "items 1 to 6 (box limits)", value_text(B.SCALE_FACTOR),
                        "this scale factor takes the box limits beyond the range of 4-byte reals");
    }
}

// Bytes of the grid's arrays per element: the cell of every element, which the run keeps, and the
// surface element number and marking code of every element, which the set-up holds beside it. Per
// division: its three-field record and the head of its triangle list.
constexpr double GRID_BYTES_PER_ELEMENT = 12.0;
constexpr double GRID_BYTES_PER_DIVISION = 16.0;

// The grid that items 7 to 12 describe must fit, before any of it is allocated: the cells of all its
// elements form one record of the restart set, and its arrays must fit in the memory of the machine.
// Without the check a grid of 6E8 elements was accepted and its arrays filled memory for minutes.
void check_grid_size(const int counts[6], double elements)
{
    const double divisions = double(counts[0]) * counts[1] * counts[2];
    const std::string items = "items 7 to 12 (DIVISIONS_X, _Y, _Z, ELEMENTS_PER_DIVISION_X, _Y, _Z)";
    std::string value;
    for (int i = 0; i < 6; ++i)
        value += (i > 0 ? " x " : "") + std::to_string(counts[i]);
    const double record_elements = double(RECORD_LIMIT / sizeof(std::int32_t));
    if (elements > record_elements)
        refuse_item(FLOW_DATA_FILE, items, value,
                    "the grid's " + std::to_string(static_cast<long long>(elements)) + " elements pass the " +
                        std::to_string(static_cast<long long>(record_elements)) +
                        " whose cells one record of the restart set (QR4TV1.RES) can hold");
    const double bytes = elements * GRID_BYTES_PER_ELEMENT + divisions * GRID_BYTES_PER_DIVISION;
    const double memory = static_cast<double>(machine_memory_bytes());
    if (memory > 0.0 && bytes > memory)
        refuse_item(FLOW_DATA_FILE, items, value,
                    "the arrays of its " + std::to_string(static_cast<long long>(elements)) +
                        " elements need " + std::to_string(static_cast<long long>(bytes)) +
                        " bytes, more than the " + std::to_string(static_cast<long long>(memory)) +
                        " bytes of memory this machine has");
}

// Items 7 to 12: divisions of the box and elements per division.
void read_divisions()
{
    auto& B = BOX;
    read_item(B.DIVISIONS_X, flow_item(7, "DIVISIONS_X"));
    read_item(B.DIVISIONS_Y, flow_item(8, "DIVISIONS_Y"));
    read_item(B.DIVISIONS_Z, flow_item(9, "DIVISIONS_Z"));
    write_list(UNIT_SUMMARY,
               {B.DIVISIONS_X, ",", B.DIVISIONS_Y, ",", B.DIVISIONS_Z, " divisions in the x,y directions"});
    read_item(B.ELEMENTS_PER_DIVISION_X, flow_item(10, "ELEMENTS_PER_DIVISION_X"));
    read_item(B.ELEMENTS_PER_DIVISION_Y, flow_item(11, "ELEMENTS_PER_DIVISION_Y"));
    read_item(B.ELEMENTS_PER_DIVISION_Z, flow_item(12, "ELEMENTS_PER_DIVISION_Z"));
    write_list(UNIT_SUMMARY, {B.ELEMENTS_PER_DIVISION_X, ",", B.ELEMENTS_PER_DIVISION_Y, ",",
                              B.ELEMENTS_PER_DIVISION_Z, " elements per division in the x,y directions"});

    // The division and element arrays of the geometry are sized by these counts, and elements are
    // numbered in 4-byte integers.
    const int counts[6] = {B.DIVISIONS_X,
                           B.DIVISIONS_Y,
                           B.DIVISIONS_Z,
                           B.ELEMENTS_PER_DIVISION_X,
                           B.ELEMENTS_PER_DIVISION_Y,
                           B.ELEMENTS_PER_DIVISION_Z};
    static const char* const names[6] = {"DIVISIONS_X",
                                         "DIVISIONS_Y",
                                         "DIVISIONS_Z",
                                         "ELEMENTS_PER_DIVISION_X",
                                         "ELEMENTS_PER_DIVISION_Y",
                                         "ELEMENTS_PER_DIVISION_Z"};
    double elements = 1.0;
    for (int i = 0; i < 6; ++i) {
        check_count(counts[i], 1, INT32_MAX, 7 + i, names[i], "a count of 1 or more is needed");
        elements *= counts[i];
        if (elements > INT32_MAX)
            refuse_item(FLOW_DATA_FILE, flow_item(7 + i, names[i]), value_text(counts[i]),
                        "the box would have more than 2147483647 elements");
    }
    check_grid_size(counts, elements);
}

// The groups "NUMBER OF SPECIES" and "VIBRATIONAL MODES", allocated after item 14.
void allocate_species()
{
    auto& G = GAS;
    int S = G.SPECIES_COUNT;
    CaseArrayGroup species;
    bool ok = species.allocate(G.SPECIES_DATA, 4, S) && species.allocate(G.STREAM_FRACTION, S) &&
              species.allocate(G.SECONDARY_FRACTION, S) && species.allocate(G.SPECIES_PAIR_DATA, 7, S, S) &&
              species.allocate(G.SPECIES_ROTATION, 2, S) && species.allocate(G.VIB_MODE_COUNT, S) &&
              species.allocate(G.CP_LEFT_MIN_X, S) && species.allocate(G.CP_LEFT_MAX_X, S) &&
              species.allocate(G.CP_ENTERED_MIN_X, S) && species.allocate(G.CP_ENTERED_MAX_X, S) &&
              species.allocate(G.SEPARATION_CROSSINGS, S);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE NUMBER OF SPECIES", FLOW_DATA_FILE,
                        flow_item(13, "number of molecular species"), value_text(S));
    int M = G.MAX_VIB_MODES;
    CaseArrayGroup vibration;
    ok = vibration.allocate(G.VIB_TEMP, M, S) && vibration.allocate(G.VIB_RELAX, 2, M, S);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE VIBRATIONAL MODES", FLOW_DATA_FILE,
                        flow_item(14, "maximum number of vibrational modes"), value_text(M));
}

// The group "REACTION INPUT", allocated after item 16 when there are gas reactions.
void allocate_reaction_input(ReactionInput& in)
{
    CaseArrayGroup group;
    int N = GAS.GAS_REACTIONS;
    bool ok = group.allocate(in.THIRD_BODY_VALUES, GAS.THIRD_BODY_TABLES, GAS.SPECIES_COUNT) &&
              group.allocate(in.REACTANT_A, N) && group.allocate(in.REACTANT_B, N) &&
              group.allocate(in.CODE_P1, N) && group.allocate(in.CODE_P2, N) &&
              group.allocate(in.CODE_P3, N) && group.allocate(in.INTERNAL_DOF, N) &&
              group.allocate(in.ACTIVATION_ENERGY, N) && group.allocate(in.PRE_EXPONENTIAL, N) &&
              group.allocate(in.TEMPERATURE_EXPONENT, N) && group.allocate(in.REACTION_ENERGY, N);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE REACTION INPUT", FLOW_DATA_FILE,
                        flow_item(15, "number of chemical reactions"), value_text(N));
}

// The group "SURFACE REACTION INPUT", allocated after item 17 (one element when there are none).
void allocate_surface_reaction_input()
{
    CaseArrayGroup group;
    auto& G = GAS;
    int N = G.SURFACE_REACTION_DIM;
    bool ok = group.allocate(G.SURF_REACTANTS, 2, N) && group.allocate(G.SURF_REACTION_PRODUCTS, 6, N) &&
              group.allocate(G.SURF_REACTION_ENERGY, N);
    if (!ok)
        stop_allocation("PROGRAM COULD NOT ALLOCATE SURFACE REACTION INPUT", FLOW_DATA_FILE,
                        flow_item(17, "number of surface reactions"), value_text(G.SURFACE_REACTIONS));
}

// Items 13 to 17: the counts of the case, each followed by the allocation it sizes.
void read_counts(ReactionInput& input)
{
    auto& G = GAS;
    read_item(G.SPECIES_COUNT, flow_item(13, "number of molecular species"));
    write_list(UNIT_SUMMARY, {"The number of molecular species is", G.SPECIES_COUNT});
    check_count(G.SPECIES_COUNT, 1, INT32_MAX, 13, "number of molecular species",
                "a case needs at least one species");
    read_item(G.MAX_VIB_MODES, flow_item(14, "maximum number of vibrational modes"));
    write_list(UNIT_SUMMARY, {"Maximum number of vibrational modes of any species is", G.MAX_VIB_MODES});
    check_count(G.MAX_VIB_MODES, 0, INT32_MAX, 14, "maximum number of vibrational modes",
                "a count cannot be negative");
    allocate_species();

    read_item(G.GAS_REACTIONS, flow_item(15, "number of chemical reactions"));
    write_list(UNIT_SUMMARY, {"The number of chemical reactions is", G.GAS_REACTIONS});
    check_count(G.GAS_REACTIONS, 0, INT32_MAX, 15, "number of chemical reactions",
                "a count cannot be negative");
    G.THIRD_BODY_TABLES = 0;
    if (G.GAS_REACTIONS > 0) {
        read_item(G.THIRD_BODY_TABLES, flow_item(16, "number of third-body tables"));
        write_list(UNIT_SUMMARY, {"The number of third-body tables is", G.THIRD_BODY_TABLES});
        check_count(G.THIRD_BODY_TABLES, 0, INT32_MAX, 16, "number of third-body tables",
                    "a count cannot be negative");
        allocate_reaction_input(input);
    }

    read_item(G.SURFACE_REACTIONS, flow_item(17, "number of surface reactions"));
    check_count(G.SURFACE_REACTIONS, 0, INT32_MAX, 17, "number of surface reactions",
                "a count cannot be negative");
    G.SURFACE_REACTION_DIM = G.SURFACE_REACTIONS == 0 ? 1 : G.SURFACE_REACTIONS;
    write_list(UNIT_SUMMARY, {"The number of surface reactions is", G.SURFACE_REACTIONS});
    allocate_surface_reaction_input();
}

// Items 25 to 27 for mode K of species L.
void read_vibration_mode(int K, int L)
{
    auto& G = GAS;
    std::string mode = "mode " + std::to_string(K) + " of species " + std::to_string(L);
    read_item(G.VIB_TEMP(K, L), flow_item(25, "characteristic vibrational temperature of " + mode));
    write_list(UNIT_SUMMARY, {"Char. temperature of mode", K, " of species", L, " is", G.VIB_TEMP(K, L)});
    read_item(G.VIB_RELAX(1, K, L), flow_item(26, "C1 of " + mode));
    read_item(G.VIB_RELAX(2, K, L), flow_item(27, "C2 of " + mode));
    float C1 = G.VIB_RELAX(1, K, L);
    float C2 = G.VIB_RELAX(2, K, L);
    // The vibrational levels are drawn with STREAM_TEMP / VIB_TEMP; C1 is a collision number (or the
    // constant of one) and C2 an exponent constant.
    check_positive_real(FLOW_DATA_FILE, flow_item(25, "characteristic vibrational temperature of " + mode),
                        G.VIB_TEMP(K, L), FLT_MAX);
    check_positive_real(FLOW_DATA_FILE, flow_item(26, "C1 of " + mode), C1, FLT_MAX);
    check_real(FLOW_DATA_FILE, flow_item(27, "C2 of " + mode), C2, -FLT_MAX, FLT_MAX);
    if (C2 > 0.0f) {
        write_list(UNIT_SUMMARY, {"The constant C1 in eqn(6.53) is", C1});
        write_list(UNIT_SUMMARY, {"The constant C2 in eqn(6.53) is", C2});
    } else {
        write_list(UNIT_SUMMARY, {"The constant vibrational collision number is", C1});
    }
}

// Items 18 to 27 for species L.
void read_species(int L)
{
    auto& G = GAS;
    read_item(G.SPECIES_DATA(1, L), flow_item(18, of_species("reference diameter", L)));
    read_item(G.SPECIES_DATA(2, L), flow_item(19, of_species("reference temperature", L)));
    read_item(G.SPECIES_DATA(3, L), flow_item(20, of_species("viscosity-temperature power law", L)));
    read_item(G.SPECIES_DATA(4, L), flow_item(21, of_species("molecular mass", L)));
    write_list(UNIT_SUMMARY, {"The reference diameter of species", L, " is", G.SPECIES_DATA(1, L)});
    write_list(UNIT_SUMMARY, {"The reference temperature of species", L, " is", G.SPECIES_DATA(2, L)});
    write_list(UNIT_SUMMARY,
               {"The viscosity-temperature power law of species", L, " is", G.SPECIES_DATA(3, L)});
    write_list(UNIT_SUMMARY, {"The molecular mass of species", L, " is", G.SPECIES_DATA(4, L)});
    // The collision constants divide by the diameter's square, the reference temperature and the
    // mass (Bird 1994, eqs. 4.62-4.63): a value of 0 or less, or a denormal one, gives infinities and
    // NaNs. The viscosity-temperature exponent is 0.5 for hard spheres and 1 for Maxwell molecules;
    // far outside, (T / Tref)^(1 - w) and the gamma function of 2.5 - w overflow.
    static const char* const names[5] = {"", "reference diameter", "reference temperature", "",
                                         "molecular mass"};
    for (int field : {1, 2, 4})
        check_positive_real(FLOW_DATA_FILE, flow_item(17 + field, of_species(names[field], L)),
                            G.SPECIES_DATA(field, L), FLT_MAX);
    check_real(FLOW_DATA_FILE, flow_item(20, of_species("viscosity-temperature power law", L)),
               G.SPECIES_DATA(3, L), 0.0, 2.0);

    read_item(G.SPECIES_ROTATION(1, L), flow_item(22, of_species("rotational degrees of freedom", L)));
    write_list(UNIT_SUMMARY,
               {"Species", L, " has", G.SPECIES_ROTATION(1, L), " rotational degrees of freedom"});
    // A molecule rotates about at most three axes; the energy sampling knows 0, 2 and 3 (and 1).
    check_count(G.SPECIES_ROTATION(1, L), 0, 3, 22, of_species("rotational degrees of freedom", L),
                "a molecule has 0 to 3 rotational degrees of freedom");
    if (G.SPECIES_ROTATION(1, L) <= 0)
        return;
    read_item(G.SPECIES_ROTATION(2, L),
              flow_item(23, of_species("rotational relaxation collision number", L)));
    write_list(UNIT_SUMMARY, {"and the relaxation collision number is", G.SPECIES_ROTATION(2, L)});
    check_count(G.SPECIES_ROTATION(2, L), 0, INT32_MAX, 23,
                of_species("rotational relaxation collision number", L),
                "a collision number cannot be negative");
    if (G.MAX_VIB_MODES <= 0)
        return;
    read_item(G.VIB_MODE_COUNT(L), flow_item(24, of_species("number of vibrational modes", L)));
    write_list(UNIT_SUMMARY, {"Species", L, " has", G.VIB_MODE_COUNT(L), " vibrational modes"});
    // The vibration arrays hold MAX_VIB_MODES modes per species.
    check_count(G.VIB_MODE_COUNT(L), 0, G.MAX_VIB_MODES, 24, of_species("number of vibrational modes", L),
                "must lie in 0 to the maximum number of modes, " + std::to_string(G.MAX_VIB_MODES));
    for (int K = 1; K <= G.VIB_MODE_COUNT(L); ++K)
        read_vibration_mode(K, L);
}

// Items 28 to 37 for gas reaction J.
void read_gas_reaction(ReactionInput& in, int J)
{
    write_list(UNIT_SUMMARY, {});
    write_list(UNIT_SUMMARY, {"The following data is for gas phase reaction", J});
    write_list(UNIT_SUMMARY, {});
    read_item(in.REACTANT_A(J), flow_item(28, of_reaction("species code of one molecule", J)));
    write_list(UNIT_SUMMARY, {"Species code of one molecule is", in.REACTANT_A(J)});
    check_species(in.REACTANT_A(J), 28, of_reaction("species code of one molecule", J));
    read_item(in.REACTANT_B(J), flow_item(29, of_reaction("species code of the other molecule", J)));
    write_list(UNIT_SUMMARY, {"Species code of the other molecule is", in.REACTANT_B(J)});
    check_species(in.REACTANT_B(J), 29, of_reaction("species code of the other molecule", J));

    const std::string p1_name = of_reaction("reaction code P1", J);
    const std::string p2_name = of_reaction("reaction code P2", J);
    const std::string p3_name = of_reaction("reaction code P3", J);
    read_item(in.CODE_P1(J), flow_item(30, p1_name));
    read_item(in.CODE_P2(J), flow_item(31, p2_name));
    read_item(in.CODE_P3(J), flow_item(32, p3_name));
    int P1 = in.CODE_P1(J);
    int P2 = in.CODE_P2(J);
    int P3 = in.CODE_P3(J);
    if (P1 > 0) {
        write_list(UNIT_SUMMARY, {"First post-reaction species code in the dissociation", P1});
        write_list(UNIT_SUMMARY, {"Second post-reaction species code", P2});
        write_list(UNIT_SUMMARY, {"Third post-reaction species code", P3});
        check_species(P1, 30, p1_name);
        check_species(P2, 31, p2_name);
        check_species(P3, 32, p3_name);
    } else if (P1 < 0) {
        write_list(UNIT_SUMMARY, {"The reaction is a recombination"});
        write_list(UNIT_SUMMARY, {"The post-recombination species code", P2});
        if (P3 > 0)
            write_list(UNIT_SUMMARY, {"The species code of the third-body is", P3});
        else
            write_list(UNIT_SUMMARY, {"The code of the third-body table is", -P3});
        // The reaction tables know only -1 as the recombination code; a lower code would leave the
        // reaction without products.
        if (P1 < -1)
            refuse_item(FLOW_DATA_FILE, flow_item(30, p1_name), value_text(P1),
                        "a recombination has the code -1");
        check_species(P2, 31, p2_name);
        if (P3 > 0) {
            check_species(P3, 32, p3_name);
        } else if (-static_cast<long long>(P3) < 1 || -static_cast<long long>(P3) > GAS.THIRD_BODY_TABLES) {
            refuse_item(FLOW_DATA_FILE, flow_item(32, p3_name), value_text(P3),
                        "neither a species code nor minus a third-body table number (-1 to -" +
                            std::to_string(GAS.THIRD_BODY_TABLES) + ")");
        }
    } else {
        write_list(UNIT_SUMMARY, {"The reaction is an exchange reaction"});
        write_list(UNIT_SUMMARY, {"One post-reaction species code", P2});
        write_list(UNIT_SUMMARY, {"Other post-collision species code", P3});
        check_species(P2, 31, p2_name);
        check_species(P3, 32, p3_name);
    }

    read_item(in.INTERNAL_DOF(J), flow_item(33, of_reaction("contributing internal degrees of freedom", J)));
    write_list(UNIT_SUMMARY, {"The number of contributing internal degrees of freedom", in.INTERNAL_DOF(J)});
    read_item(in.ACTIVATION_ENERGY(J), flow_item(34, of_reaction("activation energy", J)));
    write_list(UNIT_SUMMARY, {"The activation energy", in.ACTIVATION_ENERGY(J)});
    read_item(in.PRE_EXPONENTIAL(J), flow_item(35, of_reaction("pre-exponential parameter", J)));
    write_list(UNIT_SUMMARY, {"1.E10 times the pre-exponential parameter", in.PRE_EXPONENTIAL(J)});
    read_item(in.TEMPERATURE_EXPONENT(J), flow_item(36, of_reaction("temperature exponent", J)));
    write_list(UNIT_SUMMARY, {"The temperature exponent in the rate equation", in.TEMPERATURE_EXPONENT(J)});
    read_item(in.REACTION_ENERGY(J), flow_item(37, of_reaction("energy of the reaction", J)));
    write_list(UNIT_SUMMARY, {"The energy of the reaction", in.REACTION_ENERGY(J)});
    // The rate factors take gamma functions of the degrees of freedom and powers of the temperature
    // exponent; the energies are those of one molecular event, in joules.
    check_real(FLOW_DATA_FILE, flow_item(33, of_reaction("contributing internal degrees of freedom", J)),
               in.INTERNAL_DOF(J), 0.0, 100.0);
    check_real(FLOW_DATA_FILE, flow_item(34, of_reaction("activation energy", J)), in.ACTIVATION_ENERGY(J),
               0.0, REACTION_ENERGY_LIMIT);
    check_real(FLOW_DATA_FILE, flow_item(35, of_reaction("pre-exponential parameter", J)),
               in.PRE_EXPONENTIAL(J), 0.0, FLT_MAX);
    check_real(FLOW_DATA_FILE, flow_item(36, of_reaction("temperature exponent", J)),
               in.TEMPERATURE_EXPONENT(J), -10.0, 10.0);
    check_real(FLOW_DATA_FILE, flow_item(37, of_reaction("energy of the reaction", J)), in.REACTION_ENERGY(J),
               -REACTION_ENERGY_LIMIT, REACTION_ENERGY_LIMIT);
}

// Item 38 for third-body table T.
void read_third_body_table(ReactionInput& in, int T)
{
    write_list(UNIT_SUMMARY, {});
    write_list(UNIT_SUMMARY, {"The following data is for third-body probability", T});
    write_list(UNIT_SUMMARY, {});
    for (int L = 1; L <= GAS.SPECIES_COUNT; ++L) {
        read_item(in.THIRD_BODY_VALUES(T, L), flow_item(38, "value of species " + std::to_string(L) +
                                                                " in third-body table " + std::to_string(T)));
        write_list(UNIT_SUMMARY, {"That for species", L, " is", in.THIRD_BODY_VALUES(T, L)});
        // A third-body efficiency relative to the reference species.
        check_real(FLOW_DATA_FILE,
                   flow_item(38, "value of species " + std::to_string(L) + " in third-body table " +
                                     std::to_string(T)),
                   in.THIRD_BODY_VALUES(T, L), 0.0, 1000.0);
    }
}

}  // namespace

std::string flow_item(int number, const std::string& what)
{
    return "item " + std::to_string(number) + " (" + what + ")";
}

void READ_FLOW_DATA()
{
    unit_open_or_stop(UNIT_DATA, FLOW_DATA_FILE, UnitMode::READ_TEXT);
    unit_open_or_stop(UNIT_SUMMARY, FLOW_SUMMARY_FILE, UnitMode::WRITE_TEXT);
    write_list(UNIT_SUMMARY, {"Data summary for program QR4T"});

    ReactionInput input;
    read_box();
    read_divisions();
    read_counts(input);
    auto& G = GAS;
    for (int L = 1; L <= G.SPECIES_COUNT; ++L)
        read_species(L);
    for (int J = 1; J <= G.GAS_REACTIONS; ++J)
        read_gas_reaction(input, J);
    if (G.GAS_REACTIONS > 0) {
        for (int T = 1; T <= G.THIRD_BODY_TABLES; ++T)
            read_third_body_table(input, T);
    }
    read_flow_settings();

    unit_close(UNIT_SUMMARY);
    unit_close(UNIT_DATA);
    write_list(UNIT_DIAG, {"The data summary QR4TD.TXT has been written"});
    // The mode count is read only for species that rotate; the others have no vibration.
    if (G.MAX_VIB_MODES > 0) {
        for (int L = 1; L <= G.SPECIES_COUNT; ++L) {
            if (G.SPECIES_ROTATION(1, L) == 0)
                G.VIB_MODE_COUNT(L) = 0;
        }
    }
    build_reaction_tables(input);
}
