#pragma once
// The information tables of a fit's repetitions side by side: column 0 holds the keys of the
// first repetition's table, column k the k-th repetition's values, entry by entry.

#include <QAbstractTableModel>
#include <vector>

#include "Hashtable.h"

class TRepetition;

class TRepetitionsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The tables are built once, here.
    explicit TRepetitionsTableModel(const std::vector<TRepetition*>& repetitions, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // "Repetition" over the keys, then 1 .. n.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<THashtable> tables_;
};
