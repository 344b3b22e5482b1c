// Waiting for an IMAP connection's reports as the tray's event loop will:
// poll() on its socket, then TakeEvents(), which never waits itself.
#pragma once

#include "ImapConnection.h"

#include <chrono>
#include <poll.h>

inline bool SocketReadable(int fd, std::chrono::milliseconds limit) {
    pollfd entry{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&entry, 1, static_cast<int>(limit.count())) > 0;
}

// The first report that is not Quiet, or Quiet when limit passed first.
inline ImapPush AwaitReport(CImapConnection& conversation, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    for (;;) {
        ImapPush report = conversation.TakeEvents();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (report != ImapPush::Quiet || left.count() <= 0 ||
            !SocketReadable(conversation.SocketFd(), left)) {
            return report;
        }
    }
}
