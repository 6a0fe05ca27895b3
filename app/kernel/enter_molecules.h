// The "Entering" phase of the kernel: new molecules at the stream and constant-pressure sides of the
// box, at the flow-entry triangles of the surfaces, and outgassed by solid triangles.
#ifndef QR4T_APP_KERNEL_ENTER_MOLECULES_H
#define QR4T_APP_KERNEL_ENTER_MOLECULES_H

// ENTER_MOLECULES: the box sides, then the flow-entry triangles, then the outgassing triangles.
void ENTER_MOLECULES();

// The three blocks of ENTER_MOLECULES, in its order.
void enter_at_box_sides();
void enter_at_entry_triangles();
void outgas_from_solid_triangles();

// The speed ratio q of a molecule entering through a face with speed ratio s along the inward normal:
// the flux-weighted density q exp(-(q - s)^2) sampled by acceptance-rejection on
// [max(0, s - 3), max(3, s + 3)] with the constants A = s + sqrt(s^2 + 2) and B = 0.5 (1 + s (2s - A))
// that make the acceptance ratio 1 at the peak (Bird 1994, section 12.1).
float sample_entry_speed_ratio(float s, float A, float B);

// The integer part of an entry number (rate x DTM + remainder, or a constant-pressure balance), clamped
// in floating point: NaN gives 0.
int entry_count(double x);

// Equilibrium internal energy of new molecule n of species s at temperature T: rotational energy when
// the species rotates, a level of each vibrational mode it has; the slot's other internal fields are
// cleared (the slot may hold a removed molecule's values).
void set_entry_internal_energy(int n, int s, float T);

#endif
