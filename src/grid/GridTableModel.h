#pragma once

#include "platform/RecordSet.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace vek {

class TDModule;

// The lazy table model grids show: the record set holds one key per row, and a row's
// values are fetched only when a view asks for them, so a table of a million rows
// opens as fast as one of ten. Sorting re-reads the keys in the new order under the
// standing condition; the current record and the view's cells stay on their records.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(TDModule &db, QObject *parent = nullptr);

    // Opens table with fields (all when empty) under a standing condition that stays
    // under every sort. Throws DbError.
    void open(const QString &table, const QStringList &fields = {}, const QString &condition = {},
              const QVariantMap &binds = {});
    RecordSet &records() { return m_records; }
    void setTitles(const QStringList &titles);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    TDModule &m_db;
    mutable RecordSet m_records;
    QString m_table;
    QStringList m_fields;
    QString m_condition;
    QVariantMap m_binds;
    QStringList m_titles;
};

} // namespace vek
