#include "ResourceTreeOps.h"

#include "IncrementCode.h"
#include "platform/AppContext.h"
#include "platform/AppPaths.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QDateTime>
#include <QDir>
#include <QSet>
#include <algorithm>

namespace vek {

namespace {

const QString kNewDirectoryTitle = QStringLiteral("新目录");

int insertReturningId(TDModule &db, const QString &sql, Binds binds)
{
    Query q(db, sql + db.dialect().returning(QStringLiteral("id")), binds);
    if (!q.next())
        throw DbError(QStringLiteral("新记录没有标识"), sql);
    return q.value(0).toInt();
}

bool isFormOrGridPicture(int picture)
{
    return picture == Picture::DataForm || picture == Picture::Grid;
}

} // namespace

ResourceTreeOps::ResourceTreeOps(AppContext &ctx, LogWriter log)
    : m_ctx(ctx), m_log(std::move(log)), m_programDir(AppPaths::programDir())
{
}

bool ResourceTreeOps::allowed() const
{
    return m_ctx.user.level == 0 && m_ctx.db.isOpen();
}

template <typename F>
OpResult ResourceTreeOps::guarded(F &&f)
{
    if (!allowed())
        return OpResult{OpStatus::NotAllowed};
    try {
        return f();
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return OpResult{OpStatus::Failed};
    }
}

QString ResourceTreeOps::resolve(const QString &stored) const
{
    return m_resolve ? m_resolve(stored) : AppPaths::resolveStoredPath(stored);
}

bool ResourceTreeOps::titleTaken(const QString &title, int exceptId)
{
    return Query::scalar(m_ctx.db,
                         "SELECT count(*) FROM usys_system WHERE id <> :HostIndex AND "
                             + m_ctx.db.dialect().ciEquals(QStringLiteral("AppTitle"), QStringLiteral(":HostTitle")),
                         {{":HostIndex", exceptId}, {":HostTitle", title}})
               .toInt()
        > 0;
}

QString ResourceTreeOps::containerCode(const NodeRef &selected)
{
    if (!selected.isValid())
        return QStringLiteral("0");
    bool found = false;
    const ResourceRow row = ResourceTree::readRow(m_ctx.db, selected.resourceId, &found);
    if (!found)
        return QStringLiteral("0");
    if (selected.isFormChild())
        return row.parent;
    if (row.isDirectory())
        return row.child;
    return isFormOrGridPicture(TreePictureOf(row, m_resolve)) ? row.parent : row.child;
}

OpResult ResourceTreeOps::insertDirectory(const QString &parentCode)
{
    Transaction tx(m_ctx.db);
    OpResult r{OpStatus::Done};
    r.code = NextTreeCode(m_ctx.db);
    r.parentCode = parentCode;
    r.title = kNewDirectoryTitle;
    r.picture = Picture::Directory;
    r.id = insertReturningId(m_ctx.db,
                             QStringLiteral("INSERT INTO usys_system (parent, child, AppTitle, dispID) "
                                            "VALUES (:HostParendid, :hostcurrentid, :hostdesc, :hostdispid)"),
                             {{":HostParendid", parentCode},
                              {":hostcurrentid", r.code},
                              {":hostdesc", kNewDirectoryTitle},
                              {":hostdispid", 0}});
    tx.commit();
    return r;
}

OpResult ResourceTreeOps::newMainDirectory()
{
    return guarded([&] { return insertDirectory(QStringLiteral("0")); });
}

OpResult ResourceTreeOps::newSubDirectory(const NodeRef &selected)
{
    return guarded([&] { return insertDirectory(containerCode(selected)); });
}

OpResult ResourceTreeOps::rename(const NodeRef &node, const QString &newTitle)
{
    return guarded([&]() -> OpResult {
        const QString title = newTitle.trimmed();
        if (node.isFormChild() || !node.isValid() || title.isEmpty())
            return OpResult{OpStatus::Refused};
        bool found = false;
        const ResourceRow row = ResourceTree::readRow(m_ctx.db, node.id, &found);
        if (!found)
            return OpResult{OpStatus::Refused};
        OpResult r{OpStatus::Done, row.id};
        r.title = title;
        if (title == row.title)
            return r;
        TDModule &db = m_ctx.db;
        if (!row.isDirectory() && titleTaken(title, row.id)) {
            m_ctx.prompter.error(QStringLiteral("应用已经存在,修改错误!"));
            return OpResult{OpStatus::Refused};
        }
        Transaction tx(db);
        Query::run(db, QStringLiteral("UPDATE usys_system SET AppTitle = :hostcaption WHERE id = :HostIndex"),
                   {{":hostcaption", title}, {":HostIndex", row.id}});
        if (!row.isDirectory()) {
            // The title is the key of the resource's dictionary rows and templates.
            const SqlDialect &d = db.dialect();
            const struct {
                const char *table;
                const char *column;
            } dependants[] = {{"usys_dict", "TableName"}, {"usys_dotab", "AppName"}, {"usys_xlstab", "AppName"}};
            for (const auto &dep : dependants) {
                const QString table = QString::fromLatin1(dep.table);
                const QString column = QString::fromLatin1(dep.column);
                if (!db.tableExists(table))
                    continue;
                Query::run(db,
                           "UPDATE " + table + " SET " + column + " = :HostNewTitle WHERE "
                               + d.ciEquals(column, QStringLiteral(":HostOldTitle")),
                           {{":HostNewTitle", title}, {":HostOldTitle", row.title}});
            }
        }
        tx.commit();
        return r;
    });
}

OpResult ResourceTreeOps::remove(const NodeRef &node)
{
    return guarded([&]() -> OpResult {
        // The children of a data form are views of the form, not rows of their own.
        if (node.isFormChild() || !node.isValid())
            return OpResult{OpStatus::Refused};
        TDModule &db = m_ctx.db;
        bool found = false;
        const ResourceRow row = ResourceTree::readRow(db, node.id, &found);
        if (!found)
            return OpResult{OpStatus::Refused};
        // Any row hanging below would be lost from the tree, a data form's included.
        const int below = Query::scalar(db,
                                        QStringLiteral("SELECT count(*) FROM usys_system "
                                                       "WHERE parent = :HostCode AND id <> :HostIndex"),
                                        {{":HostCode", row.child}, {":HostIndex", row.id}})
                              .toInt();
        if (below > 0 && !row.child.isEmpty()) {
            m_ctx.prompter.error(QStringLiteral("该结点包含子结点，请先删除其子结点后，再对其进行删除！"));
            return OpResult{OpStatus::Refused};
        }
        const int picture = TreePictureOf(row, m_resolve);
        QString question;
        if (picture == Picture::Directory || picture == Picture::DirectoryAlt) {
            question = "是否确定要删除:[" + row.title + "]?";
        } else {
            const QString kind = picture == Picture::Grid ? QStringLiteral("数据表格") : QStringLiteral("数据窗体");
            question = "是否确定要删除" + kind + ":[" + row.title + "]?";
        }
        if (m_ctx.prompter.question(Prompter::systemCaption(), question, Prompter::Buttons::YesNo,
                                    Prompter::Icon::Question)
            != Prompter::Answer::Yes)
            return OpResult{OpStatus::Declined};
        Transaction tx(db);
        if (m_log)
            m_log(QStringLiteral("删除"), row.title);
        Query::run(db, QStringLiteral("DELETE FROM usys_system WHERE id = :HostIndex"), {{":HostIndex", row.id}});
        tx.commit();
        OpResult r{OpStatus::Done, row.id};
        r.title = row.title;
        return r;
    });
}

OpResult ResourceTreeOps::move(const NodeRef &dragged, const NodeRef &target)
{
    return guarded([&]() -> OpResult {
        const OpResult refused{OpStatus::Refused};
        if (!dragged.isValid() || !target.isValid() || dragged.isFormChild() || target.isFormChild())
            return refused;
        TDModule &db = m_ctx.db;
        const QList<ResourceRow> rows = ResourceTree::readRows(db);
        const ResourceRow *from = nullptr, *to = nullptr;
        QMultiHash<QString, const ResourceRow *> byCode;
        for (const ResourceRow &r : rows) {
            if (r.id == dragged.id)
                from = &r;
            if (r.id == target.id)
                to = &r;
            byCode.insert(r.child, &r);
        }
        if (!from || !to || from == to || to->child == from->parent)
            return refused;
        if (TreePictureOf(*to, m_resolve) != Picture::Directory)
            return refused;
        // A data form's own rows stay with the form.
        for (const ResourceRow *p : byCode.values(from->parent)) {
            if (TreePictureOf(*p, m_resolve) == Picture::DataForm)
                return refused;
        }
        // The target must not lie below the dragged node (nor be a copy of its code).
        QList<QString> pending{to->child};
        QSet<QString> seen;
        while (!pending.isEmpty()) {
            const QString code = pending.takeLast();
            if (code == from->child)
                return refused;
            if (code == QLatin1String("0") || seen.contains(code))
                continue;
            seen.insert(code);
            for (const ResourceRow *r : byCode.values(code))
                pending.append(r->parent);
        }
        if (m_ctx.prompter.question(QStringLiteral("确认信息"), QStringLiteral("是否确认要移动该节点?"),
                                    Prompter::Buttons::YesNo, Prompter::Icon::Question)
            != Prompter::Answer::Yes)
            return OpResult{OpStatus::Declined};
        Query::run(db, QStringLiteral("UPDATE usys_system SET parent = :hostparentid WHERE id = :HostIndex"),
                   {{":hostparentid", to->child}, {":HostIndex", from->id}});
        OpResult r{OpStatus::Done, from->id};
        r.parentCode = to->child;
        r.title = from->title;
        return r;
    });
}

QList<SiblingEntry> ResourceTreeOps::siblings(const NodeRef &node, QString *parentCode)
{
    QList<SiblingEntry> out;
    if (!allowed() || !node.isValid() || node.isFormChild())
        return out;
    try {
        bool found = false;
        const ResourceRow row = ResourceTree::readRow(m_ctx.db, node.id, &found);
        if (!found)
            return out;
        if (parentCode)
            *parentCode = row.parent;
        QList<ResourceRow> rows;
        for (const ResourceRow &r : ResourceTree::readRows(m_ctx.db)) {
            if (r.parent == row.parent)
                rows.append(r);
        }
        std::sort(rows.begin(), rows.end(), DisplayOrderBefore);
        for (const ResourceRow &r : rows)
            out.append(SiblingEntry{r.id, r.title});
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        out.clear();
    }
    return out;
}

OpResult ResourceTreeOps::saveOrder(const QString &parentCode, const QList<SiblingEntry> &entries)
{
    return guarded([&]() -> OpResult {
        // By title, as the order list shows titles: siblings that share a title share
        // the position written last. Rows of other directories are left alone.
        Transaction tx(m_ctx.db);
        for (int i = 0; i < entries.size(); ++i) {
            Query::run(m_ctx.db,
                       QStringLiteral("UPDATE usys_system SET dispID = :HostID "
                                      "WHERE AppTitle = :HostApptitle AND parent = :HostParent"),
                       {{":HostID", i}, {":HostApptitle", entries[i].title}, {":HostParent", parentCode}});
        }
        tx.commit();
        return OpResult{OpStatus::Done};
    });
}

bool ResourceTreeOps::isExternalEntryAcceptable(const QString &title, const QString &address,
                                                const std::function<QString(const QString &)> &resolve)
{
    const QString a = address.trimmed();
    // A resource without a title could be found by nothing, so every entry needs one.
    if (title.trimmed().isEmpty() || a.isEmpty())
        return false;
    if (a.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
        || a.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || a.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return true;
    return !(resolve ? resolve(a) : AppPaths::resolveStoredPath(a)).isEmpty();
}

QString ResourceTreeOps::storedPath(const QString &path) const
{
    const QString p = path.trimmed();
    if (m_programDir.isEmpty())
        return p;
    QString dir = QDir::fromNativeSeparators(m_programDir);
    if (!dir.endsWith('/'))
        dir += '/';
    const QString normal = QDir::fromNativeSeparators(p);
    if (normal.toUpper().startsWith(dir.toUpper()) && normal.size() > dir.size())
        return normal.mid(dir.size());
    return p;
}

OpResult ResourceTreeOps::addExternal(const NodeRef &selected, const QString &title, const QString &address)
{
    return guarded([&]() -> OpResult {
        const QString t = title.trimmed();
        if (!isExternalEntryAcceptable(t, address, m_resolve))
            return OpResult{OpStatus::Refused};
        TDModule &db = m_ctx.db;
        if (titleTaken(t, 0)) {
            m_ctx.prompter.warning(QStringLiteral("已存在相同应用程序名,请检查!"));
            return OpResult{OpStatus::Refused};
        }
        Transaction tx(db);
        OpResult r{OpStatus::Done};
        r.parentCode = containerCode(selected);
        r.code = NextTreeCode(db);
        r.title = t;
        const QString stored = storedPath(address);
        r.id = insertReturningId(db,
                                 QStringLiteral("INSERT INTO usys_system (AppTitle, ExeFileName, Owner, Flag, OrderID, "
                                                "parent, child) VALUES (:Apptitle, :ExeFileName, :owner, :flag, "
                                                ":HostID, :parent, :child)"),
                                 {{":Apptitle", t},
                                  {":ExeFileName", stored},
                                  {":owner", m_ctx.user.name},
                                  {":flag", QStringLiteral("2")},
                                  {":HostID", 0},
                                  {":parent", r.parentCode},
                                  {":child", r.code}});
        tx.commit();
        ResourceRow row;
        row.flag = QStringLiteral("2");
        row.exeFileName = stored;
        r.picture = TreePictureOf(row, m_resolve);
        return r;
    });
}

OpResult ResourceTreeOps::editExternal(const NodeRef &node, const QString &address)
{
    return guarded([&]() -> OpResult {
        if (!node.isValid() || node.isFormChild())
            return OpResult{OpStatus::Refused};
        bool found = false;
        ResourceRow row = ResourceTree::readRow(m_ctx.db, node.id, &found);
        if (!found || row.flag != QLatin1String("2") || !isExternalEntryAcceptable(row.title, address, m_resolve))
            return OpResult{OpStatus::Refused};
        row.exeFileName = storedPath(address);
        Query::run(m_ctx.db, QStringLiteral("UPDATE usys_system SET ExeFileName = :hostfilename WHERE id = :HostIndex"),
                   {{":hostfilename", row.exeFileName}, {":HostIndex", row.id}});
        OpResult r{OpStatus::Done, row.id};
        r.title = row.title;
        r.picture = TreePictureOf(row, m_resolve);
        return r;
    });
}

OpResult ResourceTreeOps::setIconIndex(const QString &title, int index)
{
    return guarded([&]() -> OpResult {
        if (index < 0 || index >= kOutlookPictureCount)
            return OpResult{OpStatus::Refused};
        // By title: a button and a group of the same title share their picture.
        Query::run(m_ctx.db,
                   "UPDATE usys_system SET IconIndex = :Index WHERE "
                       + m_ctx.db.dialect().ciEquals(QStringLiteral("AppTitle"), QStringLiteral(":Apptitle")),
                   {{":Index", index}, {":Apptitle", title}});
        OpResult r{OpStatus::Done};
        r.title = title;
        r.picture = index;
        return r;
    });
}

std::optional<ResourceProperties> ResourceTreeOps::properties(const NodeRef &node)
{
    if (!node.isValid() || node.kind == NodeKind::Directory)
        return std::nullopt;
    try {
        Query q(m_ctx.db,
                QStringLiteral("SELECT id, AppTitle, Owner, FirstTable, ExeFileName, DatabasAlias, CreatePerson, "
                               "Description, ShareFlag, CreateDate FROM usys_system WHERE id = :HostIndex"),
                {{":HostIndex", node.resourceId}});
        if (!q.next())
            return std::nullopt;
        ResourceProperties p;
        p.id = q.value(0).toInt();
        p.title = q.value(1).toString();
        p.owner = q.value(2).toString();
        p.firstTable = q.value(3).toString();
        p.exeFileName = q.value(4).toString();
        p.databasAlias = q.value(5).toString();
        p.createPerson = q.value(6).toString();
        p.description = q.value(7).toString();
        p.shareFlag = q.value(8).toBool();
        const QVariant created = q.value(9);
        QDateTime dt = created.toDateTime();
        if (!dt.isValid())
            dt = QDateTime::fromString(created.toString().left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid())
            dt = QDateTime(QDate::fromString(created.toString().left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
        p.createDate = created.isNull() || !dt.isValid() ? QStringLiteral("未知") : dt.date().toString("yyyy-MM-dd");
        return p;
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return std::nullopt;
    }
}

} // namespace vek
