#include "GridViewModel.h"

#include "dictionary/NumberFormat.h"
#include "RecordRules.h"
#include "platform/DbError.h"
#include "platform/TDModule.h"


namespace vek {

GridViewModel::GridViewModel(TDModule &db, QObject *parent) : GridTableModel(db, parent), m_db(db) {}

void GridViewModel::setCalcDefs(const QList<CalcDef> &defs, const QDate &today)
{
    beginResetModel();
    m_calcs = defs;
    m_today = today;
    endResetModel();
}

QString GridViewModel::fieldAt(int column) const
{
    if (column < 0 || column >= fieldCount())
        return {};
    return const_cast<GridViewModel *>(this)->records().columns().at(column).name;
}

int GridViewModel::columnOf(const QString &field) const
{
    return const_cast<GridViewModel *>(this)->records().columnIndex(field);
}

void GridViewModel::setDisplayFormats(const QMap<QString, QString> &formatsByField)
{
    m_formats.clear();
    for (auto it = formatsByField.begin(); it != formatsByField.end(); ++it)
        m_formats.insert(it.key().toLower(), it.value());
}

void GridViewModel::setReadOnlyFields(const QSet<QString> &lowerCaseNames)
{
    m_readOnly = lowerCaseNames;
}

void GridViewModel::setEditable(bool on)
{
    m_editable = on;
}

bool GridViewModel::isDocumentColumn(int column) const
{
    return !isCalcColumn(column) && m_documentFields.contains(fieldAt(column).toLower());
}

bool GridViewModel::inserting() const
{
    return const_cast<GridViewModel *>(this)->records().state() == RecordSet::State::Insert;
}

int GridViewModel::rowCount(const QModelIndex &parent) const
{
    const int n = GridTableModel::rowCount(parent);
    return parent.isValid() ? 0 : n + (inserting() ? 1 : 0);
}

int GridViewModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || fieldCount() == 0)
        return 0;
    return fieldCount() + int(m_calcs.size());
}

QString GridViewModel::displayText(int row, int column) const
{
    RecordSet &rs = const_cast<GridViewModel *>(this)->records();
    const bool bufferRow = (rs.state() == RecordSet::State::Edit && row == rs.currentRow())
                           || (rs.state() == RecordSet::State::Insert && row == rs.rowCount());
    auto fieldValue = [&](const QString &field) -> QVariant {
        return bufferRow ? rs.value(field) : rs.valueAt(row, field);
    };
    if (isCalcColumn(column)) {
        const CalcDef &def = m_calcs.at(column - fieldCount());
        auto text = [&](const QString &field) -> std::optional<QString> {
            if (rs.columnIndex(field) < 0)
                return std::nullopt;
            return fieldValue(field).toString();
        };
        return EvaluateCalc(def, text, row + 1, m_today);
    }
    const ColumnInfo &c = rs.columns().at(column);
    const QVariant v = fieldValue(c.name);
    if (v.isNull())
        return {};
    if (c.kind == ColumnInfo::Kind::Blob)
        return QStringLiteral("(二进制数据)");
    if (c.kind == ColumnInfo::Kind::Boolean)
        return v.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    const auto fmt = m_formats.constFind(c.name.toLower());
    if (fmt != m_formats.constEnd() && c.isNumeric())
        return NumberFormat::format(v, *fmt);
    if (c.kind == ColumnInfo::Kind::Float || c.kind == ColumnInfo::Kind::Currency)
        return NumberFormat::editText(v);
    return v.toString();
}

QVariant GridViewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::EditRole: {
        if (isCalcColumn(index.column()))
            return displayText(index.row(), index.column());
        RecordSet &rs = const_cast<GridViewModel *>(this)->records();
        const QString field = fieldAt(index.column());
        const bool bufferRow = (rs.state() == RecordSet::State::Edit && index.row() == rs.currentRow())
                               || (rs.state() == RecordSet::State::Insert && index.row() == rs.rowCount());
        const QVariant v = bufferRow ? rs.value(field) : rs.valueAt(index.row(), field);
        const ColumnInfo &c = rs.columns().at(index.column());
        if (c.kind == ColumnInfo::Kind::Float || c.kind == ColumnInfo::Kind::Currency)
            return v.isNull() ? QVariant() : QVariant(NumberFormat::editText(v)); // full precision while editing
        return v;
    }
    case Qt::TextAlignmentRole: {
        if (isCalcColumn(index.column()))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        const ColumnInfo &c = const_cast<GridViewModel *>(this)->records().columns().at(index.column());
        return c.isNumeric() ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

Qt::ItemFlags GridViewModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!index.isValid() || !m_editable || isCalcColumn(index.column()))
        return f;
    RecordSet &rs = const_cast<GridViewModel *>(this)->records();
    const ColumnInfo &c = rs.columns().at(index.column());
    if (rs.readOnly() || c.autoIncrement || m_readOnly.contains(c.name.toLower()))
        return f;
    return f | Qt::ItemIsEditable;
}

bool GridViewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    RecordSet &rs = records();
    const QString field = fieldAt(index.column());
    if (rs.state() == RecordSet::State::Browse) {
        if (index.row() != rs.currentRow() && !rs.seek(index.row()))
            return false;
        try {
            rs.edit();
        } catch (const RecordRefused &) {
            return false; // the rule told the user already
        } catch (const DbError &e) {
            Q_EMIT failed(e.message());
            return false;
        }
    } else if (rs.state() == RecordSet::State::Edit && index.row() != rs.currentRow()) {
        return false;
    }
    const QVariant old = rs.value(field);
    QVariant v = value;
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty())
        v = QVariant();
    if (old == v && old.isNull() == v.isNull())
        return true;
    rs.setValue(field, v);
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

QVariant GridViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= fieldCount() && section < columnCount()) {
        if (role == Qt::DisplayRole)
            return m_calcs.at(section - fieldCount()).caption;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && inserting() && section == GridTableModel::rowCount())
        return QStringLiteral("*");
    return GridTableModel::headerData(section, orientation, role);
}

void GridViewModel::reopen(const QString &condition, const QVariantMap &binds, const QString &orderBy)
{
    RecordSet &rs = records();
    const QVariant key = rs.keyAt(rs.currentRow());
    const QString table = rs.table();
    QStringList fields;
    for (const ColumnInfo &c : rs.columns())
        fields << c.name;
    beginResetModel();
    try {
        rs.open(table, fields, condition, binds, orderBy);
        // Stay on the record the user was on, when it is still there.
        const int at = key.isValid() ? rs.rowOfKey(key) : -1;
        if (at >= 0)
            rs.seek(at);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void GridViewModel::setOrder(const QString &orderBy)
{
    beginResetModel();
    try {
        records().sort(orderBy);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void GridViewModel::setCondition(const QString &condition, const QVariantMap &binds)
{
    reopen(condition, binds, records().orderBy());
}

void GridViewModel::refresh()
{
    beginResetModel();
    try {
        records().refresh();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void GridViewModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= fieldCount())
        return;
    setOrder(m_db.dialect().quoteExactIdent(fieldAt(column)) + (order == Qt::DescendingOrder ? " DESC" : " ASC"));
}

void GridViewModel::beginAppend()
{
    RecordSet &rs = records();
    const int at = rs.rowCount();
    beginInsertRows({}, at, at);
    try {
        rs.insert();
    } catch (...) {
        endInsertRows();
        throw;
    }
    endInsertRows();
}

void GridViewModel::endEditing(bool post)
{
    RecordSet &rs = records();
    const bool wasInsert = rs.state() == RecordSet::State::Insert;
    if (rs.state() == RecordSet::State::Browse)
        return;
    if (post) {
        // Throws when refused: the buffer stays. A posted new row keeps its place at the end.
        rs.post();
        const int r = rs.currentRow();
        Q_EMIT dataChanged(index(r, 0), index(r, columnCount() - 1));
        return;
    }
    if (wasInsert) {
        const int at = rs.rowCount();
        beginRemoveRows({}, at, at);
        rs.cancel();
        endRemoveRows();
    } else {
        const int r = rs.currentRow();
        rs.cancel();
        Q_EMIT dataChanged(index(r, 0), index(r, columnCount() - 1));
    }
}

void GridViewModel::rowChangedOutside()
{
    beginResetModel();
    endResetModel();
}

} // namespace vek
