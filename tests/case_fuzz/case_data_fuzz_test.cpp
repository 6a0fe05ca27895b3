// Mutants of both data files through the whole program: each mutant of a small case (two bodies, three
// species with reactions, a moving wall, a constant-pressure side and a secondary stream) is run as a
// new run of a few passes in a child process, under a timeout and a bound on its memory. Each must end
// in a clean refusal (status 1, its message on standard error and in "DIAG.TXT") or in a run whose flow
// time advances at every pass (status 0, nothing on standard error). Before, some data made the time
// step 0 (the loop logged "TIME 0" for ever), grew the molecule store without end, or ended the run
// before its first pass with status 0.
//
// Most mutants are refused by the data-file readers at once; these are run in this process (the readers
// loop only over counts they have checked), and only the mutants that the readers accept are run as
// whole programs in child processes. The mutations are drawn from a fixed seed, so a failure names a
// mutant that the next run makes again.
#include "app/casedata/casedata.h"
#include "app/run/main_program.h"
#include "app/state/box.h"
#include "app/state/clear_state.h"
#include "app/state/gas.h"
#include "app/state/surface.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "base/units.h"
#include "resources/dialog_ids.h"
#include "toolkit/headless/headless.h"
#include "toolkit/win/entry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int MUTANTS = 2000;
constexpr int PARALLEL = 2;  // children at a time
constexpr int PASSES = 3;    // a close request answers the first poll of pass 4
// A child whose log has not grown for this long hangs. A run that keeps logging (a molecule store
// that grows for the many molecules a mutant lets enter logs every extension) is stopped after the
// longest time and judged on what it did so far.
constexpr double HANG_SECONDS = 45.0;
constexpr double LONGEST_SECONDS = 60.0;
constexpr long long MEMORY_LIMIT = 1536LL << 20;  // resident bytes of one child

std::string read_text(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_text(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line + "\n");
    return lines;
}

// Values that reach the edges of what the items mean: signs, zeros, extremes of both integer and real
// ranges, denormals, NaN and infinities, words, separators, a huge number of digits, a control byte.
const std::vector<std::string>& edge_values()
{
    static const std::vector<std::string> values = {
        "0",           "-1",         "1",      "2",      "3",      "4",     "7",
        "-2147483648", "2147483647", "1.E-45", "1.E-30", "1.E-10", "1.E10", "1.E30",
        "1.E38",       "-1.E38",     "3.E38",  "NaN",    "Inf",    "-Inf",  "1.E9",
        "x",           "",           "/",      ",",      "0.5",    "-0.5",  std::string(5000, '7'),
        "1\x01"};
    return values;
}

// One mutation of a data file: an edge value in place of a line's first field, a real scaled by a
// power of ten, a line deleted, repeated or swapped with another, or the file cut short.
std::string mutate(const std::string& text, std::mt19937& random)
{
    std::vector<std::string> lines = split_lines(text);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const std::size_t i = pick(lines.size());
    std::string& line = lines[i];
    const std::size_t start = line.find_first_not_of(" \t");
    const std::size_t end =
        start == std::string::npos ? std::string::npos : line.find_first_of(" \t,\r\n", start);
    switch (pick(6)) {
    case 0:
    case 1:
        if (end != std::string::npos)
            line = line.substr(0, start) + edge_values()[pick(edge_values().size())] + line.substr(end);
        break;
    case 2:
        if (end != std::string::npos) {
            const std::string value = line.substr(start, end - start);
            const std::string power = std::to_string(std::uniform_int_distribution<int>(-40, 40)(random));
            std::string scaled =
                value.find_first_of("EeDd") != std::string::npos ? "1.E" + power : value + "E" + power;
            if (pick(2) == 0)
                scaled = "-" + scaled;
            line = line.substr(0, start) + scaled + line.substr(end);
        }
        break;
    case 3: lines.erase(lines.begin() + static_cast<long>(i)); break;
    case 4: lines.insert(lines.begin() + static_cast<long>(i), line); break;
    default: std::swap(lines[i], lines[pick(lines.size())]); break;
    }
    std::string out;
    for (const std::string& l : lines)
        out += l;
    if (pick(20) == 0)
        out.resize(pick(out.size() + 1));
    return out;
}

struct ReaderStop {
    std::string message;
};

// Both readers on the mutant in its folder, in this process. Returns "" when they accept it; else
// their refusal, which must name the data file and stand in the log.
std::string read_in_process(const std::filesystem::path& folder, const std::string& flow,
                            const std::string& surface, std::string& wrong)
{
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    write_text("QR4TD.DAT", flow);
    write_text("QR4SD.DAT", surface);
    clear_every_state_group();
    HEADLESS.reset();
    HEADLESS.record_calls = false;
    set_fatal_handler([](const std::string& m) { throw ReaderStop{m}; });
    std::string message;
    unit_open(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    try {
        READ_FLOW_DATA();
        READ_SURFACE_DATA();
    } catch (const ReaderStop& stop) {
        message = stop.message;
    }
    unit_close_all_unchecked();
    set_fatal_handler(nullptr);
    clear_every_state_group();
    const std::string log = read_text("DIAG.TXT");
    std::filesystem::current_path(home);
    if (!message.empty() && message.find("QR4TD.DAT") == std::string::npos &&
        message.find("QR4SD.DAT") == std::string::npos)
        wrong = "the refusal names no data file: " + message.substr(0, 300);
    else if (!message.empty() && log.find(message.substr(0, 60)) == std::string::npos)
        wrong = "the refusal is not in DIAG.TXT: " + message.substr(0, 300);
    return message;
}

// The child: the program on the headless toolkit, a new run of the case in its folder (run type 3
// copies QR4TD.DM1 and QR4SD.DM1), closed at the first poll after PASSES passes. The restart set has
// its own tests and fuzz; writing it here would only cost time.
[[noreturn]] void run_program_in(const std::filesystem::path& folder)
{
    std::filesystem::current_path(folder);
    std::freopen("stderr.txt", "w", stderr);
    std::freopen("/dev/null", "w", stdout);
    HEADLESS.reset();
    HEADLESS.record_calls = false;
    HEADLESS.answers.push_back({116, 1005, 3});
    HEADLESS.peek_hook = [] {
        static double last_time = -1.0;
        static int pass = 0;
        if (!HEADLESS.loaded_dialogs.count(IDD_LOG))
            return static_cast<int>(MsgNone);
        if (RUN.TIME != last_time) {
            last_time = RUN.TIME;
            ++pass;
        }
        return static_cast<int>(pass > PASSES ? MsgCloseRequest : MsgNone);
    };
    // A fatal stop ends the child as the program's own exit does (status 1, after the message went to
    // the log and to standard error), without the leak scan of a normal process exit, which would
    // cost more than the run.
    set_fatal_handler([](const std::string&) {
        unit_close_all_unchecked();
        std::_Exit(1);
    });
    bind_run_phases();
    RUN_PHASES.WRITE_RESTART = [] {};
    const int status = MAIN_PROGRAM();
    std::fflush(stderr);
    std::_Exit(status);
}

struct Outcome {
    int status = -1;       // exit status; -1 when the child did not exit
    int signal = 0;        // the signal that ended it
    bool hung = false;     // stopped: no log line for HANG_SECONDS
    bool stopped = false;  // stopped after LONGEST_SECONDS while it went on logging
    bool too_big = false;  // stopped: resident memory passed MEMORY_LIMIT
    long long peak = 0;    // largest resident size seen
};

long long resident_bytes(pid_t pid)
{
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// A child that runs, watched until it ends, is killed or passes a bound.
struct Child {
    pid_t pid = -1;
    std::filesystem::path folder;
    int mutant = 0;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point last_growth;  // when the log last grew
    std::uintmax_t log_size = 0;
    Outcome outcome;

    // True when the child has ended (outcome final).
    bool poll()
    {
        int wstatus = 0;
        pid_t done = waitpid(pid, &wstatus, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(wstatus))
                outcome.status = WEXITSTATUS(wstatus);
            else if (WIFSIGNALED(wstatus))
                outcome.signal = WTERMSIG(wstatus);
            return true;
        }
        outcome.peak = std::max(outcome.peak, resident_bytes(pid));
        const auto now = std::chrono::steady_clock::now();
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(folder / "DIAG.TXT", ec);
        if (!ec && size != log_size) {
            log_size = size;
            last_growth = now;
        }
        const double quiet = std::chrono::duration<double>(now - last_growth).count();
        const double seconds = std::chrono::duration<double>(now - started).count();
        outcome.too_big = outcome.peak > MEMORY_LIMIT;
        outcome.hung = quiet > HANG_SECONDS;
        outcome.stopped = seconds > LONGEST_SECONDS;
        if (outcome.too_big || outcome.hung || outcome.stopped) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            return true;
        }
        return false;
    }
};

// The flow times of the "TIME" lines of the log.
std::vector<double> pass_times(const std::string& log)
{
    std::vector<double> times;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(" TIME ", 0) == 0)
            times.push_back(std::strtod(line.c_str() + 5, nullptr));
    }
    return times;
}

// What a mutant must end in; returns "" or what went wrong.
std::string judge(const Outcome& o, const std::filesystem::path& folder)
{
    const std::string err = read_text(folder / "stderr.txt");
    const std::string log = read_text(folder / "DIAG.TXT");
    if (o.too_big)
        return "resident memory passed " + std::to_string(MEMORY_LIMIT >> 20) + " MB";
    if (o.hung)
        return "no log line for " + std::to_string(int(HANG_SECONDS)) + " s";
    if (o.signal != 0)
        return "killed by signal " + std::to_string(o.signal) + "\n" + err.substr(0, 2000);
    if (err.find("Sanitizer") != std::string::npos || err.find("runtime error") != std::string::npos)
        return "sanitizer report:\n" + err.substr(0, 2000);
    if (o.status == 0 || o.stopped) {
        if (!err.empty())
            return "status 0 after writing an error: " + err.substr(0, 300);
        std::vector<double> times = pass_times(log);
        if (times.empty() && !o.stopped)
            return "status 0 without a pass of the time-step loop";
        for (std::size_t i = 1; i < times.size(); ++i) {
            if (!(times[i] > times[i - 1]))
                return "the flow time did not advance at pass " + std::to_string(i + 1);
        }
        return "";
    }
    if (o.status != 1)
        return "exit status " + std::to_string(o.status) + "\n" + err.substr(0, 2000);
    const std::string first = err.substr(0, err.find('\n'));
    if (first.empty())
        return "status 1 without a message on standard error";
    if (log.find(first.substr(0, 60)) == std::string::npos)
        return "the message is not in DIAG.TXT: " + first.substr(0, 300);
    return "";
}

TEST(CaseDataFuzz, EveryMutantIsRefusedCleanlyOrRunsAndAdvances)
{
    const char* source = std::getenv("QR4T_SOURCE_DIR");
    const std::filesystem::path case_dir =
        std::filesystem::path(source ? source : ".") / "tests" / "case_fuzz";
    const std::string flow = read_text(case_dir / "QR4TD.DM1");
    const std::string surface = read_text(case_dir / "QR4SD.DM1");
    ASSERT_FALSE(flow.empty());
    ASSERT_FALSE(surface.empty());
    const std::filesystem::path work = std::filesystem::current_path() / "work";
    std::filesystem::remove_all(work);

    std::mt19937 random(25);
    std::vector<Child> running;
    int refused = 0, ran = 0, stopped = 0, failures = 0;
    auto finish = [&](Child& c) {
        std::string wrong = judge(c.outcome, c.folder);
        if (!wrong.empty()) {
            ++failures;
            ADD_FAILURE() << "mutant " << c.mutant << " (files kept in " << c.folder << "): " << wrong;
            return;
        }
        (c.outcome.status == 1 ? refused : ran) += 1;
        stopped += c.outcome.stopped ? 1 : 0;
        std::filesystem::remove_all(c.folder);
    };
    for (int m = 0; m <= MUTANTS && failures < 5; ++m) {
        // Mutant 0 is the case itself, which must run.
        std::string f = flow, s = surface;
        const int changes = m == 0 ? 0 : std::uniform_int_distribution<int>(1, 2)(random);
        for (int k = 0; k < changes; ++k) {
            if (std::uniform_int_distribution<int>(0, 9)(random) < 7)
                f = mutate(f, random);
            else
                s = mutate(s, random);
        }
        Child c;
        c.mutant = m;
        c.folder = work / std::to_string(m);
        std::filesystem::create_directories(c.folder);
        std::string wrong;
        if (!read_in_process(c.folder, f, s, wrong).empty()) {
            if (!wrong.empty()) {
                ++failures;
                ADD_FAILURE() << "mutant " << m << " (files kept in " << c.folder << "): " << wrong;
            } else {
                ++refused;
                std::filesystem::remove_all(c.folder);
            }
            continue;
        }
        write_text(c.folder / "QR4TD.DM1", f);
        write_text(c.folder / "QR4SD.DM1", s);
        std::filesystem::remove(c.folder / "DIAG.TXT");
        std::fflush(nullptr);
        c.started = c.last_growth = std::chrono::steady_clock::now();
        c.pid = fork();
        ASSERT_GE(c.pid, 0) << "fork failed";
        if (c.pid == 0)
            run_program_in(c.folder);
        running.push_back(c);
        if (m == 0) {
            while (!running.back().poll())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ASSERT_EQ(running.back().outcome.status, 0)
                << judge(running.back().outcome, running.back().folder);
            finish(running.back());
            running.clear();
            continue;
        }
        while (static_cast<int>(running.size()) >= PARALLEL) {
            for (std::size_t i = 0; i < running.size(); ++i) {
                if (running[i].poll()) {
                    finish(running[i]);
                    running.erase(running.begin() + static_cast<long>(i));
                    break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    for (Child& c : running) {
        while (!c.poll())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        finish(c);
    }
    // Both outcomes occur: the mutations reach past the readers into runs.
    EXPECT_GT(ran, MUTANTS / 50);
    EXPECT_GT(refused, MUTANTS / 4);
    std::printf("case data fuzz: %d mutants refused, %d ran and advanced (%d of them stopped after %d s)\n",
                refused, ran, stopped, int(LONGEST_SECONDS));
}

}  // namespace
