// What the run control needs of the result displays: the progress log dialog and the run-start
// display settings. The flowfield, surface and history pictures are drawn by the displays, which are
// not part of this program yet; their entry points draw nothing.
#include "app/displays/displays.h"

#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/samples.h"
#include "resources/dialog_ids.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"

void VIEW_SURFACES_3D()
{
    DISPLAY.VIEW_MODE_3D = 1;
}

void LOAD_DISPLAY_DIALOGS()
{
    DisplaySettings& d = DISPLAY;
    if (SAMPLES.SAMPLE_COUNT == 0) {
        set_continued_run_display_settings();
        d.FLOW_PROPERTY.set(10);
        d.FLOW_PLANE_AXIS.current = 3;
        d.FLOW_PLANE_AXIS.previous = 2;  // differs, so that the first poll redraws
        d.FLOW_PLANE_DIVISION.set(1);
        d.FLOW_PLANE_ELEMENT.set(1);
        d.SURF_VIEW_ZOOM.set(0);
        d.SURF_VIEW_SHIFT_H.set(0);
        d.SURF_VIEW_SHIFT_V.set(0);
        d.SURF_VIEW_AZIMUTH.set(0);
        d.SURF_VIEW_ELEVATION.set(0);
        d.VIEW_MODE_3D = 1;
    }
    WDialogLoad(IDD_LOG);
    WDialogSelect(IDD_LOG);
    if (GAS.GAS_REACTIONS == 0)
        for (int field :
             {IDC_LOG_REACTIONS, IDC_LOG_REACTION_TYPE, IDC_LOG_REACTION_TYPE_LABEL, IDC_LOG_REACTIONS_LABEL})
            WDialogFieldState(field, 0);
    WDialogShow(0, 0, 0, 2);
    IGrColourN(0);
}

void HANDLE_DISPLAY_CONTROLS() {}
void DRAW_FLOWFIELD_PROPERTIES() {}
void PLOT_MOLECULE_HISTORY() {}
void SHOW_FORCES_AND_MOMENTS() {}
void DRAW_SURFACE_PROPERTIES() {}
