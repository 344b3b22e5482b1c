// The headers window's lines over the table it shows. A line's texts are made
// when the view asks for them, which it does for the lines in sight, so a
// mailbox of tens of thousands of messages costs no widget objects per line.
#pragma once

#include "MessageTable.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <cstdint>
#include <vector>

class HeadersModel : public QAbstractTableModel {
public:
    // The line's row in the table, in column 0.
    static constexpr int kRowRole = Qt::UserRole;

    explicit HeadersModel(QObject* parent = nullptr);

    // Shows table's rows in its order, or nothing when null; the table must
    // stay as it is until the next call.
    void Show(const MessageTable* table);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // By what the column shows, in the order of the user's language; a
    // column of -1 is the check's own order.
    void sort(int column, Qt::SortOrder order) override;

private:
    QString Text(std::size_t row, int column) const;

    const MessageTable* m_table = nullptr;
    std::vector<uint32_t> m_lines; // the table row of each line
    // Indexed by MessageState.
    std::array<QIcon, 3> m_images;
};
