#include "DemoDictionary.h"

#include "DictionaryWriter.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QMap>
#include <QStringList>
#include <QVariant>

namespace vek {

namespace {

const char *const kTitle = "学生档案";
const char *const kScoreTitle = "成绩流水";
const char *const kCodeTable = "班级代码";

// Columns of a row, by catalog column name.
using Row = QMap<QString, QVariant>;

void insertRow(TDModule &db, const Row &values)
{
    const SqlDialect &d = db.dialect();
    QStringList cols;
    QStringList params;
    int n = 0;
    for (auto it = values.begin(); it != values.end(); ++it) {
        cols << d.quoteIdent(it.key());
        params << QStringLiteral(":HostV%1").arg(n++);
    }
    Query q(db);
    q.prepare("INSERT INTO usys_dict (" + cols.join(", ") + ") VALUES (" + params.join(", ") + ")");
    n = 0;
    for (auto it = values.begin(); it != values.end(); ++it)
        q.bind(QStringLiteral(":HostV%1").arg(n++), it.value());
    q.exec();
}

// A row with every flag cleared, as the dictionary window writes them.
Row baseRow(const QString &field, const QString &caption, const QString &type, int size,
            const char *key = kTitle)
{
    Row r;
    r["TableName"] = QString::fromUtf8(key);
    r["EField"] = field;
    r["Cfield"] = caption;
    r["Type"] = type;
    if (size > 0)
        r["FieldSize"] = size;
    r["IsDefine"] = 1;
    r["Maxvalue"] = 0.0;
    r["Minvalue"] = 0.0;
    for (const char *flag : {"IsNull", "AutoAdd", "isUnique", "ChooseInput", "Radio", "DocFile", "Event", "readonly",
                             "CountFlag", "fvtSum", "fvtAvg", "fvtCount", "choosegrid"})
        r[QString::fromLatin1(flag)] = false;
    return r;
}

// Creates the code table when absent and adds the classes it lacks: a table of that
// name that someone filled already keeps its rows.
void fillCodeTable(TDModule &db)
{
    const SqlDialect &d = db.dialect();
    const QString table = d.quoteIdent(QString::fromUtf8(kCodeTable));
    const QString code = d.quoteIdent("代码");
    const QString name = d.quoteIdent("班级名称");
    if (!db.tableExists(QString::fromUtf8(kCodeTable)))
        Query::run(db, "CREATE TABLE " + table + " (" + code + " varchar(4) PRIMARY KEY, " + name
                           + " varchar(20) NOT NULL)");
    // The 初三 classes have no students yet: the class tree lists them with "(0)".
    const QStringList classes = {"初一(1)班", "初一(2)班", "初二(1)班", "初二(2)班", "初三(1)班", "初三(2)班"};
    for (int i = 0; i < classes.size(); ++i) {
        const QString c = QStringLiteral("%1").arg(i + 1, 2, 10, QChar('0'));
        if (Query::scalar(db, "SELECT count(*) FROM " + table + " WHERE " + code + " = :HostCode", {{":HostCode", c}})
                .toInt() > 0)
            continue;
        Query::run(db, "INSERT INTO " + table + " (" + code + ", " + name + ") VALUES (:HostCode, :HostName)",
                   {{":HostCode", c}, {":HostName", classes.at(i)}});
    }
}

// Type and size as the demo table declares them, when it is there already.
void describeFromTable(TDModule &db, const char *table, QList<Row> &rows)
{
    if (!db.tableExists(QString::fromUtf8(table)))
        return;
    const ColumnList columns = db.columns(QString::fromUtf8(table));
    for (Row &r : rows) {
        for (const ColumnInfo &c : columns) {
            if (c.name.compare(r["EField"].toString(), Qt::CaseInsensitive) != 0)
                continue;
            const QString type = DictionaryWriter::TypeNameFor(c);
            if (!type.isEmpty())
                r["Type"] = type;
            if (c.size > 0)
                r["FieldSize"] = c.size;
        }
    }
}

QList<Row> studentRows()
{
    Row id = baseRow("编号", "学号", "字符", 10);
    id["IsNull"] = true;
    id["isUnique"] = true;

    Row name = baseRow("姓名", "姓名", "字符", 0);

    Row sex = baseRow("性别", "性别", "字符", 0);
    sex["Range"] = QStringLiteral("男\r\n女");
    sex["ChooseInput"] = true;
    sex["DefaultValue"] = QStringLiteral("男");
    sex["CountFlag"] = true;

    Row birth = baseRow("出生日期", "出生日期", "日期", 0);

    Row cls = baseRow("班级", "班级", "字符", 0);
    cls["IsDefine"] = 0;
    cls["FromTable"] = QString::fromUtf8(kCodeTable);
    cls["FromFieldName"] = QStringLiteral("班级名称");
    cls["ChooseInput"] = true;

    Row score = baseRow("入学成绩", "入学成绩", "浮点", 0);
    score["DisplayFormat"] = QStringLiteral("0.0");
    score["fvtSum"] = true;
    score["fvtAvg"] = true;
    score["fvtCount"] = true; // how many students have a score

    Row state = baseRow("当前状态", "当前状态", "字符", 10);
    state["Range"] = QStringLiteral("在读\r\n毕业\r\n休学");
    state["ChooseInput"] = true;
    state["DefaultValue"] = QStringLiteral("在读");

    Row page = baseRow("个人主页", "个人主页", "字符", 100);
    page["DocFile"] = true;

    return {id, name, sex, birth, cls, score, state, page};
}

QList<Row> scoreRows()
{
    Row serial = baseRow("流水号", "流水号", "整数", 0, kScoreTitle);
    serial["isUnique"] = true;
    Row id = baseRow("学号", "学号", "字符", 10, kScoreTitle);
    Row name = baseRow("姓名", "姓名", "字符", 0, kScoreTitle);
    Row subject = baseRow("科目", "科目", "字符", 10, kScoreTitle);
    subject["Range"] = QStringLiteral("语文\r\n数学\r\n英语\r\n物理\r\n历史\r\n地理");
    subject["ChooseInput"] = true;
    subject["CountFlag"] = true;
    Row score = baseRow("成绩", "成绩", "浮点", 0, kScoreTitle);
    score["DisplayFormat"] = QStringLiteral("0.0");
    score["fvtSum"] = true;
    score["fvtAvg"] = true;
    Row date = baseRow("考试日期", "考试日期", "日期", 0, kScoreTitle);
    return {serial, id, name, subject, score, date};
}

} // namespace

void AddDemoDictionary(TDModule &db)
{
    Transaction tx(db);
    fillCodeTable(db);
    for (const char *key : {kTitle, kScoreTitle})
        Query::run(db, "DELETE FROM usys_dict WHERE " + db.dialect().ciEquals("TRIM(TableName)", ":HostTitle"),
                   {{":HostTitle", QString::fromUtf8(key)}});

    QList<Row> students = studentRows();
    describeFromTable(db, kTitle, students);
    QList<Row> scores = scoreRows();
    describeFromTable(db, kScoreTitle, scores);
    for (const Row &r : students + scores)
        insertRow(db, r);

    tx.commit();
}

} // namespace vek
