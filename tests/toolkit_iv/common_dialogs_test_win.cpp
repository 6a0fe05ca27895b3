// The common dialogs: the file chooser driven by the UI driver, the directory chooser listing a test
// folder, the colour chooser and the page set-up.
#include "../win/win_test_support.h"
#include "toolkit_iv_fixture_win.h"

#include "toolkit/common/error_state.h"
#include "toolkit/win/common_dialogs.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/window_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int FILE_NAME_FIELD = 1148;  // the explorer-style chooser's file-name box (cmb13)
constexpr char FILE_TITLE[] = "Open QR4T test file";

std::string trimmed(const std::string& s)
{
    size_t end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

// A fresh folder under the temporary folder, removed with its contents at the end of the test.
class TestFolder {
public:
    explicit TestFolder(const std::string& name)
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        char full[MAX_PATH] = {};
        GetFullPathNameA((std::string(temp) + name).c_str(), MAX_PATH, full, nullptr);
        path_ = full;
        remove();
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TestFolder() { remove(); }
    const std::string& path() const { return path_; }
    std::string make_dir(const std::string& name) const
    {
        std::string p = path_ + "\\" + name;
        CreateDirectoryA(p.c_str(), nullptr);
        return p;
    }
    std::string make_file(const std::string& name) const
    {
        std::string p = path_ + "\\" + name;
        if (FILE* f = std::fopen(p.c_str(), "wb")) {
            std::fputs("data\n", f);
            std::fclose(f);
        }
        return p;
    }

private:
    void remove() const
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string path_;
};

class CommonDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { open_main_window(); }
    void SetUp() override
    {
        WWinSelect(0);
        GetCurrentDirectoryA(MAX_PATH, keep_dir_);
    }
    void TearDown() override { SetCurrentDirectoryA(keep_dir_); }
    char keep_dir_[MAX_PATH] = {};

    static FileSelectRequest open_request(const std::string& directory)
    {
        FileSelectRequest q;
        q.filter_id = -1;
        q.filter_text = "Data files|*.dat|All files|*.*|";
        q.must_exist = 1;
        q.title = FILE_TITLE;
        q.initial_directory = directory;
        return q;
    }
};

TEST_F(CommonDialogTest, FileOpenDrivenByTheUiDriverReturnsTheChosenPath)
{
    TestFolder folder("qr4t_tk4_open");
    std::string chosen = folder.make_file("chosen.dat");
    HANDLE driver = start_uidriver(std::string("wait \"") + FILE_TITLE + "\" 20 set " +
                                   std::to_string(FILE_NAME_FIELD) + " \"" + chosen + "\" press 1");
    ASSERT_NE(driver, nullptr);
    FileSelectRequest q = open_request(folder.path());
    int index = 1, success = -1, error = -1;
    std::string file(260, ' ');
    WDialogFileSelect(q, index, file, success, error);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(success, 1);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(file.size(), 260u) << "the buffer keeps its length";
    EXPECT_EQ(trimmed(file), chosen);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(WDialogInfo(4), 1);
}

TEST_F(CommonDialogTest, CancelledFileChooserGivesSuccessZeroAndNoError)
{
    TestFolder folder("qr4t_tk4_cancel");
    HANDLE driver = start_uidriver(std::string("wait \"") + FILE_TITLE + "\" 20 press 2");
    ASSERT_NE(driver, nullptr);
    FileSelectRequest q = open_request(folder.path());
    int index = 2, success = -1, error = -1;
    std::string file = "start.dat" + std::string(20, ' ');
    WDialogFileSelect(q, index, file, success, error);
    EXPECT_EQ(finish_uidriver(driver), 0u);
    EXPECT_EQ(success, 0);
    EXPECT_EQ(error, 0) << "a plain cancel";
    EXPECT_EQ(trimmed(file), "start.dat") << "the buffer is left as it was";
    EXPECT_EQ(WDialogInfo(4), 0);
}

TEST_F(CommonDialogTest, DirectoryChooserListsTheTestFolder)
{
    TestFolder folder("qr4t_tk4_dirs");
    folder.make_dir("alpha");
    folder.make_dir("beta");
    folder.make_file("not_a_directory.txt");
    std::vector<std::string> entries;
    std::string shown;
    std::string caption;
    ModalScript script({[&](HWND d) {
                            caption.resize(64);
                            caption.resize(static_cast<size_t>(GetWindowTextA(d, caption.data(), 64)));
                            HWND list = GetDlgItem(d, 1002);
                            int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
                            for (int i = 0; i < n; ++i) {
                                char text[MAX_PATH] = {};
                                SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                             reinterpret_cast<LPARAM>(text));
                                entries.push_back(text);
                            }
                            shown = control_text(d, 1001);
                            return true;
                        },
                        press(IDOK)});
    int result = 0;
    std::string directory = folder.path() + std::string(200, ' ');
    size_t length = directory.size();
    WDialogSelectDirectory(1, result, 0, directory, "Choose the test folder   ");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(caption, "Choose the test folder");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(shown, folder.path());
    EXPECT_EQ(trimmed(directory), folder.path());
    EXPECT_EQ(directory.size(), length);
    auto has = [&](const std::string& e) {
        return std::find(entries.begin(), entries.end(), e) != entries.end();
    };
    EXPECT_TRUE(has("[alpha]"));
    EXPECT_TRUE(has("[beta]"));
    EXPECT_FALSE(has("not_a_directory.txt")) << "only directories are listed";
}

TEST_F(CommonDialogTest, DirectoryChooserEntersAListedDirectory)
{
    TestFolder folder("qr4t_tk4_enter");
    std::string alpha = folder.make_dir("alpha");
    ModalScript script({[](HWND d) {
                            HWND list = GetDlgItem(d, 1002);
                            LRESULT i = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>("[alpha]"));
                            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
                            SendMessageA(d, WM_COMMAND, MAKEWPARAM(1002, LBN_DBLCLK),
                                         reinterpret_cast<LPARAM>(list));
                            return true;
                        },
                        press(IDOK)});
    int result = 0;
    std::string directory = folder.path() + std::string(100, ' ');
    WDialogSelectDirectory(0, result, 0, directory, "");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(trimmed(directory), alpha);
}

TEST_F(CommonDialogTest, MissingDirectoryByTheOptions)
{
    TestFolder folder("qr4t_tk4_missing");
    std::string missing = folder.path() + "\\nowhere";
    auto type_missing = [missing](HWND d) {
        SetDlgItemTextA(d, 1001, missing.c_str());
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    };
    {
        // Option 4: accepted as typed, without a message and without listing.
        ModalScript script({type_missing});
        int result = 0;
        std::string directory = folder.path() + std::string(100, ' ');
        WDialogSelectDirectory(0, result, DIRECTORY_ACCEPT_MISSING, directory, "");
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(result, 1);
        EXPECT_EQ(trimmed(directory), missing);
        EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    {
        // No option: refused with "Invalid Directory"; the chooser stays until Cancel.
        ModalScript script({type_missing, press_in("Invalid Directory", IDOK), press(IDCANCEL)});
        int result = 0;
        std::string directory = folder.path() + std::string(100, ' ');
        WDialogSelectDirectory(0, result, 0, directory, "");
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(result, 2);
        EXPECT_EQ(trimmed(directory), folder.path());
    }
    {
        // Option 0x40: "Create Directory?" answered Yes creates it and takes it.
        ModalScript script({type_missing, press_in("Create Directory?", IDYES)});
        int result = 0;
        std::string directory = folder.path() + std::string(100, ' ');
        WDialogSelectDirectory(0, result, DIRECTORY_OFFER_CREATE, directory, "");
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(result, 1);
        EXPECT_EQ(trimmed(directory), missing);
        DWORD a = GetFileAttributesA(missing.c_str());
        EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY));
    }
}

TEST_F(CommonDialogTest, ColourChooserStartsAtTheGivenColour)
{
    int red = 200, green = 100, blue = 50, success = -1, error = -1;
    {
        ModalScript script({press(IDOK)});
        WDialogSelectColour(red, green, blue, success, error);
        EXPECT_TRUE(script.finished());
    }
    EXPECT_EQ(success, 1);
    EXPECT_EQ(red, 200);
    EXPECT_EQ(green, 100);
    EXPECT_EQ(blue, 50);
    {
        ModalScript script({press(IDCANCEL)});
        WDialogSelectColour(red, green, blue, success, error);
        EXPECT_TRUE(script.finished());
    }
    EXPECT_EQ(success, 0);
    EXPECT_EQ(error, 0);
}

TEST_F(CommonDialogTest, PageSetupWithoutAPrinterFailsQuietly)
{
    // Without a printer the system has no default page: the set-up fails at once. Should a printer
    // exist, the dialog is cancelled, which also gives success 0.
    ModalScript script({press(IDCANCEL)});
    PageSetupValues v;
    v.printable_width = 8000;
    v.printable_height = 10000;
    v.left_margin = 250;
    v.top_margin = 500;
    int success = -1;
    WDialogPageSetup(v, success);
    EXPECT_EQ(success, 0);
    EXPECT_EQ(v.printable_width, 8000) << "the values are left as they were";
}

}  // namespace

namespace {

// With the drivers' test printer (run from tests/drivers/check_windows_devices.sh): OK in the page set-up
// copies the chosen printer into HcPrinterSetup and marks its names loaded, so that the next page query
// keeps that printer instead of looking up the default one again.
TEST_F(CommonDialogTest, DISABLED_WithPrinterPageSetupChoosesThePrinter)
{
    HcPrinterSetup = HcPrinterSetupRecord{};
    PageSetupValues v;
    int success = -1;
    {
        ModalScript script({press(IDOK)});
        WDialogPageSetup(v, success);
        EXPECT_TRUE(script.finished());
    }
    ASSERT_EQ(success, 1);
    EXPECT_EQ(HcPrinterSetup.device, "QR4T Test");
    EXPECT_EQ(HcPrinterSetup.names_loaded, 1);
    EXPECT_EQ(HcPrinterSetup.dialog_choice, 1);
    EXPECT_NE(HcPrinterSetup.overrides[HC_PAPER_SIZE], HC_OVERRIDE_UNSET);
    HcPrinterSetup = HcPrinterSetupRecord{};
}

}  // namespace
