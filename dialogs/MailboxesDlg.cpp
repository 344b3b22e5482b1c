#include "MailboxesDlg.h"

#include "CertificateReview.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVariant>
#include <string_view>

namespace {

// The white space of the C library's isspace in the "C" locale. UTF-8
// continuation bytes are never among them, so a character is never split.
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// A field filled from an account remembers that account's bytes, so a name
// or password that isn't valid UTF-8 comes back unchanged unless edited.
const char* const kShown = "tarvoShown";
const char* const kBytes = "tarvoBytes";

void SetField(QLineEdit* field, const std::string& bytes) {
    const QString text = DisplayText(bytes);
    field->setText(text);
    field->setProperty(kShown, text);
    field->setProperty(kBytes, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string FieldBytes(const QLineEdit* field) {
    if (field->text() == field->property(kShown).toString()) {
        return field->property(kBytes).toByteArray().toStdString();
    }
    return TypedText(field->text());
}

// The choice's entries in the order of the stored numbers.
const int kNewAccountSecurity = static_cast<int>(Security::Tls);
constexpr int32_t kFromFile = 0;
constexpr int32_t kFromKeyring = 1;
constexpr int32_t kFromCommand = 2;
// Where a new account's password goes when a keyring answers at Add.
constexpr int32_t kNewAccountSource = kFromKeyring;

// Every parallel list of the accounts, so that adding or removing an account
// keeps them equally long; a new list is one more line here.
template <typename Change> void ForEachList(AccountList& accounts, Change change) {
    change(accounts.servers);
    change(accounts.users);
    change(accounts.passwords);
    change(accounts.securities);
    change(accounts.certificates);
    change(accounts.auths);
    change(accounts.secretSources);
    change(accounts.secretCommands);
}

QString LineText(const AccountList& accounts, std::size_t i) {
    return AccountName(accounts.servers[i], accounts.users[i]);
}

} // namespace

CMailboxesDlg::CMailboxesDlg(MessageBoxes& boxes, QWidget* parent, KeyringWrite keyring)
    // No close box: Done and Escape end it.
    : TemplateDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_boxes(boxes), m_list(new QTreeWidget(this)), m_server(new QLineEdit(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)), m_security(new QComboBox(this)),
      m_signIn(new QComboBox(this)), m_source(new QComboBox(this)), m_command(new QLineEdit(this)),
      m_keyring(std::move(keyring)) {
    setWindowTitle(QStringLiteral("Mailboxes"));
    setFixedSize(Units().Size(238, 173));

    Place(m_list, "list", 7, 7, 224, 48);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    Place(m_server, "server", 62, 62, 98, 14);
    Place(m_user, "user", 62, 80, 98, 14);
    Place(m_password, "password", 62, 98, 98, 14);
    m_password->setEchoMode(QLineEdit::Password);
    auto* add = Place(new QPushButton(QStringLiteral("Add"), this), "add", 181, 62, 50, 14);
    add->setDefault(true);
    auto* done = Place(new QPushButton(QStringLiteral("Done"), this), "done", 181, 98, 50, 14);
    Place(new QLabel(QStringLiteral("POP3 Server:"), this), "serverLabel", 7, 65, 45, 8);
    Place(new QLabel(QStringLiteral("Username:"), this), "userLabel", 7, 83, 45, 8);
    Place(new QLabel(QStringLiteral("Password:"), this), "passwordLabel", 7, 101, 45, 8);
    auto* remove =
        Place(new QPushButton(QStringLiteral("Delete"), this), "delete", 181, 80, 50, 14);
    // Two lines, so that the choice lines up with the fields above it.
    auto* securityLabel = new QLabel(QStringLiteral("Connection security:"), this);
    securityLabel->setWordWrap(true);
    Place(securityLabel, "securityLabel", 7, 114, 50, 18);
    Place(m_security, "security", 62, 116, 98, 14);
    m_security->addItems(
        {QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")});
    m_security->setCurrentIndex(kNewAccountSecurity);
    auto* certificate = Place(new QPushButton(QStringLiteral("Certificate..."), this),
                              "certificate", 181, 116, 50, 14);

    // How the account signs in and where its secret comes from, with a
    // mnemonic each, the command beside its source.
    auto* signInLabel = new QLabel(QStringLiteral("Sign-&in:"), this);
    signInLabel->setBuddy(m_signIn);
    Place(signInLabel, "signInLabel", 7, 137, 50, 8);
    Place(m_signIn, "signIn", 62, 134, 98, 14);
    m_signIn->addItems({QStringLiteral("Automatic"), QStringLiteral("Password only"),
                        QStringLiteral("OAuth 2.0")});
    auto* sourceLabel = new QLabel(QStringLiteral("Password &from:"), this);
    sourceLabel->setBuddy(m_source);
    Place(sourceLabel, "sourceLabel", 7, 155, 52, 8);
    Place(m_source, "source", 62, 152, 70, 14);
    m_source->addItems({QStringLiteral("This file"), QStringLiteral("Keyring"),
                        QStringLiteral("Command"), QStringLiteral("Online account")});
    Place(m_command, "secretCommand", 136, 152, 95, 14);
    m_command->setPlaceholderText(QStringLiteral("command printing it"));
    setTabOrder(m_password, m_source);
    setTabOrder(m_source, m_command);
    setTabOrder(m_command, m_signIn);
    setTabOrder(m_signIn, m_security);
    connect(m_source, &QComboBox::currentIndexChanged, this, [this] { EnableSourceFields(); });
    connect(m_source, &QComboBox::activated, this, [this] { m_sourceChosen = true; });
    m_source->setCurrentIndex(kNewAccountSource);
    EnableSourceFields();

    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnClick(item); });
    connect(add, &QPushButton::clicked, this, &CMailboxesDlg::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CMailboxesDlg::OnDelete);
    connect(certificate, &QPushButton::clicked, this, &CMailboxesDlg::OnCertificate);
    connect(done, &QPushButton::clicked, this, &CMailboxesDlg::OnDone);
}

void CMailboxesDlg::OnInitDialog() {
    // The owner keeps the lists equally long; even out a short one rather
    // than read past its end.
    const std::size_t count = accounts.size();
    ForEachList(accounts, [count](auto& list) { list.resize(count); });

    m_list->setHeaderLabels({QStringLiteral("Configured servers")});
    m_list->setColumnWidth(0, m_list->contentsRect().width());
    for (std::size_t i = 0; i < count; ++i) {
        new QTreeWidgetItem(m_list, {LineText(accounts, i)});
    }
    SetCaption();
}

void CMailboxesDlg::SetCaption() {
    const std::size_t count = accounts.size();
    setWindowTitle(count > 0 ? QStringLiteral("%1 server(s) to check").arg(count)
                             : QStringLiteral("No servers to check"));
}

void CMailboxesDlg::OnClick(QTreeWidgetItem* item) {
    const int index = m_list->indexOfTopLevelItem(item);
    if (index < 0 || static_cast<std::size_t>(index) >= accounts.size()) {
        return;
    }
    const auto i = static_cast<std::size_t>(index);
    SetField(m_server, accounts.servers[i]);
    SetField(m_user, accounts.users[i]);
    SetField(m_password, accounts.passwords[i]);
    m_security->setCurrentIndex(static_cast<int>(SecurityFromStored(accounts.securities[i])));
    m_signIn->setCurrentIndex(accounts.auths[i]);
    m_source->setCurrentIndex(accounts.secretSources[i]);
    SetField(m_command, accounts.secretCommands[i]);
    m_sourceChosen = false;
    // Left empty, Add leaves the keyring's password as it is.
    m_password->setPlaceholderText(accounts.secretSources[i] == kFromKeyring
                                       ? QStringLiteral("kept in the keyring")
                                       : QString());
}

void CMailboxesDlg::EnableSourceFields() {
    const int source = m_source->currentIndex();
    m_password->setEnabled(source == kFromFile || source == kFromKeyring);
    m_command->setEnabled(source == kFromCommand);
}

void CMailboxesDlg::ClearFields() {
    SetField(m_server, {});
    SetField(m_user, {});
    SetField(m_password, {});
    m_password->setPlaceholderText({});
    m_security->setCurrentIndex(kNewAccountSecurity);
    m_signIn->setCurrentIndex(0);
    m_source->setCurrentIndex(kNewAccountSource);
    SetField(m_command, {});
    m_sourceChosen = false;
}

void CMailboxesDlg::OnAdd() {
    const std::string server = Trimmed(FieldBytes(m_server));
    if (server.empty()) {
        SetField(m_server, {});
        return;
    }
    const std::string user = FieldBytes(m_user);
    const std::string password = FieldBytes(m_password);
    const int32_t security = m_security->currentIndex();
    int32_t source = m_source->currentIndex();

    // An account is its server and user name together: Add changes that
    // account (each copy of it, should the file hold it twice) or adds it.
    auto named = [&](std::size_t i) {
        return accounts.servers[i] == server && accounts.users[i] == user;
    };
    std::size_t existing = 0;
    while (existing < accounts.size() && !named(existing)) {
        ++existing;
    }
    const bool found = existing < accounts.size();
    std::string command = FieldBytes(m_command);
    if (found && !m_sourceChosen) {
        source = accounts.secretSources[existing];
        command =
            source == kFromCommand && command.empty() ? accounts.secretCommands[existing] : command;
    }
    if (source == kFromKeyring &&
        (!found || accounts.secretSources[existing] != kFromKeyring || !password.empty())) {
        // The keyring first: the file gives up the password only once the
        // keyring holds it.
        const std::string reason =
            m_keyring ? m_keyring(server, user, password) : std::string("No keyring is at hand.");
        if (!reason.empty() && found) {
            m_boxes.Show(this, TarvoString(IDS_APP_TITLE),
                         QStringLiteral("The password could not be put in the keyring, so %1 "
                                        "is left as it was.\n\n%2")
                             .arg(AccountName(server, user), DisplayText(reason)),
                         MessageBoxes::Icon::Exclamation);
            return;
        }
        if (!reason.empty()) {
            source = kFromFile;
        }
    }
    const std::string kept = source == kFromFile ? password : std::string();
    auto change = [&](std::size_t i) {
        accounts.passwords[i] = kept;
        accounts.securities[i] = security;
        accounts.auths[i] = m_signIn->currentIndex();
        accounts.secretSources[i] = source;
        accounts.secretCommands[i] = command;
    };
    for (std::size_t i = existing; i < accounts.size(); ++i) {
        if (named(i)) {
            change(i);
        }
    }
    if (!found) {
        ForEachList(accounts, [](auto& list) { list.emplace_back(); });
        const std::size_t added = accounts.size() - 1;
        accounts.servers[added] = server;
        accounts.users[added] = user;
        change(added);
        new QTreeWidgetItem(m_list, {LineText(accounts, added)});
    }

    ClearFields();
    SetCaption();
}

// Removes one account: the one named by the server and user fields, the
// selected line among equal ones, so what the fields show is what goes.
void CMailboxesDlg::OnDelete() {
    const std::string server = FieldBytes(m_server);
    const std::string user = FieldBytes(m_user);
    auto named = [&](std::size_t i) {
        return i < accounts.size() && accounts.servers[i] == server && accounts.users[i] == user;
    };
    QTreeWidgetItem* selected = m_list->currentItem();
    auto at = static_cast<std::size_t>(
        selected != nullptr && selected->isSelected() ? m_list->indexOfTopLevelItem(selected) : -1);
    if (!named(at)) {
        at = 0;
        while (at < accounts.size() && !named(at)) {
            ++at;
        }
    }
    if (at < accounts.size()) {
        const auto offset = static_cast<std::ptrdiff_t>(at);
        ForEachList(accounts, [offset](auto& list) { list.erase(list.begin() + offset); });
        delete m_list->takeTopLevelItem(static_cast<int>(at));
    }
    SetCaption();
}

std::string CMailboxesDlg::UnsavedServer() const {
    const std::string server = Trimmed(FieldBytes(m_server));
    const std::string user = FieldBytes(m_user);
    const std::string password = FieldBytes(m_password);
    const int32_t security = m_security->currentIndex();
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const int32_t source =
            m_sourceChosen ? m_source->currentIndex() : accounts.secretSources[i];
        // A password typed for the keyring is still to be put there.
        const bool samePassword = source == kFromFile      ? accounts.passwords[i] == password
                                  : source == kFromKeyring ? password.empty()
                                                           : true;
        if (accounts.servers[i] == server && accounts.users[i] == user && samePassword &&
            accounts.securities[i] == security && accounts.auths[i] == m_signIn->currentIndex() &&
            accounts.secretSources[i] == source &&
            (!m_sourceChosen || accounts.secretCommands[i] == FieldBytes(m_command))) {
            return {};
        }
    }
    return server;
}

// An account typed in full and then Done, without Add, would be lost; Escape
// still leaves without asking.
void CMailboxesDlg::OnDone() {
    const std::string server = UnsavedServer();
    if (!server.empty()) {
        const QString account = AccountName(server, FieldBytes(m_user));
        switch (m_boxes.Ask(this, TarvoString(IDS_APP_TITLE),
                            QStringLiteral("Add %1 before closing?").arg(account),
                            MessageBoxes::Choices::YesNoCancel)) {
        case MessageBoxes::Answer::Yes:
            OnAdd();
            break;
        case MessageBoxes::Answer::No:
            break;
        case MessageBoxes::Answer::Cancel:
            return;
        }
    }
    accept();
}

void CMailboxesDlg::OnCertificate() {
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (index < 0 || static_cast<std::size_t>(index) >= accounts.size()) {
        m_boxes.Show(this, QStringLiteral("Certificate"),
                     QStringLiteral("Select a server in the list first."),
                     MessageBoxes::Icon::Information);
        return;
    }
    // The security as chosen now, which Add has not stored yet.
    ReviewCertificate(this, m_boxes, accounts, static_cast<std::size_t>(index),
                      SecurityFromStored(m_security->currentIndex()));
}
