#pragma once

#include "catalog/ResourceTree.h"
#include "catalog/ResourceTreeOps.h"

#include <QHash>
#include <QWidget>

class QAction;
class QActionGroup;
class QMenu;
class QStackedWidget;
class QTreeWidgetItem;

namespace vek {

struct AppContext;
class IniFile;
class OutlookBar;
class ResourceTreeWidget;

// The three views of the resource tree: the tree view "资源列表" and the outlook bar,
// stacked in this widget, and the resource menu, which the main window attaches
// (menuBar()->addActions(resourceMenu()->actions())) when it wants it.
//
// The fixed items of the resource menu copy the main window's template actions handed
// to setTemplateActions() (see ResourceMenuBuilder); items without a template emit
// fixedItemTriggered(templateName). The tree's maintenance commands are the actions of
// treeMenu(), found by objectName: actNewMainDir, actNewSubDir, actRename, actDelete,
// actOrder, actAddExternal, actEditExternal, actProperties, actExpand, actCollapse.
class ResourceTreeView : public QWidget {
    Q_OBJECT
public:
    explicit ResourceTreeView(AppContext &ctx, QWidget *parent = nullptr);
    ~ResourceTreeView() override;

    void setSources(const ResourceTreeSources &sources);
    void setLogWriter(ResourceTreeOps::LogWriter log) { m_ops.setLogWriter(std::move(log)); }
    void setTemplateActions(const QList<QAction *> &actions);
    ResourceTreeOps &ops() { return m_ops; }

    ResourceTreeWidget *tree() const { return m_tree; }
    OutlookBar *outlookBar() const { return m_outlook; }
    QMenu *resourceMenu() const { return m_resourceMenu; }
    QMenu *styleMenu() const { return m_styleMenu; }
    QMenu *treeMenu() const { return m_treeMenu; }
    const ResourceTreeModel &model() const { return m_model; }

    bool treeChanged() const { return m_changed; }
    bool treeViewShown() const;
    int outlookPreset() const;
    // The ticked style (0 Outlook, 1 2000, 2 XP), or -1 when "树型窗口" is ticked.
    int tickedStyle() const;
    // Writes Outlook/style on closing; nothing when "树型窗口" is ticked.
    void saveStyle(IniFile &ini) const;
    bool resourceMenuHasResources() const { return !m_model.menu.isEmpty(); }

    NodeRef selectedNode() const;

public Q_SLOTS:
    // Build tree: all three views from one walk.
    void rebuild();
    // The library was closed.
    void clear();
    // The tree switch: rebuilds first when the tree was changed since.
    void toggleTreeView();
    void chooseStyle(int style, int preset);

    void newMainDirectory();
    void newSubDirectory();
    void startRename();
    void deleteSelected();
    void orderSiblings();
    void addExternal();
    void editExternal();
    void showProperties();

Q_SIGNALS:
    void openRequested(int id, const QString &title, int picture);
    void systemFunctionRequested(const QString &caption);
    void propertiesRequested(const vek::ResourceProperties &properties);
    void fixedItemTriggered(const QString &templateName);
    // After every rebuild; the main window hides its own menu bar when the resource
    // menu holds resources.
    void rebuilt(bool menuHasResources);

private:
    void createActions();
    void updateActions();
    void markChanged() { m_changed = true; }
    void showPage(bool treePage);
    void openItem(QTreeWidgetItem *item, bool singleClick);
    void addNewNode(const OpResult &r, NodeKind kind, const QString &filePath);

    AppContext &m_ctx;
    ResourceTreeSources m_sources;
    ResourceTreeOps m_ops;
    ResourceTreeModel m_model;
    QHash<QString, QAction *> m_templates;
    QStackedWidget *m_stack;
    ResourceTreeWidget *m_tree;
    OutlookBar *m_outlook;
    QMenu *m_resourceMenu;
    QMenu *m_styleMenu;
    QActionGroup *m_styleGroup;
    QMenu *m_treeMenu;
    QHash<QString, QAction *> m_actions;
    bool m_changed = false;
};

} // namespace vek
