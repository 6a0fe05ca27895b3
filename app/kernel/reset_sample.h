// The start of a new sample: every sample sum zeroed and the start recorded.
#ifndef QR4T_APP_KERNEL_RESET_SAMPLE_H
#define QR4T_APP_KERNEL_RESET_SAMPLE_H

void RESET_SAMPLE();

#endif
