#include "ImapRuns.h"

#include "AppProfile.h"
#include "BenchSupport.h"
#include "DelayRelay.h"
#include "DovecotServer.h"
#include "ImapConnection.h"
#include "LinkRuns.h"
#include "LowerBound.h"
#include "MemoryRegistry.h"
#include "PushWait.h"
#include "RecordingWindowServices.h"
#include "SettingsStore.h"
#include "TarvoWnd.h"
#include "resource.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kPushes = 20;
constexpr auto kPushGivenUp = 30s;
constexpr int kLarge = 50000;
constexpr int kUnseen = 2000;

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

uint16_t PortOf(const std::string& address) {
    return static_cast<uint16_t>(std::stoi(address.substr(address.rfind(':') + 1)));
}

AccountList ImapAccount(const std::string& address, const std::string& user) {
    return {
        {.server = address, .user = user, .password = user + "-pw", .protocol = Protocol::Imap}};
}

// The commands in what a client sent, by name ("EXAMINE", "UID SEARCH"):
// their arguments, a password among them, are left out.
std::string CommandNames(const std::string& sent) {
    std::string names;
    std::istringstream lines(sent);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string tag;
        std::string name;
        std::string next;
        words >> tag >> name;
        const bool tagged = tag.size() > 1 && tag[0] == 'a' &&
                            std::all_of(tag.begin() + 1, tag.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
        if (!tagged || name.empty()) {
            continue; // a SASL response, DONE
        }
        if (name == "UID" && words >> next) {
            name += " " + next;
        }
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

struct Spread {
    double median;
    double min;
    double max;
};

Spread SpreadOf(std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    const std::size_t half = runs.size() / 2;
    const double median = runs.size() % 2 == 1 ? runs[half] : (runs[half - 1] + runs[half]) / 2;
    return {median, runs.front(), runs.back()};
}

void PrintSpread(const char* label, const std::vector<double>& runs) {
    const Spread spread = SpreadOf(runs);
    std::printf("  %-44s median %6.3f s  min %6.3f s  max %6.3f s\n", label, spread.median,
                spread.min, spread.max);
}

// The desktop of the tray core, noting when it was told of new mail.
class TimedWindowServices : public RecordingWindowServices {
public:
    std::optional<Clock::time_point> notified;

    void NotifyNewMail(const MessageTable& table, int newCount) override {
        notified = Clock::now();
        RecordingWindowServices::NotifyNewMail(table, newCount);
    }
};

// The tray core with one IMAP account: after its first check it holds the
// connection, and the bench plays the event loop, poll() on the socket it
// was asked to watch. Each message is saved by doveadm on a thread of its
// own, timed from just before doveadm is started, while the loop waits.
void RunPushBench(DovecotServer& server) {
    MemoryRegistry registry;
    AppProfile profile{registry};
    SaveSettings(profile, Options{}, ImapAccount(server.ImapAddress(), "ipush"));
    TimedWindowServices services;
    CTarvoWnd window(services, profile);
    window.OnCreate();
    window.OnCommand(ID_CHECK_NOW);
    std::printf("Push on loopback: doveadm saves a message into INBOX while the tray core waits"
                " on its held connection, %d times:\n",
                kPushes);
    if (services.sockets.size() != 1) {
        std::puts("  (the tray held no connection)\n");
        return;
    }
    std::vector<double> shown;   // from doveadm's start to NotifyNewMail
    std::vector<double> saving;  // doveadm's own run, start to exit
    std::vector<double> waited;  // from doveadm's exit to the socket's notice
    std::vector<double> checked; // from the socket's notice to NotifyNewMail
    for (int n = 1; n <= kPushes; ++n) {
        services.notified.reset();
        Clock::time_point started;
        Clock::time_point saved;
        std::string failure;
        std::thread saver([&] {
            started = Clock::now();
            try {
                server.Save("ipush", "INBOX", BenchMessage(n));
            } catch (const std::exception& error) {
                failure = error.what();
            }
            saved = Clock::now();
        });
        std::optional<Clock::time_point> noticed;
        const Clock::time_point deadline = Clock::now() + kPushGivenUp;
        while (!services.notified && !services.sockets.empty() && Clock::now() < deadline) {
            auto [fd, ready] = *services.sockets.begin();
            services.sockets.erase(fd);
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            if (!SocketReadable(fd, left)) {
                break;
            }
            noticed = Clock::now();
            ready();
        }
        saver.join();
        if (!services.notified || !failure.empty()) {
            std::printf("  (message %d was not shown: %s)\n\n", n,
                        failure.empty() ? "no notification in time" : failure.c_str());
            return;
        }
        shown.push_back(Seconds(*services.notified - started));
        saving.push_back(Seconds(saved - started));
        waited.push_back(Seconds(*noticed - saved));
        checked.push_back(Seconds(*services.notified - *noticed));
    }
    PrintSpread("doveadm save started to NotifyNewMail", shown);
    PrintSpread("  doveadm save's own run, start to exit", saving);
    PrintSpread("  doveadm's exit to the socket readable", waited);
    PrintSpread("  socket readable to NotifyNewMail", checked);
    std::puts("  (the last: the account's check on a connection of its own, then waiting again)\n");
}

// Delivered straight into the Maildir as the POP3 runs do, then all but the
// newest `unseen` marked \Seen by one doveadm command over their UIDs.
void FillInbox(DovecotServer& server, const std::string& user, int messages, int unseen) {
    const Clock::time_point start = Clock::now();
    for (int n = 1; n <= messages; ++n) {
        server.Deliver(user, BenchMessage(n));
    }
    const Clock::time_point delivered = Clock::now();
    std::printf("  (%d messages written in %.1f s", messages, Seconds(delivered - start));
    if (messages > unseen) {
        server.AddFlags(user, "INBOX", "1:" + std::to_string(messages - unseen), "\\Seen");
        std::printf("; %d marked \\Seen by doveadm in %.1f s", messages - unseen,
                    Seconds(Clock::now() - delivered));
    }
    std::puts(")");
}

// A sign-in alone through the relay, as the check signs in.
DelayRelay::Counts SignInAlone(DelayRelay& relay, const std::string& user) {
    CImapConnection conversation;
    const Clock::time_point start = Clock::now();
    const int signedIn = conversation.Connect(
        relay.Address(), user, SignIn{SignInMethod::Automatic, user + "-pw", {}, {}}, 143);
    const double took = Seconds(Clock::now() - start);
    const DelayRelay::Counts counts = relay.TakeCounts();
    const std::string commands = CommandNames(relay.TakeClientBytes());
    conversation.Close();
    relay.TakeCounts();
    relay.TakeClientBytes();
    std::printf("  %-44s %8.3f s  %5llu round trips  (%s)%s\n", "sign-in alone", took,
                static_cast<unsigned long long>(counts.roundTrips), commands.c_str(),
                signedIn == 1 ? "" : ("  FAILED: " + conversation.FailureReason()).c_str());
    return counts;
}

// The best of runs checks through the relay, each from nothing kept, or from
// kept and leaving it for the next; with the commands of the last.
DelayRelay::Counts RelayedChecks(DelayRelay& relay, const AccountList& accounts, const char* label,
                                 int runs, CheckState* kept = nullptr) {
    Timing best{1e9, 1e9};
    double worst = 0;
    DelayRelay::Counts counts;
    std::string commands;
    MessageTable rows;
    for (int run = 0; run < runs; ++run) {
        CheckState fresh;
        CheckState& state = kept != nullptr ? *kept : fresh;
        relay.TakeClientBytes();
        const Timing timing = TimeCheck(accounts, state);
        counts = relay.TakeCounts();
        commands = CommandNames(relay.TakeClientBytes());
        best = timing.wall < best.wall ? timing : best;
        worst = std::max(worst, timing.wall);
        if (kept == nullptr) {
            rows = std::move(fresh.table);
        }
    }
    PrintRun(label, best, counts, kept != nullptr ? kept->table : rows);
    if (runs > 1) {
        char spread[64];
        std::snprintf(spread, sizeof spread, "best of %d, worst %.3f s", runs, worst);
        commands += (commands.empty() ? "" : "; ") + std::string(spread);
    }
    if (!commands.empty()) {
        std::printf("  %-44s %s\n", "", commands.c_str());
    }
    return counts;
}

void RunLargeInboxBench(DovecotServer& server) {
    std::printf("IMAP at a 20 ms round trip (a relay holds each direction 10 ms), an INBOX of"
                " 50,000 messages, 2,000 unseen:\n");
    const std::string user = "i50k";
    FillInbox(server, user, kLarge, kUnseen);
    DelayRelay relay(PortOf(server.ImapAddress()), 10ms);
    const AccountList account = ImapAccount(relay.Address(), user);
    RelayedChecks(relay, account, "first check, Dovecot's caches cold", 1);
    RelayedChecks(relay, account, "first check, nothing kept, best of 3", 3);
    double bound = 1e9;
    int headers = 0;
    DelayRelay::Counts boundCounts;
    for (int run = 0; run < 3; ++run) {
        bound =
            std::min(bound, WriteEverythingImapCheck(relay.Address(), user, user + "-pw", headers));
        boundCounts = relay.TakeCounts();
    }
    relay.TakeClientBytes();
    std::printf("  %-44s %8.3f s  %5llu round trips  %8.1f KB moved  %6d headers\n",
                "  write-everything client, best of 3", bound,
                static_cast<unsigned long long>(boundCounts.roundTrips),
                static_cast<double>(boundCounts.toServer + boundCounts.toClient) / 1000.0, headers);
    CheckState state;
    RelayedChecks(relay, account, "first check, kept for the repeats", 1, &state);
    const DelayRelay::Counts repeat =
        RelayedChecks(relay, account, "repeat check, nothing changed, best of 5", 5, &state);
    const DelayRelay::Counts signIn = SignInAlone(relay, user);
    std::printf("  %-44s %14llu round trips after the sign-in\n", "  repeat check",
                static_cast<unsigned long long>(repeat.roundTrips - signIn.roundTrips));
    server.Save(user, "INBOX", BenchMessage(kLarge + 1));
    RelayedChecks(relay, account, "repeat check, 1 new", 1, &state);

    // More unseen than the header texts kept (7 MB): as POP3 sees a mailbox.
    std::puts("The same link, an INBOX of 50,000 messages, all unseen, and POP3 on it:");
    FillInbox(server, "iu50k", kLarge, kLarge);
    CheckState all;
    RelayedChecks(relay, ImapAccount(relay.Address(), "iu50k"), "IMAP first check", 1, &all);
    RelayedChecks(relay, ImapAccount(relay.Address(), "iu50k"),
                  "IMAP repeat check, nothing changed", 1, &all);
    DelayRelay pop3Relay(server.Port(), 10ms);
    const AccountList pop3{
        {.server = pop3Relay.Address(), .user = "iu50k", .password = "iu50k-pw"}};
    CheckState pop3State;
    RelayedChecks(pop3Relay, pop3, "POP3 first check", 1, &pop3State);
    RelayedChecks(pop3Relay, pop3, "POP3 repeat check, nothing changed", 1, &pop3State);
    std::puts("");
}

// Peak memory per unseen message, as RunMemoryBench measures POP3's per
// message, and POP3's beside it on the same 50,000 messages.
void RunImapMemoryBench(DovecotServer& server) {
    std::puts("Peak memory of a check, in a process of its own (peak RSS, whole process):");
    const std::string address = server.ImapAddress();
    std::printf("  IMAP, %d messages, %d unseen (50,001 and 2,001 after the runs above):\n", kLarge,
                kUnseen);
    ChildChecks(address, "i50k", 2, Protocol::Imap);
    std::puts("  IMAP, 10,000 messages, all unseen:");
    FillInbox(server, "iu10k", 10000, 10000);
    ChildChecks(address, "iu10k", 2, Protocol::Imap);
    std::puts("  IMAP, 50,000 messages, all unseen, 100 checks:");
    ChildChecks(address, "iu50k", 100, Protocol::Imap);
    std::puts("  POP3, the same 50,000 messages:");
    ChildChecks(server.Address(), "iu50k", 2, Protocol::Pop3);
    std::puts("");
}

} // namespace

void RunImapBench(DovecotServer& server) {
    RunPushBench(server);
    RunLargeInboxBench(server);
    RunImapMemoryBench(server);
}
