// READ_RESTART: rebuilds the whole simulation state of a continued run from the restart file set.
//
// The size record "QR4TP.RES" comes first. Its items are checked, and from them the length of every
// other file of the set is known before anything is allocated: each file must exist and have exactly
// that length, so a damaged or mismatched set is refused with a message naming the file before it can
// demand memory or leave arrays half filled. Then every state array is allocated (Part order, one
// variant picked by vibration and sampling mode) and each file's one record is read into it. The
// check integer at the end of the run-state record decides whether the run may go on.
//
// A set whose writing stopped after its marker was in place is completed first (with reading only, it is
// read as the marker lists it and nothing is renamed: set_restart_read_only); when the folder holds
// a set list, every file must have the length and CRC listed there, so that a file of another write is
// refused by name (restart_set.h).
//
// A failing open, a missing, short or long file, a count of the run-state record that disagrees with
// the size record and a wrong check integer each stop the program with a message and a non-zero
// status. The reader opens the files for reading only, so it never creates one.
#include "app/casedata/case_input.h"
#include "app/restart/restart.h"
#include "app/restart/restart_check.h"
#include "app/restart/restart_io.h"
#include "app/restart/restart_set.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/machine_memory.h"
#include "resources/dialog_ids.h"
#include "toolkit/win/entry.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

// Dialog "Reading the Restart Files - Please Wait" and its fields.

// Text and bar position shown before each file (none for "QR4TM5.RES").
struct Progress {
    const char* text;
    int position;
};
const Progress PROGRESS[RESTART_FILE_COUNT] = {
    {"Reading QR4TP.RES", 0},    {"Reading QR4TM1.RES", 50},  {"Reading QR4TM2.RES", 150},
    {"Reading QR4TM3.RES", 250}, {"Reading QR4TM4.RES", 350}, {nullptr, 0},
    {"Reading QR4TV1.RES", 500}, {"Reading QR4TV2.RES", 600}, {"Reading QR4TC1.RES", 700},
    {"Reading QR4TC2.RES", 800}, {"Reading QR4TCS.RES", 900}};

void show_progress(int file)
{
    if (!PROGRESS[file].text)
        return;
    WDialogPutString(IDC_PROGRESS_TEXT, PROGRESS[file].text);
    WDialogPutProgressBar(IDC_PROGRESS_BAR, PROGRESS[file].position);
}

std::string size_item(int number, const char* name)
{
    return "item " + std::to_string(number) + " (" + name + ")";
}

// Reads one file of the set into the state: its record must hold exactly the items of its list.
void read_file(int file)
{
    const char* name = RESTART_FILE_NAME[file];
    if (!open_restart_unit(restart_read_path(name), UnitMode::READ_BINARY))
        fatal_stop(std::string("Cannot open the restart file ") + name + " for reading");
    ReadVisitor reader;
    std::string error;
    if (!reader.record.read(unit_file(UNIT_RESTART), error))
        fatal_stop(std::string("Restart file ") + name + ": " + error);
    restart_items(file, reader);
    if (reader.short_record)
        fatal_stop(std::string("Restart file ") + name + ": its record of " +
                   std::to_string(reader.record.size()) + " bytes is shorter than its items");
    if (reader.record.remaining() != 0)
        fatal_stop(std::string("Restart file ") + name + ": its record holds " +
                   std::to_string(reader.record.remaining()) + " bytes more than its items");
    unit_close(UNIT_RESTART);
}

// The size items that a sound set can hold. Arrays that no file backs (ICHECK, and XREF with normal
// indexing) are bounded here, since the file lengths cannot bound them.
void check_size_items()
{
    constexpr int BIG = 2147483647;
    struct Range {
        int value;
        int low;
        int high;
        int number;
        const char* name;
    };
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    const Range ranges[] = {
        {GAS.SPECIES_COUNT, 1, BIG, 2, "SPECIES_COUNT"},
        {SURFACE.POINT_COUNT, 0, BIG, 3, "POINT_COUNT"},
        {SURFACE.TRIANGLE_COUNT, 0, BIG, 4, "TRIANGLE_COUNT"},
        {BOX.DIVISIONS_X, 1, BIG, 5, "DIVISIONS_X"},
        {BOX.DIVISIONS_Y, 1, BIG, 6, "DIVISIONS_Y"},
        {BOX.DIVISIONS_Z, 1, BIG, 7, "DIVISIONS_Z"},
        {DIVISIONS.TOTAL_SURFACE_INDEX_SIZE, 0, BIG, 8, "TOTAL_SURFACE_INDEX_SIZE"},
        {CELLS.MAX_CELLS, 0, BIG, 30, "MAX_CELLS"},
        {RUN.MNM, 1, BIG, 10, "MNM"},
        {MOLECULES.PV_ROWS, 3, 4, 11, "PV_ROWS"},
        {MOLECULES.IP_ROWS, 2, 3, 12, "IP_ROWS"},
        {RUN.INDEX_MODE, 0, 1, 31, "INDEX_MODE"},
        {RUN.XREF_SIZE, 1, continuous ? BIG : 1, 13, "XREF_SIZE"},
        {MOLECULES.IPS_SIZE, 0, BIG, 14, "IPS_SIZE"},
        {MOLECULES.ISCH_SIZE, 0, BIG, 15, "ISCH_SIZE"},
        {DIVISIONS.SURFACE_DIVISION_COUNT, 0, BIG, 16, "SURFACE_DIVISION_COUNT"},
        {DIVISIONS.SURFACE_ELEMENT_COUNT, 0, BIG, 17, "SURFACE_ELEMENT_COUNT"},
        // A division's triangle list cannot hold more than all the triangles.
        {DIVISIONS.MNSEG, 0, std::max(SURFACE.TRIANGLE_COUNT, 0), 18, "MNSEG"},
        {GAS.MAX_VIB_MODES, 0, BIG, 20, "MAX_VIB_MODES"},
        {GAS.GAS_REACTION_DIM, 1, BIG, 21, "GAS_REACTION_DIM"},
        {GAS.SURFACE_REACTION_DIM, 1, BIG, 22, "SURFACE_REACTION_DIM"},
        {GAS.THIRD_BODY_DIM, 1, BIG, 23, "THIRD_BODY_DIM"},
        {SURFACE.SOLID_TRIANGLE_COUNT, 0, BIG, 25, "SOLID_TRIANGLE_COUNT"},
        {SURFACE.ENTRY_TRIANGLE_COUNT, 0, BIG, 26, "ENTRY_TRIANGLE_COUNT"},
        {BOX.ELEMENTS_PER_DIVISION_X, 1, BIG, 27, "ELEMENTS_PER_DIVISION_X"},
        {BOX.ELEMENTS_PER_DIVISION_Y, 1, BIG, 28, "ELEMENTS_PER_DIVISION_Y"},
        {BOX.ELEMENTS_PER_DIVISION_Z, 1, BIG, 29, "ELEMENTS_PER_DIVISION_Z"},
    };
    for (const Range& r : ranges) {
        if (r.value < r.low || r.value > r.high)
            refuse_item(RESTART_FILE_NAME[FILE_SIZES], size_item(r.number, r.name), value_text(r.value),
                        "outside " + std::to_string(r.low) + " to " + std::to_string(r.high));
    }
}

// A byte count planned from the size items, as text. A damaged size record can plan more bytes than a
// 64-bit count holds (converting those would be undefined); they are written as a real.
std::string byte_count_text(long double bytes)
{
    if (bytes < 1.8e19L)
        return std::to_string(static_cast<unsigned long long>(bytes));
    return value_text(static_cast<double>(bytes));
}

// Every file of the set must have the length that the size record gives it: the record's items plus
// the two length words.
void check_file_lengths(const std::vector<PlannedArray>& plan)
{
    for (int file = FILE_SIZES + 1; file < RESTART_FILE_COUNT; ++file) {
        if (!restart_file_in_set(file))
            continue;
        const char* name = RESTART_FILE_NAME[file];
        MeasureVisitor measure{plan};
        restart_items(file, measure);
        long double expected = measure.bytes + 8.0L;
        std::error_code ec;
        std::uintmax_t actual = std::filesystem::file_size(restart_read_path(name), ec);
        if (ec)
            fatal_stop(std::string("Restart file ") + name + " cannot be read: " + ec.message());
        if (static_cast<long double>(actual) != expected)
            fatal_stop(std::string("Restart file ") + name + " has " + std::to_string(actual) +
                       " bytes, but the size record QR4TP.RES gives it " + byte_count_text(expected) +
                       ": the set was not written together or is damaged");
    }
}

// The size items of QR4TP.RES that set the largest arrays, with their values, for the messages below.
std::string largest_size_items()
{
    return "items 10 (MNM) = " + std::to_string(RUN.MNM) +
           ", 30 (MAX_CELLS) = " + std::to_string(CELLS.MAX_CELLS) +
           ", 5 to 7 and 27 to 29 (divisions and elements per division) = " +
           std::to_string(BOX.DIVISIONS_X) + " x " + std::to_string(BOX.DIVISIONS_Y) + " x " +
           std::to_string(BOX.DIVISIONS_Z) + " x " + std::to_string(BOX.ELEMENTS_PER_DIVISION_X) + " x " +
           std::to_string(BOX.ELEMENTS_PER_DIVISION_Y) + " x " + std::to_string(BOX.ELEMENTS_PER_DIVISION_Z);
}

// The state that the size record plans must fit in the memory of the machine: a set written on a
// larger machine is refused before its arrays fill this one.
void check_state_memory(const std::vector<PlannedArray>& plan)
{
    long double bytes = 0.0L;
    for (const PlannedArray& p : plan)
        bytes += p.bytes;
    const long double memory = machine_memory_bytes();
    if (memory > 0.0L && bytes > memory)
        fatal_stop(std::string("Restart file QR4TP.RES: the state that its ") + largest_size_items() +
                   " give needs " + byte_count_text(bytes) + " bytes, more than the " +
                   byte_count_text(memory) + " bytes of memory this machine has");
}

// Allocates the arrays of the plan: the variant first, then IRCELL. The run cannot go on without any
// one of them, so a failure stops the program after its line.
void allocate_state(const std::vector<PlannedArray>& plan)
{
    for (const PlannedArray& p : plan) {
        if (p.allocate())
            continue;
        static const char* const variant_failure[5] = {"", "PROGRAM COULD NOT ALLOCATE RESTART VARIABLES 1",
                                                       "PROGRAM COULD NOT ALLOCATE RESTART VARIABLES 2",
                                                       "PROGRAM COULD NOT ALLOCATE RESTART VARIABLES 3",
                                                       "PROGRAM COULD NOT ALLOCATE RESTART VARIABLES 4"};
        static const char* const ircell_failure[2] = {"PROGRAM COULD NOT ALLOCATE IRCELL 1",
                                                      "PROGRAM COULD NOT ALLOCATE IRCELL 2"};
        if (p.own_step)
            write_list(UNIT_DIAG, {ircell_failure[RUN.INDEX_MODE], ALLOCATION_FAILED_STATUS});
        else
            write_list(UNIT_DIAG, {variant_failure[restart_variant()], ALLOCATION_FAILED_STATUS});
        fatal_stop("Restart file QR4TP.RES: the memory for the state that its " + largest_size_items() +
                   " give could not be allocated (" + std::to_string(p.bytes) +
                   " bytes for one of its arrays)");
    }
}

// The counts of the run-state record that the size record also fixes must agree with it.
void check_run_state_counts()
{
    const char* file = RESTART_FILE_NAME[FILE_RUN_STATE];
    auto agree = [file](int count, int dim, int number, const char* name, const char* dim_name) {
        if (count < 0 || (count == 0 ? 1 : count) != dim)
            refuse_item(file, size_item(number, name), value_text(count),
                        std::string("disagrees with ") + dim_name + " = " + std::to_string(dim) +
                            " of QR4TP.RES");
    };
    agree(GAS.GAS_REACTIONS, GAS.GAS_REACTION_DIM, 94, "GAS_REACTIONS", "GAS_REACTION_DIM");
    agree(GAS.SURFACE_REACTIONS, GAS.SURFACE_REACTION_DIM, 95, "SURFACE_REACTIONS", "SURFACE_REACTION_DIM");
    agree(GAS.THIRD_BODY_TABLES, GAS.THIRD_BODY_DIM, 96, "THIRD_BODY_TABLES", "THIRD_BODY_DIM");
    if (CELLS.CELL_COUNT < 0 || CELLS.CELL_COUNT > CELLS.MAX_CELLS)
        refuse_item(file, size_item(179, "CELL_COUNT"), value_text(CELLS.CELL_COUNT),
                    "outside 0 to MAX_CELLS = " + std::to_string(CELLS.MAX_CELLS) + " of QR4TP.RES");
}

}  // namespace

void READ_RESTART()
{
    write_list(UNIT_DIAG, {"Reading restart files, QR4TP.RES, QR4TMn.RES, QR4TVn.RES,QR4TCn,RES "});
    WDialogLoad(IDD_RESTART_PROGRESS);
    WDialogSelect(IDD_RESTART_PROGRESS);
    WDialogShow(-1, -1, 0, 2);
    WDialogRangeProgressBar(IDC_PROGRESS_BAR, 0, 1000);

    finish_restart_set();
    show_progress(FILE_SIZES);
    read_file(FILE_SIZES);
    write_list(UNIT_DIAG, {"JCHECK from QR4TP", RUN.JCHECK});
    check_size_items();
    std::vector<PlannedArray> plan = restart_plan();
    check_file_lengths(plan);
    std::vector<int> files;
    for (int file = 0; file < RESTART_FILE_COUNT; ++file) {
        if (restart_file_in_set(file))
            files.push_back(file);
    }
    check_restart_set(files);
    check_state_memory(plan);
    allocate_state(plan);

    for (int file : {FILE_MOLS_POS, FILE_MOLS_PV, FILE_MOLS_IP, FILE_MOLS_REST}) {
        show_progress(file);
        read_file(file);
    }
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        read_file(FILE_XREF);
    write_list(UNIT_DIAG, {"NM at restart", MOLECULES.NM});
    if (MOLECULES.NM < 0 || MOLECULES.NM > RUN.MNM)
        refuse_item(RESTART_FILE_NAME[FILE_MOLS_REST], "item NM", value_text(MOLECULES.NM),
                    "outside 0 to MNM = " + std::to_string(RUN.MNM) + " of QR4TP.RES");

    for (int file : {FILE_ELEMENTS, FILE_RUN_STATE}) {
        show_progress(file);
        read_file(file);
    }
    check_run_state_counts();
    for (int file : {FILE_RESULTS, FILE_CELLS, FILE_CELL_SUMS}) {
        show_progress(file);
        read_file(file);
    }
    WDialogPutProgressBar(IDC_PROGRESS_BAR, 1000);

    write_list(UNIT_DIAG, {RUN.JCHECK});
    if (RUN.JCHECK == RESTART_CHECK) {
        check_restored_state();
        WDialogHide();
        return;
    }
    write_list(UNIT_DIAG, {MOLECULES.NM, " Molecules, Check integer", RUN.JCHECK});
    fatal_stop("Restart file QR4TV2.RES: check integer " + std::to_string(RUN.JCHECK) +
               " in place of 1234567: the set is damaged or from another program");
}
