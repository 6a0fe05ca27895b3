// Whole data sets read by both readers, compared with summary and log files written by hand from the
// reading and writing rules, byte for byte, and the state the readers leave.
#include "app/casedata/casedata.h"
#include "case_test_support.h"

namespace {

class CaseGoldenTest : public CaseFolderTest {
protected:
    // Reads both data files of a fixture set and compares the three text files with its golden ones.
    void read_and_compare(const std::string& name)
    {
        copy_fixture(name);
        READ_FLOW_DATA();
        READ_SURFACE_DATA();
        for (const char* file : {"QR4TD.TXT", "QR4SD.TXT", "DIAG.TXT"})
            EXPECT_EQ(written(file), read_file(fixture_dir(name) / file)) << file;
    }
};

// One species without reactions, a box of 2 x 1 x 4 (scale factor 10), no surfaces. LF line ends,
// descriptions after the values and blank lines between items.
TEST_F(CaseGoldenTest, OneSpeciesWithoutReactions)
{
    read_and_compare("one_species");
    EXPECT_EQ(BOX.SCALE_FACTOR, 10.0f);
    EXPECT_EQ(BOX.XMAX, 20.0f);
    EXPECT_EQ(BOX.YMAX, 10.0f);
    EXPECT_EQ(BOX.ZMAX, 40.0f);
    EXPECT_EQ(RUN.REF_TIME, static_cast<float>(double(1.e-5f) * 10.0f));
    EXPECT_EQ(RUN.AVERAGING_FRACTION, 1.0f);
    EXPECT_EQ(RUN.XREF_SIZE, 1);
    EXPECT_EQ(GAS.GAS_REACTION_DIM, 1);
    EXPECT_EQ(GAS.THIRD_BODY_DIM, 1);
    EXPECT_EQ(GAS.SURFACE_REACTION_DIM, 1);
    EXPECT_EQ(GAS.SURF_REACTANTS.size(), 2u);
    EXPECT_EQ(GAS.REACTION_PAIR_LIST.size(), 1u);
    EXPECT_EQ(GAS.REACTION_PAIR_COUNT(1, 1), 0);
    EXPECT_EQ(GAS.VIB_TEMP.size(), 0u);
    EXPECT_TRUE(GAS.VIB_TEMP.allocated());
    EXPECT_EQ(SURFACE.SURFACE_COUNT, 0);
    EXPECT_EQ(SURFACE.TRIANGLE_COUNT, 0);
    EXPECT_FALSE(SURFACE.TRIANGLE.allocated());
}

// Three species with rotation and vibration; a dissociation, an exchange and a recombination with a
// third-body table; two surface reactions; a moving wall; a secondary stream; continuous indexing.
// Two surfaces with solid, specified flow-entry and stream triangles and the copy code. CR LF data.
TEST_F(CaseGoldenTest, ReactingGasWithTwoSurfaces)
{
    read_and_compare("reacting_gas");
    const auto& G = GAS;
    EXPECT_EQ(BOX.SCALE_FACTOR, 1.0f);
    EXPECT_EQ(BOX.BOUNDARY_CODE(1), BOUNDARY_MOVING_WALL);
    EXPECT_EQ(BOX.BOUNDARY_CODE(6), BOUNDARY_PLANE);
    EXPECT_EQ(BOX.WALL_SPEED, 250.0f);
    EXPECT_EQ(G.SEPARATION_X, 10.0f);
    EXPECT_EQ(RUN.XREF_SIZE, 600006);
    EXPECT_EQ(RUN.AVERAGING_FRACTION, 0.5f);
    // Species 2 does not rotate, so its mode count was never read and is 0.
    EXPECT_EQ(G.VIB_MODE_COUNT(1), 1);
    EXPECT_EQ(G.VIB_MODE_COUNT(2), 0);
    EXPECT_EQ(G.VIB_MODE_COUNT(3), 1);
    EXPECT_EQ(G.VIB_TEMP(1, 3), 2270.0f);
    EXPECT_EQ(G.VIB_RELAX(2, 1, 1), 220.0f);

    // Reaction tables: dissociation 1 (products 2, 2 from reactant 1 and 2 from reactant 2), exchange
    // 2, recombination 3 with third-body table 1 stored as -1.
    EXPECT_EQ(G.GAS_REACTION_DIM, 3);
    EXPECT_EQ(G.THIRD_BODY_DIM, 1);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(1, 1), 2);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(2, 1), 1);
    EXPECT_EQ(G.REACTION_PRODUCTS(1, 1, 1), 2);
    EXPECT_EQ(G.REACTION_PRODUCTS(1, 1, 2), 2);
    EXPECT_EQ(G.REACTION_PRODUCTS(2, 1, 1), 2);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(1, 2), 1);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(2, 2), 1);
    EXPECT_EQ(G.REACTION_PRODUCTS(1, 2, 1), 2);
    EXPECT_EQ(G.REACTION_PRODUCTS(2, 2, 1), 3);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(1, 3), 1);
    EXPECT_EQ(G.REACTION_PRODUCT_COUNT(2, 3), 0);
    EXPECT_EQ(G.REACTION_PRODUCTS(1, 3, 1), 1);
    EXPECT_EQ(G.REACTION_PRODUCTS(2, 3, 1), -1);
    EXPECT_EQ(G.REACTION_CONSTANTS(2, 1), 1.56e-18f);
    EXPECT_EQ(G.REACTION_CONSTANTS(5, 1), -1.56e-18f);
    EXPECT_EQ(G.REACTION_CONSTANTS(6, 1), 0.0f);
    EXPECT_EQ(G.THIRD_BODY_TABLE(1, 3), 1.5f);
    EXPECT_EQ(G.REACTION_PAIR_COUNT(1, 2), 1);
    EXPECT_EQ(G.REACTION_PAIR_COUNT(2, 1), 1);
    EXPECT_EQ(G.REACTION_PAIR_COUNT(2, 2), 1);
    EXPECT_EQ(G.REACTION_PAIR_LIST(1, 3, 1), 2);
    EXPECT_EQ(G.REACTION_PAIR_LIST(1, 2, 2), 3);
    // Surface reaction 1 has two incident molecules of species 2: listed once under species 2.
    EXPECT_EQ(G.SURF_REACTION_SPECIES_COUNT(1), 0);
    EXPECT_EQ(G.SURF_REACTION_SPECIES_COUNT(2), 1);
    EXPECT_EQ(G.SURF_REACTION_SPECIES_LIST(1, 2), 1);
    EXPECT_EQ(G.SURF_REACTION_SPECIES_COUNT(3), 1);
    EXPECT_EQ(G.SURF_REACTION_SPECIES_LIST(1, 3), 2);
    EXPECT_EQ(G.SURF_REACTION_PRODUCTS(6, 2), 1);
    EXPECT_EQ(G.REACTION_COUNT.size(), 3u);
    EXPECT_EQ(G.SURF_REACTION_COUNT.size(), 2u);

    // Surfaces: global point and triangle numbers across surfaces, solid and entry numberings.
    const auto& S = SURFACE;
    EXPECT_EQ(S.SURFACE_COUNT, 2);
    EXPECT_EQ(S.POINT_COUNT, 8);
    EXPECT_EQ(S.TRIANGLE_COUNT, 6);
    EXPECT_EQ(S.SOLID_TRIANGLE_COUNT, 3);
    EXPECT_EQ(S.ENTRY_TRIANGLE_COUNT, 3);
    EXPECT_EQ(S.SURFACE_FIRST_POINT(2), 4);
    EXPECT_EQ(S.SURFACE_FIRST_TRIANGLE(2), 3);
    EXPECT_EQ(S.POINT_X(6), 6.0f);
    const int corners[6][4] = {{1, 3, 2, 1},  {1, 2, 4, 2},  {1, 4, 3, -1},
                               {5, 6, 7, -2}, {5, 7, 8, -3}, {6, 7, 8, 3}};
    for (int t = 1; t <= 6; ++t) {
        for (int row = 1; row <= 4; ++row)
            EXPECT_EQ(S.TRIANGLE(row, t), corners[t - 1][row - 1]) << "triangle " << t << " row " << row;
        EXPECT_EQ(S.TRIANGLE(5, t), 0);
        EXPECT_EQ(S.TRIANGLE_SURFACE(t), t <= 3 ? 1 : 2);
    }
    EXPECT_EQ(S.SOLID_TRIANGLE(1, 3), 6);
    EXPECT_EQ(S.ENTRY_TRIANGLE(2), 4);
    // Triangle 2 copied solid triangle 1, including the reaction probabilities.
    EXPECT_EQ(S.SOLID_PROPERTIES(1, 2), 300.0f);
    EXPECT_EQ(S.SOLID_PROPERTIES(2, 2), 0.2f);
    EXPECT_EQ(S.SOLID_SPECIES_PROPERTIES(1, 2, 2), 0.1f);
    EXPECT_EQ(S.SOLID_SPECIES_PROPERTIES(2, 3, 2), 1.e-6f);
    EXPECT_EQ(S.SOLID_REACTION_PROBABILITY(2, 2), 0.25f);
    EXPECT_EQ(S.SOLID_PROPERTIES(1, 3), -300.0f);
    EXPECT_EQ(S.SOLID_PROPERTIES(3, 1), 0.0f);
    // The stream element and its copy carry the stream's values as read.
    for (int e : {2, 3}) {
        EXPECT_EQ(S.ENTRY_PROPERTIES(4, e), 200.0f);
        EXPECT_EQ(S.ENTRY_PROPERTIES(5, e), 1.e21f);
        EXPECT_EQ(S.ENTRY_SPECIES_PROPERTIES(1, 1, e), 0.5f);
        EXPECT_EQ(S.ENTRY_SPECIES_PROPERTIES(1, 3, e), 0.25f);
    }
    EXPECT_EQ(S.ENTRY_PROPERTIES(1, 1), 100.0f);
    EXPECT_EQ(S.ENTRY_PROPERTIES(5, 1), 1.e19f);
}

}  // namespace
