#include "CommandLine.h"

#include "CheckCycle.h"
#include "FileRegistry.h"
#include "Format.h"
#include "HeaderDisplay.h"
#include "Pop3Connection.h"
#include "ReadOnlySettings.h"
#include "ShownText.h"
#include "StateFile.h"
#include "Translate.h"
#include "UserLanguage.h"

#include <cstddef>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>

namespace {

constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "CommandLine", "Usage: tarvo [--check [--json]]\n"
                   "Watches POP3 and IMAP mailboxes from an icon in the notification area.\n"
                   "\n"
                   "  --check     check every configured account once, print one line per\n"
                   "              account and the total, and end\n"
                   "  --json      with --check: print one JSON object instead\n"
                   "  --help      show this help and end\n"
                   "  --version   show the version and end\n"
                   "\n"
                   "Exit status of --check: 0 every account was checked, 1 an account failed,\n"
                   "2 a usage or settings error.\n");

struct AccountResult {
    int32_t count = 0;
    std::string error; // empty when the account was checked
    // Its message rows, which follow each other in the table.
    std::size_t firstRow = 0;
    std::size_t endRow = 0;
};

// Follows the walk: which rows and ids belong to which account, and the signals.
class CommandLineObserver : public CheckObserver {
public:
    CommandLineObserver(const MessageTable& table, const std::vector<int32_t>& counts,
                        const CommandLineSetup& setup)
        : m_table(table), m_counts(counts), m_interrupted(setup.interrupted),
          m_disconnect(setup.disconnect) {}

    std::vector<AccountResult> accounts;

    bool Interrupted() const { return m_interrupted != nullptr && *m_interrupted != 0; }

private:
    void ShowProgress(int, const std::string&) override {}
    // They are the tray program's, and this program never writes them.
    bool KeepsKnownIds() const override { return false; }

    void SetCurrentConversation(MailConversation* conversation) override {
        if (conversation != nullptr) {
            m_firstRow = m_table.size();
            m_current = conversation;
            if (Interrupted()) {
                m_current->Abort();
            }
            return;
        }
        AccountEnded();
        m_current = nullptr;
    }

    // Disconnect's way out: the wait in progress is given up at once.
    void WaitHook() override {
        const bool disconnect = m_disconnect != nullptr && *m_disconnect != 0;
        if (m_current != nullptr && (Interrupted() || disconnect)) {
            if (disconnect) {
                *m_disconnect = 0;
            }
            m_current->Abort();
        }
    }

    void AccountEnded() {
        const std::size_t index = accounts.size();
        AccountResult result;
        const bool errorRow =
            m_table.size() == m_firstRow + 1 && m_table.State(m_firstRow) == MessageError;
        if (errorRow) {
            result.error = ErrorReason(m_firstRow);
        } else {
            result.count = m_counts[index];
            result.firstRow = m_firstRow;
            result.endRow = m_table.size();
        }
        accounts.push_back(std::move(result));
    }

    // The sentence that says why, where the row carries one; else its subject.
    std::string ErrorReason(std::size_t row) const {
        const std::string_view reason = m_table.HeaderText(row);
        return std::string(reason.empty() ? m_table.Subject(row) : reason);
    }

    const MessageTable& m_table;
    const std::vector<int32_t>& m_counts;
    const volatile std::sig_atomic_t* m_interrupted;
    volatile std::sig_atomic_t* m_disconnect;
    MailConversation* m_current = nullptr;
    std::size_t m_firstRow = 0;
};

int FailedCount(const std::vector<AccountResult>& results) {
    int failed = 0;
    for (const AccountResult& result : results) {
        failed += result.error.empty() ? 0 : 1;
    }
    return failed;
}

// Printed texts, in the lines and the JSON alike, are safe for a terminal, so
// that a script showing a JSON value shows no more than a line would.
std::string Header(std::string_view raw, HeaderKind kind) {
    return TerminalText(DecodeHeaderForDisplay(raw, kind));
}

void PrintText(std::ostream& out, const AccountList& accounts,
               const std::vector<AccountResult>& results, int32_t total) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        out << TerminalText(accounts[i].server) << ", " << TerminalText(accounts[i].user) << ": ";
        if (const int count = results[i].count; results[i].error.empty()) {
            out << translate("CommandLine", "%n message(s)", nullptr, count) << "\n";
        } else {
            out << Format(translate("CommandLine", "error: %1"), TerminalText(results[i].error))
                << "\n";
        }
    }
    out << translate("CommandLine", "Total: %n message(s)", nullptr, total);
    const int failed = FailedCount(results);
    if (const int checked = static_cast<int>(results.size()); failed > 0) {
        out << Format(translate("CommandLine", ", %1 of %n account(s) failed", nullptr, checked),
                      failed);
    }
    out << "\n";
}

void PrintJson(std::ostream& out, const AccountList& accounts, const MessageTable& table,
               const CommandLineObserver& observer, int32_t total) {
    using nlohmann::json;
    json accountList = json::array();
    for (std::size_t i = 0; i < observer.accounts.size(); ++i) {
        const AccountResult& result = observer.accounts[i];
        const bool ok = result.error.empty();
        accountList.push_back({{"server", TerminalText(accounts[i].server)},
                               {"user", TerminalText(accounts[i].user)},
                               {"count", ok ? json(result.count) : json(nullptr)},
                               {"error", ok ? json(nullptr) : json(TerminalText(result.error))}});
    }
    json messageList = json::array();
    for (const AccountResult& result : observer.accounts) {
        for (std::size_t row = result.firstRow; row < result.endRow; ++row) {
            messageList.push_back({{"mailbox", TerminalText(table.Mailbox(row))},
                                   {"subject", Header(table.Subject(row), HeaderKind::Subject)},
                                   {"from", Header(table.From(row), HeaderKind::From)},
                                   {"message_id", TerminalText(table.MessageId(row))},
                                   {"new", table.State(row) == MessageNew}});
        }
    }
    const json result = {{"total", total},
                         {"accounts_checked", observer.accounts.size()},
                         {"accounts_failed", FailedCount(observer.accounts)},
                         {"accounts", accountList},
                         {"messages", messageList}};
    out << result.dump() << "\n";
}

int Check(bool json, const CommandLineSetup& setup, std::ostream& out, std::ostream& err) {
    Options options;
    AccountList accounts;
    if (ReadSettingsFile(setup.settingsPath, options, accounts) == RegFileState::Damaged) {
        err << "tarvo: "
            << Format(translate("CommandLine",
                                "the settings file %1 cannot be read whole; it was left as it is"),
                      setup.settingsPath)
            << "\n";
        return kExitUsage;
    }
    if (accounts.size() == 0) {
        err << "tarvo: "
            << Format(translate("CommandLine", "No mailboxes to check in %1"), setup.settingsPath)
            << "\n";
        return kExitUsage;
    }

    MessageTable table;
    KnownMessageIds knownIds;
    HeaderCache cache;
    SignInMemory signIns;
    // The known ids are the tray program's: read to tell what it has not
    // announced yet, never written back.
    std::optional<StateFile> state;
    if (!setup.statePath.empty()) {
        state.emplace(setup.statePath, setup.limits);
        state->Load(accounts, cache, knownIds, signIns);
    }
    std::vector<int32_t> counts(accounts.size(), 0);
    CommandLineObserver observer(table, counts, setup);
    const CheckOutcome outcome =
        RunCheck(accounts, counts, table, knownIds, cache, signIns, observer, setup.limits);
    if (observer.Interrupted()) {
        return kExitInterrupted;
    }
    if (state && !state->SaveHeaders(accounts, cache, table, signIns) &&
        !state->Problem().empty()) {
        err << state->Problem() << "\n";
    }
    if (json) {
        PrintJson(out, accounts, table, observer, outcome.total);
    } else {
        PrintText(out, accounts, observer.accounts, outcome.total);
    }
    return FailedCount(observer.accounts) > 0 ? kExitSomeFailed : kExitAllChecked;
}

int UsageError(std::ostream& err, const std::string& problem) {
    err << "tarvo: " << problem << "\n\n" << translate("CommandLine", kUsage);
    return kExitUsage;
}

// Qt's own options (its documented ones, and those its X11 platform takes),
// which the tray program passes on to it: how many arguments follow each, or
// nothing for an argument that is not one. Qt takes them with one dash or
// two, and those with a value also as -name=value.
std::optional<std::size_t> ToolkitOption(std::string_view arg) {
    static constexpr std::pair<std::string_view, std::size_t> kOptions[] = {
        {"platform", 1},
        {"platformpluginpath", 1},
        {"platformtheme", 1},
        {"plugin", 1},
        {"qwindowgeometry", 1},
        {"qwindowtitle", 1},
        {"qwindowicon", 1},
        {"session", 1},
        {"style", 1},
        {"stylesheet", 1},
        {"display", 1},
        {"geometry", 1},
        {"title", 1},
        {"icon", 1},
        {"name", 1},
        {"reverse", 0},
        {"widgetcount", 0},
        {"testability", 0},
        {"sync", 0},
        {"nograb", 0},
        {"dograb", 0},
        {"visual", 0},
        {"cmap", 0},
        {"qmljsdebugger", 0},
    };
    if (arg.starts_with("--")) {
        arg.remove_prefix(1);
    }
    if (!arg.starts_with("-")) {
        return std::nullopt;
    }
    arg.remove_prefix(1);
    const std::size_t equals = arg.find('=');
    for (const auto& [name, values] : kOptions) {
        if (arg == name) {
            return values;
        }
        if (equals != std::string_view::npos && arg.substr(0, equals) == name) {
            return 0;
        }
    }
    return std::nullopt;
}

volatile std::sig_atomic_t g_interrupted = 0;
volatile std::sig_atomic_t g_disconnect = 0;

extern "C" void OnSignal(int signal) {
    if (signal == SIGINT) {
        g_interrupted = 1;
    } else {
        g_disconnect = 1;
    }
}

} // namespace

std::optional<int> RunCommandLine(const std::vector<std::string>& args,
                                  const CommandLineSetup& setup, std::ostream& out,
                                  std::ostream& err) {
    bool check = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::string unknown;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--check") {
            check = true;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (const auto values = ToolkitOption(arg)) {
            i += *values;
        } else if (unknown.empty()) {
            unknown = arg;
        }
    }
    const bool forReader = help || !unknown.empty() || check != json;
    if (forReader && setup.speakUserLanguage != nullptr) {
        setup.speakUserLanguage();
    }
    if (help) {
        out << translate("CommandLine", kUsage);
        return kExitAllChecked;
    }
    if (version) {
        out << "tarvo " TARVO_VERSION "\n";
        return kExitAllChecked;
    }
    // A mistyped option must not start the tray program instead.
    if (!unknown.empty()) {
        return UsageError(err, Format(translate("CommandLine", "unknown argument '%1'"), unknown));
    }
    if (!check && !json) {
        return std::nullopt;
    }
    if (!check) {
        return UsageError(err, translate("CommandLine", "--json goes with --check"));
    }
    return Check(json, setup, out, err);
}

std::optional<int> RunCommandLine(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Without SA_RESTART, so that a wait in progress wakes up to see it.
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    struct sigaction previousInt {};
    struct sigaction previousUsr1 {};
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGUSR1, &action, &previousUsr1);
    if (previousInt.sa_handler == SIG_IGN) {
        // Started in the background by a shell: Ctrl-C is meant for others.
        sigaction(SIGINT, &previousInt, nullptr);
    }

    const std::string settings = FileRegistry::DefaultPath();
    CommandLineSetup setup{settings,        StateFile::PathFor(settings),
                           ChannelLimits{}, &g_interrupted,
                           &g_disconnect,   SpeakUserLanguage};
    std::optional<int> code = RunCommandLine(args, setup, std::cout, std::cerr);
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGUSR1, &previousUsr1, nullptr);
    if (code == kExitInterrupted && g_interrupted != 0) {
        // Ends as interrupted programs do, so that a calling shell loop stops too.
        std::cout.flush();
        std::raise(SIGINT);
    }
    return code;
}
