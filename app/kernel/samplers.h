// The kernel's equilibrium distributions: the error function of the entry fluxes and the samplers of
// rotational energy, vibrational level and a pair of Maxwellian velocity components.
#ifndef QR4T_APP_KERNEL_SAMPLERS_H
#define QR4T_APP_KERNEL_SAMPLERS_H

#include <cstdint>

float ERF(float S);
void SAMPLE_ROTATIONAL_ENERGY(int L, float T, float& E);
void SAMPLE_VIB_LEVEL(int L, float T, int8_t& level, int K);
void SAMPLE_MAXWELLIAN_PAIR(float& c1, float& c2, float v);

#endif
