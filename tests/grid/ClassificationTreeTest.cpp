#include "grid/ClassificationTree.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

using namespace vek;
using vek::test::EngineTest;

namespace {

const ClassNode *child(const ClassNode &parent, const QString &value)
{
    for (const ClassNode &c : parent.children) {
        if (c.value.toString() == value)
            return &c;
    }
    return nullptr;
}

QStringList labels(const ClassNode &parent)
{
    QStringList out;
    for (const ClassNode &c : parent.children)
        out << c.label;
    out.sort();
    return out;
}

} // namespace

TEST(ClassificationSetup, FieldsMoveUpAndCaptionsBecomeNames)
{
    auto names = [](const QString &caption) {
        return caption == "班级名" ? QString("bj") : caption == "性别名" ? QString("xb") : QString();
    };
    struct Case {
        QString k0, k1, k2, f1, f2, f3;
    } cases[] = {
        {"班级名", "性别名", "zz", "bj", "xb", "zz"},
        {"", "班级名", "性别名", "bj", "xb", ""},   // the keys move up
        {"班级名", "", "性别名", "bj", "", ""},     // a third level needs a second
        {"未知", "", "", "未知", "", ""},           // an unknown caption is the name
        {"", "", "性别名", "xb", "", ""},
        {"", "", "", "", "", ""},
    };
    for (const Case &c : cases) {
        const ClassFields f = ResolveClassFields(c.k0, c.k1, c.k2, names);
        EXPECT_EQ(f.f1, c.f1) << c.k0.toStdString();
        EXPECT_EQ(f.f2, c.f2) << c.k0.toStdString();
        EXPECT_EQ(f.f3, c.f3) << c.k0.toStdString();
    }

    ClassDialogChoice d = NormaliseClassChoice("班级", "班级", "性别");
    EXPECT_EQ(d.second, "");
    EXPECT_EQ(d.third, "性别");
    d = NormaliseClassChoice("班级", "性别", "性别");
    EXPECT_EQ(d.second, "性别");
    EXPECT_EQ(d.third, "");
    d = NormaliseClassChoice("班级", "性别", "班级");
    EXPECT_EQ(d.third, "");
}

class ClassTreeOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("学生") + " (id " + d.identityPrimaryKey() + ", "
                             + d.quoteIdent("班级") + " varchar(20), " + d.quoteIdent("性别") + " varchar(4), "
                             + d.quoteIdent("组") + " varchar(4), " + d.quoteIdent("所属") + " varchar(10))");
        struct Row {
            QVariant cls;
            const char *sex, *group, *owner;
            int times;
        } rows[] = {
            {"一班", "男", "A", "u1", 3},       {"一班", "女", "B", "u1", 2},  {"一班", "女", "B", "u2", 1},
            {"一班", "其他", "C", "u2", 1},     {"二班(实验)", "男", "A", "u1", 2},
            {"O'Brien班", "女", "A", "u1", 1}, {"", "男", "A", "u1", 1},      {QVariant(), "男", "A", "u1", 1},
            {"三班", "男", "C", "u2", 2},
        };
        Transaction tx(db());
        for (const Row &r : rows) {
            for (int i = 0; i < r.times; ++i)
                Query::run(db(), "INSERT INTO " + d.quoteIdent("学生") + " (" + d.quoteIdent("班级") + ", "
                                     + d.quoteIdent("性别") + ", " + d.quoteIdent("组") + ", " + d.quoteIdent("所属")
                                     + ") VALUES (:HostA, :HostB, :HostC, :HostD)",
                           {{":HostA", r.cls}, {":HostB", QString::fromUtf8(r.sex)},
                            {":HostC", QString::fromUtf8(r.group)}, {":HostD", QString::fromUtf8(r.owner)}});
        }
        tx.commit();
        base = Condition::compare(db().dialect(), "所属", Condition::Op::Eq, QString("u1"));
    }
    // Records a click on the node shows: the base filter and the node's condition.
    int rowsOf(const ClassFields &f, const ClassNode &node)
    {
        const Condition c = base && ClassNodeCondition(db().dialect(), f, node);
        Query q(db());
        q.prepare("SELECT COUNT(*) FROM " + db().dialect().quoteIdent("学生") + " WHERE " + c.sql());
        for (auto it = c.binds().begin(); it != c.binds().end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        return q.next() ? q.value(0).toInt() : -1;
    }
    Condition base;
};

TEST_P(ClassTreeOnEngine, CountedTreeKeepsValuesAndAppliesTheBaseFilterAtEveryLevel)
{
    const ClassFields f{"班级", "性别", ""};
    const QStringList choices{"一班", "四班", "列表选择...", "三班", ""};
    const ClassNode root = BuildClassTree(db(), "学生", f, base, choices, "", true, false);

    EXPECT_EQ(root.label, "全部(10)");
    EXPECT_EQ(root.level, 0);
    EXPECT_EQ(labels(root), (QStringList{"O'Brien班(1)", "一班(5)", "三班(0)", "二班(实验)(2)", "四班(0)"}))
        << "empty classes are no nodes; 三班 has records only outside the base filter";
    EXPECT_EQ(root.children.last().label, "三班(0)") << "choice values follow the data";

    const ClassNode *one = child(root, "一班");
    ASSERT_TRUE(one);
    EXPECT_EQ(labels(*one), (QStringList{"女(2)", "男(3)"})) << "no 其他: it lies outside the base filter";
    const ClassNode *girls = child(*one, "女");
    ASSERT_TRUE(girls);
    EXPECT_EQ(girls->level, 2);
    EXPECT_EQ(girls->path, (QList<QVariant>{"一班", "女"}));
    EXPECT_EQ(rowsOf(f, *girls), 2);
    EXPECT_EQ(ClassNodeValues(f, *girls),
              (QList<QPair<QString, QVariant>>{{"班级", QVariant("一班")}, {"性别", QVariant("女")}}));

    // Values with a bracket or a quote are selected by their value, not their label.
    for (const char *v : {"二班(实验)", "O'Brien班", "一班"}) {
        const ClassNode *n = child(root, QString::fromUtf8(v));
        ASSERT_TRUE(n) << v;
        EXPECT_EQ(rowsOf(f, *n), n->count) << v;
    }
    EXPECT_EQ(rowsOf(f, *child(root, "三班")), 0);
    EXPECT_EQ(rowsOf(f, root), 10);
    EXPECT_TRUE(ClassNodeCondition(db().dialect(), f, root).isEmpty());

    ClassNode empty;
    empty.level = 1;
    empty.path << QString();
    EXPECT_EQ(rowsOf(f, empty), 2) << "an empty value matches NULL and ''";
}

TEST_P(ClassTreeOnEngine, CountsOffAfterSaveStatementAndThreeLevels)
{
    const ClassFields f{"班级", "性别", "组"};
    const ClassNode plain = BuildClassTree(db(), "学生", f, base, {"四班"}, "学生", false, false);
    EXPECT_EQ(plain.label, "学生");
    EXPECT_EQ(labels(plain), (QStringList{"O'Brien班", "一班", "二班(实验)", "四班"}));
    EXPECT_EQ(child(plain, "一班")->count, -1);
    const ClassNode *groupB = child(*child(*child(plain, "一班"), "女"), "B");
    ASSERT_TRUE(groupB);
    EXPECT_EQ(groupB->level, 3);
    EXPECT_EQ(rowsOf(f, *groupB), 2);

    const ClassNode withDdl = BuildClassTree(db(), "学生", f, base, {"四班"}, "", true, true);
    EXPECT_FALSE(child(withDdl, "四班")) << "no empty choice nodes when an after-save statement exists";

    const ClassNode all = BuildClassTree(db(), "学生", ClassFields{"班级", "", ""}, Condition(), {}, "", true, false);
    EXPECT_EQ(all.label, "全部(14)");
    EXPECT_EQ(child(all, "三班")->label, "三班(2)");
    EXPECT_TRUE(child(all, "一班")->children.isEmpty());

    const QStringList text = ClassTreeText(plain).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(text.first(), "学生");
    EXPECT_TRUE(text.contains("\t一班"));
    EXPECT_TRUE(text.contains("\t\t女"));
    EXPECT_TRUE(text.contains("\t\t\tB"));

    EXPECT_THROW(BuildClassTree(db(), "学生", ClassFields{"没有", "", ""}, base, {}, "", true, false), DbError);
}

VEK_BOTH_ENGINES(ClassTreeOnEngine);
