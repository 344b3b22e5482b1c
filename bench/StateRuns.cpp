#include "StateRuns.h"

#include "AppProfile.h"
#include "BenchSupport.h"
#include "DelayRelay.h"
#include "DovecotServer.h"
#include "FileRegistry.h"
#include "SettingsStore.h"
#include "StateFile.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kCommandLineMessages = 5000;

void PrintRun(const char* label, double seconds, const DelayRelay::Counts& counts) {
    std::printf("  %-44s %8.3f s  %5llu round trips  %8.1f KB moved\n", label, seconds,
                static_cast<unsigned long long>(counts.roundTrips),
                static_cast<double>(counts.toServer + counts.toClient) / 1000.0);
}

} // namespace

void RunCommandLineStateBench(DovecotServer& server) {
    for (int n = 1; n <= kCommandLineMessages; ++n) {
        server.Deliver("state", BenchMessage(n));
    }
    Folders folders;
    DelayRelay relay(server.Port(), 10ms);
    FileRegistry registry(folders.Settings());
    AppProfile profile(registry);
    SaveSettings(profile, Options{}, {{relay.Address(), "state", "state-pw"}});

    std::puts("tarvo --check twice at a 20 ms round trip, the state file between:");
    double first = RunCommandLineCheck(folders).wall;
    PrintRun("first run, 5,000 messages, no state", first, relay.TakeCountsOnceEnded());
    server.Deliver("state", BenchMessage(kCommandLineMessages + 1));
    double second = RunCommandLineCheck(folders).wall;
    PrintRun("second run, 5,001 messages with 1 new", second, relay.TakeCountsOnceEnded());
    // What the runs are measured against, on this machine at this moment.
    CheckState state;
    TimeCheck({{relay.Address(), "state", "state-pw"}}, state);
    relay.TakeCountsOnceEnded();
    const Timing repeat = TimeCheck({{relay.Address(), "state", "state-pw"}}, state);
    PrintRun("  a repeat check inside one process", repeat.wall, relay.TakeCountsOnceEnded());
    std::puts("");
}

void RunStartStateBench(DovecotServer& server, const char* user, int messages, bool deliver) {
    for (int n = 1; deliver && n <= messages; ++n) {
        server.Deliver(user, BenchMessage(n));
    }
    Folders folders;
    const AccountList accounts{{server.Address(), user, std::string(user) + "-pw"}};
    CheckState state;
    TimeCheck(accounts, state);
    StateFile file((folders.root / "Tarvo.state").string(), ChannelLimits{});
    file.Save(accounts, state.cache, state.table, state.known, state.signIns);
    std::size_t texts = 0;
    for (const ScannedHeader& header : state.table.Headers()) {
        texts += header.Text().size();
    }
    const double before = PeakMegabytes();
    state = CheckState();

    std::printf("The state of %d messages at the tray program's start:\n", messages);
    const std::size_t size = fs::file_size(file.Path());
    std::printf("  state file %.1f MB: %.1f MB of header texts, %.0f bytes a message besides\n",
                static_cast<double>(size) / 1e6, static_cast<double>(texts) / 1e6,
                static_cast<double>(size - texts) / messages);
    for (int run = 0; run < 3; ++run) {
        CheckState loaded;
        const auto start = std::chrono::steady_clock::now();
        const StateLoad outcome = StateFile(file.Path(), ChannelLimits{})
                                      .Load(accounts, loaded.cache, loaded.known, loaded.signIns);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("  load %d: %.3f s%s, %zu ids known\n", run + 1, seconds,
                    outcome == StateLoad::Read ? "" : " (NOT READ)", loaded.known.DistinctCount());
    }
    std::printf("  peak RSS %.1f MB after the check, %.1f MB after the loads\n\n", before,
                PeakMegabytes());
}
