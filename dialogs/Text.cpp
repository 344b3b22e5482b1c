#include "Text.h"

#include "ShownText.h"

#include <QByteArrayView>
#include <QStringDecoder>

QString DisplayText(std::string_view bytes) {
    const std::string shown = ShownText(bytes);
    // A leading byte-order mark is a character of the text, not a marker to drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(shown.data(), static_cast<qsizetype>(shown.size())));
}

std::string TypedText(const QString& text) {
    return text.toStdString();
}

QString AccountName(const std::string& server, const std::string& user) {
    return DisplayText(user.empty() ? server : user + "@" + server);
}
