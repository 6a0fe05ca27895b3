// The state arrays as the size record dimensions them: which arrays a continued run allocates, in
// which order, with which extents, and so how many bytes each array item of the set must hold.
#ifndef QR4T_APP_RESTART_RESTART_PLAN_H
#define QR4T_APP_RESTART_RESTART_PLAN_H

#include "base/array.h"

#include <cstdint>
#include <functional>
#include <vector>

// One state array with the extents that the size items give it.
struct PlannedArray {
    const void* array = nullptr;     // the Array object
    const char* name = "";           // its name, for messages
    std::uint64_t bytes = 0;         // planned byte length, saturated at UINT64_MAX
    bool own_step = false;           // IRCELL: allocated after the variant, with its own message
    std::function<bool()> allocate;  // allocates it with those extents (zero-filled)
};

// The arrays of the allocation variant picked by MAX_VIB_MODES, in the documented order, then IRCELL
// (one element with normal indexing, MAX_CELLS with continuous indexing). Reads the size items from
// the state.
std::vector<PlannedArray> restart_plan();

// The variant number 1 to 4 of the failure message.
int restart_variant();

// The planned byte length of an array of the plan, or -1 when the plan does not hold it.
long double planned_bytes(const std::vector<PlannedArray>& plan, const void* array);

#endif
