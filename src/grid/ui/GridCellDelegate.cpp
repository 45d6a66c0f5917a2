#include "GridCellDelegate.h"

#include "grid/GridViewModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPainter>

namespace vek {

GridCellDelegate::GridCellDelegate(GridViewModel &model, QObject *parent) : QStyledItemDelegate(parent), m_model(model) {}

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto pick = m_pickLists.constFind(index.column());
    if (pick != m_pickLists.constEnd() && !pick->isEmpty()) {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->addItems(*pick);
        return combo;
    }
    if (!m_model.isCalcColumn(index.column())) {
        const ColumnInfo &c = m_model.records().columns().at(index.column());
        if (c.kind == ColumnInfo::Kind::Date) {
            auto *edit = new QDateEdit(parent);
            edit->setCalendarPopup(true);
            edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            return edit;
        }
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void GridCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant v = index.data(Qt::EditRole);
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentText(v.toString());
        return;
    }
    if (auto *date = qobject_cast<QDateEdit *>(editor)) {
        QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
        date->setDate(d.isValid() ? d : QDate::currentDate());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, combo->currentText());
        return;
    }
    if (auto *date = qobject_cast<QDateEdit *>(editor)) {
        model->setData(index, date->date().toString(Qt::ISODate));
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!m_horizontalOnly && !m_verticalOnly)
        return;
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    if (m_horizontalOnly)
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    else
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_model.isDocumentColumn(index.column())) {
        option->palette.setColor(QPalette::Text, QColor(0, 0, 255));
        option->font.setUnderline(true);
    }
}

} // namespace vek
