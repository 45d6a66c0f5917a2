#pragma once

#include "catalog/ResourceTree.h"

#include <QHash>
#include <QString>
#include <functional>

class QAction;
class QMenu;

namespace vek {

// Fills the resource menu: the fixed leading items "文件(&F)" and "编辑(&E)", one item
// per directory and shown resource, then the fixed trailing "帮助(&H)".
//
// Fixed items are copies of the main window's template actions, found by objectName
// (the names are listed in ResourceMenuBuilder.cpp: "actOpen", "actClose", ...). A copy
// is named template name + "1", takes the template's picture and triggers the
// template; without a template it is a placeholder with the same caption
// whose click goes to Hooks::fixed with the template name. Copies are always visible
// and enabled. The style items go to Hooks::style with presets 3, 9 and 10.
class ResourceMenuBuilder {
public:
    struct Hooks {
        std::function<void(int id, const QString &title, int picture)> open;
        std::function<void(const QString &templateName)> fixed;
        std::function<void(int style, int preset)> style;
        std::function<QIcon(int picture)> icon;
    };

    static void build(QMenu *menu, const ResourceTreeModel &model, const QHash<QString, QAction *> &templates,
                      const Hooks &hooks);

    // Menu text of a title: "&" shown as itself, then the accelerator.
    static QString captionOf(const MenuEntry &entry);
};

} // namespace vek
