// The companion text of a dialog: sections of data lines, each line beginning with a field id, that
// give fields what a template cannot say (ranges, list items, check states, colours, text limits, tab
// pages, formats ...). The parser is portable; the dialog manager applies what it reads.
#ifndef QR4T_TOOLKIT_WIN_DIALOG_RCDATA_H
#define QR4T_TOOLKIT_WIN_DIALOG_RCDATA_H

#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum RcdataSection {
    RC_NONE = 0,
    RC_RANGES = 1,
    RC_MENUS = 2,
    RC_CHECKS = 3,
    RC_TABS = 4,
    RC_GRIDS = 5,
    RC_COLOURS = 6,
    RC_TRACKBARS = 7,
    RC_LENGTHS = 8,
    RC_DIALOG = 9,
    RC_FORMATS = 10,
    RC_TREEVIEWS = 11,
};

// What the parser hands to the dialog manager, one call per data line.
class RcdataSink {
public:
    virtual ~RcdataSink() = default;
    virtual void range(int field, double minimum, double maximum) = 0;
    // items: the item texts with trailing blanks removed; selection 1-based, 0 none.
    virtual void menu(int field, int selection, const std::vector<std::string>& items) = 0;
    virtual void check(int field, int state) = 0;
    // pages: (page dialog id, tab label) in order.
    virtual void tabs(int field, int default_page, const std::vector<std::pair<int, std::string>>& pages) = 0;
    // The rest of the text from the grid line on; returns how many characters the grid consumed.
    virtual size_t grid(int field, std::string_view text) = 0;
    virtual void colours(int field, const int rgb[6]) = 0;
    virtual void trackbar(int field, const int values[5]) = 0;
    virtual void length(int field, int n) = 0;
    virtual void dialog_flag(int flag) = 0;
    virtual void format(int field, const std::string& text) = 0;
    virtual void treeview(int field, int menu, int selected) = 0;
};

// Reads a companion text (up to its NUL or end) and hands every data line to the sink.
void parse_dialog_rcdata(std::string_view text, RcdataSink& sink);

#endif
