#include "IntegerField.h"

#include <QKeyEvent>
#include <limits>

namespace {

// The field is read through a buffer of this many characters.
constexpr qsizetype kReadLength = 31;

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<int32_t> ReadIntegerField(const QString& whole) {
    const QString text = whole.left(kReadLength);
    qsizetype at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    const qsizetype start = at;

    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    int64_t value = 0;
    while (at < text.size() && IsDigit(text[at])) {
        value = std::min<int64_t>(value * 10 + (text[at].unicode() - u'0'), -kMin);
        ++at;
    }
    value = negative ? -value : std::min(value, kMax);

    // A reading of 0 stands for "no number" unless the text really starts with 0.
    if (value == 0 && (start >= text.size() || text[start] != u'0')) {
        return std::nullopt;
    }
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

bool DigitKeysOnly::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool command =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!command && !text.isEmpty() && text[0].isPrint() && !IsDigit(text[0])) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
