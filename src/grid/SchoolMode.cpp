#include "SchoolMode.h"

#include "TableNames.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QSet>

namespace vek {

namespace {

int updateByKeys(TDModule &db, const QString &table, const QString &field, const QVariant &value,
                 const QVariantList &rowKeys, const QString &keyExpr)
{
    if (rowKeys.isEmpty())
        return 0;
    const TableNames names(db, table);
    const QString sql = "UPDATE " + names.table() + " SET " + names.field(field)
                        + " = :HostValue WHERE " + keyExpr + " = :HostKey";
    int changed = 0;
    // The statement outlives the transaction: after a failure the server drops the
    // prepared statement only once the transaction has been rolled back.
    Query q(db);
    Transaction tx(db);
    q.prepare(sql);
    for (const QVariant &key : rowKeys) {
        q.bind(":HostValue", value).bind(":HostKey", key).exec();
        changed += std::max(0, q.numRowsAffected());
    }
    q.raw().finish();
    tx.commit();
    return changed;
}

} // namespace

SchoolSetup DetectSchoolMode(const QString &title, const QString &table)
{
    SchoolSetup s;
    const QString t = title.trimmed();
    if (t == QStringLiteral("学生毕业"))
        s.kind = SchoolKind::Graduate;
    else if (t == QStringLiteral("学生调班"))
        s.kind = SchoolKind::ChangeClass;
    else if (t == QStringLiteral("学生升级"))
        s.kind = SchoolKind::Promote;
    else
        return {};

    const QString name = table.trimmed();
    const bool jcyerxx = name.toUpper() == QLatin1String("T_JCYERXX");
    const bool infants = name == QStringLiteral("幼儿信息");
    if (!jcyerxx && !infants && name != QStringLiteral("学生档案"))
        return {};
    if (jcyerxx || infants) {
        s.numberField = "bh";
        s.classField = "class";
        s.statusField = "state";
    } else {
        s.numberField = QStringLiteral("编号");
        s.classField = QStringLiteral("班级");
        s.statusField = QStringLiteral("当前状态");
    }
    s.classTable = jcyerxx ? QStringLiteral("t_Class") : QStringLiteral("班级管理");
    s.classNameField = QStringLiteral("班级名称");
    s.startChecked = s.kind == SchoolKind::Promote;
    s.actionCaption = s.kind == SchoolKind::Graduate      ? QStringLiteral("毕业处理")
                      : s.kind == SchoolKind::ChangeClass ? QStringLiteral("学生调班")
                                                          : QStringLiteral("升级处理");
    return s;
}

QStringList SchoolClassNames(TDModule &db, const SchoolSetup &s, const QString &exclude)
{
    Query q(db);
    const TableNames names(db, s.classTable);
    q.prepare("SELECT " + names.field(s.classNameField) + " FROM " + names.table());
    q.exec();
    QStringList out;
    QSet<QString> seen;
    const QString skip = exclude.trimmed();
    while (q.next()) {
        const QString name = q.value(0).toString().trimmed();
        if (name.isEmpty() || name == skip || seen.contains(name))
            continue;
        seen.insert(name);
        out << name;
    }
    return out;
}

int GraduateStudents(TDModule &db, const QString &table, const SchoolSetup &s, const QVariantList &rowKeys,
                     const QString &keyExpr)
{
    return updateByKeys(db, table, s.statusField, QStringLiteral("毕业"), rowKeys, keyExpr);
}

int ChangeStudentsClass(TDModule &db, const QString &table, const SchoolSetup &s, const QVariantList &rowKeys,
                        const QString &keyExpr, const QString &newClass)
{
    return updateByKeys(db, table, s.classField, newClass, rowKeys, keyExpr);
}

QString GraduateConfirmText()
{
    return QStringLiteral("请确认要对选中的学生做毕业处理吗？");
}

QString GraduateDoneText(int n)
{
    return QStringLiteral("共处理毕业学生") + QString::number(n) + QStringLiteral("名！");
}

QString ClassChangeDoneText(int n)
{
    return QStringLiteral("共完成") + QString::number(n) + QStringLiteral("名学生班级调整！");
}

} // namespace vek
