// qr4t-headless: runs the main program on the headless toolkit in the current folder, for tests and
// physics runs without a display. Test equipment, not a feature of the program.
//
//   --run-type N    the answer of the "Run Type" dialog (1 continue, 2 adapt, 3..5 demonstrations)
//   --passes P      a close request arrives at the first poll of pass P+1
//   --answers FILE  answers of further modal dialogs: lines "dialog field value", in order
//   --help          what the options and the run types do
//
// Each output of the run prints one progress line on standard output. The exit status is the
// program's; a wrong command line gives status 2.
#include "app/run/main_program.h"
#include "app/state/box.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "resources/dialog_ids.h"
#include "toolkit/headless/headless.h"
#include "toolkit/win/entry.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const HELP =
    "usage: qr4t-headless [--run-type N] [--passes P] [--answers FILE] | --help\n"
    "Runs the QR4T program without a display in the current folder, which holds its files (DIAG.TXT,\n"
    "the data files, the restart set), answering its dialogs from the options below.\n"
    "  --run-type N    the choice of the Run Type dialog (default 1):\n"
    "                    1  continue the current run from the restart set of the folder\n"
    "                    2  adapt the cells of the stored run, then continue it\n"
    "                    3  start the Delta Wing demonstration (QR4TD.DM1, QR4SD.DM1)\n"
    "                    4  start the Vacuum System demonstration (QR4TD.DM2, QR4SD.DM2)\n"
    "                    5  start the STS Re-entry demonstration (QR4TD.DM3, QR4SD.DM3)\n"
    "                  a new run (3 to 5) copies the case over QR4TD.DAT and QR4SD.DAT\n"
    "  --passes P      stop after P passes of the time-step loop (0 or more; default: run to the end)\n"
    "  --answers FILE  answers of further dialogs, one \"dialog field value\" line each, in order\n"
    "Each output interval prints one line: output number, flow time, molecules and collisions.\n"
    "The exit status is 0 for a run that ends normally, 1 after a failure (its message on standard\n"
    "error and in DIAG.TXT), 2 for a wrong command line.\n";

[[noreturn]] void usage(const std::string& why)
{
    if (!why.empty())
        std::fprintf(stderr, "qr4t-headless: %s\n", why.c_str());
    std::fprintf(stderr, "%s", HELP);
    std::exit(2);
}

// One line per output, so that a long run shows its progress.
void (*KERNEL_OUTPUT)() = nullptr;

void output_with_progress()
{
    KERNEL_OUTPUT();
    std::printf("output %d: time %.6g s, %d molecules, %.15g collisions\n", RUN.OUTPUT_COUNT,
                RUN.TIME / BOX.SCALE_FACTOR, MOLECULES.NM, RUN.COLLISION_COUNT);
    std::fflush(stdout);
}

bool read_int(const char* text, int& value)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || v < -2147483647L || v > 2147483647L)
        return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int run_type = 1;
    int passes = -1;
    std::string answers_file;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help") {
            std::printf("%s", HELP);
            return 0;
        }
        if (a != "--run-type" && a != "--passes" && a != "--answers")
            usage("unknown option \"" + message_excerpt(a) + "\"");
        if (i + 1 >= argc)
            usage(a + " needs a value");
        std::string value = argv[++i];
        if (a == "--run-type" && !(read_int(value.c_str(), run_type) && run_type >= 1 && run_type <= 5))
            usage("--run-type \"" + message_excerpt(value) + "\": a run type is 1 to 5");
        if (a == "--passes" && !(read_int(value.c_str(), passes) && passes >= 0))
            usage("--passes \"" + message_excerpt(value) + "\": a number of passes is 0 or more");
        if (a == "--answers")
            answers_file = value;
    }
    HEADLESS.record_calls = false;
    HEADLESS.answers.push_back({116, 1005, run_type});
    if (!answers_file.empty()) {
        std::ifstream in(answers_file);
        if (!in) {
            std::fprintf(stderr, "qr4t-headless: cannot read the answers file %s\n", answers_file.c_str());
            return 2;
        }
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            std::istringstream ls(line);
            HeadlessToolkit::Answer a{};
            if (line.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            if (!(ls >> a.dialog >> a.field >> a.value)) {
                std::fprintf(stderr, "qr4t-headless: %s line %d: expected \"dialog field value\": %s\n",
                             answers_file.c_str(), number, message_excerpt(line).c_str());
                return 2;
            }
            HEADLESS.answers.push_back(a);
        }
    }
    // The close request answers the first poll of pass P+1. The loop's passes are told apart by the
    // flow time, which every pass advances before its first poll; polls of the set-up (before the
    // progress log dialog is loaded) and extra polls within a pass do not count.
    if (passes >= 0) {
        HEADLESS.peek_hook = [passes] {
            static double last_time = -1.0;
            static int pass = 0;
            if (!HEADLESS.loaded_dialogs.count(IDD_LOG))  // loaded just before the time-step loop begins
                return static_cast<int>(MsgNone);
            if (RUN.TIME != last_time) {
                last_time = RUN.TIME;
                ++pass;
            }
            return static_cast<int>(pass > passes ? MsgCloseRequest : MsgNone);
        };
    }
    bind_run_phases();
    KERNEL_OUTPUT = RUN_PHASES.OUTPUT_PROPERTIES;
    RUN_PHASES.OUTPUT_PROPERTIES = output_with_progress;
    return MAIN_PROGRAM();
}
