#include "HeadersDlg.h"

#include "HeaderDisplay.h"
#include "ShownText.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <array>

namespace {

QString Decoded(std::string_view raw, HeaderKind kind) {
    return QString::fromStdString(DecodeHeaderForDisplay(raw, kind));
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
    constexpr int kSettleMs = 500;
    m_sizeSettles.setSingleShot(true);
    m_sizeSettles.setInterval(kSettleMs);
    connect(&m_sizeSettles, &QTimer::timeout, this, &CHeadersDlg::ReportSize);
}

void CHeadersDlg::OnInitDialog() {
    raise();
    activateWindow();

    m_list->setHeaderLabels(
        {QStringLiteral("Subject"), QStringLiteral("From"), QStringLiteral("Mailbox")});
    Fill();
}

void CHeadersDlg::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    if (!event->spontaneous()) {
        OpenAtUsefulSize();
    }
}

// Closed, not minimised: the window shows nothing until it opens with the
// next table, so its copy of this one (header texts and all) is let go.
void CHeadersDlg::hideEvent(QHideEvent* event) {
    TemplateDialog::hideEvent(event);
    if (!event->spontaneous()) {
        ReportSize();
        table = MessageTable();
        m_list->clear();
    }
}

// Kept while the window stays open too, so a size survives the end of the
// session; a maximised window keeps the size it had before.
void CHeadersDlg::ReportSize() {
    m_sizeSettles.stop();
    if (size() != m_openedAt && !isMaximized() && !isFullScreen() && onSizeChosen) {
        m_openedAt = size();
        onSizeChosen(size());
    }
}

// The screen that holds the tray, or else the pointer.
QScreen* CHeadersDlg::ScreenToOpenOn() const {
    QScreen* near = QGuiApplication::screenAt(openNear ? openNear() : QCursor::pos());
    return near != nullptr ? near : QGuiApplication::primaryScreen();
}

void CHeadersDlg::OpenAtUsefulSize() {
    QScreen* screen = ScreenToOpenOn();
    const QRect available = screen->availableGeometry();
    const QSize largest(available.width() * 3 / 4, available.height() / 2);
    const int margin = m_list->x();
    const int frame = 2 * m_list->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int chrome = 2 * margin + frame + scrollBar;

    // From and Mailbox get room for their lines first, each within a share;
    // Subject takes what is left, and a longer one is elided.
    for (int column = 0; column < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
    }
    const int room = (rememberedSize.isEmpty() ? largest.width() : rememberedSize.width()) - chrome;
    if (room > 0) {
        const int from = std::min(m_list->columnWidth(1), room * 2 / 5);
        const int mailbox = std::min(m_list->columnWidth(2), room / 4);
        m_list->setColumnWidth(1, from);
        m_list->setColumnWidth(2, mailbox);
        m_list->setColumnWidth(0, std::clamp(room - from - mailbox, 0, m_list->columnWidth(0)));
    }
    int columns = 0;
    for (int column = 0; column < m_list->columnCount(); ++column) {
        columns += m_list->columnWidth(column);
    }

    QSize size = rememberedSize;
    if (size.isEmpty()) {
        constexpr int kLinesInView = 20;
        const int lines = std::clamp(m_list->topLevelItemCount(), 1, kLinesInView);
        const int lineHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height());
        const int listHeight =
            m_list->header()->sizeHint().height() + lines * lineHeight + frame + scrollBar;
        size = QSize(chrome + columns, m_list->y() + listHeight + margin)
                   .expandedTo(Units().Size(270, 118))
                   .boundedTo(largest);
    }
    resize(size.boundedTo(available.size()));
    m_openedAt = this->size();
    // Centred, so that all of it is on that screen whatever the window
    // manager would have chosen.
    QRect placed(QPoint(), this->size());
    placed.moveCenter(available.center());
    move(placed.topLeft());
    // Once the list has its new size.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QTreeWidgetItem* current = m_list->currentItem()) {
                m_list->scrollToItem(current);
            }
        },
        Qt::QueuedConnection);
}

void CHeadersDlg::SetTable(const MessageTable& shown) {
    table = shown;
    if (Initialised()) {
        Fill();
    }
}

void CHeadersDlg::Fill() {
    // Indexed by MessageState.
    const std::array<QIcon, 3> images = {TarvoIcon(IDI_UNREAD), TarvoIcon(IDI_IDLE),
                                         TarvoIcon(IDI_RETRIEVING)};
    // A refill goes in unsorted; sorting is switched on again at the end.
    m_list->setSortingEnabled(false);
    m_list->clear();
    std::array<int, 3> counts = {0, 0, 0};
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto* item = new Line(m_list);
        const MessageState state = table.State(i);
        // An error row's texts are the program's own, not a mail's headers.
        const bool message = state != MessageError;
        item->setText(0, message ? Decoded(table.Subject(i), HeaderKind::Subject)
                                 : DisplayText(table.Subject(i)));
        item->setText(1, message ? Decoded(table.From(i), HeaderKind::From)
                                 : DisplayText(table.From(i)));
        item->setText(2, DisplayText(table.Mailbox(i)));
        if (!message) {
            for (int column = 0; column < 3; ++column) {
                item->setToolTip(column, DisplayText(table.HeaderText(i)));
            }
        }
        item->setData(0, kRowRole, static_cast<int>(i));
        if (state < images.size()) {
            item->setIcon(0, images[state]);
            ++counts[state];
        }
        if (state == MessageNew && counts[MessageNew] == 1) {
            m_list->setCurrentItem(item);
            m_list->scrollToItem(item);
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
    if (isVisible() && size != m_openedAt) {
        m_sizeSettles.start();
    }
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
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return;
    }
    const auto row = static_cast<std::size_t>(index);
    const std::string_view header = table.HeaderText(row);
    if (header.empty()) {
        return;
    }
    // An error row's text is why its account failed: the box is that account's.
    const bool error = table.State(row) == MessageError;
    m_boxes.Show(this, error ? DisplayText(table.Mailbox(row)) : QStringLiteral("Message Header"),
                 QString::fromStdString(ShownLines(header)), MessageBoxes::Icon::None);
}
