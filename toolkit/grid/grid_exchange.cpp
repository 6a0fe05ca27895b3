// Clipboard block text, CSV fields and the CSV reader, path split.
#include "toolkit/grid/grid_exchange.h"

#include <algorithm>
#include <vector>

int WGridClipboardState(const std::string* text)
{
    if (!text)
        return 0;
    return text->find_first_of("\t\r\n") == std::string::npos ? 1 : 2;
}

std::vector<GridPasteField> grid_paste_fields(std::string_view text)
{
    std::vector<GridPasteField> fields;
    size_t pos = 0;
    int row = 0, column = 0;
    if (text.empty())
        return fields;
    for (;;) {  // a field follows every TAB, and every line end that more text follows
        size_t end = text.find_first_of("\t\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        fields.push_back({row, column, std::string(text.substr(pos, end - pos))});
        if (end == text.size())
            break;
        if (text[end] == '\t') {
            ++column;
            pos = end + 1;
        } else {
            pos = end + 1;
            if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;  // the line end after CR
            ++row;
            column = 0;
            if (pos >= text.size())
                break;
        }
    }
    return fields;
}

void WGridClipboardSize(std::string_view text, int& columns, int& rows)
{
    columns = 0;
    rows = 0;
    for (const GridPasteField& f : grid_paste_fields(text)) {
        columns = std::max(columns, f.column + 1);
        rows = std::max(rows, f.row + 1);
    }
    if (rows == 0) {  // an empty text is one empty field
        rows = 1;
        columns = 1;
    }
}

std::string grid_clipboard_text(int rows, int columns, const std::function<std::string(int, int)>& field)
{
    std::string text;
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            text += "\r\n";
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += '\t';
            text += field(r, c);
        }
    }
    return text;
}

std::string grid_csv_quote(std::string_view text)
{
    std::string q = "\"";
    for (char c : text) {
        q += c;
        if (c == '"')
            q += '"';
    }
    q += '"';
    return q;
}

void WGridUnquoteField(std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
            ++i;
    }
    text = std::move(out);
}

namespace {

// The scan of one file: the field being read and where it goes.
class CsvScan {
public:
    CsvScan(int rows, int columns, GridCsvSink& sink, long long line_limit)
        : rows_(rows), columns_(columns), line_limit_(line_limit), sink_(sink)
    {
        raw_.reserve(GRID_CSV_PIECE);
    }

    // One character of the file.
    void take(char c)
    {
        in_line_ = true;
        if (c != '\n' && ++line_characters_ > line_limit_) {
            too_long_ = true;
            return sink_.too_long(line_ + 1, line_characters_);
        }
        if (c == '"')
            ++quotes_;
        else if (c == ',' && quotes_ % 2 == 0)
            return end_field(false);
        else if (c == '\n')
            return end_field(true);
        else if (c == '\r')
            cr_ = true;
        // A field longer than the buffer keeps its first part; the rest is passed over up to its end.
        if (raw_.size() < static_cast<size_t>(GRID_CSV_PIECE))
            raw_ += c;
    }

    // The end of the file: a last line without a line end is stored like any other.
    void finish()
    {
        if (in_line_)
            end_field(true);
        sink_.rest(row_);
    }

    // True once rows past the grid's last one are being read: the rest of the file is not needed.
    bool past_grid() const { return row_ >= rows_ && reported_past_; }
    // True once a line passed the line limit: nothing more is read.
    bool too_long() const { return too_long_; }

private:
    void end_field(bool line_end)
    {
        if (column_ >= static_cast<long long>(columns_) || row_ >= rows_) {
            sink_.outside();
            reported_past_ = row_ >= rows_;
        } else {
            std::string content = raw_;
            if (quotes_ > 0) {
                content.erase(0, 1);
                if (!content.empty())
                    content.pop_back();
            }
            if (cr_ && !content.empty())
                content.pop_back();
            WGridUnquoteField(content);
            content.erase(content.find_last_not_of(' ') + 1);
            const int column = static_cast<int>(column_);  // below columns_ here
            sink_.field(column, row_, content);
            if (line_end && column + 1 < columns_)
                sink_.line_end(column, row_);
        }
        // Every line end moves to the next row, also after fields beyond the last column.
        if (line_end) {
            column_ = 0;
            if (row_ < rows_)
                ++row_;
            ++line_;
            line_characters_ = 0;
            in_line_ = false;
        } else {
            ++column_;
        }
        raw_.clear();
        quotes_ = 0;
        cr_ = false;
    }

    const int rows_, columns_;
    const long long line_limit_;  // the longest line, in characters before its line end
    GridCsvSink& sink_;
    int row_ = 0;
    // Counted in 64 bits: below the line limit they cannot overflow, whatever the limit.
    long long column_ = 0;
    long long line_ = 0;             // line ends read
    long long line_characters_ = 0;  // characters of the current line before its line end
    bool too_long_ = false;
    std::string raw_;  // the field's characters up to its terminator
    long long quotes_ = 0;
    bool cr_ = false;
    bool in_line_ = false;  // characters read since the last line end
    bool reported_past_ = false;
};

}  // namespace

int grid_csv_read(long long size, const std::function<int(char*, int)>& read, int rows, int columns,
                  GridCsvSink& sink, long long line_limit)
{
    CsvScan scan(rows, columns, sink, line_limit);
    std::vector<char> buffer(GRID_CSV_PIECE);
    long long left = size;
    while (left > 0 && !scan.past_grid()) {
        const int n = static_cast<int>(std::min<long long>(left, GRID_CSV_PIECE));
        if (read(buffer.data(), n) != n)
            return 2;
        left -= n;
        for (int i = 0; i < n && !scan.past_grid(); ++i) {
            scan.take(buffer[static_cast<size_t>(i)]);
            if (scan.too_long())
                return 3;
        }
    }
    scan.finish();
    return 0;
}

std::string grid_csv_too_long_text(std::string_view file, long long line, long long characters)
{
    return "CSV file " + std::string(file) + ": line " + std::to_string(line) + " holds more than " +
           std::to_string(characters - 1) + " characters, the most a line may hold";
}

void IOsSplitPath(std::string& path, std::string& name)
{
    constexpr char SEPARATOR = '\\';
    path.erase(0, path.find_first_not_of(' '));
    path.erase(path.find_last_not_of(' ') + 1);
    name.clear();
    const size_t n = path.size();
    if (n >= 2 && path.compare(n - 2, 2, "..") == 0)
        return;
    const size_t k = path.find_last_of(std::string{SEPARATOR, ':'});
    if (k == std::string::npos) {
        name = path;
        path.clear();
    } else if (k + 1 < n) {
        name = path.substr(k + 1);
        path.erase(k);
    } else if (path.find(SEPARATOR) < k) {
        path.pop_back();
    }
}
