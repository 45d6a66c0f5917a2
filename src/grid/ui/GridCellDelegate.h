#pragma once

#include <QHash>
#include <QStringList>
#include <QStyledItemDelegate>

namespace vek {

class GridViewModel;

// Cell editors and painting of the grid: pick lists as editable drop-downs, dates with a
// calendar, document cells in blue and underlined.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridCellDelegate(GridViewModel &model, QObject *parent = nullptr);

    void setPickList(int column, const QStringList &entries) { m_pickLists.insert(column, entries); }
    void clearPickLists() { m_pickLists.clear(); }
    // Lines drawn by the cells themselves when the view shows only one direction.
    void setGridLines(bool horizontalOnly, bool verticalOnly)
    {
        m_horizontalOnly = horizontalOnly;
        m_verticalOnly = verticalOnly;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    GridViewModel &m_model;
    QHash<int, QStringList> m_pickLists;
    bool m_horizontalOnly = false;
    bool m_verticalOnly = false;
};

} // namespace vek
