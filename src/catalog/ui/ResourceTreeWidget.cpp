#include "ResourceTreeWidget.h"

#include "ResourcePictures.h"
#include "catalog/ResourceTreeOps.h"

#include <QAbstractItemDelegate>
#include <QDropEvent>

namespace vek {

namespace {

enum Role { IdRole = Qt::UserRole + 1, ResourceIdRole, PictureRole, KindRole, ChildRole, TitleRole };

} // namespace

ResourceTreeWidget::ResourceTreeWidget(ResourceTreeOps &ops, QWidget *parent) : QTreeWidget(parent), m_ops(ops)
{
    setObjectName(QStringLiteral("resourceTree"));
    setHeaderLabel(QStringLiteral("资源列表"));
    setWindowTitle(QStringLiteral("资源列表"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSystemUser(false);
    connect(this, &QTreeWidget::itemChanged, this, &ResourceTreeWidget::itemEdited);
    connect(itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] { endRename(); });
}

void ResourceTreeWidget::setSystemUser(bool system)
{
    m_system = system;
    setDragEnabled(system);
    setAcceptDrops(system);
    setDragDropMode(system ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
}

void ResourceTreeWidget::render(const ResourceTreeModel &model)
{
    m_renameItem = nullptr;
    m_filePictures = model.filePictures;
    setUpdatesEnabled(false);
    {
        const QSignalBlocker block(this);
        clear();
        for (const TreeNode &n : model.roots)
            addNode(nullptr, n);
    }
    setUpdatesEnabled(true);
}

NodeRef ResourceTreeWidget::nodeOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return {};
    return NodeRef{item->data(0, IdRole).toInt(), item->data(0, ResourceIdRole).toInt(),
                   item->data(0, TitleRole).toString(), item->data(0, PictureRole).toInt(),
                   NodeKind(item->data(0, KindRole).toInt())};
}

QTreeWidgetItem *ResourceTreeWidget::itemById(int id) const
{
    for (QTreeWidgetItemIterator it(const_cast<ResourceTreeWidget *>(this)); *it; ++it) {
        if ((*it)->data(0, IdRole).toInt() == id)
            return *it;
    }
    return nullptr;
}

QTreeWidgetItem *ResourceTreeWidget::itemForCode(const QString &code) const
{
    if (code.isEmpty() || code == QLatin1String("0"))
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<ResourceTreeWidget *>(this)); *it; ++it) {
        if ((*it)->data(0, IdRole).toInt() != 0 && (*it)->data(0, ChildRole).toString() == code)
            return *it;
    }
    return nullptr;
}

QTreeWidgetItem *ResourceTreeWidget::addNode(QTreeWidgetItem *parent, const TreeNode &node)
{
    const QSignalBlocker block(this);
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, node.ref.title);
    item->setData(0, IdRole, node.ref.id);
    item->setData(0, ResourceIdRole, node.ref.resourceId);
    item->setData(0, KindRole, int(node.ref.kind));
    item->setData(0, ChildRole, node.child);
    item->setData(0, TitleRole, node.ref.title);
    setPicture(item, node.ref.picture);
    for (const TreeNode &c : node.children)
        addNode(item, c);
    return item;
}

void ResourceTreeWidget::setPicture(QTreeWidgetItem *item, int picture)
{
    const QSignalBlocker block(this);
    item->setData(0, PictureRole, picture);
    item->setIcon(0, TreePictureIcon(picture, m_filePictures));
}

int ResourceTreeWidget::addFilePicture(const QString &path)
{
    m_filePictures.append(path);
    return Picture::FirstFilePicture + int(m_filePictures.size()) - 1;
}

void ResourceTreeWidget::startRename()
{
    QTreeWidgetItem *item = currentItem();
    const NodeRef n = nodeOf(item);
    if (!m_system || !n.isValid() || n.isFormChild())
        return;
    m_renameItem = item;
    {
        const QSignalBlocker block(this);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    editItem(item, 0);
}

void ResourceTreeWidget::itemEdited(QTreeWidgetItem *item, int column)
{
    if (!item || item != m_renameItem || column != 0)
        return;
    m_renameItem = nullptr;
    bool renamed = false;
    {
        const QSignalBlocker block(this);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const QString stored = item->data(0, TitleRole).toString();
        const QString typed = item->text(0);
        if (typed == stored)
            return;
        const OpResult r = m_ops.rename(nodeOf(item), typed);
        renamed = r.ok();
        // A refused title gives the old text back.
        item->setText(0, renamed ? r.title : stored);
        item->setData(0, TitleRole, renamed ? r.title : stored);
    }
    if (renamed)
        Q_EMIT changed();
}

void ResourceTreeWidget::endRename()
{
    if (!m_renameItem)
        return;
    const QSignalBlocker block(this);
    m_renameItem->setFlags(m_renameItem->flags() & ~Qt::ItemIsEditable);
    m_renameItem = nullptr;
}

bool ResourceTreeWidget::dropOn(QTreeWidgetItem *dragged, QTreeWidgetItem *target)
{
    if (!dragged)
        return false;
    const OpResult r = m_ops.move(nodeOf(dragged), nodeOf(target));
    if (!r.ok() || !target)
        return false;
    if (QTreeWidgetItem *from = dragged->parent())
        from->removeChild(dragged);
    else
        takeTopLevelItem(indexOfTopLevelItem(dragged));
    target->addChild(dragged);
    target->setExpanded(true);
    setCurrentItem(dragged);
    Q_EMIT changed();
    return true;
}

bool ResourceTreeWidget::dropAt(const QPoint &pos)
{
    return m_system && dropOn(currentItem(), itemAt(pos));
}

void ResourceTreeWidget::dropEvent(QDropEvent *event)
{
    // The widget moves nothing by itself: only a move the catalog took is shown.
    if (event->source() == this)
        dropAt(event->position().toPoint());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

} // namespace vek
