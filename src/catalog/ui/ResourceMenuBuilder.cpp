#include "ResourceMenuBuilder.h"

#include <QAction>
#include <QList>
#include <QMenu>

namespace vek {

namespace {

struct FixedItem {
    const char *caption; // nullptr: separator
    const char *name;
    QList<FixedItem> children = {};
};

const FixedItem kSep{nullptr, nullptr};

const QList<FixedItem> &fileItems()
{
    static const QList<FixedItem> items{
        {"打开", "actOpen"},
        {"关闭", "actClose"},
        kSep,
        {"管理模式", "actManageMode"},
        {"树型窗口", "actTreeWindow"},
        {"显示风格", "mnuStyle",
         {{"Outlook风格", "actStyleOutlook"},
          {"2000风格", "actStyle2000"},
          {"XP风格", "actStyleXP"},
          kSep,
          {"显示背景图片", "actShowBackground"},
          {"设置背景图片", "actSetBackground"}}},
        kSep,
        {"打印(&P)...", "actPrint"},
        {"打印预览(&V)...", "actPrintPreview"},
        kSep,
        {"更改密码(&C)...", "actChangePassword"},
        kSep,
        {"锁定应用(&L)...", "actLock"},
        {"重新登录", "actRelogin"},
        kSep,
        {"退出", "actExit"},
    };
    return items;
}

const QList<FixedItem> &editItems()
{
    static const QList<FixedItem> items{
        {"剪切(&X)", "actCut"},
        {"复制(&C)", "actCopy"},
        {"粘贴(&P)", "actPaste"},
        {"撤消(&U)", "actUndo"},
        kSep,
        {"定位", "mnuLocate",
         {{"第一条记录", "actFirst"}, {"上一条记录", "actPrior"}, {"下一条记录", "actNext"}, {"最后一条记录", "actLast"}}},
        {"记录维护", "mnuRecord",
         {{"编辑记录(&E)", "actEditRecord"},
          {"删除选择行(&M)", "actDeleteRows"},
          {"添加复制(&O)", "actAddCopy"},
          {"插入记录(&I)", "actInsertRecord"},
          {"清空记录(&Z)", "actClearRecords"},
          {"刷新(&R)", "actRefresh"}}},
        kSep,
        {"查找", "actFind"},
        {"替换", "actReplace"},
        kSep,
        {"数据插入(&I)", "actInsertData"},
        {"插入日期(&E)", "actInsertDate"},
        {"插入符号...", "actInsertSymbol"},
        {"打开链接", "actOpenLink"},
        kSep,
        {"代码维护", "mnuCodes", {{"代码维护(&I)...", "actCodeMaintenance"}, {"数据列表维护(&N)...", "actListMaintenance"}}},
        {"表状态(&S)", "actTableState"},
    };
    return items;
}

const QList<FixedItem> &helpItems()
{
    static const QList<FixedItem> items{
        {"帮助", "actHelp"}, {"技术支持(&T)", "actSupport"}, {"浏览器", "actBrowser"}, kSep, {"关于(&A)", "actAbout"},
    };
    return items;
}

struct StylePreset {
    const char *name;
    int style, preset;
};
const StylePreset kStylePresets[] = {{"actStyleOutlook", 0, 3}, {"actStyle2000", 1, 9}, {"actStyleXP", 2, 10}};

void addFixed(QMenu *menu, const QList<FixedItem> &items, const QHash<QString, QAction *> &templates,
              const ResourceMenuBuilder::Hooks &hooks)
{
    for (const FixedItem &item : items) {
        if (!item.caption) {
            menu->addSeparator();
            continue;
        }
        const QString name = QString::fromLatin1(item.name);
        QAction *tmpl = templates.value(name);
        if (!item.children.isEmpty()) {
            QMenu *sub = menu->addMenu(QString::fromUtf8(item.caption));
            sub->setObjectName(name + "1");
            sub->menuAction()->setObjectName(name + "1");
            if (tmpl)
                sub->menuAction()->setIcon(tmpl->icon());
            addFixed(sub, item.children, templates, hooks);
            continue;
        }
        QAction *a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(name + "1");
        if (tmpl)
            a->setIcon(tmpl->icon());
        const StylePreset *style = nullptr;
        for (const StylePreset &s : kStylePresets) {
            if (name == QLatin1String(s.name))
                style = &s;
        }
        if (style) {
            const int st = style->style, preset = style->preset;
            QObject::connect(a, &QAction::triggered, menu, [hooks, st, preset] {
                if (hooks.style)
                    hooks.style(st, preset);
            });
        } else if (tmpl) {
            QObject::connect(a, &QAction::triggered, tmpl, [tmpl] { tmpl->trigger(); });
        } else {
            QObject::connect(a, &QAction::triggered, menu, [hooks, name] {
                if (hooks.fixed)
                    hooks.fixed(name);
            });
        }
    }
}

QMenu *addFixedMenu(QMenu *menu, const char *caption, const char *name, const QList<FixedItem> &items,
                    const QHash<QString, QAction *> &templates, const ResourceMenuBuilder::Hooks &hooks)
{
    QMenu *sub = menu->addMenu(QString::fromUtf8(caption));
    sub->setObjectName(QString::fromLatin1(name) + "1");
    sub->menuAction()->setObjectName(QString::fromLatin1(name) + "1");
    addFixed(sub, items, templates, hooks);
    return sub;
}

void addEntries(QMenu *menu, const QList<MenuEntry> &entries, const ResourceMenuBuilder::Hooks &hooks)
{
    for (const MenuEntry &e : entries) {
        const QIcon icon = hooks.icon ? hooks.icon(e.picture) : QIcon();
        if (!e.children.isEmpty() || e.id == 0) {
            QMenu *sub = menu->addMenu(icon, ResourceMenuBuilder::captionOf(e));
            sub->setObjectName(e.name);
            sub->menuAction()->setObjectName(e.name);
            addEntries(sub, e.children, hooks);
            continue;
        }
        QAction *a = menu->addAction(icon, ResourceMenuBuilder::captionOf(e));
        a->setObjectName(e.name);
        const int id = e.id, picture = e.picture;
        const QString title = e.title;
        QObject::connect(a, &QAction::triggered, menu, [hooks, id, title, picture] {
            if (hooks.open)
                hooks.open(id, title, picture);
        });
    }
}

} // namespace

QString ResourceMenuBuilder::captionOf(const MenuEntry &entry)
{
    QString text = entry.title;
    text.replace('&', QStringLiteral("&&"));
    if (!entry.accelerator.isEmpty())
        text += "(&" + entry.accelerator + ")";
    return text;
}

void ResourceMenuBuilder::build(QMenu *menu, const ResourceTreeModel &model, const QHash<QString, QAction *> &templates,
                                const Hooks &hooks)
{
    // Submenus are children of the menu: clear() alone would leave the old ones behind.
    menu->clear();
    qDeleteAll(menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    addFixedMenu(menu, "文件(&F)", "mnuFile", fileItems(), templates, hooks);
    addFixedMenu(menu, "编辑(&E)", "mnuEdit", editItems(), templates, hooks);
    addEntries(menu, model.menu, hooks);
    addFixedMenu(menu, "帮助(&H)", "mnuHelp", helpItems(), templates, hooks);
}

} // namespace vek
