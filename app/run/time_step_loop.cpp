// The time-step loop: each pass advances the flow time, logs it, polls the toolkit, refreshes the
// progress log dialog and runs the kernel's phases in their fixed order.
#include "app/displays/displays.h"
#include "app/geometry/close_request.h"
#include "app/run/main_program.h"
#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/number_text.h"

#include <string>

namespace {

constexpr int MANY_MOLECULES = 1000000;  // above this the toolkit is polled between phases too

// One poll: a close request stops the program; an expose redraws the displays; every other result,
// the empty poll included, lets the displays read their controls.
void poll()
{
    DISPLAY.MESSAGE_TYPE = poll_close_request();
    if (DISPLAY.MESSAGE_TYPE == MsgExpose)
        REDRAW_ALL_DISPLAYS();
    HANDLE_DISPLAY_CONTROLS();
}

void poll_if_many()
{
    if (MOLECULES.NM > MANY_MOLECULES)
        poll();
}

void phase(const char* text)
{
    WDialogSelect(IDD_LOG);
    WDialogPutString(IDC_LOG_PHASE, text);
}

// Refreshes the fields of the progress log dialog, in their fixed order.
void refresh_log_dialog()
{
    const float scale = BOX.SCALE_FACTOR;
    WDialogSelect(IDD_LOG);
    WDialogPutReal(IDC_LOG_TIME, static_cast<float>(RUN.TIME / scale), "(G13.7)");
    WDialogPutReal(IDC_LOG_SAMPLE_TIME, static_cast<float>(SAMPLES.SAMPLE_START_TIME / scale), "(G11.5)");
    WDialogPutInteger(IDC_LOG_MOLECULES, MOLECULES.NM);
    WDialogPutInteger(IDC_LOG_SAMPLE_MOLECULES, SAMPLES.NM_SAMPLE_START);
    WDialogPutDouble(IDC_LOG_MOVES, RUN.MOVE_COUNT, "(F13.0)");
    WDialogPutDouble(IDC_LOG_COLLISIONS, RUN.COLLISION_COUNT, "(F12.0)");
    WDialogPutDouble(IDC_LOG_REFLECTIONS, RUN.SURFACE_HIT_COUNT, "(F10.0)");
    WDialogPutDouble(IDC_LOG_ENTRIES, RUN.ENTRY_COUNT, "(F10.0)");
    if (GAS.GAS_REACTIONS > 0) {
        int r = DISPLAY.LOG_REACTION.current;
        if (r >= 1 && r <= GAS.GAS_REACTIONS)
            WDialogPutDouble(IDC_LOG_REACTIONS, GAS.REACTION_COUNT(r), "(F9.0)");
    }
    WDialogPutInteger(IDC_LOG_ROUNDOFF, RUN.ROUNDOFF_COUNT);
    WDialogPutReal(IDC_LOG_SEP_MFP, RUN.SEP_MFP_RATIO, "(G10.3)");
    WDialogPutInteger(IDC_LOG_SAMPLES, SAMPLES.SAMPLE_COUNT);
    if (RUN.TIME < RUN.OUTPUT_INTERVAL) {
        std::string value;
        IRealToString(static_cast<float>(RUN.OUTPUT_INTERVAL / scale), value, "(G12.6)");
        WDialogPutString(IDC_LOG_NOTE, "Flowfield and surface displays commence at time   " + value);
    }
}

// One pass; false when the stop time is reached.
bool pass()
{
    // A comparison that cannot be made (NaN) counts as reached.
    if (!(RUN.TIME < static_cast<double>(RUN.STOP_TIME)))
        return false;
    const double before = RUN.TIME;
    RUN.TIME += RUN.DTM;
    // A time step of 0, a negative or NaN one, or one too small to change the flow time would repeat
    // this pass for ever without progress.
    if (!(RUN.TIME > before))
        fatal_stop("The overall time step DTM = " + value_text(RUN.DTM / BOX.SCALE_FACTOR) +
                   " s at flow time " + value_text(before / BOX.SCALE_FACTOR) +
                   " s does not advance the run; check the stream, species and run settings of QR4TD.DAT");
    write_list(UNIT_DIAG,
               {"TIME", RUN.TIME / BOX.SCALE_FACTOR, " NM", MOLECULES.NM, " COLLS", RUN.COLLISION_COUNT});
    poll();
    refresh_log_dialog();

    phase("Moving");
    RUN_PHASES.MOVE_MOLECULES();
    poll_if_many();
    phase("Entering");
    RUN_PHASES.ENTER_MOLECULES();
    poll_if_many();
    if (RUN.INDEX_MODE == INDEX_NORMAL) {
        phase("Indexing");
        RUN_PHASES.INDEX_MOLECULES();
    }
    phase("Collisions");
    RUN_PHASES.COLLIDE_MOLECULES();
    if (!(RUN.TIME > RUN.SAMPLE_TIME))
        return true;

    poll_if_many();
    phase("Sampling");
    WDialogPutString(IDC_LOG_NOTE, std::string(58, ' '));
    RUN_PHASES.SAMPLE_FLOWFIELD();
    if (!(RUN.TIME > RUN.OUTPUT_TIME))
        return true;

    if (RUN.INDEX_MODE == INDEX_CONTINUOUS) {
        phase("Index Check");
        RUN_PHASES.CHECK_INDEX();
    }
    phase("Output");
    RUN_PHASES.OUTPUT_PROPERTIES();
    poll_if_many();
    phase("Restart Files");
    RUN_PHASES.WRITE_RESTART();
    poll_if_many();
    return true;
}

}  // namespace

void TIME_STEP_LOOP()
{
    while (pass()) {
    }
    unit_close(UNIT_DIAG);
}
