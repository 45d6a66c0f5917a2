#pragma once

#include "grid/SchoolMode.h"

#include <QStringList>
#include <QVariantList>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vek {

struct AppContext;
class Condition;

// The student list of the school modes (graduation, class change, promotion): one
// check-box entry per student, one column per field of the table but the status field.
// Each entry keeps the student's row key, so the batch changes exactly the students
// checked, whatever their numbers. A batch runs in one transaction: when it fails the
// error is shown, nothing is changed and the list stays as it was.
//
// objectNames: list "studentList", label "countLabel", buttons "checkAllButton",
// "actionButton" (caption of the kind), "closeButton".
class SchoolPanel : public QWidget {
    Q_OBJECT
public:
    // Asks for the class the checked students move to; nothing when cancelled.
    using ClassChooser = std::function<std::optional<QString>(const QStringList &classNames)>;

    // title is the resource title (the dictionary key of the column titles); mayUpdate is
    // the user's update right on the resource: without it no batch writes anything.
    SchoolPanel(AppContext &ctx, const SchoolSetup &setup, const QString &table, const QString &title,
                bool mayUpdate, QWidget *parent = nullptr);

    // Lists the rows of the table under where (base filter and class node). className is
    // the class shown, left out of the classes to move to. A failing query is reported
    // and leaves the list empty.
    void showStudents(const Condition &where, const QString &className = QString());

    int studentCount() const;
    QVariantList checkedKeys() const;
    QTreeWidget *list() const { return m_list; }
    void setClassChooser(ClassChooser chooser) { m_chooser = std::move(chooser); }

Q_SIGNALS:
    void countChanged(int count);
    void studentsChanged(); // a batch wrote to the table
    void closeRequested();

private:
    void toggleAll();
    void runAction();
    void graduate();
    void changeClass();
    void removeChecked();
    void updateCount();

    AppContext &m_ctx;
    SchoolSetup m_setup;
    QString m_table;
    QString m_title;
    bool m_mayUpdate;
    QString m_keyExpr;
    QString m_className;
    ClassChooser m_chooser;
    QTreeWidget *m_list;
    QLabel *m_count;
    QPushButton *m_checkAll;
    QPushButton *m_action;
    QPushButton *m_close;
};

} // namespace vek
