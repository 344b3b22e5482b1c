#include "Text.h"

#include <QByteArrayView>
#include <QStringDecoder>

QString DisplayText(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return text;
}

std::string TypedText(const QString& text) {
    return text.toStdString();
}

QString AccountName(const std::string& server, const std::string& user) {
    return DisplayText(user.empty() ? server : user + "@" + server);
}
