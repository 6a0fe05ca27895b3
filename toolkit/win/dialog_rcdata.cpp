// The companion-text parser: section headers and data lines.
#include "toolkit/win/dialog_rcdata.h"

#include "toolkit/win/number_text.h"

namespace {

constexpr size_t ITEM_LIMIT = 1024;  // characters kept of one list item or tab label

const char* const HEADERS[] = {"[Ranges]",    "[Menus]",   "[Checks]", "[Tabs]",    "[Grids]",    "[Colours]",
                               "[Trackbars]", "[Lengths]", "[Dialog]", "[Formats]", "[Treeviews]"};

// Cursor over the text; every read stops at the NUL or the end.
struct Cursor {
    std::string_view text;
    size_t pos = 0;

    bool end() const { return pos >= text.size() || text[pos] == '\0'; }
    char peek() const { return end() ? '\0' : text[pos]; }
    void skip_blanks()
    {
        while (!end() && text[pos] == ' ')
            ++pos;
    }
    // Digits only, up to the first non-digit; an empty run is 0. Kept below 2^31.
    int integer()
    {
        long long v = 0;
        while (!end() && text[pos] >= '0' && text[pos] <= '9') {
            if (v < 1000000000LL)
                v = v * 10 + (text[pos] - '0');
            ++pos;
        }
        return static_cast<int>(v > 2147483647LL ? 2147483647LL : v);
    }
    // To the next blank on this line, then past all blanks.
    void next_item()
    {
        while (!end() && text[pos] != ' ' && text[pos] != '\n')
            ++pos;
        skip_blanks();
    }
    // The rest of the line (without its line feed); the cursor moves past the line feed.
    std::string_view rest_of_line()
    {
        size_t start = pos;
        while (!end() && text[pos] != '\n')
            ++pos;
        std::string_view r = text.substr(start, pos - start);
        if (!end())
            ++pos;
        return r;
    }
    void next_line() { rest_of_line(); }
};

double real_item(Cursor& c)
{
    while (!c.end() && c.text[c.pos] == '\t')
        ++c.pos;
    size_t start = c.pos;
    while (!c.end() && c.text[c.pos] != ' ' && c.text[c.pos] != '\n' && c.text[c.pos] != '\r')
        ++c.pos;
    std::string_view word = c.text.substr(start, c.pos - start);
    // The scan reads as far as the number goes; what follows it on the item is not part of it.
    bool ok = false;
    size_t n = 0;
    while (n < word.size() && (std::string_view("+-.0123456789eEdD").find(word[n]) != std::string_view::npos))
        ++n;
    return WStrScanReal(word.substr(0, n), ok);
}

std::string trimmed_item(std::string_view line)
{
    std::string s(line.substr(0, ITEM_LIMIT));
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.pop_back();
    return s;
}

}  // namespace

void parse_dialog_rcdata(std::string_view text, RcdataSink& sink)
{
    Cursor c{text};
    int section = RC_NONE;
    while (!c.end()) {
        c.skip_blanks();
        if (c.end())
            break;
        int header = 0;
        for (int h = 0; h < 11; ++h) {
            std::string_view name = HEADERS[h];
            if (c.text.substr(c.pos, name.size()) == name) {
                header = h + 1;
                break;
            }
        }
        if (header) {
            section = header;
            c.next_line();
            continue;
        }
        if (c.peek() == '\n') {
            c.next_line();
            continue;
        }
        int field = c.integer();
        c.next_item();
        switch (section) {
        case RC_RANGES: {
            double lo = real_item(c);
            c.skip_blanks();
            double hi = real_item(c);
            sink.range(field, lo, hi);
            c.next_line();
            break;
        }
        case RC_MENUS: {
            int count = c.integer();
            c.next_item();
            int selection = c.integer();
            c.next_line();
            std::vector<std::string> items;
            for (int i = 0; i < count && !c.end(); ++i)
                items.push_back(trimmed_item(c.rest_of_line()));
            sink.menu(field, selection, items);
            break;
        }
        case RC_CHECKS:
            sink.check(field, c.integer());
            c.next_line();
            break;
        case RC_TABS: {
            int count = c.integer();
            c.next_item();
            int def = c.integer();
            c.next_line();
            std::vector<std::pair<int, std::string>> pages;
            for (int i = 0; i < count && !c.end(); ++i) {
                c.skip_blanks();
                int page = c.integer();
                c.next_item();
                std::string_view label = c.rest_of_line();
                // The label drops its last character: the blank that stands before the line feed.
                if (!label.empty() && label.back() == '\r')
                    label.remove_suffix(1);
                if (!label.empty())
                    label.remove_suffix(1);
                pages.emplace_back(page, std::string(label.substr(0, ITEM_LIMIT)));
            }
            sink.tabs(field, def, pages);
            break;
        }
        case RC_GRIDS: {
            size_t used = sink.grid(field, c.text.substr(c.pos));
            c.pos += used < c.text.size() - c.pos ? used : c.text.size() - c.pos;
            c.next_line();
            break;
        }
        case RC_COLOURS: {
            int rgb[6];
            for (int& v : rgb) {
                c.skip_blanks();
                v = c.integer();
            }
            sink.colours(field, rgb);
            c.next_line();
            break;
        }
        case RC_TRACKBARS: {
            int v[5];
            for (int& x : v) {
                c.skip_blanks();
                x = c.integer();
            }
            sink.trackbar(field, v);
            c.next_line();
            break;
        }
        case RC_LENGTHS:
            sink.length(field, c.integer());
            c.next_line();
            break;
        case RC_DIALOG:
            sink.dialog_flag(field != 0 ? 1 : 0);
            c.next_line();
            break;
        case RC_FORMATS: {
            std::string_view rest = c.rest_of_line();
            if (!rest.empty() && rest.back() == '\r')
                rest.remove_suffix(1);
            sink.format(field, std::string(rest));
            break;
        }
        case RC_TREEVIEWS: {
            int menu = c.integer();
            c.next_item();
            int selected = c.integer();
            sink.treeview(field, menu, selected);
            c.next_line();
            break;
        }
        default: c.next_line(); break;
        }
    }
}
