// The hardcopy front end: starts and ends a hardcopy on the current device (IHcOpen), sets the
// hardcopy options (IHcOptionSet), hands a finished plot file to an operating-system command
// (IHcRunCommand), and keeps the x87 control word across printer-driver calls (IOsFpuSave/Restore).
//
// The graphics core (toolkit/graphics) dispatches the driver ops; this layer sits above it and
// installs its entries into the core's table with IHcDriversInstall.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_FRONT_END_H
#define QR4T_TOOLKIT_DRIVERS_HC_FRONT_END_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int HC_TITLE_LENGTH = 200;    // characters of HcTitle
constexpr int HC_COMMAND_LENGTH = 255;  // characters of HcPendingCommand and of a command line
constexpr int HC_NAME_LENGTH = 255;     // characters of the plot-file name in the primitive block's text

// HcTitle: the document title, blank-padded to 200 characters (blank: none given).
extern std::string HcTitle;
// HcPendingCommand: a command line waiting for the next end ("S") call, one "@" standing for the plot
// file; 255 characters, blank when nothing waits.
extern std::string HcPendingCommand;
// HcSpoolAllowed: written by each driver's op 1; 1 when its plot file may be handed to a command.
extern int HcSpoolAllowed;
// HcFpuSaveWord: the x87 control word kept by IOsFpuSave (one word, not a stack).
extern std::uint16_t HcFpuSaveWord;

// Starts a hardcopy on the current device with the plot-file name and title, or, with name "S" (or
// "s", exactly one character), ends the current one and runs a waiting command. An absent name opens
// the default plot file as a blank one does; an absent title differs from a blank one (op 18 sees
// IX(1) = 0). Failures surface through the error state and the hardcopy output switch.
void IHcOpen(std::optional<std::string_view> name, std::optional<std::string_view> title);
// Sets option number (1..28, 101..107) to value after its check; a rejected value changes nothing. A
// page size, margin, copy count or line width beyond what the initialised device can write is also
// refused, and reports error 16.
void IHcOptionSet(int number, int value);
// Runs the command line through the system's command interpreter, hidden, waiting for its end; a
// command that cannot run, or ends with a non-zero exit status, raises error 13.
void IHcRunCommand(std::string_view command);

// The x87 control word (and the SSE control register, which x86-64 code computes with) into the save
// words, and back. IOsFpuControlStore/Load move the x87 word after pending floating-point work ended.
void IOsFpuControlStore(std::uint16_t& word);
void IOsFpuControlLoad(const std::uint16_t& word);
void IOsFpuSave();
void IOsFpuRestore();

// Puts the drivers of this folder into the core's driver table (1 HP-GL, 2 PostScript/EPS, 3 SVG,
// 4 raster printer, 6 bitmap file, 8 DXF, 9 CGM, 12 HP-GL/2; in the win build 10 Windows printer and
// 11 metafile) and the front end's entries into the core's hooks. Run once at start-up, before the
// graphics reset.
void IHcDriversInstall();

// Blank-padded or cut copy of text to n characters.
std::string hc_padded(std::string_view text, std::size_t n);

#endif
