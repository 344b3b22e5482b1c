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

    // Filled by the owner before DoModal; read only.
    MessageTable table;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnDblClk(QTreeWidgetItem* item);

    MessageBoxes& m_boxes;
    QTreeWidget* m_list;
};
