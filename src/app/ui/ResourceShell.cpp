#include "ResourceShell.h"

#include "MainMenus.h"
#include "ResourceOpener.h"
#include "ResourcePanel.h"
#include "TfrmMain.h"
#include "TfrmSysSet.h"
#include "app/CurrentResource.h"
#include "app/SettingsDefaults.h"
#include "catalog/Catalog.h"
#include "catalog/LibraryFile.h"
#include "catalog/ServerConnection.h"
#include "catalog/ResourceTree.h"
#include "catalog/ui/ResourceTreeView.h"
#include "catalog/ui/ResourceTreeWidget.h"
#include "catalog/ui/TfrmConnectdb.h"
#include "dictionary/FieldDictionary.h"
#include "security/OperationLog.h"
#include "security/Permissions.h"
#include "security/ui/TfrmAppProperty.h"
#include "platform/AppPaths.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"
#include "security/LoginSession.h"
#include "security/UserAccounts.h"
#include "security/ui/TfrmLogin.h"
#include "security/ui/TfrmPassword.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

namespace vek {

namespace {
const QString kNoRights = QStringLiteral("您没有权利使用本模块或打开发生错误,请与管理员联系！");
const QString kLoginFirst = QStringLiteral("请登录后使用本模块！");

} // namespace

ResourceShell::ResourceShell(TfrmMain &main, AppContext &ctx) : QObject(&main), m_main(main), m_ctx(ctx)
{
    m_opener = new ResourceOpener(main, ctx, *this);
    m_tree = new ResourceTreeView(ctx, main.resourcePanel());
    ResourceTreeSources sources;
    // One rights service decides what the tree shows.
    sources.visible = [this](const ResourceRow &r) {
        return IsResourceVisible(m_ctx, ResourceSharing{r.id, r.owner, r.shareFlag, r.flag, r.firstTable});
    };
    sources.extras = [this](const QString &title) {
        FieldDictionary dict(m_ctx.db);
        return DataFormExtras{dict.HasLookupFields(title), dict.HasChoiceLists(title), dict.HasStatisticsFields(title)};
    };
    sources.hasReminders = [this] { return FieldDictionary(m_ctx.db).HasReminders(); };
    m_tree->setSources(sources);
    m_tree->setLogWriter([this](const QString &kind, const QString &title) { WriteLogEntry(m_ctx, kind, title); });
    m_tree->setTemplateActions(main.menus().actions().values());
    m_tree->ops().setProgramDir(AppPaths::programDir());
    main.resourcePanel()->setViews(m_tree, new QWidget(main.resourcePanel()));
    connect(m_tree, &ResourceTreeView::openRequested, this,
            [this](int id, const QString &title, int picture) { openResource(id, title, picture); });
    connect(m_tree, &ResourceTreeView::systemFunctionRequested, this, [this](const QString &t) { openByTitle(t); });
    connect(m_tree, &ResourceTreeView::propertiesRequested, this, [this](const ResourceProperties &p) {
        if (ShowResourceProperties(m_ctx, p.id, window()))
            rebuildTree();
    });
    connect(m_tree, &ResourceTreeView::rebuilt, this, [this](bool menuHasResources) {
        if (menuHasResources)
            m_main.menus().systemMenuBar()->hide();
    });
    const std::pair<const char *, void (ResourceTreeView::*)()> treeCommands[] = {
        {"actNewMainDir", &ResourceTreeView::newMainDirectory}, {"actNewSubDir", &ResourceTreeView::newSubDirectory},
        {"actRenameNode", &ResourceTreeView::startRename},      {"actDeleteNode", &ResourceTreeView::deleteSelected},
        {"actOrderNodes", &ResourceTreeView::orderSiblings},    {"actNewExternal", &ResourceTreeView::addExternal},
        {"actEditExternal", &ResourceTreeView::editExternal},   {"actProperties", &ResourceTreeView::showProperties},
        {"actRefreshTree", &ResourceTreeView::rebuild}};
    for (const auto &[name, slot] : treeCommands)
        connect(main.action(QString::fromLatin1(name)), &QAction::triggered, m_tree, slot);

    connect(m_main.resourcePanel()->dataTableList(), &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) {
                if (item && item->parent())
                    openDataTable(item->text(0));
            });
}

QWidget *ResourceShell::window() const
{
    return &m_main;
}

// ---- library files ---------------------------------------------------------------

bool ResourceShell::newLibrary(const QString &chosenPath)
{
    QString chosen = chosenPath;
    if (chosen.isEmpty()) {
        chosen = QFileDialog::getSaveFileName(window(), QStringLiteral("新建资源库"), AppPaths::userDataDir(),
                                              QStringLiteral("VEK文件 (*.vek)"), nullptr,
                                              QFileDialog::DontConfirmOverwrite);
        if (chosen.isEmpty())
            return false;
    }
    if (m_ctx.db.state().libraryOpen && !closeLibrary(true))
        return false;
    const QString path = CreateLibrary(m_ctx.db, chosen, m_ctx.prompter);
    if (path.isEmpty()) {
        resetToNoLibrary();
        return false;
    }
    // A new library is used at once as its system user, without a login.
    m_libraryPath = path;
    m_ctx.user = CurrentUser{QStringLiteral("Admin"), 0, {}, false};
    m_main.setStatusText(2, QStringLiteral("        ") + m_ctx.user.name);
    showLibraryCaption(path);
    rebuildTree();
    m_main.resourcePanel()->expand();
    m_main.updateActions();
    return true;
}

void ResourceShell::openWithDialog()
{
    if (m_ctx.db.state().libraryOpen && !closeLibrary(true))
        return;
    const QStringList filters = {QStringLiteral("VEK2000库文件 (*.vek)"), QStringLiteral("SQLite数据库 (*.db *.sqlite *.sqlite3)"),
                                 QStringLiteral("Access(*.mdb)"),          QStringLiteral("xBase(*.dbf)"),
                                 QStringLiteral("VFoxPro(*.dbf)"),        QStringLiteral("Paradox(*.db)"),
                                 QStringLiteral("Excel(*.xls)"),          QStringLiteral("数据链接(*.dsn)")};
    QString selected = filters.first();
    const QString file = QFileDialog::getOpenFileName(window(), QStringLiteral("打开"), QString(),
                                                      filters.join(QStringLiteral(";;")), &selected);
    if (file.isEmpty())
        return;
    const qsizetype index = filters.indexOf(selected);
    if (index == 0)
        openLibraryFile(file);
    else if (index == 1)
        openBrowseFile(file);
    else
        m_ctx.prompter.message(Prompter::systemCaption(),
                               QStringLiteral("这种数据源需要数据导入模块，请用\"导入数据表\"将它的表复制到资源库中。"),
                               Prompter::Icon::Warning);
    m_main.updateActions();
}

bool ResourceShell::openLibraryFile(const QString &path)
{
    m_main.setStatusText(1, QStringLiteral("正在连接系统，请稍等!"));
    if (!OpenLibraryFile(m_ctx.db, path, m_ctx.prompter)) {
        m_main.setStatusText(1, QStringLiteral("打开资源库文件失败!"));
        resetToNoLibrary();
        return false;
    }
    m_libraryPath = path;
    if (!relogin())
        return false;
    showLibraryCaption(path);
    return true;
}

bool ResourceShell::openBrowseFile(const QString &path)
{
    try {
        m_ctx.db.openSqliteFile(path);
    } catch (const DbError &e) {
        m_ctx.prompter.message(Prompter::systemCaption(), e.message(), Prompter::Icon::Error);
        resetToNoLibrary();
        return false;
    }
    m_libraryPath = path;
    enterBrowseMode();
    return true;
}

void ResourceShell::showLibraryCaption(const QString &path)
{
    try {
        m_main.setWindowTitle(LibraryCaption(m_ctx.db, path));
    } catch (const DbError &) {
        m_main.setWindowTitle(QFileInfo(path).completeBaseName());
    }
}

bool ResourceShell::closeLibrary(bool ask)
{
    if (ask && !m_ctx.prompter.confirm(QStringLiteral("是否关闭当前资源库?")))
        return false;
    // Every window on the library goes first; one that keeps a pending edit keeps the library.
    if (!closeWindows())
        return false;
    if (m_ctx.db.state().libraryOpen && !m_ctx.db.state().browseMode)
        markOfflineQuietly();
    resetToNoLibrary();
    return true;
}

bool ResourceShell::closeWindows()
{
    m_main.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return m_main.mdiArea()->subWindowList().isEmpty();
}

void ResourceShell::resetToNoLibrary()
{
    m_main.stopMessageTimer();
    CloseLibrary(m_ctx.db);
    m_ctx.user.name.clear();
    m_ctx.user.level = 1;
    m_ctx.user.locked = false;
    m_ctx.shownResourceTitles.clear();
    m_libraryPath.clear();
    m_main.resourcePanel()->dataTableList()->clear();
    m_tree->clear();
    m_main.setResourceMenuBar(nullptr);
    m_main.setStatusText(2, QStringLiteral("        用户未登录"));
    m_main.setStatusText(3, QString());
    m_main.resourcePanel()->collapse();
    const QString title = SettingText(m_ctx.ini, "vek2000", "AppTitle");
    m_main.setWindowTitle(title.isEmpty() ? DefaultAppTitle() : title);
    m_main.menus().gridToolBar()->hide();
    m_main.menus().toolBar()->hide();
    m_main.menus().systemMenuBar()->hide();
    m_main.action("actEdit")->setChecked(false);
    m_main.updateActions();
}

void ResourceShell::enterBrowseMode()
{
    ShellState &s = m_ctx.db.state();
    s.browseMode = true;
    s.libraryOpen = true;
    m_ctx.user.level = 1;
    fillDataTables();
    m_main.resourcePanel()->showView(ResourcePanel::View::DataTables);
    m_main.resourcePanel()->expand();
    m_main.menus().systemMenuBar()->show();
    m_main.updateActions();
}

void ResourceShell::startServer()
{
    QString error;
    m_main.setStatusText(1, QStringLiteral("正在连接系统，请稍等!"));
    if (!ConnectServerAtStartup(m_ctx.db, m_ctx.ini, &error)) {
        TfrmConnectdb dlg(m_ctx.db, m_ctx.ini, m_ctx.prompter, {false, m_ctx.sqlServerSwitch}, window());
        if (dlg.exec() != QDialog::Accepted) {
            resetToNoLibrary();
            return;
        }
    }
    m_ctx.db.state().sqlServerMode = true;
    enterConnectedDatabase();
}

void ResourceShell::enterConnectedDatabase()
{
    // Without a catalog the database is browsed as plain tables; with one, users log in.
    try {
        if (CatalogAbsent(m_ctx.db)) {
            enterBrowseMode();
            return;
        }
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        resetToNoLibrary();
        return;
    }
    m_ctx.db.state().libraryOpen = true;
    if (relogin())
        m_main.setWindowTitle(ReadAppTitle(m_ctx.db));
}

void ResourceShell::connectDatabase()
{
    if (m_ctx.db.state().libraryOpen && !closeLibrary(true))
        return;
    TfrmConnectdb dlg(m_ctx.db, m_ctx.ini, m_ctx.prompter, {true, m_ctx.sqlServerSwitch}, window());
    if (dlg.exec() == QDialog::Accepted)
        enterBrowseMode();
}

void ResourceShell::connectNetworkApplication()
{
    if (m_ctx.db.state().libraryOpen) {
        if (!m_ctx.prompter.confirm(QStringLiteral("确认要关闭当前项目吗?")))
            return;
        closeLibrary(false);
    }
    TfrmConnectdb dlg(m_ctx.db, m_ctx.ini, m_ctx.prompter, {false, m_ctx.sqlServerSwitch}, window());
    if (dlg.exec() != QDialog::Accepted)
        return;
    enterConnectedDatabase();
}

// ---- users -------------------------------------------------------------------------

void ResourceShell::setUnattendedLogin(const QString &name, const QString &password)
{
    m_unattended = std::make_pair(name, password);
}

bool ResourceShell::runLogin()
{
    if (m_unattended) {
        try {
            const std::optional<UserRecord> user = UserAccounts(m_ctx.db).login(m_unattended->first, m_unattended->second);
            if (!user)
                return false;
            m_ctx.user = CurrentUser{user->name, user->level, user->group, false};
            return true;
        } catch (const DbError &e) {
            m_ctx.prompter.error(e.message());
            return false;
        }
    }
    const TfrmLogin::Outcome outcome = TfrmLogin::run(m_ctx, window());
    if (outcome.terminateProgram)
        QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    return outcome.loggedIn;
}

bool ResourceShell::relogin()
{
    if (!closeWindows())
        return false;
    m_main.resourcePanel()->collapse();
    try {
        LoginSession::beginRelogin(m_ctx, m_ctx.db.state().libraryOpen && m_ctx.user.loggedIn());
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
    }
    m_ctx.shownResourceTitles.clear();
    m_main.stopMessageTimer();
    m_main.menus().gridToolBar()->hide();
    m_main.menus().systemMenuBar()->hide();
    const bool wasOpen = m_ctx.db.state().libraryOpen;
    if (!wasOpen || !runLogin()) {
        resetToNoLibrary();
        return false;
    }
    afterLogin();
    return true;
}

void ResourceShell::afterLogin()
{
    m_main.setStatusText(1, QStringLiteral("正在装入资源，请稍等..."));
    rebuildTree();
    fillDataTables();
    try {
        LoginSession::loginCompleted(m_ctx);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
    }
    m_ctx.db.state().libraryOpen = true;
    m_main.startMessageTimer();
    m_main.setStatusText(1, QStringLiteral("欢迎使用本系统!"));
    m_main.setStatusText(2, QStringLiteral("        ") + m_ctx.user.name);
    m_main.resourcePanel()->expand();
    m_main.updateActions();
}

void ResourceShell::lock()
{
    if (!LoginSession::canLock(m_ctx))
        return;
    TfrmLogin::lock(m_ctx, window());
}

void ResourceShell::changePassword()
{
    if (!m_ctx.user.loggedIn()) {
        loginFirst();
        return;
    }
    TfrmPassword::run(m_ctx, m_ctx.user.name, window());
}

bool ResourceShell::requireSystemUser()
{
    if (!m_ctx.db.state().libraryOpen) {
        loginFirst();
        return false;
    }
    if (!m_ctx.user.isSystemUser()) {
        noRights();
        return false;
    }
    return true;
}

void ResourceShell::loginFirst()
{
    m_ctx.prompter.error(kLoginFirst);
}

void ResourceShell::noRights()
{
    m_ctx.prompter.message(Prompter::systemCaption(), kNoRights, Prompter::Icon::Error);
}

void ResourceShell::systemSettings()
{
    // The settings dialog is for system users only, by every route.
    if (!requireSystemUser())
        return;
    TfrmSysSet dlg(m_ctx, AppPaths::programDir(), window());
    if (dlg.exec() == QDialog::Accepted && !dlg.appTitle().isEmpty())
        m_main.setWindowTitle(dlg.appTitle());
}

void ResourceShell::markOfflineQuietly()
{
    if (m_ctx.db.isOpen() && m_ctx.db.state().libraryOpen && !m_ctx.db.state().browseMode && m_ctx.user.loggedIn())
        LoginSession::programEnding(m_ctx);
}

// ---- the resource panel --------------------------------------------------------------

void ResourceShell::rebuildTree()
{
    m_tree->rebuild();
    m_ctx.shownResourceTitles = m_tree->model().shownTitles;
    // The resource menu as a menu bar of its own, left detached until "菜单管理".
    auto *bar = new QMenuBar;
    bar->setObjectName("resourceMenuBar");
    bar->addActions(m_tree->resourceMenu()->actions());
    m_main.setResourceMenuBar(bar);
    m_main.resourcePanel()->showView(ResourcePanel::View::Tree);
    // Directories open: a user sees the resources, not only their folders.
    m_tree->tree()->expandAll();
}

void ResourceShell::fillDataTables()
{
    QTreeWidget *list = m_main.resourcePanel()->dataTableList();
    list->clear();
    if (!m_ctx.db.isOpen())
        return;
    auto *root = new QTreeWidgetItem(list, {QStringLiteral("系统数据表")});
    try {
        for (const QString &t : DataTableNames(m_ctx.db))
            new QTreeWidgetItem(root, {t});
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
    }
    list->expandAll();
}

void ResourceShell::toggleDataTables()
{
    if (!requireSystemUser())
        return;
    ResourcePanel *panel = m_main.resourcePanel();
    if (panel->currentView() == ResourcePanel::View::DataTables) {
        panel->showView(ResourcePanel::View::Tree);
    } else {
        fillDataTables();
        panel->showView(ResourcePanel::View::DataTables);
    }
    panel->expand();
}

void ResourceShell::switchTreeAndOutlook()
{
    m_main.resourcePanel()->showView(ResourcePanel::View::Tree);
    m_tree->toggleTreeView();
}

void ResourceShell::showTreeStyle()
{
    m_main.resourcePanel()->showView(ResourcePanel::View::Tree);
    for (QAction *a : m_tree->styleMenu()->actions()) {
        if (a->objectName() == QLatin1String("styleTree"))
            a->trigger();
    }
}

void ResourceShell::applyOutlookStyle(int style)
{
    m_main.resourcePanel()->showView(ResourcePanel::View::Tree);
    m_tree->chooseStyle(style, style == 1 ? 9 : style == 2 ? 10 : 2);
}

// ---- opening -----------------------------------------------------------------------

void ResourceShell::openResource(int id, const QString &title, int picture)
{
    m_opener->openResource(id, title, picture);
}

void ResourceShell::openByTitle(const QString &title, const QString &kind)
{
    m_opener->openByTitle(title, kind);
}

void ResourceShell::openDataTable(const QString &table)
{
    m_opener->openDataTable(table);
}

// ---- small commands ----------------------------------------------------------------

void ResourceShell::about()
{
    m_ctx.prompter.message(QStringLiteral("关于"),
                           QStringLiteral("VEK2000 通用管理平台\n版本 %1\n\n建立和使用数据管理应用，无需编程。")
                               .arg(QCoreApplication::applicationVersion().isEmpty()
                                        ? QStringLiteral("0.1")
                                        : QCoreApplication::applicationVersion()),
                           Prompter::Icon::Information);
}

void ResourceShell::insertFileName()
{
    auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!line)
        return;
    const QString file = QFileDialog::getOpenFileName(window(), QStringLiteral("插入文件"));
    if (!file.isEmpty())
        line->insert(file);
}

void ResourceShell::openLinkInFocus()
{
    auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    const QString text = line ? line->text().trimmed() : QString();
    if (text.isEmpty())
        return;
    const QString resolved = AppPaths::resolveStoredPath(text);
    QDesktopServices::openUrl(resolved.isEmpty() ? QUrl::fromUserInput(text) : QUrl::fromLocalFile(resolved));
}

} // namespace vek
