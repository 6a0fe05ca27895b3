// The control dialogs in a real main window: where LOAD_DISPLAY_DIALOGS shows them on the 1020 x 718
// client. The log stays in the top left corner, the units bar and the forces dialog at the top right,
// the two toolbars side by side above row 230 where the pictures begin, and none overlaps another;
// no text cursor sits in a read-only line of the log.
#include "app/displays/clear_display_state.h"
#include "app/displays/displays.h"
#include "app/state/clear_state.h"
#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/dialogs_win.h"
#include "toolkit/win/entry.h"

#include "../win/win_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The dialog's outer rectangle in pixels of the main window's client.
RECT client_rect_of(int dialog)
{
    WDialogSelect(dialog);
    RECT r{};
    GetWindowRect(current_dialog_window(), &r);
    POINT origin{0, 0};
    ClientToScreen(WIN_TABLE.slot[0].client, &origin);
    OffsetRect(&r, -origin.x, -origin.y);
    return r;
}

TEST(DisplayDialogsLayout, ShownDialogsFitTheirPlacesWithoutOverlap)
{
    open_test_main_window();
    clear_every_state_group();
    clear_display_state();
    BOX.DIVISIONS_X = BOX.DIVISIONS_Y = BOX.DIVISIONS_Z = 2;
    SURFACE.SURFACE_COUNT = 2;
    GAS.GAS_REACTIONS = 0;  // as in the Delta Wing case: the log's reaction fields are disabled
    GAS.STREAM_SPEED = 100.0f;
    RUN.OUTPUT_UNITS = 1;
    DISPLAY.RUN_TYPE = 3;
    LOAD_DISPLAY_DIALOGS();
    drain_messages();

    struct Place {
        int dialog;
        int left, top;      // where it must start (-1: anywhere)
        int right, bottom;  // the box it must stay in
    };
    const Place places[] = {
        {IDD_LOG, -1, -1, 394, 166},
        {IDD_OUTPUT_UNITS, 713, 0, 1020, 24},
        {IDD_FORCES_SI, 713, 24, 713 + 306, 24 + 143},
        {IDD_FLOW_TOOLBAR_SI, 509, 168, 509 + 510, 168 + 62},
        {IDD_SURFACE_TOOLBAR, 0, 168, 510, 168 + 62},
    };
    std::vector<RECT> rects;
    for (const Place& p : places) {
        const RECT r = client_rect_of(p.dialog);
        SCOPED_TRACE(p.dialog);
        EXPECT_TRUE(IsWindowVisible(current_dialog_window()));
        if (p.left >= 0) {
            EXPECT_EQ(r.left, p.left);
            EXPECT_EQ(r.top, p.top);
        } else {
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
        }
        EXPECT_LE(r.right, p.right);
        EXPECT_LE(r.bottom, p.bottom);
        rects.push_back(r);
    }
    for (size_t a = 0; a < rects.size(); ++a)
        for (size_t b = a + 1; b < rects.size(); ++b) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &rects[a], &rects[b]))
                << "dialogs " << places[a].dialog << " and " << places[b].dialog << " overlap";
        }
    // The shown log gives the focus to none of its read-only lines, where a text cursor would blink.
    if (HWND focus = GetFocus()) {
        char kind[32] = "";
        GetClassNameA(focus, kind, sizeof kind);
        EXPECT_FALSE(lstrcmpiA(kind, "Edit") == 0 && (GetWindowLongA(focus, GWL_STYLE) & ES_READONLY))
            << "the focus is in read-only field " << GetDlgCtrlID(focus);
    }
    // The other unit systems' dialogs are loaded but hidden.
    for (int hidden :
         {IDD_FLOW_TOOLBAR_ENGLISH, IDD_FLOW_TOOLBAR_RATIO, IDD_FORCES_ENGLISH, IDD_FORCES_COEFFICIENTS}) {
        WDialogSelect(hidden);
        EXPECT_FALSE(IsWindowVisible(current_dialog_window())) << hidden;
    }
}

}  // namespace
