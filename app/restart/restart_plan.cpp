// The allocation plan of a continued run: every state array of the restart set with the extents that
// the size items give it, in the order in which the reader allocates them. Each extent is its
// expression, or 0 when that is negative. Four variants: with vibration (MAX_VIB_MODES above 0) the
// vibrational data and levels exist, without they do not; the sampling mode changes only the number
// in the failure message.
#include "app/restart/restart_plan.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"

#include <limits>

namespace {

class PlanBuilder {
public:
    explicit PlanBuilder(std::vector<PlannedArray>& plan) : plan_(plan) {}

    template <class T, int Rank, class... E>
    void add(Array<T, Rank>& array, const char* name, E... extents)
    {
        // The product in long double: extents of up to 2^31 in six dimensions cannot overflow it.
        long double bytes = sizeof(T);
        for (long long e : {static_cast<long long>(extents)...})
            bytes *= e < 0 ? 0 : e;
        PlannedArray p;
        p.array = &array;
        p.name = name;
        p.bytes = bytes >= static_cast<long double>(std::numeric_limits<std::uint64_t>::max())
                      ? std::numeric_limits<std::uint64_t>::max()
                      : static_cast<std::uint64_t>(bytes);
        p.allocate = [&array, extents...]() { return array.allocate(extents...); };
        plan_.push_back(std::move(p));
    }

private:
    std::vector<PlannedArray>& plan_;
};

}  // namespace

int restart_variant()
{
    bool steady = RUN.SAMPLING_MODE == 1;
    if (GAS.MAX_VIB_MODES > 0)
        return steady ? 1 : 2;
    return steady ? 3 : 4;
}

std::vector<PlannedArray> restart_plan()
{
    auto& S = SURFACE;
    auto& G = GAS;
    auto& D = DIVISIONS;
    auto& B = BOX;
    auto& M = MOLECULES;
    auto& SM = SAMPLES;
    auto& RS = RESULTS;
    const int SC = S.SURFACE_COUNT;
    const int NS = G.SPECIES_COUNT;
    const int PC = S.POINT_COUNT;
    const int TC = S.TRIANGLE_COUNT;
    const int KC = S.SOLID_TRIANGLE_COUNT;
    const int EC = S.ENTRY_TRIANGLE_COUNT;
    const int MV = G.MAX_VIB_MODES;
    const int GRD = G.GAS_REACTION_DIM;
    const int SRD = G.SURFACE_REACTION_DIM;
    const int TBD = G.THIRD_BODY_DIM;
    const int MC = CELLS.MAX_CELLS;
    const int MNM = RUN.MNM;
    const bool vibration = MV > 0;

    std::vector<PlannedArray> plan;
    PlanBuilder p(plan);
    p.add(S.SURFACE_POINT_COUNT, "SURFACE_POINT_COUNT", SC);
    p.add(S.SURFACE_SOLID_COUNT, "SURFACE_SOLID_COUNT", SC);
    p.add(S.SURFACE_ENTRY_COUNT, "SURFACE_ENTRY_COUNT", SC);
    p.add(S.SURFACE_TRIANGLE_COUNT, "SURFACE_TRIANGLE_COUNT", SC);
    p.add(S.SURFACE_FIRST_TRIANGLE, "SURFACE_FIRST_TRIANGLE", SC);
    p.add(S.SURFACE_SPARE_1, "SURFACE_SPARE_1", 2, SC);
    p.add(S.SURFACE_SPARE_2, "SURFACE_SPARE_2", 2, SC);
    p.add(S.POINT_X, "POINT_X", PC);
    p.add(S.POINT_Y, "POINT_Y", PC);
    p.add(S.POINT_Z, "POINT_Z", PC);
    p.add(S.TRIANGLE, "TRIANGLE", 6, TC);
    p.add(S.TRIANGLE_SURFACE, "TRIANGLE_SURFACE", TC);
    p.add(S.TRIANGLE_GEOMETRY, "TRIANGLE_GEOMETRY", 5, TC);
    p.add(S.SOLID_TRIANGLE, "SOLID_TRIANGLE", 2, KC);
    p.add(S.SOLID_PROPERTIES, "SOLID_PROPERTIES", 4, KC);
    p.add(S.SOLID_SPECIES_PROPERTIES, "SOLID_SPECIES_PROPERTIES", 3, NS, KC);
    p.add(S.SOLID_REACTION_PROBABILITY, "SOLID_REACTION_PROBABILITY", SRD, KC);
    p.add(S.ENTRY_TRIANGLE, "ENTRY_TRIANGLE", EC);
    p.add(S.ENTRY_PROPERTIES, "ENTRY_PROPERTIES", 5, EC);
    p.add(S.ENTRY_SPECIES_PROPERTIES, "ENTRY_SPECIES_PROPERTIES", 7, NS, EC);
    p.add(G.SPECIES_DATA, "SPECIES_DATA", 4, NS);
    p.add(G.SPECIES_ROTATION, "SPECIES_ROTATION", 2, NS);
    p.add(G.SPECIES_PAIR_DATA, "SPECIES_PAIR_DATA", 7, NS, NS);
    p.add(G.STREAM_FRACTION, "STREAM_FRACTION", NS);
    p.add(G.SECONDARY_FRACTION, "SECONDARY_FRACTION", NS);
    p.add(G.VMP, "VMP", NS);
    if (vibration) {
        p.add(G.VIB_MODE_COUNT, "VIB_MODE_COUNT", NS);
        p.add(G.VIB_TEMP, "VIB_TEMP", MV, NS);
        p.add(G.VIB_RELAX, "VIB_RELAX", 2, MV, NS);
    }
    p.add(G.THIRD_BODY_TABLE, "THIRD_BODY_TABLE", TBD, NS);
    p.add(G.REACTION_REACTANTS, "REACTION_REACTANTS", 2, GRD);
    p.add(G.REACTION_PRODUCT_COUNT, "REACTION_PRODUCT_COUNT", 2, GRD);
    p.add(G.REACTION_PRODUCTS, "REACTION_PRODUCTS", 2, GRD, 2);
    p.add(G.REACTION_CONSTANTS, "REACTION_CONSTANTS", 6, GRD);
    p.add(G.REACTION_PAIR_COUNT, "REACTION_PAIR_COUNT", NS, NS);
    p.add(G.REACTION_PAIR_LIST, "REACTION_PAIR_LIST", GRD, NS, NS);
    p.add(G.SURF_REACTANTS, "SURF_REACTANTS", 2, SRD);
    p.add(G.SURF_REACTION_PRODUCTS, "SURF_REACTION_PRODUCTS", 6, SRD);
    p.add(G.SURF_REACTION_ENERGY, "SURF_REACTION_ENERGY", SRD);
    p.add(G.SURF_REACTION_SPECIES_COUNT, "SURF_REACTION_SPECIES_COUNT", NS);
    p.add(G.SURF_REACTION_SPECIES_LIST, "SURF_REACTION_SPECIES_LIST", SRD, NS);
    p.add(G.CP_LEFT_MIN_X, "CP_LEFT_MIN_X", NS);
    p.add(G.CP_LEFT_MAX_X, "CP_LEFT_MAX_X", NS);
    p.add(G.CP_ENTERED_MIN_X, "CP_ENTERED_MIN_X", NS);
    p.add(G.CP_ENTERED_MAX_X, "CP_ENTERED_MAX_X", NS);
    p.add(G.SEPARATION_CROSSINGS, "SEPARATION_CROSSINGS", NS);
    p.add(G.EFACE, "EFACE", 7, NS, 6, 2);
    p.add(D.DIVISION_INFO, "DIVISION_INFO", 3, B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X);
    p.add(D.ELEMENT_CELL, "ELEMENT_CELL", B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X,
          B.ELEMENTS_PER_DIVISION_Z, B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X);
    p.add(D.SURFACE_INDEX, "SURFACE_INDEX", 2, D.SURFACE_DIVISION_COUNT);
    p.add(D.TOTAL_SURFACE_INDEX, "TOTAL_SURFACE_INDEX", D.TOTAL_SURFACE_INDEX_SIZE);
    p.add(D.SUB_ELEMENTS_IN_FLOW, "SUB_ELEMENTS_IN_FLOW", D.SURFACE_ELEMENT_COUNT, B.ELEMENTS_PER_DIVISION_Z,
          B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X);
    p.add(D.ICHECK, "ICHECK", 8LL * D.MNSEG);
    p.add(CELLS.CELL_DATA, "CELL_DATA", 14, MC);
    p.add(CELLS.ICELL, "ICELL", 3, MC);
    p.add(CELLS.CELL_TIME, "CELL_TIME", MC);
    p.add(SM.CELL_SAMPLE, "CELL_SAMPLE", 8LL + MV, MC, NS);
    p.add(SM.CELL_COLL_COUNT, "CELL_COLL_COUNT", MC);
    p.add(SM.CELL_SEP_SUM, "CELL_SEP_SUM", MC);
    p.add(RS.VAR, "VAR", 17LL + NS, MC);
    p.add(RS.SPECIES_VAR, "SPECIES_VAR", 11, MC, NS);
    p.add(RS.VARS, "VARS", 9LL + NS, KC);
    p.add(SM.SURF_SAMPLE, "SURF_SAMPLE", 6, TC, NS);
    p.add(SM.SURF_FORCE_SAMPLE, "SURF_FORCE_SAMPLE", 6, SC);
    p.add(SM.ADIABATIC_SAMPLE, "ADIABATIC_SAMPLE", 2, TC);
    p.add(G.REACTION_COUNT, "REACTION_COUNT", GRD);
    p.add(G.SURF_REACTION_COUNT, "SURF_REACTION_COUNT", SRD);
    p.add(SM.PAIR_COLL_COUNT, "PAIR_COLL_COUNT", NS, NS);
    p.add(M.MOL_POS, "MOL_POS", 3, MNM);
    p.add(M.PV, "PV", M.PV_ROWS, MNM);
    p.add(M.IP, "IP", M.IP_ROWS, MNM);
    p.add(M.MOL_TIME, "MOL_TIME", MNM);
    if (vibration)
        p.add(M.MOL_VIB_LEVEL, "MOL_VIB_LEVEL", MV, MNM);
    p.add(M.IPS, "IPS", 3, M.IPS_SIZE);
    p.add(M.ISCH, "ISCH", 2, M.ISCH_SIZE);
    p.add(M.SUBCELL_IJK, "SUBCELL_IJK", 3, M.ISCH_SIZE);
    p.add(M.XREF, "XREF", RUN.XREF_SIZE);

    if (RUN.INDEX_MODE == INDEX_NORMAL)
        p.add(CELLS.IRCELL, "IRCELL", 1);
    else if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        p.add(CELLS.IRCELL, "IRCELL", MC);
    if (RUN.INDEX_MODE == INDEX_NORMAL || RUN.INDEX_MODE == INDEX_CONTINUOUS)
        plan.back().own_step = true;
    return plan;
}

long double planned_bytes(const std::vector<PlannedArray>& plan, const void* array)
{
    for (const PlannedArray& p : plan) {
        if (p.array == array)
            return static_cast<long double>(p.bytes);
    }
    return -1.0L;
}
