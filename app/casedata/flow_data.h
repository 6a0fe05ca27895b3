// Internal to the flow-data reader: the gas reactions as read, and the steps of READ_FLOW_DATA that
// live in their own files.
#ifndef QR4T_APP_CASEDATA_FLOW_DATA_H
#define QR4T_APP_CASEDATA_FLOW_DATA_H

#include "base/array.h"

#include <string>

// The "REACTION INPUT" group: the gas reactions and third-body values as read (items 28-38), owned by
// READ_FLOW_DATA and freed when the reaction tables are built from them.
struct ReactionInput {
    Array<float, 2> THIRD_BODY_VALUES;     // (THIRD_BODY_TABLES, SPECIES_COUNT) item 38
    Array<int, 1> REACTANT_A;              // (GAS_REACTIONS) species of one reacting molecule, item 28
    Array<int, 1> REACTANT_B;              // (GAS_REACTIONS) species of the other, item 29
    Array<int, 1> CODE_P1;                 // (GAS_REACTIONS) > 0 dissociation, -1 recombination, 0 exchange
    Array<int, 1> CODE_P2;                 // (GAS_REACTIONS) item 31
    Array<int, 1> CODE_P3;                 // (GAS_REACTIONS) item 32
    Array<float, 1> INTERNAL_DOF;          // (GAS_REACTIONS) contributing internal degrees of freedom
    Array<float, 1> ACTIVATION_ENERGY;     // (GAS_REACTIONS) item 34
    Array<float, 1> PRE_EXPONENTIAL;       // (GAS_REACTIONS) 1.E10 x the pre-exponential parameter
    Array<float, 1> TEMPERATURE_EXPONENT;  // (GAS_REACTIONS) item 36
    Array<float, 1> REACTION_ENERGY;       // (GAS_REACTIONS) item 37
};

// "item 13 (number of molecular species)": the name of a flow-data item in messages.
std::string flow_item(int number, const std::string& what);

// Items 39 to 76: surface reactions, stream, box sides, initial state and run settings.
void read_flow_settings();

// Builds the reaction tables of GAS from the input, then frees the input.
void build_reaction_tables(ReactionInput& input);

#endif
