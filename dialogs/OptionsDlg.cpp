#include "OptionsDlg.h"

#include "IntegerField.h"
#include "TarvoResources.h"
#include "resource.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int32_t kShortestDelay = 1;
constexpr int32_t kLongestDelay = 60;

} // namespace

COptionsDlg::COptionsDlg(MessageBoxes& boxes, QWidget* parent)
    : TemplateDialog(parent, FixedDialogFlags(true)), m_boxes(boxes), m_delay(new QLineEdit(this)),
      m_sound(new QCheckBox(QCoreApplication::translate("OptionsDlg", "Play notification sound"),
                            this)),
      m_message(
          new QCheckBox(QCoreApplication::translate("OptionsDlg", "Show message headers"), this)),
      m_notify(new QCheckBox(
          QCoreApplication::translate("OptionsDlg", "Show a desktop notification"), this)),
      m_startAtLogin(
          new QCheckBox(QCoreApplication::translate("OptionsDlg", "Start at log-in"), this)),
      m_push(new QCheckBox(
          QCoreApplication::translate("OptionsDlg", "Show new IMAP mail at once (push)"), this)),
      m_mailProgram(new QLineEdit(this)) {
    setWindowTitle(QCoreApplication::translate("OptionsDlg", "Tarvo options"));
    setFixedSize(Units().Size(196, 209));

    Place(m_delay, "delay", 63, 24, 23, 14);
    m_delay->setAlignment(Qt::AlignRight);
    m_delay->installEventFilter(new DigitKeysOnly(m_delay));
    Place(m_startAtLogin, "startAtLogin", 13, 42, 170, 10);
    Place(m_push, "push", 13, 56, 170, 10);
    Place(m_sound, "sound", 13, 96, 170, 10);
    Place(m_message, "message", 13, 110, 169, 10);
    Place(m_notify, "notify", 13, 124, 169, 10);
    Place(m_mailProgram, "mailProgram", 13, 161, 170, 14);
    m_mailProgram->setPlaceholderText(
        QCoreApplication::translate("OptionsDlg", "Desktop's default"));
    auto* ok = Place(new QPushButton(QCoreApplication::translate("OptionsDlg", "OK"), this), "ok",
                     7, 188, 50, 14);
    ok->setDefault(true);
    auto* cancel = Place(new QPushButton(QCoreApplication::translate("OptionsDlg", "Cancel"), this),
                         "cancel", 139, 188, 50, 14);
    Place(new QGroupBox(QCoreApplication::translate("OptionsDlg", "Checking"), this), "checking", 7,
          7, 182, 71)
        ->lower();
    Place(new QGroupBox(QCoreApplication::translate("OptionsDlg", "On new mail"), this),
          "onNewMail", 7, 81, 182, 64)
        ->lower();
    Place(new QGroupBox(QCoreApplication::translate("OptionsDlg", "Read mail with"), this),
          "readMailWith", 7, 148, 182, 33)
        ->lower();
    Place(new QLabel(QCoreApplication::translate("OptionsDlg", "Check every"), this), "everyLabel",
          14, 27, 45, 8);
    Place(new QLabel(QCoreApplication::translate("OptionsDlg", "minutes for new messages"), this),
          "minutesLabel", 95, 27, 88, 8);

    // In the order the controls read from the top.
    setTabOrder(m_delay, m_startAtLogin);
    setTabOrder(m_startAtLogin, m_push);
    setTabOrder(m_push, m_sound);

    connect(ok, &QPushButton::clicked, this, &COptionsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void COptionsDlg::OnInitDialog() {
    WriteControls();
    m_delay->setFocus();
    m_delay->selectAll();
}

void COptionsDlg::WriteControls() {
    m_delay->setText(QString::number(Delay));
    // Any stored value but 0 means on, as it does to the rest of the program.
    m_sound->setChecked(Sound != 0);
    m_message->setChecked(Message != 0);
    m_notify->setChecked(Notify != 0);
    m_push->setChecked(Push != 0);
    m_startAtLogin->setChecked(StartAtLogin);
    m_mailProgram->setText(QString::fromStdString(MailProgram));
}

void COptionsDlg::accept() {
    const std::optional<int32_t> delay = ReadIntegerField(m_delay->text());
    if (!delay) {
        m_boxes.Show(this, TarvoString(IDS_APP_TITLE),
                     QCoreApplication::translate("OptionsDlg", "Please enter an integer."),
                     MessageBoxes::Icon::Exclamation);
        m_delay->setFocus();
        m_delay->selectAll();
        return;
    }
    Delay = *delay;
    Message = m_message->isChecked() ? 1 : 0;
    Sound = m_sound->isChecked() ? 1 : 0;
    Notify = m_notify->isChecked() ? 1 : 0;
    Push = m_push->isChecked() ? 1 : 0;
    StartAtLogin = m_startAtLogin->isChecked();
    // A field left blank is the desktop's default, spaces and all.
    MailProgram = m_mailProgram->text().trimmed().toStdString();

    if (Delay < kShortestDelay) {
        Delay = kShortestDelay;
    } else if (Delay > kLongestDelay) {
        Delay = kLongestDelay;
    } else {
        QDialog::accept();
        return;
    }
    // Corrected, not refused: the user sees the limit and confirms it.
    WriteControls();
}
