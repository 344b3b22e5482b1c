#include "Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Exec quoting as freedesktop.org desktop entries have it; a plain path goes as it is.
QString ExecArgument(QString program) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._+-]+$"));
    if (plain.match(program).hasMatch()) {
        return program;
    }
    for (const char* special : {"\\", "\"", "`", "$"}) {
        program.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    }
    program.replace(QLatin1Char('%'), QLatin1String("%%"));
    // The entry's string escapes come on top of the Exec quoting.
    program.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + program + QLatin1Char('"');
}

} // namespace

QString AutostartEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/tarvo.desktop");
}

bool StartsAtLogin() {
    return QFileInfo::exists(AutostartEntryPath());
}

bool SetStartAtLogin(bool start, const QString& program) {
    const QString path = AutostartEntryPath();
    if (!start) {
        return !QFileInfo::exists(path) || QFile::remove(path);
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QString entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Tarvo\n"
                       "GenericName=Mail Notification Tool\n"
                       "Comment=Watches POP3 and IMAP mailboxes from an icon in the "
                       "notification area\n"
                       "Exec=%1\n"
                       "Icon=tarvo\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n")
            .arg(ExecArgument(program));
    file.write(entry.toUtf8());
    return file.commit();
}
