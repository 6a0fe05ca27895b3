// The process-wide cells.
#include "app/state/cells.h"

Cells CELLS;
