#include "ResourceTree.h"

#include "Catalog.h"
#include "platform/AppContext.h"
#include "platform/AppPaths.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace vek {

namespace {

const QString kSelectRow = QStringLiteral(
    "SELECT id, parent, child, AppTitle, FirstTable, Flag, ExeFileName, Owner, ShareFlag, IconIndex, dispID "
    "FROM usys_system");

ResourceRow rowFrom(Query &q)
{
    ResourceRow r;
    r.id = q.value(0).toInt();
    r.parent = q.value(1).toString().trimmed();
    r.child = q.value(2).toString().trimmed();
    r.title = q.value(3).toString();
    r.firstTable = q.value(4).toString().trimmed();
    r.flag = q.value(5).toString().trimmed();
    r.exeFileName = q.value(6).toString().trimmed();
    r.owner = q.value(7).toString();
    r.shareFlag = q.value(8).toBool();
    r.iconIndex = q.value(9);
    r.dispId = q.value(10);
    return r;
}

int outlookPicture(const QVariant &iconIndex)
{
    if (iconIndex.isNull())
        return 0;
    bool ok = false;
    const int n = iconIndex.toInt(&ok);
    return ok && n >= 0 && n < kOutlookPictureCount ? n : 1;
}

struct SystemItem {
    const char *caption;
    int picture;
};

const SystemItem kSystemItems[] = {
    {"事件提醒", 18}, {"用户管理", 30}, {"更改口令", 31}, {"在线用户", 22}, {"操作日志", 17}, {"信息发布", 8},
    {"历史消息", 9},  {"背景音乐", 25}, {"设置音乐", 14}, {"重新登录", 19}, {"锁定应用", 29}, {"退出应用", 27},
};

class Walker {
public:
    Walker(AppContext &ctx, const ResourceTreeSources &src, ResourceTreeModel &model)
        : m_ctx(ctx), m_src(src), m_model(model)
    {
    }

    void run(const QList<ResourceRow> &rows)
    {
        m_rows = rows;
        for (const ResourceRow &r : std::as_const(m_rows)) {
            m_byParent[r.parent].append(&r);
            const QString key = r.title.toLower();
            auto it = m_iconByTitle.find(key);
            if (it == m_iconByTitle.end() || it->first > r.id)
                m_iconByTitle.insert(key, {r.id, r.iconIndex});
        }
        for (auto &list : m_byParent)
            std::sort(list.begin(), list.end(), [](const ResourceRow *a, const ResourceRow *b) {
                return DisplayOrderBefore(*a, *b);
            });
        walk(QStringLiteral("0"), m_model.roots, m_model.menu);
    }

private:
    // The icon of the first row carrying this title; a title without a row reads as 1.
    int iconOfTitle(const QString &title) const
    {
        auto it = m_iconByTitle.find(title.toLower());
        return it == m_iconByTitle.end() ? 1 : outlookPicture(it->second);
    }

    bool visible(const ResourceRow &r) const
    {
        return m_src.visible ? m_src.visible(r) : IsResourceVisibleByCatalog(m_ctx, r);
    }

    DataFormExtras extras(const QString &title) const
    {
        return m_src.extras ? m_src.extras(title) : DataFormExtrasByCatalog(m_ctx.db, title);
    }

    OutlookGroup &currentGroup()
    {
        if (m_model.groups.isEmpty()) {
            OutlookGroup g;
            g.title = QStringLiteral("分组目录");
            g.open = true;
            m_model.groups.append(g);
        }
        return m_model.groups.last();
    }

    void walk(const QString &code, QList<TreeNode> &tree, QList<MenuEntry> &menu)
    {
        // Each code is walked once: duplicate codes or a parent loop cannot recurse forever.
        if (m_walked.contains(code))
            return;
        m_walked.insert(code);
        for (const ResourceRow *r : m_byParent.value(code)) {
            if (r->isDirectory())
                addDirectory(*r, tree, menu);
            else
                addResource(*r, tree, menu);
        }
    }

    void addDirectory(const ResourceRow &r, QList<TreeNode> &tree, QList<MenuEntry> &menu)
    {
        TreeNode node = nodeOf(r, NodeKind::Directory, Picture::Directory);
        OutlookGroup g;
        g.id = r.id;
        g.title = r.title;
        g.picture = iconOfTitle(r.title);
        g.open = m_model.groups.isEmpty();
        m_model.groups.append(g);
        MenuEntry entry{QStringLiteral("Menu") + r.child, r.title, {}, Picture::Directory, 0, {}};
        walk(r.child, node.children, entry.children);
        tree.append(node);
        menu.append(entry);
    }

    void addResource(const ResourceRow &r, QList<TreeNode> &tree, QList<MenuEntry> &menu)
    {
        if (!visible(r)) {
            // Rows may hang under a hidden resource; they stay where the resource would be.
            walk(r.child, tree, menu);
            return;
        }
        int picture = TreePictureOf(r, m_src.resolveFile);
        if (picture == Picture::FirstFilePicture) {
            picture = Picture::FirstFilePicture + int(m_model.filePictures.size());
            m_model.filePictures.append(resolve(r.exeFileName));
        }
        TreeNode node = nodeOf(r, KindOf(r), picture);
        MenuEntry entry{QStringLiteral("Menu") + r.child, r.title, {}, picture, r.id, {}};

        OutlookButton b;
        b.id = r.id;
        b.title = r.title;
        b.picture = iconOfTitle(r.title);
        b.treePicture = picture;
        b.tag = r.flag == QLatin1String("2") ? -1 : 0;
        currentGroup().buttons.append(b);

        if (picture != Picture::Directory)
            m_model.shownTitles.append(r.title);

        if (r.flag == QLatin1String("0"))
            addFormChildren(r, node, entry);
        walk(r.child, node.children, entry.children);
        tree.append(node);
        menu.append(entry);
    }

    void addFormChildren(const ResourceRow &r, TreeNode &node, MenuEntry &entry)
    {
        const DataFormExtras x = extras(r.title);
        struct Child {
            NodeKind kind;
            QString title;
            int picture;
        };
        QList<Child> children{{NodeKind::FormGrid, r.title, Picture::Grid}};
        if (x.lookupFields)
            children.append({NodeKind::FormCodeTable, r.title + QStringLiteral("代码表"), Picture::CodeTable});
        if (x.choiceLists)
            children.append({NodeKind::FormList, r.title + QStringLiteral("列表"), Picture::List});
        if (x.statisticsFields)
            children.append({NodeKind::FormStatistics, r.title + QStringLiteral("统计"), Picture::Statistics});

        for (const Child &c : children) {
            TreeNode n;
            n.ref = NodeRef{0, r.id, c.title, c.picture, c.kind};
            node.children.append(n);
        }
        // The menu item becomes a submenu: the grid, the form itself, then the extras.
        entry.picture = Picture::Directory;
        entry.children.append(MenuEntry{{}, r.title, {}, Picture::Grid, r.id, {}});
        entry.children.append(MenuEntry{{}, r.title, {}, Picture::DataForm, r.id, {}});
        for (qsizetype i = 1; i < children.size(); ++i)
            entry.children.append(MenuEntry{{}, children[i].title, {}, children[i].picture, r.id, {}});
    }

    TreeNode nodeOf(const ResourceRow &r, NodeKind kind, int picture) const
    {
        TreeNode n;
        n.ref = NodeRef{r.id, r.id, r.title, picture, kind};
        n.parent = r.parent;
        n.child = r.child;
        n.exeFileName = r.exeFileName;
        return n;
    }

    QString resolve(const QString &stored) const
    {
        return m_src.resolveFile ? m_src.resolveFile(stored) : AppPaths::resolveStoredPath(stored);
    }

    AppContext &m_ctx;
    const ResourceTreeSources &m_src;
    ResourceTreeModel &m_model;
    QList<ResourceRow> m_rows;
    QHash<QString, QList<const ResourceRow *>> m_byParent;
    QHash<QString, std::pair<int, QVariant>> m_iconByTitle;
    QSet<QString> m_walked;
};

} // namespace

bool IsResourceVisibleByCatalog(AppContext &ctx, const ResourceRow &row)
{
    if (row.isDirectory())
        return true;
    const QString owner = row.owner.trimmed();
    if (!owner.isEmpty() && owner.compare(ctx.user.name.trimmed(), Qt::CaseInsensitive) == 0)
        return true;
    if (ctx.user.level == 0)
        return true;
    TDModule &db = ctx.db;
    bool hasRightsRow = false;
    bool allowed = false;
    try {
        Query q(db,
                "SELECT browseRight, updateRight FROM usys_displist WHERE Appid = :HostId AND "
                    + db.dialect().ciEquals(QStringLiteral("trim(UserID)"), QStringLiteral(":HostUser")),
                {{":HostId", row.id}, {":HostUser", ctx.user.name.trimmed()}});
        while (q.next()) {
            hasRightsRow = true;
            allowed = allowed || q.value(0).toBool() || q.value(1).toBool();
        }
    } catch (const DbError &) {
        // Only a table the schema says is absent is made again; then there is no row.
        if (db.tableExists(QStringLiteral("usys_displist")))
            throw;
        CreateCatalogTable(db, CatalogTable::DispList);
    }
    return hasRightsRow ? allowed : row.shareFlag;
}

DataFormExtras DataFormExtrasByCatalog(TDModule &db, const QString &title)
{
    DataFormExtras x;
    if (!db.tableExists(QStringLiteral("usys_dict")))
        return x;
    const SqlDialect &d = db.dialect();
    Query q(db,
            "SELECT FromTable, " + d.quoteIdent(QStringLiteral("Range")) + ", CountFlag FROM usys_dict WHERE "
                + d.ciEquals(QStringLiteral("TableName"), QStringLiteral(":HostTitle")),
            {{":HostTitle", title}});
    while (q.next()) {
        x.lookupFields = x.lookupFields || !q.value(0).toString().trimmed().isEmpty();
        x.choiceLists = x.choiceLists || !q.value(1).toString().trimmed().isEmpty();
        x.statisticsFields = x.statisticsFields || q.value(2).toBool();
    }
    return x;
}

bool IsWebAddress(const QString &address)
{
    const QString a = address.trimmed();
    if (a.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || a.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)
        || a.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return true;
    const QString upper = a.toUpper();
    return upper.endsWith(QLatin1String(".HTM")) || upper.endsWith(QLatin1String(".HTML"))
        || upper.endsWith(QLatin1String(".MHT"));
}

NodeKind KindOf(const ResourceRow &row)
{
    if (row.isDirectory())
        return NodeKind::Directory;
    if (row.flag == QLatin1String("0"))
        return NodeKind::DataForm;
    if (row.flag == QLatin1String("1"))
        return NodeKind::Grid;
    if (row.flag == QLatin1String("2"))
        return NodeKind::External;
    if (row.flag == QLatin1String("3"))
        return NodeKind::Module;
    return NodeKind::Untyped;
}

int TreePictureOf(const ResourceRow &row, const std::function<QString(const QString &)> &resolveFile)
{
    switch (KindOf(row)) {
    case NodeKind::DataForm:
        return row.firstTable.isEmpty() ? Picture::Directory : Picture::DataForm;
    case NodeKind::Grid:
        return row.firstTable.isEmpty() ? Picture::Directory : Picture::Grid;
    case NodeKind::Module:
        return Picture::Module;
    case NodeKind::External: {
        if (IsWebAddress(row.exeFileName))
            return Picture::Web;
        const QString found = row.exeFileName.isEmpty() ? QString()
            : resolveFile                                ? resolveFile(row.exeFileName)
                                                         : AppPaths::resolveStoredPath(row.exeFileName);
        return found.isEmpty() ? Picture::FileMissing : Picture::FirstFilePicture;
    }
    default:
        return Picture::Directory;
    }
}

QString MenuAccelerator(int index, int count)
{
    if (index < 2)
        return {};
    if (index >= 26)
        return QString::number(index - 25);
    int c = std::max(89 - count, 65);
    auto skip = [&c] {
        while (c == 'E' || c == 'H')
            ++c;
    };
    skip();
    for (int k = 2; k < index; ++k) {
        ++c;
        skip();
    }
    return QString(QChar(c));
}

bool DisplayOrderBefore(const ResourceRow &a, const ResourceRow &b)
{
    // Rows without a dispID come first, as the original engines sort NULL; equal
    // positions keep the order of creation.
    const bool an = a.dispId.isNull(), bn = b.dispId.isNull();
    if (an != bn)
        return an;
    if (!an && a.dispId.toInt() != b.dispId.toInt())
        return a.dispId.toInt() < b.dispId.toInt();
    return a.id < b.id;
}

int OutlookPresetOfStyle(int style)
{
    return style == 1 ? 9 : style == 2 ? 10 : 2;
}

QList<ResourceRow> ResourceTree::readRows(TDModule &db)
{
    QList<ResourceRow> rows;
    Query q(db, kSelectRow);
    while (q.next())
        rows.append(rowFrom(q));
    return rows;
}

ResourceRow ResourceTree::readRow(TDModule &db, int id, bool *found)
{
    Query q(db, kSelectRow + QStringLiteral(" WHERE id = :HostIndex"), {{":HostIndex", id}});
    const bool ok = q.next();
    if (found)
        *found = ok;
    return ok ? rowFrom(q) : ResourceRow{};
}

ResourceTreeModel ResourceTree::build(AppContext &ctx, const ResourceTreeSources &sources)
{
    ResourceTreeModel model;
    int style = ctx.ini.intValue(QStringLiteral("Outlook"), QStringLiteral("style"), 0);
    if (style != 1 && style != 2)
        style = 0;
    model.style = style;
    model.outlookPreset = OutlookPresetOfStyle(style);

    Walker(ctx, sources, model).run(readRows(ctx.db));

    OutlookGroup sys;
    sys.title = QStringLiteral("系统管理");
    sys.picture = 1;
    sys.system = true;
    const bool reminders = sources.hasReminders && sources.hasReminders();
    for (const SystemItem &item : kSystemItems) {
        const QString caption = QString::fromUtf8(item.caption);
        if (caption == QStringLiteral("事件提醒") && !reminders)
            continue;
        sys.buttons.append(OutlookButton{0, caption, item.picture, 0, 0});
    }
    model.groups.append(sys);

    const int count = int(model.menu.size()) + 2;
    for (int i = 0; i < model.menu.size(); ++i)
        model.menu[i].accelerator = MenuAccelerator(i + 2, count);
    return model;
}

} // namespace vek
