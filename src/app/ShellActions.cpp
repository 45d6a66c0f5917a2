#include "ShellActions.h"

namespace vek {

namespace {

using N = ActionNeed;

// Every action of the shell, in the order the menus first use them.
const QList<ShellActionDef> kActions = {
    // File
    {"actNewLibrary", "新建资源库", "Ctrl+N", N::NoLibrary, true},
    {"actNewForm", "新建窗体(&N)", "", N::LibrarySystem, false},
    {"actNewGridApp", "表格应用(&G)", "", N::LibrarySystem, false},
    {"actNewExternal", "外部应用(&E)", "", N::LibrarySystem, true},
    {"actOpen", "打开(&O)", "", N::NoLibrary, true},
    {"actCloseLibrary", "关闭(&Q)", "", N::Library, true},
    {"actFormList", "窗体列表(&R)", "", N::Always, true},
    {"actMenuManage", "菜单管理(&T)", "", N::Always, true},
    {"actConnectDatabase", "连接数据库(&X)...", "", N::Always, true},
    {"actNetworkApp", "打开或建立网络应用(&W)...", "", N::Always, true},
    {"actPrintSetup", "打印设置(&S)...", "", N::Always, false},
    {"actPrintPreview", "打印预览(&V)...", "", N::Library, false},
    {"actPrint", "打印(&P)...", "", N::Library, false},
    {"actImportTable", "导入数据表(&Y)", "", N::LibrarySystem, false},
    {"actExport", "数据导出(&E)...", "", N::Library, false},
    {"actAppend", "数据追加(&A)", "", N::Library, false},
    {"actInsertData", "数据插入(&I)", "", N::Library, false},
    {"actBackColor", "背景颜色(&C)...", "", N::Always, false},
    {"actSetBackPicture", "设置背景图片(&S)", "", N::Always, false},
    {"actRemoveBackPicture", "移去背景图片(&M)", "", N::Always, false},
    {"actDesktopPicture", "使用Windows背景图片(&U)", "", N::Always, false},
    {"actChooseMusic", "选择背景音乐(&Z)", "", N::Always, false},
    {"actPlayMusic", "播放背景音乐(&X)", "Ctrl+O", N::Always, false},
    {"actStopMusic", "关闭背景音乐(&Y)", "Ctrl+M", N::Always, false},
    {"actLock", "锁定应用(&L)...", "Ctrl+Alt+L", N::Library, true},
    {"actRelogin", "重新登录(&M)", "", N::Library, true},
    {"actExit", "退出(&Z)", "Ctrl+Alt+X", N::Always, true},
    // Edit
    {"actCut", "剪切(&X)", "Ctrl+X", N::Always, true},
    {"actCopy", "复制(&C)", "Ctrl+C", N::Always, true},
    {"actPaste", "粘贴(&P)", "Ctrl+V", N::Always, true},
    {"actUndo", "撤消(&U)", "Ctrl+Z", N::Always, true},
    {"actFirst", "第一条记录(&Z)", "", N::Library, false},
    {"actPrior", "上一条记录(&Y)", "", N::Library, false},
    {"actNext", "下一条记录(&X)", "", N::Library, false},
    {"actLast", "最后一条记录(&W)", "", N::Library, false},
    {"actEdit", "编辑(&Z)", "", N::Library, false},
    {"actAddRecord", "增加记录(&A)", "", N::Editing, false},
    {"actInsertRecord", "插入记录(&I)", "", N::Library, false},
    {"actDeleteRecord", "删除记录(&V)...", "", N::Editing, false},
    {"actDeleteSelected", "删除选择行(&M)", "", N::Editing, false},
    {"actAddCopy", "添加复制(&O)", "", N::Editing, false},
    {"actInsertCopy", "插入复制(&D)", "", N::Editing, false},
    {"actMultiCopy", "多行复制添加(&T)", "", N::Editing, false},
    {"actClearRecords", "清空记录(&N)", "", N::Editing, false},
    {"actRefresh", "刷新(&R)", "", N::Library, false},
    {"actFind", "查找(&W)", "", N::Library, false},
    {"actReplace", "替换(&O)", "", N::Editing, false},
    {"actInsertDate", "插入日期(&E)", "", N::Always, true},
    {"actInsertTime", "插入时间(&T)", "", N::Always, true},
    {"actInsertSymbol", "插入符号(&L)...", "", N::Always, false},
    {"actInsertFile", "插入文件(&M)...", "", N::Always, true},
    {"actOpenLink", "打开链接(&K)", "", N::Library, true},
    {"actCodeMaintain", "代码维护(&I)...", "", N::Library, false},
    {"actListMaintain", "数据列表维护(&N)...", "", N::Library, false},
    {"actTableState", "表状态(&J)", "", N::Library, false},
    // System
    {"actUserManage", "用户管理(&U)...", "", N::LibrarySystem, false},
    {"actChangePassword", "更改密码(&C)...", "", N::Library, true},
    {"actSysSet", "系统设置(&S)...", "", N::LibrarySystem, true},
    {"actDataTables", "数据表(&Z)", "", N::LibrarySystem, true},
    {"actDictionary", "数据字典(&D)...", "", N::LibrarySystem, false},
    {"actTemplates", "模板定义(&M)...", "", N::LibrarySystem, false},
    {"actOnlineUsers", "在线用户(&N)...", "", N::LibrarySystem, false},
    {"actLog", "操作日志(&G)...", "", N::LibrarySystem, false},
    {"actPublish", "信息发布(&P)...", "", N::Library, false},
    {"actHistory", "历史信息(&H)...", "", N::Library, false},
    {"actViewMessages", "信息查看(&V)...", "", N::Library, false},
    // View
    {"actStatistics", "统计(&P)", "", N::Library, false},
    {"actQuery", "查询(&O)", "", N::Library, false},
    {"actDuplicates", "数据查重(&M)", "", N::Library, false},
    {"actShowDuplicates", "重复记录显示(&T)", "", N::Library, false},
    {"actStatResult", "统计结果(&R)", "", N::Library, false},
    {"actFilterFind", "筛选与查找(&Q)", "", N::Library, false},
    {"actRecordRights", "记录授权(&N)", "", N::Library, false},
    {"actRecordShare", "记录共享(&W)", "", N::Library, false},
    {"actGroupView", "分组显示(&Z)", "", N::Library, false},
    // Window
    {"actCloseWindow", "关闭(&R)", "", N::Always, true},
    {"actCascade", "层铺(&A)", "", N::Always, true},
    {"actTile", "平铺(&H)", "", N::Always, true},
    {"actTileVertical", "垂直(&T)", "", N::Always, true},
    {"actMinimizeAll", "最小化(&M)", "", N::Always, true},
    {"actArrange", "排列(&Z)", "", N::Always, true},
    {"actHideMain", "隐藏主窗口(&U)", "", N::Always, true},
    {"actShowMain", "显示主窗口(&D)", "", N::Always, true},
    {"actStatusBar", "状态栏(&X)", "", N::Always, true},
    {"actWelcome", "导航页面(&W)", "", N::Always, false},
    {"actDockTop", "上边(&V)", "", N::Always, true},
    {"actDockBottom", "下边(&U)", "", N::Always, true},
    {"actDockLeft", "左边(&X)", "", N::Always, true},
    {"actDockRight", "右边(&W)", "", N::Always, true},
    {"actShowToolBar", "显示工具栏", "", N::Always, true},
    {"actHideToolBar", "隐藏工具栏", "", N::Always, true},
    // Help
    {"actHelp", "帮助(&H)", "", N::Always, false},
    {"actSupport", "技术支持(&T)", "", N::Always, true},
    {"actBrowser", "浏览器(&Z)", "", N::Always, false},
    {"actAbout", "关于(&A)", "", N::Always, true},
    // Tool bar only
    {"actWord", "Word", "", N::Always, false},
    {"actExcel", "Excel", "", N::Always, false},
    {"actDateTime", "日期/时间", "", N::Always, false},
    {"actCalculator", "计算器", "", N::Always, false},
    // Grid tool bar
    {"actStatList", "统计列表", "", N::Library, false},
    {"actCancelEdit", "取消", "", N::Editing, false},
    {"actEnterMode", "回车方式", "", N::Library, false},
    {"actChoices", "可选值", "", N::Library, false},
    {"actGridSettings", "表格设置", "", N::Library, false},
    {"actTableView", "表格视图", "", N::Library, false},
    {"actCarry", "携带", "", N::Editing, false},
    {"actMasterDetail", "主子表", "", N::LibrarySystem, false},
    {"actTipOfDay", "每日一帖(&E)", "", N::Library, false},
    // Resource tree maintenance
    {"actNewMainDir", "新建主目录", "", N::LibrarySystem, true},
    {"actNewSubDir", "新建目录", "", N::LibrarySystem, true},
    {"actRenameNode", "编辑结点名称", "", N::LibrarySystem, true},
    {"actDeleteNode", "删除", "", N::LibrarySystem, true},
    {"actOrderNodes", "调整顺序...", "", N::LibrarySystem, true},
    {"actEditExternal", "编辑外部应用...", "", N::LibrarySystem, true},
    {"actProperties", "属性(&P)...", "", N::Library, true},
    {"actRefreshTree", "刷新", "", N::Library, true},
    {"actExpandTree", "展开", "", N::Library, true},
    {"actCollapseTree", "折叠", "", N::Library, true},
};

} // namespace

const QList<ShellActionDef> &ShellActionDefs()
{
    return kActions;
}

const ShellActionDef *FindShellAction(const QString &name)
{
    for (const ShellActionDef &d : kActions) {
        if (name == QLatin1String(d.name))
            return &d;
    }
    return nullptr;
}

bool ShellActionEnabled(const ShellActionDef &def, const ShellConditions &c)
{
    if (!def.built)
        return false;
    switch (def.need) {
    case ActionNeed::Always:
        return true;
    case ActionNeed::NoLibrary:
        return !c.libraryOpen;
    case ActionNeed::Library:
        return c.libraryOpen;
    case ActionNeed::LibrarySystem:
        return c.libraryOpen && !c.browseMode && c.userLevel == 0;
    case ActionNeed::Editing:
        return c.libraryOpen && c.editing;
    }
    return false;
}

} // namespace vek
