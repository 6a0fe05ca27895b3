// Internal to the restart reader: the range checks of the numbers in a restored state.
#ifndef QR4T_APP_RESTART_RESTART_CHECK_H
#define QR4T_APP_RESTART_RESTART_CHECK_H

// Stops the program, naming the file, the array element and the value, when a restored number that
// later steps use as a subscript (corner, triangle, species, cell, reaction or list number) lies
// outside its range.
void check_restored_state();

#endif
