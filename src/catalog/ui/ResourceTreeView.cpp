#include "ResourceTreeView.h"

#include "OutlookBar.h"
#include "ResourceMenuBuilder.h"
#include "ResourcePictures.h"
#include "ResourceTreeWidget.h"
#include "TfrmOrder.h"
#include "TfrmToolAdd.h"
#include "platform/AppContext.h"
#include "platform/AppPaths.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vek {

ResourceTreeView::ResourceTreeView(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_ops(ctx)
{
    setObjectName(QStringLiteral("resourceTreeView"));
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("resourceStack"));
    m_tree = new ResourceTreeWidget(m_ops, m_stack);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_outlook = new OutlookBar(m_ops, m_stack);
    m_stack->addWidget(m_tree);
    m_stack->addWidget(m_outlook);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    m_resourceMenu = new QMenu(this);
    m_resourceMenu->setObjectName(QStringLiteral("resourceMenu"));
    createActions();

    connect(m_tree, &ResourceTreeWidget::changed, this, [this] { markChanged(); });
    connect(m_outlook, &OutlookBar::openRequested, this, &ResourceTreeView::openRequested);
    connect(m_outlook, &OutlookBar::systemFunctionRequested, this, &ResourceTreeView::systemFunctionRequested);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) { openItem(item, false); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { openItem(item, true); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { updateActions(); });
    connect(m_tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_treeMenu->popup(m_tree->viewport()->mapToGlobal(pos)); });
    updateActions();
}

ResourceTreeView::~ResourceTreeView() = default;

void ResourceTreeView::setSources(const ResourceTreeSources &sources)
{
    m_sources = sources;
    if (sources.resolveFile)
        m_ops.setFileResolver(sources.resolveFile);
}

void ResourceTreeView::setTemplateActions(const QList<QAction *> &actions)
{
    m_templates.clear();
    for (QAction *a : actions) {
        if (a && !a->objectName().isEmpty())
            m_templates.insert(a->objectName(), a);
    }
}

void ResourceTreeView::createActions()
{
    m_treeMenu = new QMenu(this);
    m_treeMenu->setObjectName(QStringLiteral("treeMenu"));
    const struct {
        const char *name, *caption;
        void (ResourceTreeView::*slot)();
    } defs[] = {
        {"actNewMainDir", "新建主目录", &ResourceTreeView::newMainDirectory},
        {"actNewSubDir", "新建目录", &ResourceTreeView::newSubDirectory},
        {"actRename", "编辑结点名称", &ResourceTreeView::startRename},
        {"actDelete", "删除", &ResourceTreeView::deleteSelected},
        {"actOrder", "调整顺序...", &ResourceTreeView::orderSiblings},
        {"actAddExternal", "外部应用(&E)...", &ResourceTreeView::addExternal},
        {"actEditExternal", "编辑外部应用...", &ResourceTreeView::editExternal},
        {"actProperties", "属性(&P)...", &ResourceTreeView::showProperties},
        {"actExpand", "展开", nullptr},
        {"actCollapse", "折叠", nullptr},
    };
    for (const auto &d : defs) {
        QAction *a = m_treeMenu->addAction(QString::fromUtf8(d.caption));
        a->setObjectName(QString::fromLatin1(d.name));
        if (d.slot)
            connect(a, &QAction::triggered, this, d.slot);
        m_actions.insert(a->objectName(), a);
    }
    connect(m_actions["actExpand"], &QAction::triggered, m_tree, &QTreeWidget::expandAll);
    connect(m_actions["actCollapse"], &QAction::triggered, m_tree, &QTreeWidget::collapseAll);

    m_styleMenu = new QMenu(this);
    m_styleMenu->setObjectName(QStringLiteral("styleMenu"));
    m_styleGroup = new QActionGroup(this);
    m_styleGroup->setExclusive(true);
    const struct {
        const char *name, *caption;
        int style, preset;
    } styles[] = {{"styleOutlook", "Outlook风格", 0, 2},
                  {"style2000", "2000风格", 1, 9},
                  {"styleXP", "XP风格", 2, 10},
                  {"styleTree", "树型窗口", -1, 0}};
    for (const auto &s : styles) {
        QAction *a = m_styleMenu->addAction(QString::fromUtf8(s.caption));
        a->setObjectName(QString::fromLatin1(s.name));
        a->setCheckable(true);
        a->setData(s.style);
        m_styleGroup->addAction(a);
        const int style = s.style, preset = s.preset;
        connect(a, &QAction::triggered, this, [this, style, preset] { chooseStyle(style, preset); });
    }
}

NodeRef ResourceTreeView::selectedNode() const
{
    return m_tree->selectedNode();
}

int ResourceTreeView::outlookPreset() const
{
    return m_outlook->preset();
}

void ResourceTreeView::rebuild()
{
    if (!m_ctx.db.isOpen()) {
        clear();
        return;
    }
    try {
        m_model = ResourceTree::build(m_ctx, m_sources);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        m_model = ResourceTreeModel{};
    }
    m_ctx.shownResourceTitles = m_model.shownTitles;
    const bool system = m_ctx.user.level == 0;
    m_tree->render(m_model);
    m_tree->setSystemUser(system);
    m_outlook->render(m_model.groups, system);

    ResourceMenuBuilder::Hooks hooks;
    hooks.open = [this](int id, const QString &title, int picture) { Q_EMIT openRequested(id, title, picture); };
    hooks.fixed = [this](const QString &name) { Q_EMIT fixedItemTriggered(name); };
    hooks.style = [this](int style, int preset) { chooseStyle(style, preset); };
    const QStringList files = m_model.filePictures;
    hooks.icon = [files](int picture) { return TreePictureIcon(picture, files); };
    ResourceMenuBuilder::build(m_resourceMenu, m_model, m_templates, hooks);

    updateActions();

    for (QAction *a : m_styleGroup->actions()) {
        if (a->data().toInt() == m_model.style)
            a->setChecked(true);
    }
    m_outlook->applyPreset(m_model.outlookPreset);
    m_changed = false;
    showPage(false);
    Q_EMIT rebuilt(resourceMenuHasResources());
}

void ResourceTreeView::clear()
{
    m_model = ResourceTreeModel{};
    m_ctx.shownResourceTitles.clear();
    m_tree->render(m_model);
    m_outlook->clearGroups();
    m_resourceMenu->clear();
    qDeleteAll(m_resourceMenu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    updateActions();
}

void ResourceTreeView::updateActions()
{
    const bool system = m_ctx.user.level == 0;
    const NodeRef n = selectedNode();
    const bool row = n.isValid() && !n.isFormChild();
    m_actions["actNewMainDir"]->setEnabled(system);
    m_actions["actNewSubDir"]->setEnabled(system);
    m_actions["actRename"]->setEnabled(system && row);
    m_actions["actDelete"]->setEnabled(system && row);
    m_actions["actOrder"]->setEnabled(system && row);
    m_actions["actAddExternal"]->setEnabled(system && m_ctx.db.isOpen());
    m_actions["actEditExternal"]->setEnabled(system && row && n.kind == NodeKind::External);
    m_actions["actProperties"]->setEnabled(n.isValid() && n.kind != NodeKind::Directory);
}

bool ResourceTreeView::treeViewShown() const
{
    return m_stack->currentWidget() == m_tree;
}

void ResourceTreeView::showPage(bool treePage)
{
    m_stack->setCurrentWidget(treePage ? static_cast<QWidget *>(m_tree) : m_outlook);
}

void ResourceTreeView::toggleTreeView()
{
    const bool toTree = !treeViewShown();
    if (m_changed)
        rebuild();
    showPage(toTree);
}

int ResourceTreeView::tickedStyle() const
{
    QAction *a = m_styleGroup->checkedAction();
    return a ? a->data().toInt() : 0;
}

void ResourceTreeView::saveStyle(IniFile &ini) const
{
    const int style = tickedStyle();
    if (style >= 0)
        ini.setInt(QStringLiteral("Outlook"), QStringLiteral("style"), style);
}

void ResourceTreeView::chooseStyle(int style, int preset)
{
    for (QAction *a : m_styleGroup->actions()) {
        if (a->data().toInt() == style)
            a->setChecked(true);
    }
    if (style < 0) {
        showPage(true);
        return;
    }
    m_outlook->applyPreset(preset);
    showPage(false);
}

void ResourceTreeView::openItem(QTreeWidgetItem *item, bool singleClick)
{
    const NodeRef n = m_tree->nodeOf(item);
    if (!n.isValid() || n.kind == NodeKind::Directory)
        return;
    // Built-in modules open at a single click, everything else at a double click.
    if (singleClick != (n.kind == NodeKind::Module))
        return;
    Q_EMIT openRequested(n.resourceId, n.title, n.picture);
}

void ResourceTreeView::addNewNode(const OpResult &r, NodeKind kind, const QString &filePath)
{
    TreeNode node;
    node.ref = NodeRef{r.id, r.id, r.title, r.picture, kind};
    node.parent = r.parentCode;
    node.child = r.code;
    if (r.picture == Picture::FirstFilePicture)
        node.ref.picture = m_tree->addFilePicture(filePath);
    QTreeWidgetItem *parent = m_tree->itemForCode(r.parentCode);
    QTreeWidgetItem *item = m_tree->addNode(parent, node);
    if (parent)
        parent->setExpanded(true);
    m_tree->setCurrentItem(item);
    markChanged();
}

void ResourceTreeView::newMainDirectory()
{
    const OpResult r = m_ops.newMainDirectory();
    if (r.ok())
        addNewNode(r, NodeKind::Directory, {});
}

void ResourceTreeView::newSubDirectory()
{
    const OpResult r = m_ops.newSubDirectory(selectedNode());
    if (r.ok())
        addNewNode(r, NodeKind::Directory, {});
}

void ResourceTreeView::startRename()
{
    if (m_ctx.user.level == 0)
        m_tree->startRename();
}

void ResourceTreeView::deleteSelected()
{
    QTreeWidgetItem *item = m_tree->currentItem();
    if (!item)
        return;
    if (m_ops.remove(m_tree->nodeOf(item)).ok()) {
        delete item;
        markChanged();
    }
}

void ResourceTreeView::orderSiblings()
{
    const NodeRef n = selectedNode();
    if (m_ctx.user.level != 0 || !n.isValid() || n.isFormChild())
        return;
    TfrmOrder dlg(m_ops, n, this);
    if (dlg.entries().isEmpty())
        return;
    if (dlg.exec() == QDialog::Accepted)
        rebuild();
}

void ResourceTreeView::addExternal()
{
    if (m_ctx.user.level != 0 || !m_ctx.db.isOpen())
        return;
    TfrmToolAdd dlg(TfrmToolAdd::Mode::New, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const OpResult r = m_ops.addExternal(selectedNode(), dlg.title(), dlg.address());
    if (r.ok())
        addNewNode(r, NodeKind::External, AppPaths::resolveStoredPath(dlg.address()));
}

void ResourceTreeView::editExternal()
{
    QTreeWidgetItem *item = m_tree->currentItem();
    const NodeRef n = m_tree->nodeOf(item);
    if (m_ctx.user.level != 0 || n.kind != NodeKind::External || n.isFormChild())
        return;
    bool found = false;
    ResourceRow row;
    try {
        row = ResourceTree::readRow(m_ctx.db, n.id, &found);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return;
    }
    if (!found)
        return;
    TfrmToolAdd dlg(TfrmToolAdd::Mode::Edit, this);
    dlg.setValues(row.title, row.exeFileName);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const OpResult r = m_ops.editExternal(n, dlg.address());
    if (!r.ok())
        return;
    m_tree->setPicture(item, r.picture == Picture::FirstFilePicture
                                 ? m_tree->addFilePicture(AppPaths::resolveStoredPath(dlg.address()))
                                 : r.picture);
    markChanged();
}

void ResourceTreeView::showProperties()
{
    if (const auto p = m_ops.properties(selectedNode()))
        Q_EMIT propertiesRequested(*p);
}

} // namespace vek
