// A dialog laid out from a fixed template measured in dialog units: a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height, so the layout follows the font.
#pragma once

#include <QDialog>
#include <QRect>
#include <vector>

class QFont;

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int dlu) const;
    int Y(int dlu) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

private:
    int m_charWidth;
    int m_charHeight;
};

// The title bar of a fixed-size dialog: the caption and, where asked for,
// the close box; no minimise or maximise, which a modal dialog without a
// task-bar entry would have no way back from.
Qt::WindowFlags FixedDialogFlags(bool closeBox);

// Brings a window to the user: out of a minimise, shown, raised and
// activated. On Wayland a client can neither raise a window nor take back a
// minimise, and Qt's activation needs a protocol not every compositor has
// (Weston has none): there a shown window is mapped again, as a new window
// comes in front.
void BringForward(QWidget& window);

// Runs a dialog modally until it is answered and returns its result. Unlike
// QDialog::exec, the dialog may be hidden and shown again on the way (as
// BringForward does on Wayland), and a minimise or maximise that a title bar
// offers all the same is undone at once.
int RunDialog(QDialog& dialog);

class TemplateDialog : public QDialog {
public:
    // Runs the dialog modally: 1 when it ends with OK, 2 otherwise.
    int DoModal();

protected:
    TemplateDialog(QWidget* parent, Qt::WindowFlags flags);

    // Runs once, when the dialog is first shown.
    virtual void OnInitDialog() {}

    void showEvent(QShowEvent* event) override;

    const DialogUnits& Units() const { return m_units; }
    bool Initialised() const { return m_initialised; }

    // Puts a control where the template has it, named after its role.
    template <typename W> W* Place(W* widget, const char* name, int x, int y, int w, int h) {
        PlaceWidget(widget, name, QRect(x, y, w, h));
        return widget;
    }

private:
    struct Placed {
        QWidget* widget;
        QRect units; // where the template has it, in dialog units
    };

    void PlaceWidget(QWidget* widget, const char* name, const QRect& units);
    void FitToTexts();

    DialogUnits m_units;
    std::vector<Placed> m_placed;
    bool m_initialised = false;
};
