#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vek {

QString AppPaths::programDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
}

QString AppPaths::settingsFileFor(const QString &dir, const QString &configHome)
{
    const QFileInfo beside(QDir(dir).filePath(settingsFileName()));
    const QFileInfo folder(dir);
    if (beside.exists() ? beside.isWritable() : folder.isWritable())
        return beside.absoluteFilePath();
    return QDir(configHome).filePath(QStringLiteral("vek2000/") + settingsFileName());
}

QString AppPaths::settingsFile(const QString &overridePath)
{
    if (!overridePath.isEmpty())
        return QFileInfo(overridePath).absoluteFilePath();
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    const QString path = settingsFileFor(programDir(), configHome);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

QString AppPaths::userDataDir()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    const QString dir = QDir(dataHome).filePath(QStringLiteral("vek2000"));
    QDir().mkpath(dir);
    return dir;
}

QString AppPaths::findIgnoringCase(const QString &dir, const QString &name)
{
    const QDir d(dir);
    if (d.exists(name))
        return d.filePath(name);
    const QStringList entries = d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return d.filePath(e);
    }
    return {};
}

namespace {

// Walks components below base, each matched ignoring case.
QString walk(const QString &base, const QStringList &parts)
{
    QString cur = base;
    for (const QString &p : parts) {
        cur = AppPaths::findIgnoringCase(cur, p);
        if (cur.isEmpty())
            return {};
    }
    return QFileInfo(cur).isFile() ? QFileInfo(cur).absoluteFilePath() : QString();
}

} // namespace

QString AppPaths::resolveStoredPath(const QString &stored, const QStringList &baseDirs)
{
    QString p = stored.trimmed();
    if (p.isEmpty())
        return {};
    p.replace('\\', '/');
    if (p.split('/').contains(QStringLiteral("..")))
        return {};
    // Only an absolute path may stand as written: a relative one belongs under a base
    // folder, never under whatever the working folder happens to be.
    if (QDir::isAbsolutePath(p) && QFileInfo(p).isFile())
        return QFileInfo(p).absoluteFilePath();
    // Drop a drive ("C:") or share ("//server/share") prefix.
    if (p.size() >= 2 && p[1] == ':' && p[0].isLetter())
        p = p.mid(2);
    else if (p.startsWith("//"))
        p = p.section('/', 4);
    const QStringList parts = p.split('/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    if (p.startsWith('/')) {
        const QString absolute = walk(QStringLiteral("/"), parts);
        if (!absolute.isEmpty())
            return absolute;
    }
    // Longest trailing part first: "vek/pic/x.bmp", then "pic/x.bmp", then "x.bmp".
    for (int skip = 0; skip < parts.size(); ++skip) {
        const QStringList tail = parts.mid(skip);
        for (const QString &base : baseDirs) {
            const QString found = walk(base, tail);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

QString AppPaths::resolveStoredPath(const QString &stored)
{
    return resolveStoredPath(stored, {programDir(), userDataDir()});
}

} // namespace vek
