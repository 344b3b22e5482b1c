#include "CertificateReview.h"

#include "FetchingWindow.h"
#include "ImapConnection.h"
#include "Pop3Connection.h"
#include "TcpConnect.h"
#include "Text.h"

#include <QCoreApplication>
#include <QStringList>
#include <string>
#include <vector>

namespace {

QString Caption() {
    return QCoreApplication::translate("CertificateReview", "Certificate");
}

QString Details(const std::string& server, const PeerCertificate& shown) {
    return QCoreApplication::translate(
               "CertificateReview",
               "Server: %1\nSubject: %2\nIssuer: %3\nValid from %4 until %5\nSHA-256: %6")
        .arg(DisplayText(server), DisplayText(shown.subject), DisplayText(shown.issuer),
             ShownDate(shown.validFrom), ShownDate(shown.validUntil),
             QString::fromStdString(shown.fingerprint));
}

// What is trusted now comes first, so that No is seen to take it away.
QString TrustQuestion(const std::string& server, const PeerCertificate& shown,
                      const std::string& trusted) {
    QString now;
    if (!trusted.empty()) {
        now = QCoreApplication::translate(
                  "CertificateReview",
                  "This account trusts another certificate now (SHA-256 %1).\n\n")
                  .arg(QString::fromStdString(trusted));
    }
    return QCoreApplication::translate(
               "CertificateReview",
               "Not trusted: %1\n\n%2\n\n%3Trust exactly this certificate for this account? It is "
               "then accepted whoever issued it and whatever name it carries, and any other "
               "certificate is refused. No leaves the decision to the authorities this computer "
               "trusts.")
        .arg(DisplayText(shown.untrusted), Details(server, shown), now);
}

QString StopTrustingQuestion(const std::string& server, const PeerCertificate& shown) {
    return QCoreApplication::translate(
               "CertificateReview",
               "Not trusted: %1\n\n%2\n\nThis account trusts exactly this certificate now.\n\nStop "
               "trusting it? The next checks then leave the decision to the authorities this "
               "computer trusts. No keeps it trusted.")
        .arg(DisplayText(shown.untrusted), Details(server, shown));
}

// The port a connection of this protocol reaches when the server's name
// gives none.
uint32_t DefaultPortOf(Protocol protocol, Security security) {
    return protocol == Protocol::Imap ? ImapDefaultPort(security) : DefaultPort(security);
}

// An account's server as a connection reaches it: the name and the port,
// which an account may name itself or its protocol and security imply.
std::optional<Endpoint> Reached(const std::string& server, Protocol protocol, Security security) {
    return ParseEndpoint(server, DefaultPortOf(protocol, security));
}

// The other accounts the same certificate would answer for: on the same
// server and port, with a connection security that shows a certificate, and
// not already trusting this one.
std::vector<std::size_t> SameServer(const AccountList& accounts, std::size_t account,
                                    Protocol protocol, Security security,
                                    const std::string& fingerprint) {
    std::vector<std::size_t> others;
    const std::optional<Endpoint> here = Reached(accounts[account].server, protocol, security);
    for (std::size_t i = 0; here && i < accounts.size(); ++i) {
        const Security theirs = accounts[i].security;
        const std::optional<Endpoint> there =
            Reached(accounts[i].server, accounts[i].protocol, theirs);
        if (i != account && theirs != Security::None && there &&
            QString::fromStdString(there->name)
                    .compare(QString::fromStdString(here->name), Qt::CaseInsensitive) == 0 &&
            there->port == here->port && accounts[i].certificate != fingerprint) {
            others.push_back(i);
        }
    }
    return others;
}

void OfferToOthers(QWidget* owner, MessageBoxes& boxes, AccountList& accounts, std::size_t account,
                   Protocol protocol, Security security) {
    const std::string& fingerprint = accounts[account].certificate;
    const std::vector<std::size_t> others =
        SameServer(accounts, account, protocol, security, fingerprint);
    if (others.empty()) {
        return;
    }
    QStringList names;
    for (std::size_t i : others) {
        names << AccountName(accounts[i].server, accounts[i].user);
    }
    const QString question =
        QCoreApplication::translate(
            "CertificateReview",
            "Trust this certificate also for the other accounts on this server: %1?")
            .arg(names.join(QStringLiteral(", ")));
    if (boxes.Ask(owner, Caption(), question, MessageBoxes::Choices::YesNo) ==
        MessageBoxes::Answer::Yes) {
        for (std::size_t i : others) {
            accounts[i].certificate = fingerprint;
        }
    }
}

// Fetches as a check connects, in the same bounded waits; null when
// cancelled or failed (the reason then set).
template <typename Conversation>
std::optional<PeerCertificate> Fetch(QWidget* owner, const std::string& server, Security security,
                                     uint32_t port, bool& cancelled, std::string& reason) {
    Conversation conversation(DialogWaitHook);
    const FetchingWindow fetching(
        owner, "certificateFetch", Caption(),
        QCoreApplication::translate("CertificateReview", "Fetching the certificate of %1...")
            .arg(DisplayText(server)),
        [&conversation] { conversation.Abort(); });
    conversation.SetSecurity(security);
    std::optional<PeerCertificate> shown = conversation.InspectCertificate(server, port);
    cancelled = fetching.Cancelled();
    reason = conversation.FailureReason();
    return shown;
}

} // namespace

void ReviewCertificate(QWidget* owner, MessageBoxes& boxes, AccountList& accounts,
                       std::size_t account, Protocol protocol, Security security) {
    const std::string server = accounts[account].server;
    const uint32_t port = DefaultPortOf(protocol, security);
    bool cancelled = false;
    std::string reason;
    std::optional<PeerCertificate> shown =
        protocol == Protocol::Imap
            ? Fetch<CImapConnection>(owner, server, security, port, cancelled, reason)
            : Fetch<CPop3Connection>(owner, server, security, port, cancelled, reason);
    if (!shown || cancelled) {
        if (!cancelled) {
            boxes.Show(owner, Caption(), DisplayText(reason), MessageBoxes::Icon::Exclamation);
        }
        return;
    }
    std::string& trusted = accounts[account].certificate;
    if (shown->untrusted.empty()) {
        // Nothing to pin; a pin kept from before only narrows what is accepted.
        const QString verdict =
            QCoreApplication::translate(
                "CertificateReview",
                "This certificate is trusted by this computer; nothing to add.\n\n") +
            Details(server, *shown);
        if (trusted.empty()) {
            boxes.Show(owner, Caption(), verdict, MessageBoxes::Icon::Information);
        } else if (boxes.Ask(owner, Caption(),
                             verdict + QCoreApplication::translate(
                                           "CertificateReview",
                                           "\n\nThis account also trusts one certificate by hand "
                                           "(SHA-256 %1). Leave the decision to the authorities "
                                           "this computer trusts instead?")
                                           .arg(QString::fromStdString(trusted)),
                             MessageBoxes::Choices::YesNo) == MessageBoxes::Answer::Yes) {
            trusted.clear();
        }
        return;
    }
    if (trusted == shown->fingerprint) {
        // Looking at a certificate must not undo its trust: only a Yes to
        // giving it up does, and Enter and Escape keep it.
        if (boxes.Ask(owner, Caption(), StopTrustingQuestion(server, *shown),
                      MessageBoxes::Choices::YesNo) == MessageBoxes::Answer::Yes) {
            trusted.clear();
        }
        return;
    }
    const bool yes = boxes.Ask(owner, Caption(), TrustQuestion(server, *shown, trusted),
                               MessageBoxes::Choices::YesNo) == MessageBoxes::Answer::Yes;
    trusted = yes ? shown->fingerprint : "";
    if (yes) {
        OfferToOthers(owner, boxes, accounts, account, protocol, security);
    }
}
