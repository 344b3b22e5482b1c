// The account editor: one line per account, shown as user@server; Add creates
// or updates the account named by the server and user fields, Delete removes
// one account. Certificate... shows the selected account's server certificate
// and lets the user trust exactly that one.
#pragma once

#include "MessageBoxes.h"
#include "Settings.h"
#include "TemplateDialog.h"

#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CMailboxesDlg : public TemplateDialog {
public:
    explicit CMailboxesDlg(MessageBoxes& boxes, QWidget* parent = nullptr);

    // In: the accounts to edit. Out: the accounts as edited, however the
    // dialog was closed.
    AccountList accounts;

protected:
    void OnInitDialog() override;

private:
    void OnClick(QTreeWidgetItem* item);
    void OnAdd();
    void OnDelete();
    void OnCertificate();
    void OnDone();
    // The trimmed server field, when the fields hold an account that Add
    // would add or change; empty otherwise.
    std::string UnsavedServer() const;
    void SetCaption();

    MessageBoxes& m_boxes;
    QTreeWidget* m_list;
    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QComboBox* m_security;
};
