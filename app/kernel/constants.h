// Physical constants of the kernel, each the program's own 4-byte real.
#ifndef QR4T_APP_KERNEL_CONSTANTS_H
#define QR4T_APP_KERNEL_CONSTANTS_H

constexpr float BOLTZ = 1.3806E-23f;   // Boltzmann's constant k (J/K)
constexpr float BOLTZ2 = 2.7612E-23f;  // 2k: most probable speed sqrt(2kT/m)
constexpr float BOLTZ3 = 4.1418E-23f;  // 3k
// 2/k, temperature from an energy per degree of freedom. The three spellings of the value
// (1.448645510250533e23, 1.44864551e23, 1.44864553e23) all round to this one float.
constexpr float TWO_OVER_BOLTZ = 1.44864551E23f;
constexpr float PI4 = 3.1415927f;      // pi as a 4-byte real
constexpr float SQRT_PI = 1.7724539f;  // sqrt(pi)

#endif
