// INTERACT_WITH_SURFACE called directly: the re-emission distributions against theory, the frame of a
// triangle, the adiabatic wall, surface reactions and the round-off substitution of their products.
#include "move_fixture.h"

#include <numbers>

namespace {

using SurfaceInteractionTest = MoveTest;

// The block of the hit tests (x 5.0..5.9, y and z 4.5..5.5); triangle 1 belongs to its low x face.
void block_case(MoveTest& t, int species = 1, int index_mode = INDEX_NORMAL)
{
    CaseBox box;
    box.elements[0] = box.elements[1] = box.elements[2] = 10;
    t.make_case(box, {block(5.0f, 5.9f, 4.5f, 5.5f, 4.5f, 5.5f)}, 64, index_mode);
    if (species > 1) {
        auto& G = GAS;
        G.SPECIES_COUNT = species;
        G.SPECIES_DATA.allocate(4, species);
        G.SPECIES_ROTATION.allocate(2, species);
        G.VIB_MODE_COUNT.allocate(species);
        for (int s = 1; s <= species; ++s)
            G.SPECIES_DATA(SPECIES_MASS, s) = ARGON_MASS * s;
        SURFACE.SOLID_SPECIES_PROPERTIES.allocate(3, species, SURFACE.TRIANGLE_COUNT);
        SAMPLES.SURF_SAMPLE.allocate(6, SURFACE.TRIANGLE_COUNT, species);
        MOLECULES.IP_ROWS = 3;
        MOLECULES.IP.allocate(3, RUN.MNM);
    }
}

// Mean and standard error of a running sample.
struct Stat {
    double n = 0, sum = 0, sum2 = 0;
    void add(double x)
    {
        n += 1;
        sum += x;
        sum2 += x * x;
    }
    double mean() const { return sum / n; }
    double error() const { return std::sqrt((sum2 / n - mean() * mean()) / n); }
};

// Diffuse re-emission at T_w = 500 K (Bird 1994, 12.2): the normal component has mean
// (sqrt(pi) / 2) VMP, the translational energy mean 2 k T_w, the tangential components mean equal to the
// wall velocity along t1 and t2 and variance k T_w / m; a rotating species leaves with mean rotational
// energy k T_w (two degrees of freedom). For normals along x (the degenerate frame), along y and oblique.
TEST_F(SurfaceInteractionTest, DiffuseReemission)
{
    const double Tw = 500.0, k = BOLTZ, m = ARGON_MASS;
    const double vmp = vmp_of(Tw);
    const double normals[3][3] = {{-1, 0, 0}, {0, 1, 0}, {0.48, -0.6, 0.64}};
    for (const auto& nv : normals) {
        SCOPED_TRACE(std::to_string(nv[0]) + " " + std::to_string(nv[1]) + " " + std::to_string(nv[2]));
        SetUp();
        block_case(*this);
        GAS.SPECIES_ROTATION(1, 1) = 2;
        MOLECULES.PV_ROWS = 4;
        MOLECULES.PV.allocate(4, RUN.MNM);
        auto& S = SURFACE;
        for (int a = 0; a < 3; ++a)
            S.TRIANGLE_GEOMETRY(a + 1, 1) = static_cast<float>(nv[a]);
        S.SOLID_PROPERTIES(1, 1) = static_cast<float>(Tw);
        S.SOLID_PROPERTIES(3, 1) = 100.0f;  // wall velocity along t1
        S.SOLID_PROPERTIES(4, 1) = -50.0f;  // ... and t2
        // The frame: t1 = (0, nz, -ny) / S, t2 = n x t1 (t1 = y, t2 = z for a normal along x).
        const double Sn = std::hypot(nv[1], nv[2]);
        double t1[3] = {0, 1, 0}, t2[3] = {0, 0, 1};
        if (Sn > 1e-6) {
            t1[0] = 0;
            t1[1] = nv[2] / Sn;
            t1[2] = -nv[1] / Sn;
            t2[0] = nv[1] * t1[2] - nv[2] * t1[1];
            t2[1] = nv[2] * t1[0] - nv[0] * t1[2];
            t2[2] = nv[0] * t1[1] - nv[1] * t1[0];
        }
        const int n = add(4.9f, 5.0f, 5.0f, 0.0f, 0.0f, 0.0f);
        Stat vn, energy, vt1, vt2, vt1sq, rot;
        for (int i = 0; i < 40000; ++i) {
            // Incident: 300 m/s against the normal.
            auto& M = MOLECULES;
            for (int a = 0; a < 3; ++a)
                M.PV(a + 1, n) = static_cast<float>(-300.0 * nv[a]);
            int N = n, II = 0;
            INTERACT_WITH_SURFACE(N, 1, M.IP(IP_CELL, n), II, 4.9f, 5.0f, 5.0f, 0.0f);
            ASSERT_EQ(II, 0);
            const double u[3] = {M.PV(1, n), M.PV(2, n), M.PV(3, n)};
            const double c_n = u[0] * nv[0] + u[1] * nv[1] + u[2] * nv[2];
            const double c_1 = u[0] * t1[0] + u[1] * t1[1] + u[2] * t1[2];
            const double c_2 = u[0] * t2[0] + u[1] * t2[1] + u[2] * t2[2];
            vn.add(c_n / vmp);
            vt1.add(c_1);
            vt2.add(c_2);
            vt1sq.add((c_1 - 100.0) * (c_1 - 100.0) * m / (k * Tw));
            energy.add(0.5 * m * (c_n * c_n + (c_1 - 100) * (c_1 - 100) + (c_2 + 50) * (c_2 + 50)) /
                       (k * Tw));
            rot.add(M.PV(4, n) / (k * Tw));
        }
        EXPECT_NEAR(vn.mean(), std::sqrt(std::numbers::pi) / 2, 5 * vn.error());
        EXPECT_NEAR(energy.mean(), 2.0, 5 * energy.error());
        EXPECT_NEAR(vt1.mean(), 100.0, 5 * vt1.error());
        EXPECT_NEAR(vt2.mean(), -50.0, 5 * vt2.error());
        EXPECT_NEAR(vt1sq.mean(), 1.0, 5 * vt1sq.error());
        EXPECT_NEAR(rot.mean(), 1.0, 5 * rot.error());
        TearDown();
    }
}

// An adiabatic triangle (T1 = -200) re-emits at the accumulated incident energy per degree of freedom,
// 2/k x sum E / sum (4 + rotational degrees of freedom), never below 200 K.
TEST_F(SurfaceInteractionTest, AdiabaticWall)
{
    struct Case {
        double incident_speed;  // along the normal
        double expected_T;
    } cases[] = {
        // 0.5 m c^2 per molecule over 4 degrees of freedom: c = 100 gives 1.2 K, held at 200 K.
        {100.0, 200.0},
        // c = 1000 m/s: T = 2/k x 0.5 m c^2 / 4.
        {1000.0, 2.0 / 1.3806e-23 * 0.5 * 6.63e-26 * 1e6 / 4.0},
    };
    for (const Case& c : cases) {
        SetUp();
        block_case(*this);
        SURFACE.SOLID_PROPERTIES(1, 1) = -200.0f;
        const int n = add(4.9f, 5.0f, 5.0f, 0.0f, 0.0f, 0.0f);
        Stat energy;
        for (int i = 0; i < 20000; ++i) {
            MOLECULES.PV(1, n) = static_cast<float>(c.incident_speed);
            MOLECULES.PV(2, n) = MOLECULES.PV(3, n) = 0.0f;
            int N = n, II = 0;
            INTERACT_WITH_SURFACE(N, 1, MOLECULES.IP(IP_CELL, n), II, 4.9f, 5.0f, 5.0f, 0.0f);
            const auto& M = MOLECULES;
            energy.add(0.5 * ARGON_MASS *
                       (double(M.PV(1, n)) * M.PV(1, n) + double(M.PV(2, n)) * M.PV(2, n) +
                        double(M.PV(3, n)) * M.PV(3, n)));
        }
        EXPECT_EQ(SAMPLES.ADIABATIC_SAMPLE(1, 1), 4.0 * 20000);
        const double expected = 2 * BOLTZ * c.expected_T;
        EXPECT_NEAR(energy.mean() / expected, 1.0, 5 * energy.error() / expected);
        TearDown();
    }
}

// A two-molecule surface reaction 1 + 2 -> 3 with probability 1: the first molecule of species 1 is held
// (removed, its reactant entry negative); a second one of species 1 finds no partner and is removed
// without a second mark; a molecule of species 2 completes the reaction: the mark is cleared, the
// product leaves the hit point with the hit time as its clock, the count and energy are sampled.
TEST_F(SurfaceInteractionTest, TwoMoleculeReaction)
{
    block_case(*this, 3);
    auto& G = GAS;
    G.SURFACE_REACTIONS = 1;
    G.SURF_REACTANTS.allocate(2, 1);
    G.SURF_REACTANTS(1, 1) = 1;
    G.SURF_REACTANTS(2, 1) = 2;
    G.SURF_REACTION_PRODUCTS.allocate(6, 1);
    G.SURF_REACTION_PRODUCTS(1, 1) = 3;
    G.SURF_REACTION_ENERGY.allocate(1);
    G.SURF_REACTION_ENERGY(1) = 1e-20f;
    G.SURF_REACTION_COUNT.allocate(1);
    G.SURF_REACTION_SPECIES_COUNT.allocate(3);
    G.SURF_REACTION_SPECIES_LIST.allocate(1, 3);
    G.SURF_REACTION_SPECIES_COUNT(1) = G.SURF_REACTION_SPECIES_COUNT(2) = 1;
    G.SURF_REACTION_SPECIES_LIST(1, 1) = G.SURF_REACTION_SPECIES_LIST(1, 2) = 1;
    SURFACE.SOLID_REACTION_PROBABILITY(1, 1) = 1.0f;

    auto hit = [](int species) {
        const int n = MOLECULES.NM;  // the molecule hits as the last one
        MOLECULES.IP(IP_SPECIES, n) = species;
        int N = n, II = 0;
        INTERACT_WITH_SURFACE(N, 1, MOLECULES.IP(IP_CELL, n), II, 4.9f, 5.0f, 5.0f, 0.25f);
        return II;
    };
    const int keep = add(1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f);
    MOLECULES.IP(IP_SPECIES, keep) = 2;

    add(4.9f, 5.0f, 5.0f, -300.0f, 0.0f, 0.0f);
    EXPECT_EQ(hit(1), -1);
    EXPECT_EQ(MOLECULES.NM, 1);
    EXPECT_EQ(G.SURF_REACTANTS(1, 1), -1);
    EXPECT_EQ(G.SURF_REACTION_COUNT(1), 0.0);

    add(4.9f, 5.0f, 5.0f, -300.0f, 0.0f, 0.0f);
    EXPECT_EQ(hit(1), -1);
    EXPECT_EQ(MOLECULES.NM, 1);
    EXPECT_EQ(G.SURF_REACTANTS(1, 1), -1);

    add(4.9f, 5.0f, 5.0f, -300.0f, 0.0f, 0.0f);
    EXPECT_EQ(hit(2), -1);
    EXPECT_EQ(G.SURF_REACTANTS(1, 1), 1);
    EXPECT_EQ(G.SURF_REACTANTS(2, 1), 2);
    EXPECT_EQ(G.SURF_REACTION_COUNT(1), 1.0);
    ASSERT_EQ(MOLECULES.NM, 2);  // the kept molecule and the product, which took the incident's slot
    const auto& M = MOLECULES;
    EXPECT_EQ(M.IP(IP_SPECIES, 2), 3);
    EXPECT_EQ(M.MOL_TIME(2), 0.25);
    EXPECT_EQ(M.MOL_POS(1, 2), 4.9f);
    int cell = 0;
    FIND_CELL(cell, 4.9f, 5.0f, 5.0f);
    EXPECT_EQ(M.IP(IP_CELL, 2), cell);
    EXPECT_GT(M.PV(1, 2) * SURFACE.TRIANGLE_GEOMETRY(1, 1), 0.0f);  // leaves into the flow
    // Three incident molecules sampled; the reaction energy added to the incident energy of species 2.
    EXPECT_EQ(SAMPLES.SURF_SAMPLE(1, 1, 1) + SAMPLES.SURF_SAMPLE(1, 1, 2), 3.0);
    EXPECT_GT(SAMPLES.SURF_SAMPLE(5, 1, 2), 1e-20);
    EXPECT_LT(SAMPLES.SURF_SAMPLE(6, 1, 3), 0.0);  // the product's reflected energy
}

// A product whose point lies in no cell is dropped with its line and counted; a copy of a molecule of
// the incident molecule's cell replaces it. Fault: the copy was taken from the list position of the
// last indexing whatever it held (under normal indexing a stale list; an empty cell's position is the
// next cell's first molecule); now only a molecule in use that the list places in that cell is copied.
TEST_F(SurfaceInteractionTest, ProductInNoCellIsSubstituted)
{
    struct Case {
        const char* what;
        int index_mode;
        bool indexed;  // the index lists the cell's molecules as they are
        int expected_nm;
    } cases[] = {
        {"continuous indexing: a copy of a molecule of the cell", INDEX_CONTINUOUS, true, 3},
        {"normal indexing, index current: a copy", INDEX_NORMAL, true, 3},
        {"normal indexing, stale index: no copy", INDEX_NORMAL, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        block_case(*this, 1, c.index_mode);
        BOX.SCALE_FACTOR = 2.0f;
        auto& G = GAS;
        G.SURFACE_REACTIONS = 1;
        G.SURF_REACTANTS.allocate(2, 1);
        G.SURF_REACTANTS(1, 1) = 1;
        G.SURF_REACTION_PRODUCTS.allocate(6, 1);
        G.SURF_REACTION_PRODUCTS(1, 1) = 1;
        G.SURF_REACTION_PRODUCTS(2, 1) = 1;
        G.SURF_REACTION_ENERGY.allocate(1);
        G.SURF_REACTION_COUNT.allocate(1);
        G.SURF_REACTION_SPECIES_COUNT.allocate(1);
        G.SURF_REACTION_SPECIES_LIST.allocate(1, 1);
        G.SURF_REACTION_SPECIES_COUNT(1) = 1;
        G.SURF_REACTION_SPECIES_LIST(1, 1) = 1;
        SURFACE.SOLID_REACTION_PROBABILITY(1, 1) = 1.0f;

        const int other = add(1.0f, 1.0f, 1.0f, 7.0f, 0.0f, 0.0f);  // another cell
        const int n = add(4.9f, 5.0f, 5.0f, -300.0f, 0.0f, 0.0f);
        const int NCI = MOLECULES.IP(IP_CELL, n);
        if (c.index_mode == INDEX_CONTINUOUS)
            RESET_CONTINUOUS_INDEXING();
        else if (c.indexed)
            INDEX_MOLECULES();
        else
            MOLECULES.IP(IP_PLACE, 1) = other;  // every count 0: the list position read is 1

        int N = n, II = 0;
        // The hit point lies inside the block: neither product finds a cell.
        INTERACT_WITH_SURFACE(N, 1, NCI, II, 5.5f, 5.0f, 5.0f, 0.0f);
        EXPECT_EQ(II, -1);
        EXPECT_EQ(RUN.ROUNDOFF_COUNT, 2);
        const std::string log = diag();
        int lines = 0;
        for (auto at = log.find(" REMOVED DURING REFL, CHANGE "); at != std::string::npos;
             at = log.find(" REMOVED DURING REFL, CHANGE ", at + 1))
            ++lines;
        EXPECT_EQ(lines, 2);
        EXPECT_TRUE(has_line(diag(), {n, " REMOVED DURING REFL, CHANGE ", 2.45f, 2.5f})) << diag();
        // The incident molecule is gone; a copy of it (the one molecule of its cell) stands for each
        // product.
        EXPECT_EQ(MOLECULES.NM, c.expected_nm);
        for (int m = 1; m <= MOLECULES.NM; ++m)
            EXPECT_GE(MOLECULES.IP(IP_CELL, m), 1);
        if (c.expected_nm == 3) {
            EXPECT_EQ(MOLECULES.MOL_POS(1, 3), 4.9f);
        }
        EXPECT_EQ(MOLECULES.MOL_POS(1, other), 1.0f);
        TearDown();
    }
}

}  // namespace
