#pragma once

#include "ResourceTree.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace vek {

struct AppContext;

enum class OpStatus {
    Done,
    NotAllowed, // the current user is not a system user (or no library is open)
    Refused,    // the rules forbid it; any message has been shown
    Declined,   // the user answered No
    Failed      // a database error, shown to the user
};

struct OpResult {
    OpResult() = default;
    OpResult(OpStatus s, int rowId = 0) : status(s), id(rowId) {}

    OpStatus status = OpStatus::Failed;
    int id = 0;         // the new or changed row
    QString code;       // child code of a new row
    QString parentCode; // parent code of a new or moved row
    QString title;      // title as stored
    int picture = 0;    // tree picture of a new row

    bool ok() const { return status == OpStatus::Done; }
};

struct SiblingEntry {
    int id = 0;
    QString title;
};

// What the properties window receives for a resource.
struct ResourceProperties {
    int id = 0;
    QString title;
    QString owner;
    QString firstTable;
    QString exeFileName;
    QString databasAlias;
    QString createPerson;
    QString description;
    bool shareFlag = false;
    QString createDate; // yyyy-MM-dd, or "未知"
};

// The maintenance operations of the resource tree. Each checks on its own that the
// current user is a system user, whatever route called it, and reports database errors
// through the prompter.
class ResourceTreeOps {
public:
    using LogWriter = std::function<void(const QString &kind, const QString &title)>;

    explicit ResourceTreeOps(AppContext &ctx, LogWriter log = {});

    void setLogWriter(LogWriter log) { m_log = std::move(log); }
    // Folder whose prefix is left off the stored paths of external files.
    void setProgramDir(const QString &dir) { m_programDir = dir; }
    void setFileResolver(std::function<QString(const QString &)> resolve) { m_resolve = std::move(resolve); }

    // "新建主目录" and "新建目录": a row titled "新目录".
    OpResult newMainDirectory();
    OpResult newSubDirectory(const NodeRef &selected);
    // "编辑结点名称": a resource's new title is carried to its dictionary rows and
    // templates in one transaction.
    OpResult rename(const NodeRef &node, const QString &newTitle);
    // "删除": refuses nodes with child rows, asks, logs and removes the row only.
    OpResult remove(const NodeRef &node);
    // Drag and drop: moves dragged under the directory target after asking.
    OpResult move(const NodeRef &dragged, const NodeRef &target);

    // "调整顺序...": the rows beside node, in display order, and their parent code.
    QList<SiblingEntry> siblings(const NodeRef &node, QString *parentCode = nullptr);
    // Stores list position i as dispID of the siblings titled entries[i].title.
    OpResult saveOrder(const QString &parentCode, const QList<SiblingEntry> &entries);

    // "外部应用(&E)..." and "编辑外部应用...".
    static bool isExternalEntryAcceptable(const QString &title, const QString &address,
                                          const std::function<QString(const QString &)> &resolve = {});
    OpResult addExternal(const NodeRef &selected, const QString &title, const QString &address);
    OpResult editExternal(const NodeRef &node, const QString &address);

    // Icon menus: the picture of every row with that title.
    OpResult setIconIndex(const QString &title, int index);

    // "属性(&P)...": the values of a resource node (directories give nothing).
    std::optional<ResourceProperties> properties(const NodeRef &node);

    // Code of the row a new directory or external resource goes under: the selected
    // directory, the directory of a selected data form or grid, "0" without a selection.
    QString containerCode(const NodeRef &selected);

private:
    bool allowed() const;
    template <typename F>
    OpResult guarded(F &&f);
    OpResult insertDirectory(const QString &parentCode);
    QString storedPath(const QString &path) const;
    QString resolve(const QString &stored) const;
    bool titleTaken(const QString &title, int exceptId);

    AppContext &m_ctx;
    LogWriter m_log;
    QString m_programDir;
    std::function<QString(const QString &)> m_resolve;
};

} // namespace vek
