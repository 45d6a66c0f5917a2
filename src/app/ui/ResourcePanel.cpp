#include "ResourcePanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vek {

ResourcePanel::ResourcePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName("resourcePanel");
    auto *top = new QWidget(this);
    top->setObjectName("resourcePanelBar");
    top->setAutoFillBackground(true);
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(6, 2, 2, 2);
    auto *title = new QLabel(QStringLiteral("可用资源"), top);
    title->setObjectName("resourcePanelTitle");
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    m_switch = new QToolButton(top);
    m_switch->setObjectName("treeSwitch");
    m_switch->setText(QStringLiteral("切换"));
    m_switch->setToolTip(QStringLiteral("资源窗口切换。\"可用资源\"点击鼠标右键，可选择显示风格"));
    auto *close = new QToolButton(top);
    close->setObjectName("resourcePanelClose");
    close->setText(QStringLiteral("关闭"));
    close->setToolTip(QStringLiteral("不显示分类窗口"));
    topLayout->addWidget(title, 1);
    topLayout->addWidget(m_switch);
    topLayout->addWidget(close);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName("resourceViews");
    m_tables = new QTreeWidget(this);
    m_tables->setObjectName("dataTableList");
    m_tables->setHeaderHidden(true);
    m_stack->addWidget(new QWidget(this)); // tree, set later
    m_stack->addWidget(m_tables);
    m_stack->addWidget(new QWidget(this)); // outlook bar, set later

    m_caption = new QLabel(this);
    m_caption->setObjectName("resourcePanelCaption");
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameShape(QFrame::StyledPanel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(m_stack, 1);
    layout->addWidget(m_caption);

    connect(close, &QToolButton::clicked, this, &ResourcePanel::collapse);
    connect(m_switch, &QToolButton::clicked, this, &ResourcePanel::treeSwitchClicked);
}

void ResourcePanel::setViews(QWidget *tree, QWidget *outlook)
{
    for (auto [index, widget] : {std::pair{0, tree}, std::pair{2, outlook}}) {
        QWidget *old = m_stack->widget(index);
        m_stack->insertWidget(index, widget);
        m_stack->removeWidget(old);
        old->deleteLater();
    }
}

void ResourcePanel::showView(View v)
{
    m_stack->setCurrentIndex(int(v));
}

ResourcePanel::View ResourcePanel::currentView() const
{
    return View(m_stack->currentIndex());
}

void ResourcePanel::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void ResourcePanel::collapse()
{
    if (m_collapsed)
        return;
    m_width = width();
    m_collapsed = true;
    hide();
    Q_EMIT collapsedChanged(true);
}

void ResourcePanel::expand(bool minimumWidth)
{
    if (minimumWidth && m_width < 10)
        m_width = 180;
    m_collapsed = false;
    show();
    Q_EMIT collapsedChanged(false);
}

} // namespace vek
