// The headers window: every row of the last check with its state, sender and
// mailbox; a double-click shows a message's whole header, and Read mail (or
// Enter) goes on to the mail program.
#pragma once

#include "MessageBoxes.h"
#include "MessageTable.h"
#include "TemplateDialog.h"

#include <QSize>
#include <QTimer>
#include <functional>
#include <memory>

class HeadersModel;
class QModelIndex;
class QPushButton;
class QScreen;
class QTreeView;

class CHeadersDlg : public TemplateDialog {
public:
    explicit CHeadersDlg(MessageBoxes& boxes, QWidget* parent = nullptr);

    // What the window shows: set before it is shown, or while it is open,
    // which then shows the new table. Shared with the check that made it,
    // never copied; let go of when the window closes.
    void SetTable(std::shared_ptr<const MessageTable> shown);
    const MessageTable& Table() const;

    // The size to open at, as the user last left the window; empty for a
    // size fitted to the lines. Told of a size the user gives the window
    // when it closes.
    QSize rememberedSize;
    std::function<void(QSize)> onSizeChosen;
    // A point on the screen to open on (the tray icon's); when unset, the
    // pointer's screen.
    std::function<QPoint()> openNear;
    // Read mail: called as the window closes.
    std::function<void()> onReadMail;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::shared_ptr<const MessageTable> m_table;
    void OnDblClk(const QModelIndex& index);
    // The lines and the caption from the table; the first new line selected.
    void Fill();
    // Columns sized to their lines and the window to its columns, each
    // within a share of the screen; or the remembered size.
    void OpenAtUsefulSize();
    QScreen* ScreenToOpenOn() const;
    // Tells of a size the user has given the window since it opened.
    void ReportSize();
    int ButtonRow() const;

    MessageBoxes& m_boxes;
    HeadersModel* m_lines;
    QTreeView* m_list;
    QPushButton* m_readMail;
    QSize m_openedAt;
    // A drag sends many sizes; the one it ends at is reported.
    QTimer m_sizeSettles;
};
