#include "CopyRecord.h"

#include "platform/DbError.h"
#include "platform/RecordSet.h"

namespace vek {

namespace {

bool isEmptyValue(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return true;
    if (v.metaType().id() == QMetaType::QByteArray)
        return v.toByteArray().isEmpty();
    if (v.metaType().id() == QMetaType::QString)
        return v.toString().isEmpty();
    return false;
}

} // namespace

QVariantMap RememberForCopy(RecordSet &rs, const QStringList &autoNumberedFields)
{
    QVariantMap out;
    for (const ColumnInfo &c : rs.columns()) {
        if (c.autoIncrement)
            continue;
        const bool numbered = std::any_of(autoNumberedFields.begin(), autoNumberedFields.end(), [&](const QString &f) {
            return f.trimmed().compare(c.name, Qt::CaseInsensitive) == 0;
        });
        if (numbered)
            continue;
        out.insert(c.name, rs.value(c.name));
    }
    return out;
}

void ApplyCopy(RecordSet &rs, const QVariantMap &values)
{
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (isEmptyValue(it.value()))
            continue;
        try {
            rs.setValue(it.key(), it.value());
        } catch (const DbError &) {
            // A field the new record lacks or refuses keeps its own value.
        }
    }
}

} // namespace vek
