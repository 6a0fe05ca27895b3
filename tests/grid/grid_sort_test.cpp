// The row sort over keys and exchanges, the key order of each column type, and the column search.
#include "toolkit/grid/grid_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// A column of integer keys with an id per row, counting key reads.
struct IntRows : GridSortRows {
    std::vector<int> keys, ids;
    std::vector<int> defined;
    long long reads = 0;
    bool descending = false;
    void key(int row, GridSortKey& k) override
    {
        ++reads;
        if (!defined.empty() && !defined[static_cast<size_t>(row)])
            return grid_empty_key(GRID_TYPE_INTEGER, descending, k);
        k.integer = keys[static_cast<size_t>(row)];
        k.defined = 1;
    }
    void swap(int a, int b) override
    {
        std::swap(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
        std::swap(ids[static_cast<size_t>(a)], ids[static_cast<size_t>(b)]);
        if (!defined.empty())
            std::swap(defined[static_cast<size_t>(a)], defined[static_cast<size_t>(b)]);
    }
    void fill(std::vector<int> k)
    {
        keys = std::move(k);
        ids.resize(keys.size());
        for (size_t i = 0; i < ids.size(); ++i)
            ids[i] = static_cast<int>(i);
    }
};

struct TextRows : GridSortRows {
    std::vector<std::string> texts;
    bool ignore_case = false, descending = false;
    void key(int row, GridSortKey& k) override
    {
        const std::string& t = texts[static_cast<size_t>(row)];
        if (t.empty())
            return grid_empty_key(GRID_TYPE_TEXT, descending, k);
        k.text = t;
        if (ignore_case)
            for (char& c : k.text)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
        k.defined = 1;
    }
    void swap(int a, int b) override
    {
        std::swap(texts[static_cast<size_t>(a)], texts[static_cast<size_t>(b)]);
    }
};

TEST(GridSort, SixAndSevenRowsGiveTheSameKeyOrderAndRowsTravelWhole)
{
    for (int n : {6, 7}) {
        for (bool descending : {false, true}) {
            IntRows rows;
            rows.descending = descending;
            rows.fill({5, 3, 9, 3, 1, 7, 2});
            rows.keys.resize(static_cast<size_t>(n));
            rows.ids.resize(static_cast<size_t>(n));
            const std::vector<int> original = rows.keys;
            WGridSortRows(0, n - 1, GRID_TYPE_INTEGER, descending, rows);
            std::vector<int> want = original;
            if (descending)
                std::sort(want.rbegin(), want.rend());
            else
                std::sort(want.begin(), want.end());
            EXPECT_EQ(rows.keys, want) << n;
            for (int i = 0; i < n; ++i)  // the id column moved with its key
                EXPECT_EQ(original[static_cast<size_t>(rows.ids[static_cast<size_t>(i)])],
                          rows.keys[static_cast<size_t>(i)]);
        }
    }
}

TEST(GridSort, EmptyCellsGoLastInBothDirections)
{
    for (bool descending : {false, true}) {
        IntRows rows;
        rows.descending = descending;
        rows.fill({4, 0, 8, 0, -2, 6, 0, 1});
        rows.defined = {1, 0, 1, 0, 1, 1, 0, 1};
        WGridSortRows(0, 7, GRID_TYPE_INTEGER, descending, rows);
        EXPECT_EQ(std::vector<int>(rows.defined.begin(), rows.defined.begin() + 5), std::vector<int>(5, 1));
        EXPECT_EQ(std::vector<int>(rows.defined.begin() + 5, rows.defined.end()), std::vector<int>(3, 0));
        std::vector<int> defined_keys(rows.keys.begin(), rows.keys.begin() + 5);
        const std::vector<int> want =
            descending ? std::vector<int>{8, 6, 4, 1, -2} : std::vector<int>{-2, 1, 4, 6, 8};
        EXPECT_EQ(defined_keys, want);
    }
}

TEST(GridSort, TextsInByteOrderUnlessCaseIsIgnored)
{
    struct Case {
        bool ignore_case, descending;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {false, false, {"B", "C ", "a", "b", "", ""}},
        {true, false, {"a", "B", "b", "C ", "", ""}},
        {false, true, {"b", "a", "C ", "B", "", ""}},
    };
    for (const Case& c : cases) {
        TextRows rows;
        rows.texts = {"b", "", "a", "C ", "B", ""};
        rows.ignore_case = c.ignore_case;
        rows.descending = c.descending;
        WGridSortRows(0, 5, GRID_TYPE_TEXT, c.descending, rows);
        if (c.ignore_case) {  // a and B, B and b are not ordered against each other's case
            EXPECT_TRUE(rows.texts[0] == "a" || rows.texts[0] == "B" || rows.texts[0] == "b");
            EXPECT_EQ(rows.texts[3], "C ");
            EXPECT_EQ(rows.texts[4], "");
        } else {
            EXPECT_EQ(rows.texts, c.want);
        }
    }
}

TEST(GridSort, KeyComparisonByType)
{
    GridSortKey a, b;
    a.text = "ab";
    b.text = "ab   ";  // trailing blanks do not count
    EXPECT_EQ(grid_key_compare(GRID_TYPE_TEXT, a, b), 0);
    b.text = std::string(1, '\xE9');  // unsigned byte order
    EXPECT_EQ(grid_key_compare(GRID_TYPE_TEXT, a, b), -1);
    a.real = 1.0f;
    b.real = 1.0000001f;
    EXPECT_EQ(grid_key_compare(GRID_TYPE_REAL, a, b), -1);
    a.dbl = 2.0;
    b.dbl = 2.0;
    EXPECT_EQ(grid_key_compare(GRID_TYPE_DOUBLE, a, b), 0);
    GridSortKey empty;
    grid_empty_key(GRID_TYPE_DOUBLE, false, empty);
    b.dbl = 1e300;
    EXPECT_EQ(grid_key_compare(GRID_TYPE_DOUBLE, b, empty), -1);
}

// A million ordered, reversed and random keys: the sort stays n log n (key reads counted) and the
// recursion shallow, where a first-row pivot needed n^2/2 reads and n levels on ordered keys.
TEST(GridSort, MillionOrderedReversedAndRandomKeys)
{
    const int n = 1000000;
    std::mt19937 random(36);
    for (int variant = 0; variant < 3; ++variant) {
        std::vector<int> k(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            k[static_cast<size_t>(i)] = variant == 0   ? i
                                        : variant == 1 ? n - i
                                                       : static_cast<int>(random() % 1000);
        IntRows rows;
        rows.fill(k);
        WGridSortRows(0, n - 1, GRID_TYPE_INTEGER, false, rows);
        EXPECT_TRUE(std::is_sorted(rows.keys.begin(), rows.keys.end())) << variant;
        EXPECT_LT(rows.reads, 60LL * n) << variant;
    }
}

TEST(GridFind, SubstringWithAndWithoutCase)
{
    const std::vector<std::string> cells = {"zzz     ", "xab     ", "AB      "};
    auto fetch = [&](int row) { return cells[static_cast<size_t>(row)]; };
    struct Case {
        const char* pattern;
        bool ignore_case;
        int first, found;
    };
    const Case cases[] = {
        {"AB", true, 0, 1},         {"AB", false, 0, 2}, {"AB", false, 0, 2},
        {"ab", false, 2, -1},       {"", false, 1, 1},  // an empty pattern matches the first cell searched
        {"b   ", false, 0, 1},                          // trailing blanks match the padding
        {"xab      ", true, 0, -1},                     // longer than the cell width
    };
    for (const Case& c : cases) {
        int found = -99;
        WGridFindInColumn(c.pattern, static_cast<int>(std::string(c.pattern).size()), c.first, 2,
                          c.ignore_case, fetch, found);
        EXPECT_EQ(found, c.found) << c.pattern << " " << c.ignore_case;
    }
}

}  // namespace
