// List-directed text: the writer of the diagnostic log and the summary files, and the reader of the
// data and options files.
//
// Writer: each write statement is one or more 80-column lines. Integers take I12, 4-byte reals
// 1PG15.7E2, 8-byte reals 1PG24.15E3. A text item is preceded by one blank when it starts a line or
// follows a number, and by none when it follows another text item. An item that would pass column 80
// (its separating blank included) starts a new line; a text item longer than a line is written whole.
// Lines end with CR LF.
//
// Reader: a read statement starts at the next record (line); blank lines are passed over; a value is a
// field ended by a blank, comma, slash or line end; after the statement's last value the rest of the
// record is skipped; "r*v" gives v (r times when the statement has that many items), "r*" r null
// values; a null field (a comma where a value is due) leaves its item as it was; a slash ends the read
// and leaves the remaining items as they were. An unreadable value or the end of the file is fatal: the
// message names the unit, the file, the record and the item. Records may end with CR LF or LF.
#ifndef QR4T_BASE_LIST_IO_H
#define QR4T_BASE_LIST_IO_H

#include <initializer_list>
#include <string>
#include <string_view>

// One item of a list-directed write. Only int, float, double and text convert to an item, so that a
// count of another type must be converted on purpose.
struct ListItem {
    enum Kind {
        TEXT,
        INT4,
        REAL4,
        REAL8
    };
    Kind kind;              // what the item is and so how it is written
    std::string_view text;  // TEXT: the text, written as it is
    long long i = 0;        // INT4: the value
    double r = 0.0;         // REAL4 (the float's value) or REAL8

    ListItem(const char* s) : kind(TEXT), text(s) {}
    ListItem(std::string_view s) : kind(TEXT), text(s) {}
    ListItem(const std::string& s) : kind(TEXT), text(s) {}
    ListItem(int v) : kind(INT4), i(v) {}
    ListItem(float v) : kind(REAL4), r(v) {}
    ListItem(double v) : kind(REAL8), r(v) {}
};

// The text of one list-directed write statement, CR LF after every line. No items gives one empty line.
std::string list_directed_text(std::initializer_list<ListItem> items);

// Writes one list-directed statement to a unit open for writing text (units.h) and flushes it, so that
// the log is complete up to the last line when the program dies. A unit not open for writing text and
// a failed write are fatal.
void write_list(int unit, std::initializer_list<ListItem> items);

// Reads one value from the next record of a unit open for reading text. `item` names the item in an
// error message. Returns false (item unchanged) when a slash or a null field ended the read; a missing
// or unreadable value ends the program with a message naming unit, file, record and item.
bool read_list(int unit, int& value, std::string_view item = "");
bool read_list(int unit, float& value, std::string_view item = "");
bool read_list(int unit, double& value, std::string_view item = "");

// Reads n values (each of the same type) as one read statement: from one record, continuing on the
// following records when the record runs out. Returns false when a null field or a slash left an item
// unchanged; same errors as above.
bool read_list(int unit, int* values, int n, std::string_view item = "");
bool read_list(int unit, float* values, int n, std::string_view item = "");
bool read_list(int unit, double* values, int n, std::string_view item = "");

// Parses the first value of one record by the reading rules above (for tests and for readers that hold
// a record already). Returns 1 for a value, 0 when a slash or null field ended the read (value
// unchanged), -1 when the record holds no readable value of the type (value unchanged).
int parse_list_value(std::string_view record, int& value);
int parse_list_value(std::string_view record, float& value);
int parse_list_value(std::string_view record, double& value);

#endif
