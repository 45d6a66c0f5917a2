#include "FooterValues.h"

#include "TableNames.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <cmath>

namespace vek {

namespace {

QVariant asNumber(const QVariant &v, bool wholeAllowed)
{
    if (v.isNull())
        return {};
    bool ok = false;
    const double d = v.toString().toDouble(&ok); // PostgreSQL sends numeric as text
    if (!ok)
        return {};
    if (wholeAllowed) {
        const QMetaType::Type t = QMetaType::Type(v.metaType().id());
        const bool wholeType = t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::UInt
                               || t == QMetaType::ULongLong;
        // A numeric sent as text is whole when it has no fraction part.
        const bool wholeText = t == QMetaType::QString && !v.toString().contains('.')
                               && !v.toString().contains('e', Qt::CaseInsensitive) && std::fabs(d) < 9e15;
        if (wholeType)
            return QVariant(v.toLongLong());
        if (wholeText)
            return QVariant(qlonglong(std::llround(d)));
    }
    return d;
}

} // namespace

FooterResult ComputeFooters(TDModule &db, const QString &table, const Condition &where, const FooterRequest &req)
{
    FooterResult result;
    if (req.isEmpty())
        return result;
    const SqlDialect &d = db.dialect();
    const TableNames names(db, table);
    // SQLite lets a numeric column hold '' (imported empties); such a value is empty, not 0.
    auto arg = [&](const QString &field) {
        const QString f = names.field(field);
        return d.engine() == Engine::Sqlite ? "NULLIF(" + f + ", '')" : f;
    };
    QStringList terms;
    for (const QString &f : req.sum)
        terms << "SUM(" + arg(f) + ")"; // and a sum of whole numbers stays whole
    for (const QString &f : req.average)
        terms << "AVG(" + arg(f) + ")";
    for (const QString &f : req.count)
        terms << "COUNT(" + arg(f) + ")";
    QString sql = "SELECT " + terms.join(", ") + " FROM " + names.table();
    if (!where.isEmpty())
        sql += " WHERE " + where.sql();

    Query q(db);
    q.prepare(sql);
    for (auto it = where.binds().begin(); it != where.binds().end(); ++it)
        q.bind(it.key(), it.value());
    q.exec();
    if (!q.next())
        return result;
    int i = 0;
    for (const QString &f : req.sum)
        result.sum.insert(f, asNumber(q.value(i++), true));
    for (const QString &f : req.average)
        result.average.insert(f, asNumber(q.value(i++), false));
    for (const QString &f : req.count)
        result.count.insert(f, QVariant(q.value(i++).toLongLong()));
    return result;
}

QString FooterText(const QVariant &value)
{
    if (value.isNull())
        return {};
    const QMetaType::Type t = QMetaType::Type(value.metaType().id());
    if (t == QMetaType::LongLong || t == QMetaType::Int)
        return QString::number(value.toLongLong());
    return QString::number(value.toDouble(), 'f', 2);
}

} // namespace vek
