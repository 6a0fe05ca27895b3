// The process-wide box state.
#include "app/state/box.h"

BoxState BOX;
