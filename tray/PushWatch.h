// IMAP connections held between checks, each waiting for its server to tell
// of a change: IDLE on the account's first folder, or NOTIFY for all of them
// where the server offers it. The event loop watches their sockets through
// WindowServices, so waiting costs no thread and no wake-up; the kernel's
// keep-alive finds a connection that went silent. A change asks for a check
// of that account alone; a connection that fails is opened again by such a
// check after a pause that grows with each failure.
#pragma once

#include "ImapConnection.h"
#include "Settings.h"
#include "WindowServices.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class PushWatch {
public:
    // RFC 2177: a client re-issues IDLE at least every 29 minutes.
    static constexpr uint32_t kRenewTimerId = 3;
    static constexpr std::chrono::milliseconds kRenewEvery{29 * 60 * 1000};
    static constexpr uint32_t kRetryTimerId = 4;
    static constexpr std::chrono::milliseconds kFirstPause{10'000};
    static constexpr std::chrono::milliseconds kLongestPause{10 * 60 * 1000};

    // check is asked for an account whose server reported a change, or whose
    // connection is to be opened again.
    PushWatch(WindowServices& services, std::function<void(std::size_t account)> check);
    ~PushWatch();

    PushWatch(const PushWatch&) = delete;
    PushWatch& operator=(const PushWatch&) = delete;

    // Takes over an account's connection after its check, and starts waiting;
    // a server that cannot wait this way has it closed.
    void Hold(std::size_t index, const Account& account,
              std::unique_ptr<CImapConnection> conversation);
    // Ends every held connection at once (Stop check, Quit, new settings, a
    // wake); the accounts held are given back.
    std::vector<std::size_t> DropAll();
    // The renewal and retry timers.
    void OnTimer(uint32_t id);

private:
    struct Held {
        std::vector<std::string> folders;
        std::unique_ptr<CImapConnection> conversation;
    };

    bool StartWaiting(Held& held);
    void OnReady(std::size_t index);
    // What a report found; true when the connection is still waiting.
    bool Heard(std::size_t index, ImapPush report);
    // With goodbye, LOGOUT where the connection still works.
    void Drop(std::size_t index, bool goodbye = true);
    // A check of the account after a pause that grows with each failure.
    void RetryLater(std::size_t index);

    WindowServices& m_services;
    std::function<void(std::size_t)> m_check;
    std::map<std::size_t, Held> m_held;
    std::map<std::size_t, std::chrono::milliseconds> m_pause; // of accounts that failed
    std::vector<std::size_t> m_retrying;
};
