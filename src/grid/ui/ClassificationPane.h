#pragma once

#include "grid/ClassificationTree.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace vek {

class GridSession;

// The classification pane at the left of a grid: a tree of the values of up to three
// fields with their record counts; clicking a node filters the records.
class ClassificationPane : public QWidget {
    Q_OBJECT
public:
    explicit ClassificationPane(GridSession &session, QWidget *parent = nullptr);

    void setSettle(std::function<bool()> settle) { m_settle = std::move(settle); }
    // Builds the tree for fields; throws DbError when it cannot be built.
    void build(const ClassFields &fields, bool countsOn);
    void rebuild();
    void refillFieldList();
    const ClassFields &fields() const { return m_fields; }
    bool countsOn() const { return m_counts; }
    QTreeView *tree() const { return m_tree; }
    QStandardItemModel *treeModel() const { return m_model; }
    const ClassNode &rootNode() const { return m_root; }
    // Selects the node at path of labels' values (level 1 value, …) and filters by it.
    bool selectValue(const QList<QVariant> &path);
    void setFieldListVisible(bool on);
    // Values from level 1 down to the selected node; empty for the root or no selection.
    QList<QVariant> selectedPath() const;
    void setCaption(const QString &caption);

Q_SIGNALS:
    void nodeSelected();
    void collapseRequested();

private:
    void addChildren(QStandardItem *parent, const ClassNode &node);
    void clicked(const QModelIndex &index);
    void showMenu(const QPoint &pos);
    void saveToFile();
    const ClassNode *nodeAt(const QModelIndex &index) const;

    GridSession &m_session;
    std::function<bool()> m_settle;
    QLabel *m_caption;
    QComboBox *m_fieldList;
    QTreeView *m_tree;
    QStandardItemModel *m_model;
    ClassFields m_fields;
    ClassNode m_root;
    bool m_counts = false;
};

} // namespace vek
