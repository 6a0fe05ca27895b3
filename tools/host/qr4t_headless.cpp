// qr4t-headless: runs the main program on the headless toolkit in the current folder, for tests and
// physics runs without a display. Test equipment, not a feature of the program.
//
//   --run-type N    the answer of the "Run Type" dialog (1 continue, 2 adapt, 3..5 demonstrations)
//   --passes P      a close request arrives at the first poll of pass P+1
//   --answers FILE  answers of further modal dialogs: lines "dialog field value", in order
//
// The exit status is the program's.
#include "app/run/main_program.h"
#include "app/state/run.h"
#include "resources/dialog_ids.h"
#include "toolkit/headless/headless.h"
#include "toolkit/win/entry.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {


void usage()
{
    std::fprintf(stderr, "usage: qr4t-headless [--run-type N] [--passes P] [--answers FILE]\n");
    std::exit(2);
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

} // namespace

int main(int argc, char** argv)
{
    int run_type = 1;
    int passes = -1;
    std::string answers_file;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc)
            usage();
        if (a == "--run-type" && read_int(argv[++i], run_type)) {
        } else if (a == "--passes" && read_int(argv[++i], passes)) {
        } else if (a == "--answers") {
            answers_file = argv[++i];
        } else {
            usage();
        }
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
                             answers_file.c_str(), number, line.c_str());
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
    return MAIN_PROGRAM();
}
