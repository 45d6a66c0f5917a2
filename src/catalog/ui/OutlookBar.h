#pragma once

#include "catalog/ResourceTree.h"

#include <QStringList>
#include <QToolBox>

class QMenu;
class QToolButton;

namespace vek {

class ResourceTreeOps;

// The outlook bar: one group per directory, one button per resource, and the group
// "系统管理". System users set the pictures of buttons and groups from two icon menus
// (right click); for other users the menus are empty.
class OutlookBar : public QToolBox {
    Q_OBJECT
public:
    OutlookBar(ResourceTreeOps &ops, QWidget *parent = nullptr);

    void render(const QList<OutlookGroup> &groups, bool systemUser);
    void clearGroups();

    // Outlook presets: 2 and 3 Outlook, 9 "2000风格", 10 "XP风格"; they differ in look.
    void applyPreset(int preset);
    int preset() const { return m_preset; }

    QMenu *buttonIconMenu() const { return m_buttonIconMenu; }
    QMenu *groupIconMenu() const { return m_groupIconMenu; }
    QList<QToolButton *> buttons() const;
    // The icon menus act on the button or group they were opened for.
    void setIconTarget(QToolButton *button) { m_iconButton = button; }
    void setIconTargetGroup(int index) { m_iconGroup = index; }
    void setButtonPicture(int picture);
    void setGroupPicture(int picture);

Q_SIGNALS:
    void openRequested(int id, const QString &title, int picture);
    void systemFunctionRequested(const QString &caption);

private:
    void fillIconMenus(bool systemUser);

    ResourceTreeOps &m_ops;
    QMenu *m_buttonIconMenu;
    QMenu *m_groupIconMenu;
    QToolButton *m_iconButton = nullptr;
    int m_iconGroup = -1;
    QStringList m_groupTitles;
    int m_preset = 2;
};

} // namespace vek
