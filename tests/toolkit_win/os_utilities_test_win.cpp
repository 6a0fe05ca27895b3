// Operating-system utilities against the real system (under Wine): files, search, copy and delete by
// pattern, directories, processes, environment and registry.
#include "toolkit/common/error_state.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/os_utilities.h"

#include "box_driver_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

namespace {

void write_file(const std::string& name, const std::string& text)
{
    int error = 0, count = 0;
    OsHandle h = -1;
    IOsFileOpen(name, 1, h, error);
    ASSERT_EQ(error, 0) << name;
    IOsFileWrite(h, text.data(), static_cast<int>(text.size()), count, error);
    IOsFileClose(h);
}

bool exists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder of the test's own with a.dat, b.dat, c.txt and a directory d.dat; removed at the end.
struct PatternFolder : testing::Test {
    std::string dir = "patterns";
    void SetUp() override
    {
        ERROR_STATE = ErrorState{};
        CreateDirectoryA(dir.c_str(), nullptr);
        CreateDirectoryA((dir + "\\d.dat").c_str(), nullptr);
        CreateDirectoryA((dir + "\\to").c_str(), nullptr);
        write_file(dir + "\\a.dat", "aaa");
        write_file(dir + "\\b.dat", "bb");
        write_file(dir + "\\c.txt", "c");
    }
    void TearDown() override
    {
        for (const char* f : {"\\a.dat", "\\b.dat", "\\c.txt", "\\to\\a.dat", "\\to\\b.dat", "\\e.dat"})
            DeleteFileA((dir + f).c_str());
        RemoveDirectoryA((dir + "\\d.dat").c_str());
        RemoveDirectoryA((dir + "\\to").c_str());
        RemoveDirectoryA(dir.c_str());
        DeleteFileA("a.dat");
        ERROR_STATE = ErrorState{};
    }
};

}  // namespace

TEST_F(PatternFolder, DeleteByPatternLeavesDirectoriesAndOtherFiles)
{
    IOsDeleteFile("  patterns\\*.dat  ");
    EXPECT_FALSE(exists(dir + "\\a.dat"));
    EXPECT_FALSE(exists(dir + "\\b.dat"));
    EXPECT_TRUE(exists(dir + "\\d.dat"));
    EXPECT_TRUE(exists(dir + "\\c.txt"));
    EXPECT_EQ(IErrorInfo(1), 0);
}

TEST_F(PatternFolder, DeleteWithNothingFoundReportsError13AndTheSystemCode)
{
    IOsDeleteFile("patterns\\*.none");
    EXPECT_EQ(IErrorInfo(1), ERR_OS_COMMAND);
    EXPECT_EQ(IErrorInfo(3), ERROR_FILE_NOT_FOUND);
    IOsDeleteFile("   ");  // an empty pattern does nothing
    EXPECT_EQ(IErrorInfo(1), 0);
}

TEST_F(PatternFolder, CopyOneFileIntoADirectoryKeepsItsName)
{
    IOsCopyFile("patterns\\a.dat", "patterns\\to\\");
    EXPECT_TRUE(exists(dir + "\\to\\a.dat"));
    IOsCopyFile("patterns\\b.dat", "patterns\\e.dat");
    EXPECT_TRUE(exists(dir + "\\e.dat"));
    IOsCopyFile("patterns\\a.dat", "");  // an empty target: the current directory
    EXPECT_TRUE(exists("a.dat"));
    EXPECT_EQ(IErrorInfo(1), 0);
}

TEST_F(PatternFolder, CopyOntoItselfReports55AndCopiesNothing)
{
    IOsCopyFile("patterns\\a.dat", " patterns\\a.dat ");
    EXPECT_EQ(IErrorInfo(1), ERR_COPY_SAME_NAME);
    IOsCopyFile("patterns\\missing.dat", "patterns\\to\\");
    EXPECT_EQ(IErrorInfo(1), ERR_OS_COMMAND);
    EXPECT_EQ(IErrorInfo(3), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(exists(dir + "\\to\\missing.dat"));
}

TEST_F(PatternFolder, CopyByPatternIntoATargetWithoutSeparator)
{
    IOsCopyFile("patterns\\*.dat", "patterns\\to");
    EXPECT_TRUE(exists(dir + "\\to\\a.dat"));
    EXPECT_TRUE(exists(dir + "\\to\\b.dat"));
    EXPECT_FALSE(exists(dir + "\\to\\d.dat"));
    EXPECT_FALSE(exists(dir + "\\to\\c.txt"));
    EXPECT_EQ(IErrorInfo(1), 0);
}

TEST_F(PatternFolder, FindFileListsMatchesWithSizesAndDosTime)
{
    std::set<std::string> names;
    std::string name = dir + "\\*.dat";
    int attributes = 0, datetime = 0, size = 0, error = 0;
    for (IOsFindFile(0, name, attributes, datetime, size, error); error == 0;
         IOsFindFile(1, name, attributes, datetime, size, error)) {
        names.insert(name);
        if (name == "a.dat") {
            EXPECT_EQ(size, 3);
            EXPECT_EQ(attributes & 0x10, 0);
            SYSTEMTIME now;
            GetLocalTime(&now);
            // The DOS date is in the high word, its year counted from 1980 in the top 7 bits.
            EXPECT_EQ((static_cast<unsigned>(datetime) >> 25) + 1980, now.wYear);
        }
        if (name == "d.dat") {
            EXPECT_NE(attributes & 0x10, 0);
        }
    }
    IOsFindClose();
    EXPECT_EQ(error, 1);  // no more
    EXPECT_EQ(names, (std::set<std::string>{"a.dat", "b.dat", "d.dat"}));

    name = dir + "\\*.none";
    IOsFindFile(0, name, attributes, datetime, size, error);
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    IOsFindClose();
}

TEST_F(PatternFolder, FileInfoAndAttributes)
{
    int size = 0, year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, attributes = 0;
    IOsFileInfo(size, year, month, day, hour, minute, second, attributes, dir + "\\b.dat");
    EXPECT_EQ(size, 2);
    EXPECT_GE(year, 2020);
    EXPECT_TRUE(month >= 1 && month <= 12);
    int error = 0;
    IOsFileAttrSet(FILE_ATTRIBUTE_READONLY, error, dir + "\\b.dat");
    EXPECT_EQ(error, 0);
    IOsFileInfo(size, year, month, day, hour, minute, second, attributes, dir + "\\b.dat");
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0);
    IOsFileAttrSet(FILE_ATTRIBUTE_NORMAL, error, dir + "\\b.dat");
    IOsFileInfo(size, year, month, day, hour, minute, second, attributes, dir + "\\nothing");
    EXPECT_EQ(size, -1);
}

TEST(OsFiles, OpenWriteSeekReadRoundTrip)
{
    const std::string name = "os_file_test.bin";
    OsHandle h = -1;
    int error = 0, count = 0;
    IOsFileOpen(name, 1, h, error);
    ASSERT_EQ(error, 0);
    IOsFileWrite(h, "0123456789", 10, count, error);
    EXPECT_EQ(count, 10);
    IOsFileClose(h);

    IOsFileOpen(name, 2, h, error);  // reading and writing
    ASSERT_EQ(error, 0);
    int offset = -3;
    IOsFileSeek(h, offset, 2, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(offset, 7);
    char buffer[8] = {};
    IOsFileRead(h, buffer, 8, count, error);
    EXPECT_EQ(count, 3);  // short at the end of the file, no error
    EXPECT_EQ(error, 0);
    EXPECT_EQ(std::string(buffer, 3), "789");
    IOsFileClose(h);

    IOsFileOpen(name, 0, h, error);
    IOsFileWrite(h, "x", 1, count, error);  // opened for reading only
    EXPECT_NE(error, 0);
    EXPECT_EQ(count, 0);
    IOsFileClose(h);

    IOsFileMove(name, "os_file_test.moved", error);
    EXPECT_EQ(error, 0);
    IOsFileDelete("os_file_test.moved", error);
    EXPECT_EQ(error, 0);
    IOsFileOpen(name, 0, h, error);
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(h, -1);
}

TEST(OsDirectories, CreateSetGetRemove)
{
    std::string start;
    int error = 0, truncated = 0;
    IOsDirGet(start, 261, error, truncated);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(truncated, 0);
    IOsDirCreate("os_dir_test", error);
    EXPECT_EQ(error, 0);
    IOsDirSet("os_dir_test", error);
    EXPECT_EQ(error, 0);
    std::string now;
    IOsDirGet(now, 261, error, truncated);
    EXPECT_EQ(now, start + "\\os_dir_test");
    IOsDirGet(now, 4, error, truncated);  // does not fit
    EXPECT_EQ(truncated, 1);
    IOsDirSet(start, error);
    IOsDirRemove("os_dir_test", error);
    EXPECT_EQ(error, 0);
    IOsDirRemove("os_dir_test", error);
    EXPECT_NE(error, 0);

    std::string system;
    IOsSystemDir(system, 261, error);
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(system.empty());
    int type = 0;
    IOsDriveType(type, start.substr(0, 3));
    EXPECT_EQ(type, DRIVE_FIXED);
    int serial = -1;
    IOsVolumeSerial(serial, "Q:\\no_such_drive\\");  // no box, serial 0
    EXPECT_EQ(serial, 0);
}

TEST(OsSystem, DiskFreeIsPositiveAndSaturated)
{
    // Fault of the 32-bit product: above 4 GiB it wrapped (and above 2 GiB it went negative).
    int bytes = -5;
    IOsDiskFree(bytes);
    EXPECT_GT(bytes, 0);
    ULARGE_INTEGER free_bytes;
    ASSERT_TRUE(GetDiskFreeSpaceExA(nullptr, &free_bytes, nullptr, nullptr));
    if (free_bytes.QuadPart > 2147483647ULL) {
        EXPECT_EQ(bytes, 2147483647);
    }
}

TEST(OsSystem, VersionPlatformTimeAndEnvironment)
{
    int major = 0, minor = 0, code = 0;
    IOsVersion(major, minor);
    EXPECT_GE(major, 4);
    IOsPlatform(code);
    EXPECT_EQ(code, 4);  // NT family
    EXPECT_EQ(IOsPlatformId(), 2);
    int year = 0, month = 0, day = 0, hour = -1, minute = -1, second = -1, ms = -1;
    IOsDate(year, month, day);
    IOsTime(hour, minute, second, ms);
    EXPECT_GE(year, 2020);
    EXPECT_TRUE(hour >= 0 && hour < 24 && ms >= 0 && ms < 1000);
    int ticks = 0;
    IOsTicks(ticks);
    EXPECT_LT(static_cast<int>(GetTickCount()) - ticks, 1000);

    SetEnvironmentVariableA("QR4T_OS_TEST", "value");
    std::string value;
    int length = 0;
    IOsEnvRaw(length, "QR4T_OS_TEST", value, 64);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(value, "value");
    IOsEnvRaw(length, "QR4T_OS_TEST", value, 3);  // too small: the size needed
    EXPECT_EQ(length, 6);
    EXPECT_EQ(value, "");
    SetEnvironmentVariableA("QR4T_OS_TEST", nullptr);
    IOsEnvRaw(length, "QR4T_OS_TEST", value, 64);
    EXPECT_EQ(length, 0);

    std::string module, line;
    IOsModuleName(module, 261);
    IOsCommandLine(line);
    EXPECT_NE(module.find("toolkit_win_tests"), std::string::npos);
    EXPECT_NE(line.find("toolkit_win_tests"), std::string::npos);
}

TEST(OsRegistry, WriteReadSizeOnlyAndDelete)
{
    const char* key = "Software\\QR4T toolkit test";
    int status = -1;
    IOsRegWrite(OS_HKEY_CURRENT_USER, OS_REG_SZ, status, key, "greeting", "hello", 6);
    ASSERT_EQ(status, 0);
    unsigned dword = 0x01020304;
    IOsRegWrite(OS_HKEY_CURRENT_USER, OS_REG_DWORD, status, key, "number", &dword, 4);
    ASSERT_EQ(status, 0);

    // Size 0 asks for type and size only.
    int type = 0, size = 0;
    char data[32] = "untouched";
    IOsRegRead(OS_HKEY_CURRENT_USER, type, size, key, "greeting", data);
    EXPECT_EQ(type, OS_REG_SZ);
    EXPECT_EQ(size, 6);
    EXPECT_STREQ(data, "untouched");
    size = sizeof data;
    IOsRegRead(OS_HKEY_CURRENT_USER, type, size, key, "greeting", data);
    EXPECT_STREQ(data, "hello");
    // A buffer too small (system code 234) still gives type and size.
    size = 2;
    IOsRegRead(OS_HKEY_CURRENT_USER, type, size, key, "greeting", data);
    EXPECT_EQ(type, OS_REG_SZ);
    EXPECT_EQ(size, 6);
    unsigned read_dword = 0;
    size = 4;
    IOsRegRead(OS_HKEY_CURRENT_USER, type, size, key, "number", &read_dword);
    EXPECT_EQ(type, OS_REG_DWORD);
    EXPECT_EQ(read_dword, dword);
    // A missing value: type -2, size 0.
    size = 8;
    IOsRegRead(OS_HKEY_CURRENT_USER, type, size, key, "missing", data);
    EXPECT_EQ(type, -2);
    EXPECT_EQ(size, 0);

    IOsRegDeleteKey(OS_HKEY_CURRENT_USER, status, key);
    EXPECT_EQ(status, 0);
    // A key that cannot be opened changes nothing.
    type = 77;
    size = 5;
    IOsRegRead(OS_HKEY_CURRENT_USER, type, size, key, "greeting", data);
    EXPECT_EQ(type, 77);
    EXPECT_EQ(size, 5);
    IOsRegDeleteKey(OS_HKEY_CURRENT_USER, status, key);
    EXPECT_NE(status, 0);
    IOsRegWrite(12345, OS_REG_SZ, status, key, "x", "y", 2);  // not a predefined root
    EXPECT_NE(status, 0);
}

// Child: stays alive for a few seconds.
TEST(OsProcess, DISABLED_ChildSleep)
{
    Sleep(3000);
}

// Child: ends at once with code 0.
TEST(OsProcess, DISABLED_ChildQuick) {}

TEST(OsProcess, RunCommandWaitsOrTimesOut)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string self = "\"";
    self += exe;
    self += "\" --gtest_also_run_disabled_tests --gtest_filter=";
    int result = 0;
    DWORD start = GetTickCount();
    IOsRunCommand(self + "OsProcess.DISABLED_ChildSleep", 1, 1, 0, result);
    EXPECT_EQ(result, -1);  // timeout 0 on a program that keeps running
    EXPECT_LT(GetTickCount() - start, 2000u);
    IOsRunCommand(self + "OsProcess.DISABLED_ChildQuick", 1, 1, 20, result);
    EXPECT_EQ(result, 32);
    IOsRunCommand(self + "OsProcess.DISABLED_ChildQuick", 1, 1, -1, result);
    EXPECT_EQ(result, 32);
    IOsRunCommand("no_such_program_qr4t.exe", 1, 1, 5, result);
    EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
}
