#include "PushWatch.h"

#include <algorithm>
#include <utility>

PushWatch::PushWatch(WindowServices& services, std::function<void(std::size_t)> check)
    : m_services(services), m_check(std::move(check)) {}

PushWatch::~PushWatch() {
    DropAll();
}

void PushWatch::Hold(std::size_t index, const Account& account,
                     std::unique_ptr<CImapConnection> conversation) {
    Drop(index);
    Held held{account.folders.empty() ? std::vector<std::string>{"INBOX"} : account.folders,
              std::move(conversation)};
    if (!StartWaiting(held)) {
        held.conversation->Close();
        return;
    }
    m_pause.erase(index);
    CImapConnection& waiting = *held.conversation;
    m_held.emplace(index, std::move(held));
    // What came with the answer to IDLE is read already: the socket will not
    // tell of it.
    if (Heard(index, waiting.TakeEvents())) {
        m_services.WatchSocket(waiting.SocketFd(), [this, index] { OnReady(index); });
        m_services.SetTimer(kRenewTimerId, static_cast<uint32_t>(kRenewEvery.count()));
    }
}

bool PushWatch::StartWaiting(Held& held) {
    CImapConnection& conversation = *held.conversation;
    return conversation.Capabilities().notify ? conversation.StartNotify(held.folders)
                                              : conversation.StartIdle(held.folders.front());
}

void PushWatch::OnReady(std::size_t index) {
    auto found = m_held.find(index);
    if (found == m_held.end()) {
        return;
    }
    CImapConnection& conversation = *found->second.conversation;
    if (Heard(index, conversation.TakeEvents())) {
        m_services.WatchSocket(conversation.SocketFd(), [this, index] { OnReady(index); });
    }
}

bool PushWatch::Heard(std::size_t index, ImapPush report) {
    switch (report) {
    case ImapPush::Quiet:
        return true;
    case ImapPush::Changed:
        // The check opens a connection of its own and hands it back.
        Drop(index);
        m_check(index);
        return false;
    case ImapPush::Failed:
        Drop(index, false);
        RetryLater(index);
        return false;
    }
    return false;
}

void PushWatch::Drop(std::size_t index, bool goodbye) {
    auto found = m_held.find(index);
    if (found == m_held.end()) {
        return;
    }
    std::unique_ptr<CImapConnection> conversation = std::move(found->second.conversation);
    m_held.erase(found);
    m_services.UnwatchSocket(conversation->SocketFd());
    goodbye ? static_cast<void>(conversation->Close()) : conversation->Abort();
}

std::vector<std::size_t> PushWatch::DropAll() {
    std::vector<std::size_t> held;
    if (m_held.empty()) {
        return held;
    }
    for (auto& [index, waiting] : m_held) {
        m_services.UnwatchSocket(waiting.conversation->SocketFd());
        // At once: no goodbye that could wait on a server.
        waiting.conversation->Abort();
        held.push_back(index);
    }
    m_held.clear();
    m_services.KillTimer(kRenewTimerId);
    return held;
}

void PushWatch::RetryLater(std::size_t index) {
    auto [pause, first] = m_pause.try_emplace(index, kFirstPause);
    if (!first) {
        pause->second = std::min(pause->second * 2, kLongestPause);
    }
    if (std::find(m_retrying.begin(), m_retrying.end(), index) == m_retrying.end()) {
        m_retrying.push_back(index);
    }
    m_services.SetTimer(kRetryTimerId, static_cast<uint32_t>(pause->second.count()));
}

void PushWatch::OnTimer(uint32_t id) {
    if (id == kRetryTimerId) {
        m_services.KillTimer(kRetryTimerId);
        for (std::size_t index : std::exchange(m_retrying, {})) {
            m_check(index);
        }
        return;
    }
    if (id != kRenewTimerId) {
        return;
    }
    std::vector<std::size_t> renewed;
    for (auto& [index, waiting] : m_held) {
        renewed.push_back(index);
    }
    for (std::size_t index : renewed) {
        auto found = m_held.find(index);
        if (found == m_held.end()) {
            continue;
        }
        CImapConnection& conversation = *found->second.conversation;
        m_services.UnwatchSocket(conversation.SocketFd());
        if (!conversation.EndIdle() || !StartWaiting(found->second)) {
            Drop(index, false);
            RetryLater(index);
        } else if (Heard(index, conversation.TakeEvents())) {
            m_services.WatchSocket(conversation.SocketFd(), [this, index] { OnReady(index); });
        }
    }
}
