#include "StartupChoice.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace vek {

StartupChoice ChooseStartup(bool sqlServerSwitch, const QString &argument, const QString &workingDir)
{
    if (sqlServerSwitch)
        return {StartupChoice::Kind::Server, {}};
    if (!argument.isEmpty()) {
        if (argument.endsWith(QLatin1String(".vek"), Qt::CaseInsensitive))
            return {StartupChoice::Kind::LibraryFile, QFileInfo(argument).absoluteFilePath()};
        return {};
    }
    QDir dir(workingDir);
    QStringList libs;
    for (const QFileInfo &fi : dir.entryInfoList(QDir::Files)) {
        if (fi.suffix().compare(QLatin1String("vek"), Qt::CaseInsensitive) == 0)
            libs << fi.absoluteFilePath();
    }
    if (libs.size() == 1)
        return {StartupChoice::Kind::LibraryFile, libs.first()};
    return {};
}

QString StatusDateText(const QDateTime &t)
{
    // The original pattern put the month where the minutes belong; show the real time.
    return t.toString(QStringLiteral("yyyy年MM月dd日 HH:mm:ss"));
}

QString WeekdayText(const QDateTime &t)
{
    static const char *const names[] = {"星期天", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    return ' ' + QString::fromUtf8(names[t.date().dayOfWeek() % 7]);
}

} // namespace vek
