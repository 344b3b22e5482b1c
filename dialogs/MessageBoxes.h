// The one way the dialogs and the tray put up a message box, so that tests
// can see what would be shown and answer it.
#pragma once

#include <QString>
#include <vector>

class QWidget;

class MessageBoxes {
public:
    enum class Icon { None, Information, Exclamation, Error, Question };

    virtual ~MessageBoxes() = default;

    // A box with a single OK button, modal to its owner; returns once it is
    // answered.
    virtual void Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Ask(QWidget* owner, const QString& caption, const QString& text) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) override;
    bool Ask(QWidget* owner, const QString& caption, const QString& text) override;
};

// Keeps every box instead of showing it, and answers each at once: OK, or
// `answer` to a question (whose icon is Question).
class RecordingMessageBoxes final : public MessageBoxes {
public:
    struct Box {
        QWidget* owner;
        QString caption;
        QString text;
        Icon icon;
    };

    void Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) override;
    bool Ask(QWidget* owner, const QString& caption, const QString& text) override;

    std::vector<Box> shown;
    bool answer = true;
};
