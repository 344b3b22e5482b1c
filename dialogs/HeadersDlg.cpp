#include "HeadersDlg.h"

#include "HeadersModel.h"
#include "ShownText.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QLocale>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <array>

namespace {

// In the user's digits, ungrouped as the English title has always been.
QString Number(std::size_t count) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<qulonglong>(count));
}

} // namespace

CHeadersDlg::CHeadersDlg(MessageBoxes& boxes, QWidget* parent)
    // A window of its own rather than a dialog, so it gets a task-bar entry.
    : TemplateDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_boxes(boxes), m_lines(new HeadersModel(this)), m_list(new QTreeView(this)),
      m_readMail(new QPushButton(QCoreApplication::translate("HeadersDlg", "Read mail"), this)) {
    setWindowTitle(TarvoString(IDS_APP_TITLE));
    resize(Units().Size(270, 118));
    Place(m_list, "list", 7, 7, 256, 83);
    // The default button: Enter, on a line or anywhere else, reads mail.
    Place(m_readMail, "readMail", 213, 97, 50, 14);
    m_readMail->setDefault(true);
    connect(m_readMail, &QPushButton::clicked, this, [this] {
        accept();
        if (onReadMail) {
            onReadMail();
        }
    });
    m_list->setModel(m_lines);
    m_list->setRootIsDecorated(false);
    // Every line is one line of text: the view need not measure them all.
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setStretchLastSection(false);
    connect(m_list, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { OnDblClk(index); });
    constexpr int kSettleMs = 500;
    m_sizeSettles.setSingleShot(true);
    m_sizeSettles.setInterval(kSettleMs);
    connect(&m_sizeSettles, &QTimer::timeout, this, &CHeadersDlg::ReportSize);
}

void CHeadersDlg::OnInitDialog() {
    raise();
    activateWindow();
    Fill();
}

void CHeadersDlg::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    if (!event->spontaneous()) {
        OpenAtUsefulSize();
    }
}

// Closed, not minimised: the window shows nothing until it opens with the
// next table, so this one (header texts and all) is let go.
void CHeadersDlg::hideEvent(QHideEvent* event) {
    TemplateDialog::hideEvent(event);
    if (!event->spontaneous()) {
        ReportSize();
        m_lines->Show(nullptr);
        m_table.reset();
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
    const int columnCount = m_lines->columnCount();
    for (int column = 0; column < columnCount; ++column) {
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
    for (int column = 0; column < columnCount; ++column) {
        columns += m_list->columnWidth(column);
    }

    QSize size = rememberedSize;
    if (size.isEmpty()) {
        constexpr int kLinesInView = 20;
        const int lines = std::clamp(m_lines->rowCount(), 1, kLinesInView);
        const int lineHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height());
        const int listHeight =
            m_list->header()->sizeHint().height() + lines * lineHeight + frame + scrollBar;
        size = QSize(chrome + columns, m_list->y() + listHeight + ButtonRow() + margin)
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
            if (m_list->currentIndex().isValid()) {
                m_list->scrollTo(m_list->currentIndex());
            }
        },
        Qt::QueuedConnection);
}

const MessageTable& CHeadersDlg::Table() const {
    static const MessageTable kNone;
    return m_table ? *m_table : kNone;
}

void CHeadersDlg::SetTable(std::shared_ptr<const MessageTable> shown) {
    m_table = std::move(shown);
    if (Initialised()) {
        Fill();
    }
}

void CHeadersDlg::Fill() {
    // A refill goes in unsorted; sorting is switched on again at the end.
    m_list->setSortingEnabled(false);
    const MessageTable& table = Table();
    m_lines->Show(&table);
    std::array<std::size_t, 3> counts = {table.CountOf(MessageNew), table.CountOf(MessagePending),
                                         table.CountOf(MessageError)};
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table.State(row) == MessageNew) {
            const QModelIndex first = m_lines->index(static_cast<int>(row), 0);
            m_list->setCurrentIndex(first);
            m_list->scrollTo(first);
            break;
        }
    }

    if (counts[MessageNew] + counts[MessagePending] + counts[MessageError] == 0) {
        setWindowIcon(TarvoIcon(IDI_IDLE));
        setWindowTitle(QCoreApplication::translate("HeadersDlg", "No new messages."));
    } else {
        setWindowIcon(TarvoIcon(IDI_UNREAD));
        setWindowTitle(
            QCoreApplication::translate("HeadersDlg", "%1 new message(s), %2 pending, %3 error(s)")
                .arg(Number(counts[MessageNew]), Number(counts[MessagePending]),
                     Number(counts[MessageError])));
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
                        std::max(0, size.height() - top - ButtonRow() - left));
    m_readMail->move(size.width() - left - m_readMail->width(),
                     size.height() - left - m_readMail->height());
    if (isVisible() && size != m_openedAt) {
        m_sizeSettles.start();
    }
}

// The button and the space above it.
int CHeadersDlg::ButtonRow() const {
    return m_readMail->height() + Units().Y(7);
}

void CHeadersDlg::OnDblClk(const QModelIndex& index) {
    const MessageTable& table = Table();
    const QVariant tableRow = index.siblingAtColumn(0).data(HeadersModel::kRowRole);
    if (!tableRow.isValid() || tableRow.toULongLong() >= table.size()) {
        return;
    }
    const auto row = static_cast<std::size_t>(tableRow.toULongLong());
    const std::string_view header = table.HeaderText(row);
    if (header.empty()) {
        return;
    }
    // An error row's text is why its account failed: the box is that account's.
    const bool error = table.State(row) == MessageError;
    m_boxes.Show(this,
                 error ? DisplayText(table.Mailbox(row))
                       : QCoreApplication::translate("HeadersDlg", "Message Header"),
                 header.data() == kHeaderTextNotKept.data()
                     ? QCoreApplication::translate("MessageTable", kHeaderTextNotKept.data())
                     : QString::fromStdString(ShownLines(header)),
                 MessageBoxes::Icon::None);
}
