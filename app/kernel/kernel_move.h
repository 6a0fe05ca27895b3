// The "Moving" phase of the kernel: the per-molecule clocks, the path of one molecule through the
// divisions and elements, the six box faces and the moving wall, the recovery of points that fall in no
// cell, and the gas-surface interaction with surface reactions and the surface samples.
#ifndef QR4T_APP_KERNEL_KERNEL_MOVE_H
#define QR4T_APP_KERNEL_KERNEL_MOVE_H

// The kernel keeps the short names of its routines' arguments, so that the code reads like the method's
// own listing. Glossary:
//   N      the molecule in hand, a molecule number 1 .. NM; a routine that removes it steps N back by one
//          (REMOVE_MOLECULE), so that a caller walking upward visits the slot again
//   L, M   the two molecules of a collision pair (M also names the third body after a recombination),
//          LS and MS their species
//   K      a molecule whose copy is appended (ADD_MOLECULE), elsewhere a loop's cell or mode number
//   NCI    the cell of molecule N, NCELL a cell named to the store's index, CN a cell found for a point
//   II     the outcome of a move step: MOVE_PENDING on the call, MOVE_KEPT, MOVE_REMOVED (below)
//   ITRI   a triangle number; DTIM a time to move; THIT the clock of a product of a surface hit
constexpr int MOVE_PENDING = 0;   // II on the call
constexpr int MOVE_KEPT = 1;      // II: the molecule is still in the flow
constexpr int MOVE_REMOVED = -1;  // II: the molecule was removed (N one less)

// Verdicts of the box faces and the moving wall, as a fraction of the sub-step in SDMIN.
constexpr float NO_FACE_MET = 1.1f;         // no face was met
constexpr float LEAVES_FLOWFIELD = -1.0f;   // the molecule leaves through a face and is removed
constexpr float MIN_FACE_FRACTION = 1e-5f;  // smallest fraction reported for a reflection

// MOVE_MOLECULES: moves every molecule whose clock lags TIME by more than its cell's time step.
void MOVE_MOLECULES();

// move_for_time: moves molecule N (in cell NCI) for DTIM in sub-steps of MOVE_ONE_MOLECULE, each on from
// where the last one stopped, until the time is used up, the molecule meets a surface or is removed
// (II as MOVE_ONE_MOLECULE leaves it; in/out: N, NCI, II). Every molecule is moved for all the time its clock
// advanced: a path cut at a division width, or stopped at a box face that reflected it, goes on for the rest.
void move_for_time(int& N, int& NCI, float DTIM, int& II);

// MOVE_ONE_MOLECULE: moves molecule N (in cell NCI) for DTIM along a straight path, at most one
// division width per axis. II (MOVE_PENDING on the call) comes back MOVE_KEPT when the molecule is still
// in the flow, with NCI its new cell and DTIM the time still to move (the part cut off at a division
// width and the part after a reflection that stopped it at a box face; 0 after a surface hit), or
// MOVE_REMOVED when it was removed (N one less, DTIM 0). The molecule's clock already holds the end of
// the whole step.
// In/out: N, NCI, DTIM, II.
void MOVE_ONE_MOLECULE(int& N, int& NCI, float& DTIM, int& II);

// APPLY_BOX_FACES: applies the six sides' codes to the end point (X, Y, Z) of a sub-step with
// displacement (DX, DY, DZ). SDMIN: 1.1 no face met, a fraction >= 1e-5 a reflection, -1 removal.
void APPLY_BOX_FACES(int N, float& X, float DX, float& Y, float DY, float& Z, float DZ, float& SDMIN);

// Reflects the end point P of a sub-step, kept where APPLY_BOX_FACES left it, at every plane of
// symmetry that it still lies beyond (reversing that velocity component).
void reflect_at_further_planes(int N, float P[3]);

// REFLECT_AT_MOVING_WALL: the piston at side 1, moving from XMIN into the flow at WALL_SPEED. X is the x
// of the end point of a sub-step of DX over DTIM with TLEFT left; SDMIN as for the box faces.
void REFLECT_AT_MOVING_WALL(int N, float& X, float DX, float DTIM, float TLEFT, float& SDMIN);

// RELOCATE_LOST_MOLECULE (with FIND_CELL) and RELOCATE_LOST_MOLECULE_IN_DIVISION (with
// FIND_CELL_IN_DIVISION): for CN < 0, up to 100 random trial points ever wider around (X, Y, Z) until a
// cell search gives a value that is not negative; (X, Y, Z) is left at the point last tried.
void RELOCATE_LOST_MOLECULE(int& CN, float& X, float& Y, float& Z);
void RELOCATE_LOST_MOLECULE_IN_DIVISION(int& CN, float& X, float& Y, float& Z);

// INTERACT_WITH_SURFACE: molecule N (in cell NCI) hits triangle ITRI at (X, Y, Z); THIT is the clock
// given to reaction products. Absorbs, reacts, sticks or reflects the molecule and fills the surface
// samples; on removal II := MOVE_REMOVED and N is one less.
// In: ITRI, NCI, X, Y, Z, THIT. In/out: N, II.
void INTERACT_WITH_SURFACE(int& N, int ITRI, int NCI, int& II, float X, float Y, float Z, float THIT);

#endif
