#pragma once

#include "catalog/ResourceTree.h"

#include <QStringList>
#include <QTreeWidget>

namespace vek {

class ResourceTreeOps;

// The tree view "资源列表": nodes carry their row's id, code, title and picture.
// Renaming and drag and drop go through the operations, which check the user: the
// widget shows a change only when the catalog took it.
class ResourceTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    ResourceTreeWidget(ResourceTreeOps &ops, QWidget *parent = nullptr);

    void render(const ResourceTreeModel &model);
    // System users may drag nodes and rename them.
    void setSystemUser(bool system);

    NodeRef nodeOf(const QTreeWidgetItem *item) const;
    NodeRef selectedNode() const { return nodeOf(currentItem()); }
    QTreeWidgetItem *itemById(int id) const;
    // The node of the row with this code; nullptr for "0" (the top level) or no node.
    QTreeWidgetItem *itemForCode(const QString &code) const;
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const TreeNode &node);
    void setPicture(QTreeWidgetItem *item, int picture);
    // Adds the icon of an external file to the image list; returns its picture.
    int addFilePicture(const QString &path);

    // "编辑结点名称": edits the selected node's text in place.
    void startRename();
    bool renaming() const { return m_renameItem != nullptr; }
    // Moves dragged under target when the operation allows it.
    bool dropOn(QTreeWidgetItem *dragged, QTreeWidgetItem *target);
    // A drop of the selected node at pos (viewport coordinates).
    bool dropAt(const QPoint &pos);

Q_SIGNALS:
    void changed();

protected:
    void dropEvent(QDropEvent *event) override;

private:
    void itemEdited(QTreeWidgetItem *item, int column);
    void endRename();

    ResourceTreeOps &m_ops;
    QStringList m_filePictures;
    QTreeWidgetItem *m_renameItem = nullptr;
    bool m_system = false;
};

} // namespace vek
