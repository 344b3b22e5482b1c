#include "HeadersDlg.h"

#include "HeaderDisplay.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QTreeWidget>
#include <array>

namespace {

// The owner keeps the lists equally long; a short one shows as empty text
// rather than reading past its end.
QString Cell(const std::vector<std::string>& list, std::size_t i) {
    return i < list.size() ? DisplayText(list[i]) : QString();
}

QString Decoded(const std::vector<std::string>& list, std::size_t i, HeaderKind kind) {
    return i < list.size() ? QString::fromStdString(DecodeHeaderForDisplay(list[i], kind))
                           : QString();
}

// Sorted by what the user reads, in the order of the user's language rather
// than by code unit.
class Line : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget()->sortColumn();
        return QString::localeAwareCompare(text(column), other.text(column)) < 0;
    }
};

constexpr int kRowRole = Qt::UserRole;

} // namespace

CHeadersDlg::CHeadersDlg(MessageBoxes& boxes, QWidget* parent)
    // A window of its own rather than a dialog, so it gets a task-bar entry.
    : TemplateDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_boxes(boxes), m_list(new QTreeWidget(this)) {
    setWindowTitle(TarvoString(IDS_APP_TITLE));
    resize(Units().Size(270, 118));
    Place(m_list, "list", 7, 7, 256, 104);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setStretchLastSection(false);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OnDblClk(item); });
}

void CHeadersDlg::OnInitDialog() {
    raise();
    activateWindow();

    // Indexed by MessageState.
    const std::array<QIcon, 3> images = {TarvoIcon(IDI_UNREAD), TarvoIcon(IDI_IDLE),
                                         TarvoIcon(IDI_RETRIEVING)};

    const int width = m_list->contentsRect().width();
    m_list->setHeaderLabels(
        {QStringLiteral("Subject"), QStringLiteral("From"), QStringLiteral("Mailbox")});
    m_list->setColumnWidth(0, width);
    m_list->setColumnWidth(1, width / 2);
    m_list->setColumnWidth(2, width / 2);

    std::array<int, 3> counts = {0, 0, 0};
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto* item = new Line(m_list);
        const uint32_t state = table.states[i];
        // An error row's texts are the program's own, not a mail's headers.
        const bool message = state != MessageError;
        item->setText(0, message ? Decoded(table.subjects, i, HeaderKind::Subject)
                                 : Cell(table.subjects, i));
        item->setText(1,
                      message ? Decoded(table.froms, i, HeaderKind::From) : Cell(table.froms, i));
        item->setText(2, Cell(table.mailboxes, i));
        item->setData(0, kRowRole, static_cast<int>(i));
        if (state < images.size()) {
            item->setIcon(0, images[state]);
            ++counts[state];
        }
    }

    if (counts[MessageNew] + counts[MessagePending] + counts[MessageError] == 0) {
        setWindowIcon(TarvoIcon(IDI_IDLE));
        setWindowTitle(QStringLiteral("No new messages."));
    } else {
        setWindowIcon(TarvoIcon(IDI_UNREAD));
        setWindowTitle(QStringLiteral("%1 new message(s), %2 pending, %3 error(s)")
                           .arg(counts[MessageNew])
                           .arg(counts[MessagePending])
                           .arg(counts[MessageError]));
    }

    // Lines stay in the check's order until the user clicks a column heading.
    m_list->header()->setSortIndicator(-1, Qt::AscendingOrder);
    m_list->setSortingEnabled(true);
}

void CHeadersDlg::resizeEvent(QResizeEvent* event) {
    TemplateDialog::resizeEvent(event);
    const QSize size = event->size();
    if (size.width() <= 0 || size.height() <= 0 || isMinimized()) {
        return;
    }
    const int left = m_list->x();
    const int top = m_list->y();
    m_list->setGeometry(left, top, std::max(0, size.width() - 2 * left),
                        std::max(0, size.height() - top - left));
}

void CHeadersDlg::keyPressEvent(QKeyEvent* event) {
    // With no buttons, Enter would otherwise do nothing; it closes like OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    TemplateDialog::keyPressEvent(event);
}

void CHeadersDlg::OnDblClk(QTreeWidgetItem* item) {
    const int index = item->data(0, kRowRole).toInt();
    if (index < 0 || static_cast<std::size_t>(index) >= table.headerTexts.size()) {
        return;
    }
    const std::string& header = table.headerTexts[static_cast<std::size_t>(index)];
    if (!header.empty()) {
        m_boxes.Show(this, QStringLiteral("Message Header"), DisplayText(header),
                     MessageBoxes::Icon::None);
    }
}
