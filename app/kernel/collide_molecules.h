// The "Collisions" phase of the kernel: per-cell clocks and pair selection by the no-time-counter
// scheme with the cell's bound on cross-section times relative speed (Bird 1994, section 11.1),
// transient sub-cells for the partner search, and the collision mechanics of the variable hard sphere
// model with Larsen-Borgnakke exchange of rotational and vibrational energy (Bird 1994, sections 5.3
// and 5.6) and the call into gas-phase chemistry.
#ifndef QR4T_APP_KERNEL_COLLIDE_MOLECULES_H
#define QR4T_APP_KERNEL_COLLIDE_MOLECULES_H

#include "app/state/molecules.h"

#include <cstddef>
#include <vector>

// COLLIDE_MOLECULES: collides the molecules of every due cell, then removes the molecules that gas
// reactions have marked (negative cell in IP row 2). A pass that follows the last one (flow time on by
// DTM, the same DTM, OUTPUT_TIME and cell table) does not read the clocks and steps of the cells that
// the last passes found surely not due in it: a change of a cell's step or clock between passes is
// seen only together with one of those (an output moves OUTPUT_TIME on; a restart or a cell adaption
// sets the flow time or makes the cell table anew).
void COLLIDE_MOLECULES();

// The least bound on sigma_T c_r (CELL_DATA field 14) that the gas of a cell at translational
// temperature T can need: sigma_T c_r of a pair at three times the most probable relative speed
// sqrt(2 k T / m_r), the largest over the species pairs that the cell's present sample holds (over all
// pairs for cell 0, or a sample without molecules). The bound starts at least there and is never
// lowered below it: a pair faster than the bound is accepted as if it were at the bound until the bound
// has grown, so a bound low in the distribution loses collisions, most in cells with few selections.
float collision_bound_floor(double T, int cell);

// collision_bound_floor for many cells (an output lowers the bound of every cell): the species pairs'
// constants of the gas are formed once, at the first floor asked for.
class CollisionBoundFloors {
public:
    float operator()(double T, int cell);

private:
    bool formed_ = false;
    int species_ = 0;
    std::vector<double> K_, power_, reduced_mass_;  // of pair (p, q) at (p - 1) species + q - 1
};

// The floor of collision_bound_floor for the stream's gas over all species pairs, at the stream's
// temperature (the hotter of the two gases with a separation boundary): the start of every cell's bound,
// and the floor of a cell whose sample is not usable.
float stream_collision_bound_floor();

// The molecules of the index's lists as one raw column, for loops over a cell's list: the molecule at
// list position p is XREF(p) under continuous indexing, else IP(IP_PLACE, p). Valid while the store
// and XREF keep their storage (a collision that grows the store moves them).
struct ListColumn {
    const int* at;
    std::ptrdiff_t stride;
    int operator()(int p) const { return at[stride * (p - 1)]; }
    const int* address(int p) const { return at + stride * (p - 1); }
};

inline ListColumn list_column(bool continuous)
{
    const auto& M = MOLECULES;
    if (continuous)
        return {M.XREF.data(), 1};
    return {M.IP.data() + (IP_PLACE - 1), M.IP.extent(1)};
}

// SET_SUBCELLS: sorts the molecules of cell j into n x n x n sub-cells for one collision interval
// (IPS, ISCH, SUBCELL_IJK of MOLECULES). With fewer than two molecules n and n3 stay as they are;
// otherwise n := int((N / CELL_DATA(11, j))^0.33333) and, when n >= 2, n3 := n^3 and the arrays hold
// the sort.
void SET_SUBCELLS(int j, int& n, int& n3);

// The partner of first molecule M at list position p of cell j, taken from M's sub-cell, else from the
// nearest occupied neighbouring sub-cell, else from the whole cell; after SET_SUBCELLS with n >= 2.
// Returns M itself when every draw gave M. Never returns a molecule that a reaction has marked.
int find_subcell_partner(int j, int M, int p, int n);

// The collision of the accepted pair M (first, species LS) and L (partner, species MS) in cell j with
// squared relative speed cr2 and relative speed cr: chemistry, internal-energy exchange, scattering.
// May grow the molecule store (a dissociation) and mark a molecule for removal (a recombination).
void collide_pair(int j, int M, int L, int LS, int MS, float cr2, float cr);

// SAMPLE_ENERGY_RATIO: a ratio R in (0, 1) with density proportional to R^a (1 - R)^b, by
// acceptance-rejection (Bird 1994, appendix C); callers pass a = zr / 2 - 1 and b = 1.5 - omega.
void SAMPLE_ENERGY_RATIO(float a, float b, float& R);

// REACTION_FLAG: 1 when the last accepted pair of a gas mixture reacted, else 0 (CHEMICAL_REACTION
// sets it; the internal-energy exchange then redistributes every mode of both molecules).
extern int REACTION_FLAG;

#endif
