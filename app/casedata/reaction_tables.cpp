// The last step of READ_FLOW_DATA: the reaction tables of the chemistry and the gas-surface
// interaction, built from the gas reactions, third-body values and surface reactions as read.
//
// Per gas reaction: its reactants, the number of molecules that come out of each reactant and their
// species, and its rate constants; per species pair the list of the reactions between them; per
// incident species the list of its surface reactions; and the per-sample reaction counters. The
// species codes were checked against the species count when they were read, so every code used as a
// subscript here names a species.
#include "app/casedata/case_input.h"
#include "app/casedata/flow_data.h"
#include "app/state/gas.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <algorithm>

namespace {

// Writes the tables' allocation-failure line with its status; the run cannot go on without them.
[[noreturn]] void stop_table_allocation(const char* log_text, const std::string& count_item, int count)
{
    write_list(UNIT_DIAG, {log_text, ALLOCATION_FAILED_STATUS});
    fatal_stop(std::string(FLOW_DATA_FILE) + " " + count_item + ": value " + value_text(count) +
               ": the reaction tables sized by it could not be allocated");
}

// Tables 1 to 9: the gas-reaction tables and the counters, allocated also without reactions.
void allocate_gas_reaction_tables()
{
    auto& G = GAS;
    int S = G.SPECIES_COUNT;
    int N = G.GAS_REACTION_DIM;
    bool ok = allocate_case_array(G.REACTION_CONSTANTS, 6, N) &&
              allocate_case_array(G.REACTION_REACTANTS, 2, N) &&
              allocate_case_array(G.REACTION_PRODUCT_COUNT, 2, N) &&
              allocate_case_array(G.SURF_REACTION_COUNT, G.SURFACE_REACTION_DIM) &&
              allocate_case_array(G.THIRD_BODY_TABLE, G.THIRD_BODY_DIM, S) &&
              allocate_case_array(G.REACTION_PRODUCTS, 2, N, 2) &&
              allocate_case_array(G.REACTION_PAIR_COUNT, S, S) &&
              allocate_case_array(G.REACTION_PAIR_LIST, N, S, S) && allocate_case_array(G.REACTION_COUNT, N);
    if (!ok)
        stop_table_allocation("PROGRAM COULD NOT ALLOCATE SPACE FOR REACTIONS, ERROR=",
                              flow_item(15, "number of chemical reactions"), G.GAS_REACTIONS);
}

// Fills the gas-reaction tables (the arrays start zero-filled). The list of a species pair holds its
// reaction numbers in increasing order, under (i, j) and (j, i); a reaction of two molecules of one
// species is listed once, under (i, i).
void fill_gas_reaction_tables(const ReactionInput& in)
{
    auto& G = GAS;
    auto& PAIR_COUNT = G.REACTION_PAIR_COUNT;
    auto& PAIR_LIST = G.REACTION_PAIR_LIST;
    auto& PRODUCTS = G.REACTION_PRODUCTS;
    auto& PRODUCT_COUNT = G.REACTION_PRODUCT_COUNT;
    for (int T = 1; T <= G.THIRD_BODY_TABLES; ++T) {
        for (int L = 1; L <= G.SPECIES_COUNT; ++L)
            G.THIRD_BODY_TABLE(T, L) = in.THIRD_BODY_VALUES(T, L);
    }
    for (int N = 1; N <= G.GAS_REACTIONS; ++N) {
        int A = in.REACTANT_A(N);
        int B = in.REACTANT_B(N);
        G.REACTION_REACTANTS(1, N) = A;
        G.REACTION_REACTANTS(2, N) = B;
        int i = std::min(A, B);
        int j = std::max(A, B);
        PAIR_COUNT(i, j) += 1;
        if (i != j)
            PAIR_COUNT(j, i) += 1;
        int k = PAIR_COUNT(i, j);
        PAIR_LIST(k, i, j) = N;
        PAIR_LIST(k, j, i) = N;

        int P1 = in.CODE_P1(N);
        int P2 = in.CODE_P2(N);
        int P3 = in.CODE_P3(N);
        if (P1 == 0) {  // exchange
            PRODUCT_COUNT(1, N) = 1;
            PRODUCT_COUNT(2, N) = 1;
            PRODUCTS(1, N, 1) = P2;
            PRODUCTS(2, N, 1) = P3;
        } else if (P1 > 0) {  // dissociation of reactant 1
            PRODUCT_COUNT(1, N) = 2;
            PRODUCT_COUNT(2, N) = 1;
            PRODUCTS(1, N, 1) = P1;
            PRODUCTS(1, N, 2) = P2;
            PRODUCTS(2, N, 1) = P3;
        } else {  // recombination (P1 = -1; lower codes were refused when read)
            PRODUCT_COUNT(1, N) = 1;
            PRODUCT_COUNT(2, N) = 0;
            PRODUCTS(1, N, 1) = P2;
            PRODUCTS(2, N, 1) = P3;  // third-body species, or minus the third-body table
        }
        G.REACTION_CONSTANTS(1, N) = in.INTERNAL_DOF(N);
        G.REACTION_CONSTANTS(2, N) = in.ACTIVATION_ENERGY(N);
        G.REACTION_CONSTANTS(3, N) = in.PRE_EXPONENTIAL(N);
        G.REACTION_CONSTANTS(4, N) = in.TEMPERATURE_EXPONENT(N);
        G.REACTION_CONSTANTS(5, N) = in.REACTION_ENERGY(N);
    }
}

// Tables 10 and 11: the surface reactions of each incident species.
void build_surface_reaction_lists()
{
    auto& G = GAS;
    bool ok = allocate_case_array(G.SURF_REACTION_SPECIES_COUNT, G.SPECIES_COUNT) &&
              allocate_case_array(G.SURF_REACTION_SPECIES_LIST, G.SURFACE_REACTION_DIM, G.SPECIES_COUNT);
    if (!ok)
        stop_table_allocation("PROGRAM COULD NOT ALLOCATE SPACE FOR SURFACE REACTIONS",
                              flow_item(17, "number of surface reactions"), G.SURFACE_REACTIONS);
    auto& COUNT = G.SURF_REACTION_SPECIES_COUNT;
    auto& LIST = G.SURF_REACTION_SPECIES_LIST;
    for (int N = 1; N <= G.SURFACE_REACTIONS; ++N) {
        int i = G.SURF_REACTANTS(1, N);
        COUNT(i) += 1;
        LIST(COUNT(i), i) = N;
        int j = G.SURF_REACTANTS(2, N);
        if (j > 0 && j != i) {
            COUNT(j) += 1;
            LIST(COUNT(j), j) = N;
        }
    }
}

}  // namespace

void build_reaction_tables(ReactionInput& input)
{
    auto& G = GAS;
    G.GAS_REACTION_DIM = G.GAS_REACTIONS == 0 ? 1 : G.GAS_REACTIONS;
    G.THIRD_BODY_DIM = G.THIRD_BODY_TABLES == 0 ? 1 : G.THIRD_BODY_TABLES;
    allocate_gas_reaction_tables();
    if (G.GAS_REACTIONS > 0)
        fill_gas_reaction_tables(input);
    build_surface_reaction_lists();
    input = ReactionInput{};
}
