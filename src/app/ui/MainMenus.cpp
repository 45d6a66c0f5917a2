#include "MainMenus.h"

#include "app/ShellActions.h"
#include "platform/ui/Icons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <vector>

namespace vek {

namespace {

// A menu entry: an action by name, a separator ("-"), or a submenu with a caption.
struct Entry {
    const char *name;
    const char *caption = nullptr;
    std::vector<Entry> sub = {};
};

const Entry kSep{"-"};

const std::vector<Entry> kMenuBar = {
    {"menuFile", "文件(&F)",
     {{"", "新建(&N)", {{"actNewForm"}, {"actNewGridApp"}, {"actNewExternal"}}},
      {"actOpen"}, {"actCloseLibrary"}, kSep, {"actFormList"}, {"actMenuManage"}, kSep,
      {"actConnectDatabase"}, {"actNetworkApp"}, kSep, {"actPrintSetup"}, {"actPrintPreview"}, {"actPrint"}, kSep,
      {"actImportTable"}, {"actExport"}, {"", "数据导入(&I)", {{"actAppend"}, {"actInsertData"}}},
      {"", "背景(&B)",
       {{"actBackColor"}, {"actSetBackPicture"}, {"actRemoveBackPicture"}, {"actDesktopPicture"}, kSep,
        {"actChooseMusic"}, {"actPlayMusic"}, {"actStopMusic"}}},
      kSep, {"actLock"}, {"actRelogin"}, kSep, {"actExit"}}},
    {"menuEdit", "编辑(&E)",
     {{"actCut"}, {"actCopy"}, {"actPaste"}, {"actUndo"}, kSep,
      {"", "定位(&0)", {{"actFirst"}, {"actPrior"}, {"actNext"}, {"actLast"}}},
      {"", "记录维护(&8)",
       {{"actEdit"}, {"actAddRecord"}, {"actInsertRecord"}, {"actDeleteRecord"}, {"actDeleteSelected"},
        {"actAddCopy"}, {"actInsertCopy"}, {"actMultiCopy"}, {"actClearRecords"}, {"actRefresh"}}},
      kSep, {"actFind"}, {"actReplace"}, kSep, {"actInsertDate"}, {"actInsertTime"}, {"actInsertSymbol"},
      {"actInsertFile"}, {"actOpenLink"}, kSep,
      {"", "代码及数据列表维护(&V)", {{"actCodeMaintain"}, {"actListMaintain"}}}, {"actTableState"}}},
    {"menuSystem", "系统(&S)",
     {{"actUserManage"}, {"actChangePassword"}, {"actSysSet"}, kSep, {"actDataTables"}, {"actDictionary"},
      {"actTemplates"}, kSep, {"actOnlineUsers"}, {"actLog"}, kSep, {"actPublish"}, {"actHistory"},
      {"actViewMessages"}}},
    {"menuView", "查看(&V)",
     {{"actStatistics"}, {"actQuery"}, {"actDuplicates"}, {"actShowDuplicates"}, {"actStatResult"},
      {"actFilterFind"}, kSep, {"actRecordRights"}, {"actRecordShare"}, kSep, {"actGroupView"}}},
    {"menuWindow", "窗口(&W)",
     {{"actCloseWindow"}, kSep, {"actCascade"}, {"actTile"}, {"actTileVertical"}, {"actMinimizeAll"},
      {"actArrange"}, {"actHideMain"}, {"actStatusBar"}, {"actWelcome"},
      {"", "工具栏(&Y)", {{"actDockTop"}, {"actDockBottom"}, {"actDockLeft"}, {"actDockRight"}}}}},
    {"menuHelp", "帮助(&H)", {{"actHelp"}, {"actSupport"}, {"actBrowser"}, kSep, {"actAbout"}}},
};

const std::vector<const char *> kToolBar = {
    "actNewLibrary", "actOpen", "actFormList", "actMenuManage", "-", "actCut", "actCopy", "actPaste", "actUndo",
    "-", "actPrintSetup", "actWord", "actExcel", "actInsertDate", "actInsertTime", "actInsertFile",
    "actOpenLink", "actInsertSymbol", "-", "actRelogin", "actLock", "actSupport", "actBrowser", "actDateTime",
    "actCalculator"};

const std::vector<const char *> kGridToolBar = {
    "actEdit", "actStatList", "actFind", "actReplace", "actQuery", "actFilterFind", "actDuplicates",
    "actGroupView", "actAddRecord", "actDeleteRecord", "actCancelEdit", "actRefresh", "actFirst", "actPrior",
    "actNext", "actLast", "actEnterMode", "actChoices", "actGridSettings", "actPrintPreview", "actTableView",
    "actCloseWindow"};

// Tool-bar pictures: a glyph and a colour per action.
struct Picture {
    const char *name, *glyph;
    QRgb color;
};
const Picture kPictures[] = {
    {"actNewLibrary", "新", 0x2b6cb0}, {"actOpen", "开", 0x2f855a}, {"actFormList", "列", 0x6b46c1},
    {"actMenuManage", "菜", 0x805ad5}, {"actCut", "剪", 0x718096}, {"actCopy", "复", 0x718096},
    {"actPaste", "贴", 0x718096},      {"actUndo", "撤", 0x718096}, {"actPrintSetup", "印", 0x4a5568},
    {"actWord", "W", 0x2b579a},        {"actExcel", "X", 0x217346}, {"actInsertDate", "日", 0xc05621},
    {"actInsertTime", "时", 0xc05621}, {"actInsertFile", "档", 0xb7791f}, {"actOpenLink", "链", 0x3182ce},
    {"actInsertSymbol", "符", 0x975a16}, {"actRelogin", "登", 0x2c7a7b}, {"actLock", "锁", 0xc53030},
    {"actSupport", "助", 0x319795},    {"actBrowser", "网", 0x3182ce}, {"actDateTime", "历", 0xdd6b20},
    {"actCalculator", "算", 0x4a5568}, {"actEdit", "编", 0x2b6cb0}, {"actStatList", "统", 0x6b46c1},
    {"actFind", "查", 0x2f855a},       {"actReplace", "替", 0x2f855a}, {"actQuery", "询", 0x2c7a7b},
    {"actFilterFind", "筛", 0x2c7a7b}, {"actDuplicates", "重", 0x975a16}, {"actGroupView", "组", 0x805ad5},
    {"actAddRecord", "增", 0x38a169},  {"actDeleteRecord", "删", 0xc53030}, {"actCancelEdit", "消", 0x718096},
    {"actRefresh", "刷", 0x3182ce},    {"actFirst", "首", 0x4a5568}, {"actPrior", "上", 0x4a5568},
    {"actNext", "下", 0x4a5568},       {"actLast", "末", 0x4a5568}, {"actEnterMode", "回", 0x718096},
    {"actChoices", "选", 0xb7791f},    {"actGridSettings", "设", 0x4a5568}, {"actPrintPreview", "览", 0x4a5568},
    {"actTableView", "表", 0x2b6cb0},  {"actCloseWindow", "关", 0xc53030}, {"actExit", "退", 0xc53030},
    {"actSysSet", "设", 0x4a5568},     {"actChangePassword", "密", 0x2c7a7b}, {"actCloseLibrary", "闭", 0x718096},
};

void addEntries(QMenu *menu, const std::vector<Entry> &entries, const QHash<QString, QAction *> &actions)
{
    for (const Entry &e : entries) {
        if (QLatin1String(e.name) == QLatin1String("-")) {
            menu->addSeparator();
        } else if (e.caption) {
            QMenu *sub = menu->addMenu(QString::fromUtf8(e.caption));
            addEntries(sub, e.sub, actions);
        } else if (QAction *a = actions.value(QString::fromLatin1(e.name))) {
            menu->addAction(a);
        }
    }
}

} // namespace

MainMenus::MainMenus(QMainWindow *window)
{
    createActions(window);
    buildMenuBar(window);
    buildToolBars(window);
    buildTrayMenu(window);
}

QAction *MainMenus::action(const QString &name) const
{
    return m_actions.value(name);
}

void MainMenus::createActions(QMainWindow *window)
{
    for (const ShellActionDef &d : ShellActionDefs()) {
        auto *a = new QAction(QString::fromUtf8(d.caption), window);
        a->setObjectName(QString::fromLatin1(d.name));
        if (*d.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(d.shortcut)));
        QString hint = QString::fromUtf8(d.caption).remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.")));
        if (!d.built)
            hint += QStringLiteral("（此功能在本资源库中尚不可用）");
        a->setStatusTip(hint);
        a->setToolTip(hint);
        m_actions.insert(a->objectName(), a);
    }
    for (const Picture &p : kPictures) {
        if (QAction *a = m_actions.value(QString::fromLatin1(p.name)))
            a->setIcon(GlyphIcon(QString::fromUtf8(p.glyph), QColor::fromRgb(p.color)));
    }
    for (const char *checkable : {"actStatusBar", "actEdit", "actEnterMode"})
        m_actions.value(QString::fromLatin1(checkable))->setCheckable(true);
    m_actions.value("actStatusBar")->setChecked(true);
}

void MainMenus::buildMenuBar(QMainWindow *window)
{
    m_menuBar = new QMenuBar(window);
    m_menuBar->setObjectName("systemMenuBar");
    for (const Entry &top : kMenuBar) {
        QMenu *menu = m_menuBar->addMenu(QString::fromUtf8(top.caption));
        menu->setObjectName(QString::fromLatin1(top.name));
        addEntries(menu, top.sub, m_actions);
    }
}

void MainMenus::buildToolBars(QMainWindow *window)
{
    auto make = [&](const std::vector<const char *> &names, const QString &objectName, const QString &title) {
        auto *bar = new QToolBar(title, window);
        bar->setObjectName(objectName);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setIconSize(QSize(24, 24));
        for (const char *n : names) {
            if (QLatin1String(n) == QLatin1String("-"))
                bar->addSeparator();
            else if (QAction *a = m_actions.value(QString::fromLatin1(n)))
                bar->addAction(a);
        }
        bar->setContextMenuPolicy(Qt::CustomContextMenu);
        window->addToolBar(Qt::TopToolBarArea, bar);
        bar->hide();
        return bar;
    };
    m_toolBar = make(kToolBar, "toolBar", QStringLiteral("工具栏"));
    m_gridToolBar = make(kGridToolBar, "gridToolBar", QStringLiteral("表格操作工具栏"));

    m_toolBarMenu = new QMenu(window);
    m_toolBarMenu->setObjectName("toolBarMenu");
    for (const char *n : {"actDockTop", "actDockBottom", "actDockLeft", "actDockRight"}) {
        // The context menu shows the edge names without accelerators.
        QAction *a = m_actions.value(QString::fromLatin1(n));
        m_toolBarMenu->addAction(a);
    }
    m_toolBarMenu->addSeparator();
    m_toolBarMenu->addAction(m_actions.value("actHideToolBar"));
    m_toolBarMenu->addSeparator();
    m_toolBarMenu->addAction(m_actions.value("actStatusBar"));
    m_toolBarMenu->addAction(m_actions.value("actWelcome"));
}

void MainMenus::buildTrayMenu(QMainWindow *window)
{
    m_trayMenu = new QMenu(window);
    m_trayMenu->setObjectName("trayMenu");
    auto add = [&](const char *name, const char *caption = nullptr) {
        QAction *base = m_actions.value(QString::fromLatin1(name));
        if (!caption) {
            m_trayMenu->addAction(base);
            return;
        }
        // Same behaviour, the tray's own caption.
        QAction *a = m_trayMenu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QStringLiteral("tray_") + QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, base, &QAction::trigger);
        QObject::connect(base, &QAction::enabledChanged, a, &QAction::setEnabled);
        a->setEnabled(base->isEnabled());
    };
    add("actShowMain");
    add("actHideMain", "隐藏主窗口(&H)");
    m_trayMenu->addSeparator();
    add("actSupport", "联系我们");
    QAction *update = m_trayMenu->addAction(QStringLiteral("软件升级"));
    update->setObjectName("tray_update");
    update->setEnabled(false); // no update service for this installation
    m_trayMenu->addSeparator();
    add("actRelogin", "重新登录");
    add("actChangePassword", "更改密码...");
    add("actLock", "锁定应用(&L)...");
    m_trayMenu->addSeparator();
    add("actHelp", "帮助系统");
    add("actAbout", "关于(&A)");
    m_trayMenu->addSeparator();
    add("actExit", "退出");
}

} // namespace vek
