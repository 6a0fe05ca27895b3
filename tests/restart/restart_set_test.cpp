// The restart set as one unit on disk. A writer killed at any point of putting a new set in place
// leaves the old set or the new one, never a mix: before, files were renamed one by one, and a kill
// between two renames left positions of one write beside cells of another, which were read with exit
// status 0. And a file of another write of the same case put into a set is refused by name.
#include "app/restart/restart_set.h"
#include "restart_test_support.h"

#include <map>

namespace {

// Thrown by the rename hook in place of a kill of the process.
struct Killed {};

int KILL_AT = -1;

void kill_hook(int renamed)
{
    if (renamed == KILL_AT)
        throw Killed{};
}

class RestartSetTest : public RestartTest {
protected:
    void TearDown() override
    {
        set_restart_rename_hook(nullptr);
        set_restart_read_only(false);
        RestartTest::TearDown();
    }

    // Writes the present state; the writer dies after `renamed` renames (no kill when negative).
    static bool write_killed_at(int renamed)
    {
        KILL_AT = renamed;
        set_restart_rename_hook(kill_hook);
        bool killed = false;
        try {
            WRITE_RESTART();
        } catch (const Killed&) {
            killed = true;
        }
        set_restart_rename_hook(nullptr);
        unit_close(UNIT_RESTART);
        return killed;
    }
};

TEST_F(RestartSetTest, KillAtEveryRenameLeavesTheOldOrTheNewSet)
{
    for (bool continuous : {false, true}) {
        // The files of the set, the marker and the list: renames 1 .. files + 2.
        const int files = continuous ? RESTART_FILE_COUNT : RESTART_FILE_COUNT - 1;
        for (int k = 0; k <= files + 2; ++k) {
            SCOPED_TRACE("continuous " + std::to_string(continuous) + ", killed after rename " +
                         std::to_string(k));
            make_case(true, continuous);
            WRITE_RESTART();
            std::vector<std::string> old_state = state_snapshot();
            make_case(true, continuous, 500);
            std::vector<std::string> new_state = state_snapshot();
            ASSERT_TRUE(write_killed_at(k));

            ASSERT_EQ(read_set(), "");
            std::vector<std::string> read = state_snapshot();
            EXPECT_TRUE(read == (k == 0 ? old_state : new_state));
            EXPECT_FALSE(std::filesystem::exists(SET_MARKER_FILE));

            // The next write after a kill is whole again.
            make_case(true, continuous, 900);
            std::vector<std::string> later = state_snapshot();
            WRITE_RESTART();
            ASSERT_EQ(read_set(), "");
            EXPECT_TRUE(state_snapshot() == later);
        }
    }
}

// A tool that only reads a set (qr4t-dump) completed an interrupted write, renaming files in the folder
// it reads. With reading only, the pending set is read as its marker lists it and the folder is left
// byte for byte as it was; the next start of the program still completes the set.
TEST_F(RestartSetTest, ReadingOnlyLeavesAPendingSetAsItIs)
{
    struct Case {
        int renamed;     // renames made before the kill: 1 the marker only, 3 the marker and two files
        bool new_state;  // the set read is the new one
    } cases[] = {{0, false}, {1, true}, {3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("killed after rename " + std::to_string(c.renamed));
        make_case(true, true);
        WRITE_RESTART();
        std::vector<std::string> old_state = state_snapshot();
        make_case(true, true, 500);
        std::vector<std::string> new_state = state_snapshot();
        ASSERT_TRUE(write_killed_at(c.renamed));
        std::map<std::string, std::string> folder;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            folder[entry.path().filename().string()] = read_file(entry.path());

        set_restart_read_only(true);
        std::string message = read_set();
        set_restart_read_only(false);
        ASSERT_EQ(message, "");
        EXPECT_TRUE(state_snapshot() == (c.new_state ? new_state : old_state));
        std::map<std::string, std::string> after;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            after[entry.path().filename().string()] = read_file(entry.path());
        after.erase("DIAG.TXT");
        folder.erase("DIAG.TXT");
        EXPECT_TRUE(after == folder);

        ASSERT_EQ(read_set(), "");
        EXPECT_TRUE(state_snapshot() == (c.new_state ? new_state : old_state));
        EXPECT_FALSE(std::filesystem::exists(SET_MARKER_FILE));
    }
}

// The generation counts the writes; the list names every file of the set with its length.
TEST_F(RestartSetTest, ListNamesTheGenerationAndEveryFile)
{
    make_case(false, false);
    WRITE_RESTART();
    WRITE_RESTART();
    std::string list = read_file(SET_LIST_FILE);
    EXPECT_EQ(list.rfind("QR4T restart set generation 2\r\n", 0), 0u) << list;
    EXPECT_NE(list.find("\r\nQR4TP.RES 140 "), std::string::npos) << list;
    EXPECT_EQ(list.find("QR4TM5.RES"), std::string::npos) << list;
    EXPECT_EQ(list.substr(list.size() - 5), "END\r\n");
    for (const char* name : RESTART_FILE_NAME)
        EXPECT_FALSE(std::filesystem::exists(restart_temporary_name(name))) << name;
}

// The write after a set of the largest generation overflowed the count, and the list it wrote was
// refused at every later start: the set just written could not be continued.
TEST_F(RestartSetTest, GenerationAfterTheLargestStartsAgain)
{
    struct Case {
        const char* before;  // generation of the list on disk
        const char* after;   // generation of the next write
    } cases[] = {
        {"9223372036854775806", "9223372036854775807"},
        {"9223372036854775807", "1"},
    };
    make_case(false, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        WRITE_RESTART();
        std::string list = read_file(SET_LIST_FILE);
        write_file(SET_LIST_FILE,
                   "QR4T restart set generation " + std::string(c.before) + list.substr(list.find("\r\n")));
        ASSERT_EQ(read_set(), "");
        WRITE_RESTART();
        EXPECT_EQ(
            read_file(SET_LIST_FILE).rfind("QR4T restart set generation " + std::string(c.after) + "\r\n", 0),
            0u);
        EXPECT_EQ(read_set(), "");
    }
}

// One file taken from an earlier write of the same case (same extents, other contents): refused,
// naming that file. Without the list such a set passes every check of the record layout.
TEST_F(RestartSetTest, FileOfAnotherWriteIsRefusedByName)
{
    make_case(true, true, 1);
    WRITE_RESTART();
    std::vector<std::string> first;
    for (const char* name : RESTART_FILE_NAME)
        first.push_back(read_file(name));
    make_case(true, true, 300);
    WRITE_RESTART();
    int mixed = 0;
    for (int f = 0; f < RESTART_FILE_COUNT; ++f) {
        const char* name = RESTART_FILE_NAME[f];
        std::string second = read_file(name);
        if (second == first[f])
            continue;  // the size record of both writes is the same
        SCOPED_TRACE(name);
        ++mixed;
        write_file(name, first[f]);
        std::string message = read_set();
        EXPECT_NE(message.find(std::string("Restart file ") + name + " does not belong to the restart set"),
                  std::string::npos)
            << message;
        write_file(name, second);
    }
    // All but the size record and the element cells, which the two writes share.
    EXPECT_EQ(mixed, RESTART_FILE_COUNT - 2);
    EXPECT_EQ(read_set(), "");
}

// A set written before the list was kept is read as before; a damaged list is refused.
TEST_F(RestartSetTest, SetWithoutListIsReadAndDamagedListRefused)
{
    make_case(false, true);
    WRITE_RESTART();
    std::string list = read_file(SET_LIST_FILE);
    std::filesystem::remove(SET_LIST_FILE);
    EXPECT_EQ(read_set(), "");
    EXPECT_NE(log_text().find("No restart set list QR4TSET.TXT"), std::string::npos);

    write_file(SET_LIST_FILE, list.substr(0, list.size() - 5));
    std::string message = read_set();
    EXPECT_NE(message.find("QR4TSET.TXT: it ends before its END line"), std::string::npos) << message;
}

}  // namespace
