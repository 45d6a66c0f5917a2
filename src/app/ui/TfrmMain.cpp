#include "TfrmMain.h"

#include "MainMenus.h"
#include "ResourcePanel.h"
#include "ResourceShell.h"
#include "app/SettingsDefaults.h"
#include "app/MessageCheck.h"
#include "app/StartupChoice.h"
#include "catalog/Catalog.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"
#include "platform/ui/Icons.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vek {

namespace {
const int kPanelWidths[] = {20, 390, 120, 160, 160, 65, 50};
const char *const kStyleNames[] = {"Outlook风格", "2000风格", "XP风格", "树型窗口"};
} // namespace

TfrmMain::TfrmMain(AppContext &ctx, const Options &options, QWidget *parent)
    : QMainWindow(parent), m_ctx(ctx), m_options(options)
{
    setObjectName("TfrmMain");
    setWindowIcon(GlyphIcon(QStringLiteral("V"), QColor(0x2b6cb0)));
    m_menus = new MainMenus(this);
    buildLayout();
    buildStatusBar();
    m_shell = new ResourceShell(*this, m_ctx);
    buildTray();
    connectActions();
    connectWindowActions();

    m_ctx.user.level = 1;
    m_ctx.user.name = SettingText(m_ctx.ini, "Login", "UserName");
    const QString title = SettingText(m_ctx.ini, "vek2000", "AppTitle");
    setWindowTitle(title.isEmpty() ? DefaultAppTitle() : title);
    m_panel->setCaption(SettingText(m_ctx.ini, "vek2000", "InfoPlat"));
    m_style = qBound(0, SettingInt(m_ctx.ini, "Outlook", "style"), 2);
    if (m_options.libraryArgument.isEmpty() && !m_options.sqlServer)
        setStatusText(1, QStringLiteral("请选择要打开的资源库!"));
    setStatusText(2, QStringLiteral("        用户未登录"));
    m_panel->collapse();

    m_clock = new QTimer(this);
    m_clock->setObjectName("clockTimer");
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TfrmMain::tick);
    tick();
    m_clock->start();
    m_messages = new QTimer(this);
    m_messages->setObjectName("messageTimer");
    connect(m_messages, &QTimer::timeout, this, &TfrmMain::checkMessages);
    updateActions();
    resize(1100, 720);
}

TfrmMain::~TfrmMain()
{
    // The windows inside go while the shell they report to still stands.
    disconnect(m_mdi, nullptr, this, nullptr);
    qDeleteAll(m_mdi->subWindowList());
    // Leaving with a library open marks the user offline; nothing may stop the exit.
    m_shell->markOfflineQuietly();
}

QAction *TfrmMain::action(const QString &name) const
{
    return m_menus->action(name);
}

void TfrmMain::buildLayout()
{
    // Both menus live in one host, so switching between them never destroys either.
    m_menuHost = new QWidget(this);
    m_menuHost->setObjectName("menuHost");
    auto *menuLayout = new QVBoxLayout(m_menuHost);
    menuLayout->setContentsMargins(0, 0, 0, 0);
    menuLayout->setSpacing(0);
    menuLayout->addWidget(m_menus->systemMenuBar());
    setMenuWidget(m_menuHost);
    m_menus->systemMenuBar()->hide();

    m_panel = new ResourcePanel(this);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("mdiArea");
    m_mdi->setBackground(QColor(0x5a, 0x7d, 0xa8));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_expandButton = new QToolButton(central);
    m_expandButton->setObjectName("panelExpand");
    m_expandButton->setText(QStringLiteral("»"));
    m_expandButton->setToolTip(QStringLiteral("显示分类窗口"));
    m_expandButton->setFixedWidth(14);
    m_expandButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setObjectName("panelSplitter");
    m_splitter->addWidget(m_panel);
    m_splitter->addWidget(m_mdi);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setCollapsible(0, false);
    m_splitter->setSizes({180, 900});
    layout->addWidget(m_expandButton);
    layout->addWidget(m_splitter, 1);
    setCentralWidget(central);

    connect(m_expandButton, &QToolButton::clicked, this, [this] {
        m_panel->expand();
        m_splitter->setSizes({m_panel->rememberedWidth(), width() - m_panel->rememberedWidth()});
    });
    connect(m_panel, &ResourcePanel::collapsedChanged, this, [this](bool collapsed) {
        m_expandButton->setVisible(collapsed);
    });
}

void TfrmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName("statusBar");
    bar->setSizeGripEnabled(true);
    m_styleButton = new QToolButton(bar);
    m_styleButton->setObjectName("statusStyleButton");
    m_styleButton->setIcon(GlyphIcon(QStringLiteral("设"), QColor(0x4a5568), 16));
    m_styleButton->setToolTip(QStringLiteral("显示风格"));
    m_styleButton->setAutoRaise(true);
    m_styleButton->setFixedWidth(kPanelWidths[0] + 6);
    auto *styleMenu = new QMenu(m_styleButton);
    styleMenu->setObjectName("styleMenu");
    auto *group = new QActionGroup(styleMenu);
    for (int i = 0; i < 4; ++i) {
        QAction *a = styleMenu->addAction(QString::fromUtf8(kStyleNames[i]));
        a->setObjectName(QStringLiteral("style%1").arg(i));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setStyleIndex(i); });
    }
    m_styleButton->setMenu(styleMenu);
    m_styleButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(m_styleButton);
    for (int i = 1; i < 7; ++i) {
        auto *label = new QLabel(bar);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        label->setMinimumWidth(kPanelWidths[i]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addWidget(label, i == 1 ? 1 : 0);
        m_statusPanels << label;
    }
    m_statusPanels.prepend(nullptr); // panel 0 is the style button
    setStatusText(1, QStringLiteral("就绪"));
    setStatusText(3, QStringLiteral("窗体名称"));
    setStatusText(6, QStringLiteral("    浏览器"));
}

void TfrmMain::buildTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setObjectName("trayIcon");
    m_tray->setToolTip(QStringLiteral("通用管理平台"));
    m_tray->setContextMenu(m_menus->trayMenu());
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick)
            action("actShowMain")->trigger();
    });
    m_tray->show();
}

QString TfrmMain::statusText(int panel) const
{
    if (panel == 0)
        return {};
    return m_statusPanels.value(panel) ? m_statusPanels[panel]->text() : QString();
}

void TfrmMain::setStatusText(int panel, const QString &text)
{
    if (panel > 0 && panel < m_statusPanels.size())
        m_statusPanels[panel]->setText(panel == 1 && text.isEmpty() ? QStringLiteral("就绪") : text);
}

bool TfrmMain::event(QEvent *event)
{
    // Hints go to panel 1, "就绪" when there is none.
    if (event->type() == QEvent::StatusTip) {
        setStatusText(1, static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The start-up steps run once, after the first show, never on later activations.
    if (!m_started && m_options.autoStart) {
        m_started = true;
        QTimer::singleShot(0, this, &TfrmMain::startUp);
    }
}

void TfrmMain::startUp()
{
    m_started = true;
    const StartupChoice choice = ChooseStartup(m_options.sqlServer, m_options.libraryArgument, m_options.workingDir);
    switch (choice.kind) {
    case StartupChoice::Kind::Server:
        m_shell->startServer();
        break;
    case StartupChoice::Kind::LibraryFile:
        m_shell->openLibraryFile(choice.path);
        break;
    case StartupChoice::Kind::None:
        setStatusText(1, QStringLiteral("请选择要打开的资源库!"));
        break;
    }
    updateActions();
}

void TfrmMain::tick()
{
    const QDateTime now = m_ctx.clock.now();
    setStatusText(4, StatusDateText(now));
    setStatusText(5, WeekdayText(now));
    m_expandButton->setToolTip(m_panel->isCollapsed() ? QStringLiteral("展开窗口") : QStringLiteral("关闭展开窗口"));
    if (QMdiSubWindow *w = m_mdi->activeSubWindow())
        setStatusText(3, w->windowTitle());
}

void TfrmMain::updateActions()
{
    ShellConditions c;
    c.libraryOpen = m_ctx.db.state().libraryOpen;
    c.browseMode = m_ctx.db.state().browseMode;
    c.userLevel = m_ctx.user.loggedIn() || c.libraryOpen ? m_ctx.user.level : 1;
    c.editing = action("actEdit")->isChecked();
    for (const ShellActionDef &d : ShellActionDefs()) {
        if (QAction *a = action(QString::fromLatin1(d.name)))
            a->setEnabled(ShellActionEnabled(d, c));
    }
    const bool system = c.libraryOpen && c.userLevel == 0 && !c.browseMode;
    m_panel->treeSwitch()->setVisible(system);
    action("actMasterDetail")->setVisible(system);
    action("actShowToolBar")->setVisible(!m_menus->toolBar()->isVisible());
}

void TfrmMain::toggleResourcePanel()
{
    if (m_panel->isCollapsed()) {
        m_panel->expand(false);
        m_splitter->setSizes({qMax(m_panel->rememberedWidth(), 1), width() - m_panel->rememberedWidth()});
    } else {
        m_panel->collapse();
    }
}

void TfrmMain::setResourceMenuBar(QMenuBar *bar)
{
    if (m_resourceMenuBar == bar)
        return;
    if (m_resourceMenuBar)
        m_resourceMenuBar->deleteLater();
    m_resourceMenuBar = bar;
    if (bar) {
        bar->setParent(m_menuHost);
        m_menuHost->layout()->addWidget(bar);
        // A rebuilt menu is left detached; "菜单管理" attaches it.
        bar->hide();
    }
}

bool TfrmMain::resourceMenuAttached() const
{
    return m_resourceMenuBar && !m_resourceMenuBar->isHidden();
}

void TfrmMain::toggleMenus()
{
    QMenuBar *system = m_menus->systemMenuBar();
    if (resourceMenuAttached()) {
        m_resourceMenuBar->hide();
        system->show();
    } else if (m_ctx.db.state().libraryOpen && m_resourceMenuBar) {
        m_resourceMenuBar->show();
        system->hide();
    } else {
        system->show();
    }
}

void TfrmMain::setStyleIndex(int style)
{
    const QList<QAction *> styles = m_styleButton->menu()->actions();
    if (style >= 0 && style < styles.size())
        styles[style]->setChecked(true);
    if (style == 3) {
        m_shell->showTreeStyle();
        return;
    }
    m_style = style;
    m_shell->applyOutlookStyle(style);
}

void TfrmMain::startMessageTimer()
{
    m_messages->start(1000);
}

void TfrmMain::stopMessageTimer()
{
    m_messages->stop();
}

void TfrmMain::checkMessages()
{
    const int seconds = SettingInt(m_ctx.ini, "Message", "Time");
    if (seconds <= 0) {
        m_messages->stop();
        return;
    }
    if (HasUnreadMessages(m_ctx))
        setStatusText(1, QStringLiteral("您有新的消息，请查看!"));
    if (m_messages->interval() == 1000)
        m_messages->setInterval(seconds * 1000);
}

bool TfrmMain::confirmClose()
{
    return m_ctx.prompter.question(Prompter::systemCaption(), QStringLiteral("是否确定退出应用?"),
                                   Prompter::Buttons::YesNo, Prompter::Icon::Question)
        == Prompter::Answer::Yes;
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_closing && !confirmClose()) {
        event->ignore();
        return;
    }
    // Windows with a pending edit save it or keep the program open.
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    m_closing = true;
    // The tree style is remembered; the plain tree view is not a style.
    if (!m_styleButton->menu()->actions().value(3)->isChecked())
        m_ctx.ini.setInt("Outlook", "style", m_style);
    if (m_tray)
        m_tray->hide();
    m_clock->stop();
    m_messages->stop();
    event->accept();
}

void TfrmMain::insertText(const QString &text)
{
    QWidget *w = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(w))
        line->insert(text);
    else if (auto *edit = qobject_cast<QTextEdit *>(w))
        edit->insertPlainText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        plain->insertPlainText(text);
}

void TfrmMain::connectActions()
{
    auto on = [this](const char *name, auto slot) { connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot); };
    on("actNewLibrary", [this] { m_shell->newLibrary(); });
    on("actOpen", [this] { m_shell->openWithDialog(); });
    on("actCloseLibrary", [this] { m_shell->closeLibrary(true); });
    on("actConnectDatabase", [this] { m_shell->connectDatabase(); });
    on("actNetworkApp", [this] { m_shell->connectNetworkApplication(); });
    on("actRelogin", [this] { m_shell->relogin(); });
    on("actLock", [this] { m_shell->lock(); });
    on("actChangePassword", [this] { m_shell->changePassword(); });
    on("actSysSet", [this] { m_shell->systemSettings(); });
    on("actDataTables", [this] { m_shell->toggleDataTables(); });
    on("actFormList", [this] { toggleResourcePanel(); });
    on("actMenuManage", [this] { toggleMenus(); });
    on("actExit", [this] { close(); });
    on("actAbout", [this] { m_shell->about(); });
    on("actSupport", [this] {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + SettingText(m_ctx.ini, "vek2000", "email")));
    });
    on("actInsertDate", [this] { insertText(m_ctx.clock.today().toString(QStringLiteral("yyyy-MM-dd"))); });
    on("actInsertTime", [this] { insertText(m_ctx.clock.now().time().toString(QStringLiteral("HH:mm:ss"))); });
    on("actInsertFile", [this] { m_shell->insertFileName(); });
    on("actOpenLink", [this] { m_shell->openLinkInFocus(); });
    connect(action("actEdit"), &QAction::toggled, this, &TfrmMain::updateActions);
    connect(m_panel, &ResourcePanel::treeSwitchClicked, this, [this] { m_shell->switchTreeAndOutlook(); });
}

void TfrmMain::connectWindowActions()
{
    auto on = [this](const char *name, auto slot) { connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot); };
    // Edit commands act on the focused text control.
    auto editCall = [](auto method) {
        return [method] {
            QWidget *w = QApplication::focusWidget();
            if (auto *line = qobject_cast<QLineEdit *>(w))
                method(line);
            else if (auto *edit = qobject_cast<QTextEdit *>(w))
                method(edit);
            else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
                method(plain);
        };
    };
    on("actCut", editCall([](auto *w) { w->cut(); }));
    on("actCopy", editCall([](auto *w) { w->copy(); }));
    on("actPaste", editCall([](auto *w) { w->paste(); }));
    on("actUndo", editCall([](auto *w) { w->undo(); }));

    on("actCloseWindow", [this] {
        if (QMdiSubWindow *w = m_mdi->activeSubWindow())
            w->close();
        else
            close();
    });
    on("actCascade", [this] { m_mdi->cascadeSubWindows(); });
    on("actTile", [this] { m_mdi->tileSubWindows(); });
    on("actTileVertical", [this] {
        // Side by side, full height.
        const QList<QMdiSubWindow *> list = m_mdi->subWindowList();
        if (list.isEmpty())
            return;
        const int w = m_mdi->viewport()->width() / list.size();
        for (int i = 0; i < list.size(); ++i)
            list[i]->setGeometry(i * w, 0, w, m_mdi->viewport()->height());
    });
    on("actMinimizeAll", [this] {
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            w->showMinimized();
    });
    on("actArrange", [this] { m_mdi->tileSubWindows(); });
    on("actHideMain", [this] {
        // Without a tray there is no way back from hidden: minimize instead.
        if (m_tray)
            hide();
        else
            showMinimized();
    });
    on("actShowMain", [this] {
        showNormal();
        raise();
        activateWindow();
    });
    connect(action("actStatusBar"), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    const std::pair<const char *, Qt::ToolBarArea> docks[] = {{"actDockTop", Qt::TopToolBarArea},
                                                              {"actDockBottom", Qt::BottomToolBarArea},
                                                              {"actDockLeft", Qt::LeftToolBarArea},
                                                              {"actDockRight", Qt::RightToolBarArea}};
    for (const auto &[name, area] : docks) {
        on(name, [this, area = area] {
            for (QToolBar *bar : {m_menus->toolBar(), m_menus->gridToolBar()}) {
                const bool visible = bar->isVisible();
                addToolBar(area, bar);
                bar->setVisible(visible);
            }
        });
    }
    on("actShowToolBar", [this] {
        m_menus->toolBar()->show();
        if (!m_mdi->subWindowList().isEmpty())
            m_menus->gridToolBar()->show();
        updateActions();
    });
    on("actHideToolBar", [this] {
        m_menus->toolBar()->hide();
        m_menus->gridToolBar()->hide();
        updateActions();
    });
    for (QToolBar *bar : {m_menus->toolBar(), m_menus->gridToolBar()}) {
        connect(bar, &QToolBar::customContextMenuRequested, this,
                [this, bar](const QPoint &pos) { m_menus->toolBarMenu()->popup(bar->mapToGlobal(pos)); });
    }
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
        setStatusText(3, w ? w->windowTitle() : QString());
    });
}

} // namespace vek
