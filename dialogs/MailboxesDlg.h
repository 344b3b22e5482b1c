// The account editor: one line per account, shown as user@server; Add creates
// or updates the account named by the server and user fields, Delete removes
// one account. Protocol says whether the server is read by POP3 or IMAP, and
// an IMAP account names the folders it watches, typed or ticked from the
// server's list (Folders...). Certificate... shows the selected account's
// server certificate and lets the user trust exactly that one. Sign-in and
// Password from say how the account signs in and where its password or token
// comes from; a password bound for the keyring is written there at Add, the
// wait shown, or where the keyring does not take it, kept in this file only
// if the user says so.
#pragma once

#include "MessageBoxes.h"
#include "Settings.h"
#include "TemplateDialog.h"

#include <cstddef>
#include <functional>
#include <string>

struct SecretWait;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CMailboxesDlg : public TemplateDialog {
public:
    // Puts an account's password in the desktop keyring within the wait:
    // empty when it is there, else why not. Without one, no keyring is at
    // hand, and a new account's password is for this file.
    using KeyringWrite =
        std::function<std::string(const std::string& server, const std::string& user,
                                  const std::string& password, const SecretWait& wait)>;

    explicit CMailboxesDlg(MessageBoxes& boxes, QWidget* parent = nullptr,
                           KeyringWrite keyring = {});

    // In: the accounts to edit. Out: the accounts as edited, however the
    // dialog was closed.
    AccountList accounts;

protected:
    void OnInitDialog() override;

private:
    void OnClick(QTreeWidgetItem* item);
    // False when the fields were left as they were, nothing stored.
    bool OnAdd();
    // Whether the password of this account is to go to the keyring: true
    // when the keyring holds it, or the user keeps it in this file instead
    // (source then File); false to store nothing.
    bool PutInKeyring(const std::string& server, const std::string& user,
                      const std::string& password, SecretSourceKind& source);
    void OnDelete();
    void OnCertificate();
    void OnFolders();
    void OnDone();
    // The first account of this server and user; accounts.size() for none.
    std::size_t IndexOf(const std::string& server, const std::string& user) const;
    // The account as Add would store it, known the one the fields name (its
    // password as typed, wherever that is to go).
    Account Typed(const Account* known) const;
    // What Add would do with the fields that is not done yet.
    enum class Unsaved { Nothing, NewAccount, Changes };
    Unsaved UnsavedChange() const;
    void SetCaption();
    void ClearFields();
    SecretSourceKind NewAccountSource() const;
    // Only what the chosen source uses can be typed.
    void EnableSourceFields();
    // The folders only for IMAP.
    void EnableProtocolFields();

    MessageBoxes& m_boxes;
    QTreeWidget* m_list;
    QComboBox* m_protocol;
    QLabel* m_serverLabel;
    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QComboBox* m_security;
    QComboBox* m_signIn;
    QComboBox* m_source;
    QLineEdit* m_command;
    QLineEdit* m_folders;
    QPushButton* m_fetchFolders;
    KeyringWrite m_keyring;
    // Whether the user picked the source since the fields were filled: an
    // account typed in again without it keeps where its password is.
    bool m_sourceChosen = false;
    // Where the protocol shown comes from. Until the user picks one for a new
    // account it follows the server's name; an account typed in again keeps
    // its own protocol and folders, as it keeps its source.
    enum class ProtocolShown { Guessed, Account, Chosen };
    ProtocolShown m_protocolShown = ProtocolShown::Guessed;
};
