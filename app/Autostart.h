// Start at log-in is the user's own XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/tarvo.desktop: its presence is the setting, so
// that the desktop's own autostart settings and Tarvo's checkbox agree.
#pragma once

#include <QString>

QString AutostartEntryPath();
bool StartsAtLogin();
// Writes the entry (starting program) or removes it; true when done.
bool SetStartAtLogin(bool start, const QString& program);
