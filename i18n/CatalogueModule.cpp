// The command line's reader of a catalogue: Qt Core's QTranslator, which needs
// no application object, in a module the command line loads only when wanted.
#include "Translate.h"

#include <QString>
#include <QTranslator>

namespace {

QTranslator& Catalogue() {
    static QTranslator catalogue;
    return catalogue;
}

std::string Lookup(const char* context, const char* source, const char* disambiguation, int n) {
    return Catalogue().translate(context, source, disambiguation, n).toStdString();
}

} // namespace

extern "C" __attribute__((visibility("default"))) TranslateHook
tarvo_catalogue_hook(const char* path) {
    return Catalogue().load(QString::fromUtf8(path)) ? Lookup : nullptr;
}
