#include "LibraryFile.h"

#include "Catalog.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QFile>
#include <QFileInfo>

namespace vek {

namespace {

const QString kFileExists = QStringLiteral("数据文件已经存在!");
const QString kCreateFailed = QStringLiteral("数据文件创建失败!");
const QString kCreated = QStringLiteral("资源库文件创建完成，欢迎使用!");
const QString kOpenFailed = QStringLiteral("打开资源库文件失败!");

void markLibraryOpen(TDModule &db)
{
    ShellState &s = db.state();
    s = ShellState{};
    s.libraryOpen = true;
}

} // namespace

QString LibraryFileName(const QString &chosen)
{
    const QString name = QFileInfo(chosen).fileName();
    const int dot = name.lastIndexOf('.');
    const QString ext = dot >= 0 ? name.mid(dot).toUpper() : QString();
    return ext == QLatin1String(".VEK") ? chosen : chosen + QStringLiteral(".vek");
}

QString CreateLibrary(TDModule &db, const QString &chosen, Prompter &prompter)
{
    const QString path = LibraryFileName(chosen);
    if (QFileInfo::exists(path)) {
        prompter.message(QStringLiteral("错误"), kFileExists, Prompter::Icon::Error);
        return {};
    }
    db.close();
    db.state() = ShellState{};
    try {
        db.createSqliteFile(path);
    } catch (const DbError &e) {
        prompter.message(Prompter::systemCaption(), kCreateFailed + "\n" + e.message(), Prompter::Icon::Error);
        return {};
    }
    try {
        CreateFullCatalog(db);
    } catch (const DbError &e) {
        // A library is made whole or not at all: take the half-made file away.
        db.close();
        QFile::remove(path);
        prompter.message(Prompter::systemCaption(), kCreateFailed + "\n" + e.message(), Prompter::Icon::Error);
        return {};
    }
    markLibraryOpen(db);
    prompter.message(Prompter::systemCaption(), kCreated, Prompter::Icon::Information);
    return path;
}

bool OpenLibraryFile(TDModule &db, const QString &path, Prompter &prompter)
{
    db.close();
    db.state() = ShellState{};
    try {
        db.openSqliteFile(path);
        if (CatalogAbsent(db))
            throw DbError(QStringLiteral("没有系统表"));
    } catch (const DbError &) {
        db.close();
        prompter.message(Prompter::systemCaption(), kOpenFailed, Prompter::Icon::Error);
        return false;
    }
    markLibraryOpen(db);
    return true;
}

QString LibraryCaption(TDModule &db, const QString &path)
{
    const QString title = ReadAppTitle(db);
    if (!title.isEmpty())
        return title;
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QLatin1String(".vek"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

void CloseLibrary(TDModule &db)
{
    db.close();
    db.state() = ShellState{};
}

} // namespace vek
