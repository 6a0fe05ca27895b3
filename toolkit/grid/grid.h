// The grid control's cell interface and cell value routines, platform-neutral.
//
// The cell interface names a grid by its field id in the current dialog (0: the grid of the current
// window when that is a stand-alone grid window). Columns and rows are 0-based. A routine reports a
// failure by writing into the field id: -1 not a grid, -2 column, row or kind out of range, -3 a value
// undefined or outside the column's range (or no memory for a colour table). Menu options are numbered
// from 1 (0 = none).
//
// The cell value routines (WGridSelectCell ...) take 1-based columns and rows and report toolkit
// errors instead: 1005 no dialog loaded, 1006 not a grid, 1017 cell out of range, 1009 out of range.
#ifndef QR4T_TOOLKIT_GRID_GRID_H
#define QR4T_TOOLKIT_GRID_GRID_H

#include <string>
#include <string_view>

// Registers the grid's window classes and the message "GM_CELLCHANGE" (once).
void WGridRegister();

void WGridGetText(int& field, int column, int row, std::string& text, int length);
void WGridGetValue(int& field, int column, int row, double& value);
void WGridGetCheckBox(int& field, int column, int row, int& state);
void WGridGetMenu(int& field, int column, int row, int& option);
void WGridGetMenuText(int& field, int column, int option, std::string& text);
// Text and value of a text or number cell; the format is given to the column when it differs.
void WGridPutCell(int& field, int column, int row, double value, std::string_view text,
                  std::string_view format);
void WGridPutCheckBox(int& field, int column, int row, int state);
void WGridPutMenu(int& field, int column, int row, int option);
// Selects the option whose text matches exactly; none: option 1 and not_found 1.
void WGridPutMenuText(int& field, int column, int row, int& not_found, std::string_view text);
void WGridMenuAdd(int& field, int column, int slot, std::string_view text);
void WGridMenuReset(int& field, int column, int slot);
// Mode 0 checks the row against the rows in use, others against the capacity; menus only in mode 2.
void WGridClearCell(int& field, int column, int row, int mode);
// Mode 1 editable, other values read-only.
void WGridCellReadOnly(int& field, int column, int row, int mode);
// Colours: red -1 keeps a colour, 256 returns it to the default.
void WGridCellColour(int& field, int column, int row, int fr, int fg, int fb, int br, int bg, int bb);
void WGridColumnColour(int& field, int column, int fr, int fg, int fb, int br, int bg, int bb);
void WGridGetFormat(int& field, int column, std::string& text);
void WGridColumnRange(int& field, int column, double minimum, double maximum);
void WGridRangeCheck(int& field, int column, double value);
void WGridSpinSteps(int& field, int column, int small_step, int large_step);
void WGridRealSteps(int& field, int column, float small_step, float large_step);
void WGridDoubleSteps(int& field, int column, double small_step, double large_step);
// Field types: text 4, integer 5, real 6, double 7, check box 9, menu 11.
void WGridColumnType(int& field, int column, int& type);
void WGridColumnLength(int& field, int column, int& length);
void WGridPutColumnLabel(int& field, int item, std::string_view text);
void WGridGetColumnLabel(int& field, int item, std::string& text);
void WGridPutRowLabel(int& field, int row, std::string_view text);
void WGridGetRowLabel(int& field, int row, std::string& text);
void WGridSetCell(int& field, int column, int row);
void WGridSetRows(int& field, int rows);
// Rebuilds the columns; map (may be null) names the template control of each column, 1-based.
void WGridColumns(int& field, int columns, const int* map);
void WGridSwapRows(int& field, int row_a, int row_b, int label_flag);
// 1 columns, 2 capacity, 3 rows in use, 4 current column + 1, 5 current row + 1, 6 no changes since
// saved, 7 changed, 101 row slots, 102 columns given at set-up.
void WGridInfo(int& field, int option, int& value);

// Cell value routines (1-based).
void WGridSelectCell(int field, int column, int row);
// The cell's text, blank-padded (or cut) to the length of `text` as given.
void WGridGetString(int field, int column, int row, std::string& text);
void WGridEmptyCell(int field, int column, int row);
void WGridPutInteger(int field, int column, int row, int value);
void WGridPutReal(int field, int column, int row, float value, std::string_view format = "");
void WGridPutDouble(int field, int column, int row, double value, std::string_view format = "");

#endif
