#include "grid/CopyRecord.h"
#include "grid/SchoolMode.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"

using namespace vek;
using vek::test::EngineTest;

TEST(SchoolModeDetection, TitlesTablesAndTheirFields)
{
    struct Case {
        const char *title, *table;
        SchoolKind kind;
        const char *number, *cls, *status, *classTable, *action;
        bool checked;
    } cases[] = {
        {"学生升级", "学生档案", SchoolKind::Promote, "编号", "班级", "当前状态", "班级管理", "升级处理", true},
        {"学生毕业", "t_jcyerxx", SchoolKind::Graduate, "bh", "class", "state", "t_Class", "毕业处理", false},
        {"学生调班", "T_JCYERXX", SchoolKind::ChangeClass, "bh", "class", "state", "t_Class", "学生调班", false},
        {"学生毕业", "幼儿信息", SchoolKind::Graduate, "bh", "class", "state", "班级管理", "毕业处理", false},
        {"学生毕业", "别的表", SchoolKind::None, "", "", "", "", "", false},
        {"学生名册", "学生档案", SchoolKind::None, "", "", "", "", "", false},
    };
    for (const Case &c : cases) {
        const SchoolSetup s = DetectSchoolMode(QString::fromUtf8(c.title), QString::fromUtf8(c.table));
        const std::string what = std::string(c.title) + "/" + c.table;
        EXPECT_EQ(s.kind, c.kind) << what;
        EXPECT_EQ(s.numberField, QString::fromUtf8(c.number)) << what;
        EXPECT_EQ(s.classField, QString::fromUtf8(c.cls)) << what;
        EXPECT_EQ(s.statusField, QString::fromUtf8(c.status)) << what;
        EXPECT_EQ(s.classTable, QString::fromUtf8(c.classTable)) << what;
        EXPECT_EQ(s.actionCaption, QString::fromUtf8(c.action)) << what;
        EXPECT_EQ(s.startChecked, c.checked) << what;
    }
    EXPECT_EQ(GraduateDoneText(3), "共处理毕业学生3名！");
    EXPECT_EQ(ClassChangeDoneText(2), "共完成2名学生班级调整！");
    EXPECT_EQ(GraduateConfirmText(), "请确认要对选中的学生做毕业处理吗？");
}

class SchoolBatchOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        const QString name = d.quoteIdent("姓名"), cls = d.quoteIdent("班级"), state = d.quoteIdent("当前状态");
        // The locked student refuses every change, so a batch holding it fails part-way.
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("学生档案") + " (id " + d.identityPrimaryKey() + ", "
                             + d.quoteIdent("编号") + " varchar(10), " + name + " varchar(10), " + cls
                             + " varchar(10), " + state + " varchar(10), CHECK (" + name + " <> '锁定' OR (" + state
                             + " = '在校' AND " + cls + " = '一班')))");
        for (const auto &[number, student, klass] : {std::tuple{"001", "张三", "一班"}, {"001", "李四", "一班"},
                                                     {"002", "王五", "二班"}, {"003", "锁定", "一班"}})
            Query::run(db(), "INSERT INTO " + d.quoteIdent("学生档案") + " (" + d.quoteIdent("编号") + ", " + name
                                 + ", " + cls + ", " + state + ") VALUES (:HostA, :HostB, :HostC, '在校')",
                       {{":HostA", QString::fromUtf8(number)}, {":HostB", QString::fromUtf8(student)},
                        {":HostC", QString::fromUtf8(klass)}});
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("班级管理") + " (" + d.quoteIdent("班级名称") + " varchar(10))");
        for (const char *c : {"一班", "二班", "", "一班", "三班"})
            Query::run(db(), "INSERT INTO " + d.quoteIdent("班级管理") + " VALUES (:HostA)", {{":HostA", QString::fromUtf8(c)}});
        rs = std::make_unique<RecordSet>(db());
        rs->open("学生档案", {}, {}, {}, "id");
    }
    QVariant keyOf(const QString &student)
    {
        for (int r = 0; r < rs->rowCount(); ++r) {
            if (rs->valueAt(r, "姓名").toString() == student)
                return rs->keyAt(r);
        }
        return {};
    }
    QString field(const QString &student, const QString &f)
    {
        return Query::scalar(db(),
                             "SELECT " + db().dialect().quoteIdent(f) + " FROM " + db().dialect().quoteIdent("学生档案")
                                 + " WHERE " + db().dialect().quoteIdent("姓名") + " = :HostA",
                             {{":HostA", student}})
            .toString();
    }
    std::unique_ptr<RecordSet> rs;
    const SchoolSetup setup = DetectSchoolMode("学生毕业", "学生档案");
};

TEST_P(SchoolBatchOnEngine, StudentsAreChangedByRowKeyAllOrNothing)
{
    const QString key = rs->keyExpression();
    // 李四 shares the number 001 with 张三: only the checked student graduates.
    EXPECT_EQ(GraduateStudents(db(), "学生档案", setup, {keyOf("李四"), keyOf("王五")}, key), 2);
    EXPECT_EQ(field("李四", "当前状态"), "毕业");
    EXPECT_EQ(field("王五", "当前状态"), "毕业");
    EXPECT_EQ(field("张三", "当前状态"), "在校");

    EXPECT_THROW(GraduateStudents(db(), "学生档案", setup, {keyOf("张三"), keyOf("锁定")}, key), DbError);
    EXPECT_EQ(field("张三", "当前状态"), "在校") << "the failing batch changed nothing";
    EXPECT_EQ(db().transactionDepth(), 0);

    EXPECT_EQ(ChangeStudentsClass(db(), "学生档案", setup, {keyOf("张三"), keyOf("王五")}, key, "三班"), 2);
    EXPECT_EQ(field("张三", "班级"), "三班");
    EXPECT_EQ(field("李四", "班级"), "一班");
    EXPECT_THROW(ChangeStudentsClass(db(), "学生档案", setup, {keyOf("李四"), keyOf("锁定")}, key, "四班"), DbError);
    EXPECT_EQ(field("李四", "班级"), "一班");
    EXPECT_EQ(ChangeStudentsClass(db(), "学生档案", setup, {}, key, "四班"), 0);

    QStringList names = SchoolClassNames(db(), setup, "一班");
    names.sort();
    EXPECT_EQ(names, (QStringList{"三班", "二班"})) << "no empty, repeated or current class";
}

VEK_BOTH_ENGINES(SchoolBatchOnEngine);

class CopyRecordOnEngine : public EngineTest {};

TEST_P(CopyRecordOnEngine, CopyKeepsValuesButNotNumbersAndSkipsEmptyOnes)
{
    const SqlDialect &d = db().dialect();
    const QString table = d.quoteIdent("档案");
    Query::run(db(), "CREATE TABLE " + table + " (id " + d.identityPrimaryKey() + ", " + d.quoteIdent("编号")
                         + " varchar(10), " + d.quoteIdent("姓名") + " varchar(10), " + d.quoteIdent("出生") + " "
                         + d.dateType() + ", " + d.quoteIdent("工资") + " " + d.floatType() + ", "
                         + d.quoteIdent("照片") + " " + (d.engine() == Engine::Sqlite ? "blob" : "bytea") + ", "
                         + d.quoteIdent("备注") + " varchar(10))");
    const QByteArray photo("\x89PNG\0\x01\x02", 7);
    Query::run(db(), "INSERT INTO " + table + " (" + d.quoteIdent("编号") + ", " + d.quoteIdent("姓名") + ", "
                         + d.quoteIdent("出生") + ", " + d.quoteIdent("工资") + ", " + d.quoteIdent("照片")
                         + ") VALUES ('0007', '张三', :HostA, :HostB, :HostC)",
               {{":HostA", QDate(2000, 3, 1)}, {":HostB", 1234.5678901234}, {":HostC", photo}});

    RecordSet rs(db());
    rs.open("档案", {}, {}, {}, "id");
    ASSERT_TRUE(rs.first());
    QVariantMap values = RememberForCopy(rs, {" 编号 "});
    EXPECT_FALSE(values.contains("id"));
    EXPECT_FALSE(values.contains("编号")) << "the new record gets its own number";
    values.insert("没有", "x"); // a field the record set lacks is ignored

    rs.onNewRecord = [](RecordSet &r) {
        r.setValue("编号", "0008");
        r.setValue("备注", "默认");
    };
    rs.insert();
    ApplyCopy(rs, values);
    rs.post();

    Query q(db(), "SELECT " + d.quoteIdent("编号") + ", " + d.quoteIdent("姓名") + ", " + d.quoteIdent("出生") + ", "
                      + d.quoteIdent("工资") + ", " + d.quoteIdent("照片") + ", " + d.quoteIdent("备注") + " FROM "
                      + table + " ORDER BY id");
    ASSERT_TRUE(q.next());
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "0008");
    EXPECT_EQ(q.value(1).toString(), "张三");
    EXPECT_EQ(q.value(2).toDate(), QDate(2000, 3, 1));
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 1234.5678901234);
    EXPECT_EQ(q.value(4).toByteArray(), photo);
    EXPECT_EQ(q.value(5).toString(), "默认") << "an empty remembered value does not overwrite";
}

VEK_BOTH_ENGINES(CopyRecordOnEngine);
