#include "StateRuns.h"

#include "AppProfile.h"
#include "BenchSupport.h"
#include "DelayRelay.h"
#include "DovecotServer.h"
#include "FileRegistry.h"
#include "SettingsStore.h"
#include "StateFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

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

void RunSecondCheckStateBench(DovecotServer& server, const char* user, int messages) {
    for (int n = 1; n <= messages; ++n) {
        server.Deliver(user, BenchMessage(n));
    }
    const AccountList accounts{{server.Address(), user, std::string(user) + "-pw"}};
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration<double>(d).count() * 1e3;
    };
    std::printf("The state of a second tarvo --check of %d messages, loaded before the check"
                " and saved after it as the command line does, median of 5:\n",
                messages);
    // On a memory file system a sync costs nothing: what is left is the state's own.
    for (const char* where : {"/dev/shm", "/tmp"}) {
        const fs::path root =
            fs::path(where) / ("tarvo-bench-second-" + std::to_string(::getpid()));
        fs::create_directories(root);
        const std::string path = (root / "Tarvo.state").string();
        // The state's wall and CPU times, median of a few runs, and the check's.
        const auto run = [&](const char* label, int runs, bool newMail) {
            std::vector<double> loads, saves, states, cpus;
            double check = 0;
            bool saved = true;
            for (int n = 0; n < runs; ++n) {
                if (newMail) {
                    server.Deliver(user, BenchMessage(++messages));
                }
                CheckState state;
                StateFile file(path, ChannelLimits{});
                const double cpuStart = CpuSeconds();
                const auto start = Clock::now();
                file.Load(accounts, state.cache, state.known, state.signIns);
                const auto loaded = Clock::now();
                const double cpuLoaded = CpuSeconds();
                check = TimeCheck(accounts, state).wall;
                const double cpuSaving = CpuSeconds();
                const auto saving = Clock::now();
                saved =
                    file.SaveHeaders(accounts, state.cache, state.table, state.signIns) && saved;
                const auto end = Clock::now();
                cpus.push_back((cpuLoaded - cpuStart + CpuSeconds() - cpuSaving) * 1e3);
                loads.push_back(ms(loaded - start));
                saves.push_back(ms(end - saving));
                states.push_back(loads.back() + saves.back());
            }
            const auto median = [](std::vector<double> v) {
                std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
                return v[v.size() / 2];
            };
            std::printf("  %-9s %-16s load %6.1f ms  save %6.1f ms  state %6.1f ms wall, %6.1f ms"
                        " CPU%s  (the check %.2f s)\n",
                        where, label, median(loads), median(saves), median(states), median(cpus),
                        saved ? "" : " (NOT SAVED)", check);
        };
        run("first, no state", 1, false);
        run("then 1 new", 5, true);
        run("then no change", 5, false);
        fs::remove_all(root);
    }
    std::puts("");
}
