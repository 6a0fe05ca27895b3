// Values that the data model cannot hold: each is refused with a message naming the file, the item and
// the value, and a fatal stop, before it indexes, sizes or divides anything. An allocation failure
// writes the group's "PROGRAM COULD NOT ALLOCATE ..." line to the log, then stops.
#include "app/casedata/casedata.h"
#include "case_files.h"
#include "case_test_support.h"

#include "base/machine_memory.h"

#include <cstdint>
#include <vector>

namespace {

struct RefusalCase {
    const char* name;
    Items flow;     // overrides of the flow-data template
    Items surface;  // overrides of the surface-data template (read only when `read_surface`)
    bool read_surface;
    std::vector<std::string> message;  // pieces the fatal message must hold
    const char* log_line;              // a line the diagnostic log must hold before the stop ("" none)
};

const RefusalCase REFUSALS[] = {
    // box and grid
    {"ZeroXExtent", {{"XMAX", "0."}}, {}, false, {"QR4TD.DAT item 2 (XMAX): value 0"}, ""},
    {"NegativeZExtent", {{"ZMAX", "-1."}}, {}, false, {"QR4TD.DAT item 6 (ZMAX): value -1"}, ""},
    {"LimitBeyondRealRange",
     {{"XMIN", "-1.E39"}},
     {},
     false,
     {"\"-1.E39\"", "item 1 (XMIN)", "QR4TD.DAT"},
     ""},
    {"TinyExtentOverflowsScaling", {{"XMAX", "1.E-44"}}, {}, false, {"items 1 to 6 (box limits)"}, ""},
    {"NoDivisions", {{"DIVY", "0"}}, {}, false, {"item 8 (DIVISIONS_Y): value 0"}, ""},
    {"NegativeElements", {{"ELZ", "-3"}}, {}, false, {"item 12 (ELEMENTS_PER_DIVISION_Z): value -3"}, ""},
    {"TooManyElements",
     {{"DIVX", "100000"}, {"ELX", "100000"}},
     {},
     false,
     {"item 10 (ELEMENTS_PER_DIVISION_X): value 100000", "2147483647 elements"},
     ""},
    // counts
    {"NoSpecies", {{"SPECIES", "0"}}, {}, false, {"item 13 (number of molecular species): value 0"}, ""},
    {"NegativeModes", {{"MAXVIB", "-1"}}, {}, false, {"item 14", "value -1"}, ""},
    {"NegativeReactions", {{"REACTIONS", "-2"}}, {}, false, {"item 15", "value -2"}, ""},
    {"NegativeTables", {{"TABLES", "-1"}}, {}, false, {"item 16", "value -1"}, ""},
    {"NegativeSurfaceReactions", {{"SURFREACTIONS", "-1"}}, {}, false, {"item 17", "value -1"}, ""},
    // species
    {"ZeroDiameter",
     {{"DIAM1", "0."}},
     {},
     false,
     {"item 18 (reference diameter of species 1): value 0"},
     ""},
    {"NegativeMass",
     {{"MASS1", "-4.E-26"}},
     {},
     false,
     {"item 21 (molecular mass of species 1): value -4e-26"},
     ""},
    {"ModesAboveMaximum",
     {{"MODES1", "2"}},
     {},
     false,
     {"item 24 (number of vibrational modes of species 1): value 2"},
     ""},
    // gas reactions
    {"ReactantNotASpecies", {{"A", "3"}}, {}, false, {"item 28", "of gas reaction 1", "value 3"}, ""},
    {"ReactantZero", {{"B", "0"}}, {}, false, {"item 29", "value 0"}, ""},
    {"RecombinationCodeBelowMinusOne", {{"P1", "-2"}}, {}, false, {"item 30", "value -2"}, ""},
    {"RecombinationProductNotASpecies", {{"P2", "5"}}, {}, false, {"item 31", "value 5"}, ""},
    {"ThirdBodyTableMissing", {{"P3", "-2"}}, {}, false, {"item 32", "value -2"}, ""},
    {"ThirdBodyTableZero", {{"P3", "0"}}, {}, false, {"item 32", "value 0"}, ""},
    {"DissociationProductNotASpecies", {{"P1", "3"}}, {}, false, {"item 30", "value 3"}, ""},
    {"ExchangeProductNotASpecies", {{"P1", "0"}, {"P3", "9"}}, {}, false, {"item 32", "value 9"}, ""},
    // surface reactions
    {"SurfaceIncidentNone",
     {{"SR_IN1", "0"}},
     {},
     false,
     {"item 39", "of surface reaction 1", "value 0"},
     ""},
    {"SurfaceSecondIncident", {{"SR_IN2", "3"}}, {}, false, {"item 40", "value 3"}, ""},
    {"SurfaceSixthProduct", {{"SR_OUT6", "7"}}, {}, false, {"item 46", "sixth reflected", "value 7"}, ""},
    // stream, sides, modes and run settings
    {"ZeroStreamTemperature", {{"STREAM_T", "0."}}, {}, false, {"item 49 (stream temperature): value 0"}, ""},
    {"BoundaryCodeZero", {{"SIDE6", "0"}}, {}, false, {"item 54 (code of side 6): value 0"}, ""},
    {"BoundaryCodeEight", {{"SIDE3", "8"}}, {}, false, {"item 54 (code of side 3): value 8"}, ""},
    {"ZeroFnum", {{"FNUM", "0."}}, {}, false, {"item 65", "value 0"}, ""},
    {"NoSamples", {{"SAMPLES", "0"}}, {}, false, {"item 70", "value 0"}, ""},
    {"NoMolecules", {{"MNM", "0"}}, {}, false, {"item 72", "value 0"}, ""},
    {"NoMovesPerCollisionTime", {{"MOVES1", "0"}}, {}, false, {"item 73", "value 0"}, ""},
    {"NegativeMovesPerTransit", {{"MOVES2", "-1"}}, {}, false, {"item 74", "value -1"}, ""},
    {"IndexModeTwo", {{"INDEX", "2"}}, {}, false, {"item 75 (indexing mode): value 2"}, ""},
    {"ContinuousIndexingListTooLong",
     {{"INDEX", "1"}, {"MNM", "400000000"}},
     {},
     false,
     {"item 72", "value 400000000"},
     ""},
    // Every real item: finite and within the range its meaning allows. NaN and infinite values, a
    // denormal mass or weight, and powers, fractions, energies and speeds that no gas has were taken as
    // read; some made the time step 0 (the loop logged "TIME 0" for ever), some grew the molecule store
    // without end, a reference time of 0 ended the run before its first pass with status 0.
    // Found by the whole-program fuzz test: a box of 1E38 m overflowed the cell set-up.
    {"BoxBeyondOneE12",
     {{"XMIN", "-1.E38"}},
     {},
     false,
     {"QR4TD.DAT item 1 (XMIN): value -1e+38: outside -1e+12 to 1e+12"},
     ""},
    {"DenormalDiameter",
     {{"DIAM1", "1.E-45"}},
     {},
     false,
     {"QR4TD.DAT item 18 (reference diameter of species 1): value 1e-45", "at least 1.1754944e-38"},
     ""},
    {"NanReferenceTemperature",
     {{"TREF1", "NaN"}},
     {},
     false,
     {"QR4TD.DAT item 19 (reference temperature of species 1): value nan: not a finite number"},
     ""},
    {"ViscosityPowerLawHuge",
     {{"OMEGA1", "-2147483648"}},
     {},
     false,
     {"QR4TD.DAT item 20 (viscosity-temperature power law of species 1): value -2147483648: outside 0 to 2"},
     ""},
    {"DenormalMass",
     {{"MASS1", "1.E-45"}},
     {},
     false,
     {"QR4TD.DAT item 21 (molecular mass of species 1): value 1e-45"},
     ""},
    {"InfiniteMass",
     {{"MASS1", "Inf"}},
     {},
     false,
     {"QR4TD.DAT item 21 (molecular mass of species 1): value inf"},
     ""},
    {"RotationalDegreesOfFreedomFive",
     {{"ROT1", "5"}},
     {},
     false,
     {"QR4TD.DAT item 22 (rotational degrees of freedom of species 1): value 5"},
     ""},
    {"ZeroVibrationalTemperature",
     {{"VIBT", "0."}},
     {},
     false,
     {"QR4TD.DAT item 25 (characteristic vibrational temperature of mode 1 of species 1): value 0"},
     ""},
    {"NegativeC1",
     {{"VC1", "-1."}},
     {},
     false,
     {"QR4TD.DAT item 26 (C1 of mode 1 of species 1): value -1"},
     ""},
    {"NanC2", {{"VC2", "NaN"}}, {}, false, {"QR4TD.DAT item 27 (C2 of mode 1 of species 1): value nan"}, ""},
    {"NegativeDegreesOfFreedom",
     {{"DOF", "-1."}},
     {},
     false,
     {"QR4TD.DAT item 33 (contributing internal degrees of freedom of gas reaction 1): value -1: outside 0 "
      "to 100"},
     ""},
    {"NegativeActivationEnergy",
     {{"EA", "-1.E-19"}},
     {},
     false,
     {"QR4TD.DAT item 34 (activation energy of gas reaction 1): value -1e-19"},
     ""},
    {"InfinitePreExponential",
     {{"PRE", "Inf"}},
     {},
     false,
     {"QR4TD.DAT item 35 (pre-exponential parameter of gas reaction 1): value inf"},
     ""},
    {"TemperatureExponentFifty",
     {{"TEXP", "50."}},
     {},
     false,
     {"QR4TD.DAT item 36 (temperature exponent of gas reaction 1): value 50: outside -10 to 10"},
     ""},
    {"HugeReactionEnergy",
     {{"EREACT", "1.E-10"}},
     {},
     false,
     {"QR4TD.DAT item 37 (energy of the reaction of gas reaction 1): value 1e-10: outside -1e-15 to 1e-15"},
     ""},
    {"NegativeThirdBodyFactor",
     {{"TB1", "-1."}},
     {},
     false,
     {"QR4TD.DAT item 38 (value of species 1 in third-body table 1): value -1"},
     ""},
    {"NanSurfaceReactionEnergy",
     {{"SR_E", "NaN"}},
     {},
     false,
     {"QR4TD.DAT item 47 (energy input to the surface of surface reaction 1): value nan"},
     ""},
    {"NegativeStreamDensity",
     {{"STREAM_N", "-1.E20"}},
     {},
     false,
     {"QR4TD.DAT item 48 (stream number density): value -1e+20: outside 0 to"},
     ""},
    {"NanStreamTemperature",
     {{"STREAM_T", "NaN"}},
     {},
     false,
     {"QR4TD.DAT item 49 (stream temperature): value nan"},
     ""},
    {"InfiniteStreamVelocity",
     {{"STREAM_U", "Inf"}},
     {},
     false,
     {"QR4TD.DAT item 50 (stream velocity in x): value inf: not a finite number"},
     ""},
    {"StreamFasterThanLight",
     {{"STREAM_U", "-1.E9"}},
     {},
     false,
     {"QR4TD.DAT item 50 (stream velocity in x): value -1e+09: outside -3e+08 to 3e+08"},
     ""},
    {"StreamFractionTwo",
     {{"FRAC1", "2."}},
     {},
     false,
     {"QR4TD.DAT item 53 (stream fraction of species 1): value 2: outside 0 to 1"},
     ""},
    {"InfiniteWallSpeed",
     {{"SIDE1", "7"}, {"WALL", "Inf"}},
     {},
     false,
     {"QR4TD.DAT item 55 (speed of the moving wall): value inf"},
     ""},
    {"NanSeparationBoundary",
     {{"INITIAL_GAS", "1"}, {"SECONDARY", "NaN\n1.E20\n300.\n0.\n0.\n0.\n0.5\n0.5"}},
     {},
     false,
     {"QR4TD.DAT item 58 (position of the separation boundary): value nan"},
     ""},
    {"NegativeSecondaryTemperature",
     {{"INITIAL_GAS", "1"}, {"SECONDARY", "10.\n1.E20\n-300.\n0.\n0.\n0.\n0.5\n0.5"}},
     {},
     false,
     {"QR4TD.DAT item 60 (secondary-stream temperature): value -300"},
     ""},
    {"HugeSecondaryFraction",
     {{"INITIAL_GAS", "1"}, {"SECONDARY", "10.\n1.E20\n300.\n0.\n0.\n0.\n1.E38\n0.5"}},
     {},
     false,
     {"QR4TD.DAT item 64 (secondary-stream fraction of species 1): value 1e+38: outside 0 to 1"},
     ""},
    {"DenormalFnum",
     {{"FNUM", "1.E-45"}},
     {},
     false,
     {"QR4TD.DAT item 65 (molecule weight FNUM): value 1e-45"},
     ""},
    {"NullFnum", {{"FNUM", ","}}, {}, false, {"QR4TD.DAT item 65 (molecule weight FNUM): value null"}, ""},
    {"ZeroReferenceTime",
     {{"REF_TIME", "0."}},
     {},
     false,
     {"QR4TD.DAT item 66 (reference time): value 0"},
     ""},
    {"NanOutputInterval",
     {{"OUTPUT", "NaN"}},
     {},
     false,
     {"QR4TD.DAT item 68 (output interval): value nan"},
     ""},
    {"NegativeOutputInterval",
     {{"OUTPUT", "-1."}},
     {},
     false,
     {"QR4TD.DAT item 68 (output interval): value -1"},
     ""},
    {"AveragingFractionTwo",
     {{"SECOND_SAMPLING", "2."}},
     {},
     false,
     {"QR4TD.DAT item 69 (averaging fraction): value 2: above 1"},
     ""},
    {"NanWallTemperature",
     {},
     {{"TW", "NaN"}},
     true,
     {"QR4SD.DAT item 8 (surface temperature of triangle 1 of surface 1): value nan"},
     ""},
    {"SpecularFractionAboveOne",
     {},
     {{"SPECULAR", "1.5"}},
     true,
     {"QR4SD.DAT item 9 (fraction of specular reflection of triangle 1 of surface 1): value 1.5: outside 0 "
      "to 1"},
     ""},
    {"NegativeAdsorbedFraction",
     {},
     {{"ADS", "-0.5"}},
     true,
     {"QR4SD.DAT item 10 (adsorbed fraction of species 1 of triangle 1 of surface 1): value -0.5"},
     ""},
    {"NegativeOutgasFlux",
     {},
     {{"OUTGAS", "-1."}},
     true,
     {"QR4SD.DAT item 10 (outgas mass flux of species 1 of triangle 1 of surface 1): value -1"},
     ""},
    {"SurfaceReactionProbabilityTwo",
     {},
     {{"PROB", "2."}},
     true,
     {"QR4SD.DAT item 11 (probability of surface reaction 1 of triangle 1 of surface 1): value 2"},
     ""},
    {"InfiniteEntryVelocity",
     {},
     {{"C2", "2"}, {"ENTRY", "Inf\n0.\n0.\n300.\n1.E20\n0.5\n0.5"}},
     true,
     {"QR4SD.DAT item 12 (velocity component in x of triangle 2 of surface 1): value inf"},
     ""},
    {"ZeroEntryTemperature",
     {},
     {{"C2", "2"}, {"ENTRY", "0.\n0.\n0.\n0.\n1.E20\n0.5\n0.5"}},
     true,
     {"QR4SD.DAT item 12 (gas temperature of triangle 2 of surface 1): value 0"},
     ""},
    {"NegativeEntryDensity",
     {},
     {{"C2", "2"}, {"ENTRY", "0.\n0.\n0.\n300.\n-1.\n0.5\n0.5"}},
     true,
     {"QR4SD.DAT item 12 (number density of triangle 2 of surface 1): value -1"},
     ""},
    {"EntryFractionSeven",
     {},
     {{"C2", "2"}, {"ENTRY", "0.\n0.\n0.\n300.\n1.E20\n7.\n0.5"}},
     true,
     {"QR4SD.DAT item 13 (fraction of species 1 of triangle 2 of surface 1): value 7"},
     ""},
    // allocation failures: the group's "PROGRAM COULD NOT ALLOCATE ..." line, then the stop
    {"SpeciesArraysTooLarge",
     {{"SPECIES", "20000"}},
     {},
     false,
     {"item 13", "value 20000"},
     " PROGRAM COULD NOT ALLOCATE NUMBER OF SPECIES"},
    {"VibrationArraysTooLarge",
     {{"MAXVIB", "2000000000"}},
     {},
     false,
     {"item 14", "value 2000000000"},
     " PROGRAM COULD NOT ALLOCATE VIBRATIONAL MODES"},
    {"ReactionInputTooLarge",
     {{"REACTIONS", "2000000000"}},
     {},
     false,
     {"item 15"},
     " PROGRAM COULD NOT ALLOCATE REACTION INPUT"},
    {"SurfaceReactionInputTooLarge",
     {{"SURFREACTIONS", "2000000000"}},
     {},
     false,
     {"item 17"},
     " PROGRAM COULD NOT ALLOCATE SURFACE REACTION INPUT"},
    // Found by fuzzing: each array of a group within the limit, the group far beyond it (ten
    // reaction-input arrays of 859 MB, 8.6 GB in all, for a file of 621 bytes).
    {"ReactionInputGroupTooLarge",
     {{"REACTIONS", "214748364"}},
     {},
     false,
     {"item 15", "value 214748364"},
     " PROGRAM COULD NOT ALLOCATE REACTION INPUT"},
    // surface data
    {"NegativePointCount",
     {},
     {{"NPOINTS", "-1"}},
     true,
     {"QR4SD.DAT item 2 (number of points of surface 1): value -1"},
     ""},
    {"NegativeSolidCount", {}, {{"NSOLID", "-1"}}, true, {"QR4SD.DAT item 3", "value -1"}, ""},
    {"NegativeEntryCount", {}, {{"NENTRY", "-5"}}, true, {"QR4SD.DAT item 4", "value -5"}, ""},
    {"CornerBeyondPoints",
     {},
     {{"T1", "1 2 5"}},
     true,
     {"QR4SD.DAT item 6 (corner points of triangle 1 of surface 1): value 5", "(1 to 4)"},
     ""},
    {"CornerZero", {}, {{"T1", "0 2 3"}}, true, {"item 6", "value 0"}, ""},
    {"RepeatedCorner", {}, {{"T1", "1 2 2"}}, true, {"item 6", "value 1 2 2", "no area"}, ""},
    {"CollinearCorners",
     {},
     {{"P4", "2. 0. 0."}},
     true,
     {"item 6 (corner points of triangle 2", "no area"},
     ""},
    {"PropertyCodeFour",
     {},
     {{"C1", "4"}},
     true,
     {"item 7 (property code of triangle 1 of surface 1): value 4"},
     ""},
    {"PropertyCodeNegative", {}, {{"C1", "-1"}}, true, {"item 7", "value -1"}, ""},
    {"MoreSolidThanCounted",
     {},
     {{"NSOLID", "0"}, {"NENTRY", "2"}},
     true,
     {"item 7 (property code of triangle 1", "value 1", "only 0 solid"},
     ""},
    {"CopyBeyondSolidCount",
     {},
     {{"C2", "0"}},
     true,
     {"item 7 (property code of triangle 2", "value 0", "only 1 solid"},
     ""},
    // Found by the fuzz test: a surface's solid and entry counts each fit, their sum overflowed.
    {"TriangleCountOverflows",
     {},
     {{"NSOLID", "2147483647"}, {"NENTRY", "1"}},
     true,
     {"QR4SD.DAT item 4", "value 1", "pass 2147483647"},
     ""},
    {"MoreEntryThanCounted",
     {},
     {{"NENTRY", "0"}, {"NSOLID", "2"}, {"C1", "3"}},
     true,
     {"item 7", "value 3", "only 0 flow entry"},
     ""},
    {"CoordinateBeyondRealRange",
     {},
     {{"P4", "0. 0. 1.E39"}},
     true,
     {"\"1.E39\"", "item 5 (coordinates of point 4 of surface 1)", "QR4SD.DAT"},
     ""},
    {"CoordinateInfiniteOnceScaled",
     {{"XMAX", "2."}, {"ZMAX", "1."}},
     {{"P4", "0. 0. 3.E38"}},
     true,
     {"item 5 (coordinates of point 4", "value 3e+38"},
     ""},
    {"SurfaceArraysTooLarge",
     {},
     {{"NSURF", "2000000000"}},
     true,
     {"QR4SD.DAT item 1", "value 2000000000"},
     " PROGRAM COULD NOT ALLOCATE NUMBER OF SURFACES"},
    {"PointArraysTooLarge",
     {},
     {{"NPOINTS", "500000000"}},
     true,
     {"QR4SD.DAT", "value 500000000"},
     " PROGRAM COULD NOT ALLOCATE NUMBER OF POINTS"},
    // Found by fuzzing: four point arrays of 800 MB each.
    {"PointGroupTooLarge",
     {},
     {{"NPOINTS", "200000000"}},
     true,
     {"QR4SD.DAT", "value 200000000"},
     " PROGRAM COULD NOT ALLOCATE NUMBER OF POINTS"},
    {"TriangleArraysTooLarge",
     {},
     {{"NSOLID", "100000000"}},
     true,
     {"QR4SD.DAT", "value 100000001"},
     " PROGRAM COULD NOT ALLOCATE TRIANGLES"},
};

void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.name;
}

class RefusalTest : public CaseFolderTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, StopsWithMessageNamingFileItemAndValue)
{
    const RefusalCase& c = GetParam();
    write_file("QR4TD.DAT", flow_file(c.flow));
    write_file("QR4SD.DAT", surface_file(c.surface));
    std::string message;
    try {
        READ_FLOW_DATA();
        ASSERT_TRUE(c.read_surface) << "the flow data was accepted";
        READ_SURFACE_DATA();
        FAIL() << "the surface data was accepted";
    } catch (const FatalStopped& stop) {
        message = stop.what();
    }
    for (const std::string& piece : c.message)
        EXPECT_NE(message.find(piece), std::string::npos) << "message: " << message << "\nlacks: " << piece;
    std::string log = written("DIAG.TXT");
    if (*c.log_line) {
        EXPECT_NE(log.find(std::string(c.log_line) + "\r\n"), std::string::npos) << log;
    }
    // The stop's own message is in the log too.
    EXPECT_NE(log.find(message.substr(0, 20)), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusalTest, ::testing::ValuesIn(REFUSALS),
                         [](const auto& info) { return std::string(info.param.name); });

// A grid whose arrays the machine cannot hold, or whose element cells no restart record can hold, is
// refused before anything is allocated, naming items 7 to 12 and their values. Before, a grid of 6E8
// elements was accepted and its arrays grew past the machine's memory. Machines of a given size stand
// in for this one.
TEST_F(CaseFolderTest, GridBeyondMemoryOrRestartRecordIsRefused)
{
    struct Case {
        std::uint64_t memory;  // bytes of the machine
        const char* divx;      // DIVISIONS_X = ELEMENTS_PER_DIVISION_X; the template's other four are 2
        const char* refusal;   // a piece of the message, "" when accepted
    } cases[] = {
        // 160000 elements (1.92 MB of element arrays, 6.4 kB of division records)
        {1000000, "100",
         "value 100 x 2 x 2 x 100 x 2 x 2: the arrays of its 160000 elements need 1926400 bytes"},
        {2000000, "100", ""},
        // 1.6E9 elements: 6.4 GB of cells in one record, whatever the memory
        {0, "10000",
         "value 10000 x 2 x 2 x 10000 x 2 x 2: the grid's 1600000000 elements pass the 536870911"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.divx);
        set_machine_memory_for_tests(c.memory);
        write_file("QR4TD.DAT", flow_file({{"DIVX", c.divx}, {"ELX", c.divx}}));
        std::string message;
        try {
            READ_FLOW_DATA();
        } catch (const FatalStopped& stop) {
            message = stop.what();
        }
        set_machine_memory_for_tests(0);
        if (*c.refusal) {
            EXPECT_NE(message.find(std::string("QR4TD.DAT items 7 to 12 (DIVISIONS_X, _Y, _Z, "
                                               "ELEMENTS_PER_DIVISION_X, _Y, _Z): ") +
                                   c.refusal),
                      std::string::npos)
                << message;
        } else {
            EXPECT_EQ(message, "");
        }
    }
}

// The template files themselves are accepted: every refusal above comes from its one changed item.
TEST_F(CaseFolderTest, TemplatesAreAccepted)
{
    write_file("QR4TD.DAT", flow_file());
    write_file("QR4SD.DAT", surface_file());
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    EXPECT_EQ(SURFACE.TRIANGLE(TRIANGLE_KIND, 1), 1);
    EXPECT_EQ(SURFACE.TRIANGLE(TRIANGLE_KIND, 2), -1);
    EXPECT_EQ(GAS.REACTION_PRODUCTS(2, 1, 1), -1);

    // A specified flow-entry triangle with sound values is accepted too.
    write_file("QR4TD.DAT", flow_file());
    write_file("QR4SD.DAT", surface_file({{"C2", "2"}, {"ENTRY", "0.\n0.\n-10.\n300.\n1.E20\n0.5\n0.5"}}));
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    EXPECT_EQ(SURFACE.ENTRY_PROPERTIES(3, 1), -10.0f);
}

}  // namespace
