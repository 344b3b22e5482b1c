#include "MailboxesDlg.h"

#include "CertificateReview.h"
#include "FetchingWindow.h"
#include "FolderChoice.h"
#include "SecretSource.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVariant>
#include <chrono>
#include <iterator>
#include <optional>

namespace {

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

// Each choice lists its entries in the order of the enum's numbers.
constexpr Security kNewAccountSecurity = Security::Tls;
// Most mail is read over IMAP now, and a POP3 count of a mailbox kept on the
// server would be every message in it.
constexpr Protocol kNewAccountProtocol = Protocol::Imap;
// A keyring that has to be made or unlocked first waits for the user to type
// its password at the desktop's prompt.
constexpr std::chrono::minutes kKeyringWait{2};

template <typename Enum> Enum Chosen(const QComboBox* choice) {
    return static_cast<Enum>(choice->currentIndex());
}

template <typename Enum> void Choose(QComboBox* choice, Enum value) {
    choice->setCurrentIndex(static_cast<int>(value));
}

// A new account's protocol until the user picks one: POP3 where the server's
// name says so, as POP3 servers have always been typed here.
Protocol GuessedProtocol(const QString& server) {
    const QString first = server.trimmed().section(QLatin1Char('.'), 0, 0).toLower();
    return first == QLatin1String("pop") || first == QLatin1String("pop3") ||
                   first == QLatin1String("pops")
               ? Protocol::Pop3
               : kNewAccountProtocol;
}

QString LineText(const Account& account) {
    return AccountName(account.server, account.user);
}

} // namespace

CMailboxesDlg::CMailboxesDlg(MessageBoxes& boxes, QWidget* parent, KeyringWrite keyring)
    // No close box: Done and Escape end it.
    : TemplateDialog(parent, FixedDialogFlags(false)), m_boxes(boxes),
      m_list(new QTreeWidget(this)), m_protocol(new QComboBox(this)),
      m_serverLabel(new QLabel(QCoreApplication::translate("MailboxesDlg", "POP3 Server:"), this)),
      m_server(new QLineEdit(this)), m_user(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_security(new QComboBox(this)), m_signIn(new QComboBox(this)), m_source(new QComboBox(this)),
      m_command(new QLineEdit(this)), m_folders(new QLineEdit(this)),
      m_fetchFolders(
          new QPushButton(QCoreApplication::translate("MailboxesDlg", "Folders..."), this)),
      m_keyring(std::move(keyring)) {
    setWindowTitle(QCoreApplication::translate("MailboxesDlg", "Mailboxes"));
    setFixedSize(Units().Size(238, 209));

    Place(m_list, "list", 7, 7, 224, 48);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    // The protocol first: it says what the server is and whether folders apply.
    auto* protocolLabel =
        new QLabel(QCoreApplication::translate("MailboxesDlg", "&Protocol:"), this);
    protocolLabel->setBuddy(m_protocol);
    Place(protocolLabel, "protocolLabel", 7, 65, 45, 8);
    Place(m_protocol, "protocol", 62, 62, 98, 14);
    m_protocol->addItems({QStringLiteral("POP3"), QStringLiteral("IMAP")});
    Place(m_server, "server", 62, 80, 98, 14);
    Place(m_user, "user", 62, 98, 98, 14);
    Place(m_password, "password", 62, 116, 98, 14);
    m_password->setEchoMode(QLineEdit::Password);
    auto* add = Place(new QPushButton(QCoreApplication::translate("MailboxesDlg", "Add"), this),
                      "add", 181, 62, 50, 14);
    add->setDefault(true);
    auto* done = Place(new QPushButton(QCoreApplication::translate("MailboxesDlg", "Done"), this),
                       "done", 181, 98, 50, 14);
    Place(m_serverLabel, "serverLabel", 7, 83, 45, 8);
    Place(new QLabel(QCoreApplication::translate("MailboxesDlg", "Username:"), this), "userLabel",
          7, 101, 45, 8);
    Place(new QLabel(QCoreApplication::translate("MailboxesDlg", "Password:"), this),
          "passwordLabel", 7, 119, 45, 8);
    auto* remove =
        Place(new QPushButton(QCoreApplication::translate("MailboxesDlg", "Delete"), this),
              "delete", 181, 80, 50, 14);
    // Two lines, so that the choice lines up with the fields above it.
    auto* securityLabel =
        new QLabel(QCoreApplication::translate("MailboxesDlg", "Connection security:"), this);
    securityLabel->setWordWrap(true);
    Place(securityLabel, "securityLabel", 7, 132, 50, 18);
    Place(m_security, "security", 62, 134, 98, 14);
    m_security->addItems({QCoreApplication::translate("MailboxesDlg", "None"),
                          QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")});
    Choose(m_security, kNewAccountSecurity);
    auto* certificate =
        Place(new QPushButton(QCoreApplication::translate("MailboxesDlg", "Certificate..."), this),
              "certificate", 181, 134, 50, 14);

    // How the account signs in and where its secret comes from, with a
    // mnemonic each, the command beside its source.
    auto* signInLabel = new QLabel(QCoreApplication::translate("MailboxesDlg", "Sign-&in:"), this);
    signInLabel->setBuddy(m_signIn);
    Place(signInLabel, "signInLabel", 7, 155, 50, 8);
    Place(m_signIn, "signIn", 62, 152, 98, 14);
    m_signIn->addItems({QCoreApplication::translate("MailboxesDlg", "Automatic"),
                        QCoreApplication::translate("MailboxesDlg", "Password only"),
                        QStringLiteral("OAuth 2.0")});
    auto* sourceLabel =
        new QLabel(QCoreApplication::translate("MailboxesDlg", "Password &from:"), this);
    sourceLabel->setBuddy(m_source);
    Place(sourceLabel, "sourceLabel", 7, 173, 52, 8);
    Place(m_source, "source", 62, 170, 70, 14);
    m_source->addItems({QCoreApplication::translate("MailboxesDlg", "This file"),
                        QCoreApplication::translate("MailboxesDlg", "Keyring"),
                        QCoreApplication::translate("MailboxesDlg", "Command"),
                        QCoreApplication::translate("MailboxesDlg", "Online account")});
    Place(m_command, "secretCommand", 136, 170, 95, 14);
    m_command->setPlaceholderText(
        QCoreApplication::translate("MailboxesDlg", "command printing it"));
    connect(m_source, &QComboBox::currentIndexChanged, this, [this] { EnableSourceFields(); });
    connect(m_source, &QComboBox::activated, this, [this] { m_sourceChosen = true; });
    Choose(m_source, NewAccountSource());
    EnableSourceFields();

    // Last, as Folders... signs in with everything above.
    auto* foldersLabel = new QLabel(QCoreApplication::translate("MailboxesDlg", "F&olders:"), this);
    foldersLabel->setBuddy(m_folders);
    Place(foldersLabel, "foldersLabel", 7, 191, 50, 8);
    Place(m_folders, "folders", 62, 188, 98, 14);
    m_folders->setPlaceholderText(QStringLiteral("INBOX"));
    Place(m_fetchFolders, "fetchFolders", 181, 188, 50, 14);
    connect(m_protocol, &QComboBox::currentIndexChanged, this, [this] { EnableProtocolFields(); });
    connect(m_protocol, &QComboBox::activated, this,
            [this] { m_protocolShown = ProtocolShown::Chosen; });
    connect(m_server, &QLineEdit::textChanged, this, [this](const QString& server) {
        if (m_protocolShown == ProtocolShown::Guessed) {
            Choose(m_protocol, GuessedProtocol(server));
        }
    });
    Choose(m_protocol, GuessedProtocol({}));
    EnableProtocolFields();

    // Top to bottom, a button after the field it serves; the account's own
    // buttons last.
    QWidget* const chain[] = {m_list,     m_protocol,     m_server, m_user,   m_password,
                              m_security, certificate,    m_signIn, m_source, m_command,
                              m_folders,  m_fetchFolders, add,      remove,   done};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }

    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnClick(item); });
    connect(add, &QPushButton::clicked, this, &CMailboxesDlg::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CMailboxesDlg::OnDelete);
    connect(certificate, &QPushButton::clicked, this, &CMailboxesDlg::OnCertificate);
    connect(m_fetchFolders, &QPushButton::clicked, this, &CMailboxesDlg::OnFolders);
    connect(done, &QPushButton::clicked, this, &CMailboxesDlg::OnDone);
}

void CMailboxesDlg::OnInitDialog() {
    m_list->setHeaderLabels({QCoreApplication::translate("MailboxesDlg", "Configured servers")});
    m_list->setColumnWidth(0, m_list->contentsRect().width());
    for (const Account& account : accounts) {
        new QTreeWidgetItem(m_list, {LineText(account)});
    }
    SetCaption();
    // The protocol follows the server's name, so the server is what a new
    // account is typed from; at the first start, what the user types at once.
    m_server->setFocus();
}

void CMailboxesDlg::SetCaption() {
    const int count = static_cast<int>(accounts.size());
    setWindowTitle(count > 0 ? QCoreApplication::translate("MailboxesDlg", "%n server(s) to check",
                                                           nullptr, count)
                             : QCoreApplication::translate("MailboxesDlg", "No servers to check"));
}

void CMailboxesDlg::OnClick(QTreeWidgetItem* item) {
    const int index = m_list->indexOfTopLevelItem(item);
    if (index < 0 || static_cast<std::size_t>(index) >= accounts.size()) {
        return;
    }
    const Account& account = accounts[static_cast<std::size_t>(index)];
    m_protocolShown = ProtocolShown::Account;
    Choose(m_protocol, account.protocol);
    SetField(m_server, account.server);
    SetField(m_user, account.user);
    SetField(m_password, account.password);
    Choose(m_security, account.security);
    Choose(m_signIn, account.signIn);
    Choose(m_source, account.secretSource);
    SetField(m_command, account.secretCommand);
    m_sourceChosen = false;
    SetField(m_folders, FolderListText(account.folders));
    // Left empty, Add leaves the keyring's password as it is.
    m_password->setPlaceholderText(
        account.secretSource == SecretSourceKind::Keyring
            ? QCoreApplication::translate("MailboxesDlg", "kept in the keyring")
            : QString());
}

// The keyring where there is one to ask; where it then fails at Add, the
// user is asked about this file instead.
SecretSourceKind CMailboxesDlg::NewAccountSource() const {
    return m_keyring ? SecretSourceKind::Keyring : SecretSourceKind::File;
}

void CMailboxesDlg::EnableSourceFields() {
    const auto source = Chosen<SecretSourceKind>(m_source);
    m_password->setEnabled(source == SecretSourceKind::File || source == SecretSourceKind::Keyring);
    m_command->setEnabled(source == SecretSourceKind::Command);
}

void CMailboxesDlg::EnableProtocolFields() {
    const bool imap = Chosen<Protocol>(m_protocol) == Protocol::Imap;
    m_serverLabel->setText(imap ? QCoreApplication::translate("MailboxesDlg", "IMAP Server:")
                                : QCoreApplication::translate("MailboxesDlg", "POP3 Server:"));
    m_folders->setEnabled(imap);
    m_fetchFolders->setEnabled(imap);
}

void CMailboxesDlg::ClearFields() {
    m_protocolShown = ProtocolShown::Guessed;
    SetField(m_server, {});
    SetField(m_user, {});
    SetField(m_password, {});
    m_password->setPlaceholderText({});
    Choose(m_security, kNewAccountSecurity);
    Choose(m_signIn, SignInMethod::Automatic);
    Choose(m_source, NewAccountSource());
    SetField(m_command, {});
    m_sourceChosen = false;
    SetField(m_folders, {});
}

std::size_t CMailboxesDlg::IndexOf(const std::string& server, const std::string& user) const {
    std::size_t i = 0;
    while (i < accounts.size() && (accounts[i].server != server || accounts[i].user != user)) {
        ++i;
    }
    return i;
}

Account CMailboxesDlg::Typed(const Account* known) const {
    Account typed{.server = Trimmed(FieldBytes(m_server)),
                  .user = FieldBytes(m_user),
                  .password = FieldBytes(m_password),
                  .security = Chosen<Security>(m_security),
                  .signIn = Chosen<SignInMethod>(m_signIn),
                  .secretSource = Chosen<SecretSourceKind>(m_source),
                  .secretCommand = FieldBytes(m_command),
                  .protocol = Chosen<Protocol>(m_protocol),
                  .folders = FolderList(FieldBytes(m_folders))};
    if (known == nullptr) {
        return typed;
    }
    typed.certificate = known->certificate;
    // Typed in again rather than picked from the list: what the user did not
    // choose stays the account's.
    if (!m_sourceChosen) {
        typed.secretSource = known->secretSource;
        if (typed.secretSource == SecretSourceKind::Command && typed.secretCommand.empty()) {
            typed.secretCommand = known->secretCommand;
        }
    }
    if (m_protocolShown == ProtocolShown::Guessed) {
        typed.protocol = known->protocol;
        if (typed.folders.empty()) {
            typed.folders = known->folders;
        }
    }
    return typed;
}

bool CMailboxesDlg::PutInKeyring(const std::string& server, const std::string& user,
                                 const std::string& password, SecretSourceKind& source) {
    const QString account = AccountName(server, user);
    std::string reason =
        QCoreApplication::translate("MailboxesDlg", "No keyring is at hand.").toStdString();
    if (m_keyring) {
        // A keyring to be made or unlocked first has the desktop ask for its
        // password, which takes the user a while: the wait shows, and may be
        // given up.
        const FetchingWindow waiting(
            this, "keyringWait", QCoreApplication::translate("MailboxesDlg", "Keyring"),
            QCoreApplication::translate("MailboxesDlg",
                                        "Waiting for the keyring to take the password of %1...")
                .arg(account));
        SecretWait wait;
        wait.hook = DialogWaitHook;
        wait.stopped = [&waiting] { return waiting.Cancelled(); };
        wait.bound = kKeyringWait;
        reason = m_keyring(server, user, password, wait);
        if (waiting.Cancelled()) {
            return false;
        }
    }
    if (reason.empty()) {
        return true;
    }
    const QString question =
        QCoreApplication::translate("MailboxesDlg",
                                    "The keyring did not take the password of %1:\n%2\n\nKeep the "
                                    "password in Tarvo's settings file instead?")
            .arg(account, DisplayText(reason));
    if (m_boxes.Ask(this, TarvoString(IDS_APP_TITLE), question, MessageBoxes::Choices::YesNo) !=
        MessageBoxes::Answer::Yes) {
        return false;
    }
    source = SecretSourceKind::File;
    return true;
}

bool CMailboxesDlg::OnAdd() {
    const std::string server = Trimmed(FieldBytes(m_server));
    if (server.empty()) {
        SetField(m_server, {});
        return false;
    }
    const std::string user = FieldBytes(m_user);
    // An account is its server and user name together: Add changes that
    // account (each copy of it, should the file hold it twice) or adds it.
    auto named = [&](std::size_t i) {
        return accounts[i].server == server && accounts[i].user == user;
    };
    const std::size_t existing = IndexOf(server, user);
    const bool found = existing < accounts.size();
    const Account typed = Typed(found ? &accounts[existing] : nullptr);
    const std::string& password = typed.password;
    SecretSourceKind source = typed.secretSource;
    // The keyring first: the file gives up the password only once the
    // keyring holds it.
    if (source == SecretSourceKind::Keyring &&
        (!found || accounts[existing].secretSource != SecretSourceKind::Keyring ||
         !password.empty()) &&
        !PutInKeyring(server, user, password, source)) {
        return false;
    }
    auto change = [&](Account& account) {
        account.password = source == SecretSourceKind::File ? password : std::string();
        account.security = typed.security;
        account.signIn = typed.signIn;
        account.secretSource = source;
        account.secretCommand = typed.secretCommand;
        account.protocol = typed.protocol;
        account.folders = typed.folders;
    };
    for (std::size_t i = existing; i < accounts.size(); ++i) {
        if (named(i)) {
            change(accounts[i]);
        }
    }
    if (!found) {
        Account& added = accounts.emplace_back();
        added.server = server;
        added.user = user;
        change(added);
        new QTreeWidgetItem(m_list, {LineText(added)});
    }

    ClearFields();
    SetCaption();
    return true;
}

// Removes one account: the one named by the server and user fields, the
// selected line among equal ones, so what the fields show is what goes.
void CMailboxesDlg::OnDelete() {
    const std::string server = FieldBytes(m_server);
    const std::string user = FieldBytes(m_user);
    auto named = [&](std::size_t i) {
        return i < accounts.size() && accounts[i].server == server && accounts[i].user == user;
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
        accounts.erase(accounts.begin() + static_cast<std::ptrdiff_t>(at));
        delete m_list->takeTopLevelItem(static_cast<int>(at));
    }
    SetCaption();
}

CMailboxesDlg::Unsaved CMailboxesDlg::UnsavedChange() const {
    const std::string server = Trimmed(FieldBytes(m_server));
    if (server.empty()) {
        return Unsaved::Nothing;
    }
    const std::string user = FieldBytes(m_user);
    Unsaved unsaved = Unsaved::NewAccount;
    for (const Account& account : accounts) {
        if (account.server != server || account.user != user) {
            continue;
        }
        const Account typed = Typed(&account);
        const SecretSourceKind source = typed.secretSource;
        // A password typed for the keyring is still to be put there.
        const bool samePassword = source == SecretSourceKind::File
                                      ? account.password == typed.password
                                  : source == SecretSourceKind::Keyring ? typed.password.empty()
                                                                        : true;
        if (samePassword && account.security == typed.security && account.signIn == typed.signIn &&
            account.secretSource == source && account.secretCommand == typed.secretCommand &&
            account.protocol == typed.protocol && account.folders == typed.folders) {
            return Unsaved::Nothing;
        }
        unsaved = Unsaved::Changes;
    }
    return unsaved;
}

// An account typed in full or changed and then Done, without Add, would be
// lost; Escape still leaves without asking.
void CMailboxesDlg::OnDone() {
    const Unsaved unsaved = UnsavedChange();
    if (unsaved != Unsaved::Nothing) {
        const QString account = AccountName(Trimmed(FieldBytes(m_server)), FieldBytes(m_user));
        const QString question =
            unsaved == Unsaved::Changes
                ? QCoreApplication::translate("MailboxesDlg",
                                              "Save the changes to %1 before closing?")
                : QCoreApplication::translate("MailboxesDlg", "Add %1 before closing?");
        switch (m_boxes.Ask(this, TarvoString(IDS_APP_TITLE), question.arg(account),
                            MessageBoxes::Choices::YesNoCancel)) {
        case MessageBoxes::Answer::Yes:
            if (!OnAdd()) {
                return;
            }
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
        m_boxes.Show(
            this, QCoreApplication::translate("MailboxesDlg", "Certificate"),
            QCoreApplication::translate("MailboxesDlg", "Select a server in the list first."),
            MessageBoxes::Icon::Information);
        return;
    }
    // The protocol and security as chosen now, which Add has not stored yet.
    ReviewCertificate(this, m_boxes, accounts, static_cast<std::size_t>(index),
                      Chosen<Protocol>(m_protocol), Chosen<Security>(m_security));
}

void CMailboxesDlg::OnFolders() {
    const std::string server = Trimmed(FieldBytes(m_server));
    if (server.empty()) {
        m_boxes.Show(this, QCoreApplication::translate("MailboxesDlg", "Folders"),
                     QCoreApplication::translate("MailboxesDlg", "Type the server's name first."),
                     MessageBoxes::Icon::Information);
        return;
    }
    const std::size_t known = IndexOf(server, FieldBytes(m_user));
    Account typed = Typed(known < accounts.size() ? &accounts[known] : nullptr);
    // A password typed for the keyring is not there yet: it is the one to use.
    if (typed.secretSource == SecretSourceKind::Keyring && !typed.password.empty()) {
        typed.secretSource = SecretSourceKind::File;
    }
    if (std::optional<std::vector<std::string>> chosen = ChooseFolders(this, m_boxes, typed)) {
        SetField(m_folders, FolderListText(*chosen));
    }
}
