// A process killed in the middle of saving a file, for the tests that every
// save leaves the old file or the new one, never a mix.
#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Runs `work` in a child process, which calls the function it is given after
// each save, and kills it `share` (from 0 to 1) of two saves' time after its
// second save. The time of a save is measured in that run, so the kills
// spread over a save and the next however fast or loaded the machine is.
// False when the child never got that far.
inline bool KillInMidSave(double share,
                          const std::function<void(const std::function<void()>& saved)>& work) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return false;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return false;
    }
    if (pid == 0) {
        ::close(ready[0]);
        work([&] {
            if (::write(ready[1], "+", 1) != 1) {
                ::_exit(1);
            }
        });
        ::_exit(0);
    }
    ::close(ready[1]);
    auto awaitSave = [&] {
        pollfd saved{ready[0], POLLIN, 0};
        char sign = 0;
        return ::poll(&saved, 1, 30000) == 1 && ::read(ready[0], &sign, 1) == 1;
    };
    const bool began = awaitSave();
    const auto first = std::chrono::steady_clock::now();
    const bool measured = began && awaitSave();
    if (measured) {
        std::this_thread::sleep_for((std::chrono::steady_clock::now() - first) * 2 * share);
    }
    ::kill(pid, SIGKILL);
    const bool reaped = ::waitpid(pid, nullptr, 0) == pid;
    ::close(ready[0]);
    return measured && reaped;
}
