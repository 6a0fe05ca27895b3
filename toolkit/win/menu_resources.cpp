// Readers of the item-number list, the help strings and the toolbar button list.
#include "toolkit/win/menu_resources.h"

namespace {

// The 16-bit little-endian word at word index i; the caller checks the bound.
int word_at(const unsigned char* data, size_t i)
{
    return data[2 * i] | (data[2 * i + 1] << 8);
}

}  // namespace

std::vector<MenuIdRecord> read_menu_id_resource(const unsigned char* data, size_t size)
{
    std::vector<MenuIdRecord> records;
    if (!data)
        return records;
    size_t words = size / 2;
    size_t i = 0;
    while (i < words) {
        int id = word_at(data, i++);
        if (id == 0)
            break;
        MenuIdRecord r;
        r.id = id;
        while (i < words) {
            int p = word_at(data, i++);
            if (p == 0)
                break;
            r.positions.push_back(p);
        }
        if (!r.positions.empty())
            records.push_back(r);
    }
    return records;
}

std::string menu_help_string(const unsigned char* data, size_t size, int id)
{
    size_t at = 0;
    while (data && at + 2 <= size) {
        int entry = data[at] | (data[at + 1] << 8);
        if (entry == 0)
            break;
        at += 2;
        size_t end = at;
        while (end < size && data[end] != 0)
            ++end;
        if (entry == id)
            return std::string(reinterpret_cast<const char*>(data + at), end - at);
        at = end + 1;
    }
    return std::string();
}

bool read_toolbar_resource(const unsigned char* data, size_t size, ToolbarLayout& layout)
{
    layout = ToolbarLayout{};
    size_t words = data ? size / 2 : 0;
    if (words < 2)
        return false;
    int width = word_at(data, 0);
    int height = word_at(data, 1);
    if (width <= 0 || height <= 0)
        return false;
    layout.image_width = width;
    layout.image_height = height;
    for (size_t i = 2; i < words; ++i) {
        int id = word_at(data, i);
        if (id == 0 && (i + 1 >= words || word_at(data, i + 1) == 0))
            break;
        layout.buttons.push_back(id);
    }
    return true;
}
