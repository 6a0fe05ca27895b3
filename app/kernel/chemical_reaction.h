// Gas-phase chemistry by the total collision energy model (Bird 1994, section 6.6): the steric-factor
// constants of the reactions and the reaction of one accepted collision.
#ifndef QR4T_APP_KERNEL_CHEMICAL_REACTION_H
#define QR4T_APP_KERNEL_CHEMICAL_REACTION_H

// Gamma(X) for X > 0 (Abramowitz and Stegun 6.1.35 with the recurrence).
float GAMMA_FUNCTION(float X);

// Sets REACTION_CONSTANTS field 6 of every gas reaction and makes REACTION_PAIR_LIST symmetric.
void REACTION_RATE_FACTORS();

// Offers the accepted collision of molecules L and M (species LS and MS) in cell `cell` for reaction.
// reacted := 1 when a reaction took place, else 0 and nothing else changes. On a reaction the species
// change, a dissociation appends a molecule, a recombination marks M (negated cell) and M then names
// the third body; CRSQ and CR become the relative speed of the new pair that carries the total energy,
// mass_ratio_m and mass_ratio_l the reduced mass over the mass of MS and of LS.
// (The collision step's own name for this operation is REACT_PAIR, which labels L and M the other way.)
// The call may grow the molecule store: the caller holds no pointer into it across the call.
// In: cell, L, VCM. Out: reacted, mass_ratio_m, mass_ratio_l. In/out: M, LS, MS, CRSQ, CR.
void CHEMICAL_REACTION(int& reacted, int cell, int L, int& M, int& LS, int& MS, float& CRSQ, float& CR,
                       const float VCM[3], float& mass_ratio_m, float& mass_ratio_l);

#endif
