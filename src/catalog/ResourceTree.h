#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace vek {

struct AppContext;
class TDModule;

// The columns of one usys_system row that the tree needs.
struct ResourceRow {
    int id = 0;
    QString parent;
    QString child;
    QString title;
    QString firstTable;
    QString flag;
    QString exeFileName;
    QString owner;
    bool shareFlag = false;
    QVariant iconIndex; // null when not set
    QVariant dispId;

    bool isDirectory() const { return firstTable.isEmpty() && flag.isEmpty(); }
};

// Pictures of the tree's image list. Numbers from FirstFilePicture on are the icons of
// the external files named by the rows (ResourceTreeModel::filePictures).
namespace Picture {
enum : int {
    Directory = 0, DataForm = 1, Module = 2, Grid = 3, DirectoryAlt = 4, Statistics = 5, List = 6,
    CodeTable = 7, Web = 8, FileMissing = 9, FirstFilePicture = 10
};
}

// Pictures of the outlook bar's button and group image lists: 0 .. count-1.
constexpr int kOutlookPictureCount = 32;

enum class NodeKind {
    Directory,
    Untyped,   // Flag empty with a FirstTable: drawn like a directory, walked as a resource
    DataForm,  // Flag "0"
    Grid,      // Flag "1"
    External,  // Flag "2"
    Module,    // Flag "3"
    FormGrid, FormCodeTable, FormList, FormStatistics // the children of a data form
};

// What the windows keep of a node to hand back to the operations.
struct NodeRef {
    int id = 0;         // usys_system id; 0 for the children of a data form
    int resourceId = 0; // id, or the data form's id for its children
    QString title;
    int picture = 0;
    NodeKind kind = NodeKind::Directory;

    bool isFormChild() const { return id == 0 && resourceId != 0; }
    bool isValid() const { return resourceId != 0; }
};

struct TreeNode {
    NodeRef ref;
    QString parent; // codes of the row (empty for the children of a data form)
    QString child;
    QString exeFileName;
    QList<TreeNode> children;
};

struct OutlookButton {
    int id = 0;
    QString title;
    int picture = 0;     // outlook image list (IconIndex)
    int treePicture = 0; // the tree's picture of the resource
    int tag = 0;         // -1 for external resources
};

struct OutlookGroup {
    int id = 0; // the directory's id; 0 for "分组目录" and "系统管理"
    QString title;
    int picture = 0;
    bool open = false;
    bool system = false;
    QList<OutlookButton> buttons;
};

// One entry of the resource menu between the fixed leading and trailing items.
struct MenuEntry {
    QString name;        // "Menu" + child code; empty for the entries of a data form's submenu
    QString title;
    QString accelerator; // top-level entries only: letter or number, without "(&" ")"
    int picture = 0;
    int id = 0;          // resource to open; 0 for directories and submenus
    QList<MenuEntry> children;

    bool opens() const { return id != 0 && children.isEmpty(); }
    QString caption() const { return accelerator.isEmpty() ? title : title + "(&" + accelerator + ")"; }
};

// The three views of the tree, without any widget.
struct ResourceTreeModel {
    QList<TreeNode> roots;
    QList<OutlookGroup> groups; // resource groups, then "系统管理"
    QList<MenuEntry> menu;      // top-level entries after "文件(&F)" and "编辑(&E)"
    QStringList shownTitles;    // titles of shown resources whose picture is not 0
    QStringList filePictures;   // picture FirstFilePicture + i is the icon of file i
    int style = 0;              // Outlook/style: 0 Outlook, 1 2000, 2 XP
    int outlookPreset = 2;
};

struct DataFormExtras {
    bool lookupFields = false;     // HasLookupFields
    bool choiceLists = false;      // HasChoiceLists
    bool statisticsFields = false; // HasStatisticsFields
};

using ResourceVisibility = std::function<bool(const ResourceRow &)>;
using DataFormExtrasLookup = std::function<DataFormExtras(const QString &title)>;

// Where the walk takes what other parts of the system decide. Every empty member falls
// back to the catalog default below.
struct ResourceTreeSources {
    ResourceVisibility visible;
    DataFormExtrasLookup extras;
    std::function<bool()> hasReminders;                  // "事件提醒" shown; default false
    std::function<QString(const QString &stored)> resolveFile; // existing file or empty
};

// Visibility by the catalog: directories always; the owner (case ignored), system users,
// a rights row (usys_displist) with browse or update right; without a rights row the
// shared flag decides.
bool IsResourceVisibleByCatalog(AppContext &ctx, const ResourceRow &row);
// The data form's extras from the field dictionary rows whose TableName is title.
DataFormExtras DataFormExtrasByCatalog(TDModule &db, const QString &title);

// External resource addresses that are web pages (picture 8).
bool IsWebAddress(const QString &address);
// The tree picture of a row. An external file that exists gets FirstFilePicture (the
// walk numbers them); resolveFile empty means the stored-path rules of AppPaths.
int TreePictureOf(const ResourceRow &row, const std::function<QString(const QString &)> &resolveFile = {});
NodeKind KindOf(const ResourceRow &row);

// Accelerator of top-level resource menu item index (0-based, counting the two leading
// items) in a menu of count top-level items; empty for the first two.
QString MenuAccelerator(int index, int count);

// Order of siblings: by dispID, the walk and the order list alike.
bool DisplayOrderBefore(const ResourceRow &a, const ResourceRow &b);

// Outlook preset of a stored style: 1 -> 9, 2 -> 10, else 2.
int OutlookPresetOfStyle(int style);

class ResourceTree {
public:
    // All rows of usys_system. Throws DbError.
    static QList<ResourceRow> readRows(TDModule &db);
    static ResourceRow readRow(TDModule &db, int id, bool *found = nullptr);

    // One walk from parent code "0" into the three views.
    static ResourceTreeModel build(AppContext &ctx, const ResourceTreeSources &sources = {});
};

} // namespace vek
