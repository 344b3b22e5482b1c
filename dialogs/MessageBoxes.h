// The one way the dialogs and the tray put up a message box, so that tests
// can see what would be shown and answer it.
#pragma once

#include <QString>
#include <vector>

class QWidget;

class MessageBoxes {
public:
    enum class Icon { None, Information, Exclamation, Error, Question };
    enum class Answer { Yes, No, Cancel };
    enum class Choices { YesNo, YesNoCancel };

    virtual ~MessageBoxes() = default;

    // A box with a single OK button, modal to its owner; returns once it is
    // answered.
    virtual void Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) = 0;
    // A question; Escape answers Cancel where it is offered, else No.
    virtual Answer Ask(QWidget* owner, const QString& caption, const QString& text,
                       Choices choices) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) override;
    Answer Ask(QWidget* owner, const QString& caption, const QString& text,
               Choices choices) override;
};

// Keeps every box instead of showing it, and answers each at once: OK, or
// the next of the scripted answers to a question (whose icon is Question);
// when none is left, what Escape would answer.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    struct Box {
        QWidget* owner;
        QString caption;
        QString text;
        Icon icon;
    };

    void Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) override;
    Answer Ask(QWidget* owner, const QString& caption, const QString& text,
               Choices choices) override;

    std::vector<Box> shown;
    std::vector<Answer> answers;
};
