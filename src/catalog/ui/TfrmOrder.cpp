#include "TfrmOrder.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

TfrmOrder::TfrmOrder(ResourceTreeOps &ops, const NodeRef &node, QWidget *parent)
    : QDialog(parent), m_ops(ops), m_entries(ops.siblings(node, &m_parentCode))
{
    setObjectName(QStringLiteral("TfrmOrder"));
    setWindowTitle(QStringLiteral("调整顺序"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("orderList"));
    m_up = new QPushButton(QStringLiteral("↑"), this);
    m_up->setObjectName(QStringLiteral("btnUp"));
    m_down = new QPushButton(QStringLiteral("↓"), this);
    m_down->setObjectName(QStringLiteral("btnDown"));
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    m_ok->setEnabled(!m_entries.isEmpty());

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    for (const SiblingEntry &e : m_entries)
        m_list->addItem(e.title);
    const int current = [&] {
        for (int i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].id == node.id)
                return i;
        }
        return m_entries.isEmpty() ? -1 : 0;
    }();
    m_list->setCurrentRow(current);

    connect(m_up, &QPushButton::clicked, this, &TfrmOrder::moveUp);
    connect(m_down, &QPushButton::clicked, this, &TfrmOrder::moveDown);
    connect(m_ok, &QPushButton::clicked, this, &TfrmOrder::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, &TfrmOrder::updateButtons);
    updateButtons();
}

void TfrmOrder::moveUp()
{
    swapWith(-1);
}

void TfrmOrder::moveDown()
{
    swapWith(1);
}

void TfrmOrder::swapWith(int offset)
{
    const int row = m_list->currentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= m_entries.size())
        return;
    m_entries.swapItemsAt(row, other);
    m_list->item(row)->setText(m_entries[row].title);
    m_list->item(other)->setText(m_entries[other].title);
    m_list->setCurrentRow(other);
}

void TfrmOrder::updateButtons()
{
    const int row = m_list->currentRow();
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_entries.size());
}

void TfrmOrder::accept()
{
    if (m_ops.saveOrder(m_parentCode, m_entries).ok())
        QDialog::accept();
}

} // namespace vek
