// The dialog layer's view of grid fields: the hooks that the grid control fills.
#include "toolkit/win/grid_fields_win.h"

GridFieldHooks GRID_FIELD_HOOKS;
int WGridEditing = 0;

bool is_grid_field(HWND field)
{
    return field && GRID_FIELD_HOOKS.grid_class &&
           GetClassLongA(field, GCW_ATOM) == GRID_FIELD_HOOKS.grid_class;
}
