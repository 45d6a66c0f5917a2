#include "DemoLibrary.h"

#include "catalog/Catalog.h"
#include "catalog/LibraryFile.h"
#include "dictionary/DemoDictionary.h"
#include "platform/Csv.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "security/UserAccounts.h"

#include <QDate>
#include <QFile>

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
    enum class Kind { Text, Date, Float } kind;
    QString type; // DDL type; empty for varchar(20)
};

// A table with the given columns (the first is the primary key) filled from a source.
void createTable(TDModule &db, const QString &table, const QList<Column> &columns, const QString &sourceName)
{
    const SqlDialect &d = db.dialect();
    QStringList defs, names, params;
    for (const Column &c : columns) {
        const QString name = QString::fromUtf8(c.name);
        QString type = c.type;
        if (type.isEmpty())
            type = c.kind == Column::Kind::Date ? d.dateType() : c.kind == Column::Kind::Float ? d.floatType() : "varchar(20)";
        defs << d.quoteIdent(name) + ' ' + type + (names.isEmpty() ? " PRIMARY KEY" : "");
        params << QStringLiteral(":HostV%1").arg(names.size());
        names << d.quoteIdent(name);
    }
    Query::run(db, "CREATE TABLE " + d.quoteIdent(table) + " (" + defs.join(", ") + ")");
    const Source src(sourceName);
    Query insert(db);
    insert.prepare("INSERT INTO " + d.quoteIdent(table) + " (" + names.join(", ") + ") VALUES (" + params.join(", ") + ")");
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
            }
        }
        insert.exec();
    }
}

void createResources(TDModule &db)
{
    const Source src("resources.csv");
    const QStringList text = {"parent", "child", "AppTitle", "FirstTable", "FirstFieldlist", "Flag",
                              "ExeFileName", "Description"};
    Query insert(db);
    insert.prepare("INSERT INTO usys_system (parent, child, AppTitle, FirstTable, FirstFieldlist, Flag, "
                   "ExeFileName, Description, dispID, ShareFlag, OrderID, UserName, CreatePerson, Owner, "
                   "CreateDate, CountFlag, GroupRecn, GroupCoding, ExtTable) VALUES (:parent, :child, :AppTitle, "
                   ":FirstTable, :FirstFieldlist, :Flag, :ExeFileName, :Description, :dispID, :ShareFlag, 0, "
                   ":HostUser, :HostUser, :HostUser, :HostNow, :HostFalse, :HostFalse, :HostFalse, :HostFalse)");
    for (int r = 0; r < src.size(); ++r) {
        for (const QString &name : text)
            insert.bind(':' + name, src.at(r, name));
        insert.bind(":dispID", src.at(r, "dispID").toInt())
            .bind(":ShareFlag", src.at(r, "ShareFlag") == "1")
            .bind(":HostUser", QStringLiteral("admin"))
            .bind(":HostNow", QDateTime::currentDateTime())
            .bind(":HostFalse", false)
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
                     {"出生日期", K::Date}, {"班级", K::Text}, {"入学成绩", K::Float}},
                    "students.csv");
        createTable(db, QStringLiteral("教师"),
                    {{"工号", K::Text, "varchar(10)"}, {"姓名", K::Text}, {"性别", K::Text, "varchar(2)"},
                     {"任教学科", K::Text}, {"电话", K::Text}},
                    "teachers.csv");
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

} // namespace vek
