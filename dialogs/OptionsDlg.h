// The options: check interval (1 to 60 minutes), start at log-in, push for
// IMAP accounts, new-mail sound, whether the headers window opens on new
// mail, the desktop notification, and the mail program Read mail starts.
#pragma once

#include "MessageBoxes.h"
#include "TemplateDialog.h"

#include <cstdint>
#include <string>

class QCheckBox;
class QLineEdit;

class COptionsDlg : public TemplateDialog {
public:
    explicit COptionsDlg(MessageBoxes& boxes, QWidget* parent = nullptr);

    // In: the values to show. Out, after OK: the values confirmed.
    int32_t Delay = 0;
    int32_t Message = 0;
    int32_t Sound = 0;
    int32_t Notify = 0;
    int32_t Push = 0;
    bool StartAtLogin = false;
    // A command line; empty for the desktop's default mail client.
    std::string MailProgram;

    // OK: reads and checks the fields; closes only on an interval of 1 to 60.
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void WriteControls();

    MessageBoxes& m_boxes;
    QLineEdit* m_delay;
    QCheckBox* m_sound;
    QCheckBox* m_message;
    QCheckBox* m_notify;
    QCheckBox* m_startAtLogin;
    QCheckBox* m_push;
    QLineEdit* m_mailProgram;
};
