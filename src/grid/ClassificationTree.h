#pragma once

#include "platform/Condition.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace vek {

class SqlDialect;
class TDModule;

// The up to three field names the classification tree groups by.
struct ClassFields {
    QString f1, f2, f3;
    QStringList list() const;
};

// Fields from the settings ClassField, ClassField1, ClassField2 (captions as the field
// lists show them). When the first is empty the others move up. captionToName gives the
// field of a caption, or an empty text when it knows none: the caption is then the name.
ClassFields ResolveClassFields(const QString &k0, const QString &k1, const QString &k2,
                               const std::function<QString(const QString &caption)> &captionToName);

// What the classification dialog stores: a choice that repeats an earlier one is empty.
struct ClassDialogChoice {
    QString first, second, third;
};
ClassDialogChoice NormaliseClassChoice(const QString &a, const QString &b, const QString &c);

struct ClassNode {
    QString label;         // shown text: the value, or value + "(" + n + ")"
    QVariant value;        // the stored value (never read back from the label)
    int level = 0;         // 0 root, 1..3
    int count = -1;        // records under the node; -1 when counts are off
    QList<ClassNode> children;
    QList<QVariant> path;  // values from level 1 down to this node
};

// The whole tree from one GROUP BY over the rows of base; every level lies under base.
// Values are trimmed for display and empty ones left out. The values of choiceList that no
// record holds follow under the root (with "(0)" when counting) unless the resource has
// an after-save statement; "列表选择..." is never a node. Throws DbError.
ClassNode BuildClassTree(TDModule &db, const QString &table, const ClassFields &f, const Condition &base,
                         const QStringList &choiceList, const QString &rootCaption, bool countsOn,
                         bool hasAfterSaveSql);

// The rows of a node, without the base filter (the caller combines: base && node). An
// empty value matches NULL and the empty text. The root gives an empty condition.
Condition ClassNodeCondition(const SqlDialect &d, const ClassFields &f, const ClassNode &node);

// Field values a new record takes from the selected node.
QList<QPair<QString, QVariant>> ClassNodeValues(const ClassFields &f, const ClassNode &node);

// The tree as text, one node a line, indented by one tab per level ("保存到文件").
QString ClassTreeText(const ClassNode &root);

} // namespace vek
