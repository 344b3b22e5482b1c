// The program's icons, bitmap and string table, by their resource ids.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Icons 128, 130, 131 and 132, each with a 32 x 32 and a 16 x 16 image.
// An unknown id gives a null icon.
QIcon TarvoIcon(int id);

// Bitmap 138. An unknown id gives a null pixmap.
QPixmap TarvoBitmap(int id);

// Strings 103, 57344 and 57345. An unknown id gives an empty string.
QString TarvoString(int id);
