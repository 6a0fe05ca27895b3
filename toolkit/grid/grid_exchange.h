// The texts a grid exchanges with the outside, portable: the clipboard's tab-separated block text and
// the comma-separated file format, with the split of a path into directory and file name.
//
// Clipboard text: rows separated by CR LF, fields by TAB, nothing after the last field of a row or
// after the last row. A bare LF separates rows as CR LF does.
//
// CSV: one line per row, fields separated by ",", CR LF after the last field. Text fields are always
// quoted with inner double quotes doubled; reading also takes unquoted fields and lines ended by LF.
#ifndef QR4T_TOOLKIT_GRID_GRID_EXCHANGE_H
#define QR4T_TOOLKIT_GRID_GRID_EXCHANGE_H

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ---- clipboard

// What the clipboard holds: 0 no text, 1 a single value (no TAB and no line end), 2 a block.
int WGridClipboardState(const std::string* text);
// Columns = the most fields in any row; rows = 1 + the line ends followed by more text.
void WGridClipboardSize(std::string_view text, int& columns, int& rows);

// The block text of rows x columns fields.
std::string grid_clipboard_text(int rows, int columns,
                                const std::function<std::string(int row, int column)>& field);

// One field of a pasted text at its row and column offset from the starting cell.
struct GridPasteField {
    int row = 0;
    int column = 0;
    std::string text;
};
// The fields of a block text in order: a field runs to TAB, CR, LF or the end; TAB moves one column
// on, a line end to the next row and back to column 0; a final line end adds no row.
std::vector<GridPasteField> grid_paste_fields(std::string_view text);

// ---- CSV files

// A text or menu field as written: in double quotes, every inner double quote doubled.
std::string grid_csv_quote(std::string_view text);
// Each pair of double quotes in the text becomes one, in place.
void WGridUnquoteField(std::string& text);

constexpr int GRID_CSV_PIECE = 65000;  // bytes read at a time, and the longest field kept
// The longest line read, in characters before its line end, and so the longest field: a column number
// and a field's count of quotes then stay within an int. A longer line stops the read.
constexpr long long GRID_CSV_LINE_LIMIT = 2147483647;

// Where the reader puts what it finds.
struct GridCsvSink {
    virtual ~GridCsvSink() = default;
    // A field inside the grid (0-based), without its enclosing quotes, pairs of quotes made single,
    // trailing blanks dropped.
    virtual void field(int column, int row, const std::string& content) = 0;
    // A field beyond the last column or row: nothing is stored.
    virtual void outside() = 0;
    // A stored field ended its line at `column`: the later columns of the row are emptied.
    virtual void line_end(int column, int row) = 0;
    // The file is read: every row from `row` on is emptied.
    virtual void rest(int row) = 0;
    // Line `line` (1-based) passed the line limit at `characters` characters: the read stops there.
    virtual void too_long(long long line, long long characters) = 0;
};

// Reads a file of `size` bytes through `read` (up to n bytes into the buffer; the count read, fewer
// or -1 on failure) into a grid of `rows` x `columns`. Returns 0; 2 when a read came short, 3 when a
// line was longer than `line_limit` characters (the rest of the grid is then left as it is).
int grid_csv_read(long long size, const std::function<int(char* buffer, int n)>& read, int rows, int columns,
                  GridCsvSink& sink, long long line_limit = GRID_CSV_LINE_LIMIT);

// The message for a line that passed the line limit: the file, the line and its length so far.
std::string grid_csv_too_long_text(std::string_view file, long long line, long long characters);

// ---- paths

// The path becomes its directory part and `name` its file name, both trimmed: "C:\DATA\GRID.CSV" gives
// "C:\DATA" and "GRID.CSV"; a root ("C:\", "\") or drive ("C:") stays whole; a path ending in ".."
// stays with a blank name.
void IOsSplitPath(std::string& path, std::string& name);

#endif
