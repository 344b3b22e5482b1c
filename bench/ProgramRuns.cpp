#include "ProgramRuns.h"

#include "AppProfile.h"
#include "BenchSupport.h"
#include "DovecotServer.h"
#include "FileRegistry.h"
#include "LineChannel.h"
#include "LowerBound.h"
#include "SettingsStore.h"
#include "StatusNotifierHost.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/resource.h>
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

void SaveAccount(const Folders& folders, const Options& options, const std::string& address,
                 const std::string& user, SignInMethod signIn = SignInMethod::Automatic) {
    FileRegistry registry(folders.Settings());
    AppProfile profile(registry);
    SaveSettings(profile, options,
                 {{.server = address, .user = user, .password = user + "-pw", .signIn = signIn}});
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

bool MpopInstalled() {
    return ::access(kMpop, X_OK) == 0;
}

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
    const bool mpop = MpopInstalled();
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
        SaveAccount(folders, Options{}, server.Address(), "empty");
        const ProgramRun run = RunCommandLineCheck(folders);
        baseline = run.peakMegabytes;
        std::printf("  %-28s %6.1f MiB  %5.2f s  (the baseline: the libraries)\n", "empty mailbox",
                    run.peakMegabytes, run.wall);
    }
    for (const Mailbox& mailbox : kMailboxes) {
        Folders folders;
        SaveAccount(folders, Options{}, server.Address(), mailbox.user);
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
    SaveAccount(folders, options, server.Address(), kLargest.user);
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

namespace {

using namespace std::chrono_literals;

constexpr int kSideRounds = 5;
constexpr int kSideFirst = 2000;

// Figures of the rounds: seconds, and the client's turns after the greeting
// (the relay's round trips but the connection's set-up).
struct Runs {
    std::vector<double> seconds;
    std::vector<uint64_t> turns;
    int failed = 0;

    void Add(double wall, const DelayRelay::Counts& counts, bool succeeded) {
        failed += succeeded ? 0 : 1;
        seconds.push_back(wall);
        turns.push_back(counts.roundTrips > 0 ? counts.roundTrips - 1 : 0);
    }
    double Median() const {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
};

void PrintRuns(const char* label, const Runs& runs, double against, const char* againstName) {
    if (runs.seconds.empty()) {
        return;
    }
    const auto [least, most] = std::minmax_element(runs.seconds.begin(), runs.seconds.end());
    const auto [fewest, mostTurns] = std::minmax_element(runs.turns.begin(), runs.turns.end());
    std::string turns = std::to_string(*fewest);
    if (*mostTurns != *fewest) {
        turns += "-" + std::to_string(*mostTurns);
    }
    std::printf("  %-40s %6.3f s (%.3f-%.3f)  %5s turns", label, runs.Median(), *least, *most,
                turns.c_str());
    if (against > 0) {
        std::printf("  x%.2f of %s", runs.Median() / against, againstName);
    }
    std::printf("%s\n", runs.failed > 0 ? "  (FAILED)" : "");
}

// mpop as a user would run it to see what is new: it keeps every message on
// the server and fetches those its uidls file does not list yet.
ProgramRun RunMpop(const Folders& folders, const std::string& address, const std::string& user) {
    const std::string root = folders.root.string();
    const std::vector<std::string> arguments = {kMpop,
                                                "--quiet",
                                                "--host=127.0.0.1",
                                                "--port=" + address.substr(address.rfind(':') + 1),
                                                "--tls=off",
                                                "--auth=user",
                                                "--user=" + user,
                                                "--passwordeval=echo " + user + "-pw",
                                                "--keep=on",
                                                "--only-new=on",
                                                "--uidls-file=" + root + "/mpop-uidls",
                                                "--delivery=mbox," + root + "/mpop-mbox"};
    std::vector<const char*> args;
    for (const std::string& argument : arguments) {
        args.push_back(argument.c_str());
    }
    return RunProgram(args, folders);
}

// `tarvo --check` through a relay of its own; the relay's address names the
// account, so a fresh folders' state starts empty.
void CommandLineRun(Runs& runs, const DovecotServer& server, const std::string& user,
                    SignInMethod signIn) {
    Folders folders;
    DelayRelay relay(server.Port(), 10ms);
    SaveAccount(folders, Options{}, relay.Address(), user, signIn);
    const ProgramRun run = RunCommandLineCheck(folders);
    runs.Add(run.wall, relay.TakeCountsOnceEnded(), run.succeeded);
}

void FirstChecks(const DovecotServer& server, bool mpop) {
    Runs automatic;
    Runs password;
    Runs bound;
    Runs other;
    for (int round = 0; round < kSideRounds; ++round) {
        CommandLineRun(automatic, server, "sbs2k", SignInMethod::Automatic);
        CommandLineRun(password, server, "sbs2k", SignInMethod::PasswordOnly);
        {
            DelayRelay relay(server.Port(), 10ms);
            int replies = 0;
            const double wall =
                WriteEverythingCheck(relay.Address(), "sbs2k", "sbs2k-pw", kSideFirst, replies);
            bound.Add(wall, relay.TakeCountsOnceEnded(), wall > 0 && replies == kSideFirst);
        }
        if (mpop) {
            Folders folders;
            DelayRelay relay(server.Port(), 10ms);
            const ProgramRun run = RunMpop(folders, relay.Address(), "sbs2k");
            other.Add(run.wall, relay.TakeCountsOnceEnded(), run.succeeded);
        }
    }
    const double least = bound.Median();
    std::puts("  first check, 2,000 messages:");
    PrintRuns("tarvo --check, Automatic sign-in", automatic, least, "write-everything");
    PrintRuns("tarvo --check, password only", password, least, "write-everything");
    PrintRuns("write-everything client", bound, 0, "");
    PrintRuns("mpop, fetching all", other, least, "write-everything");
}

// Each round checks a mailbox from nothing, then once more after one new
// message came: the mailbox grows by one a round.
void RepeatChecks(DovecotServer& server, const char* user, int messages, bool mpop) {
    Runs tarvo;
    Runs other;
    for (int round = 0; round < kSideRounds; ++round) {
        Folders folders;
        DelayRelay relay(server.Port(), 10ms);
        SaveAccount(folders, Options{}, relay.Address(), user);
        RunCommandLineCheck(folders);
        Folders mpopFolders;
        DelayRelay mpopRelay(server.Port(), 10ms);
        if (mpop) {
            RunMpop(mpopFolders, mpopRelay.Address(), user);
        }
        server.Deliver(user, BenchMessage(messages + round + 1));
        relay.TakeCountsOnceEnded();
        const ProgramRun run = RunCommandLineCheck(folders);
        tarvo.Add(run.wall, relay.TakeCountsOnceEnded(), run.succeeded);
        if (mpop) {
            mpopRelay.TakeCountsOnceEnded();
            const ProgramRun again = RunMpop(mpopFolders, mpopRelay.Address(), user);
            other.Add(again.wall, mpopRelay.TakeCountsOnceEnded(), again.succeeded);
        }
    }
    std::printf("  repeat check, %d messages with 1 new (one more each round):\n", messages + 1);
    PrintRuns("second tarvo --check", tarvo, other.Median(), "mpop");
    PrintRuns("mpop, fetching the new one", other, 0, "");
}

} // namespace

void RunSideBySideBench(DovecotServer& server) {
    for (int n = 1; n <= 5000; ++n) {
        if (n <= kSideFirst) {
            server.Deliver("sbs2k", BenchMessage(n));
        }
        server.Deliver("sbs5k", BenchMessage(n));
    }
    // Dovecot indexes a new mailbox at its first login: not the clients' time.
    for (const auto& [user, messages] :
         {std::pair{"sbs2k", kSideFirst}, std::pair{"sbs5k", 5000}}) {
        int replies = 0;
        WriteEverythingCheck(server.Address(), user, std::string(user) + "-pw", messages, replies);
    }
    const bool mpop = MpopInstalled();
    std::printf("Side by side at a 20 ms round trip, median (min-max) of %d rounds taken in turn,"
                " the programs' start included; turns are the client's after the greeting:\n",
                kSideRounds);
    if (!mpop) {
        std::puts("  (mpop is not installed: its runs are left out)");
    }
    FirstChecks(server, mpop);
    RepeatChecks(server, "sbs2k", kSideFirst, mpop);
    RepeatChecks(server, "sbs5k", 5000, mpop);
    std::puts("");
}
