// The commands of a grid window: editing, deleting, copying, moving, sorting.
#include "TfrmDBGrid.h"

#include "ClassificationPane.h"
#include "FindBarWidget.h"
#include "FooterView.h"
#include "MultiLevelHeaderView.h"

#include "grid/CopyRecord.h"
#include "grid/PendingEdit.h"
#include "grid/RecordHint.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QToolTip>
#include <QUrl>

namespace vek {

bool TfrmDBGrid::settleEdit()
{
    RecordSet &rs = m_session->records();
    if (rs.state() == RecordSet::State::Browse || rs.state() == RecordSet::State::Inactive)
        return true;
    const SettleResult r = SettlePendingEdit(rs, m_ctx.prompter, SettleMode::Post);
    if (r == SettleResult::Stay)
        return false;
    m_session->model().rowChangedOutside();
    updateFooters();
    recordChanged();
    return true;
}

void TfrmDBGrid::moveTo(int row)
{
    GridViewModel &model = m_session->model();
    if (row < 0 || row >= model.rowCount())
        return;
    const int column = m_table->currentIndex().isValid() ? m_table->currentIndex().column() : qMax(0, m_header->logicalIndex(0));
    m_table->setCurrentIndex(model.index(row, column));
    m_table->scrollTo(model.index(row, column));
}

void TfrmDBGrid::currentRowChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (m_moving || !current.isValid())
        return;
    RecordSet &rs = m_session->records();
    const bool editing = rs.state() == RecordSet::State::Edit || rs.state() == RecordSet::State::Insert;
    if (editing) {
        const int editRow = rs.state() == RecordSet::State::Insert ? rs.rowCount() : rs.currentRow();
        if (current.row() == editRow)
            return;
        if (!settleEdit()) {
            // The user stays on the record being edited.
            m_moving = true;
            m_table->setCurrentIndex(m_session->model().index(editRow, previous.isValid() ? previous.column() : 0));
            m_moving = false;
            return;
        }
    }
    if (current.row() < rs.rowCount()) {
        try {
            rs.seek(current.row());
        } catch (const DbError &) {
            return;
        }
    }
    recordChanged();
}

void TfrmDBGrid::addRecord(bool copyCurrent)
{
    if (m_session->resource().formEditing) {
        m_ctx.prompter.info(QStringLiteral("数据窗体尚未提供，请在表格中编辑。"));
    }
    if (!settleEdit())
        return;
    RecordSet &rs = m_session->records();
    QVariantMap values;
    if (copyCurrent && rs.currentRow() >= 0)
        values = RememberForCopy(rs, m_session->rules().autoAddFields());
    try {
        m_session->model().setEditable(m_session->mayUpdate());
        m_session->model().beginAppend();
    } catch (const RecordRefused &) {
        return;
    } catch (const DbError &e) {
        m_ctx.prompter.error(copyCurrent ? QStringLiteral("当前数据表为只读或浏览状态，无法复制!") : e.message());
        return;
    }
    if (!values.isEmpty())
        ApplyCopy(rs, values);
    m_session->model().rowChangedOutside();
    const int row = rs.rowCount(); // the new row follows the saved ones
    m_moving = true;
    const int column = qMax(0, m_header->logicalIndex(0));
    m_table->setCurrentIndex(m_session->model().index(row, column));
    m_table->scrollTo(m_session->model().index(row, column));
    m_moving = false;
    m_table->setFocus();
}

void TfrmDBGrid::copyRecord()
{
    if (m_session->records().currentRow() < 0)
        return;
    addRecord(true);
}

void TfrmDBGrid::editRecord()
{
    if (!settleEdit())
        return;
    RecordSet &rs = m_session->records();
    if (rs.currentRow() < 0)
        return;
    try {
        m_session->model().setEditable(m_session->mayUpdate());
        rs.edit();
    } catch (const RecordRefused &) {
        return;
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return;
    }
    if (m_table->currentIndex().isValid())
        m_table->edit(m_table->currentIndex());
}

void TfrmDBGrid::deleteRecord()
{
    if (!settleEdit())
        return;
    RecordSet &rs = m_session->records();
    if (rs.currentRow() < 0)
        return;
    try {
        rs.remove();
    } catch (const RecordRefused &) {
        return;
    } catch (const DbError &) {
        m_ctx.prompter.error(QStringLiteral("当前数据表为只读或浏览状态，数据无法删除!"));
        return;
    }
    m_session->model().rowChangedOutside();
    afterRequery();
}

void TfrmDBGrid::copySelectedRows()
{
    if (!settleEdit())
        return;
    RecordSet &rs = m_session->records();
    QList<int> rows;
    for (const QModelIndex &i : m_table->selectionModel()->selectedRows())
        rows << i.row();
    try {
        for (int row : rows) {
            if (row >= rs.rowCount())
                continue;
            rs.seek(row);
            const QVariantMap values = RememberForCopy(rs, m_session->rules().autoAddFields());
            rs.insert();
            ApplyCopy(rs, values);
            rs.post();
        }
    } catch (const RecordRefused &) {
        // Told already; the record refused stays in the buffer for the user to mend.
    } catch (const DbError &) {
        rs.cancel();
        m_ctx.prompter.error(QStringLiteral("当前数据表为只读或浏览状态，无法复制!"));
    }
    m_session->model().rowChangedOutside();
    afterRequery();
}

void TfrmDBGrid::deleteSelectedRows()
{
    if (!settleEdit())
        return;
    QList<int> rows;
    for (const QModelIndex &i : m_table->selectionModel()->selectedRows())
        rows << i.row();
    if (rows.isEmpty())
        return;
    try {
        m_session->rules().requireRight(Right::Delete);
    } catch (const RecordRefused &) {
        return;
    }
    if (!m_ctx.prompter.confirm(QStringLiteral("是否要删除当前选择的%1条数据记录?").arg(rows.size())))
        return;
    try {
        m_session->records().removeRows(rows);
    } catch (const DbError &) {
        m_ctx.prompter.error(QStringLiteral("当前数据表为只读或浏览状态，数据无法删除!"));
        return;
    }
    m_session->model().rowChangedOutside();
    afterRequery();
}

void TfrmDBGrid::clearRecords()
{
    if (!settleEdit())
        return;
    try {
        m_session->rules().requireRight(Right::Delete);
    } catch (const RecordRefused &) {
        return;
    }
    if (!m_ctx.prompter.confirm(QStringLiteral("是否要删除当前集合中的数据?")))
        return;
    try {
        m_session->records().removeAll();
    } catch (const DbError &) {
        m_ctx.prompter.error(QStringLiteral("当前数据表为只读或浏览状态，不能清空当前记录集合!"));
        return;
    }
    m_session->model().rowChangedOutside();
    afterRequery();
}

void TfrmDBGrid::refreshDisplay()
{
    if (!settleEdit())
        return;
    try {
        m_session->model().refresh();
        m_classPane->rebuild();
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
    }
    afterRequery();
}

void TfrmDBGrid::toggleFindBar()
{
    m_findBar->setVisible(!m_findBar->isVisible());
    action("actFilter")->setChecked(m_findBar->isVisible());
}

void TfrmDBGrid::headerClicked(int logical)
{
    GridViewModel &model = m_session->model();
    if (logical < 0 || model.isCalcColumn(logical))
        return;
    const ColumnInfo &c = m_session->records().columns().at(logical);
    if (c.kind == ColumnInfo::Kind::Blob || c.kind == ColumnInfo::Kind::Memo)
        return;
    const bool ctrlOnly = QApplication::keyboardModifiers() == Qt::ControlModifier;
    const auto now = m_header->mark(logical);
    const SortMark current = now == MultiLevelHeaderView::Mark::Ascending    ? SortMark::Ascending
                             : now == MultiLevelHeaderView::Mark::Descending ? SortMark::Descending
                                                                             : SortMark::None;
    const SortStep step = NextSort(current, m_ctx.db.dialect().quoteExactIdent(c.name), ctrlOnly);
    if (!settleEdit())
        return;
    try {
        model.setOrder(step.orderBy);
    } catch (const DbError &) {
        return; // a sort the engine refuses changes nothing
    }
    m_header->setMark(logical, step.mark == SortMark::Ascending    ? MultiLevelHeaderView::Mark::Ascending
                               : step.mark == SortMark::Descending ? MultiLevelHeaderView::Mark::Descending
                                                                   : MultiLevelHeaderView::Mark::None);
    afterRequery();
}

void TfrmDBGrid::cellDoubleClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    GridViewModel &model = m_session->model();
    const QString text = model.displayText(index.row(), index.column());
    if (model.isDocumentColumn(index.column()) && !text.trimmed().isEmpty()) {
        const QString t = text.trimmed();
        QUrl url;
        if (t.contains(QLatin1String("://")))
            url = QUrl(t);
        else if (t.contains('@') && !t.contains('/') && !t.contains('\\'))
            url = QUrl(QStringLiteral("mailto:") + t);
        else
            url = QUrl::fromLocalFile(QFileInfo(t).isAbsolute() ? t : QDir(QCoreApplication::applicationDirPath()).filePath(t));
        if (!QDesktopServices::openUrl(url))
            m_ctx.prompter.error(QStringLiteral("无法打开：") + t);
        return;
    }
    if (m_findBar->isVisible() && m_findBar->takeCellValue() && !model.isCalcColumn(index.column()))
        m_findBar->takeCell(model.fieldAt(index.column()), text);
}

void TfrmDBGrid::enterPressed()
{
    GridViewModel &model = m_session->model();
    const QModelIndex at = m_table->currentIndex();
    if (!at.isValid())
        return;
    if (action("popEnterMode")->isChecked()) {
        // Next visible column; from the last one, the first column of the next record.
        int visual = m_header->visualIndex(at.column()) + 1;
        while (visual < m_header->count() && m_table->isColumnHidden(m_header->logicalIndex(visual)))
            ++visual;
        if (visual < m_header->count()) {
            m_table->setCurrentIndex(model.index(at.row(), m_header->logicalIndex(visual)));
            return;
        }
        moveTo(at.row() + 1);
        int first = 0;
        while (first < m_header->count() && m_table->isColumnHidden(m_header->logicalIndex(first)))
            ++first;
        if (m_table->currentIndex().row() == at.row() + 1)
            m_table->setCurrentIndex(model.index(at.row() + 1, m_header->logicalIndex(first)));
        return;
    }
    moveTo(at.row() + 1);
}

bool TfrmDBGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) { // an open editor takes its own keys
            enterPressed();
            return true;
        }
    }
    if (watched == m_table->viewport() && event->type() == QEvent::ToolTip) {
        // The hint is built when asked for, not on every move.
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), recordHint(), m_table);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmDBGrid::activated()
{
    if (!m_opened || m_session->specialMode())
        return;
    // Set-up afresh without requerying: a pending edit stays with the user.
    m_session->setUpRules();
    applyRights();
    recordChanged();
}

void TfrmDBGrid::closeEvent(QCloseEvent *event)
{
    m_table->setFocus(); // an open cell editor hands its text to the record
    if (!settleEdit()) {
        event->ignore();
        return;
    }
    saveLayout();
    Q_EMIT statusText(3, QString());
    event->accept();
}

} // namespace vek
