// The work arrays of the result displays: an allocation that fails writes "PROGRAM COULD NOT ALLOCATE"
// with the array's name to the diagnostic log and stops the program, since a display that went on
// without its array would write where nothing is.
#ifndef QR4T_APP_DISPLAYS_DISPLAY_ARRAYS_H
#define QR4T_APP_DISPLAYS_DISPLAY_ARRAYS_H

#include "base/array.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <string>

// Allocates `a` with the extents given; on failure logs the line and stops with a message that names
// the display (`owner`) and the array.
template <class T, int Rank, class... E>
void allocate_or_stop(Array<T, Rank>& a, const char* owner, const char* name, E... extents)
{
    if (a.allocate(extents...))
        return;
    write_list(UNIT_DIAG, {std::string("PROGRAM COULD NOT ALLOCATE ") + name});
    fatal_stop(std::string(owner) + ": cannot allocate the work array " + name);
}

#endif
