// The grid's exchange texts: clipboard block text, CSV reading and writing, path split.
#include "toolkit/grid/grid_exchange.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(GridClipboard, BuildsTabAndLineSeparatedBlockWithoutFinalLineEnd)
{
    const char* cells[2][3] = {{"t1", "5", "Yes"}, {"t2", "", "No"}};
    std::string text = grid_clipboard_text(2, 3, [&](int r, int c) { return std::string(cells[r][c]); });
    EXPECT_EQ(text, "t1\t5\tYes\r\nt2\t\tNo");
}

TEST(GridClipboard, StateAndSize)
{
    struct Case {
        const char* text;
        int state, columns, rows;
    };
    const Case cases[] = {
        {"abc", 1, 1, 1},
        {"a\tb\tc", 2, 3, 1},
        {"a\r\nb", 2, 1, 2},
        {"a\r\nb\r\n", 2, 1, 2},       // a final line end adds no row
        {"a\tb\r\nc\tx\ty", 2, 3, 2},  // the most fields of any row
        {"a\nb\nc", 2, 1, 3},          // a bare LF separates rows too
        {"a\t\t", 2, 3, 1},
        {"", 1, 1, 1},
    };
    for (const Case& c : cases) {
        std::string t = c.text;
        EXPECT_EQ(WGridClipboardState(&t), c.state) << c.text;
        int columns = 0, rows = 0;
        WGridClipboardSize(t, columns, rows);
        EXPECT_EQ(columns, c.columns) << c.text;
        EXPECT_EQ(rows, c.rows) << c.text;
    }
    EXPECT_EQ(WGridClipboardState(nullptr), 0);
}

TEST(GridClipboard, PasteFieldsCarryTheirOffsets)
{
    std::vector<GridPasteField> f = grid_paste_fields("a\t\tc\r\nd\ne\r\n");
    ASSERT_EQ(f.size(), 5u);
    const GridPasteField want[] = {{0, 0, "a"}, {0, 1, ""}, {0, 2, "c"}, {1, 0, "d"}, {2, 0, "e"}};
    for (size_t i = 0; i < f.size(); ++i) {
        EXPECT_EQ(f[i].row, want[i].row) << i;
        EXPECT_EQ(f[i].column, want[i].column) << i;
        EXPECT_EQ(f[i].text, want[i].text) << i;
    }
}

// The reader's calls, recorded.
struct Recorder : GridCsvSink {
    std::map<std::pair<int, int>, std::string> cells;  // (row, column)
    int outside_count = 0;
    std::vector<std::pair<int, int>> line_ends;
    int rest_from = -1;
    std::pair<long long, long long> too_long_at{0, 0};  // (line, characters)
    void field(int column, int row, const std::string& content) override { cells[{row, column}] = content; }
    void outside() override { ++outside_count; }
    void line_end(int column, int row) override { line_ends.push_back({row, column}); }
    void rest(int row) override { rest_from = row; }
    void too_long(long long line, long long characters) override { too_long_at = {line, characters}; }
};

// Reads a file held in memory, in pieces as the reader asks for them.
int read_text(const std::string& file, int rows, int columns, Recorder& r,
              long long line_limit = GRID_CSV_LINE_LIMIT)
{
    size_t pos = 0;
    return grid_csv_read(
        static_cast<long long>(file.size()),
        [&](char* buffer, int n) {
            int k = static_cast<int>(std::min(file.size() - pos, static_cast<size_t>(n)));
            std::copy_n(file.data() + pos, k, buffer);
            pos += static_cast<size_t>(k);
            return k;
        },
        rows, columns, r, line_limit);
}

TEST(GridCsv, QuotesAndUnquotes)
{
    EXPECT_EQ(grid_csv_quote("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(grid_csv_quote(""), "\"\"");
    std::string t = "a\"\"b\"\"\"\"";
    WGridUnquoteField(t);
    EXPECT_EQ(t, "a\"b\"\"");
}

TEST(GridCsv, ReadsTheWrittenExample)
{
    Recorder r;
    ASSERT_EQ(read_text("\"a\"\"b\",5,Yes\r\n\"\",,No\r\n", 2, 3, r), 0);
    EXPECT_EQ((r.cells[{0, 0}]), "a\"b");
    EXPECT_EQ((r.cells[{0, 1}]), "5");
    EXPECT_EQ((r.cells[{0, 2}]), "Yes");
    EXPECT_EQ((r.cells[{1, 0}]), "");
    EXPECT_EQ((r.cells[{1, 1}]), "");
    EXPECT_EQ((r.cells[{1, 2}]), "No");
    EXPECT_EQ(r.outside_count, 0);
    EXPECT_EQ(r.rest_from, 2);
}

TEST(GridCsv, ReadingCases)
{
    struct Case {
        const char* what;
        std::string file;
        int rows, columns;
        std::map<std::pair<int, int>, std::string> cells;
        int outside;
        int rest_from;
    };
    const Case cases[] = {
        {"comma inside quotes", "\"a,b\",c\r\n", 3, 2, {{{0, 0}, "a,b"}, {{0, 1}, "c"}}, 0, 1},
        {"LF-only lines",
         "a,b\nc,d\n",
         3,
         2,
         {{{0, 0}, "a"}, {{0, 1}, "b"}, {{1, 0}, "c"}, {{1, 1}, "d"}},
         0,
         2},
        // The opening quote and the last character go; the odd quote of the second line keeps its comma.
        {"LF inside quotes ends the line", "\"x\ny\",z\n", 3, 2, {{{0, 0}, ""}, {{1, 0}, "\","}}, 0, 2},
        {"last line without line end is stored", "a\r\nb", 3, 1, {{{0, 0}, "a"}, {{1, 0}, "b"}}, 0, 2},
        {"trailing blanks dropped, leading kept",
         "  a  ,b \r\n",
         1,
         2,
         {{{0, 0}, "  a"}, {{0, 1}, "b"}},
         0,
         1},
        {"too many lines", "a\nb\nc\nd\n", 2, 1, {{{0, 0}, "a"}, {{1, 0}, "b"}}, 1, 2},
        {"too many columns: later rows still read",
         "a,b,c\nd\n",
         3,
         2,
         {{{0, 0}, "a"}, {{0, 1}, "b"}, {{1, 0}, "d"}},
         1,
         2},
        {"empty file", "", 3, 2, {}, 0, 0},
    };
    for (const Case& c : cases) {
        Recorder r;
        ASSERT_EQ(read_text(c.file, c.rows, c.columns, r), 0) << c.what;
        EXPECT_EQ(r.cells, c.cells) << c.what;
        EXPECT_EQ(r.outside_count, c.outside) << c.what;
        EXPECT_EQ(r.rest_from, c.rest_from) << c.what;
    }
}

TEST(GridCsv, ShortLineEmptiesTheRestOfItsRow)
{
    Recorder r;
    read_text("a\r\nb,c,d\r\n", 2, 3, r);
    ASSERT_EQ(r.line_ends.size(), 1u);  // the full line needs no emptying
    EXPECT_EQ(r.line_ends[0], (std::pair<int, int>{0, 0}));
}

TEST(GridCsv, FieldLongerThanThePieceKeepsItsStartAndTheLine)
{
    std::string big(70000, 'x');
    big[0] = 'A';
    Recorder r;
    ASSERT_EQ(read_text("\"" + big + "\",7\r\nnext,8\r\n", 3, 2, r), 0);
    std::string first = r.cells[{0, 0}];
    EXPECT_GT(first.size(), 60000u);
    EXPECT_EQ(first[0], 'A');
    EXPECT_EQ((r.cells[{0, 1}]), "7");
    EXPECT_EQ((r.cells[{1, 0}]), "next");
    EXPECT_EQ((r.cells[{1, 1}]), "8");
}

TEST(GridCsv, BlanksAtTheEndOfAPieceAreKept)
{
    // A first line of 1000 bytes, then a text field whose blanks straddle the 65000-byte boundary.
    std::string text(63995, 'y');
    text += "      z";
    Recorder r;
    ASSERT_EQ(read_text(std::string(998, 'p') + "\r\n\"" + text + "\"\r\n", 2, 1, r), 0);
    EXPECT_EQ((r.cells[{1, 0}]), text);
}

TEST(GridCsv, ShortReadStopsWithoutEmptyingTheRest)
{
    Recorder r;
    int result = grid_csv_read(
        100, [](char*, int) { return 3; }, 4, 2, r);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(r.rest_from, -1);
}

// A line of more than 2^31 characters overflowed the reader's int column and quote counters, and a
// cell outside the grid was handed on. The counters are 64-bit now and a line beyond the limit stops
// the read; the limit is a parameter here so that the refusal shows on a small file.
TEST(GridCsv, LineBeyondTheLimitStopsTheRead)
{
    EXPECT_EQ(GRID_CSV_LINE_LIMIT, 2147483647);
    struct Case {
        const char* file;
        int result;
        std::pair<long long, long long> too_long_at;  // (line, characters)
        size_t cells;                                 // fields stored before the stop
        int rest_from;                                // -1: the rest of the grid is left as it is
    } cases[] = {
        {"ab,cd\r\n1234567\r\n", 0, {0, 0}, 3, 2},  // lines of 6 and 8 characters with CR: at the limit
        {"ab,cd\r\n123456789\r\nx\r\n", 3, {2, 9}, 2, -1},  // the second line passes it at its 9th
        {",,,,,,,,,,\r\n", 3, {1, 9}, 2, -1},               // commas count as characters
        {"\"\"\"\"\"\"\"\"\"\"\n", 3, {1, 9}, 0, -1},       // and quotes too
        {"1234567\r\n", 0, {0, 0}, 1, 1},                   // CR counts, LF ends the line
    };
    for (const Case& c : cases) {
        Recorder r;
        EXPECT_EQ(read_text(c.file, 3, 2, r, 8), c.result) << c.file;
        EXPECT_EQ(r.too_long_at, c.too_long_at) << c.file;
        EXPECT_EQ(r.cells.size(), c.cells) << c.file;
        EXPECT_EQ(r.rest_from, c.rest_from) << c.file;
    }
    EXPECT_EQ(grid_csv_too_long_text("C:\\DATA\\GRID.CSV", 2, 9),
              "CSV file C:\\DATA\\GRID.CSV: line 2 holds more than 8 characters, the most a line may hold");
}

// Random files of quotes, commas, line ends, blanks and letters: the reader stays inside the grid,
// and what the writer makes of random cells reads back unchanged.
TEST(GridCsv, FuzzedFilesAndRoundTrips)
{
    std::mt19937 random(37);
    const char alphabet[] = "\"\",,\r\n\n  ab";
    for (int trial = 0; trial < 2000; ++trial) {
        std::string file;
        int n = static_cast<int>(random() % 60);
        for (int i = 0; i < n; ++i)
            file += alphabet[random() % (sizeof alphabet - 1)];
        int rows = 1 + static_cast<int>(random() % 4), columns = 1 + static_cast<int>(random() % 4);
        Recorder r;
        ASSERT_EQ(read_text(file, rows, columns, r), 0);
        for (const auto& [cell, content] : r.cells) {
            EXPECT_LT(cell.first, rows);
            EXPECT_LT(cell.second, columns);
        }
        EXPECT_GE(r.rest_from, 0);
        EXPECT_LE(r.rest_from, rows);

        // Round trip: texts without line ends and trailing blanks.
        std::vector<std::vector<std::string>> cells(static_cast<size_t>(rows));
        std::string written;
        for (int row = 0; row < rows; ++row) {
            for (int c = 0; c < columns; ++c) {
                std::string t;
                int len = static_cast<int>(random() % 6);
                for (int i = 0; i < len; ++i)
                    t += "\", ab"[random() % 5];
                t.erase(t.find_last_not_of(' ') + 1);
                cells[static_cast<size_t>(row)].push_back(t);
                written += grid_csv_quote(t) + (c + 1 < columns ? "," : "\r\n");
            }
        }
        Recorder back;
        ASSERT_EQ(read_text(written, rows, columns, back), 0);
        for (int row = 0; row < rows; ++row)
            for (int c = 0; c < columns; ++c)
                EXPECT_EQ((back.cells[{row, c}]), cells[static_cast<size_t>(row)][static_cast<size_t>(c)])
                    << written;
        EXPECT_EQ(back.outside_count, 0);
    }
}

TEST(GridPaths, SplitsDirectoryAndName)
{
    struct Case {
        const char *path, *directory, *name;
    };
    const Case cases[] = {
        {"C:\\DATA\\GRID.CSV", "C:\\DATA", "GRID.CSV"},
        {"GRID.CSV", "", "GRID.CSV"},
        {"C:\\DATA\\", "C:\\DATA", ""},
        {"C:\\", "C:\\", ""},
        {"\\", "\\", ""},
        {"C:", "C:", ""},
        {"C:\\DATA\\..", "C:\\DATA\\..", ""},
        {"  C:\\X.CSV  ", "C:", "X.CSV"},
    };
    for (const Case& c : cases) {
        std::string path = c.path, name = "old";
        IOsSplitPath(path, name);
        EXPECT_EQ(path, c.directory) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
    }
}

}  // namespace
