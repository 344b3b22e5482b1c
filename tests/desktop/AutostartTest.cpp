// Start at log-in: the checkbox's value is the user's own autostart entry.
#include "Autostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(Autostart, TheEntryIsWrittenValidAndRemoved) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    EXPECT_EQ(AutostartEntryPath(), config.path() + "/autostart/tarvo.desktop");
    EXPECT_FALSE(StartsAtLogin());
    EXPECT_TRUE(SetStartAtLogin(false, "/usr/bin/tarvo"));

    struct Case {
        QString program;
        QString exec;
    } cases[] = {
        {"/usr/bin/tarvo", "Exec=/usr/bin/tarvo\n"},
        {"/home/a b/100%/tarvo", "Exec=\"/home/a b/100%%/tarvo\"\n"},
        {"/opt/$x/tarvo", "Exec=\"/opt/\\\\$x/tarvo\"\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetStartAtLogin(true, c.program));
        EXPECT_TRUE(StartsAtLogin());
        QFile entry(AutostartEntryPath());
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(entry.readAll()).contains(c.exec)) << c.program.toStdString();
        const QString validate = "desktop-file-validate '" + AutostartEntryPath() + "'";
        EXPECT_EQ(std::system(validate.toLocal8Bit().constData()), 0);
    }
    EXPECT_TRUE(SetStartAtLogin(false, "/usr/bin/tarvo"));
    EXPECT_FALSE(StartsAtLogin());
    EXPECT_TRUE(QDir(config.path() + "/autostart").isEmpty());
}
