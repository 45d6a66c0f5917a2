#include "OutlookBar.h"

#include "ResourcePictures.h"
#include "catalog/ResourceTreeOps.h"

#include <QAbstractButton>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace vek {

namespace {

QString escapeMnemonic(QString text)
{
    return text.replace('&', QStringLiteral("&&"));
}

} // namespace

OutlookBar::OutlookBar(ResourceTreeOps &ops, QWidget *parent) : QToolBox(parent), m_ops(ops)
{
    setObjectName(QStringLiteral("outlookBar"));
    m_buttonIconMenu = new QMenu(this);
    m_buttonIconMenu->setObjectName(QStringLiteral("buttonIconMenu"));
    m_groupIconMenu = new QMenu(this);
    m_groupIconMenu->setObjectName(QStringLiteral("groupIconMenu"));
    applyPreset(2);
}

void OutlookBar::clearGroups()
{
    while (count() > 0) {
        QWidget *page = widget(0);
        removeItem(0);
        delete page;
    }
    m_groupTitles.clear();
    m_iconButton = nullptr;
    m_iconGroup = -1;
}

QList<QToolButton *> OutlookBar::buttons() const
{
    return findChildren<QToolButton *>(QStringLiteral("outlookButton"));
}

void OutlookBar::render(const QList<OutlookGroup> &groups, bool systemUser)
{
    clearGroups();
    for (const OutlookGroup &g : groups) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("outlookGroup"));
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        auto *layout = new QVBoxLayout(page);
        layout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        for (const OutlookButton &b : g.buttons) {
            auto *button = new QToolButton(page);
            button->setObjectName(QStringLiteral("outlookButton"));
            button->setText(escapeMnemonic(b.title));
            button->setIcon(OutlookPictureIcon(b.picture));
            button->setIconSize(QSize(32, 32));
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setAutoRaise(true);
            button->setProperty("title", b.title);
            button->setProperty("resourceId", b.id);
            button->setProperty("picture", b.picture);
            button->setProperty("tag", b.tag);
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            layout->addWidget(button);
            const bool system = g.system;
            const OutlookButton copy = b;
            connect(button, &QToolButton::clicked, this, [this, system, copy] {
                if (system)
                    Q_EMIT systemFunctionRequested(copy.title);
                else
                    Q_EMIT openRequested(copy.id, copy.title, copy.treePicture);
            });
            connect(button, &QWidget::customContextMenuRequested, this, [this, button](const QPoint &pos) {
                m_iconButton = button;
                m_buttonIconMenu->popup(button->mapToGlobal(pos));
            });
        }
        const int index = addItem(page, OutlookPictureIcon(g.picture), escapeMnemonic(g.title));
        m_groupTitles.append(g.title);
        connect(page, &QWidget::customContextMenuRequested, this, [this, page, index](const QPoint &pos) {
            m_iconGroup = index;
            m_groupIconMenu->popup(page->mapToGlobal(pos));
        });
    }
    // The tab buttons of the groups carry the group icon menu as well.
    const auto tabs = findChildren<QAbstractButton *>(QStringLiteral("qt_toolbox_toolboxbutton"));
    for (int i = 0; i < tabs.size() && i < count(); ++i) {
        QAbstractButton *tab = tabs[i];
        tab->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(tab, &QWidget::customContextMenuRequested, this, [this, tab, i](const QPoint &pos) {
            m_iconGroup = i;
            m_groupIconMenu->popup(tab->mapToGlobal(pos));
        });
    }
    if (count() > 0)
        setCurrentIndex(0);
    fillIconMenus(systemUser);
}

void OutlookBar::fillIconMenus(bool systemUser)
{
    m_buttonIconMenu->clear();
    m_groupIconMenu->clear();
    if (!systemUser)
        return;
    for (int i = 0; i < kOutlookPictureCount; ++i) {
        QAction *b = m_buttonIconMenu->addAction(OutlookPictureIcon(i), QString::number(i));
        connect(b, &QAction::triggered, this, [this, i] { setButtonPicture(i); });
        QAction *g = m_groupIconMenu->addAction(OutlookPictureIcon(i), QString::number(i));
        connect(g, &QAction::triggered, this, [this, i] { setGroupPicture(i); });
    }
}

void OutlookBar::setButtonPicture(int picture)
{
    if (!m_iconButton)
        return;
    if (m_ops.setIconIndex(m_iconButton->property("title").toString(), picture).ok()) {
        m_iconButton->setIcon(OutlookPictureIcon(picture));
        m_iconButton->setProperty("picture", picture);
    }
}

void OutlookBar::setGroupPicture(int picture)
{
    if (m_iconGroup < 0 || m_iconGroup >= m_groupTitles.size())
        return;
    if (m_ops.setIconIndex(m_groupTitles[m_iconGroup], picture).ok())
        setItemIcon(m_iconGroup, OutlookPictureIcon(picture));
}

void OutlookBar::applyPreset(int preset)
{
    m_preset = preset;
    QString sheet;
    if (preset == 9)
        sheet = QStringLiteral("QToolBox { background: #d4d0c8; } QToolBox::tab { background: #d4d0c8; "
                               "border: 1px outset #ffffff; } QWidget#outlookGroup { background: #d4d0c8; } "
                               "QToolButton { color: black; }");
    else if (preset == 10)
        sheet = QStringLiteral("QToolBox { background: #6f8fd8; } QToolBox::tab { background: qlineargradient("
                               "x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c6d3f7); border-radius: 3px; } "
                               "QWidget#outlookGroup { background: #6f8fd8; } QToolButton { color: white; }");
    else
        sheet = QStringLiteral("QToolBox { background: #808080; } QToolBox::tab { background: #c0c0c0; "
                               "border: 1px solid #606060; } QWidget#outlookGroup { background: #808080; } "
                               "QToolButton { color: white; }");
    setStyleSheet(sheet);
}

} // namespace vek
