#include "GridTableModel.h"

#include "platform/TDModule.h"

namespace vek {

GridTableModel::GridTableModel(TDModule &db, QObject *parent) : QAbstractTableModel(parent), m_db(db), m_records(db) {}

void GridTableModel::open(const QString &table, const QStringList &fields, const QString &condition,
                          const QVariantMap &binds)
{
    beginResetModel();
    try {
        m_records.open(table, fields, condition, binds);
    } catch (...) {
        endResetModel();
        throw;
    }
    m_table = table;
    m_fields = fields;
    m_condition = condition;
    m_binds = binds;
    m_titles.clear();
    endResetModel();
}

void GridTableModel::setTitles(const QStringList &titles)
{
    m_titles = titles;
    if (columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_records.isOpen() ? 0 : m_records.rowCount();
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_records.isOpen() ? 0 : int(m_records.columns().size());
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_records.valueAt(index.row(), m_records.columns().at(index.column()).name);
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    const QString title = m_titles.value(section);
    return title.isEmpty() ? m_records.columns().at(section).name : title;
}

void GridTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    const QString field = m_db.dialect().quoteExactIdent(m_records.columns().at(column).name);
    beginResetModel();
    try {
        m_records.open(m_table, m_fields, m_condition, m_binds, field + (order == Qt::DescendingOrder ? " DESC" : " ASC"));
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

} // namespace vek
