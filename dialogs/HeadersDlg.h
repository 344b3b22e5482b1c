// The headers window: every row of the last check with its state, sender and
// mailbox; a double-click shows a message's whole header.
#pragma once

#include "MessageBoxes.h"
#include "MessageTable.h"
#include "TemplateDialog.h"

class QTreeWidget;
class QTreeWidgetItem;

class CHeadersDlg : public TemplateDialog {
public:
    explicit CHeadersDlg(MessageBoxes& boxes, QWidget* parent = nullptr);

    // What the window shows: set before it is first shown, or through
    // SetTable, which shows a new table in the open window.
    MessageTable table;
    void SetTable(const MessageTable& shown);

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnDblClk(QTreeWidgetItem* item);
    // The lines and the caption from the table.
    void Fill();

    MessageBoxes& m_boxes;
    QTreeWidget* m_list;
};
