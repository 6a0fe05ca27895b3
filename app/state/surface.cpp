// The process-wide surface state.
#include "app/state/surface.h"

SurfaceState SURFACE;
