// The grid editor: find and sort on any grid, CSV files, the file chooser and dialog helpers it uses,
// the editor commands of the stand-alone grid window and the window itself. Platform-neutral
// declarations; rows and columns are 1-based. Failures are toolkit errors (IErrorReport).
#ifndef QR4T_TOOLKIT_GRID_GRID_EDITOR_H
#define QR4T_TOOLKIT_GRID_GRID_EDITOR_H

#include <string>
#include <string_view>

// ---- find and sort

// Flags: 1 start after the current cell, 2 ignore case. found = -1 when a cell was found (it is then
// current), else 0. A range value of 0 means "all" (first column, last column, first row, last row).
void WGridFind(int field, std::string_view text, int length, int flags, int& found, int first_column = 0,
               int last_column = 0, int first_row = 0, int last_row = 0);
// Flags: 1 descending, 2 ignore case, 4 move the row labels with their rows. Rows 0: 1 and the rows
// in use.
void WGridSort(int field, int column, int first_row = 0, int last_row = 0, int flags = 0);

// Editor commands of a window: go to (mode 1 cell, 2 row, 3 column), find (mode 1 asks, else find next)
// and sort (row-label flag 1 moves labels; sorted 1 when the dialog was confirmed).
void WGridEdGoto(int window, int mode);
void WGridEdFind(int window, int mode, int& match_case, std::string& text);
void WGridEdSort(int window, int label_flag, int& sorted);

// ---- CSV files

void WGridSaveCSV(int field, std::string_view file);
void WGridLoadCSV(int field, std::string_view file);
// Mode 1 Save As (or an empty name) asks for the name; saved 1 when the file was written.
void WGridEdSave(int window, int mode, int& saved, std::string& file, std::string_view filter);
// Mode 1 asks for the name; loaded 1 when the file was read (also with data errors).
void WGridEdLoad(int window, int mode, int& loaded, std::string& file, std::string_view filter);
// proceed 1 when the caller may go on: nothing modified, saved, or the user declined to save.
void WGridEdQuerySave(int window, int modified, int& proceed, std::string& file, std::string_view filter);

// ---- file chooser and dialog helpers

// Option bits: 1 save, 2 overwrite / create question, 4 path need not exist, 8 keep the directory the
// user ended in, 16 several files, 32 default extension, 128 file must exist. The file name goes in
// (its directory is where the chooser starts) and comes out; the answer is WDialogInfo option 4.
void WSelectFile(int filter_id, std::string_view filter, int options, std::string& file,
                 std::string_view title, int& filter_index, int snapshot);
void WGridEdFileName(std::string_view filter, int options, std::string& file, std::string_view title = {},
                     int* filter_index = nullptr);
void WDialogTitle(std::string_view title);
void WDialogShowAtOrigin(int focus_field, int mode);
void WDialogGetTextLength(int field, int& length);
// Fills a list or combo field with `count` options and selects option `option`; an editable combo
// with option 0 shows `text` when given.
void WDialogPutMenu(int field, const std::string* options, int count, int option,
                    const std::string* text = nullptr);
// "ON " switches beeping on, "OFF" off (any case); any other text beeps once.
void IOsBeepControl(std::string_view text);

#endif
