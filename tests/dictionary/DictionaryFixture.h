#pragma once

#include "catalog/Catalog.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "support/TestSupport.h"

#include <QMap>
#include <QStringList>
#include <QVariant>

namespace vek::test {

// A NULL TableName, as a public attribute written by an older program.
inline QVariant nullText()
{
    return QVariant(QMetaType(QMetaType::QString));
}

// Inserts one usys_dict row; column names as the catalog spells them.
inline void addDictRow(TDModule &db, const QMap<QString, QVariant> &values)
{
    QStringList cols;
    QStringList params;
    for (auto it = values.begin(); it != values.end(); ++it) {
        cols << db.dialect().quoteIdent(it.key());
        params << ":HostV" + QString::number(params.size());
    }
    Query q(db);
    q.prepare("INSERT INTO usys_dict (" + cols.join(", ") + ") VALUES (" + params.join(", ") + ")");
    int i = 0;
    for (auto it = values.begin(); it != values.end(); ++it)
        q.bind(":HostV" + QString::number(i++), it.value());
    q.exec();
}

// Both engines, with the full catalog in place.
class DictionaryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        CreateFullCatalog(db());
    }
    void row(const QVariant &key, const QString &field, QMap<QString, QVariant> values)
    {
        values["TableName"] = key;
        values["EField"] = field;
        addDictRow(db(), values);
    }
};

} // namespace vek::test
