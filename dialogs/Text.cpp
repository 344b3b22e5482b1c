#include "Text.h"

#include "HeaderBlock.h"
#include "HeaderDisplay.h"
#include "ShownText.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QStringDecoder>

QString DisplayText(std::string_view bytes) {
    const std::string shown = ShownText(bytes);
    // A leading byte-order mark is a character of the text, not a marker to drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(shown.data(), static_cast<qsizetype>(shown.size())));
}

// The month's English abbreviation is the C locale's; a translation writes
// the date in digits instead, so no month name is left in English.
QString ShownDate(const std::string& date) {
    const QLocale c = QLocale::c();
    const QDate parsed = c.toDate(QString::fromStdString(date), QStringLiteral("d MMM yyyy"));
    //: A date as QDate::toString() takes it, with the month in digits (M, MM).
    const QString format = QCoreApplication::translate("CertificateReview", "d MMM yyyy");
    return parsed.isValid() ? c.toString(parsed, format) : QString::fromStdString(date);
}

std::string TypedText(const QString& text) {
    return text.toStdString();
}

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1));
}

QString AccountName(const std::string& server, const std::string& user) {
    return DisplayText(user.empty() ? server : user + "@" + server);
}

QString ShownHeader(std::string_view raw, HeaderKind kind) {
    for (const char* none : {kNoSubject, kNoSender}) {
        if (raw == none) {
            return QCoreApplication::translate("HeaderBlock", none);
        }
    }
    return QString::fromStdString(DecodeHeaderForDisplay(raw, kind));
}
