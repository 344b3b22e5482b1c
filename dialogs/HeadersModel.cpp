#include "HeadersModel.h"

#include "HeaderDisplay.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QCoreApplication>
#include <algorithm>
#include <numeric>

namespace {

constexpr int kColumns = 3;

} // namespace

HeadersModel::HeadersModel(QObject* parent)
    : QAbstractTableModel(parent), m_images{TarvoIcon(IDI_UNREAD), TarvoIcon(IDI_IDLE),
                                            TarvoIcon(IDI_RETRIEVING)} {}

void HeadersModel::Show(const MessageTable* table) {
    beginResetModel();
    m_table = table;
    m_lines.resize(table != nullptr ? table->size() : 0);
    std::iota(m_lines.begin(), m_lines.end(), 0);
    endResetModel();
}

int HeadersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int HeadersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

// An error row's texts are the program's own, not a mail's headers.
QString HeadersModel::Text(std::size_t row, int column) const {
    const bool message = m_table->State(row) != MessageError;
    switch (column) {
    case 0:
        return message ? ShownHeader(m_table->Subject(row), HeaderKind::Subject)
                       : DisplayText(m_table->Subject(row));
    case 1:
        return message ? ShownHeader(m_table->From(row), HeaderKind::From)
                       : DisplayText(m_table->From(row));
    default:
        return DisplayText(m_table->Mailbox(row));
    }
}

QVariant HeadersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_lines.size()) {
        return {};
    }
    const std::size_t row = m_lines[static_cast<std::size_t>(index.row())];
    const MessageState state = m_table->State(row);
    switch (role) {
    case Qt::DisplayRole:
        return Text(row, index.column());
    case Qt::DecorationRole:
        if (index.column() == 0 && state < m_images.size()) {
            return m_images[state];
        }
        return {};
    case Qt::ToolTipRole:
        if (state == MessageError) {
            return DisplayText(m_table->HeaderText(row));
        }
        return {};
    case kRowRole:
        return index.column() == 0 ? QVariant(static_cast<qulonglong>(row)) : QVariant();
    default:
        return {};
    }
}

QVariant HeadersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const QString kHeadings[kColumns] = {
        QCoreApplication::translate("HeadersModel", "Subject"),
        QCoreApplication::translate("HeadersModel", "From"),
        QCoreApplication::translate("HeadersModel", "Mailbox")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns) {
        return {};
    }
    return kHeadings[section];
}

void HeadersModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> rowsBefore;
    for (const QModelIndex& index : before) {
        rowsBefore.push_back(m_lines[static_cast<std::size_t>(index.row())]);
    }
    if (column < 0 || column >= kColumns) {
        std::iota(m_lines.begin(), m_lines.end(), 0);
    } else {
        // Made once for the sort rather than at each comparison.
        std::vector<QString> shown(m_lines.size());
        for (uint32_t row : m_lines) {
            shown[row] = Text(row, column);
        }
        std::stable_sort(m_lines.begin(), m_lines.end(), [&](uint32_t a, uint32_t b) {
            const int compared = QString::localeAwareCompare(shown[a], shown[b]);
            return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
        });
    }
    std::vector<int> lineOf(m_lines.size());
    for (std::size_t line = 0; line < m_lines.size(); ++line) {
        lineOf[m_lines[line]] = static_cast<int>(line);
    }
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(index(lineOf[rowsBefore[static_cast<std::size_t>(i)]], before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
