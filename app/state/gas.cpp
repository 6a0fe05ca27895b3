// The process-wide gas state.
#include "app/state/gas.h"

GasState GAS;
