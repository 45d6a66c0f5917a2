#include "ResourceOpener.h"

#include "MainMenus.h"
#include "ModuleRegistry.h"
#include "ResourceShell.h"
#include "TfrmMain.h"
#include "app/CurrentResource.h"
#include "app/GridHandOver.h"
#include "grid/ui/TfrmDBGrid.h"
#include "catalog/ResourceTree.h"
#include "platform/AppPaths.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"
#include "security/OperationLog.h"

#include <QDesktopServices>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

namespace vek {

ResourceOpener::ResourceOpener(TfrmMain &main, AppContext &ctx, ResourceShell &shell)
    : QObject(&shell), m_main(main), m_ctx(ctx), m_shell(shell)
{
}

bool ResourceOpener::openRegistered(const QString &title)
{
    QWidget *w = ModuleRegistry::instance().create(title, m_ctx, m_main.mdiArea());
    if (!w) {
        notAvailable(title);
        return false;
    }
    m_main.mdiArea()->addSubWindow(w)->show();
    return true;
}

void ResourceOpener::notAvailable(const QString &title)
{
    m_ctx.prompter.message(Prompter::systemCaption(), QStringLiteral("模块“%1”在本资源库中不可用。").arg(title),
                           Prompter::Icon::Information);
}

void ResourceOpener::openResource(int id, const QString &title, int picture)
{
    if (!m_ctx.db.isOpen() || !m_ctx.db.state().libraryOpen) {
        m_shell.loginFirst();
        return;
    }
    if (picture == Picture::Module) {
        openByTitle(title);
        return;
    }
    // Statistics, list and code-table entries of a data form.
    if (picture == Picture::Statistics || picture == Picture::List || picture == Picture::CodeTable) {
        notAvailable(title);
        return;
    }
    // Only what the tree showed may be opened, whatever the route.
    const bool shown = m_ctx.user.isSystemUser() || m_ctx.shownResourceTitles.contains(title) || picture >= Picture::Web;
    if (!shown || id == 0) {
        m_shell.noRights();
        return;
    }
    CurrentResource r;
    try {
        r = LoadCurrentResource(m_ctx, id);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return;
    }
    if (!r.isValid()) {
        m_ctx.prompter.error(QStringLiteral("程序不存在，或打开错误！"));
        return;
    }
    if (r.flag == QLatin1String("2") || picture >= Picture::Web) {
        openExternal(r);
        return;
    }
    if (r.flag == QLatin1String("3")) {
        openByTitle(r.title);
        return;
    }
    if (r.mainTable.isEmpty()) {
        m_ctx.prompter.error(QStringLiteral("程序不存在，或打开错误！"));
        return;
    }
    try {
        WriteLogEntry(m_ctx, LogKind::Enter, r.title);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
    }
    if (r.flag == QLatin1String("1") || picture == Picture::Grid) {
        openGrid(r);
        return;
    }
    // Data forms open in their own windows.
    notAvailable(r.title + QStringLiteral("（数据窗体）"));
}

TfrmDBGrid *ResourceOpener::openGrid(const CurrentResource &r)
{
    return showGrid(GridResourceFor(r, m_ctx.db.state().browseMode));
}

TfrmDBGrid *ResourceOpener::showGrid(const GridResource &g)
{
    QMdiArea *mdi = m_main.mdiArea();
    // One window per resource: a second open shows the first.
    for (QMdiSubWindow *sub : mdi->subWindowList()) {
        if (auto *open = qobject_cast<TfrmDBGrid *>(sub->widget()); open && open->windowTitle() == g.title) {
            mdi->setActiveSubWindow(sub);
            return open;
        }
    }
    m_main.setStatusText(1, QStringLiteral("正在加入表格信息，请稍等..."));
    auto *grid = new TfrmDBGrid(m_ctx, g);
    try {
        grid->open();
    } catch (const DbError &e) {
        delete grid;
        m_main.setStatusText(1, QString());
        m_ctx.prompter.error(e.message());
        return nullptr;
    }
    connect(grid, &TfrmDBGrid::statusText, &m_main, &TfrmMain::setStatusText);
    QMdiSubWindow *sub = mdi->addSubWindow(grid);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connect(mdi, &QMdiArea::subWindowActivated, grid, [grid, sub](QMdiSubWindow *active) {
        if (active == sub)
            grid->activated();
    });
    sub->showMaximized();
    m_main.setStatusText(1, QString());
    return grid;
}

void ResourceOpener::openExternal(const CurrentResource &r)
{
    const QString path = r.exeFileName;
    if (path.isEmpty()) {
        m_ctx.prompter.error(QStringLiteral("程序不存在，或打开错误！"));
        return;
    }
    QUrl url;
    if (path.startsWith(QLatin1String("http"), Qt::CaseInsensitive) || path.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        url = QUrl::fromUserInput(path);
    } else {
        const QString file = AppPaths::resolveStoredPath(path);
        if (file.isEmpty()) {
            m_ctx.prompter.error(QStringLiteral("程序不存在，或打开错误！"));
            return;
        }
        url = QUrl::fromLocalFile(file);
    }
    if (!QDesktopServices::openUrl(url))
        m_ctx.prompter.error(QStringLiteral("程序不存在，或打开错误！"));
}

void ResourceOpener::openByTitle(const QString &title, const QString &kind)
{
    const bool library = m_ctx.db.isOpen() && m_ctx.db.state().libraryOpen;
    auto needLibrary = [&] {
        if (library)
            return true;
        m_shell.loginFirst();
        return false;
    };
    if (title == QLatin1String("MenuItem"))
        m_main.toggleMenus();
    else if (title == QLatin1String("Treeview"))
        m_main.toggleResourcePanel();
    else if (title == QStringLiteral("退出应用"))
        m_main.close();
    else if (title == QStringLiteral("重新登录"))
        m_shell.relogin();
    else if (title == QStringLiteral("系统帮助"))
        return;
    else if (title == QStringLiteral("更改口令")) {
        if (needLibrary())
            m_shell.changePassword();
    } else if (title == QStringLiteral("锁定应用")) {
        if (needLibrary())
            m_shell.lock();
    } else if (title == QStringLiteral("系统设置")) {
        m_shell.systemSettings();
    } else if (title == QStringLiteral("用户管理") || title == QStringLiteral("数据字典") || title == QStringLiteral("操作日志")
               || title == QStringLiteral("在线用户")) {
        // Windows for system users only, by this route too.
        if (m_shell.requireSystemUser())
            openRegistered(title);
    } else if (ModuleRegistry::isModuleTitle(title)) {
        if (!needLibrary())
            return;
        if (!m_ctx.user.isSystemUser() && !m_ctx.shownResourceTitles.contains(title)) {
            m_shell.noRights();
            return;
        }
        openRegistered(title);
    } else if (!library) {
        needLibrary();
    } else if (!m_ctx.user.isSystemUser() && !m_ctx.shownResourceTitles.contains(title)) {
        m_shell.noRights();
    } else {
        openRegistered(title);
    }
}

void ResourceOpener::openDataTable(const QString &table)
{
    // A plain table: no catalog row, no dictionary, no standing filter.
    GridResource g;
    g.title = table;
    g.table = table;
    g.browseMode = true;
    showGrid(g);
}

} // namespace vek
