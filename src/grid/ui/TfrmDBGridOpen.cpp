// Opening a grid window: columns, classification, rights, and what follows a requery.
#include "TfrmDBGrid.h"

#include "ClassificationPane.h"
#include "FindBarWidget.h"
#include "FooterView.h"
#include "GridCellDelegate.h"
#include "MultiLevelHeaderView.h"

#include "grid/RecordHint.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>

namespace vek {

void TfrmDBGrid::open()
{
    m_session->open();
    m_findBar->refillFields();
    m_classPane->refillFieldList();
    m_session->setUpRules();
    applyColumns();
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmDBGrid::currentRowChanged);
    if (m_session->birthdayField())
        setUpBirthdayMode();
    else if (m_session->school().kind != SchoolKind::None)
        setUpSchoolMode();
    else
        setUpClassification();
    applyRights();
    m_opened = true;
    afterRequery();
}

void TfrmDBGrid::applyColumns()
{
    const ColumnPlan &plan = m_session->buildColumns();
    GridViewModel &model = m_session->model();
    QStringList titles;
    for (int c = 0; c < model.fieldCount(); ++c)
        titles << model.fieldAt(c);
    m_delegate->clearPickLists();
    QList<int> order;
    for (const PlannedColumn &pc : plan.columns) {
        const int column = pc.calculated ? model.calcColumn(pc.calcIndex) : model.columnOf(pc.field);
        if (column < 0)
            continue;
        order << column;
        if (!pc.calculated && column < titles.size())
            titles[column] = pc.title.isEmpty() ? pc.field : pc.title;
        if (!pc.pickList.isEmpty())
            m_delegate->setPickList(column, pc.pickList);
    }
    model.setTitles(titles);
    m_header->setCentered(m_ctx.ini.boolValue("vek2000", "GridTitleAlign", false));
    // Columns the plan leaves out are hidden; the rest follow the plan's order.
    for (int c = 0; c < model.columnCount(); ++c)
        m_table->setColumnHidden(c, !order.contains(c));
    for (int i = 0; i < order.size(); ++i) {
        const int from = m_header->visualIndex(order[i]);
        if (from != i)
            m_header->moveSection(from, i);
    }
    for (const PlannedColumn &pc : plan.columns) {
        const int column = pc.calculated ? model.calcColumn(pc.calcIndex) : model.columnOf(pc.field);
        if (column >= 0)
            m_table->setColumnWidth(column, pc.width);
    }
    restoreLayout();
    m_header->updateGeometry();
    m_footer->setRows(plan.footerRowCount());
    QStringList remarks;
    if (!plan.remark.isEmpty())
        remarks << plan.remark;
    if (!plan.documentRemark.isEmpty())
        remarks << plan.documentRemark;
    m_remark->setText(remarks.join(QStringLiteral("  ")));
}

void TfrmDBGrid::setUpClassification()
{
    IniFile &ini = m_ctx.ini;
    const QString section = m_session->resource().title;
    m_classPane->setVisible(false);
    if (!ini.boolValue(section, "ClassDisplay", true))
        return;
    const ClassFields f = m_session->classFields();
    if (!ini.boolValue(section, "ClassDisplay", false) || f.f1.isEmpty())
        return;
    try {
        m_classPane->build(f, m_session->resource().groupCounts);
    } catch (const DbError &e) {
        // The next opening shows no tree rather than failing again.
        ini.setBool(section, "ClassDisplay", false);
        m_ctx.prompter.error(e.message());
        return;
    }
    const int width = ini.intValue(section, "TreeviewWidth", 137);
    m_classPane->setFieldListVisible(f.f2.isEmpty());
    m_classPane->setVisible(true);
    m_splitter->setSizes({width > 10 ? width : 137, qMax(400, this->width() - width)});
}

void TfrmDBGrid::applyRights()
{
    const bool update = m_session->mayUpdate();
    const bool add = m_session->rules().mayAdd();
    const bool remove = m_session->rules().mayDelete();
    const RightsRecord rights = m_session->rules().rights();
    action("actAdd")->setVisible(add);
    action("actModify")->setVisible(update);
    action("actDelete")->setVisible(remove);
    for (const char *name : {"popEdit", "popAddCopy", "popInsertCopy", "popMultiCopy", "popCarry"})
        action(QString::fromLatin1(name))->setEnabled(update && add);
    action("popEdit")->setEnabled(update);
    for (const char *name : {"popDelete", "popMultiDelete", "popClear"})
        action(QString::fromLatin1(name))->setEnabled(remove);
    for (const char *name : {"popAdd", "popInsert"})
        action(QString::fromLatin1(name))->setEnabled(add);
    Q_UNUSED(rights)
    if (!update)
        m_session->model().setEditable(false);
}

void TfrmDBGrid::updateFooters()
{
    const ColumnPlan &plan = m_session->plan();
    m_footer->clearCells();
    if (plan.footerRowCount() == 0)
        return;
    FooterResult result;
    try {
        result = m_session->footers();
    } catch (const DbError &) {
        return; // footers stay empty; the records are still shown
    }
    GridViewModel &model = m_session->model();
    int row = 0;
    auto fill = [&](bool present, const QMap<QString, QVariant> &values, bool PlannedColumn::*flag) {
        if (!present)
            return;
        for (const PlannedColumn &pc : plan.columns) {
            if (pc.calculated || !(pc.*flag))
                continue;
            const int column = model.columnOf(pc.field);
            if (column >= 0)
                m_footer->setCell(row, column, FooterText(values.value(pc.field)));
        }
        ++row;
    };
    fill(plan.sumRow, result.sum, &PlannedColumn::sum);
    fill(plan.averageRow, result.average, &PlannedColumn::average);
    fill(plan.countRow, result.count, &PlannedColumn::count);
    // The labels go into the first visible column.
    const int firstLogical = m_header->logicalIndex(0);
    for (int r = 0; r < plan.footerLabels.size(); ++r) {
        if (!plan.footerLabels[r].isEmpty() && firstLogical >= 0)
            m_footer->setCell(r, firstLogical, plan.footerLabels[r]);
    }
}

void TfrmDBGrid::afterRequery()
{
    updateFooters();
    recordChanged();
    RecordSet &rs = m_session->records();
    if (rs.currentRow() >= 0 && m_table->model()) {
        m_moving = true;
        const int column = qMax(0, m_header->logicalIndex(0));
        m_table->setCurrentIndex(m_session->model().index(rs.currentRow(), column));
        m_moving = false;
    }
}

void TfrmDBGrid::recordChanged()
{
    RecordSet &rs = m_session->records();
    const bool any = rs.rowCount() > 0;
    for (const char *name : {"actDelete", "actModify", "actPrint", "actDetail"})
        action(QString::fromLatin1(name))->setEnabled(any && (QByteArray(name) != "actPrint" && QByteArray(name) != "actDetail"));
    const QString text = RecordCountLabel(m_session->resource().recordLabel, rs.rowCount());
    m_recordLabel->setText(text);
    if (!m_school)
        Q_EMIT statusText(3, text);
}

QString TfrmDBGrid::recordHint()
{
    RecordSet &rs = m_session->records();
    GridViewModel &model = m_session->model();
    const int row = m_table->currentIndex().isValid() ? m_table->currentIndex().row() : rs.currentRow();
    QList<QPair<QString, QString>> lines;
    if (row < 0)
        return {};
    for (int v = 0; v < m_header->count(); ++v) {
        const int logical = m_header->logicalIndex(v);
        if (logical < 0 || m_table->isColumnHidden(logical))
            continue;
        const QString title = model.headerData(logical, Qt::Horizontal).toString().replace('|', ' ');
        lines << qMakePair(title, model.displayText(row, logical));
    }
    return RecordHintText(lines);
}

void TfrmDBGrid::saveLayout()
{
    if (!m_opened)
        return;
    m_ctx.ini.setValue(windowTitle(), "GridLayout", QString::fromLatin1(m_header->saveState().toBase64()));
}

void TfrmDBGrid::restoreLayout()
{
    const QString stored = m_ctx.ini.value(windowTitle(), "GridLayout");
    if (stored.isEmpty())
        return;
    const QByteArray state = QByteArray::fromBase64(stored.toLatin1());
    // A layout saved for another set of columns would hide or misplace them.
    const int columns = m_session->model().columnCount();
    if (!state.isEmpty() && m_header->count() == columns) {
        m_header->restoreState(state);
        if (m_header->count() != columns)
            m_header->reset();
    }
    m_header->clearMarks();
}

} // namespace vek
