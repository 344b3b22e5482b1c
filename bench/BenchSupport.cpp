#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

std::string BenchMessageId(int n) {
    return "<" + std::to_string(1733550000 + n) + "." + std::to_string(n) +
           ".bench@mail.example.org>";
}

std::string BenchMessage(int n, std::size_t headerBytes) {
    std::string number = std::to_string(n);
    std::string header = "Return-Path: <sender" + number +
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
                         BenchMessageId(n) +
                         "\n"
                         "MIME-Version: 1.0\n"
                         "Content-Type: text/plain; charset=utf-8\n";
    while (header.size() < headerBytes) {
        header += "X-Trace: hop " + std::to_string(header.size()) +
                  " via filter.example.net, spam score 0.1, checked Sat, 7 Dec 2024\n";
    }
    return header + "\n"
                    "A body of a few lines that the check never downloads.\n"
                    "Second line.\nThird line.\n";
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

Timing TimeCheck(const AccountList& accounts, CheckState& state) {
    std::vector<int32_t> counts;
    QuietObserver observer;
    double cpuStart = CpuSeconds();
    auto wallStart = std::chrono::steady_clock::now();
    RunCheck(accounts, counts, state.table, state.known, state.cache, state.signIns, observer);
    std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    return {wall.count(), CpuSeconds() - cpuStart};
}

std::size_t ErrorRows(const MessageTable& table) {
    return table.CountOf(MessageError);
}

void PrintRun(const char* label, const Timing& timing, const DelayRelay::Counts& counts,
              const MessageTable& table) {
    std::printf("  %-44s %8.3f s  %5llu round trips  %8.1f KB moved  %6zu rows%s\n", label,
                timing.wall, static_cast<unsigned long long>(counts.roundTrips),
                static_cast<double>(counts.toServer + counts.toClient) / 1000.0, table.size(),
                ErrorRows(table) > 0 ? "  (ERRORS)" : "");
}

double PeakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

long StatusKiB(const std::string& process, const std::string& field) {
    std::ifstream status("/proc/" + process + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == field + ":") {
            status >> value;
            return value;
        }
        status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return -1;
}

Folders::Folders() {
    static int count = 0;
    root = fs::temp_directory_path() /
           ("tarvo-bench-state-" + std::to_string(getpid()) + "-" + std::to_string(++count));
    fs::create_directories(root / "Halvik");
    // The tray program's one-copy lock lives here; Qt wants it private.
    fs::create_directories(root / "runtime");
    fs::permissions(root / "runtime", fs::perms::owner_all);
}

Folders::~Folders() {
    fs::remove_all(root);
}

std::string Folders::Settings() const {
    return (root / "Halvik" / "Tarvo.reg").string();
}

ProgramRun RunProgram(const std::vector<const char*>& args, const Folders& folders) {
    std::fflush(stdout);
    std::vector<char*> argv;
    for (const char* arg : args) {
        argv.push_back(const_cast<char*>(arg));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // HOME too, for a program that keeps its files there.
        ::setenv("HOME", folders.root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", folders.root.c_str(), 1);
        ::setenv("XDG_STATE_HOME", (folders.root / "state").c_str(), 1);
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr) {
            ::_exit(127);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            static_cast<double>(usage.ru_maxrss) / 1024.0,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

ProgramRun RunCommandLineCheck(const Folders& folders) {
    return RunProgram({TARVO_BINARY, "--check"}, folders);
}
