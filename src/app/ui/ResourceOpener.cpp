#include "ResourceOpener.h"

#include "MainMenus.h"
#include "ModuleRegistry.h"
#include "ResourceShell.h"
#include "TfrmMain.h"
#include "app/CurrentResource.h"
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
    // Grid applications and data forms open in their own windows.
    notAvailable(r.flag == QLatin1String("0") ? r.title + QStringLiteral("（数据窗体）") : r.title + QStringLiteral("（表格应用）"));
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
    m_ctx.prompter.message(Prompter::systemCaption(),
                           QStringLiteral("表格应用窗口尚未在本版本中提供，不能打开数据表\"%1\"。").arg(table),
                           Prompter::Icon::Information);
}

} // namespace vek
