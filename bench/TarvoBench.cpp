// How long checks take on a real server, on loopback and over a link with a
// round trip of a distant provider, in clear text and over TLS, what they
// move, how much memory a large mailbox costs, and whether classifying a
// check's messages gets dearer as the program keeps running, and whether the
// known ids stay bounded when a mailbox churns.
//
//   tarvo_bench            every run, lockstep baselines included (minutes)
//   tarvo_bench --quick    without the slow lockstep baselines over the link
//   tarvo_bench --memory   the memory runs alone
//   tarvo_bench --sign-in  the sign-in runs alone
//   tarvo_bench --scale    the 1,000 to 50,000 message runs over the link alone
//   tarvo_bench --link     the runs of --quick over the link and on loopback alone
//   tarvo_bench --programs the real programs' memory, `tarvo --check` and the
//                          tray program on a private desktop, alone
//   tarvo_bench --side-by-side  `tarvo --check` beside the write-everything
//                          client and mpop over the link, alone
//   tarvo_bench --imap     the IMAP runs alone: push, a large INBOX over the
//                          link, memory per unseen message
//   tarvo_bench --command-line  `tarvo --check` alone: its start-up beside
//                          mpop's, its peak RSS up to 50,000 messages and the
//                          state's cost in its second check of 50,000
#include "BenchSupport.h"
#include "DovecotServer.h"
#include "ImapRuns.h"
#include "LinkRuns.h"
#include "ProgramRuns.h"
#include "SignInRuns.h"
#include "StateRuns.h"
#include "TestCertificates.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kMessages = 5000;
constexpr int kEarlierChecks = 1000;
constexpr int kRepeats = 21;
constexpr int kChurnChecks = 1000;
constexpr int kChurnMessages = 500;
constexpr const char* kMailbox = "bench.example.org\nbench";

using Clock = std::chrono::steady_clock;

// What one check's classification does to the known ids, as the check cycle
// does it: every id looked up, then every id appended, then the mailbox
// counted as read. Returns how many were new.
std::size_t Classify(KnownMessageIds& known, const std::vector<std::string>& ids) {
    std::size_t fresh = 0;
    for (const std::string& id : ids) {
        fresh += known.Contains(id) ? 0 : 1;
    }
    for (const std::string& id : ids) {
        known.Append(id, kMailbox);
    }
    known.MailboxRead(kMailbox);
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

// A server that hands out fresh Message-Ids at every check, each about 200
// bytes, is the worst churn a mailbox can show the known ids.
void MeasureChurn(const char* label, uint64_t readsKept) {
    KnownMessageIds known(readsKept);
    const std::string padding(180, 'p');
    std::printf("  %-28s", label);
    for (int check = 1; check <= kChurnChecks; ++check) {
        std::vector<std::string> ids;
        for (int n = 0; n < kChurnMessages; ++n) {
            ids.push_back("<" + std::to_string(check) + "." + std::to_string(n) + "." + padding +
                          "@churn.example.org>");
        }
        Classify(known, ids);
        if (check == 10 || check == 100 || check == kChurnChecks) {
            std::printf("  %5.1f MB after %4d",
                        static_cast<double>(StatusKiB("self", "VmRSS")) / 1024, check);
        }
    }
    std::printf("  (%zu ids held)\n", known.DistinctCount());
}

// Full checks, each with nothing kept from before, taken in turn so that both
// meet the server in the same state.
void RunTlsBench(DovecotServer& server) {
    for (int n = 1; n <= kMessages; ++n) {
        server.Deliver("bench", BenchMessage(n));
    }
    const AccountList accounts{{server.Address(), "bench", "bench-pw"}};
    const AccountList secured{{server.TlsAddress(), "bench", "bench-pw", Security::Tls}};
    std::printf("Full check of %d messages on loopback, clear text and SSL/TLS:\n", kMessages);
    CheckState first;
    Timing cold = TimeCheck(accounts, first);
    PrintCheck("first check, server indexes anew", cold, first.table.size());
    if (ErrorRows(first.table) > 0) {
        std::printf("  (error: %s)\n", std::string(first.table.HeaderText(0)).c_str());
    }
    Timing clear{1e9, 1e9};
    Timing tls{1e9, 1e9};
    std::size_t rows = 0;
    for (int round = 0; round < 3; ++round) {
        CheckState overTls;
        Timing run = TimeCheck(secured, overTls);
        tls = run.wall < tls.wall ? run : tls;
        CheckState inClear;
        run = TimeCheck(accounts, inClear);
        clear = run.wall < clear.wall ? run : clear;
        rows = overTls.table.size();
    }
    PrintCheck("clear text, best of 3", clear, rows);
    PrintCheck("SSL/TLS, best of 3", tls, rows);
    std::printf("  SSL/TLS wall time: x%.2f of clear text; CPU x%.2f\n", tls.wall / clear.wall,
                tls.cpu / clear.cpu);
    std::puts("  (client CPU is this process only; Dovecot's own time is in the wall time)\n");
}

} // namespace

int main(int argc, char** argv) {
    if ((argc == 6 || argc == 7) && std::strcmp(argv[1], "--one-check") == 0) {
        return RunOneCheck(argv[2], argv[3], argv[4], std::atoi(argv[5]),
                           argc == 7 && std::strcmp(argv[6], "imap") == 0 ? Protocol::Imap
                                                                          : Protocol::Pop3);
    }
    const bool quick = argc == 2 && std::strcmp(argv[1], "--quick") == 0;
    testpki::TestAuthority authority;
    ::setenv("SSL_CERT_FILE", authority.AuthorityFile().c_str(), 1);
    const testpki::IssuedCertificate certificate = authority.Issue({{"127.0.0.1"}});
    if (argc == 2 && std::strcmp(argv[1], "--sign-in") == 0) {
        RunSignInBench(certificate);
        return 0;
    }
    DovecotServer server(DovecotTls{certificate.certificateFile, certificate.keyFile});
    // All users exist before the first login: Dovecot rereads its password
    // file at most once a second, so a user added later may not be found.
    for (const char* user :
         {"first", "repeat", "big", "huge", "thirty", "bench", "state", "s1k",   "s10k",  "s50k",
          "sbs2k", "sbs5k",  "m1k", "m10k", "empty",  "ipush", "i50k",  "iu10k", "iu50k", "c50k"}) {
        server.AddUser(user, std::string(user) + "-pw");
    }
    if (argc == 2 && std::strcmp(argv[1], "--memory") == 0) {
        RunMemoryBench(server);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--programs") == 0) {
        RunProgramBench(server, true);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--side-by-side") == 0) {
        RunSideBySideBench(server);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--state") == 0) {
        RunCommandLineStateBench(server);
        RunStartStateBench(server, "big", 50000, true);
        RunSecondCheckStateBench(server, "c50k", 50000);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--command-line") == 0) {
        RunCommandLineBench(server, true);
        RunSecondCheckStateBench(server, "c50k", 50000);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--scale") == 0) {
        RunScaleBench(server);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--link") == 0) {
        RunLinkBench(server, true);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--imap") == 0) {
        RunImapBench(server);
        return 0;
    }
    RunLinkBench(server, quick);
    RunScaleBench(server);
    RunCommandLineStateBench(server);
    RunMemoryBench(server);
    RunStartStateBench(server, "big", 50000, false);
    RunSecondCheckStateBench(server, "c50k", 50000);
    RunProgramBench(server, false);
    RunSideBySideBench(server);
    RunSplitWritesBench(server);
    RunTlsBench(server);
    RunSignInBench(certificate);
    RunImapBench(server);

    std::vector<std::string> ids;
    for (int n = 1; n <= kMessages; ++n) {
        ids.push_back(BenchMessageId(n));
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
    std::printf("\nProcess RSS while a mailbox of %d messages gets all fresh ids at every check:\n",
                kChurnMessages);
    MeasureChurn("ids forgotten as kept", KnownMessageIds::kReadsKept);
    MeasureChurn("every id kept (as before)", std::numeric_limits<uint64_t>::max());
    return 0;
}
