#include "BirthdayPanel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

namespace vek {

BirthdayPanel::BirthdayPanel(QWidget *parent)
    : QWidget(parent), m_group(new QButtonGroup(this)), m_print(new QPushButton(QStringLiteral("打印"), this)),
      m_close(new QPushButton(QStringLiteral("关闭"), this))
{
    setObjectName("BirthdayPanel");
    auto *layout = new QHBoxLayout(this);
    const QStringList labels = BirthdayChoiceLabels();
    for (int i = 0; i < labels.size(); ++i) {
        auto *radio = new QRadioButton(labels[i], this);
        radio->setObjectName(QStringLiteral("choice%1").arg(i));
        m_group->addButton(radio, i);
        layout->addWidget(radio);
    }
    if (QAbstractButton *first = m_group->button(0))
        first->setChecked(true);
    layout->addStretch();
    // Printing the list comes with the table printing of the grid; until then the
    // button says so rather than doing nothing.
    m_print->setObjectName("printButton");
    m_print->setEnabled(false);
    m_print->setToolTip(QStringLiteral("尚未提供"));
    m_close->setObjectName("closeButton");
    layout->addWidget(m_print);
    layout->addWidget(m_close);

    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            Q_EMIT choiceChanged(BirthdayChoice(id));
    });
    connect(m_print, &QPushButton::clicked, this, &BirthdayPanel::printRequested);
    connect(m_close, &QPushButton::clicked, this, &BirthdayPanel::closeRequested);
}

BirthdayChoice BirthdayPanel::choice() const
{
    const int id = m_group->checkedId();
    return id < 0 ? BirthdayChoice::Today : BirthdayChoice(id);
}

} // namespace vek
