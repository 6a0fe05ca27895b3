// Readers of the resources that go with a menu or a toolbar: the item-number list of a menu, its help
// strings and the button list of a toolbar. Portable: they read words from a byte block.
//
// Resources come from the program file, but a reader still checks every count and position against
// the block's length: a damaged resource gives fewer records, never a read past its end.
#ifndef QR4T_TOOLKIT_WIN_MENU_RESOURCES_H
#define QR4T_TOOLKIT_WIN_MENU_RESOURCES_H

#include <cstddef>
#include <string>
#include <vector>

// One record of the item-number list: the command id, then its 1-based position at each menu level
// from the bar down (the last names the item itself).
struct MenuIdRecord {
    int id = 0;
    std::vector<int> positions;
};

// Item-number list (RCDATA of the menu's id): 16-bit words; per item its id, its positions, then 0;
// the list ends with a 0 where the next id would stand. A record without a position is dropped.
std::vector<MenuIdRecord> read_menu_id_resource(const unsigned char* data, size_t size);

// Help strings ("DIRORUDODAVER" of the menu's id): a 16-bit id then a NUL-terminated text per entry,
// an id 0 ends the list. Returns the text of the id, empty when it has none.
std::string menu_help_string(const unsigned char* data, size_t size, int id);

// Button list of a toolbar (RCDATA of the toolbar's id): image width, image height, then one command
// id per button (0 a separator); two zero words end the list.
struct ToolbarLayout {
    int image_width = 0;
    int image_height = 0;
    std::vector<int> buttons;  // command ids, 0 for a separator
};

// False when the block is too short for the two size words or a size is not positive.
bool read_toolbar_resource(const unsigned char* data, size_t size, ToolbarLayout& layout);

#endif
