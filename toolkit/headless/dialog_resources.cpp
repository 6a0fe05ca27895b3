// The headless stand-in's reader of the resource scripts: dialog ids of every script, and for the
// result displays' scripts the radio groups, spin start values and companion texts.
#include "toolkit/headless/dialog_resources.h"

#include "toolkit/win/dialog_rcdata.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The scripts whose dialogs the stand-in learns in full: the result displays' control dialogs and the
// dialogs of the flowfield section display.
bool learned_script(const std::filesystem::path& file)
{
    return file == "display_dialogs.rc" || file == "section_dialogs.rc";
}

struct Catalogue {
    bool readable = false;
    std::map<std::string, int> defines;  // #define NAME NUMBER of the resource headers
    std::map<int, HeadlessDialogResource> dialogs;
};

std::string read_text(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string trim(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return "";
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

// A number or a defined name; false for anything else.
bool resolve(const Catalogue& c, const std::string& word, int& value)
{
    const std::string w = trim(word);
    if (w.empty())
        return false;
    char* end = nullptr;
    long v = std::strtol(w.c_str(), &end, 10);
    if (end && *end == '\0') {
        value = static_cast<int>(v);
        return true;
    }
    auto it = c.defines.find(w);
    if (it == c.defines.end())
        return false;
    value = it->second;
    return true;
}

// The fields of a control statement after its keyword, split at the commas outside quotes.
std::vector<std::string> statement_fields(const std::string& rest)
{
    std::vector<std::string> fields;
    std::string cur;
    bool quoted = false;
    for (char ch : rest) {
        if (ch == '"')
            quoted = !quoted;
        if (ch == ',' && !quoted) {
            fields.push_back(trim(cur));
            cur.clear();
        } else {
            cur += ch;
        }
    }
    fields.push_back(trim(cur));
    return fields;
}

std::string unquote(const std::string& s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

// One DIALOGEX block: radio groups (consecutive radio buttons; WS_GROUP on a radio button starts a new
// group), the start numbers of the INTEGERSPIN and INTEGEREDIT fields and the start texts of the
// REALEDIT fields that have one.
void learn_template(const Catalogue& c, const std::vector<std::string>& block, HeadlessDialogResource& d)
{
    bool in_group = false;
    for (const std::string& raw : block) {
        const std::string line = trim(raw);
        const size_t space = line.find_first_of(" \t");
        const std::string keyword = line.substr(0, space);
        if (space == std::string::npos || keyword == "//")
            continue;
        const std::vector<std::string> f = statement_fields(line.substr(space));
        if (keyword == "AUTORADIOBUTTON" || keyword == "RADIOBUTTON") {
            int id = 0;
            if (f.size() < 2 || !resolve(c, f[1], id))
                continue;
            if (!in_group || line.find("WS_GROUP") != std::string::npos)
                d.radio_groups.emplace_back();
            d.radio_groups.back().push_back(id);
            in_group = true;
            continue;
        }
        in_group = false;
        int id = 0;
        if (keyword == "CONTROL" && f.size() >= 3 && resolve(c, f[1], id) &&
            (unquote(f[2]) == "INTEGERSPIN" || unquote(f[2]) == "INTEGEREDIT")) {
            int start = 0;
            if (resolve(c, unquote(f[0]), start))
                d.integers[id] = start;
        } else if (keyword == "CONTROL" && f.size() >= 3 && resolve(c, f[1], id) &&
                   unquote(f[2]) == "REALEDIT" && !unquote(f[0]).empty()) {
            d.texts[id] = unquote(f[0]);
        }
    }
}

// Hands the [Menus] and [Checks] lines of a companion text to the dialog's record.
class LearningSink : public RcdataSink {
public:
    explicit LearningSink(HeadlessDialogResource& d) : d_(d) {}
    void range(int, double, double) override {}
    void menu(int field, int selection, const std::vector<std::string>& items) override
    {
        d_.menus[field] = {selection, items};
    }
    void check(int field, int state) override { d_.checks[field] = state; }
    void tabs(int, int, const std::vector<std::pair<int, std::string>>&) override {}
    size_t grid(int, std::string_view) override { return 0; }
    void colours(int, const int*) override {}
    void trackbar(int, const int*) override {}
    void length(int, int) override {}
    void dialog_flag(int) override {}
    void format(int, const std::string&) override {}
    void treeview(int, int, int) override {}

private:
    HeadlessDialogResource& d_;
};

// The text of an RCDATA block: its string literals one after the other, with \n, \0 and "" decoded.
std::string rcdata_text(const std::vector<std::string>& block)
{
    std::string text;
    for (const std::string& line : block) {
        size_t i = line.find('"');
        while (i != std::string::npos) {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    text += '"';
                    i += 2;
                } else if (line[i] == '"') {
                    break;
                } else if (line[i] == '\\' && i + 1 < line.size()) {
                    text += line[i + 1] == 'n' ? '\n' : line[i + 1] == '0' ? '\0' : line[i + 1];
                    i += 2;
                } else {
                    text += line[i++];
                }
            }
            i = i < line.size() ? line.find('"', i + 1) : std::string::npos;
        }
    }
    return text;
}

void read_script(Catalogue& c, const std::filesystem::path& path, bool learn)
{
    const std::vector<std::string> lines = lines_of(read_text(path));
    for (size_t i = 0; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string name, kind;
        words >> name >> kind;
        int id = 0;
        if ((kind != "DIALOGEX" && kind != "RCDATA") || !resolve(c, name, id))
            continue;
        // The block runs from BEGIN to the END at the start of a line.
        std::vector<std::string> block;
        size_t j = i + 1;
        while (j < lines.size() && trim(lines[j]) != "BEGIN")
            ++j;
        for (++j; j < lines.size() && trim(lines[j]) != "END"; ++j)
            block.push_back(lines[j]);
        i = j;
        HeadlessDialogResource& d = c.dialogs[id];
        if (!learn)
            continue;
        d.learned = true;
        if (kind == "DIALOGEX") {
            learn_template(c, block, d);
        } else {
            LearningSink sink(d);
            parse_dialog_rcdata(rcdata_text(block), sink);
        }
    }
}

const Catalogue& catalogue()
{
    static const Catalogue cat = [] {
        Catalogue c;
        const std::filesystem::path dir = QR4T_RESOURCES_DIR;
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec))
            return c;
        c.readable = true;
        for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
            if (e.path().extension() != ".h")
                continue;
            for (const std::string& line : lines_of(read_text(e.path()))) {
                std::istringstream words(line);
                std::string hash, name;
                long value = 0;
                if (words >> hash >> name >> value && hash == "#define")
                    c.defines[name] = static_cast<int>(value);
            }
        }
        for (const auto& e : std::filesystem::directory_iterator(dir, ec))
            if (e.path().extension() == ".rc")
                read_script(c, e.path(), learned_script(e.path().filename()));
        return c;
    }();
    return cat;
}

}  // namespace

const HeadlessDialogResource* headless_dialog_resource(int dialog)
{
    static const HeadlessDialogResource unknown_folder;
    const Catalogue& c = catalogue();
    if (!c.readable)
        return &unknown_folder;
    auto it = c.dialogs.find(dialog);
    return it == c.dialogs.end() ? nullptr : &it->second;
}
