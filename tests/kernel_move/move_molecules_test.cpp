// MOVE_MOLECULES and the path step without surfaces: the per-molecule clocks, the visiting order under
// removals, the cut of the path at one division width, the crossings of the separation boundary and
// the index under continuous indexing; closed specular and periodic boxes against conservation.
#include "move_fixture.h"

#include <cstring>
#include <vector>

namespace {

using MoveMoleculesTest = MoveTest;

constexpr float DTC = 1e-4f;  // cell time step of the fixture: DTM / 2

// The due test: a molecule moves when TIME - MOL_TIME exceeds the cell time step; its clock then
// advances by exactly twice that step.
TEST_F(MoveMoleculesTest, ClockDueTest)
{
    struct Case {
        double lag;  // TIME - MOL_TIME before the pass
        bool moves;
    } cases[] = {
        {double(DTC), false},              // an equal lag does not move
        {double(DTC) * (1 + 1e-9), true},  // just more
        {0.0, false},
        {10.0 * DTC, true},  // a molecule far behind still advances by 2 DTC only
    };
    for (const Case& c : cases) {
        SetUp();
        make_case(CaseBox{}, {}, 4);
        const int n = add(5.0f, 5.0f, 5.0f, 100.0f, 0.0f, 0.0f);
        RUN.TIME = 1.0;
        MOLECULES.MOL_TIME(n) = 1.0 - c.lag;
        MOVE_MOLECULES();
        EXPECT_EQ(RUN.MOVE_COUNT, c.moves ? 1.0 : 0.0) << c.lag;
        EXPECT_EQ(MOLECULES.MOL_TIME(n),
                  1.0 - c.lag + (c.moves ? double(static_cast<float>(2.0 * DTC)) : 0.0))
            << c.lag;
        EXPECT_EQ(MOLECULES.MOL_POS(1, n),
                  c.moves ? static_cast<float>(5.0 + 100.0 * double(2 * DTC)) : 5.0f);
        TearDown();
    }
}

TEST_F(MoveMoleculesTest, NoMolecules)
{
    make_case(CaseBox{}, {}, 4);
    pass();
    EXPECT_EQ(RUN.MOVE_COUNT, 0.0);
    EXPECT_EQ(MOLECULES.NM, 0);
}

// A cell whose time step is DTM moves its molecules every other pass; the others every pass.
TEST_F(MoveMoleculesTest, CellTimeSteps)
{
    make_case(CaseBox{}, {}, 4);
    const int slow = add(1.0f, 1.0f, 1.0f, 10.0f, 0.0f, 0.0f);
    const int fast = add(9.0f, 9.0f, 9.0f, 10.0f, 0.0f, 0.0f);
    CELLS.CELL_DATA(CELL_TIME_STEP, MOLECULES.IP(IP_CELL, slow)) = 2 * DTC;
    for (int k = 0; k < 10; ++k)
        pass();
    EXPECT_EQ(RUN.MOVE_COUNT, 15.0);
    EXPECT_NEAR(MOLECULES.MOL_TIME(fast), 10 * RUN.DTM, 1e-9);
    EXPECT_NEAR(MOLECULES.MOL_TIME(slow), 5 * 4 * DTC, 1e-9);
}

// Molecule 1 leaves through a vacuum side and the last one (4) takes slot 1 and is moved in the same
// pass: it leaves too, and molecule 3 takes slot 1 and is moved. Every molecule is moved once.
TEST_F(MoveMoleculesTest, VisitingOrderUnderRemovals)
{
    make_case(CaseBox{}, {}, 4, INDEX_NORMAL, DTC, BOUNDARY_VACUUM);
    add(0.1f, 5.0f, 5.0f, -5000.0f, 0.0f, 0.0f);  // leaves at min x
    add(5.0f, 5.0f, 5.0f, 100.0f, 0.0f, 0.0f);
    add(5.0f, 6.0f, 5.0f, 0.0f, 100.0f, 0.0f);
    add(5.0f, 5.0f, 9.9f, 0.0f, 0.0f, 5000.0f);  // leaves at max z
    pass();
    EXPECT_EQ(RUN.MOVE_COUNT, 4.0);
    EXPECT_EQ(RUN.REMOVAL_COUNT, 2.0);
    ASSERT_EQ(MOLECULES.NM, 2);
    EXPECT_FLOAT_EQ(MOLECULES.MOL_POS(2, 1), 6.02f);
    EXPECT_FLOAT_EQ(MOLECULES.MOL_POS(1, 2), 5.02f);
    for (int n = 1; n <= 2; ++n)
        EXPECT_EQ(MOLECULES.MOL_TIME(n), double(static_cast<float>(2.0 * DTC)));
}

// A molecule faster than one division width per step is moved in sub-steps of at most the width less
// the tolerance per axis, each on from where the last one stopped, for the whole of its step; a plane of
// symmetry met on the way reflects it and it goes on for the rest. The clock advances once, by 2 DTC.
// Fault mended: the path stopped at the first cut, and the molecule lost the rest of its step.
TEST_F(MoveMoleculesTest, PathCutAtDivisionWidthGoesOnForTheWholeStep)
{
    struct Case {
        float v[3];
    } cases[] = {
        {{2e4f, 5.5e3f, -7.5e3f}},   // x cut: 4 units in the step, width 2
        {{-5.5e3f, -2e4f, 7.5e3f}},  // y cut
        {{5.5e3f, 7.5e3f, 2.2e4f}},  // z cut
        {{3e4f, -1.25e4f, 0.0f}},    // 6 units in x: reflected at x = 10, back to 9
        {{-4e4f, 3.25e4f, 0.0f}},    // reflected at x = 0 and at y = 10
    };
    // (No path ends within the tolerance of a division boundary, where the path's division and the cell
    // search's may differ.)
    const float TOL = 1e-5f;  // GEOMETRY_TOLERANCE
    // The coordinate after a straight flight from c0 for t, folded back at the planes 0 + TOL, 10 - TOL.
    auto folded = [TOL](double c0, double v, double t) {
        double c = c0 + v * t;
        if (c > 10.0 - TOL)
            c = 2.0 * (10.0 - TOL) - c;
        if (c < TOL)
            c = 2.0 * TOL - c;
        return c;
    };
    for (const Case& c : cases) {
        SetUp();
        make_case(CaseBox{}, {}, 4);
        const int n = add(5.0f, 5.0f, 5.0f, c.v[0], c.v[1], c.v[2]);
        pass();
        const double step = double(static_cast<float>(2.0 * DTC));
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(MOLECULES.MOL_POS(a + 1, n), folded(5.0, c.v[a], step), 2e-5) << "axis " << a;
        EXPECT_EQ(MOLECULES.MOL_TIME(n), double(static_cast<float>(2.0 * DTC)));
        EXPECT_EQ(RUN.MOVE_COUNT, 1.0);
        int cell = 0;
        FIND_CELL(cell, MOLECULES.MOL_POS(1, n), MOLECULES.MOL_POS(2, n), MOLECULES.MOL_POS(3, n));
        EXPECT_EQ(MOLECULES.IP(IP_CELL, n), cell);
        TearDown();
    }
}

// With a constant-pressure min-x side and a separated initial gas, crossing SEPARATION_X upward counts
// +1, downward -1; a molecule that ends exactly on it is not counted.
TEST_F(MoveMoleculesTest, SeparationCrossings)
{
    struct Case {
        float x0, u;
        double expected;
    } cases[] = {
        {4.9f, 1000.0f, 1.0},
        {5.1f, -1000.0f, -1.0},
        {4.8f, 1000.0f, 0.0},  // ends at 5.0, on the boundary
        {5.5f, 1000.0f, 0.0},
    };
    for (const Case& c : cases) {
        SetUp();
        make_case(CaseBox{}, {}, 4);
        BOX.BOUNDARY_CODE(1) = BOUNDARY_PRESSURE;
        GAS.INITIAL_GAS = 1;
        GAS.SEPARATION_X = 5.0f;
        add(c.x0, 5.0f, 5.0f, c.u, 0.0f, 0.0f);
        pass();
        EXPECT_EQ(GAS.SEPARATION_CROSSINGS(1), c.expected) << c.x0;
        TearDown();
    }
}

// Random fast molecules (many faces and divisions in 100 passes) in closed boxes: every side a plane of
// symmetry, or periodic x sides. Every molecule stays, with exactly its speed (reflections only change
// signs; periodic sides keep every x velocity), and every molecule stays in the cell of its point, under
// continuous indexing listed there; every molecule stays inside the box, also after a path across an
// edge or corner of the box (a fault: only the face met first reflected it, and it ended the pass
// outside the box).
TEST_F(MoveMoleculesTest, ClosedBoxesConserve)
{
    struct Case {
        const char* what;
        int index_mode;
        bool periodic_x;
    } cases[] = {
        {"specular, normal indexing", INDEX_NORMAL, false},
        {"specular, continuous indexing", INDEX_CONTINUOUS, false},
        {"periodic x, continuous indexing", INDEX_CONTINUOUS, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        make_case(CaseBox{}, {}, 1000, c.index_mode);
        const double vmp = vmp_of(300.0);
        if (c.periodic_x)
            BOX.BOUNDARY_CODE(1) = BOX.BOUNDARY_CODE(2) = BOUNDARY_PERIODIC;
        // A drift along x makes the periodic molecules go round the box.
        add_gas(500, 20 * vmp, 0.0f, 10.0f, c.periodic_x ? static_cast<float>(3 * vmp) : 0.0f);
        auto sums = [](double& energy, double& x_momentum) {
            energy = x_momentum = 0.0;
            for (int n = 1; n <= MOLECULES.NM; ++n) {
                x_momentum += MOLECULES.PV(1, n);
                for (int a = 1; a <= 3; ++a)
                    energy += double(MOLECULES.PV(a, n)) * MOLECULES.PV(a, n);
            }
        };
        double energy, x_momentum;
        sums(energy, x_momentum);
        if (c.index_mode == INDEX_CONTINUOUS)
            RESET_CONTINUOUS_INDEXING();
        for (int k = 0; k < 100; ++k)
            pass();
        const auto& M = MOLECULES;
        ASSERT_EQ(M.NM, 500);
        double energy_after, x_momentum_after;
        sums(energy_after, x_momentum_after);
        EXPECT_EQ(energy_after, energy);
        if (c.periodic_x) {
            EXPECT_EQ(x_momentum_after, x_momentum);
            // On average the molecules went round the box at least once.
            EXPECT_GT(x_momentum * 100 * RUN.DTM / M.NM, 10.0);
        }
        for (int n = 1; n <= M.NM; ++n) {
            for (int a = 1; a <= 3; ++a) {
                EXPECT_GT(M.MOL_POS(a, n), 0.0f);
                EXPECT_LT(M.MOL_POS(a, n), 10.0f);
            }
            int cell = 0;
            FIND_CELL(cell, M.MOL_POS(1, n), M.MOL_POS(2, n), M.MOL_POS(3, n));
            EXPECT_EQ(M.IP(IP_CELL, n), cell);
        }
        EXPECT_EQ(RUN.REMOVAL_COUNT + RUN.ROUNDOFF_COUNT, 0.0);
        EXPECT_TRUE(index_consistent());
        TearDown();
    }
}

// A molecule found not due is passed by, without a look at its clock, in the passes in which it surely
// stays not due. Under cell steps from DTM / 2 to 40 DTM, changed as an output's adaptation changes them
// and then under another DTM, every pass must move exactly the molecules whose clocks are due, as
// reading every clock finds them; in the lattice of one-element divisions (the open lattice's loop) and
// in divisions of several elements (the general loop).
TEST_F(MoveMoleculesTest, PassedByMoleculesMoveWhenDue)
{
    for (int elements : {1, 2}) {
        SCOPED_TRACE(elements);
        SetUp();
        CaseBox box;
        for (int& e : box.elements)
            e = elements;
        constexpr int MOLECULES_IN_BOX = 200, PASSES = 300;
        make_case(box, {}, MOLECULES_IN_BOX);
        add_gas(MOLECULES_IN_BOX, 20 * vmp_of(300.0), 0.0f, 10.0f);
        auto set_steps = [] {
            for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
                CELLS.CELL_DATA(CELL_TIME_STEP, c) =
                    static_cast<float>(DTC * (1.0 + 79.0 * random_uniform()));
        };
        set_steps();
        auto& M = MOLECULES;
        for (int n = 1; n <= M.NM; ++n)
            M.MOL_TIME(n) = -80.0 * DTC * random_uniform();
        int wrong = 0, passed_by = 0, uncounted = 0;
        double moves = 0;
        for (int p = 1; p <= PASSES; ++p) {
            if (p == 100) {  // the adaptation: new steps, and the next output time
                set_steps();
                RUN.OUTPUT_TIME += 1.0f;
            }
            if (p == 200)
                RUN.DTM = 3.0f * DTC;
            std::vector<double> clock(M.NM + 1);
            std::vector<bool> due(M.NM + 1);
            const double time = RUN.TIME + RUN.DTM;
            for (int n = 1; n <= M.NM; ++n) {
                clock[n] = M.MOL_TIME(n);
                due[n] = time - clock[n] > CELLS.CELL_DATA(CELL_TIME_STEP, M.IP(IP_CELL, n));
            }
            pass();
            ASSERT_EQ(M.NM, MOLECULES_IN_BOX);
            // Passes that follow another under the same steps and DTM, in which counts are outstanding.
            const bool following = p != 1 && p != 100 && p != 200;
            for (int n = 1; n <= M.NM; ++n) {
                wrong += (M.MOL_TIME(n) != clock[n]) != due[n];
                const bool counted = M.MOL_SKIP.size() >= std::size_t(n) && M.MOL_SKIP(n) > 0;
                passed_by += counted;
                moves += due[n];
                // A molecule moved in such a pass whose next turn is two or more passes away is passed
                // by in the next pass, from the step of the cell it moved to (not read again only to be
                // found not due, nor counted from the step of the cell it left).
                const double ahead =
                    (M.MOL_TIME(n) + CELLS.CELL_DATA(CELL_TIME_STEP, M.IP(IP_CELL, n)) - time) / RUN.DTM;
                uncounted += following && due[n] && ahead > 1.01 && !counted;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(uncounted, 0);
        EXPECT_EQ(RUN.MOVE_COUNT, moves);
        // The passes skipped were many: far fewer moves than molecules and passes.
        EXPECT_GT(passed_by, PASSES * MOLECULES_IN_BOX / 2);
        EXPECT_LT(moves, PASSES * MOLECULES_IN_BOX / 4);
        EXPECT_EQ(RUN.REMOVAL_COUNT + RUN.ROUNDOFF_COUNT, 0.0);
        TearDown();
    }
}

// What a pass of the move changes: the store, the cell lists, the clocks, MOVE_COUNT, the present
// division and element, the random state, and the surface hits.
struct MoveState {
    Array<float, 2> pos, pv;
    Array<int32_t, 2> ip, icell;
    Array<double, 1> time;
    Array<int32_t, 1> xref, ircell;
    int molecules;  // NM
    double moves, hits;
    int present[6];
    RandomState random;

    static MoveState save()
    {
        const auto& M = MOLECULES;
        const auto& D = DIVISIONS;
        return MoveState{M.MOL_POS.clone(),
                         M.PV.clone(),
                         M.IP.clone(),
                         CELLS.ICELL.clone(),
                         M.MOL_TIME.clone(),
                         M.XREF.clone(),
                         CELLS.IRCELL.clone(),
                         M.NM,
                         RUN.MOVE_COUNT,
                         RUN.SURFACE_HIT_COUNT,
                         {D.CURRENT_DIVISION_X, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_Z,
                          D.CURRENT_ELEMENT_X, D.CURRENT_ELEMENT_Y, D.CURRENT_ELEMENT_Z},
                         RANDOM_STATE};
    }
    void restore() const
    {
        auto& M = MOLECULES;
        auto& D = DIVISIONS;
        M.MOL_POS = pos.clone();
        M.PV = pv.clone();
        M.IP = ip.clone();
        CELLS.ICELL = icell.clone();
        M.MOL_TIME = time.clone();
        M.XREF = xref.clone();
        CELLS.IRCELL = ircell.clone();
        M.NM = molecules;
        RUN.MOVE_COUNT = moves;
        RUN.SURFACE_HIT_COUNT = hits;
        D.CURRENT_DIVISION_X = present[0], D.CURRENT_DIVISION_Y = present[1];
        D.CURRENT_DIVISION_Z = present[2], D.CURRENT_ELEMENT_X = present[3];
        D.CURRENT_ELEMENT_Y = present[4], D.CURRENT_ELEMENT_Z = present[5];
        RANDOM_STATE = random;
    }
};

// The molecules' turns as MOVE_MOLECULES takes them, each moved by move_for_time.
void general_pass()
{
    auto& M = MOLECULES;
    RUN.TIME += RUN.DTM;
    for (int N = 1; N <= M.NM; ++N) {
        int NCI = M.IP(IP_CELL, N);
        const float dtc = CELLS.CELL_DATA(CELL_TIME_STEP, NCI);
        if (RUN.TIME - M.MOL_TIME(N) <= dtc)
            continue;
        const float DTIM = static_cast<float>(2.0 * dtc);
        M.MOL_TIME(N) += DTIM;
        RUN.MOVE_COUNT += 1.0;
        int II = MOVE_PENDING;
        move_for_time(N, NCI, DTIM, II);
    }
}

// Runs `passes` passes of MOVE_MOLECULES, each from the state that the general pass left, and expects
// it to leave exactly that state.
void expect_passes_as_general(MoveTest& test, int passes)
{
    auto same = [](const auto& a, const auto& b) {
        return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.bytes()) == 0;
    };
    for (int k = 0; k < passes; ++k) {
        const MoveState before = MoveState::save();
        const double time = RUN.TIME;
        test.pass();
        const MoveState open = MoveState::save();
        before.restore();
        RUN.TIME = time;
        general_pass();
        const MoveState general = MoveState::save();
        EXPECT_EQ(open.molecules, general.molecules) << "pass " << k;
        EXPECT_TRUE(same(open.pos, general.pos)) << "pass " << k;
        EXPECT_TRUE(same(open.pv, general.pv)) << "pass " << k;
        EXPECT_TRUE(same(open.ip, general.ip)) << "pass " << k;
        EXPECT_TRUE(same(open.time, general.time)) << "pass " << k;
        EXPECT_TRUE(same(open.icell, general.icell)) << "pass " << k;
        EXPECT_TRUE(same(open.xref, general.xref)) << "pass " << k;
        EXPECT_EQ(open.moves, general.moves) << "pass " << k;
        EXPECT_EQ(open.hits, general.hits) << "pass " << k;
        EXPECT_EQ(open.random.s1, general.random.s1) << "pass " << k;
        EXPECT_EQ(open.random.s2, general.random.s2) << "pass " << k;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(open.present[i], general.present[i]) << "pass " << k << " index " << i;
    }
}

// In a lattice whose divisions (or whose neighbourhoods) no surface reaches, MOVE_MOLECULES takes the common
// moves a short way; every pass must leave the store, the cell lists, the clocks, MOVE_COUNT and the present
// division and element exactly as moving each due molecule the general way (move_for_time) does. The
// molecules: a fast random gas (cuts at the division width, reflections at the sides) and end points
// on, just beside and within the tolerance below every division boundary of every axis, reached from
// either side, where the path step's division (with the tolerance) and the cell search's (without)
// differ.
TEST_F(MoveMoleculesTest, OpenLatticeMovesAsTheGeneralWay)
{
    const float TOL = 1e-5f;  // GEOMETRY_TOLERANCE
    // Every division open, and a block in the middle division (diffuse walls): then the common move is
    // made here only in divisions whose every neighbour is open; divisions of one element and of 2 x 2 x 2,
    // the latter with the cells formed (one cell for all the elements of most divisions) and with a cell
    // of its own for every element.
    struct Elements {
        int per_axis;
        bool own_cells;
    };
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS})
        for (bool body : {false, true})
            for (Elements elements : {Elements{1, false}, Elements{2, true}, Elements{2, false}}) {
                SCOPED_TRACE(mode);
                SCOPED_TRACE(body);
                SCOPED_TRACE(elements.per_axis);
                SCOPED_TRACE(elements.own_cells);
                SetUp();
                CaseBox box;
                for (int& e : box.elements)
                    e = elements.per_axis;
                std::vector<Body> bodies;
                if (body)
                    bodies.push_back(block(4.3f, 5.7f, 4.3f, 5.7f, 4.3f, 5.7f));
                make_case(box, bodies, 1000, mode);
                if (elements.own_cells) {
                    // A cell of its own for every element that has one, so that the element found counts.
                    auto& D = DIVISIONS;
                    int cells = 0;
                    for (int& e : D.ELEMENT_CELL)
                        if (e >= 1)
                            e = ++cells;
                    allocate_cells(cells, DTC);
                }
                add_gas(300, 20 * vmp_of(300.0), 0.0f, 10.0f);
                add_gas(300, vmp_of(300.0), 0.0f, 10.0f);
                // Paths of 0.2 along one axis ending near a boundary b of divisions 2 wide.
                const float d = static_cast<float>(1000.0f * (2.0f * DTC));
                for (int a = 0; a < 3; ++a)
                    for (float b : {2.0f, 4.0f, 6.0f, 8.0f})
                        for (float end :
                             {b, std::nextafter(b, 0.0f), std::nextafter(b, 10.0f), b - 0.5f * TOL, b - TOL,
                              std::nextafter(b - TOL, 0.0f), b - 2.0f * TOL, b + TOL})
                            for (float sign : {1.0f, -1.0f}) {
                                float p[3] = {3.1f, 5.3f, 7.7f}, u[3] = {0.0f, 0.0f, 0.0f};
                                p[a] = end - sign * d;
                                u[a] = sign * 1000.0f;
                                add(p[0], p[1], p[2], u[0], u[1], u[2]);
                            }
                if (mode == INDEX_CONTINUOUS)
                    RESET_CONTINUOUS_INDEXING();
                expect_passes_as_general(*this, 5);
                EXPECT_TRUE(index_consistent());
                TearDown();
            }
}

// A thin plate (diffuse) across the divisions of one x layer, one element each, just above the layer's
// low boundary: molecules cross it from the layer into the open layer below, from below into it, and
// within it. Every path that meets the plate must meet it as the general move does: the short way may
// judge a path to lie within one open division, or to end in a division whose neighbourhood is open,
// only when it does; a wrong judgement passes through the plate without a trace (no hit, no
// reflection), and the store differs from the general move's.
TEST_F(MoveMoleculesTest, OpenLatticeMeetsAPlateAsTheGeneralWay)
{
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        SCOPED_TRACE(mode);
        SetUp();
        CaseBox box;  // 10 x 10 x 10, divisions 2 wide
        for (int& e : box.elements)
            e = 1;
        // The plate: x 4.05 to 4.15 in the divisions of x 4 to 6, across y and z 1 to 9 (five by five
        // divisions).
        make_case(box, {block(4.05f, 4.15f, 1.0f, 9.0f, 1.0f, 9.0f)}, 4000, mode);
        // Molecules on either side of the plate moving across it, paths of 0.1 to 1.6: from the plate's
        // layer into the one below, from below into the plate's layer, and within that layer.
        for (int i = 0; i < 600; ++i) {
            const float y = static_cast<float>(1.5 + 7.0 * random_uniform());
            const float z = static_cast<float>(1.5 + 7.0 * random_uniform());
            const float speed = static_cast<float>(500.0 + 7500.0 * random_uniform());
            const float v = static_cast<float>(200.0 * (random_uniform() - 0.5));
            if (i % 2 == 0)
                add(static_cast<float>(4.2 + 1.5 * random_uniform()), y, z, -speed, v, v);
            else
                add(static_cast<float>(2.5 + 1.5 * random_uniform()), y, z, speed, v, -v);
        }
        add_gas(300, 10 * vmp_of(300.0), 0.0f, 10.0f);
        if (mode == INDEX_CONTINUOUS)
            RESET_CONTINUOUS_INDEXING();
        expect_passes_as_general(*this, 4);
        EXPECT_GT(RUN.SURFACE_HIT_COUNT, 100.0);  // the plate is met
        EXPECT_TRUE(index_consistent());
        TearDown();
    }
}

}  // namespace
