#include "CurrentResource.h"

#include "catalog/CatalogTables.h"
#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/PasswordCodec.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vek {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

// Position of the word needle outside single-quoted literals, from 'from', ignoring case.
qsizetype findOutsideQuotes(const QString &text, const QString &needle, qsizetype from = 0)
{
    bool quoted = false;
    for (qsizetype i = 0; i + needle.size() <= text.size(); ++i) {
        if (text[i] == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || i < from || QStringView(text).mid(i, needle.size()).compare(needle, Qt::CaseInsensitive) != 0)
            continue;
        const qsizetype end = i + needle.size();
        // Part of a longer name ("CreateUserName") is not the keyword.
        if ((i > 0 && isWordChar(text[i - 1]) && needle[0] != '&') || (end < text.size() && isWordChar(text[end])))
            continue;
        return i;
    }
    return -1;
}

QString fromStoredPassword(const QString &stored)
{
    QStringEncoder toBytes("GB18030");
    QStringDecoder toText("GB18030");
    QByteArray bytes = toBytes(stored);
    return toText(shiftPasswordDown(bytes));
}

} // namespace

PreparedFilter PrepareFilter(const QString &stored, const QString &userName, const QDate &today)
{
    PreparedFilter f;
    QString text = stored;
    // "field=UserName": the current user's name, as a bound value instead of pasted text.
    const qsizetype at = findOutsideQuotes(text, QStringLiteral("UserName"));
    if (at >= 0) {
        text.replace(at, 8, QStringLiteral(":HostCurrentUser"));
        f.binds.insert(QStringLiteral(":HostCurrentUser"), userName);
    }
    int n = 0;
    for (qsizetype pos = findOutsideQuotes(text, QStringLiteral("&Now")); pos >= 0;
         pos = findOutsideQuotes(text, QStringLiteral("&Now"), pos)) {
        const QString name = QStringLiteral(":HostNow%1").arg(n++);
        text.replace(pos, 4, name);
        f.binds.insert(name, today);
        pos += name.size();
    }
    f.text = text.trimmed();
    return f;
}

GroupingSettings PrepareGrouping(IniFile &ini, const QString &title, const QString &groupText, bool groupCoding,
                                 bool groupRecn)
{
    GroupingSettings g;
    g.coded = groupCoding;
    g.showCounts = groupRecn;
    const QString trimmed = groupText.trimmed();
    if (trimmed.isEmpty() || title.isEmpty())
        return g;
    for (const QString &line : trimmed.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts))
        g.fields << line.trimmed();
    const char *keys[] = {"ClassField", "ClassField1", "ClassField2"};
    for (int i = 0; i < 3 && i < g.fields.size(); ++i)
        ini.setValue(title, QString::fromLatin1(keys[i]), g.fields[i]);
    ini.setBool(title, "ClassDisplay", true);
    if (groupCoding && (g.fields.size() == 1 || g.fields.size() == 2))
        g.codedField = g.fields.first();
    return g;
}

CurrentResource LoadCurrentResource(AppContext &ctx, int id)
{
    CurrentResource r;
    Query q(ctx.db, QStringLiteral("SELECT * FROM usys_system WHERE id = :HostIndex"), {{":HostIndex", id}});
    if (!q.next())
        return r;
    const QSqlRecord rec = q.record();
    auto text = [&](const char *name) { return rec.value(QString::fromLatin1(name)).toString(); };
    auto flag = [&](const char *name) { return rec.value(QString::fromLatin1(name)).toBool(); };
    r.id = id;
    r.title = text("AppTitle");
    r.flag = text("Flag").trimmed();
    r.mainTable = text("FirstTable").trimmed();
    r.fieldList = text("FirstFieldlist").trimmed();
    r.afterSaveSql = text("DDLSQL").trimmed();
    r.afterSaveHint = text("DDLHint").trimmed();
    r.queryFields = text("QueryField").trimmed();
    r.recordHint = text("RecordHints").trimmed();
    if (r.recordHint.isEmpty())
        r.recordHint = QStringLiteral("记录数");
    r.groupHint = text("GroupHints").trimmed();
    r.filter = PrepareFilter(text("sFilter"), ctx.user.name, ctx.clock.today());
    r.grouping = PrepareGrouping(ctx.ini, r.title, text("GroupText"), flag("GroupCoding"), flag("GroupRecn"));
    r.pageCount = qMax(1, rec.value("PageCount").toInt());
    r.formStyle = rec.value("FormStyle").toInt();
    r.pageField = text("PageField");
    r.pageCaption = text("PageCaption");
    r.shortCut = flag("ShortCut");
    r.externalTable = flag("ExtTable");
    r.layoutCacheName = QStringLiteral("Dyna%1.dat").arg(id);
    if (!ctx.db.state().sqlServerMode) {
        r.outsideUser = text("UserName");
        r.outsidePassword = fromStoredPassword(text("Passwd"));
        r.outsideAlias = r.externalTable ? text("DatabasAlias") : QString();
    }
    r.exeFileName = text("ExeFileName").trimmed();
    return r;
}

void DropStatisticsTables(TDModule &db)
{
    for (int i = 0; i <= 10; ++i) {
        const QString name = QStringLiteral("tjtmp%1").arg(i);
        if (db.tableExists(name))
            Query::run(db, "DROP TABLE " + db.dialect().quoteIdent(name));
    }
}

QStringList DataTableNames(TDModule &db)
{
    QStringList out;
    for (const QString &t : db.tableNames()) {
        if (!IsCatalogTable(t))
            out << t;
    }
    return out;
}

} // namespace vek
