// Helpers shared by the stages of the geometry set-up (not used outside app/geometry).
#ifndef QR4T_APP_GEOMETRY_SETUP_H
#define QR4T_APP_GEOMETRY_SETUP_H

#include "base/array.h"

#include <string>
#include <string_view>

constexpr int PROGRESS_RANGE_LIMIT = 65530;  // the toolkit's bar accepts at most 65535

// Folds a progress range into the toolkit's limit: while range > 65530, range := trunc(range / 1.2)
// and step := step / 1.2 (1.2 a 4-byte constant, step a 4-byte real).
void fold_progress_range(int& range, float& step);

// Loads a progress dialog (IDD_DIVISIONS_PROGRESS or IDD_CELLS_PROGRESS), shows it modeless at the
// default position, folds the range with its step (starting at 1.0) and sets the bar's range 0..range
// and its position 0.
void open_progress_dialog(int dialog, int& range, float& step);

// PROGRESS_VALUE := PROGRESS_VALUE + share * PROGRESS_STEP; the bar is put to its integer part.
void progress_advance(float share);

// Puts a stage name into the progress dialog's text field.
void progress_stage(std::string_view text);

// An allocation failed: the program's own log line goes to the log, then the set-up stops (non-zero
// status), since every later stage needs the array. The message names the data items that sized the
// array (the grid's divisions and elements, the triangles, the cells formed), with their values.
[[noreturn]] void allocation_stop(std::string_view line, std::string_view array_name);

// Lattice stages of SET_DIVISIONS_AND_ELEMENTS.
void set_lattice_scalars();
void fill_neighbour_tables();

// The "Coordinates" stage (tables, sample arrays) and the division and element arrays of the marking.
void coordinates_stage();
void allocate_division_arrays();

// The "Triangle Connectivity" stage.
void set_triangle_connectivity();

// The "Mark surface elements" stage, with the surface index and the arrays of the element analysis.
void mark_surface_elements();

// The cut-element analysis of the element named by the six current indices.
void ANALYSE_SURFACE_ELEMENT();

// MARK_SURFACE_POINT: registers triangle t at the point, with side -1 (behind), +1 (in front) or 0.
void MARK_SURFACE_POINT(float x, float y, float z, int t, int side);

// ICOL, the colour numbers of the cells picture, one random number per cell, drawn whenever cells are
// formed.
Array<int, 1> cell_colours();

// The line "Total flow volume from cells": the sum of the cell volumes in the units of the data.
void log_flow_volume_from_cells();

// Closing stages: "Analyse elements", "Set surface divisions", "Set outer divisions", the flow volume.
void analyse_elements();
void set_surface_divisions();
void set_outer_divisions();
void log_total_flow_volume();

#endif
