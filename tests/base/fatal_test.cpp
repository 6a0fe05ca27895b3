// The fatal stop and the normal program stop, on their real exit paths.
#include "base/fatal.h"

#include "base/units.h"
#include "base_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

// A fixed name, because a death-test child may run the test body again in a new process.
std::string fixed_scratch_path(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

// The user's copy (standard error, and the message box of qr4t.exe) is the message alone; the log
// adds the source position for whoever investigates.
TEST(FatalExit, LogsToDiagExitsWithStatus1AndNamesTheSourceLine)
{
    std::string diag = fixed_scratch_path("qr4t_fatal_test_DIAG.TXT");
    std::remove(diag.c_str());
    EXPECT_EXIT(
        {
            unit_open(UNIT_DIAG, diag, UnitMode::WRITE_TEXT);
            fatal_stop("Cannot read \"x\" for XMIN in file QR4TD.DAT (unit 4), line 3");
        },
        testing::ExitedWithCode(1), "Cannot read \"x\" for XMIN in file QR4TD\\.DAT \\(unit 4\\), line 3");
    std::string log = read_file(diag);
    EXPECT_EQ(log.rfind(" Cannot read \"x\" for XMIN in file QR4TD.DAT (unit 4), line 3 [fatal_test.cpp:", 0),
              0u)
        << log;
    EXPECT_EQ(log.substr(log.size() - 3), "]\r\n") << log;
    std::remove(diag.c_str());
}

TEST(FatalExit, WithoutDiagOpenStillStops)
{
    EXPECT_EXIT(fatal_stop("PROGRAM COULD NOT ALLOCATE MOLECULES"), testing::ExitedWithCode(1),
                "PROGRAM COULD NOT ALLOCATE MOLECULES");
}

// The stop on a close request is a throw that MAIN_PROGRAM catches (it then closes the units and
// returns 0); it never ends the process deep in the set-up.
TEST(ProgramStop, ThrowsTheStopRequestToTheMainProgram)
{
    EXPECT_THROW(program_stop(), ProgramStopRequest);
}

class FatalStopHandler : public FatalToException {};

TEST_F(FatalStopHandler, ReceivesTheMessageAfterItIsLogged)
{
    std::string diag = scratch.path("DIAG.TXT");
    ASSERT_TRUE(unit_open(UNIT_DIAG, diag, UnitMode::WRITE_TEXT));
    try {
        fatal_stop("End of file QR4SD.DAT (unit 4)");
        FAIL() << "the handler did not throw";
    } catch (const FatalStop& stop) {
        EXPECT_EQ(stop.message, "End of file QR4SD.DAT (unit 4)");
    }
    EXPECT_EQ(unit_record(UNIT_DIAG), 1);
    EXPECT_TRUE(unit_is_open(UNIT_DIAG));  // only the exit is replaced; the units stay as they were
    std::string log = read_file(diag);
    EXPECT_EQ(log.rfind(" End of file QR4SD.DAT (unit 4) [fatal_test.cpp:", 0), 0u) << log;
}

// A notice set by the program sees the message without the source position; the user's copies of a
// 1,000,000-digit value are cut to about 40 characters with control bytes escaped.
TEST_F(FatalStopHandler, NoticeAndExcerpt)
{
    static std::string noticed;
    set_fatal_notice([](const std::string& m) { noticed = m; });
    try {
        fatal_stop("QR4TD.DAT item 65: value " + message_excerpt(std::string(1000000, '7')));
    } catch (const FatalStop&) {
    }
    set_fatal_notice(nullptr);
    EXPECT_EQ(noticed, "QR4TD.DAT item 65: value " + std::string(40, '7') + "...");
    EXPECT_EQ(message_excerpt("1.5\r\x01\xff"), "1.5\\x0D\\x01\\xFF");
    EXPECT_EQ(message_excerpt(std::string(40, 'a')), std::string(40, 'a'));
}

}  // namespace
