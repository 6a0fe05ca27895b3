// Error reports of the graphics core.
#include "toolkit/graphics/gr_error.h"

int GrLastError = 0;

void gr_report_error(int number)
{
    GrLastError = number;
}
