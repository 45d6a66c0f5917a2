#include "TfrmDBGrid.h"

#include "ClassificationPane.h"
#include "FindBarWidget.h"
#include "FooterView.h"
#include "GridCellDelegate.h"
#include "MultiLevelHeaderView.h"

#include "grid/PendingEdit.h"
#include "grid/RecordHint.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace vek {

TfrmDBGrid::TfrmDBGrid(AppContext &ctx, GridResource resource, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_session(std::make_unique<GridSession>(ctx, std::move(resource)))
{
    setObjectName(QStringLiteral("TfrmDBGrid"));
    setWindowTitle(m_session->resource().title.isEmpty() ? QStringLiteral("应用表格") : m_session->resource().title);
    setAttribute(Qt::WA_DeleteOnClose);
    buildWidgets();
    buildActions();
    buildPopupMenu();
}

TfrmDBGrid::~TfrmDBGrid()
{
    // The table view goes before the model it shows.
    delete m_table;
    m_table = nullptr;
}

void TfrmDBGrid::buildWidgets()
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_toolBar = new QToolBar(QStringLiteral("ToolBar2"), this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar2"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    column->addWidget(m_toolBar);

    m_findBar = new FindBarWidget(*m_session, this);
    m_findBar->setVisible(false);
    m_findBar->setSettle([this] { return settleEdit(); });
    column->addWidget(m_findBar);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("gridSplitter"));
    m_classPane = new ClassificationPane(*m_session, m_splitter);
    m_classPane->setSettle([this] { return settleEdit(); });
    m_classPane->setVisible(false);

    auto *right = new QWidget(m_splitter);
    auto *rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(0);
    m_table = new QTableView(right);
    m_table->setObjectName(QStringLiteral("gridTable"));
    m_header = new MultiLevelHeaderView(m_table);
    m_table->setHorizontalHeader(m_header);
    m_table->setModel(&m_session->model());
    m_delegate = new GridCellDelegate(m_session->model(), m_table);
    m_table->setItemDelegate(m_delegate);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette pal = m_table->palette();
    pal.setColor(QPalette::AlternateBase, QColor(0xC4, 0xC4, 0xFF)); // $FFC4C4 as a colour value
    m_table->setPalette(pal);
    m_table->installEventFilter(this);
    m_table->viewport()->installEventFilter(this);
    rightColumn->addWidget(m_table, 1);
    m_footer = new FooterView(m_table, right);
    rightColumn->addWidget(m_footer);

    auto *statusRow = new QHBoxLayout;
    statusRow->setContentsMargins(6, 2, 6, 2);
    m_recordLabel = new QLabel(right);
    m_recordLabel->setObjectName(QStringLiteral("recordLabel"));
    statusRow->addWidget(m_recordLabel);
    m_remark = new QLabel(right);
    m_remark->setContentsMargins(12, 0, 0, 0);
    m_remark->setObjectName(QStringLiteral("remarkLabel"));
    statusRow->addWidget(m_remark, 1);
    m_sortLabel = new QLabel(SortLabelText(), right);
    m_sortLabel->setToolTip(SortCancelHint());
    statusRow->addWidget(m_sortLabel);
    rightColumn->addLayout(statusRow);

    m_splitter->addWidget(m_classPane);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(1, 1);
    column->addWidget(m_splitter, 1);

    connect(m_header, &QHeaderView::sectionClicked, this, &TfrmDBGrid::headerClicked);
    connect(m_table, &QTableView::doubleClicked, this, &TfrmDBGrid::cellDoubleClicked);
    connect(m_table, &QTableView::customContextMenuRequested, this, [this](const QPoint &pos) {
        const bool editable = m_session->model().editable();
        action("popEdit")->setEnabled(m_session->mayUpdate());
        Q_UNUSED(editable)
        m_popup->popup(m_table->viewport()->mapToGlobal(pos));
    });
    connect(m_findBar, &FindBarWidget::rowFound, this, &TfrmDBGrid::moveTo);
    connect(m_findBar, &FindBarWidget::filtered, this, &TfrmDBGrid::afterRequery);
    connect(m_classPane, &ClassificationPane::nodeSelected, this, &TfrmDBGrid::afterRequery);
    connect(m_classPane, &ClassificationPane::collapseRequested, this, [this] {
        m_lastPaneWidth = m_splitter->sizes().value(0);
        m_splitter->setSizes({1, width()});
    });
    connect(&m_session->model(), &GridViewModel::failed, this, &TfrmDBGrid::reportFailure);
}

QAction *TfrmDBGrid::addAction(const QString &name, const QString &text, void (TfrmDBGrid::*slot)())
{
    auto *a = new QAction(text, this);
    a->setObjectName(name);
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    m_actions.insert(name, a);
    return a;
}

void TfrmDBGrid::buildActions()
{
    auto notYet = [](QAction *a) {
        a->setEnabled(false);
        a->setToolTip(a->text() + QStringLiteral("（尚未提供）"));
    };
    m_toolBar->addAction(addAction("actDetail", "详细"));
    notYet(action("actDetail"));
    m_toolBar->addAction(addAction("actAdd", "添加"));
    connect(action("actAdd"), &QAction::triggered, this, [this] { addRecord(); });
    m_toolBar->addAction(addAction("actModify", "修改", &TfrmDBGrid::editRecord));
    m_toolBar->addAction(addAction("actDelete", "删除", &TfrmDBGrid::deleteRecord));
    m_toolBar->addAction(addAction("actRefresh", "刷新显示", &TfrmDBGrid::refreshDisplay));
    m_toolBar->addAction(addAction("actFilter", "筛选", &TfrmDBGrid::toggleFindBar));
    action("actFilter")->setCheckable(true);
    m_toolBar->addAction(addAction("actPrint", "打印"));
    notYet(action("actPrint"));
    m_toolBar->addAction(addAction("actQuery", "查询", &TfrmDBGrid::toggleRetrieval));
    m_toolBar->addAction(addAction("actStatistics", "统计"));
    notYet(action("actStatistics"));
    m_toolBar->addAction(addAction("actGroup", "分组显示", &TfrmDBGrid::showClassDialog));
    m_toolBar->addAction(addAction("actView", "视图"));
    notYet(action("actView"));
    m_toolBar->addAction(addAction("actClose", "关闭"));
    connect(action("actClose"), &QAction::triggered, this, [this] {
        if (parentWidget() && parentWidget()->inherits("QMdiSubWindow"))
            parentWidget()->close();
        else
            close();
    });
}

void TfrmDBGrid::buildPopupMenu()
{
    auto notYet = [](QAction *a) {
        a->setEnabled(false);
        a->setToolTip(a->text() + QStringLiteral("（尚未提供）"));
    };
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("gridPopup"));
    m_popup->addAction(addAction("popAdd", "添加"));
    connect(action("popAdd"), &QAction::triggered, this, [this] { addRecord(action("popCarry")->isChecked()); });
    m_popup->addAction(addAction("popInsert", "插入"));
    connect(action("popInsert"), &QAction::triggered, this, [this] { addRecord(action("popCarry")->isChecked()); });
    m_popup->addAction(addAction("popAddCopy", "添加复制", &TfrmDBGrid::copyRecord));
    m_popup->addAction(addAction("popInsertCopy", "插入复制", &TfrmDBGrid::copyRecord));
    QMenu *multi = m_popup->addMenu(QStringLiteral("多行操作"));
    multi->setObjectName(QStringLiteral("popMulti"));
    multi->addAction(addAction("popMultiCopy", "添加复制", &TfrmDBGrid::copySelectedRows));
    multi->addAction(addAction("popMultiDelete", "多行删除", &TfrmDBGrid::deleteSelectedRows));
    m_popup->addAction(addAction("popDelete", "删除", &TfrmDBGrid::deleteRecord));
    m_popup->addAction(addAction("popClear", "清空记录", &TfrmDBGrid::clearRecords));
    m_popup->addAction(addAction("popSelectAll", "全选"));
    connect(action("popSelectAll"), &QAction::triggered, m_table, &QTableView::selectAll);
    m_popup->addAction(addAction("popReplace", "替换"));
    notYet(action("popReplace"));
    m_popup->addAction(addAction("popCarry", "携带"));
    action("popCarry")->setCheckable(true);
    m_popup->addAction(addAction("popEdit", "编辑", &TfrmDBGrid::editRecord));
    m_popup->addAction(addAction("popEnterMode", "回车方式"));
    action("popEnterMode")->setCheckable(true);
    action("popEnterMode")->setChecked(true);
    m_popup->addSeparator();
    m_popup->addAction(addAction("popFirst", "第一条"));
    connect(action("popFirst"), &QAction::triggered, this, [this] { moveTo(0); });
    m_popup->addAction(addAction("popPrior", "上一条"));
    connect(action("popPrior"), &QAction::triggered, this, [this] { moveTo(m_table->currentIndex().row() - 1); });
    m_popup->addAction(addAction("popNext", "下一条"));
    connect(action("popNext"), &QAction::triggered, this, [this] { moveTo(m_table->currentIndex().row() + 1); });
    m_popup->addAction(addAction("popLast", "最后一条"));
    connect(action("popLast"), &QAction::triggered, this, [this] { moveTo(m_session->model().rowCount() - 1); });
    m_popup->addSeparator();
    QMenu *lines = m_popup->addMenu(QStringLiteral("网格线"));
    lines->addAction(addAction("popGridBoth", "水平/垂直网格线"));
    connect(action("popGridBoth"), &QAction::triggered, this, [this] { setGridLines(true, true); });
    lines->addAction(addAction("popGridHorizontal", "水平网格线"));
    connect(action("popGridHorizontal"), &QAction::triggered, this, [this] { setGridLines(true, false); });
    lines->addAction(addAction("popGridVertical", "垂直网格线"));
    connect(action("popGridVertical"), &QAction::triggered, this, [this] { setGridLines(false, true); });
    lines->addAction(addAction("popGridNone", "空网格线"));
    connect(action("popGridNone"), &QAction::triggered, this, [this] { setGridLines(false, false); });
    m_popup->addAction(addAction("popAlternate", "间隔行背景颜色"));
    action("popAlternate")->setCheckable(true);
    connect(action("popAlternate"), &QAction::toggled, m_table, &QTableView::setAlternatingRowColors);
    QMenu *skins = m_popup->addMenu(QStringLiteral("界面风格"));
    for (const char *skin : {"海洋蓝色", "银色XP", "橄榄绿XP", "苹果水晶"})
        notYet(skins->addAction(QString::fromUtf8(skin)));
    QMenu *import = m_popup->addMenu(QStringLiteral("导入数据"));
    notYet(import->addAction(QStringLiteral("数据追加")));
    notYet(import->addAction(QStringLiteral("数据插入")));
    for (const char *item : {"导出数据...", "标题设置...", "内容设置...", "打印设置...", "打印预览", "表格打印"})
        notYet(m_popup->addAction(QString::fromUtf8(item)));
    // Attachments arrive with their own windows; the menu stays hidden until then.
    QMenu *files = m_popup->addMenu(QStringLiteral("文件操作"));
    files->menuAction()->setVisible(false);
}

void TfrmDBGrid::setGridLines(bool horizontal, bool vertical)
{
    m_table->setShowGrid(horizontal && vertical);
    m_delegate->setGridLines(horizontal && !vertical, vertical && !horizontal);
    m_table->viewport()->update();
}

void TfrmDBGrid::reportFailure(const QString &text)
{
    m_ctx.prompter.error(text);
}

QString TfrmDBGrid::recordLabelText() const
{
    return m_recordLabel->text();
}

QString TfrmDBGrid::remarkText() const
{
    return m_remark->text();
}

} // namespace vek
