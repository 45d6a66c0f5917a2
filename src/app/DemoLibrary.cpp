#include "DemoLibrary.h"

#include "catalog/Catalog.h"
#include "catalog/LibraryFile.h"
#include "platform/Csv.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QDate>
#include <QFile>

namespace vek {

namespace {

QList<QStringList> readSource(const QString &name)
{
    QFile f(":/demo/" + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("演示数据缺失: %1").arg(name));
    QList<QStringList> rows = Csv::parse(QString::fromUtf8(f.readAll()));
    if (rows.isEmpty())
        throw DbError(QStringLiteral("演示数据为空: %1").arg(name));
    return rows;
}

// Column index by header name, so the sources may add columns.
int column(const QStringList &header, const QString &name)
{
    const int i = header.indexOf(name);
    if (i < 0)
        throw DbError(QStringLiteral("演示数据缺少列: %1").arg(name));
    return i;
}

void createStudents(TDModule &db)
{
    const SqlDialect &d = db.dialect();
    const QString table = d.quoteIdent(QStringLiteral("学生档案"));
    Query::run(db, "CREATE TABLE " + table + " (" + d.quoteIdent("编号") + " varchar(10) PRIMARY KEY, "
                       + d.quoteIdent("姓名") + " varchar(20), " + d.quoteIdent("性别") + " varchar(2), "
                       + d.quoteIdent("出生日期") + ' ' + d.dateType() + ", " + d.quoteIdent("班级")
                       + " varchar(20), " + d.quoteIdent("入学成绩") + ' ' + d.floatType() + ")");
    const QList<QStringList> rows = readSource("students.csv");
    const QStringList &h = rows.first();
    const int cId = column(h, "编号"), cName = column(h, "姓名"), cSex = column(h, "性别"),
              cBirth = column(h, "出生日期"), cClass = column(h, "班级"), cScore = column(h, "入学成绩");
    Query insert(db);
    insert.prepare("INSERT INTO " + table + " VALUES (:HostId, :HostName, :HostSex, :HostBirth, :HostClass, :HostScore)");
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        if (row.size() < h.size())
            continue;
        insert.bind(":HostId", row[cId])
            .bind(":HostName", row[cName])
            .bind(":HostSex", row[cSex])
            .bind(":HostBirth", QDate::fromString(row[cBirth], Qt::ISODate))
            .bind(":HostClass", row[cClass])
            .bind(":HostScore", row[cScore].toDouble())
            .exec();
    }
}

void createResources(TDModule &db)
{
    const QList<QStringList> rows = readSource("resources.csv");
    const QStringList &h = rows.first();
    const QStringList text = {"parent", "child", "AppTitle", "FirstTable", "FirstFieldlist", "Flag",
                              "ExeFileName", "Description"};
    Query insert(db);
    insert.prepare("INSERT INTO usys_system (parent, child, AppTitle, FirstTable, FirstFieldlist, Flag, "
                   "ExeFileName, Description, dispID, ShareFlag, OrderID, UserName, CreatePerson, Owner, "
                   "CreateDate, CountFlag, GroupRecn, GroupCoding, ExtTable) VALUES (:parent, :child, :AppTitle, "
                   ":FirstTable, :FirstFieldlist, :Flag, :ExeFileName, :Description, :dispID, :ShareFlag, 0, "
                   ":HostUser, :HostUser, :HostUser, :HostNow, :HostFalse, :HostFalse, :HostFalse, :HostFalse)");
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        for (const QString &name : text)
            insert.bind(':' + name, row.value(column(h, name)));
        insert.bind(":dispID", row.value(column(h, "dispID")).toInt())
            .bind(":ShareFlag", row.value(column(h, "ShareFlag")) == "1")
            .bind(":HostUser", QStringLiteral("admin"))
            .bind(":HostNow", QDateTime::currentDateTime())
            .bind(":HostFalse", false)
            .exec();
    }
}

} // namespace

bool MakeDemoLibrary(const QString &path, Prompter &prompter)
{
    TDModule db;
    const QString created = CreateLibrary(db, path, prompter);
    if (created.isEmpty())
        return false;
    try {
        Transaction tx(db);
        createStudents(db);
        createResources(db);
        WriteAppTitle(db, QStringLiteral("育英学校信息管理"));
        tx.commit();
    } catch (const DbError &e) {
        db.close();
        QFile::remove(created);
        prompter.error(QStringLiteral("演示资源库创建失败: ") + e.message());
        return false;
    }
    return true;
}

} // namespace vek
