#include "LinkRuns.h"

#include "BenchSupport.h"
#include "DelayRelay.h"
#include "DovecotServer.h"
#include "LowerBound.h"
#include "MemoryUse.h"
#include "Pop3Connection.h"
#include "ScriptedPeer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace std::chrono_literals;

constexpr int kFirstCheck = 2000;
constexpr int kRepeatCheck = 5000;

void Fill(DovecotServer& server, const std::string& user, int from, int to,
          std::size_t headerBytes = 0) {
    for (int n = from; n <= to; ++n) {
        server.Deliver(user, BenchMessage(n, headerBytes));
    }
}

// Signed in to the way a new account is (Automatic: CAPA before the login),
// or as signIn says.
AccountList BenchAccount(const std::string& address, const std::string& user,
                         SignInMethod signIn = SignInMethod::Automatic) {
    return {{.server = address, .user = user, .password = user + "-pw", .signIn = signIn}};
}

// One check through a fresh relay; the state carries over between calls.
void RelayedCheck(const char* label, DovecotServer& server, const std::string& user,
                  std::chrono::milliseconds oneWay, bool lockstep, CheckState& state,
                  SignInMethod signIn = SignInMethod::Automatic) {
    DelayRelay relay(server.Port(), oneWay, lockstep);
    Timing timing = TimeCheck(BenchAccount(relay.Address(), user, signIn), state);
    PrintRun(label, timing, relay.TakeCountsOnceEnded(), state.table);
}

// The write-everything client through a fresh relay (or direct when oneWay
// is negative), printed as a run of its own.
double LowerBoundRun(const char* label, DovecotServer& server, const std::string& user,
                     int messages, std::chrono::milliseconds oneWay) {
    int replies = 0;
    if (oneWay.count() < 0) {
        double wall = WriteEverythingCheck(server.Address(), user, user + "-pw", messages, replies);
        std::printf("  %-44s %8.3f s  %28s  %6d replies\n", label, wall, "", replies);
        return wall;
    }
    DelayRelay relay(server.Port(), oneWay);
    Timing timing{WriteEverythingCheck(relay.Address(), user, user + "-pw", messages, replies), 0};
    DelayRelay::Counts counts = relay.TakeCounts();
    std::printf("  %-44s %8.3f s  %5llu round trips  %8.1f KB moved  %6d replies\n", label,
                timing.wall, static_cast<unsigned long long>(counts.roundTrips),
                static_cast<double>(counts.toServer + counts.toClient) / 1000.0, replies);
    return timing.wall;
}

double TimeConversation(const std::string& address, const std::string& user,
                        const std::string& password, std::size_t& rows) {
    auto start = std::chrono::steady_clock::now();
    CPop3Connection conversation;
    if (conversation.Connect(address, user, password, 110) && conversation.GetMessageCount() > 0) {
        conversation.RetrieveHeaders();
    }
    rows = conversation.Headers().size();
    conversation.Close();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Dovecot indexes a new mailbox at its first login: not the client's time.
void Index(DovecotServer& server, const std::string& user, int messages) {
    int replies = 0;
    WriteEverythingCheck(server.Address(), user, user + "-pw", messages, replies);
}

} // namespace

void RunLinkBench(DovecotServer& server, bool quick) {
    Fill(server, "first", 1, kFirstCheck);
    Fill(server, "repeat", 1, kRepeatCheck);
    Index(server, "first", kFirstCheck);
    Index(server, "repeat", kRepeatCheck);

    std::puts("Over a link with a 20 ms round trip (a relay holds each direction 10 ms):");
    // The relay's address names the account, so each relay's state starts empty.
    {
        CheckState state;
        RelayedCheck("first check, 2,000 messages", server, "first", 10ms, false, state);
    }
    {
        CheckState state;
        RelayedCheck("  the same, signed in with the password alone", server, "first", 10ms, false,
                     state, SignInMethod::PasswordOnly);
    }
    LowerBoundRun("  write-everything client, 2,000", server, "first", kFirstCheck, 10ms);
    if (!quick) {
        CheckState state;
        RelayedCheck("  the same, lockstep (no CAPA)", server, "first", 10ms, true, state);
    }
    {
        DelayRelay relay(server.Port(), 10ms);
        CheckState state;
        Timing first = TimeCheck(BenchAccount(relay.Address(), "repeat"), state);
        PrintRun("check of 5,000 messages, headers kept", first, relay.TakeCountsOnceEnded(),
                 state.table);
        Fill(server, "repeat", kRepeatCheck + 1, kRepeatCheck + 1);
        Timing repeat = TimeCheck(BenchAccount(relay.Address(), "repeat"), state);
        PrintRun("repeat check, 5,001 messages with 1 new", repeat, relay.TakeCountsOnceEnded(),
                 state.table);
    }
    if (!quick) {
        CheckState state;
        RelayedCheck("  the same, lockstep (no CAPA)", server, "repeat", 10ms, true, state);
    }

    std::puts("\nFull check of 5,001 messages on loopback (no headers kept from before),"
              " best of 5 taken in turn:");
    {
        Timing best{1e9, 1e9};
        double bound = 1e9;
        MessageTable rows;
        for (int round = 0; round < 5; ++round) {
            CheckState state;
            Timing run = TimeCheck(BenchAccount(server.Address(), "repeat"), state);
            best = run.wall < best.wall ? run : best;
            rows = std::move(state.table);
            int replies = 0;
            bound = std::min(bound, WriteEverythingCheck(server.Address(), "repeat", "repeat-pw",
                                                         kRepeatCheck + 1, replies));
        }
        PrintRun("pipelined, direct", best, {}, rows);
        std::printf("  %-44s %8.3f s  (x%.2f)\n", "write-everything client, direct", bound,
                    best.wall / bound);
    }
    for (bool lockstep : {false, true}) {
        CheckState state;
        RelayedCheck(lockstep ? "lockstep, through a relay without delay"
                              : "pipelined, through a relay without delay",
                     server, "repeat", 0ms, lockstep, state);
    }
    std::puts("");
}

void RunScaleBench(DovecotServer& server) {
    struct Size {
        const char* user;
        int messages;
    };
    std::puts("First and repeat checks (one new message) at a 20 ms round trip:");
    for (const Size& size : {Size{"s1k", 1000}, Size{"s10k", 10000}, Size{"s50k", 50000}}) {
        Fill(server, size.user, 1, size.messages);
        Index(server, size.user, size.messages);
        CheckState state;
        const std::string count = std::to_string(size.messages);
        {
            DelayRelay relay(server.Port(), 10ms);
            Timing first = TimeCheck(BenchAccount(relay.Address(), size.user), state);
            PrintRun(("first check, " + count).c_str(), first, relay.TakeCountsOnceEnded(),
                     state.table);
            Fill(server, size.user, size.messages + 1, size.messages + 1);
            Timing repeat = TimeCheck(BenchAccount(relay.Address(), size.user), state);
            PrintRun("repeat check, 1 new", repeat, relay.TakeCountsOnceEnded(), state.table);
        }
        LowerBoundRun(("write-everything client, " + count).c_str(), server, size.user,
                      size.messages + 1, 10ms);
    }
    std::puts("");
}

void RunMemoryBench(DovecotServer& server) {
    struct Run {
        const char* user;
        int messages;
        std::size_t headerBytes;
        int checks; // the program left running: every check after the first a repeat
    };
    const Run runs[] = {{"m1k", 1000, 0, 2},
                        {"m10k", 10000, 0, 2},
                        {"big", 50000, 0, 100},
                        {"huge", 100000, 3072, 2}};
    std::puts("Peak memory of a check, in a process of its own (peak RSS, whole process):");
    for (const Run& run : runs) {
        Fill(server, run.user, 1, run.messages, run.headerBytes);
        std::printf("  %d messages, header blocks of %s:\n", run.messages,
                    run.headerBytes > 0 ? "3 KB" : "about 700 bytes");
        ChildChecks(server.Address(), run.user, run.checks, Protocol::Pop3);
    }
    std::puts("");
}

void ChildChecks(const std::string& address, const std::string& user, int checks,
                 Protocol protocol) {
    std::fflush(stdout);
    std::string command = std::filesystem::read_symlink("/proc/self/exe").string() +
                          " --one-check " + address + " " + user + " " + user + "-pw " +
                          std::to_string(checks) + (protocol == Protocol::Imap ? " imap" : "");
    if (std::FILE* child = ::popen(command.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, child) != nullptr) {
            std::printf("    %s", line);
        }
        ::pclose(child);
    }
}

int RunOneCheck(const char* address, const char* user, const char* password, int checks,
                Protocol protocol) {
    KeepLargeListsOutOfTheHeap(); // as the program does
    const AccountList accounts{
        {.server = address, .user = user, .password = password, .protocol = protocol}};
    CheckState state;
    // The process before any check: the libraries and the bench's own.
    const double baseline = PeakMegabytes();
    for (int check = 1; check <= checks; ++check) {
        Timing timing = TimeCheck(accounts, state);
        if (check > 2 && check % 25 != 0) {
            continue;
        }
        const std::string label = check == 1   ? "first check"
                                  : check == 2 ? "repeat check"
                                               : "check " + std::to_string(check);
        std::size_t notKept = 0;
        std::size_t textBytes = 0;
        for (const ScannedHeader& header : state.table.Headers()) {
            notKept += header.TextKept() ? 0 : 1;
            textBytes += header.Text().size();
        }
        const double peak = PeakMegabytes();
        // What the check costs per message beyond the header texts it keeps.
        const double perMessage =
            ((peak - baseline) * 1024 * 1024 - static_cast<double>(textBytes)) /
            static_cast<double>(std::max<std::size_t>(state.table.size(), 1));
        std::printf("%-13s %8.2f s  %6zu rows  %zu error rows  %6zu header texts not kept"
                    "  peak RSS %6.1f MiB  %5.0f bytes a message beyond the texts\n",
                    label.c_str(), timing.wall, state.table.size(), ErrorRows(state.table), notKept,
                    peak, perMessage);
    }
    return 0;
}

void RunSplitWritesBench(DovecotServer& server) {
    using namespace testpeer;
    constexpr int kMessages = 30;
    Script script =
        Script{NagleOn()} + Login() + Script{Reply("+OK 30 9000\r\n"), Reply("+OK 30 9000\r\n")};
    for (int n = 1; n <= kMessages; ++n) {
        std::string message = BenchMessage(n);
        server.Deliver("thirty", message);
        std::string block;
        for (char c : message.substr(0, message.find("\n\n") + 2)) {
            block += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
        script.push_back(ReplyInWrites({"+OK\r\n", block + ".\r\n"}));
    }
    script.push_back(Reply("+OK bye\r\n"));
    ScriptedPeer peer(script);
    std::size_t peerRows = 0;
    std::size_t dovecotRows = 0;
    double split = TimeConversation(peer.Address(), "bob", "pw", peerRows);
    // The first conversation has Dovecot index the new mailbox.
    TimeConversation(server.Address(), "thirty", "thirty-pw", dovecotRows);
    double dovecot = TimeConversation(server.Address(), "thirty", "thirty-pw", dovecotRows);
    std::puts("30 messages, login to QUIT, on loopback:");
    std::printf("  %-44s %8.3f s  %zu rows\n", "server writing status and block apart, Nagle",
                split, peerRows);
    std::printf("  %-44s %8.3f s  %zu rows\n\n", "Dovecot (second conversation)", dovecot,
                dovecotRows);
}
