#pragma once

#include "FilterText.h"
#include "platform/Condition.h"

#include <QDate>
#include <QString>
#include <QVariantMap>

namespace vek {

class SqlDialect;

// Reads a resource's stored filter (the catalog's filter text in the old engine's style:
// [name], 'text', "text", #date#, = null, IS, LIKE with * and ?, IN, BETWEEN, month(),
// day(), year(), now(), date()) and renders it for the dialect with every literal bound.
// Placeholders already in the text (":HostCurrentUser", ":HostNow0" …) take their values
// from binds. Empty text gives the empty condition. Anything it cannot read throws
// DbError: a standing filter is never dropped, so the resource must not open unfiltered.
Condition ReadStoredFilter(const SqlDialect &d, const QString &text, const QVariantMap &binds = {},
                           const QDate &today = QDate::currentDate());

} // namespace vek
