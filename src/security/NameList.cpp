#include "NameList.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QRegularExpression>
#include <algorithm>

namespace vek {

namespace {

bool containsCi(const QStringList &list, const QString &name)
{
    const QString n = name.trimmed();
    return !n.isEmpty() && list.contains(n, Qt::CaseInsensitive);
}

void appendTrimmed(QStringList &list, const QString &name)
{
    const QString n = name.trimmed();
    if (!n.isEmpty())
        list << n;
}

} // namespace

QString NameList::pad(const QString &name)
{
    return name.trimmed().leftJustified(kSlotWidth, QLatin1Char(' '));
}

NameList NameList::parse(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(breaks);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the break that ends the last line
    return fromLines(lines);
}

NameList NameList::fromLines(const QStringList &lines)
{
    NameList list;
    bool inGroups = false;
    for (const QString &line : lines) {
        if (!inGroups && line.trimmed().isEmpty()) {
            inGroups = true;
            continue;
        }
        appendTrimmed(inGroups ? list.groups : list.users, line);
    }
    return list;
}

QStringList NameList::toLines() const
{
    QStringList lines;
    for (const QString &u : users)
        lines << pad(u);
    lines << QString();
    for (const QString &g : groups)
        lines << pad(g);
    return lines;
}

QString NameList::toText() const
{
    QString text;
    for (const QString &line : toLines())
        text += line + QStringLiteral("\r\n");
    return text;
}

bool NameList::containsUser(const QString &userId) const
{
    return containsCi(users, userId);
}

bool NameList::containsGroup(const QString &group) const
{
    return containsCi(groups, group);
}

bool NameList::addresses(const QString &userId, const QString &group) const
{
    return isEmpty() || containsUser(userId) || containsGroup(group);
}

QStringList NameList::recipients(TDModule &db) const
{
    QStringList ids;
    auto add = [&ids](const QString &id) {
        const QString n = id.trimmed();
        if (!n.isEmpty() && !ids.contains(n, Qt::CaseInsensitive))
            ids << n;
    };
    for (const QString &g : groups) {
        Query q(db, "SELECT uid FROM usys_Users WHERE " + db.dialect().ciEquals("ugroup", ":HostGroup") + " ORDER BY id",
                {{":HostGroup", g.trimmed()}});
        while (q.next())
            add(q.value(0).toString());
    }
    for (const QString &u : users)
        add(u);
    std::sort(ids.begin(), ids.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return ids;
}

} // namespace vek
