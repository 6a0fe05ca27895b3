// The second half of READ_FLOW_DATA: items 39 to 76 of "QR4TD.DAT" (surface reactions, stream, the six
// sides of the box with the moving-wall rule, initial state and secondary stream, run settings), read
// on the files that the first half opened and echoed to "QR4TD.TXT".
#include "app/casedata/case_input.h"
#include "app/casedata/flow_data.h"
#include "app/state/box.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "base/edit_format.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"
#include "toolkit/win/entry.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

std::string of_surface_reaction(const std::string& what, int N)
{
    return what + " of surface reaction " + std::to_string(N);
}

// An optional species code: 0 or less is "none", anything else must name a species.
void check_optional_species(int code, int number, const std::string& what)
{
    int species = GAS.SPECIES_COUNT;
    if (code > species)
        refuse_item(FLOW_DATA_FILE, flow_item(number, what), value_text(code),
                    "not a species code (1 to " + std::to_string(species) + ", or 0 for none)");
}

// A count that later steps divide by.
void check_positive(int value, int number, const std::string& what)
{
    if (value < 1)
        refuse_item(FLOW_DATA_FILE, flow_item(number, what), value_text(value),
                    "a value of 1 or more is needed");
}

// Items 39 to 47 for surface reaction N.
void read_surface_reaction(int N)
{
    auto& G = GAS;
    write_list(UNIT_SUMMARY, {});
    write_list(UNIT_SUMMARY, {"The following data is for surface reaction", N});
    write_list(UNIT_SUMMARY, {});

    const std::string first = of_surface_reaction("species code of the first incident molecule", N);
    read_item(G.SURF_REACTANTS(1, N), flow_item(39, first));
    write_list(UNIT_SUMMARY, {"Species code of the first incident molecule is", G.SURF_REACTANTS(1, N)});
    if (G.SURF_REACTANTS(1, N) < 1 || G.SURF_REACTANTS(1, N) > G.SPECIES_COUNT)
        refuse_item(FLOW_DATA_FILE, flow_item(39, first), value_text(G.SURF_REACTANTS(1, N)),
                    "not a species code (1 to " + std::to_string(G.SPECIES_COUNT) + ")");
    const std::string second = of_surface_reaction("species code of the second incident molecule", N);
    read_item(G.SURF_REACTANTS(2, N), flow_item(40, second));
    if (G.SURF_REACTANTS(2, N) > 0)
        write_list(UNIT_SUMMARY, {"Species code of the second incident molecule is", G.SURF_REACTANTS(2, N)});
    check_optional_species(G.SURF_REACTANTS(2, N), 40, second);

    // Items 41 to 46: the six reflected species; the first is echoed whatever its value.
    static const char* const ordinal[7] = {"", "first", "second", "third", "fourth", "fifth", "sixth"};
    static const char* const label[7] = {"",
                                         "Species code of the first reflected molecule is",
                                         "Species code of the second reflected molecule is",
                                         "Species code of the third reflected molecule is",
                                         "Species code of the fourth reflected molecule is",
                                         "Species code of the fifth reflected molecule is",
                                         "Species code of the sixth reflected molecule is"};
    for (int i = 1; i <= 6; ++i) {
        const std::string what =
            of_surface_reaction(std::string("species code of the ") + ordinal[i] + " reflected molecule", N);
        int& code = G.SURF_REACTION_PRODUCTS(i, N);
        read_item(code, flow_item(40 + i, what));
        if (i == 1 || code > 0)
            write_list(UNIT_SUMMARY, {label[i], code});
        check_optional_species(code, 40 + i, what);
    }

    read_item(G.SURF_REACTION_ENERGY(N),
              flow_item(47, of_surface_reaction("energy input to the surface", N)));
    write_list(UNIT_SUMMARY, {"The energy input to the surface is", G.SURF_REACTION_ENERGY(N)});
    check_real(FLOW_DATA_FILE, flow_item(47, of_surface_reaction("energy input to the surface", N)),
               G.SURF_REACTION_ENERGY(N), -REACTION_ENERGY_LIMIT, REACTION_ENERGY_LIMIT);
}

// A number density: 0 or more (a stream of density 0 enters nothing).
void check_density(float value, int number, const std::string& what)
{
    check_real(FLOW_DATA_FILE, flow_item(number, what), value, 0.0, FLT_MAX);
}

// A temperature that most probable speeds are formed from.
void check_temperature(float value, int number, const std::string& what)
{
    check_positive_real(FLOW_DATA_FILE, flow_item(number, what), value, FLT_MAX);
}

void check_velocity(float value, int number, const std::string& what)
{
    check_real(FLOW_DATA_FILE, flow_item(number, what), value, -SPEED_LIMIT, SPEED_LIMIT);
}

void check_fraction(float value, int number, const std::string& what)
{
    check_real(FLOW_DATA_FILE, flow_item(number, what), value, 0.0, 1.0);
}

// Items 48 to 53: the stream (or reference gas).
void read_stream()
{
    auto& G = GAS;
    read_item(G.STREAM_DENSITY, flow_item(48, "stream number density"));
    write_list(UNIT_SUMMARY, {"The number density of the stream or reference gas is", G.STREAM_DENSITY});
    check_density(G.STREAM_DENSITY, 48, "stream number density");
    read_item(G.STREAM_TEMP, flow_item(49, "stream temperature"));
    write_list(UNIT_SUMMARY, {"The stream temperature is", G.STREAM_TEMP});
    // The most probable speeds and the time step are formed from this temperature.
    check_temperature(G.STREAM_TEMP, 49, "stream temperature");
    read_item(G.STREAM_U, flow_item(50, "stream velocity in x"));
    write_list(UNIT_SUMMARY, {"The velocity component in the x direction is", G.STREAM_U});
    check_velocity(G.STREAM_U, 50, "stream velocity in x");
    read_item(G.STREAM_V, flow_item(51, "stream velocity in y"));
    write_list(UNIT_SUMMARY, {"The velocity component in the y direction is", G.STREAM_V});
    check_velocity(G.STREAM_V, 51, "stream velocity in y");
    read_item(G.STREAM_W, flow_item(52, "stream velocity in z"));
    write_list(UNIT_SUMMARY, {"The velocity component in the z direction is", G.STREAM_W});
    check_velocity(G.STREAM_W, 52, "stream velocity in z");
    for (int L = 1; L <= G.SPECIES_COUNT; ++L) {
        const std::string what = "stream fraction of species " + std::to_string(L);
        read_item(G.STREAM_FRACTION(L), flow_item(53, what));
        write_list(UNIT_SUMMARY, {"The fraction of species", L, " is", G.STREAM_FRACTION(L)});
        check_fraction(G.STREAM_FRACTION(L), 53, what);
    }
}

// Item 54: the code of each side, with the moving-wall rule, then item 55.
void read_boundaries()
{
    static const char* const side_label[BOX_SIDES + 1] = {"",
                                                          "The side at the minimum x coord is",
                                                          "The side at the maximum x coord is",
                                                          "The side at the minimum y coord is",
                                                          "The side at the maximum y coord is",
                                                          "The side at the minimum z coord is",
                                                          "The side at the maximum z coord is"};
    static const char* const code_text[8] = {"",
                                             "the axis of symmetry",
                                             "a plane of symmetry",
                                             "a stream boundary",
                                             "a vacuum boundary",
                                             "a periodic boundary",
                                             "a constant pressure boundary",
                                             "a specular wall moving into the flow"};
    auto& B = BOX;
    for (int K = 1; K <= BOX_SIDES; ++K) {
        int& code = B.BOUNDARY_CODE(K);
        read_item(code, flow_item(54, "code of side " + std::to_string(K)));
        write_list(UNIT_SUMMARY, {side_label[K]});
        if (code == BOUNDARY_MOVING_WALL && K != 1) {
            // Only the side at XMIN can move. The user is told in a message box; the stop is then a
            // failed run, so it also leaves its message in the log and a non-zero exit status.
            std::string text = "Boundary" + format_integer(K, "(I4)") + " has been set as a moving wall!  " +
                               "(. Only boundary 1 at x=XMIN can move.)";
            WMessageBox(0, 1, 0, text, "Illegal Boundary Specification");
            refuse_item(FLOW_DATA_FILE, flow_item(54, "code of side " + std::to_string(K)), value_text(code),
                        "only side 1 at XMIN can be a moving wall");
        }
        if (code >= BOUNDARY_AXIS && code <= BOUNDARY_MOVING_WALL)
            write_list(UNIT_SUMMARY, {code_text[code]});
        else
            // The move has no treatment for another code: molecules would leave the box at that side.
            refuse_item(FLOW_DATA_FILE, flow_item(54, "code of side " + std::to_string(K)), value_text(code),
                        "not a boundary code (1 to 7)");
    }
    if (B.BOUNDARY_CODE(1) == BOUNDARY_MOVING_WALL) {
        read_item(B.WALL_SPEED, flow_item(55, "speed of the moving wall"));
        write_list(UNIT_SUMMARY, {"The speed of the moving wall is", B.WALL_SPEED});
        check_velocity(B.WALL_SPEED, 55, "speed of the moving wall");
    }
}

// Items 56 to 64: the initial state and the secondary stream.
void read_initial_state()
{
    auto& G = GAS;
    read_item(G.INITIAL_STATE, flow_item(56, "initial state"));
    if (G.INITIAL_STATE == 1)
        write_list(UNIT_SUMMARY, {"The stream is the initial state of the flow"});
    else if (G.INITIAL_STATE == 2)
        write_list(UNIT_SUMMARY, {"The initial state of the flow is a vacuum"});
    read_item(G.INITIAL_GAS, flow_item(57, "initial gas"));
    if (G.INITIAL_GAS == 0) {
        write_list(UNIT_SUMMARY, {"The initial gas is homogeneous at the stream conditions"});
        return;
    }
    read_item(G.SEPARATION_X, flow_item(58, "position of the separation boundary"));
    write_list(UNIT_SUMMARY, {"A flow separation boundary divides the stream and secondary stream at"});
    if (G.INITIAL_GAS == 1)
        write_list(UNIT_SUMMARY, {"x =", G.SEPARATION_X});
    // The boundary may lie outside the box (one of the two gases then fills nothing), but it must be
    // a position.
    check_real(FLOW_DATA_FILE, flow_item(58, "position of the separation boundary"), G.SEPARATION_X, -FLT_MAX,
               FLT_MAX);
    G.SEPARATION_X = static_cast<float>(static_cast<double>(G.SEPARATION_X) * BOX.SCALE_FACTOR);
    if (!std::isfinite(G.SEPARATION_X))
        refuse_item(FLOW_DATA_FILE, flow_item(58, "position of the separation boundary"),
                    value_text(G.SEPARATION_X), "beyond the range of 4-byte reals once scaled");
    read_item(G.SECONDARY_DENSITY, flow_item(59, "secondary-stream number density"));
    write_list(UNIT_SUMMARY, {"The number density of the secondary stream is", G.SECONDARY_DENSITY});
    check_density(G.SECONDARY_DENSITY, 59, "secondary-stream number density");
    read_item(G.SECONDARY_TEMP, flow_item(60, "secondary-stream temperature"));
    write_list(UNIT_SUMMARY, {"The secondary stream temperature is", G.SECONDARY_TEMP});
    check_temperature(G.SECONDARY_TEMP, 60, "secondary-stream temperature");
    read_item(G.SECONDARY_U, flow_item(61, "secondary-stream velocity in x"));
    write_list(UNIT_SUMMARY, {"The velocity component in the x direction is", G.SECONDARY_U});
    check_velocity(G.SECONDARY_U, 61, "secondary-stream velocity in x");
    read_item(G.SECONDARY_V, flow_item(62, "secondary-stream velocity in y"));
    write_list(UNIT_SUMMARY, {"The velocity component in the y direction is", G.SECONDARY_V});
    check_velocity(G.SECONDARY_V, 62, "secondary-stream velocity in y");
    read_item(G.SECONDARY_W, flow_item(63, "secondary-stream velocity in z"));
    write_list(UNIT_SUMMARY, {"The velocity component in the z direction is", G.SECONDARY_W});
    check_velocity(G.SECONDARY_W, 63, "secondary-stream velocity in z");
    for (int L = 1; L <= G.SPECIES_COUNT; ++L) {
        const std::string what = "secondary-stream fraction of species " + std::to_string(L);
        read_item(G.SECONDARY_FRACTION(L), flow_item(64, what));
        write_list(UNIT_SUMMARY,
                   {"The fraction of species", L, " in the secondary stream is", G.SECONDARY_FRACTION(L)});
        check_fraction(G.SECONDARY_FRACTION(L), 64, what);
    }
}

// Items 65 to 76: the run settings.
void read_run_settings()
{
    auto& R = RUN;
    read_item(R.FNUM, flow_item(65, "molecule weight FNUM"));
    write_list(UNIT_SUMMARY, {"Each simulated molecule represents", R.FNUM, " real molecules"});
    // Entry rates and densities divide by the molecule weight.
    check_positive_real(FLOW_DATA_FILE, flow_item(65, "molecule weight FNUM"), R.FNUM, FLT_MAX);
    read_item(R.REF_TIME, flow_item(66, "reference time"));
    write_list(UNIT_SUMMARY, {"The reference time is", R.REF_TIME});
    // The stop time and the output interval are multiples of the reference time: with 0 the run
    // would end before its first pass, reported as success.
    check_positive_real(FLOW_DATA_FILE, flow_item(66, "reference time"), R.REF_TIME, FLT_MAX);
    R.REF_TIME = static_cast<float>(static_cast<double>(R.REF_TIME) * BOX.SCALE_FACTOR);
    if (!std::isfinite(R.REF_TIME) || !(R.REF_TIME >= FLT_MIN))
        refuse_item(FLOW_DATA_FILE, flow_item(66, "reference time"), value_text(R.REF_TIME),
                    "beyond the range of 4-byte reals once scaled");

    read_item(R.SAMPLING_MODE, flow_item(67, "sampling type"));
    if (R.SAMPLING_MODE == 0)
        write_list(UNIT_SUMMARY, {"The sampling is for an unsteady flow"});
    else
        write_list(UNIT_SUMMARY, {"The sampling is for an eventual steady flow"});
    read_item(R.OUTPUT_INTERVAL_REF, flow_item(68, "output interval"));
    write_list(UNIT_SUMMARY,
               {"Results are output at intervals of", R.OUTPUT_INTERVAL_REF, " times the reference time"});
    check_positive_real(FLOW_DATA_FILE, flow_item(68, "output interval"), R.OUTPUT_INTERVAL_REF, FLT_MAX);
    if (R.SAMPLING_MODE == 0) {
        read_item(R.AVERAGING_FRACTION, flow_item(69, "averaging fraction"));
        write_list(UNIT_SUMMARY, {"Fraction of time interval for time-averaging", R.AVERAGING_FRACTION});
        check_positive_real(FLOW_DATA_FILE, flow_item(69, "averaging fraction"), R.AVERAGING_FRACTION, 1.0);
    } else {
        R.AVERAGING_FRACTION = 1.0f;
    }
    read_item(R.SAMPLES_PER_OUTPUT, flow_item(70, "samples per output interval"));
    write_list(UNIT_SUMMARY, {"There are", R.SAMPLES_PER_OUTPUT, " samples in each output interval"});
    // The sample interval is the output interval divided by this count.
    check_positive(R.SAMPLES_PER_OUTPUT, 70, "samples per output interval");
    if (R.SAMPLING_MODE == 1) {
        read_item(R.STEADY_AFTER_OUTPUTS, flow_item(71, "output intervals before steady flow"));
        write_list(UNIT_SUMMARY,
                   {"Steady flow is assumed after", R.STEADY_AFTER_OUTPUTS, " output intervals"});
    }
    read_item(R.MNM, flow_item(72, "maximum number of molecules"));
    write_list(UNIT_SUMMARY, {"The maximum number of molecules is", R.MNM});
    // The molecule store is allocated with this capacity.
    check_positive(R.MNM, 72, "maximum number of molecules");
    read_item(R.MOVES_PER_COLL_TIME, flow_item(73, "moves per mean collision time"));
    write_list(UNIT_SUMMARY,
               {"There are", R.MOVES_PER_COLL_TIME, " molecule moves each mean collision time"});
    // The time step is the mean collision time or the cell transit time divided by these counts.
    check_positive(R.MOVES_PER_COLL_TIME, 73, "moves per mean collision time");
    read_item(R.MOVES_PER_TRANSIT, flow_item(74, "moves per cell transit time"));
    write_list(UNIT_SUMMARY, {"There are", R.MOVES_PER_TRANSIT, " molecule moves each cell transit time"});
    check_positive(R.MOVES_PER_TRANSIT, 74, "moves per cell transit time");

    read_item(R.INDEX_MODE, flow_item(75, "indexing mode"));
    if (R.INDEX_MODE == INDEX_NORMAL) {
        write_list(UNIT_SUMMARY, {"Normal indexing is used"});
        R.XREF_SIZE = 1;
    } else if (R.INDEX_MODE == INDEX_CONTINUOUS) {
        write_list(UNIT_SUMMARY, {"Continuous indexing is used"});
        // 6.0 x MNM in 4-byte reals, truncated; the list must stay addressable by 4-byte integers.
        double size = double(6.0f) * static_cast<double>(static_cast<float>(R.MNM));
        if (size > INT32_MAX)
            refuse_item(
                FLOW_DATA_FILE, flow_item(72, "maximum number of molecules"), value_text(R.MNM),
                "continuous indexing needs a list of 6 times this many entries, more than 2147483647");
        R.XREF_SIZE = static_cast<int>(size);
    } else {
        // With another mode the molecules would be indexed into cells neither way.
        refuse_item(FLOW_DATA_FILE, flow_item(75, "indexing mode"), value_text(R.INDEX_MODE),
                    "not an indexing mode (0 normal, 1 continuous)");
    }
    read_item(R.SUBCELL_MODE, flow_item(76, "sub-cell mode"));
    if (R.SUBCELL_MODE == SUBCELLS_NONE)
        write_list(UNIT_SUMMARY, {"There are no sub-cells"});
    else if (R.SUBCELL_MODE == SUBCELLS_TRANSIENT)
        write_list(UNIT_SUMMARY, {"Transient sub-cells are implemented"});
}

}  // namespace

void read_flow_settings()
{
    for (int N = 1; N <= GAS.SURFACE_REACTIONS; ++N)
        read_surface_reaction(N);
    read_stream();
    read_boundaries();
    read_initial_state();
    read_run_settings();
}
