#pragma once

#include "catalog/ResourceTree.h"
#include "catalog/ResourceTreeOps.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vek {

// "调整顺序": the siblings of a node, moved with "↑" and "↓" and stored with "确定".
class TfrmOrder : public QDialog {
    Q_OBJECT
public:
    TfrmOrder(ResourceTreeOps &ops, const NodeRef &node, QWidget *parent = nullptr);

    QList<SiblingEntry> entries() const { return m_entries; }
    QListWidget *list() const { return m_list; }

public Q_SLOTS:
    void moveUp();
    void moveDown();
    // Stores the order; the dialog closes only when that worked.
    void accept() override;

private:
    void swapWith(int offset);
    void updateButtons();

    ResourceTreeOps &m_ops;
    QString m_parentCode;
    QList<SiblingEntry> m_entries;
    QListWidget *m_list;
    QPushButton *m_up;
    QPushButton *m_down;
    QPushButton *m_ok;
};

} // namespace vek
