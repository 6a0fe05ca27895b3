// The grid's storage and the arithmetic of its layout: per-column cell storage for every row of the
// capacity with one flag byte per row, optional per-row colours, the cell code, the scroll scale, and
// the set-up text of a grid. Portable: the Win32 grid control (grid_win.h) keeps only the rows on
// screen in controls and moves them through this storage.
#ifndef QR4T_TOOLKIT_GRID_GRID_STORAGE_H
#define QR4T_TOOLKIT_GRID_GRID_STORAGE_H

#include <string>
#include <string_view>
#include <vector>

// Kind of a column, from the class of its template control.
enum GridCellKind {
    GRID_TEXT = 0,     // "EDIT": length + 1 bytes per row, NUL-terminated
    GRID_INTEGER = 1,  // "INTEGEREDIT", "INTEGERSPIN": 32-bit integer
    GRID_REAL = 2,     // "REALEDIT", "REALSPIN": 32-bit float
    GRID_DOUBLE = 3,   // "DOUBLEEDIT", "DOUBLESPIN": 64-bit double
    GRID_CHECK = 4,    // "BUTTON" with the automatic check-box style: 0 or 1
    GRID_MENU = 5,     // "COMBOBOX": 0-based option index
};

// GridRowFlags: one byte per row and column.
constexpr unsigned char GRID_READ_ONLY = 1;  // the user cannot change the cell
constexpr unsigned char GRID_DEFINED = 2;    // the cell holds a value, not an empty text
constexpr unsigned char GRID_NON_BLANK = 4;  // the cell's text has a non-blank character

// The cell code has 18 bits for the row: no grid holds more rows.
constexpr int GRID_MAX_ROWS = 262143;
constexpr int GRID_LABEL_LENGTH = 50;    // characters kept of a row label
constexpr int GRID_INTEGER_LENGTH = 11;  // characters of an integer cell
constexpr int GRID_DEFAULT_TEXT_LENGTH = 1024;

// GridCellCode: a cell named by one integer, ((column + 1) << 18) + (row + 1); column and row 0-based.
inline int GridCellCode(int column, int row)
{
    return ((column + 1) << 18) + (row + 1);
}
inline int grid_code_column(int code)
{
    return (code >> 18) - 1;
}
inline int grid_code_row(int code)
{
    return (code & GRID_MAX_ROWS) - 1;
}

// GridCellColours: per row, 7 bytes.
struct GridCellColours {
    unsigned char flags = 0;   // bit 0 foreground set, bit 1 background set
    unsigned char fg[3] = {};  // foreground red, green, blue
    unsigned char bg[3] = {};  // background red, green, blue
};

// The storage of one column (GridColumn without its window parts).
struct GridColumn {
    int width = 0;                         // pixels, including a spin's up-down control
    int kind = GRID_TEXT;                  // GridCellKind
    int length = 0;                        // text: maximum characters; integer: the template's length
    std::vector<char> text;                // text: (length + 1) bytes per row
    std::vector<int> ints;                 // integer, check box, menu: one per row
    std::vector<float> reals;              // real: one per row
    std::vector<double> doubles;           // double: one per row
    std::vector<unsigned char> flags;      // GridRowFlags, one per row
    std::vector<GridCellColours> colours;  // empty until a cell colour is first set
};

// Allocates the storage of `capacity` rows, all zero; false when the memory is not available.
bool grid_column_allocate(GridColumn& column, int kind, int length, int capacity);
int grid_column_capacity(const GridColumn& column);

// The stored text of a text cell (up to its NUL).
std::string grid_stored_string(const GridColumn& column, int row);
// Stores a text cut to the column length; the flags are left alone.
void grid_store_string(GridColumn& column, int row, std::string_view text);

// The text a cell shows from storage: text cells their text; numbers "" when undefined, else integers
// "(I11)" moved to the left, reals and doubles written with the format; check boxes and menus "".
std::string grid_stored_text(const GridColumn& column, int row, std::string_view format);

// The stored value as an 8-byte real: 0, -2 for check boxes and menus, -3 for an undefined number or
// a blank text (text cells are read as a number).
int grid_stored_value(const GridColumn& column, int row, double& value);

// The store of a put: text cells their text, numbers the value (integers truncated toward zero, reals
// as floats); the value-defined flag follows the text being non-empty, the non-blank flag `non_blank`.
void grid_store_put(GridColumn& column, int row, double value, std::string_view text, bool non_blank);
// The store of a number read from a cell: the value and both flags set when `non_blank`, the
// value-defined flag cleared otherwise.
void grid_store_number(GridColumn& column, int row, double value, bool non_blank);
// Check boxes (0/1) and menus (0-based option).
int grid_stored_int(const GridColumn& column, int row);
void grid_store_int(GridColumn& column, int row, int value);

// Empties one row: element 0 (empty text), value-defined and non-blank flags cleared.
void grid_store_clear(GridColumn& column, int row);
// Exchanges the contents of two rows: element and the value-defined and non-blank flags.
void grid_store_swap(GridColumn& column, int a, int b);

// Scroll-bar positions are rows divided by a power of two, so that the range stays within 65536.
int grid_scroll_scale(int rows);
// Whole rows in a client area of that height, rows placed at a pitch of cell height - 1; at least 1.
int grid_rows_that_fit(int client_height, int cell_height);
// Row slots: the whole rows that fit plus the partly visible one, at most the rows in use.
int grid_slot_count(int rows_that_fit, int rows);
// Horizontal limit: the largest first visible column that still fills the client width from the last
// column backwards (0 when all columns fit); `page` receives the page of the horizontal scroll bar.
int grid_horizontal_limit(const std::vector<int>& widths, int client_width, int& page);
// The last column that fits completely when the view starts at column `first`.
int grid_last_visible_column(const std::vector<int>& widths, int first, int client_width);
// New slots within the 16000-window budget of the Windows 95/98 family: at most
// (16000 - window_count) / windows_per_slot of the wanted ones, never below 0.
int grid_slot_budget(int window_count, int windows_per_slot, int wanted);
// Adds a wheel delta and returns the lines to scroll (positive down): one per 120 units.
int grid_wheel_lines(int& accumulated, int delta);

// The numbers of a "[Grids]" line after the field id: columns, rows, template dialog id.
struct GridSetupLine {
    int columns = 0;
    int rows = 0;
    int template_id = 0;
    size_t consumed = 0;  // characters read, up to the end of the third number
};
GridSetupLine parse_grid_line(std::string_view text);

// Row labels from the companion text: the rest of the current line is passed over, then one line per
// row (at most `rows`): its first 50 characters, CR dropped, trailing blanks trimmed. Returns the
// characters consumed, up to but not including the line end of the last label line read. With
// `skip_texts` no label line is read.
size_t parse_row_labels(std::string_view text, int rows, bool skip_texts, std::vector<std::string>& labels);

// Leading unsigned decimal number at `pos` after blanks (0 when there is none); pos moves past it.
int grid_read_number(std::string_view text, size_t& pos);

#endif
