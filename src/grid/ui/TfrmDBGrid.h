#pragma once

#include "grid/GridSession.h"

#include <QHash>
#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;
class QToolBar;

namespace vek {

class BirthdayPanel;
class ClassificationPane;
class FindBarWidget;
class FooterView;
class GridCellDelegate;
class MultiLevelHeaderView;
class RetrievalPanel;
class SchoolPanel;

// A grid application: the records of one table as an editable table, with the
// classification tree, the find bar, the retrieval panel, footers, calculated columns
// and the record rules. Also the birthday list and the school modes of a resource.
class TfrmDBGrid : public QWidget {
    Q_OBJECT
public:
    TfrmDBGrid(AppContext &ctx, GridResource resource, QWidget *parent = nullptr);
    ~TfrmDBGrid() override;

    // Opens the records and builds the window: columns, classification, rules.
    // Throws DbError (the resource's filter cannot be read, the table is missing).
    void open();

    GridSession &session() { return *m_session; }
    QTableView *table() const { return m_table; }
    FooterView *footer() const { return m_footer; }
    ClassificationPane *classification() const { return m_classPane; }
    FindBarWidget *findBar() const { return m_findBar; }
    RetrievalPanel *retrievalPanel() const { return m_retrieval; }
    SchoolPanel *schoolPanel() const { return m_school; }
    BirthdayPanel *birthdayPanel() const { return m_birthday; }
    QAction *action(const QString &name) const { return m_actions.value(name); }
    QString recordLabelText() const;
    QString remarkText() const;
    // The hint of the current record, "【title】∶value" a line.
    QString recordHint();

    // Commands (also reached through the tool bar and the pop-up menu).
    void addRecord(bool copyCurrent = false);
    void editRecord();
    void deleteRecord();
    void copyRecord();
    void copySelectedRows();
    void deleteSelectedRows();
    void clearRecords();
    void refreshDisplay();
    void toggleFindBar();
    void toggleRetrieval();
    void showClassDialog();
    void moveTo(int row);
    // Saves a pending edit through the rules, or asks; false when the user stays.
    bool settleEdit();
    // Runs when the window becomes the active one again: the rules are set up afresh
    // (a pending edit stays as it is).
    void activated();

Q_SIGNALS:
    void statusText(int panel, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWidgets();
    void buildActions();
    void buildPopupMenu();
    QAction *addAction(const QString &name, const QString &text, void (TfrmDBGrid::*slot)() = nullptr);
    void applyColumns();
    void setUpClassification();
    void setUpSchoolMode();
    void setUpBirthdayMode();
    void applyRights();
    void updateFooters();
    void recordChanged();
    void currentRowChanged(const QModelIndex &current, const QModelIndex &previous);
    void headerClicked(int logical);
    void cellDoubleClicked(const QModelIndex &index);
    void enterPressed();
    void saveLayout();
    void restoreLayout();
    void setGridLines(bool horizontal, bool vertical);
    void reportFailure(const QString &text);
    void afterRequery();

    AppContext &m_ctx;
    std::unique_ptr<GridSession> m_session;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_popup = nullptr;
    QSplitter *m_splitter = nullptr;
    ClassificationPane *m_classPane = nullptr;
    FindBarWidget *m_findBar = nullptr;
    RetrievalPanel *m_retrieval = nullptr;
    BirthdayPanel *m_birthday = nullptr;
    SchoolPanel *m_school = nullptr;
    QTableView *m_table = nullptr;
    MultiLevelHeaderView *m_header = nullptr;
    GridCellDelegate *m_delegate = nullptr;
    FooterView *m_footer = nullptr;
    QLabel *m_recordLabel = nullptr;
    QLabel *m_remark = nullptr;
    QLabel *m_sortLabel = nullptr;
    QHash<QString, QAction *> m_actions;
    int m_lastPaneWidth = 180;
    bool m_moving = false;
    bool m_opened = false;
};

} // namespace vek
