#pragma once

#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "security/RightsRecord.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <optional>

namespace vek::test {

// A library with the full catalog, plus helpers that write catalog rows the way the
// rest of the system stores them.
class RightsFixture : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        CreateFullCatalog(db());
    }

    int addResource(const QString &title, const QString &table, const QString &flag, const QString &owner,
                    bool shared, const QString &fieldList = {}, const QString &exeFile = {})
    {
        Query q(db(),
                "INSERT INTO usys_system (AppTitle, FirstTable, Flag, Owner, ShareFlag, FirstFieldlist, "
                "ExeFileName, parent, child) VALUES (:t, :ft, :f, :o, :s, :fl, :exe, '0', :t) RETURNING id",
                {{":t", title},
                 {":ft", table},
                 {":f", flag},
                 {":o", owner},
                 {":s", shared},
                 {":fl", fieldList.isEmpty() ? QVariant() : QVariant(fieldList)},
                 {":exe", exeFile}});
        q.next();
        return q.value(0).toInt();
    }

    void addUser(const QString &uid, const QString &level, const QString &group = {})
    {
        Query::run(db(), "INSERT INTO usys_Users (uid, ulevel, pwd, ugroup) VALUES (:u, :l, '', :g)",
                   {{":u", uid}, {":l", level}, {":g", group}});
    }

    void grant(int appId, const QString &uid, const RightsRecord &r)
    {
        Query::run(db(),
                   "INSERT INTO usys_displist (Appid, UserID, browseRight, updateRight, addRight, deleteRight, "
                   "printRight, exportRight) VALUES (:a, :u, :b, :w, :ad, :d, :p, :e)",
                   {{":a", appId}, {":u", uid}, {":b", r.browse}, {":w", r.update}, {":ad", r.add},
                    {":d", r.remove}, {":p", r.print}, {":e", r.exportData}});
    }

    void grantField(int appId, const QString &uid, const QString &field, bool read, bool write)
    {
        Query::run(db(),
                   "INSERT INTO usys_dispfield (Uid, TableID, FieldName, ReadRight, WriteRight) "
                   "VALUES (:u, :a, :f, :r, :w)",
                   {{":u", uid}, {":a", appId}, {":f", field}, {":r", read}, {":w", write}});
    }

    // Every stored resource rights row as "appid/user/browse update add delete print export".
    QStringList rightsRows()
    {
        QStringList out;
        Query q(db(), "SELECT Appid, UserID, browseRight, updateRight, addRight, deleteRight, printRight, "
                      "exportRight FROM usys_displist");
        while (q.next()) {
            QString flags;
            for (int i = 2; i < 8; ++i)
                flags += q.value(i).toBool() ? '1' : '0';
            out << QString("%1/%2/%3").arg(q.value(0).toInt()).arg(q.value(1).toString(), flags);
        }
        out.sort();
        return out;
    }

    QStringList fieldRows()
    {
        QStringList out;
        Query q(db(), "SELECT TableID, Uid, FieldName, ReadRight, WriteRight FROM usys_dispfield");
        while (q.next())
            out << QString("%1/%2/%3/%4%5")
                       .arg(q.value(0).toInt())
                       .arg(q.value(1).toString(), q.value(2).toString())
                       .arg(q.value(3).toBool() ? 'r' : '-')
                       .arg(q.value(4).toBool() ? 'w' : '-');
        out.sort();
        return out;
    }

    static CurrentUser user(const QString &name, int level)
    {
        CurrentUser u;
        u.name = name;
        u.level = level;
        return u;
    }

    // One letter per granted right: b browse, a add, u update, d delete, p print, e export.
    static RightsRecord rights(const char *flags)
    {
        const QString f = QString::fromLatin1(flags);
        RightsRecord r;
        r.browse = f.contains('b');
        r.add = f.contains('a');
        r.update = f.contains('u');
        r.remove = f.contains('d');
        r.print = f.contains('p');
        r.exportData = f.contains('e');
        return r;
    }
};

} // namespace vek::test

namespace vek {
inline void PrintTo(const RightsRecord &r, std::ostream *os)
{
    *os << "{add " << r.add << " delete " << r.remove << " browse " << r.browse << " update " << r.update
        << " print " << r.print << " export " << r.exportData << "}";
}
} // namespace vek
