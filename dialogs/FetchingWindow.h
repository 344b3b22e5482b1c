// What a dialog shows while it waits on a mail server or the keyring: a
// window of its own that says what is awaited, with a Cancel button that ends
// the wait. The wait goes as a check's does, in bounded slices that let the
// desktop's events through; while it runs, this window holds the owner's
// input.
#pragma once

#include <QDialog>
#include <functional>

class QString;

// The wait hook of a conversation run from a dialog.
void DialogWaitHook();

class FetchingWindow {
public:
    // Shown at once; hidden when it goes. Cancel calls onCancel, if given, and
    // from then on Cancelled() is true.
    FetchingWindow(QWidget* owner, const char* name, const QString& caption, const QString& text,
                   std::function<void()> onCancel = {});
    FetchingWindow(const FetchingWindow&) = delete;
    FetchingWindow& operator=(const FetchingWindow&) = delete;

    bool Cancelled() const { return m_cancelled; }

private:
    QDialog m_window;
    bool m_cancelled = false;
};
