#pragma once

// The resource tree's windows on a small library, shown offscreen.

#include "catalog/TreeFixture.h"
#include "catalog/ui/OutlookBar.h"
#include "catalog/ui/ResourceTreeView.h"
#include "catalog/ui/ResourceTreeWidget.h"
#include "catalog/ui/TfrmOrder.h"
#include "catalog/ui/TfrmToolAdd.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace vek::test {

struct Opened {
    int id;
    QString title;
    int picture;
};

// Runs f on the modal dialog once it is shown; a dialog nobody handled is rejected,
// so that no test can block on it.
inline void onModal(std::function<void(QDialog *)> f)
{
    QTimer::singleShot(0, [f] {
        auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dlg)
            f(dlg);
    });
    QTimer::singleShot(3000, [] {
        if (auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dlg->reject();
    });
}

inline void sendMouse(QWidget *w, QEvent::Type type, const QPoint &pos)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The delegate commits an edit after the Return key has been handled.
inline void pressReturn(QWidget *editor)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void click(QAbstractButton *b)
{
    ASSERT_TRUE(b);
    ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    b->click();
}

inline QStringList topLevelTexts(QTreeWidget *tree)
{
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        out << tree->topLevelItem(i)->text(0);
    return out;
}

inline QStringList actionTexts(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("—") : a->text());
    return out;
}

class TreeViewTest : public TreeTest {
protected:
    void SetUp() override
    {
        TreeTest::SetUp();
        if (IsSkipped())
            return;
        dir = addRow(db(), {"0", "1", "教务", {}, {}, {}, {}, false, 1});
        grid = addRow(db(), {"1", "2", "成绩", "1", "成绩表", {}, {}, false, 1});
        form = addRow(db(), {"1", "3", "学生档案", "0", "学生", {}, {}, false, 2});
        addRow(db(), {"0", "4", "课表", "3", {}, {}, {}, false, 2});
        other = addRow(db(), {"0", "5", "其他", {}, {}, {}, {}, false, 3});
        addDict("学生档案", {}, "男,女", false);
        view = std::make_unique<ResourceTreeView>(*ctx);
        view->setLogWriter([this](const QString &kind, const QString &title) { logged << kind + ":" + title; });
        QObject::connect(view.get(), &ResourceTreeView::openRequested,
                         [this](int id, const QString &t, int p) { opened.append({id, t, p}); });
        view->resize(300, 500);
        view->show();
        view->rebuild();
        view->chooseStyle(-1, 0); // the tree view in front
    }
    void TearDown() override
    {
        view.reset();
        TreeTest::TearDown();
    }
    ResourceTreeWidget *tree() { return view->tree(); }
    QTreeWidgetItem *item(int id) { return tree()->itemById(id); }
    QAction *action(const char *name) { return view->treeMenu()->findChild<QAction *>(name); }
    void select(int id)
    {
        tree()->expandAll();
        tree()->setCurrentItem(item(id));
    }
    QPoint centre(QTreeWidgetItem *i) { return tree()->visualItemRect(i).center(); }

    std::unique_ptr<ResourceTreeView> view;
    int dir = 0, grid = 0, form = 0, other = 0;
    QStringList logged;
    QList<Opened> opened;
};

} // namespace vek::test
