// The readers of the menu and toolbar resources, and the filter text of the file chooser.
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/menu_resources.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// 16-bit little-endian words as a resource holds them.
std::vector<unsigned char> words(std::initializer_list<int> list)
{
    std::vector<unsigned char> bytes;
    for (int w : list) {
        bytes.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
    }
    return bytes;
}

TEST(MenuIdResource, RecordsOfIdAndPositionsEndAtAZeroId)
{
    auto data = words({9411, 1, 1, 0,     // id 9411: bar item 1, its item 1
                       9414, 1, 4, 1, 0,  // three levels down
                       9413, 1, 4, 0,     // a pop-up item
                       0,                 // end of the list
                       777, 1, 0});       // never read
    auto records = read_menu_id_resource(data.data(), data.size());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].id, 9411);
    EXPECT_EQ(records[0].positions, (std::vector<int>{1, 1}));
    EXPECT_EQ(records[1].positions, (std::vector<int>{1, 4, 1}));
    EXPECT_EQ(records[2].id, 9413);
}

TEST(MenuIdResource, DamagedListsStopAtTheirEnd)
{
    // Cut in the middle of a record, an odd byte count, a record without positions, nothing at all.
    auto cut = words({9411, 1, 1});
    auto records = read_menu_id_resource(cut.data(), cut.size());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].positions, (std::vector<int>{1, 1}));
    cut.push_back(0x55);
    EXPECT_EQ(read_menu_id_resource(cut.data(), cut.size()).size(), 1u);
    auto empty_record = words({9411, 0, 9412, 2, 0, 0});
    records = read_menu_id_resource(empty_record.data(), empty_record.size());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].id, 9412);
    EXPECT_TRUE(read_menu_id_resource(nullptr, 10).empty());
}

TEST(MenuHelpStrings, FoundById)
{
    std::vector<unsigned char> data = words({9411});
    for (char c : std::string("Opens a file"))
        data.push_back(static_cast<unsigned char>(c));
    data.push_back(0);
    auto second = words({9420});
    data.insert(data.end(), second.begin(), second.end());
    for (char c : std::string("Runs"))
        data.push_back(static_cast<unsigned char>(c));
    data.push_back(0);
    auto end = words({0});
    data.insert(data.end(), end.begin(), end.end());
    EXPECT_EQ(menu_help_string(data.data(), data.size(), 9411), "Opens a file");
    EXPECT_EQ(menu_help_string(data.data(), data.size(), 9420), "Runs");
    EXPECT_EQ(menu_help_string(data.data(), data.size(), 1234), "");
    // A text without its NUL at the end of the block stops there.
    EXPECT_EQ(menu_help_string(data.data(), 2 + 4, 9411), "Open");
    EXPECT_EQ(menu_help_string(nullptr, 0, 9411), "");
}

TEST(ToolbarResource, ButtonsAndSeparatorsUpToTwoZeros)
{
    auto data = words({16, 15, 9411, 9412, 0, 9420, 0, 0, 9999});
    ToolbarLayout t;
    ASSERT_TRUE(read_toolbar_resource(data.data(), data.size(), t));
    EXPECT_EQ(t.image_width, 16);
    EXPECT_EQ(t.image_height, 15);
    EXPECT_EQ(t.buttons, (std::vector<int>{9411, 9412, 0, 9420}));
    // Without its closing words the list ends with the block.
    auto open_end = words({8, 8, 5, 6});
    ASSERT_TRUE(read_toolbar_resource(open_end.data(), open_end.size(), t));
    EXPECT_EQ(t.buttons, (std::vector<int>{5, 6}));
    auto no_size = words({0, 15, 1});
    EXPECT_FALSE(read_toolbar_resource(no_size.data(), no_size.size(), t));
    EXPECT_FALSE(read_toolbar_resource(data.data(), 3, t));
    EXPECT_TRUE(t.buttons.empty()) << "outputs are emptied before reading";
}

// Random blocks of every length up to 64 bytes, read exactly as long as they are (the sanitizers of the
// host build see any read past the end); half of them start like a real list.
TEST(MenuResourceFuzz, RandomBlocksNeverReadPastTheirEnd)
{
    std::mt19937 random(20261210);
    for (int run = 0; run < 20000; ++run) {
        size_t size = random() % 65;
        std::vector<unsigned char> block(size);
        for (unsigned char& b : block)
            b = static_cast<unsigned char>(random() % 4 == 0 ? 0 : random());
        if (run % 2 && size >= 4) {
            block[0] = 16;  // a sensible image width and id
            block[1] = 0;
        }
        auto records = read_menu_id_resource(block.data(), block.size());
        for (const MenuIdRecord& r : records) {
            EXPECT_FALSE(r.positions.empty());
        }
        menu_help_string(block.data(), block.size(), block.size() >= 2 ? block[0] | (block[1] << 8) : 1);
        ToolbarLayout t;
        if (read_toolbar_resource(block.data(), block.size(), t)) {
            EXPECT_LE(t.buttons.size(), size / 2);
        }
    }
}

TEST(FileFilter, LastCharacterSeparatesThePairs)
{
    using namespace std::string_literals;
    EXPECT_EQ(file_filter_from_text("Data files|*.DAT|All files|*.*|   "),
              "Data files\0*.DAT\0All files\0*.*\0\0"s)
        << "two filter pairs";
    EXPECT_EQ(file_filter_from_text("Pictures;*.png;"), "Pictures\0*.png\0\0"s);
    EXPECT_EQ(file_filter_from_text("    "), "");
}

}  // namespace
