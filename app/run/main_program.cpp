// The main program: start-up, options file, run-type dialogs, the new run from a demonstration case or
// the continued run from the restart set, and the common tail before the time-step loop.
#include "app/run/main_program.h"

#include "app/casedata/casedata.h"
#include "app/displays/displays.h"
#include "app/geometry/close_request.h"
#include "app/state/display.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/common/sentinels.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/entry.h"

#include <cstdio>
#include <string>

namespace {

constexpr char OPTIONS_FILE[] = "QR4T.CFG";
constexpr char MAIN_TITLE[] = "  DSMC Visual Program QR4T for Three-Dimensional Flows";

// Demonstration cases of run types 3, 4 and 5: flow-data and surface-data sources.
constexpr const char* DEMO_FLOW_DATA[3] = {"QR4TD.DM1", "QR4TD.DM2", "QR4TD.DM3"};
constexpr const char* DEMO_SURFACE_DATA[3] = {"QR4SD.DM1", "QR4SD.DM2", "QR4SD.DM3"};

// The UTF-8 byte-order mark that Windows editors put at the head of a text file they save.
constexpr unsigned char UTF8_BOM[3] = {0xEF, 0xBB, 0xBF};

// The first value of a list-directed text file as an integer; false when there is none or it cannot be
// read (the options file treats both like a read error). A byte-order mark at the head of the file is
// no part of the value: with it the value would be unreadable and the user's choice rewritten as 1.
bool read_first_integer(std::FILE* f, int& value)
{
    std::string line;
    int c = std::fgetc(f);
    while (line.size() < 3 && c == UTF8_BOM[line.size()]) {
        line.push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    if (line.size() == 3)
        line.clear();  // the whole mark; a part of one stays in the text, which is then no number
    for (;; c = std::fgetc(f)) {
        if (c == '\n' || c == EOF) {
            // A CR LF line end (the program writes the file so) is no part of the value.
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.find_first_not_of(" \t\r") != std::string::npos)
                return parse_list_value(line, value) == 1;
            if (c == EOF)
                return false;
            line.clear();
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
}

// Writes "QR4T.CFG" holding the value 1; false when the file cannot be opened.
bool write_standard_options()
{
    if (!unit_open(UNIT_DATA, OPTIONS_FILE, UnitMode::WRITE_TEXT))
        return false;
    write_list(UNIT_DATA, {1});
    unit_close(UNIT_DATA);
    return true;
}

// A modal dialog with the first radio button checked; returns the position of the checked button.
int ask_radio_dialog(int dialog)
{
    WDialogLoad(dialog);
    WDialogSelect(dialog);
    WDialogPutRadioButton(IDC_CHOICE_1);
    WDialogShow(-1, -1, IDC_CHOICE_1, 1);
    int position = FIELD_EMPTY;
    WDialogGetRadioButton(IDC_CHOICE_1, position);
    WDialogUnload();
    return position;
}

void show_page(int dialog)
{
    WDialogLoad(dialog);
    WDialogSelect(dialog);
    WDialogShow(-1, -1, IDC_CHOICE_1, 1);
    WDialogUnload();
}

// The run-type loop: "About Program and Method" shows the information pages and asks again; a
// demonstration case with non-standard options asks whether to restore them.
void choose_run_type()
{
    DisplaySettings& d = DISPLAY;
    d.RUN_TYPE = 6;
    while (d.RUN_TYPE > 5 || d.RUN_TYPE < 1) {
        d.RUN_TYPE = ask_radio_dialog(IDD_RUN_TYPE);
        if (d.RUN_TYPE >= 3 && d.RUN_TYPE <= 5 && RUN.PROGRAM_OPTIONS != 1) {
            if (ask_radio_dialog(IDD_OPTIONS) == 2) {
                RUN.PROGRAM_OPTIONS = 1;
                if (!write_standard_options()) {
                    // Nothing written: the choice starts again from a fresh "Run Type" dialog.
                    d.RUN_TYPE = 6;
                    continue;
                }
            }
        }
        if (d.RUN_TYPE == 6) {
            int page = ask_radio_dialog(IDD_INFORMATION);
            if (page >= 1 && page <= 4)
                show_page(IDD_INFO_METHOD + page - 1);
        }
    }
}

void new_run()
{
    int k = DISPLAY.RUN_TYPE - 3;
    IOsDeleteFile("QR4TD.DAT");
    IOsDeleteFile("QR4SD.DAT");
    IOsCopyFile(DEMO_FLOW_DATA[k], "QR4TD.DAT");
    IOsCopyFile(DEMO_SURFACE_DATA[k], "QR4SD.DAT");
    READ_FLOW_DATA();
    READ_SURFACE_DATA();
    if (SURFACE.SURFACE_COUNT > 0)
        VIEW_SURFACES_3D();
    WWinSelect(0);
    WWinClear();
    RUN_PHASES.SET_DIVISIONS_AND_ELEMENTS();
    RUN_PHASES.SET_UP_CELLS();
    RUN_PHASES.INITIALIZE_FLOW();
    DISPLAY.MESSAGE_TYPE = poll_close_request();  // a single poll after the initial state
    write_list(UNIT_DIAG, {"INITIAL STATE SET WITH", MOLECULES.NM, " MOLECULES"});
    RUN_PHASES.WRITE_RESTART();
    write_list(UNIT_DIAG, {"RESTART FILE WRITTEN"});
}

void continued_run()
{
    RUN_PHASES.READ_RESTART();
    set_continued_run_display_settings();
    if (DISPLAY.RUN_TYPE == 2) {
        // New cells: a new sample, and with continuous indexing the cell lists built for them.
        RUN_PHASES.ADAPT_CELLS();
        RUN_PHASES.RESET_SAMPLE();
        if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
            RUN_PHASES.RESET_CONTINUOUS_INDEXING();
    }
}

void run_program()
{
    WInitialise(" ");
    int screen_width = WInfoScreen(1);
    DisplaySettings& d = DISPLAY;
    if (screen_width >= 1100) {
        d.DIALOG_OFFSET_X = d.DIALOG_OFFSET_Y = 100;
        d.NOMINAL_SCREEN_WIDTH = 1280;
    } else {
        d.DIALOG_OFFSET_X = d.DIALOG_OFFSET_Y = 150;
        d.NOMINAL_SCREEN_WIDTH = 1024;
    }
    WinOpenRecord main_window;
    main_window.flags = 67;  // system menu, minimise box, fixed frame
    main_window.x = 0;
    main_window.y = 0;
    main_window.width = 1020;
    main_window.height = 718;
    main_window.title = MAIN_TITLE;
    WWinOpen(main_window);
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    if (screen_width < 1000) {
        write_list(UNIT_DIAG, {"This program requires at least 1024*768 screen resolution"});
        return;
    }
    read_program_options();
    choose_run_type();
    if (d.RUN_TYPE >= 3)
        new_run();
    else
        continued_run();

    // Common tail before the first pass.
    WWinSelect(0);
    WWinClear();
    IGrColourN(255);
    LOAD_DISPLAY_DIALOGS();
    if (d.RUN_TYPE <= 2) {
        DRAW_FLOWFIELD_PROPERTIES();
        PLOT_MOLECULE_HISTORY();
        if (SURFACE.SOLID_TRIANGLE_COUNT > 0)
            SHOW_FORCES_AND_MOMENTS();
    }
    TIME_STEP_LOOP();
}

}  // namespace

RunPhases RUN_PHASES{};

void read_program_options()
{
    // An options file that is missing, empty or unreadable gives the standard options, and the file is
    // rewritten to hold only the value 1. A readable value outside the three unit systems (1 SI,
    // 2 English, 3 dimensionless) counts as 1 for this start and is left in the file: the displays and
    // the restart set only ever see 1 to 3.
    if (unit_open(UNIT_DATA, OPTIONS_FILE, UnitMode::READ_TEXT)) {
        int value = 1;
        bool ok = read_first_integer(unit_file(UNIT_DATA), value);
        unit_close(UNIT_DATA);
        if (ok) {
            RUN.PROGRAM_OPTIONS = value >= 1 && value <= 3 ? value : 1;
            return;
        }
    }
    RUN.PROGRAM_OPTIONS = 1;
    write_standard_options();
}

int MAIN_PROGRAM()
{
    try {
        run_program();
    } catch (const ProgramStopRequest&) {
        // A close request: a silent stop, nothing more is written.
    }
    unit_close_all();
    return 0;
}
