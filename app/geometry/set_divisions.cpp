// SET_DIVISIONS_AND_ELEMENTS: the driver of the divisions-and-elements set-up of a new run, with its
// progress dialog 107 and the allocation of the division and element arrays.
#include "app/geometry/close_request.h"
#include "app/geometry/geometry.h"
#include "app/geometry/grid_pictures.h"
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

namespace {

}  // namespace

// The "Coordinates" stage.
void coordinates_stage()
{
    Divisions& D = DIVISIONS;
    const auto& S = SURFACE;
    progress_stage("Coordinates");
    D.GEOMETRY_TOLERANCE = 1.0e-5f;
    fill_neighbour_tables();
    const char* group = "PROGRAM COULD NOT ALLOCATE POINTS AND TRIANGLES";
    if (!SAMPLES.SURF_SAMPLE.allocate(6, S.TRIANGLE_COUNT, GAS.SPECIES_COUNT))
        allocation_stop(group, "SURF_SAMPLE");
    if (!D.TRIANGLE_NEIGHBOURS.allocate(S.TRIANGLE_COUNT, 3))
        allocation_stop(group, "TRIANGLE_NEIGHBOURS");
    if (!SAMPLES.ADIABATIC_SAMPLE.allocate(2, S.TRIANGLE_COUNT))
        allocation_stop(group, "ADIABATIC_SAMPLE");
    if (!SAMPLES.SURF_FORCE_SAMPLE.allocate(6, S.SURFACE_COUNT))
        allocation_stop(group, "SURF_FORCE_SAMPLE");
}

// The division and element arrays of the marking, with their first values.
void allocate_division_arrays()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const char* group = "PROGRAM COULD NOT ALLOCATE DIVISION, ELEMENT SETTING";
    const int dz = B.DIVISIONS_Z, dy = B.DIVISIONS_Y, dx = B.DIVISIONS_X;
    const int ez = B.ELEMENTS_PER_DIVISION_Z, ey = B.ELEMENTS_PER_DIVISION_Y, ex = B.ELEMENTS_PER_DIVISION_X;
    if (!D.SURFACE_ELEMENT_NUMBER.allocate(dz, dy, dx, ez, ey, ex))
        allocation_stop(group, "SURFACE_ELEMENT_NUMBER");
    if (!D.INDSURF.allocate(D.MTRI + 1, D.MAXSEL))
        allocation_stop(group, "INDSURF");
    if (!D.ELEMENT_CODE.allocate(dz, dy, dx, ez, ey, ex))
        allocation_stop(group, "ELEMENT_CODE");
    if (!D.DIVISION_INFO.allocate(3, dz, dy, dx))
        allocation_stop(group, "DIVISION_INFO");
    if (!D.INDIV.allocate(D.MNSEG + 1, dz, dy, dx))
        allocation_stop(group, "INDIV");
    D.indiv_room = D.MNSEG;

    if (SURFACE.SURFACE_COUNT == 0)
        for (int iz = 1; iz <= dz; ++iz)
            for (int iy = 1; iy <= dy; ++iy)
                for (int ix = 1; ix <= dx; ++ix)
                    D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) = NO_SURFACE_LEVEL;
    D.SURFACE_DIVISION_COUNT = 0;
    D.ELEMENT_CODE.fill(-2);
    D.SURFACE_ELEMENT_COUNT = 0;
}

namespace {

// At the end of the set-up: its temporaries are freed.
void release_temporaries()
{
    Divisions& D = DIVISIONS;
    D.SURFACE_ELEMENT_DATA.deallocate();
    D.SURFACE_ELEMENT_NUMBER.deallocate();
    D.ELEMENT_CODE.deallocate();
    D.INDSURF.deallocate();
    D.INDIV.deallocate();
    D.indiv_room = 0;
}

}  // namespace

void SET_DIVISIONS_AND_ELEMENTS()
{
    Divisions& D = DIVISIONS;
    write_list(UNIT_DIAG, {"The division-element diagnostic file DIVEL.TXT is not generated"});
    set_lattice_scalars();

    // Progress budget: 0.1 + 1 steps per triangle, 1 + 0.1 + 0.0333 per division, 100 spare.
    int range = static_cast<int>(double(SURFACE.TRIANGLE_COUNT) * double(1.1f) + 100.0 +
                                 double(D.DIVISION_COUNT) * double(1.133f));
    open_progress_dialog(IDD_DIVISIONS_PROGRESS, range, D.PROGRESS_STEP);
    D.PROGRESS_VALUE = 0.0f;

    coordinates_stage();
    set_triangle_connectivity();
    allocate_division_arrays();
    mark_surface_elements();
    analyse_elements();
    set_surface_divisions();
    set_outer_divisions();
    log_total_flow_volume();

    WDialogUnload();
    if (SURFACE.SURFACE_COUNT > 0)
        DRAW_DIVISIONS_AND_ELEMENTS();
    release_temporaries();
    poll_close_request();
}
