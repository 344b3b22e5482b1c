// An edit field for a whole number: typed keys are limited to digits (a
// paste can still bring anything), and the text is read as a signed 32-bit
// integer.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

// Blanks around the number are allowed; out-of-range numbers saturate.
// Nothing when the text is not a whole number, "+0" and "-0" included.
std::optional<int32_t> ReadIntegerField(const QString& text);

// Installed on a line edit: swallows typed printable keys other than digits.
class DigitKeysOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
