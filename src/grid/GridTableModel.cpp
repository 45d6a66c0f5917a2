#include "GridTableModel.h"

#include "platform/TDModule.h"

#include <QHash>

namespace vek {

namespace {
// Rows of the view (current cell, selection) kept in place across a sort.
constexpr int kMaxFollowedRows = 256;
} // namespace

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
    return m_records.valueAt(index.row(), index.column());
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
    // A sort never drops a pending edit: the window posts or cancels it first.
    if (m_records.state() != RecordSet::State::Browse)
        return;
    const QString field = m_db.dialect().quoteExactIdent(m_records.columns().at(column).name);
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QVariantList keys;
    keys.reserve(before.size());
    for (const QModelIndex &i : before)
        keys << m_records.keyAt(i.row());
    try {
        m_records.sort(field + (order == Qt::DescendingOrder ? " DESC" : " ASC"));
    } catch (...) {
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
        throw;
    }
    // The view's current cell and selection follow their records. Each lookup scans the
    // keys, so a very large selection is let go instead.
    QHash<int, int> newRow;
    QModelIndexList after;
    after.reserve(before.size());
    for (int i = 0; i < before.size(); ++i) {
        const int old = before[i].row();
        auto it = newRow.constFind(old);
        if (it == newRow.constEnd())
            it = newRow.insert(old, newRow.size() < kMaxFollowedRows ? m_records.rowOfKey(keys[i]) : -1);
        after << (*it < 0 ? QModelIndex() : index(*it, before[i].column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace vek
