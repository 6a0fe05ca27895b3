#include "app/state/results.h"

FlowResults RESULTS;
