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
// Where a new account's password goes when a keyring answers at Add.
constexpr SecretSourceKind kNewAccountSource = SecretSourceKind::Keyring;

template <typename Enum> Enum Chosen(const QComboBox* choice) {
    return static_cast<Enum>(choice->currentIndex());
}

template <typename Enum> void Choose(QComboBox* choice, Enum value) {
    choice->setCurrentIndex(static_cast<int>(value));
}

QString LineText(const Account& account) {
    return AccountName(account.server, account.user);
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
    Choose(m_security, kNewAccountSecurity);
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
    Choose(m_source, kNewAccountSource);
    EnableSourceFields();

    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnClick(item); });
    connect(add, &QPushButton::clicked, this, &CMailboxesDlg::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CMailboxesDlg::OnDelete);
    connect(certificate, &QPushButton::clicked, this, &CMailboxesDlg::OnCertificate);
    connect(done, &QPushButton::clicked, this, &CMailboxesDlg::OnDone);
}

void CMailboxesDlg::OnInitDialog() {
    m_list->setHeaderLabels({QStringLiteral("Configured servers")});
    m_list->setColumnWidth(0, m_list->contentsRect().width());
    for (const Account& account : accounts) {
        new QTreeWidgetItem(m_list, {LineText(account)});
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
    const Account& account = accounts[static_cast<std::size_t>(index)];
    SetField(m_server, account.server);
    SetField(m_user, account.user);
    SetField(m_password, account.password);
    Choose(m_security, account.security);
    Choose(m_signIn, account.signIn);
    Choose(m_source, account.secretSource);
    SetField(m_command, account.secretCommand);
    m_sourceChosen = false;
    // Left empty, Add leaves the keyring's password as it is.
    m_password->setPlaceholderText(account.secretSource == SecretSourceKind::Keyring
                                       ? QStringLiteral("kept in the keyring")
                                       : QString());
}

void CMailboxesDlg::EnableSourceFields() {
    const auto source = Chosen<SecretSourceKind>(m_source);
    m_password->setEnabled(source == SecretSourceKind::File || source == SecretSourceKind::Keyring);
    m_command->setEnabled(source == SecretSourceKind::Command);
}

void CMailboxesDlg::ClearFields() {
    SetField(m_server, {});
    SetField(m_user, {});
    SetField(m_password, {});
    m_password->setPlaceholderText({});
    Choose(m_security, kNewAccountSecurity);
    Choose(m_signIn, SignInMethod::Automatic);
    Choose(m_source, kNewAccountSource);
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
    auto source = Chosen<SecretSourceKind>(m_source);

    // An account is its server and user name together: Add changes that
    // account (each copy of it, should the file hold it twice) or adds it.
    auto named = [&](std::size_t i) {
        return accounts[i].server == server && accounts[i].user == user;
    };
    std::size_t existing = 0;
    while (existing < accounts.size() && !named(existing)) {
        ++existing;
    }
    const bool found = existing < accounts.size();
    std::string command = FieldBytes(m_command);
    if (found && !m_sourceChosen) {
        source = accounts[existing].secretSource;
        command = source == SecretSourceKind::Command && command.empty()
                      ? accounts[existing].secretCommand
                      : command;
    }
    if (source == SecretSourceKind::Keyring &&
        (!found || accounts[existing].secretSource != SecretSourceKind::Keyring ||
         !password.empty())) {
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
            source = SecretSourceKind::File;
        }
    }
    auto change = [&](Account& account) {
        account.password = source == SecretSourceKind::File ? password : std::string();
        account.security = Chosen<Security>(m_security);
        account.signIn = Chosen<SignInMethod>(m_signIn);
        account.secretSource = source;
        account.secretCommand = command;
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

std::string CMailboxesDlg::UnsavedServer() const {
    const std::string server = Trimmed(FieldBytes(m_server));
    const std::string user = FieldBytes(m_user);
    const std::string password = FieldBytes(m_password);
    for (const Account& account : accounts) {
        const SecretSourceKind source =
            m_sourceChosen ? Chosen<SecretSourceKind>(m_source) : account.secretSource;
        // A password typed for the keyring is still to be put there.
        const bool samePassword = source == SecretSourceKind::File ? account.password == password
                                  : source == SecretSourceKind::Keyring ? password.empty()
                                                                        : true;
        if (account.server == server && account.user == user && samePassword &&
            account.security == Chosen<Security>(m_security) &&
            account.signIn == Chosen<SignInMethod>(m_signIn) && account.secretSource == source &&
            (!m_sourceChosen || account.secretCommand == FieldBytes(m_command))) {
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
                      accounts[static_cast<std::size_t>(index)].protocol,
                      Chosen<Security>(m_security));
}
