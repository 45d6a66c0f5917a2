#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace vek {

// The actions, menus and tool bars of the main window, built from the shell's action
// table. Windows connect to the actions by name.
class MainMenus {
public:
    explicit MainMenus(QMainWindow *window);

    QAction *action(const QString &name) const;
    const QHash<QString, QAction *> &actions() const { return m_actions; }

    QMenuBar *systemMenuBar() const { return m_menuBar; }
    QToolBar *toolBar() const { return m_toolBar; }
    QToolBar *gridToolBar() const { return m_gridToolBar; }
    QMenu *trayMenu() const { return m_trayMenu; }
    QMenu *toolBarMenu() const { return m_toolBarMenu; }

private:
    void createActions(QMainWindow *window);
    void buildMenuBar(QMainWindow *window);
    void buildToolBars(QMainWindow *window);
    void buildTrayMenu(QMainWindow *window);

    QHash<QString, QAction *> m_actions;
    QMenuBar *m_menuBar = nullptr;
    QToolBar *m_toolBar = nullptr;
    QToolBar *m_gridToolBar = nullptr;
    QMenu *m_trayMenu = nullptr;
    QMenu *m_toolBarMenu = nullptr;
};

} // namespace vek
