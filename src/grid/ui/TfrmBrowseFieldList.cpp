#include "TfrmBrowseFieldList.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

TfrmBrowseFieldList::TfrmBrowseFieldList(const QString &fieldTitle, const QStringList &values, QWidget *parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_ok(new QPushButton(QStringLiteral("确认"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName("TfrmBrowseFieldList");
    setWindowTitle(QStringLiteral("选择:") + fieldTitle);
    setModal(true);
    resize(260, 320);

    m_list->setObjectName("valueList");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->addItems(values);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_ok->setObjectName("okButton");
    m_ok->setDefault(true);
    m_cancel->setObjectName("cancelButton");

    connect(m_ok, &QPushButton::clicked, this, &TfrmBrowseFieldList::acceptChosen);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        m_list->setCurrentItem(item);
        acceptChosen();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

QString TfrmBrowseFieldList::chosen() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TfrmBrowseFieldList::acceptChosen()
{
    // With nothing selected there is nothing to hand back: the box keeps its text.
    if (!m_list->currentItem() || !m_list->currentItem()->isSelected())
        reject();
    else
        accept();
}

std::optional<QString> TfrmBrowseFieldList::browse(QWidget *parent, const QString &fieldTitle,
                                                   const QStringList &values)
{
    TfrmBrowseFieldList dialog(fieldTitle, values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace vek
