// The work arrays of the result displays: an allocation that fails writes "PROGRAM COULD NOT ALLOCATE"
// with the array's name to the diagnostic log. Arrays that outlive one drawing stop the program, since
// a display that went on without them would write where nothing is; a drawing's own scratch array
// gives up that drawing alone, and the run goes on with the picture as it was.
#ifndef QR4T_APP_DISPLAYS_DISPLAY_ARRAYS_H
#define QR4T_APP_DISPLAYS_DISPLAY_ARRAYS_H

#include "base/array.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <string>

// Allocates `a` with the extents given; on failure logs the line and answers false, the array left
// unallocated, so that the caller gives up its drawing.
template <class T, int Rank, class... E>
[[nodiscard]] bool allocate_or_give_up(Array<T, Rank>& a, const char* name, E... extents)
{
    if (a.allocate(extents...))
        return true;
    write_list(UNIT_DIAG, {std::string("PROGRAM COULD NOT ALLOCATE ") + name});
    return false;
}

// Allocates `a` with the extents given; on failure logs the line and stops with a message that names
// the display (`owner`) and the array.
template <class T, int Rank, class... E>
void allocate_or_stop(Array<T, Rank>& a, const char* owner, const char* name, E... extents)
{
    if (!allocate_or_give_up(a, name, extents...))
        fatal_stop(std::string(owner) + ": cannot allocate the work array " + name);
}

#endif
