// What a dialog shows while it talks to a mail server: a window of its own
// that says what is fetched, with a Cancel button that ends the
// conversation. The conversation waits as a check does, in bounded slices
// that let the desktop's events through; while it runs, this window holds
// the owner's input.
#pragma once

#include <QDialog>

class MailConversation;
class QString;

// The wait hook of a conversation run from a dialog.
void DialogWaitHook();

class FetchingWindow {
public:
    // Shown at once; hidden when it goes.
    FetchingWindow(QWidget* owner, const char* name, const QString& caption, const QString& text,
                   MailConversation& conversation);
    FetchingWindow(const FetchingWindow&) = delete;
    FetchingWindow& operator=(const FetchingWindow&) = delete;

    bool Cancelled() const { return m_cancelled; }

private:
    QDialog m_window;
    bool m_cancelled = false;
};
