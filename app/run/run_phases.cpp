// The real routines behind the run's phase table.
#include "app/geometry/geometry.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/cell_order.h"
#include "app/kernel/collide_molecules.h"
#include "app/kernel/enter_molecules.h"
#include "app/kernel/initialize_flow.h"
#include "app/kernel/kernel_move.h"
#include "app/kernel/reset_sample.h"
#include "app/kernel/sample_flowfield.h"
#include "app/restart/restart.h"
#include "app/run/main_program.h"

void bind_run_phases()
{
    RunPhases& p = RUN_PHASES;
    p.SET_DIVISIONS_AND_ELEMENTS = SET_DIVISIONS_AND_ELEMENTS;
    p.SET_UP_CELLS = SET_UP_CELLS;
    p.INITIALIZE_FLOW = INITIALIZE_FLOW;
    p.ADAPT_CELLS = ADAPT_CELLS;
    p.RESET_SAMPLE = RESET_SAMPLE;
    p.RESET_CONTINUOUS_INDEXING = RESET_CONTINUOUS_INDEXING;
    p.MOVE_MOLECULES = MOVE_MOLECULES;
    p.ENTER_MOLECULES = ENTER_MOLECULES;
    p.INDEX_MOLECULES = index_molecules_in_cell_order;  // INDEX_MOLECULES, the store kept in cell order
    p.COLLIDE_MOLECULES = COLLIDE_MOLECULES;
    p.SAMPLE_FLOWFIELD = SAMPLE_FLOWFIELD;
    p.CHECK_INDEX = CHECK_INDEX;
    p.OUTPUT_PROPERTIES = OUTPUT_PROPERTIES;
    p.WRITE_RESTART = WRITE_RESTART;
    p.READ_RESTART = READ_RESTART;
}
