#include "app/state/samples.h"

SampleSums SAMPLES;
