// The companion-text parser: the program's own line forms, the oddities of the format, and robustness.
#include "toolkit/win/dialog_rcdata.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

// Records what the parser hands over, one line per call.
class RecordingSink : public RcdataSink {
public:
    std::vector<std::string> lines;
    size_t grid_consumes = 0;

    void range(int f, double lo, double hi) override
    {
        add("range", f, std::to_string(lo) + " " + std::to_string(hi));
    }
    void menu(int f, int sel, const std::vector<std::string>& items) override
    {
        std::string s = std::to_string(sel);
        for (const auto& i : items)
            s += "|" + i;
        add("menu", f, s);
    }
    void check(int f, int state) override { add("check", f, std::to_string(state)); }
    void tabs(int f, int def, const std::vector<std::pair<int, std::string>>& pages) override
    {
        std::string s = std::to_string(def);
        for (const auto& p : pages) {
            s += '|';
            s += std::to_string(p.first);
            s += ':';
            s += p.second;
        }
        add("tabs", f, s);
    }
    size_t grid(int f, std::string_view) override
    {
        add("grid", f, "");
        return grid_consumes;
    }
    void colours(int f, const int v[6]) override
    {
        std::ostringstream o;
        for (int i = 0; i < 6; ++i)
            o << v[i] << (i < 5 ? " " : "");
        add("colours", f, o.str());
    }
    void trackbar(int f, const int v[5]) override
    {
        std::ostringstream o;
        for (int i = 0; i < 5; ++i)
            o << v[i] << (i < 4 ? " " : "");
        add("trackbar", f, o.str());
    }
    void length(int f, int n) override { add("length", f, std::to_string(n)); }
    void dialog_flag(int flag) override { add("dialog", flag, ""); }
    void format(int f, const std::string& t) override { add("format", f, "[" + t + "]"); }
    void treeview(int f, int m, int s) override
    {
        add("treeview", f, std::to_string(m) + " " + std::to_string(s));
    }

private:
    void add(const char* what, int field, const std::string& rest)
    {
        lines.push_back(std::string(what) + " " + std::to_string(field) + (rest.empty() ? "" : " " + rest));
    }
};

std::vector<std::string> parse(std::string_view text)
{
    RecordingSink s;
    parse_dialog_rcdata(text, s);
    return s.lines;
}

TEST(DialogRcdata, ProgramsOwnLineForms)
{
    std::string text = "[Ranges] \n 1015               1      2147483647 \n"
                       "[Colours] \n 1011 255 255 255 010 036 106 \n"
                       "[Menus] \n 1157    3    2 \n First  \n Second \n Third \n"
                       "[Checks] \n 1005 0 \n"
                       "[Lengths] \n 1020 80 \n";
    std::vector<std::string> want = {
        "range 1015 1.000000 2147483647.000000",
        "colours 1011 255 255 255 10 36 106",
        "menu 1157 2| First| Second| Third",
        "check 1005 0",
        "length 1020 80",
    };
    EXPECT_EQ(parse(text), want);
}

TEST(DialogRcdata, FormatOddities)
{
    // A header followed by text on its line is still a header; lines before any header are ignored; an
    // empty section changes nothing; a tab label loses its last character (the blank before the line
    // feed), so a label written without that blank loses a letter.
    std::string text = "  99 ignored \n[Ranges] trailing words\n[Lengths] \n"
                       "[Tabs] \n 1200 2 302 \n 301 First \n 302 Second\n"
                       "[Formats] \n 1030 (F8.3) \n"
                       "[Dialog] \n 1 \n";
    std::vector<std::string> want = {
        "tabs 1200 302|301:First|302:Secon",
        "format 1030 [(F8.3) ]",
        "dialog 1",
    };
    EXPECT_EQ(parse(text), want);
}

TEST(DialogRcdata, CountsLargerThanTheTextStopAtItsEnd)
{
    EXPECT_EQ(parse("[Menus] \n 10 5 1 \n only \n"), std::vector<std::string>{"menu 10 1| only"});
    EXPECT_EQ(parse("[Ranges] \n 1024               0             100 \0 1025 5 6 \n"),
              std::vector<std::string>{"range 1024 0.000000 100.000000"});
}

TEST(DialogRcdata, CrLfLinesReadLikeLf)
{
    EXPECT_EQ(parse("[Checks]\r\n 7 1\r\n[Lengths]\r\n 8 12\r\n"),
              (std::vector<std::string>{"check 7 1", "length 8 12"}));
}

// Robustness: random mutations of a realistic text never crash (run under ASan) and always end.
TEST(DialogRcdata, MutatedTextsNeverCrash)
{
    const std::string base =
        "[Ranges] \n 1015 1 2147483647 \n[Menus] \n 1157 3 2 \n a \n b \n c \n"
        "[Tabs] \n 1200 2 302 \n 301 First \n 302 Second \n[Colours] \n 1011 1 2 3 4 5 6 \n"
        "[Trackbars] \n 40 1 2 3 4 5 \n[Formats] \n 9 (G15.5E2) \n[Treeviews] \n 3 100 5 \n"
        "[Grids] \n 77 whatever \n[Dialog] \n 1 \n";
    std::mt19937 gen(12345);
    const char alphabet[] = "[]0123456789 \n\t-+.eE*/abc\r\0";
    for (int round = 0; round < 3000; ++round) {
        std::string t = base;
        int edits = 1 + static_cast<int>(gen() % 8);
        for (int e = 0; e < edits; ++e) {
            size_t at = gen() % (t.size() + 1);
            switch (gen() % 3) {
            case 0: t.insert(at, 1, alphabet[gen() % (sizeof alphabet - 1)]); break;
            case 1:
                if (at < t.size())
                    t.erase(at, 1 + gen() % 5);
                break;
            default: t = t.substr(0, at); break;
            }
        }
        RecordingSink s;
        s.grid_consumes = gen() % 50;
        parse_dialog_rcdata(t, s);
    }
    SUCCEED();
}

}  // namespace
