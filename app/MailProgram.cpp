#include "MailProgram.h"

#include <gio/gio.h>
// After GIO, whose headers name a member as Qt names a keyword.
#include <QCoreApplication>
#include <memory>

namespace {

struct Unref {
    void operator()(GAppInfo* app) const { g_object_unref(app); }
    void operator()(GError* error) const { g_error_free(error); }
    void operator()(char** strings) const { g_strfreev(strings); }
    void operator()(char* text) const { g_free(text); }
};

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\n\r\v\f") == std::string::npos;
}

// GLib starts the program through a helper of its own, which cannot report
// a failure of the program's start, so a program that is not there or may
// not be run is looked for first. Empty when it is there.
std::string Missing(GAppInfo* app) {
    const char* exec = g_app_info_get_commandline(app);
    char** words = nullptr;
    if (exec == nullptr || !g_shell_parse_argv(exec, nullptr, &words, nullptr)) {
        return {}; // GIO says why it cannot start such a program
    }
    const std::unique_ptr<char*, Unref> argv(words);
    const std::unique_ptr<char, Unref> found(g_find_program_in_path(argv.get()[0]));
    if (found) {
        return {};
    }
    return QCoreApplication::translate("MailProgram", "\"%1\" is not there or is not executable.")
        .arg(QString::fromUtf8(argv.get()[0]))
        .toStdString();
}

} // namespace

std::string LaunchMailProgram(const std::string& commandLine) {
    GError* failure = nullptr;
    const std::unique_ptr<GAppInfo, Unref> app(
        IsBlank(commandLine) ? g_app_info_get_default_for_uri_scheme("mailto")
                             // Its field codes name files and addresses, of which there are none.
                             : g_app_info_create_from_commandline(
                                   commandLine.c_str(), nullptr, G_APP_INFO_CREATE_NONE, &failure));
    std::string why;
    if (app) {
        why = Missing(app.get());
        // GLib spawns through an intermediate child that it reaps at once, so
        // the program is never Tarvo's child to wait for.
        if (why.empty() && g_app_info_launch(app.get(), nullptr, nullptr, &failure)) {
            return {};
        }
    } else if (failure == nullptr) {
        return QCoreApplication::translate(
                   "MailProgram",
                   "No mail program is chosen in Options, and the desktop has no default mail "
                   "client.")
            .toStdString();
    }
    const std::unique_ptr<GError, Unref> error(failure);
    if (why.empty()) {
        why = error
                  ? error->message
                  : QCoreApplication::translate("MailProgram", "no reason was given").toStdString();
        if (why.empty() || why.back() != '.') {
            why += '.';
        }
    }
    return QCoreApplication::translate("MailProgram", "The mail program could not be started: %1")
        .arg(QString::fromStdString(why))
        .toStdString();
}
