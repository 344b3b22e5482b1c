#include "FolderChoice.h"

#include "AccountSecret.h"
#include "FetchingWindow.h"
#include "ImapConnection.h"
#include "TemplateDialog.h"
#include "Text.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString Caption() {
    return QCoreApplication::translate("FolderChoice", "Folders");
}

// INBOX is the one name IMAP reads without regard to case.
bool SameFolder(std::string_view a, std::string_view b) {
    auto inbox = [](std::string_view name) {
        constexpr std::string_view kInbox = "INBOX";
        return std::equal(
            name.begin(), name.end(), kInbox.begin(), kInbox.end(),
            [](char c, char upper) { return (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) == upper; });
    };
    return a == b || (inbox(a) && inbox(b));
}

bool Holds(const std::vector<std::string>& folders, std::string_view name) {
    return std::any_of(folders.begin(), folders.end(),
                       [name](const std::string& folder) { return SameFolder(folder, name); });
}

// The server's folders, fetched as a check signs in, in the same bounded
// waits; null when cancelled or failed (the reason then set).
std::optional<std::vector<std::string>> Fetch(QWidget* owner, const Account& account,
                                              bool& cancelled, std::string& reason) {
    CImapConnection conversation(DialogWaitHook);
    const FetchingWindow fetching(
        owner, "folderFetch", Caption(),
        QCoreApplication::translate("FolderChoice", "Fetching the folders of %1...")
            .arg(AccountName(account.server, account.user)),
        [&conversation] { conversation.Abort(); });
    conversation.SetSecurity(account.security, account.certificate);
    SecretWait wait;
    wait.hook = DialogWaitHook;
    wait.stopped = [&conversation] { return conversation.Aborted(); };
    // The user asked for this: the keyring may ask to be unlocked.
    wait.mayPrompt = [] { return true; };
    const SecretOutcome secret = FetchAccountSecret(account, wait);
    std::optional<std::vector<std::string>> folders;
    if (secret.secret) {
        const SignIn signIn{account.signIn, *secret.secret, nullptr, {}};
        if (conversation.Connect(account.server, account.user, signIn,
                                 ImapDefaultPort(account.security)) != 0) {
            folders = conversation.ListFolders();
        }
        conversation.Close();
    }
    cancelled = fetching.Cancelled();
    reason = secret.secret ? conversation.FailureReason() : secret.reason;
    return folders;
}

// The folders listed, and after them those watched that the server did not
// list, so that none goes unseen; the watched ones ticked.
std::optional<std::vector<std::string>> Pick(QWidget* owner, const QString& account,
                                             const std::vector<std::string>& listed,
                                             const std::vector<std::string>& watched) {
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("folderChoice"));
    dialog.setWindowTitle(Caption());
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        QCoreApplication::translate("FolderChoice", "Watch these folders of %1:").arg(account)));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("folders"));
    layout->addWidget(list);
    std::vector<std::string> names = listed;
    for (const std::string& name : watched) {
        if (!Holds(names, name)) {
            names.push_back(name);
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        auto* item = new QListWidgetItem(
            DisplayText(name) +
                (i < listed.size() ? QString()
                                   : QCoreApplication::translate("FolderChoice", " (not listed)")),
            list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Holds(watched, name) ? Qt::Checked : Qt::Unchecked);
    }
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto ticked = [&] {
        std::vector<std::string> folders;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->checkState() == Qt::Checked) {
                folders.push_back(names[static_cast<std::size_t>(i)]);
            }
        }
        return folders;
    };
    // An account watches one folder at least.
    QObject::connect(list, &QListWidget::itemChanged, ok,
                     [&] { ok->setEnabled(!ticked().empty()); });
    ok->setEnabled(!ticked().empty());
    if (RunDialog(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return ticked();
}

} // namespace

std::string FolderListText(const std::vector<std::string>& folders) {
    std::string text;
    for (const std::string& name : folders) {
        if (!text.empty()) {
            text += ", ";
        }
        if (name.find_first_of(",\"") == std::string::npos && Trimmed(name) == name) {
            text += name;
            continue;
        }
        text += '"';
        for (const char c : name) {
            text += c == '"' ? "\"\"" : std::string(1, c);
        }
        text += '"';
    }
    return text;
}

std::vector<std::string> FolderList(std::string_view text) {
    std::vector<std::string> folders;
    std::string name;
    std::size_t kept = 0; // white space after the last character that counts is dropped
    bool quoted = false;
    auto end = [&] {
        name.resize(kept);
        if (!name.empty() && !Holds(folders, name)) {
            folders.push_back(name);
        }
        name.clear();
        kept = 0;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            name += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            continue;
        } else if (quoted || kWhiteSpace.find(c) == std::string_view::npos) {
            if (!quoted && c == ',') {
                end();
                continue;
            }
            name += c;
        } else {
            if (!name.empty()) {
                name += c;
            }
            continue;
        }
        kept = name.size();
    }
    end();
    return folders;
}

std::optional<std::vector<std::string>> ChooseFolders(QWidget* owner, MessageBoxes& boxes,
                                                      const Account& account) {
    bool cancelled = false;
    std::string reason;
    const std::optional<std::vector<std::string>> listed = Fetch(owner, account, cancelled, reason);
    if (!listed || cancelled) {
        if (!cancelled) {
            boxes.Show(owner, Caption(), DisplayText(reason), MessageBoxes::Icon::Exclamation);
        }
        return std::nullopt;
    }
    const std::vector<std::string> watched =
        account.folders.empty() ? std::vector<std::string>{"INBOX"} : account.folders;
    std::optional<std::vector<std::string>> chosen =
        Pick(owner, AccountName(account.server, account.user), *listed, watched);
    if (!chosen || *chosen == watched) {
        return std::nullopt;
    }
    return chosen;
}
