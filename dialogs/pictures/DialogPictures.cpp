// Draws the dialogs offscreen with sample data, each under a plain title
// strip that carries its caption, and saves them as PNG files.
#include "AboutDlg.h"
#include "Format.h"
#include "HeadersDlg.h"
#include "MailboxesDlg.h"
#include "OptionsDlg.h"
#include "Translate.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QTemporaryFile>
#include <QTranslator>
#include <QTreeWidget>
#include <cstdio>

namespace {

bool Save(QDialog& dialog, const QDir& folder, const QString& name) {
    dialog.show();
    QApplication::processEvents();
    const QPixmap body = dialog.grab();
    const QFontMetrics metrics(dialog.font());
    const int strip = metrics.height() + 8;

    QPixmap picture(body.width(), body.height() + strip);
    picture.fill(QColor(0x3a, 0x4a, 0x63));
    QPainter painter(&picture);
    painter.drawPixmap(0, strip, body);
    painter.setPen(Qt::white);
    painter.setFont(dialog.font());
    if (!dialog.windowIcon().isNull()) {
        painter.drawPixmap(4, (strip - 16) / 2, dialog.windowIcon().pixmap(16, 16));
    }
    painter.drawText(QRect(24, 0, body.width() - 28, strip), Qt::AlignVCenter | Qt::AlignLeft,
                     dialog.windowTitle());
    painter.end();

    dialog.hide();
    const QString path = folder.filePath(name);
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

MessageTable SampleTable() {
    MessageTable table;
    auto row = [&table](const char* subject, const char* from, const char* mailbox,
                        MessageState state) {
        if (state == MessageError) {
            table.AppendError(
                subject, mailbox,
                Format(translate("MailConversation", "Could not resolve %1."), "mail.example.net"));
        } else {
            const std::string_view text = "Subject: sample\r\n";
            table.AppendMessage(ScannedHeader(subject, from, "(none)", text, text.size()), mailbox,
                                state);
        }
    };
    // Subjects and senders as they arrive, encoded words and all. Two
    // accounts share pop.example.org, so its rows name the user.
    row("=?UTF-8?B?RWlubGFkdW5nIHp1bSBTb21tZXJmZXN0IOKAkyBiaXR0ZSB6dXNhZ2Vu?=",
        "=?UTF-8?Q?J=C3=B6rg_M=C3=BCller?= <joerg@example.org>", "lena@pop.example.org",
        MessagePending);
    row("=?ISO-8859-1?Q?R=E9servation_confirm=E9e_=E0_Lyon?=",
        "=?ISO-8859-1?Q?H=E9l=E8ne_Dupr=E9?= <helene@example.net>", "lena@pop.example.org",
        MessageNew);
    row("=?KOI8-R?B?8NLJ18XUIMnaIO7P18/TycLJ0tPLwQ==?=",
        "=?KOI8-R?B?6dfBziDwxdTSz9c=?= <ivan@example.com>", "tomas@pop.example.org", MessageNew);
    row("Minutes of Tuesday's meeting", "Ilse Moreau <ilse@example.org>", "tomas@pop.example.org",
        MessagePending);
    // A subject far longer than the window: elided, the other columns kept.
    row("Quarterly report: figures for every branch, region and product line, with the notes "
        "of the review board and the plans for the next three quarters attached",
        "Reporting <reports@example.com>", "tomas@pop.example.org", MessageNew);
    const std::string contacting =
        Format(translate("CheckCycle", "(error contacting %1)"), "mail.example.net");
    row(contacting.c_str(), "", "mail.example.net", MessageError);
    return table;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <output folder> [<catalogue, tarvo_xx.qm>]\n", argv[0]);
        return 2;
    }
    // A desktop-sized screen: the headers window sizes itself to a share of it.
    QTemporaryFile screen;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && screen.open()) {
        screen.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1600,
                         "height": 900, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screen.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    }
    QApplication app(argc, argv);
    // In the catalogue's language, as the program would show them.
    QTranslator tarvo;
    QTranslator qt;
    if (argc == 3) {
        if (!tarvo.load(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "cannot read %s\n", argv[2]);
            return 2;
        }
        QApplication::installTranslator(&tarvo);
        if (qt.load(QLocale(tarvo.language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QApplication::installTranslator(&qt);
        }
        SetTranslateHook([](const char* context, const char* source, const char* disambiguation,
                            int n) {
            return QCoreApplication::translate(context, source, disambiguation, n).toStdString();
        });
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    RecordingMessageBoxes boxes;
    bool ok = true;

    CHeadersDlg headers(boxes);
    headers.SetTable(std::make_shared<const MessageTable>(SampleTable()));
    ok = Save(headers, folder, QStringLiteral("dialog-headers.png")) && ok;

    CMailboxesDlg mailboxes(boxes);
    mailboxes.accounts = {
        {.server = "imap.example.org",
         .user = "lena",
         .security = Security::Tls,
         .secretSource = SecretSourceKind::Keyring,
         .protocol = Protocol::Imap,
         .folders = {"INBOX", "Lists/tarvo"}},
        {.server = "pop.example.org",
         .user = "tomas",
         .password = "his secret",
         .security = Security::Tls,
         .signIn = SignInMethod::PasswordOnly},
        {.server = "mail.example.net",
         .user = "lena.varga",
         .security = Security::Tls,
         .signIn = SignInMethod::OAuth2,
         .secretSource = SecretSourceKind::Command,
         .secretCommand = "oauth2-token lena.varga",
         .protocol = Protocol::Imap},
    };
    mailboxes.show();
    auto* list = mailboxes.findChild<QTreeWidget*>(QStringLiteral("list"));
    list->setCurrentItem(list->topLevelItem(0));
    emit list->itemClicked(list->topLevelItem(0), 0);
    ok = Save(mailboxes, folder, QStringLiteral("dialog-mailboxes.png")) && ok;

    COptionsDlg options(boxes);
    options.Delay = 5;
    options.Sound = 1;
    options.Message = 1;
    options.Notify = 1;
    options.Push = 1;
    ok = Save(options, folder, QStringLiteral("dialog-options.png")) && ok;

    CAboutDlg about(boxes);
    ok = Save(about, folder, QStringLiteral("dialog-about.png")) && ok;
    return ok ? 0 : 1;
}
