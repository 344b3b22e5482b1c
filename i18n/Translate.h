// The seam through which the Qt-free core has its texts translated. The texts
// carry a context, as Qt's tools want them: lupdate finds them by the names
// below (translate, QT_TRANSLATE_NOOP, QT_TRANSLATE_N_NOOP) and the front end
// installs a hook that looks them up; without one the English source stands.
#pragma once

#include <string>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
#ifndef QT_TRANSLATE_N_NOOP
#define QT_TRANSLATE_N_NOOP(context, text) text
#endif

// The translation of source in context, for the count n where it has plural
// forms (n >= 0), or an empty string where there is none.
using TranslateHook = std::string (*)(const char* context, const char* source,
                                      const char* disambiguation, int n);

// Null puts English back.
void SetTranslateHook(TranslateHook hook);

// The text the user reads, UTF-8, with %n as n.
std::string translate(const char* context, const char* source, const char* disambiguation = nullptr,
                      int n = -1);
