#include "TfrmClassAdjust.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

TfrmClassAdjust::TfrmClassAdjust(const QStringList &classNames, QWidget *parent)
    : QDialog(parent), m_combo(new QComboBox(this)), m_ok(new QPushButton(QStringLiteral("确认"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName("TfrmClassAdjust");
    setWindowTitle(QStringLiteral("班级调整处理"));
    setModal(true);

    auto *label = new QLabel(QStringLiteral("要调整到的班级："), this);
    label->setObjectName("classLabel");
    m_combo->setObjectName("classCombo");
    m_combo->addItems(classNames);
    m_combo->setMinimumWidth(160);
    m_ok->setObjectName("okButton");
    m_ok->setDefault(true);
    m_ok->setEnabled(m_combo->count() > 0);
    m_cancel->setObjectName("cancelButton");
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (!chosen().isEmpty())
            accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_combo, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

QString TfrmClassAdjust::chosen() const
{
    return m_combo->currentText();
}

std::optional<QString> TfrmClassAdjust::choose(QWidget *parent, const QStringList &classNames)
{
    TfrmClassAdjust dialog(classNames, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace vek
