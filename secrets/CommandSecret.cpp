#include "CommandSecret.h"

#include "Format.h"
#include "Quote.h"
#include "Translate.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const char* const kCommand = QT_TRANSLATE_NOOP("Secrets", "The password command");
// Enough for any token; what a command prints beyond is read and dropped.
constexpr std::size_t kKeptBytes = 64 * 1024;

// The read end is non-blocking, so that the reads fit in the slices.
struct Pipe {
    int read = -1;
    int write = -1;
    bool Open() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return false;
        }
        read = fds[0];
        write = fds[1];
        const int flags = fcntl(read, F_GETFL);
        return flags >= 0 && fcntl(read, F_SETFL, flags | O_NONBLOCK) == 0;
    }
    void CloseWrite() {
        if (write >= 0) {
            close(write);
            write = -1;
        }
    }
    ~Pipe() {
        CloseWrite();
        if (read >= 0) {
            close(read);
        }
    }
};

// What a command wrote to one stream, up to kKeptBytes.
struct Written {
    std::string kept;
    bool cut = false; // more came than was kept
};

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// Reads what is there; false at the end of the stream.
bool Drain(int fd, Written& written) {
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got > 0) {
            const auto room = kKeptBytes - std::min(kKeptBytes, written.kept.size());
            const auto taken = std::min(room, static_cast<std::size_t>(got));
            written.kept.append(buffer.data(), taken);
            written.cut |= taken < static_cast<std::size_t>(got);
            continue;
        }
        return got < 0 && (errno == EAGAIN || errno == EINTR);
    }
}

// Starts the command with the pipes as its standard output and error, and
// nothing else of this program's: no other descriptor (one inherited without
// close-on-exec would reach the command and whatever it leaves running), no
// blocked or ignored signal (an ignored SIGPIPE keeps "... | head -1" from
// ending). 0, or the error of the step that failed.
int Spawn(const std::string& command, int out, int err, pid_t& pid) {
    posix_spawn_file_actions_t actions;
    int failed = posix_spawn_file_actions_init(&actions);
    if (failed != 0) {
        return failed;
    }
    posix_spawnattr_t attributes;
    failed = posix_spawnattr_init(&attributes);
    if (failed != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return failed;
    }
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    // A group of its own, so that what the shell started ends with it.
    const short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    failed = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (failed == 0) {
        failed = posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    }
    if (failed == 0) {
        failed = posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    }
    if (failed == 0) {
        failed = posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    }
    if (failed == 0) {
        failed = posix_spawnattr_setflags(&attributes, flags);
    }
    if (failed == 0) {
        failed = posix_spawnattr_setpgroup(&attributes, 0);
    }
    if (failed == 0) {
        failed = posix_spawnattr_setsigmask(&attributes, &none);
    }
    if (failed == 0) {
        failed = posix_spawnattr_setsigdefault(&attributes, &all);
    }
    if (failed == 0) {
        failed = posix_spawn(&pid, "/bin/sh", &actions, &attributes, const_cast<char* const*>(argv),
                             environ);
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return failed;
}

std::string ExitReason(int status, const std::string& errorLine) {
    if (WIFSIGNALED(status)) {
        return errorLine.empty()
                   ? Format(translate("Secrets", "The password command was ended by signal %1."),
                            WTERMSIG(status))
                   : Format(translate("Secrets", "The password command was ended by signal %1: %2"),
                            WTERMSIG(status), errorLine);
    }
    return errorLine.empty()
               ? Format(translate("Secrets", "The password command failed with exit status %1."),
                        WEXITSTATUS(status))
               : Format(translate("Secrets", "The password command failed with exit status %1: %2"),
                        WEXITSTATUS(status), errorLine);
}

} // namespace

SecretOutcome CommandSecret::Fetch(const SecretRequest& request, const SecretWait& wait) const {
    SecretOutcome outcome;
    if (request.command.empty()) {
        outcome.reason = translate("Secrets", "No password command is set for this account.");
        return outcome;
    }
    if (wait.stopped && wait.stopped()) {
        outcome.stopped = true;
        outcome.reason = translate("Secrets", "The password command was stopped.");
        return outcome;
    }
    Pipe out;
    Pipe err;
    if (!out.Open() || !err.Open()) {
        outcome.reason =
            Format(translate("Secrets", "The password command could not be started: %1"),
                   std::strerror(errno));
        return outcome;
    }
    pid_t pid = -1;
    const int spawned = Spawn(request.command, out.write, err.write, pid);
    out.CloseWrite();
    err.CloseWrite();
    if (spawned != 0) {
        outcome.reason =
            Format(translate("Secrets", "The password command could not be started: %1"),
                   std::strerror(spawned));
        return outcome;
    }

    Written printed;
    Written errors;
    bool outOpen = true;
    bool errOpen = true;
    bool exited = false;
    const auto deadline = std::chrono::steady_clock::now() + wait.bound;
    for (;;) {
        // Not reaped yet, so the group's number cannot be anyone else's below.
        siginfo_t info{};
        exited = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                 info.si_pid == pid;
        if (exited) {
            // What was written before the end is in the pipes; a background
            // child that holds them open is not waited for.
            Drain(out.read, printed);
            Drain(err.read, errors);
            break;
        }
        if (wait.stopped && wait.stopped()) {
            outcome.stopped = true;
            outcome.reason = translate("Secrets", "The password command was stopped.");
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            outcome.reason = OutOfTime(kCommand, wait.bound);
            break;
        }
        std::array<pollfd, 2> fds{
            {{outOpen ? out.read : -1, POLLIN, 0}, {errOpen ? err.read : -1, POLLIN, 0}}};
        poll(fds.data(), fds.size(), static_cast<int>(wait.slice.count()));
        if (outOpen && fds[0].revents != 0) {
            outOpen = Drain(out.read, printed);
        }
        if (errOpen && fds[1].revents != 0) {
            errOpen = Drain(err.read, errors);
        }
        if (wait.hook) {
            wait.hook();
        }
    }
    // Whatever the shell started ends with it.
    kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!exited) {
        return outcome;
    }

    const std::string secret = FirstLine(printed.kept);
    std::string errorLine = FirstLine(errors.kept);
    // A command that echoed its output to standard error must not have it shown.
    if (!secret.empty() && errorLine.find(secret) != std::string::npos) {
        errorLine.clear();
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        outcome.reason = ExitReason(status, CutQuote(errorLine));
    } else if (printed.cut && printed.kept.find('\n') == std::string::npos) {
        // Sent cut short, it would fail at the server for a reason none could see.
        outcome.reason =
            translate("Secrets", "The password command printed a first line longer than 64 KiB.");
    } else if (secret.empty()) {
        // What a command that ended well wrote to standard error may be the
        // token itself, sent to the wrong stream.
        outcome.reason = translate("Secrets", "The password command printed nothing.");
    } else {
        outcome.secret = secret;
    }
    return outcome;
}
