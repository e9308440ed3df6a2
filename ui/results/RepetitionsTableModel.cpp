#include "RepetitionsTableModel.h"

#include <QFont>

#include "Repetition.h"

TRepetitionsTableModel::TRepetitionsTableModel(const std::vector<TRepetition*>& repetitions, QObject* parent)
    : QAbstractTableModel(parent) {
    tables_.reserve(repetitions.size());
    for (const TRepetition* rep : repetitions)
        tables_.push_back(rep->GetInfoTable());
}

int TRepetitionsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || tables_.empty() ? 0 : tables_.front().getLength();
}

int TRepetitionsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || tables_.empty() ? 0 : static_cast<int>(tables_.size()) + 1;
}

QVariant TRepetitionsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const int column = index.column();
    if (role == Qt::FontRole && column == 0) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole) return {};
    if (column == 0) return QString::fromStdString(tables_.front().getKeys()[static_cast<size_t>(row)]);
    // Every table has the same keys in the same order; a shorter one leaves its cells empty.
    const THashtable& table = tables_[static_cast<size_t>(column) - 1];
    if (row >= table.getLength()) return QString();
    return QString::fromStdString(table.getValueAt(row));
}

QVariant TRepetitionsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return section == 0 ? QStringLiteral("Repetition") : QString::number(section);
}
