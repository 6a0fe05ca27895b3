#include "base/random.h"

RandomState RANDOM_STATE;
