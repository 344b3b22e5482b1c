#include "TrayTip.h"

#include "Format.h"
#include "Translate.h"
#include "Utf8.h"
#include "resource.h"

#include <algorithm>
#include <vector>

namespace {

std::string Cut(const std::string& line, std::size_t cut) {
    if (line.size() <= cut) {
        return line;
    }
    if (IsValidUtf8(line)) {
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return line.substr(0, cut);
}

// The host a server is reached at, without the port a reason may leave out.
std::string_view HostOf(std::string_view server) {
    if (server.starts_with('[')) {
        return server.substr(1, server.find(']') - 1);
    }
    const std::size_t colon = server.find(':');
    return colon != server.rfind(':') ? server : server.substr(0, colon);
}

// One account's failure as the tooltip says it. Most reasons name the server
// already ("pop.example.org refused the connection."); then only a user name
// the mailbox shows is put before it, so the server is never said twice.
std::string Explained(const std::string& mailbox, std::string_view reason) {
    if (reason.empty()) {
        return mailbox;
    }
    const std::size_t at = mailbox.rfind('@');
    const std::string_view server = at == std::string::npos
                                        ? std::string_view(mailbox)
                                        : std::string_view(mailbox).substr(at + 1);
    if (reason.find(HostOf(server)) == std::string_view::npos) {
        return mailbox + ": " + std::string(reason);
    }
    return (at == std::string::npos ? "" : mailbox.substr(0, at) + ": ") + std::string(reason);
}

// Which accounts failed and why the first did, so that the reason is seen
// without opening the headers window. Where the names would push the reason
// out of the tray's room, their number stands for them. Empty when none
// failed.
std::string FailureLine(const MessageTable& table) {
    std::vector<std::size_t> failed;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table.State(i) == MessageError) {
            failed.push_back(i);
        }
    }
    if (failed.empty()) {
        return {};
    }
    const std::string first = Explained(table.Mailbox(failed[0]), table.HeaderText(failed[0]));
    if (failed.size() == 1) {
        return first;
    }
    std::string names;
    for (std::size_t i : failed) {
        names += (names.empty() ? "" : ", ") + table.Mailbox(i);
    }
    std::string line = Format(translate("TrayTip", "%1 failed. %2"), names, first);
    const int count = static_cast<int>(failed.size());
    return line.size() <= kTrayTipLimit
               ? line
               : Format(translate("TrayTip", "%n accounts failed. %1", nullptr, count), first);
}

} // namespace

TrayState FinalTrayState(const CheckOutcome& outcome, const MessageTable& table) {
    if (outcome.accounts == 0) {
        return {IDI_IDLE, translate("TrayTip", kNoMailboxesTip)};
    }
    const std::string failures = FailureLine(table);
    const std::string second = failures.empty() ? "" : "\n" + failures;
    if (outcome.total > 0) {
        return {IDI_UNREAD,
                translate("TrayTip", "You have %n unread message(s)", nullptr, outcome.total) +
                    second};
    }
    return {IDI_IDLE, failures.empty() ? translate("TrayTip", "No unread messages")
                                       : translate("TrayTip", "Error(s) occured") + second};
}

std::string FitTrayTip(const std::string& tip) {
    const std::size_t lineEnd = tip.find('\n');
    std::string fitted = Cut(tip.substr(0, lineEnd), kTrayTipLimit);
    if (lineEnd == std::string::npos) {
        return fitted;
    }
    std::string second = tip.substr(lineEnd + 1);
    std::replace(second.begin(), second.end(), '\n', ' ');
    constexpr std::string_view kGoesOn = "...";
    if (second.size() > kTrayTipLimit) {
        second = Cut(second, kTrayTipLimit - kGoesOn.size()).append(kGoesOn);
    }
    return fitted + '\n' + second;
}
