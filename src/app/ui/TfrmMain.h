#pragma once

#include "app/ShellActions.h"
#include "platform/AppContext.h"

#include <QMainWindow>
#include <functional>

class QLabel;
class QMdiArea;
class QMenuBar;
class QSplitter;
class QSystemTrayIcon;
class QTimer;
class QToolButton;

namespace vek {

class MainMenus;
class ResourcePanel;
class ResourceShell;

// The main window: an MDI frame with the resource panel at its left, the system menu
// bar, two tool bars, a seven-panel status bar and the tray icon. Library life (open,
// close, login) is in ResourceShell's hands; this class lays out and wires.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString libraryArgument; // first command-line argument
        bool sqlServer = false;
        QString workingDir;      // folder searched for a single library
        bool autoStart = true;   // run the start-up steps after the first show
    };

    TfrmMain(AppContext &ctx, const Options &options, QWidget *parent = nullptr);
    ~TfrmMain() override;

    AppContext &context() { return m_ctx; }
    MainMenus &menus() { return *m_menus; }
    QAction *action(const QString &name) const;
    ResourcePanel *resourcePanel() const { return m_panel; }
    QMdiArea *mdiArea() const { return m_mdi; }
    ResourceShell &shell() { return *m_shell; }

    // Status panels 0..6.
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString &text);

    // Runs the start-up steps: opens the server or library chosen by the command line.
    void startUp();
    // Recomputes which actions are available.
    void updateActions();
    // Shows or hides the panel, as "窗体列表" does.
    void toggleResourcePanel();
    // Switches between the resource menu and the system menu bar.
    void toggleMenus();
    // The menu bar built from the resource tree (replaces the previous one), detached.
    void setResourceMenuBar(QMenuBar *bar);
    bool resourceMenuAttached() const;
    void setStyleIndex(int style); // 0 Outlook, 1 2000, 2 XP, 3 tree
    int styleIndex() const { return m_style; }

    // The message check runs while a user is logged in (Message/Time seconds; 0 stops it).
    void startMessageTimer();
    void stopMessageTimer();
    QTimer *messageTimer() const { return m_messages; }
    void checkMessages();

    // Answers the closing question; tests read the answer through the prompter.
    bool confirmClose();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildLayout();
    void buildStatusBar();
    void buildTray();
    void connectActions();
    void connectWindowActions();
    void tick();
    void insertText(const QString &text);

    AppContext &m_ctx;
    Options m_options;
    MainMenus *m_menus = nullptr;
    ResourcePanel *m_panel = nullptr;
    ResourceShell *m_shell = nullptr;
    QMdiArea *m_mdi = nullptr;
    QSplitter *m_splitter = nullptr;
    QWidget *m_menuHost = nullptr;
    QMenuBar *m_resourceMenuBar = nullptr;
    QToolButton *m_expandButton = nullptr;
    QList<QLabel *> m_statusPanels;
    QToolButton *m_styleButton = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    QTimer *m_clock = nullptr;
    QTimer *m_messages = nullptr;
    bool m_started = false;
    bool m_closing = false;
    int m_style = 0;
};

} // namespace vek
