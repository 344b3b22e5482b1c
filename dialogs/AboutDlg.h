// The about box: product line, maker, version, contacts, a picture, and the
// contributors' list behind "Thanks to...".
#pragma once

#include "MessageBoxes.h"
#include "TemplateDialog.h"

class CAboutDlg : public TemplateDialog {
public:
    explicit CAboutDlg(MessageBoxes& boxes, QWidget* parent = nullptr);

    static QString AboutText();

protected:
    bool event(QEvent* event) override;

private:
    void OnThanks();

    MessageBoxes& m_boxes;
};
