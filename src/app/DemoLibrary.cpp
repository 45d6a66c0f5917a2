#include "DemoLibrary.h"

#include "catalog/Catalog.h"
#include "catalog/LibraryFile.h"
#include "dictionary/DemoDictionary.h"
#include "platform/Csv.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "security/UserAccounts.h"

#include <QDate>
#include <QFile>

#include <cstdint>

namespace vek {

namespace {

// One demo source: the header, then the rows, each read by column name.
class Source {
public:
    explicit Source(const QString &name)
    {
        QFile f(":/demo/" + name);
        if (!f.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("演示数据缺失: %1").arg(name));
        m_rows = Csv::parse(QString::fromUtf8(f.readAll()));
        if (m_rows.isEmpty())
            throw DbError(QStringLiteral("演示数据为空: %1").arg(name));
        m_header = m_rows.takeFirst();
        m_name = name;
    }
    int size() const { return int(m_rows.size()); }
    QString at(int row, const QString &column) const
    {
        const int i = m_header.indexOf(column);
        if (i < 0)
            throw DbError(QStringLiteral("演示数据 %1 缺少列: %2").arg(m_name, column));
        return m_rows[row].value(i);
    }

private:
    QString m_name;
    QStringList m_header;
    QList<QStringList> m_rows;
};

struct Column {
    const char *name;
    enum class Kind { Text, Date, Float, Integer } kind;
    QString type; // DDL type; empty for varchar(20)
};

// Creates the table (the first column is the primary key) and prepares insert for one
// row, its values bound as :HostV0, :HostV1, ... in column order.
void defineTable(TDModule &db, const QString &table, const QList<Column> &columns, Query &insert)
{
    const SqlDialect &d = db.dialect();
    QStringList defs, names, params;
    for (const Column &c : columns) {
        const QString name = QString::fromUtf8(c.name);
        QString type = c.type;
        if (type.isEmpty())
            type = c.kind == Column::Kind::Date      ? d.dateType()
                   : c.kind == Column::Kind::Float   ? d.floatType()
                   : c.kind == Column::Kind::Integer ? d.integerType()
                                                     : QStringLiteral("varchar(20)");
        defs << d.quoteIdent(name) + ' ' + type + (names.isEmpty() ? " PRIMARY KEY" : "");
        params << QStringLiteral(":HostV%1").arg(names.size());
        names << d.quoteIdent(name);
    }
    Query::run(db, "CREATE TABLE " + d.quoteIdent(table) + " (" + defs.join(", ") + ")");
    insert.prepare("INSERT INTO " + d.quoteIdent(table) + " (" + names.join(", ") + ") VALUES (" + params.join(", ") + ")");
}

QString param(int i)
{
    return QStringLiteral(":HostV%1").arg(i);
}

// A table with the given columns filled from a source.
void createTable(TDModule &db, const QString &table, const QList<Column> &columns, const QString &sourceName)
{
    Query insert(db);
    defineTable(db, table, columns, insert);
    const Source src(sourceName);
    QStringList params;
    for (int i = 0; i < columns.size(); ++i)
        params << param(i);
    for (int r = 0; r < src.size(); ++r) {
        for (int i = 0; i < columns.size(); ++i) {
            const QString v = src.at(r, QString::fromUtf8(columns[i].name));
            switch (columns[i].kind) {
            case Column::Kind::Text:
                insert.bind(params[i], v);
                break;
            case Column::Kind::Date:
                insert.bind(params[i], QDate::fromString(v, Qt::ISODate));
                break;
            case Column::Kind::Float:
                insert.bind(params[i], v.toDouble());
                break;
            case Column::Kind::Integer:
                insert.bind(params[i], v.toInt());
                break;
            }
        }
        insert.exec();
    }
}

void createResources(TDModule &db)
{
    const Source src("resources.csv");
    const QStringList text = {"parent", "child", "AppTitle", "FirstTable", "FirstFieldlist", "Flag", "ExeFileName",
                              "Description", "sFilter", "GroupText", "GroupHints", "RecordHints", "QueryField",
                              "DDLSQL", "DDLHint"};
    const QStringList flags = {"ShareFlag", "GroupRecn", "GroupCoding"};
    QStringList params;
    for (const QString &name : text + flags)
        params << ':' + name;
    Query insert(db);
    insert.prepare("INSERT INTO usys_system (" + (text + flags).join(", ")
                   + ", dispID, OrderID, UserName, CreatePerson, Owner, CreateDate, CountFlag, ExtTable) VALUES ("
                   + params.join(", ") + ", :dispID, 0, :HostUser, :HostUser, :HostUser, :HostNow, :HostFalse, "
                                         ":HostFalse)");
    for (int r = 0; r < src.size(); ++r) {
        for (const QString &name : text)
            insert.bind(':' + name, src.at(r, name));
        for (const QString &name : flags)
            insert.bind(':' + name, src.at(r, name) == "1");
        insert.bind(":dispID", src.at(r, "dispID").toInt())
            .bind(":HostUser", QStringLiteral("admin"))
            .bind(":HostNow", QDateTime::currentDateTime())
            .bind(":HostFalse", false)
            .exec();
    }
}

// 成绩流水: generated score rows over the demo students, the same on every run (a fixed
// linear congruential sequence), so the demo shows how a large table behaves.
void createScoreLog(TDModule &db)
{
    using K = Column::Kind;
    Query insert(db);
    defineTable(db, QStringLiteral("成绩流水"),
                {{"流水号", K::Integer}, {"学号", K::Text, "varchar(10)"}, {"姓名", K::Text},
                 {"科目", K::Text, "varchar(10)"}, {"成绩", K::Float}, {"考试日期", K::Date}},
                insert);
    QStringList ids, names;
    {
        Query q(db, "SELECT " + db.dialect().quoteIdent("编号") + ", " + db.dialect().quoteIdent("姓名") + " FROM "
                        + db.dialect().quoteIdent("学生档案") + " ORDER BY 1");
        while (q.next()) {
            ids << q.value(0).toString();
            names << q.value(1).toString();
        }
    }
    if (ids.isEmpty())
        throw DbError(QStringLiteral("演示数据缺少学生"));
    const QStringList subjects = {"语文", "数学", "英语", "物理", "历史", "地理"};
    const QDate firstDay(2024, 9, 1);
    const int days = int(firstDay.daysTo(QDate(2026, 12, 11))) + 1;
    std::uint32_t seed = 20261211;
    auto next = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int i = 1; i <= DemoScoreRows; ++i) {
        const int s = int(next(std::uint32_t(ids.size())));
        // A student's level plus the day's form: scores from 40.0 to 100.0.
        const int tenths = qMin(1000, 400 + (s * 37) % 300 + int(next(301)));
        insert.bind(param(0), i)
            .bind(param(1), ids[s])
            .bind(param(2), names[s])
            .bind(param(3), subjects[int(next(std::uint32_t(subjects.size())))])
            .bind(param(4), tenths / 10.0)
            .bind(param(5), firstDay.addDays(next(std::uint32_t(days))))
            .exec();
    }
}

void createUsers(TDModule &db)
{
    const Source src("users.csv");
    UserAccounts accounts(db);
    for (int r = 0; r < src.size(); ++r) {
        const QString uid = src.at(r, "uid");
        if (!accounts.userExists(uid)) {
            Query::run(db, "INSERT INTO usys_Users (uid, ulevel, ugroup, descrip) VALUES (:HostUid, :HostLevel, :HostGroup, :HostDescrip)",
                       {{":HostUid", uid}, {":HostLevel", src.at(r, "ulevel")}, {":HostGroup", src.at(r, "ugroup")},
                        {":HostDescrip", src.at(r, "descrip")}});
        }
        accounts.setPassword(uid, src.at(r, "password"));
        const QString group = src.at(r, "ugroup");
        if (!group.isEmpty()
            && Query::scalar(db, "SELECT count(*) FROM usys_usergroup WHERE GroupName = :HostGroup", {{":HostGroup", group}}).toInt() == 0)
            Query::run(db, "INSERT INTO usys_usergroup (GroupName) VALUES (:HostGroup)", {{":HostGroup", group}});
    }
}

void createRights(TDModule &db)
{
    const Source src("rights.csv");
    const QStringList flags = {"browseRight", "updateRight", "addRight", "deleteRight", "printRight", "exportRight"};
    for (int r = 0; r < src.size(); ++r) {
        const QVariant id = Query::scalar(db, "SELECT id FROM usys_system WHERE AppTitle = :HostTitle",
                                          {{":HostTitle", src.at(r, "AppTitle")}});
        if (!id.isValid())
            throw DbError(QStringLiteral("演示权限指向不存在的资源: %1").arg(src.at(r, "AppTitle")));
        Query q(db);
        q.prepare("INSERT INTO usys_displist (Appid, UserID, " + flags.join(", ") + ") VALUES (:HostId, :HostUser, "
                  ":f0, :f1, :f2, :f3, :f4, :f5)");
        q.bind(":HostId", id).bind(":HostUser", src.at(r, "UserID"));
        for (int i = 0; i < flags.size(); ++i)
            q.bind(QStringLiteral(":f%1").arg(i), src.at(r, flags[i]) == "1");
        q.exec();
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
        using K = Column::Kind;
        createTable(db, QStringLiteral("学生档案"),
                    {{"编号", K::Text, "varchar(10)"}, {"姓名", K::Text}, {"性别", K::Text, "varchar(2)"},
                     {"出生日期", K::Date}, {"班级", K::Text}, {"入学成绩", K::Float},
                     {"当前状态", K::Text, "varchar(10)"}, {"个人主页", K::Text, "varchar(100)"}},
                    "students.csv");
        createTable(db, QStringLiteral("教师"),
                    {{"工号", K::Text, "varchar(10)"}, {"姓名", K::Text}, {"性别", K::Text, "varchar(2)"},
                     {"任教学科", K::Text}, {"电话", K::Text}},
                    "teachers.csv");
        createTable(db, QStringLiteral("班级管理"),
                    {{"班级编号", K::Text, "varchar(4)"}, {"班级名称", K::Text}, {"年级", K::Text, "varchar(10)"},
                     {"班主任", K::Text}, {"教室", K::Text}},
                    "classes.csv");
        createScoreLog(db);
        AddDemoDictionary(db);
        createResources(db);
        createUsers(db);
        createRights(db);
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

void WriteDemoSettings(IniFile &ini)
{
    const QString section = QStringLiteral("学生档案");
    // Columns the user configured himself stay as they are.
    if (ini.contains(section, "CalcFieldCount") || ini.contains(section, "CalcField0"))
        return;
    if (ini.setValue(section, "CalcField0", QStringLiteral("年龄:now-出生日期")))
        ini.setInt(section, "CalcFieldCount", 1);
}

} // namespace vek
