#pragma once

#include "platform/Condition.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace vek {

class TDModule;

// Fields whose footer shows a sum, an average or a count.
struct FooterRequest {
    QStringList sum;
    QStringList average;
    QStringList count;
    bool isEmpty() const { return sum.isEmpty() && average.isEmpty() && count.isEmpty(); }
};

// Values by field name as requested. A sum or average over no values is a null QVariant;
// sums of whole numbers are qlonglong, other sums and averages double, counts qlonglong.
struct FooterResult {
    QMap<QString, QVariant> sum;
    QMap<QString, QVariant> average;
    QMap<QString, QVariant> count;
};

// All footers of a grid in one aggregate query over the rows of where. Averages and counts
// take the non-empty values only (COUNT(f), AVG(f)). Throws DbError.
FooterResult ComputeFooters(TDModule &db, const QString &table, const Condition &where, const FooterRequest &req);

// Footer cell text: whole numbers as they are, others with two decimals; empty for null.
QString FooterText(const QVariant &value);

} // namespace vek
