#include "ProgramRuns.h"

#include "AppProfile.h"
#include "BenchSupport.h"
#include "DovecotServer.h"
#include "FileRegistry.h"
#include "LineChannel.h"
#include "SettingsStore.h"
#include "StatusNotifierHost.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr double kMiB = 1024.0 * 1024.0;

struct Mailbox {
    const char* user;
    int messages;
    const char* count;
};
constexpr Mailbox kMailboxes[] = {
    {"m1k", 1000, "1,000"}, {"m10k", 10000, "10,000"}, {"big", 50000, "50,000"}};
constexpr Mailbox kLargest = kMailboxes[2];

void SaveAccount(const Folders& folders, const Options& options, const DovecotServer& server,
                 const std::string& user) {
    FileRegistry registry(folders.Settings());
    AppProfile profile(registry);
    SaveSettings(profile, options, {{server.Address(), user, user + "-pw"}});
}

// The header texts a check keeps: all of them while they fit the budget,
// else the newest up to it.
double HeaderTextsKept(int messages) {
    std::size_t total = 0;
    for (int n = 1; n <= messages; ++n) {
        total += BenchMessage(n).find("\n\n") + 1;
    }
    return static_cast<double>(std::min(total, ChannelLimits{}.headerTextBudget));
}

void PrintCheckRun(const char* label, const ProgramRun& run, double baseline, int messages) {
    const double beyond = (run.peakMegabytes - baseline) * kMiB;
    const double texts = HeaderTextsKept(messages);
    std::printf("  %-28s %6.1f MiB  %5.2f s  %6.0f B/message beyond the baseline, %6.0f beyond"
                " it and %.1f MiB of header texts\n",
                label, run.peakMegabytes, run.wall, beyond / messages, (beyond - texts) / messages,
                texts / kMiB);
}

constexpr const char* kMpop = "/usr/bin/mpop";

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// A program that starts, does next to nothing and ends, beside one that
// fetches mail from the command line too, in turns, so that both meet the
// machine in the same state.
void RunStartUps() {
    constexpr int kRuns = 21;
    struct Program {
        const char* label;
        std::vector<const char*> args;
        std::vector<double> walls;
        double peak = 0;
    };
    std::vector<Program> programs = {
        {"tarvo --version", {TARVO_BINARY, "--version"}, {}},
        {"tarvo --check, no mailbox", {TARVO_BINARY, "--check"}, {}},
    };
    const bool mpop = ::access(kMpop, X_OK) == 0;
    if (mpop) {
        programs.insert(programs.begin(), {"mpop --version", {kMpop, "--version"}, {}});
    }
    // No settings: `--check` starts, finds no mailbox and ends.
    Folders folders;
    for (int run = 0; run <= kRuns; ++run) {
        for (Program& program : programs) {
            const ProgramRun result = RunProgram(program.args, folders);
            if (run > 0) { // the first is the page cache's
                program.walls.push_back(result.wall);
                program.peak = std::max(program.peak, result.peakMegabytes);
            }
        }
    }
    std::printf("Start-up, median of %d runs in turns:\n", kRuns);
    const double base = mpop ? Median(programs.front().walls) : 0;
    for (const Program& program : programs) {
        const double wall = Median(program.walls);
        std::printf("  %-28s %6.1f ms  %5.1f MiB peak RSS", program.label, wall * 1e3,
                    program.peak);
        if (mpop) {
            std::printf("  x%.2f of mpop --version", wall / base);
        }
        std::puts("");
    }
    if (!mpop) {
        std::puts("  (mpop is not installed: no figure to compare with)");
    }
    std::puts("");
}

void DeliverMailboxes(DovecotServer& server) {
    for (const Mailbox& mailbox : kMailboxes) {
        for (int n = 1; n <= mailbox.messages; ++n) {
            server.Deliver(mailbox.user, BenchMessage(n));
        }
    }
}

void RunCommandLineChecks(const DovecotServer& server) {
    std::puts("Peak RSS of tarvo --check on loopback (the child's, from wait4):");
    double baseline = 0;
    {
        Folders folders;
        SaveAccount(folders, Options{}, server, "empty");
        const ProgramRun run = RunCommandLineCheck(folders);
        baseline = run.peakMegabytes;
        std::printf("  %-28s %6.1f MiB  %5.2f s  (the baseline: the libraries)\n", "empty mailbox",
                    run.peakMegabytes, run.wall);
    }
    for (const Mailbox& mailbox : kMailboxes) {
        Folders folders;
        SaveAccount(folders, Options{}, server, mailbox.user);
        const std::string count = mailbox.count;
        PrintCheckRun((count + ", no state file").c_str(), RunCommandLineCheck(folders), baseline,
                      mailbox.messages);
        PrintCheckRun((count + ", with the state file").c_str(), RunCommandLineCheck(folders),
                      baseline, mailbox.messages);
    }
    std::puts("");
}

// The POP3 sessions of user that Dovecot has seen end.
std::size_t Disconnections(const DovecotServer& server, const std::string& user) {
    std::istringstream log(server.Log());
    const std::string session = "pop3(" + user + ")<";
    std::size_t count = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.find(session) != std::string::npos &&
            line.find(": Disconnected: ") != std::string::npos) {
            ++count;
        }
    }
    return count;
}

std::string ExitText(int status) {
    return WIFSIGNALED(status)
               ? "; the program was ended by signal " + std::to_string(WTERMSIG(status))
               : "; the program exited with " + std::to_string(WEXITSTATUS(status));
}

bool Reported(int check) {
    return check == 1 || check == 2 || check == 10 || check % 25 == 0;
}

// The tray program on a private desktop whose panel host passes on "Check
// now" from its menu, each click once the check before has ended. The
// program's own figures are read after the reported checks.
void RunTrayProgram(const DovecotServer& server, const Options& options, int checks) {
    Folders folders;
    SaveAccount(folders, options, server, kLargest.user);
    Desktop desktop;
    SessionBus bus;
    StatusNotifierWatcher watcher(bus);
    const std::string root = folders.root.string();
    ChildProcess tarvo({TARVO_BINARY}, desktop.ProgramEnvironment(root, root, bus.Address()));
    const std::string pid = std::to_string(tarvo.Pid());

    std::vector<PublishedItem> menu;
    QString item;
    const bool shown = PumpUntil(
        [&] {
            const QStringList items = watcher.RegisteredStatusNotifierItems();
            if (!items.isEmpty()) {
                item = items.front();
                menu = MenuLayout(bus, item);
            }
            return menu.size() == 8;
        },
        30s);
    const auto checkNow = std::find_if(menu.begin(), menu.end(), [](const PublishedItem& entry) {
        return entry.label == "_Check now";
    });
    if (!shown || checkNow == menu.end()) {
        std::puts("  (the program's icon and menu never came)");
        return;
    }
    const int checkNowId = checkNow->id;
    // The program answers the bus only between its waits, so the short menu
    // of a quick check may go unseen. A check is over once Dovecot has logged
    // its end and the whole menu is back: the program is busy until then.
    auto ended = [&](std::size_t before) {
        return [&, before] {
            return Disconnections(server, kLargest.user) > before &&
                   MenuLayout(bus, item).size() == 8;
        };
    };
    std::printf("  %-10s %6.1f MiB VmRSS  %6.1f MiB VmHWM\n", "started",
                static_cast<double>(StatusKiB(pid, "VmRSS")) / 1024,
                static_cast<double>(StatusKiB(pid, "VmHWM")) / 1024);
    for (int check = 1; check <= checks; ++check) {
        const auto start = std::chrono::steady_clock::now();
        const std::size_t before = Disconnections(server, kLargest.user);
        if (!ClickMenuItem(bus, item, checkNowId) || !PumpUntil(ended(before), 10min)) {
            std::printf("  (no end of check %d seen%s)\n", check,
                        tarvo.HasEnded() ? ExitText(tarvo.ExitStatus()).c_str() : "");
            return;
        }
        if (Reported(check)) {
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            std::printf("  check %-4d %6.1f MiB VmRSS  %6.1f MiB VmHWM  %5.2f s\n", check,
                        static_cast<double>(StatusKiB(pid, "VmRSS")) / 1024,
                        static_cast<double>(StatusKiB(pid, "VmHWM")) / 1024, took.count());
            std::fflush(stdout);
        }
    }
}

} // namespace

void RunCommandLineBench(DovecotServer& server, bool deliver) {
    if (deliver) {
        DeliverMailboxes(server);
    }
    RunStartUps();
    RunCommandLineChecks(server);
}

void RunProgramBench(DovecotServer& server, bool deliver) {
    RunCommandLineBench(server, deliver);

    static int argc = 1;
    static char name[] = "tarvo_bench";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    Options quiet;
    quiet.Message = 0;
    std::printf("The tray program, checks of %s messages from its menu on a private desktop,"
                " headers window not opened on new mail:\n",
                kLargest.count);
    RunTrayProgram(server, quiet, 100);
    std::puts("The same with the default options, the headers window open from the first check:");
    RunTrayProgram(server, Options{}, 10);
    std::puts("");
}
