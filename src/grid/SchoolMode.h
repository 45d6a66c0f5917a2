#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vek {

class TDModule;

enum class SchoolKind { None, Graduate, ChangeClass, Promote };

// How a school resource is handled: which fields hold a student's number, class and
// status, and where the class names come from.
struct SchoolSetup {
    SchoolKind kind = SchoolKind::None;
    QString numberField, classField, statusField;
    QString classTable, classNameField;
    bool startChecked = false; // promotion starts with every student checked
    QString actionCaption;     // the button of the batch: "毕业处理", "学生调班", "升级处理"
};

// A school resource by its title ("学生毕业", "学生调班", "学生升级") and table
// ("学生档案", "T_JCYERXX" in any letter case, "幼儿信息"); kind None otherwise.
SchoolSetup DetectSchoolMode(const QString &title, const QString &table);

// Class names to move students to, without empty and repeated names and without
// exclude (the class the students are in now). Throws DbError.
QStringList SchoolClassNames(TDModule &db, const SchoolSetup &s, const QString &exclude = QString());

// Sets the status of the students with the given row keys to "毕业", in one transaction:
// all of them or none. keyExpr is the record set's key column as it appears in SQL
// (RecordSet::keyExpression). Returns the number of students changed. Throws DbError.
int GraduateStudents(TDModule &db, const QString &table, const SchoolSetup &s, const QVariantList &rowKeys,
                     const QString &keyExpr);
// Moves the students with the given row keys to newClass, likewise.
int ChangeStudentsClass(TDModule &db, const QString &table, const SchoolSetup &s, const QVariantList &rowKeys,
                        const QString &keyExpr, const QString &newClass);

QString GraduateConfirmText();         // "请确认要对选中的学生做毕业处理吗？"
QString GraduateDoneText(int n);       // "共处理毕业学生" + n + "名！"
QString ClassChangeDoneText(int n);    // "共完成" + n + "名学生班级调整！"

} // namespace vek
