#pragma once

#include "CalcColumns.h"
#include "GridTableModel.h"

#include <QDate>
#include <QMap>
#include <QSet>

namespace vek {

// What the grid window shows: the lazy table model, plus calculated columns after the
// table's own, display formats, read-only columns, editing through the record set (the
// row being edited shows its buffer), an appended row while a new record is being
// entered, and sorting that keeps the standing condition.
class GridViewModel : public GridTableModel {
    Q_OBJECT
public:
    explicit GridViewModel(TDModule &db, QObject *parent = nullptr);

    void setCalcDefs(const QList<CalcDef> &defs, const QDate &today);
    int fieldCount() const { return GridTableModel::columnCount(); }
    int calcColumn(int n) const { return fieldCount() + n; }
    bool isCalcColumn(int column) const { return column >= fieldCount(); }
    QString fieldAt(int column) const;
    int columnOf(const QString &field) const;

    void setDisplayFormats(const QMap<QString, QString> &formatsByField);
    void setReadOnlyFields(const QSet<QString> &lowerCaseNames);
    void setEditable(bool on);
    bool editable() const { return m_editable; }
    void setDocumentFields(const QSet<QString> &lowerCaseNames) { m_documentFields = lowerCaseNames; }
    bool isDocumentColumn(int column) const;

    // Re-reads the keys in a new order (empty: table order) under the same condition,
    // staying on the current record where it is still there.
    void setOrder(const QString &orderBy);
    // Re-opens under another condition, keeping the order.
    void setCondition(const QString &condition, const QVariantMap &binds);
    void refresh();

    // Editing. Edit state follows the record set; begin* tell the views.
    void beginAppend();
    void endEditing(bool post); // post or cancel the pending change
    void rowChangedOutside();   // the record set changed (post, delete, batch): repaint

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    QString displayText(int row, int column) const;

Q_SIGNALS:
    // An edit could not start or a value could not be taken; text says why.
    void failed(const QString &text);

private:
    void reopen(const QString &condition, const QVariantMap &binds, const QString &orderBy);
    bool inserting() const;

    TDModule &m_db;
    QList<CalcDef> m_calcs;
    QDate m_today;
    QMap<QString, QString> m_formats; // lower-case field -> pattern
    QSet<QString> m_readOnly;
    QSet<QString> m_documentFields;
    bool m_editable = false;
};

} // namespace vek
