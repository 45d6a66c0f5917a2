#include "ClassificationTree.h"

#include "TableNames.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/SqlDialect.h"
#include "platform/TDModule.h"

#include <QHash>
#include <QSet>

namespace vek {

namespace {

QString displayText(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().toString("yyyy-MM-dd");
    return v.toString().trimmed();
}

bool isEmptyValue(const QVariant &v)
{
    return v.isNull() || displayText(v).isEmpty();
}

QString labelOf(const QString &text, int count, bool countsOn)
{
    return countsOn ? text + "(" + QString::number(count) + ")" : text;
}

// Identity of a stored value among its siblings: its exact text, blanks included.
QString valueKey(const QVariant &v)
{
    return v.metaType().id() == QMetaType::QDate ? v.toDate().toString("yyyy-MM-dd") : v.toString();
}

// The child of parent holding value, made when missing. index maps the path of a node
// (its values joined) to its position among its siblings.
ClassNode &childFor(ClassNode &parent, QString &pathKey, QHash<QString, int> &index, const QVariant &value)
{
    pathKey += QChar(0x1f) + valueKey(value);
    auto it = index.find(pathKey);
    if (it == index.end()) {
        ClassNode node;
        node.value = value;
        node.level = parent.level + 1;
        node.count = 0;
        node.path = parent.path;
        node.path << value;
        parent.children << node;
        it = index.insert(pathKey, int(parent.children.size()) - 1);
    }
    return parent.children[*it];
}

void finishLabels(ClassNode &node, bool countsOn)
{
    if (node.level > 0)
        node.label = labelOf(displayText(node.value), node.count, countsOn);
    if (!countsOn)
        node.count = -1;
    for (ClassNode &c : node.children)
        finishLabels(c, countsOn);
}

void appendText(const ClassNode &node, QString &out)
{
    out += QString(node.level, '\t') + node.label + '\n';
    for (const ClassNode &c : node.children)
        appendText(c, out);
}

} // namespace

QStringList ClassFields::list() const
{
    QStringList out;
    for (const QString &f : {f1, f2, f3}) {
        if (f.isEmpty())
            break;
        out << f;
    }
    return out;
}

ClassFields ResolveClassFields(const QString &k0, const QString &k1, const QString &k2,
                               const std::function<QString(const QString &caption)> &captionToName)
{
    ClassFields f;
    if (k0.trimmed().isEmpty()) {
        f.f1 = k1.trimmed();
        f.f2 = k2.trimmed();
    } else {
        f.f1 = k0.trimmed();
        f.f2 = k1.trimmed();
        if (!f.f2.isEmpty())
            f.f3 = k2.trimmed();
    }
    // A second level needs a first one.
    if (f.f1.isEmpty()) {
        f.f1 = f.f2;
        f.f2.clear();
    }
    for (QString *caption : {&f.f1, &f.f2, &f.f3}) {
        if (caption->isEmpty() || !captionToName)
            continue;
        const QString name = captionToName(*caption);
        if (!name.isEmpty())
            *caption = name;
    }
    return f;
}

ClassDialogChoice NormaliseClassChoice(const QString &a, const QString &b, const QString &c)
{
    ClassDialogChoice out;
    out.first = a;
    out.second = b != a ? b : QString();
    out.third = (c != a && c != b) ? c : QString();
    return out;
}

ClassNode BuildClassTree(TDModule &db, const QString &table, const ClassFields &f, const Condition &base,
                         const QStringList &choiceList, const QString &rootCaption, bool countsOn,
                         bool hasAfterSaveSql)
{
    const QStringList fields = f.list();
    if (fields.isEmpty())
        throw DbError(QStringLiteral("没有指定分组字段"));
    const TableNames names(db, table);
    QStringList quoted;
    for (const QString &name : fields)
        quoted << names.field(name);
    QString sql = "SELECT " + quoted.join(", ") + ", COUNT(*) FROM " + names.table();
    if (!base.isEmpty())
        sql += " WHERE " + base.sql();
    sql += " GROUP BY " + quoted.join(", ") + " ORDER BY " + quoted.join(", ");

    auto run = [&]() {
        auto q = std::make_unique<Query>(db);
        q->prepare(sql);
        for (auto it = base.binds().begin(); it != base.binds().end(); ++it)
            q->bind(it.key(), it.value());
        q->exec();
        return q;
    };
    std::unique_ptr<Query> q;
    try {
        q = run();
    } catch (const DbError &) {
        q = run(); // once more, as a busy library may refuse the first time
    }

    ClassNode root;
    root.level = 0;
    root.count = 0;
    QHash<QString, int> index;
    QSet<QString> present;
    const int depth = int(fields.size());
    while (q->next()) {
        const int n = q->value(depth).toInt();
        root.count += n;
        const QVariant v1 = q->value(0);
        present.insert(displayText(v1));
        if (isEmptyValue(v1))
            continue;
        // Every row walks down from the root again: a node's address holds only until
        // one of its siblings is added.
        QString pathKey;
        ClassNode *node = &childFor(root, pathKey, index, v1);
        node->count += n;
        for (int i = 1; i < depth; ++i) {
            const QVariant v = q->value(i);
            if (isEmptyValue(v))
                break;
            node = &childFor(*node, pathKey, index, v);
            node->count += n;
        }
    }
    finishLabels(root, countsOn);
    root.label = labelOf(rootCaption.isEmpty() ? QStringLiteral("全部") : rootCaption, root.count, countsOn);

    if (!hasAfterSaveSql) {
        QSet<QString> added;
        for (const QString &line : choiceList) {
            const QString value = line.trimmed();
            if (value.isEmpty() || value == QStringLiteral("列表选择...") || present.contains(value)
                || added.contains(value))
                continue;
            added.insert(value);
            ClassNode node;
            node.value = value;
            node.level = 1;
            node.count = countsOn ? 0 : -1;
            node.label = labelOf(value, 0, countsOn);
            node.path << QVariant(value);
            root.children << node;
        }
    }
    return root;
}

Condition ClassNodeCondition(const SqlDialect &d, const ClassFields &f, const ClassNode &node)
{
    const QStringList fields{f.f1, f.f2, f.f3};
    QList<Condition> parts;
    for (int i = 0; i < node.path.size() && i < 3; ++i) {
        const QVariant &v = node.path.at(i);
        parts << (isEmptyValue(v) ? Condition::isNullOrEmpty(d, fields.at(i))
                                  : Condition::compare(d, fields.at(i), Condition::Op::Eq, v));
    }
    return Condition::allOf(parts);
}

QList<QPair<QString, QVariant>> ClassNodeValues(const ClassFields &f, const ClassNode &node)
{
    const QStringList fields{f.f1, f.f2, f.f3};
    QList<QPair<QString, QVariant>> out;
    for (int i = 0; i < node.path.size() && i < 3; ++i)
        out << qMakePair(fields.at(i), node.path.at(i));
    return out;
}

QString ClassTreeText(const ClassNode &root)
{
    QString out;
    appendText(root, out);
    return out;
}

} // namespace vek
