// The process-wide run state.
#include "app/state/run.h"

RunState RUN;
