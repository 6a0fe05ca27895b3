// Common dialogs shown on behalf of the application and of other toolkit code: file open and save,
// colour choice, page set-up, the toolkit's own directory chooser, the system message box, and two
// small queries. Platform-neutral: integers and texts only.
//
// Each dialog is modal, owned by the visible current dialog (or the window it is combined with), else
// by the main window, with the toolkit's other windows disabled while it runs. A chooser that is
// cancelled or fails gives success 0 and the common-dialog error code (0 for a plain cancel).
#ifndef QR4T_TOOLKIT_WIN_COMMON_DIALOGS_H
#define QR4T_TOOLKIT_WIN_COMMON_DIALOGS_H

#include <array>
#include <string>
#include <string_view>

// What the file chooser is asked to do.
struct FileSelectRequest {
    int filter_id = 0;  // 0 no filter, -1 the filter text, else the string resource of that id
    int save = 0;       // 1 save chooser, else open chooser
    int prompt = 0;     // save: ask before overwriting; open: ask before naming a new file
    int path_may_be_missing = 0;
    int multiple = 0;           // open: several files may be chosen
    int default_extension = 0;  // 1: the filter's extension is added to a name typed without one
    int must_exist = 0;         // open: the file must exist
    std::string_view title;
    std::string_view initial_directory;
    std::string_view filter_text;  // pairs of description and pattern; its last character separates
};

// Shows the open or save chooser. `file` is the buffer: its length is the buffer size, its trimmed
// text the initial name; on success it holds the chosen name(s), blank-padded. The filter index
// (1-based) goes in and comes out. Success 1, else 0 with the common-dialog error code.
void WDialogFileSelect(const FileSelectRequest& request, int& filter_index, std::string& file, int& success,
                       int& error);

// Colour chooser, fully opened, starting at red, green, blue (0..255, in and out); the custom colours
// are the first 16 entries of the colour table.
void WDialogSelectColour(int& red, int& green, int& blue, int& success, int& error);

// Page set-up with margins. Units: below 2 thousandths of an inch, else hundredths of a millimetre.
// Orientation 0 portrait, 1 landscape. Success 1 on OK, 0 on Cancel or failure.
struct PageSetupValues {
    int paper_width = 0;       // out
    int paper_height = 0;      // out
    int printable_width = 0;   // in/out
    int printable_height = 0;  // in/out
    int left_margin = 0;       // in/out
    int top_margin = 0;        // in/out
    int orientation = 0;       // in/out
    int copies = 1;            // in/out
    int units = 0;             // in
    int printer_colours = 0;   // out: colour count of the chosen printer
};
void WDialogPageSetup(PageSetupValues& values, int& success);

// HcPrinterSetup: the printer choice of the Windows printer's page query, printer contexts and the
// metafile driver's reference device. The page set-up copies the chosen printer into it; the page
// query fills the names from the default printer while the names-loaded flag is 0 and resets the
// overrides. (The page set-up's copy was PAGE_SETUP_PRINTER in older notes.)
constexpr int HC_OVERRIDE_COUNT = 11;
// Indices of the eleven 16-bit overrides, -1 = the driver's default.
enum HcPrinterOverride {
    HC_PAPER_SIZE,
    HC_PAPER_LENGTH,
    HC_PAPER_WIDTH,
    HC_SCALE,
    HC_PAPER_SOURCE,
    HC_PRINT_QUALITY,
    HC_COLOUR,
    HC_DUPLEX,
    HC_Y_RESOLUTION,
    HC_TRUETYPE_OPTION,
    HC_COLLATE,
};
constexpr int HC_OVERRIDE_UNSET = -1;          // 16-bit override not set
constexpr int HC_OVERRIDE_LONG_UNSET = 99999;  // media and dither type not set
struct HcPrinterSetupRecord {
    std::string driver;  // driver, device and port names of the chosen printer
    std::string device;
    std::string port;
    int names_loaded = 0;   // 1 once names are stored; while 0 a page query looks up the default printer
    int dialog_choice = 0;  // 1 after the page set-up stored a printer; cleared by the default look-up
    std::array<short, HC_OVERRIDE_COUNT> overrides;  // by HcPrinterOverride
    int media_type = HC_OVERRIDE_LONG_UNSET;
    int dither_type = HC_OVERRIDE_LONG_UNSET;
    HcPrinterSetupRecord() { overrides.fill(HC_OVERRIDE_UNSET); }
};
extern HcPrinterSetupRecord HcPrinterSetup;

// Directory chooser options: offer to create a missing directory, or accept one without a message.
constexpr int DIRECTORY_OFFER_CREATE = 0x40;
constexpr int DIRECTORY_ACCEPT_MISSING = 4;
// The toolkit's directory chooser (template 32101). `directory` goes in and comes out (cut to its
// length); result = the closing button, 1 OK or 2 Cancel; the title is used when title_present is 1.
void WDialogSelectDirectory(int title_present, int& result, int options, std::string& directory,
                            std::string_view title);

// System message box: button set 1 OK-Cancel, 2 Retry-Cancel, 3 Yes-No, 4 Yes-No-Cancel,
// 5 Abort-Retry-Ignore, other OK; icon 1 stop, 2 question, 3 exclamation, 4 information; default
// button 2 or 3. Answer 1 OK, Retry or Yes; 0 Cancel or Ignore; 2 Abort or No; -1 on failure.
void WDialogMessageShow(int buttons, int icon, int default_button, int& answer, std::string_view message,
                        std::string_view title);

// 1 when the user's locale measures in inches, else 2.
void WDialogMeasureSystem(int& system);

// Screen coordinates of the client origin of the current dialog, or of the main window when no
// dialog is current.
void WDialogScreenOrigin(int& x, int& y);

// The filter of a chooser from its text: the trailing blanks go, the last character is the separator,
// and every separator becomes a NUL; the result ends in two NULs. An empty text gives an empty result.
std::string file_filter_from_text(std::string_view text);

#endif
