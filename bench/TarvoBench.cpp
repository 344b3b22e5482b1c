// How long one check of a large mailbox takes on a real loopback server, in
// clear text and over TLS, and whether classifying a check's messages gets dearer as the program
// keeps running and the known ids pile up.
#include "CheckCycle.h"
#include "DovecotServer.h"
#include "TestCertificates.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr int kMessages = 5000;
constexpr int kEarlierChecks = 1000;
constexpr int kRepeats = 21;

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::string MessageId(int n) {
    return "<" + std::to_string(1733550000 + n) + "." + std::to_string(n) +
           ".bench@mail.example.org>";
}

// About the header block of an ordinary message that crossed two relays.
std::string Message(int n) {
    std::string number = std::to_string(n);
    return "Return-Path: <sender" + number +
           "@example.net>\n"
           "Received: from relay.example.net (relay.example.net [192.0.2.10])\n"
           "\tby mail.example.org with ESMTPS id 4Xk2" +
           number +
           "\n"
           "\tfor <bench@example.org>; Sat, 7 Dec 2024 10:00:00 +0000\n"
           "Received: from client.example.net by relay.example.net; "
           "Sat, 7 Dec 2024 09:59:58 +0000\n"
           "From: Sender " +
           number + " <sender" + number +
           "@example.net>\n"
           "To: Bench <bench@example.org>\n"
           "Subject: Benchmark message number " +
           number +
           "\n"
           "Date: Sat, 7 Dec 2024 10:00:00 +0000\n"
           "Message-Id: " +
           MessageId(n) +
           "\n"
           "MIME-Version: 1.0\n"
           "Content-Type: text/plain; charset=utf-8\n"
           "\n"
           "A body of a few lines that the check never downloads.\n"
           "Second line.\nThird line.\n";
}

class QuietObserver : public CheckObserver {
public:
    void ShowProgress(int, const std::string&) override {}
    void SetCurrentConversation(CPop3Connection*) override {}
    void WaitHook() override {}
};

struct Timing {
    double wall;
    double cpu;
};

Timing TimeCheck(const AccountList& accounts, MessageTable& table, KnownMessageIds& known) {
    std::vector<int32_t> counts;
    QuietObserver observer;
    double cpuStart = CpuSeconds();
    auto wallStart = Clock::now();
    RunCheck(accounts, counts, table, known, observer);
    std::chrono::duration<double> wall = Clock::now() - wallStart;
    return {wall.count(), CpuSeconds() - cpuStart};
}

// What one check's classification does to the known ids: every id looked up,
// then every id appended. Returns how many were new.
std::size_t Classify(KnownMessageIds& known, const std::vector<std::string>& ids) {
    std::size_t fresh = 0;
    for (const std::string& id : ids) {
        fresh += known.Contains(id) ? 0 : 1;
    }
    for (const std::string& id : ids) {
        known.Append(id);
    }
    return fresh;
}

struct Classification {
    double seconds; // median wall time
    std::size_t newIds;
};

// Each run classifies against its own copy of `before`, made outside the clock.
Classification MeasureClassify(const KnownMessageIds& before, const std::vector<std::string>& ids) {
    std::vector<double> runs;
    std::size_t newIds = 0;
    for (int i = 0; i < kRepeats; ++i) {
        KnownMessageIds known = before;
        auto start = Clock::now();
        newIds = Classify(known, ids);
        runs.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::nth_element(runs.begin(), runs.begin() + kRepeats / 2, runs.end());
    return {runs[kRepeats / 2], newIds};
}

void PrintClassify(const char* label, const Classification& c, double baseline) {
    std::printf("  %-34s %8.3f ms  %6.3f us/message  (%zu new, x%.2f)\n", label, c.seconds * 1e3,
                c.seconds * 1e6 / kMessages, c.newIds, c.seconds / baseline);
}

void PrintCheck(const char* label, const Timing& timing, std::size_t rows) {
    std::printf("  %-34s %8.3f s wall  %7.1f us/message wall  %6.1f us/message client CPU"
                "  (%zu rows)\n",
                label, timing.wall, timing.wall * 1e6 / kMessages, timing.cpu * 1e6 / kMessages,
                rows);
}

} // namespace

int main() {
    std::printf("Tarvo benchmark: one account, %d messages, Dovecot on loopback\n\n", kMessages);
    testpki::TestAuthority authority;
    ::setenv("SSL_CERT_FILE", authority.AuthorityFile().c_str(), 1);
    const testpki::IssuedCertificate certificate = authority.Issue({{"127.0.0.1"}});
    DovecotServer server(DovecotTls{certificate.certificateFile, certificate.keyFile});
    server.AddUser("bench", "bench-pw");
    for (int n = 1; n <= kMessages; ++n) {
        server.Deliver("bench", Message(n));
    }
    const AccountList accounts{{server.Address()}, {"bench"}, {"bench-pw"}};
    const AccountList secured{{server.TlsAddress()}, {"bench"}, {"bench-pw"}, {2}, {""}};

    MessageTable table;
    KnownMessageIds known;
    std::puts("Full check (RunCheck: login, STAT, STAT, TOP n 0 for every message, QUIT):");
    Timing cold = TimeCheck(accounts, table, known);
    PrintCheck("first check, server indexes anew", cold, table.size());
    std::size_t newRows = static_cast<std::size_t>(
        std::count(table.states.begin(), table.states.end(), uint32_t{MessageNew}));
    Timing warm = TimeCheck(accounts, table, known);
    PrintCheck("second check, server warm", warm, table.size());
    std::printf("  rows new in the first check: %zu of %zu\n", newRows, table.size());
    // Taken in turn, so that both meet the server in the same state.
    Timing clear = warm;
    Timing tls{1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        Timing run = TimeCheck(secured, table, known);
        tls = run.wall < tls.wall ? run : tls;
        run = TimeCheck(accounts, table, known);
        clear = run.wall < clear.wall ? run : clear;
    }
    PrintCheck("clear text, best of 4", clear, table.size());
    PrintCheck("SSL/TLS, best of 3", tls, table.size());
    std::printf("  SSL/TLS wall time: x%.2f of clear text; CPU x%.2f\n", tls.wall / clear.wall,
                tls.cpu / clear.cpu);
    std::puts("  (client CPU is this process only; Dovecot's own time is in the wall time)\n");

    std::vector<std::string> ids;
    for (int n = 1; n <= kMessages; ++n) {
        ids.push_back(MessageId(n));
    }
    KnownMessageIds seasoned;
    for (int check = 0; check < kEarlierChecks; ++check) {
        Classify(seasoned, ids);
    }
    Classification first = MeasureClassify(KnownMessageIds{}, ids);
    Classification later = MeasureClassify(seasoned, ids);
    std::printf("Classification of one check's %d ids (median of %d runs):\n", kMessages, kRepeats);
    PrintClassify("first check after start", first, first.seconds);
    PrintClassify("after 1000 earlier checks", later, first.seconds);

    // A list keeping every entry would hold a string per entry; the counts keep
    // one per distinct id. Sizes are estimates: string object plus heap block.
    const double perId = sizeof(std::string) + 16.0 * ((ids.front().size() + 16) / 16);
    std::printf("\nKnown ids after %d checks: %llu entries as appended, %zu distinct ids "
                "stored\n",
                kEarlierChecks, static_cast<unsigned long long>(seasoned.size()),
                seasoned.DistinctCount());
    std::printf("  held as counts per distinct id: ~%.1f MB; as a list of every entry it "
                "would be ~%.0f MB\n",
                seasoned.DistinctCount() * (perId + 32) / 1e6,
                static_cast<double>(seasoned.size()) * perId / 1e6);
    return 0;
}
