// The process-wide divisions and elements.
#include "app/state/divisions.h"

Divisions DIVISIONS;
