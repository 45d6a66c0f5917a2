#include "GridHandOver.h"

namespace vek {

GridResource GridResourceFor(const CurrentResource &r, bool browseMode)
{
    GridResource g;
    g.id = r.id;
    g.title = r.title;
    g.table = r.mainTable;
    g.storedFilter = r.filter.text;
    g.filterBinds = r.filter.binds;
    g.fieldList = r.fieldList;
    g.formEditing = r.flag == QLatin1String("0");
    g.afterSaveSql = r.afterSaveSql;
    g.afterSaveHint = r.afterSaveHint;
    g.queryFields = r.queryFields;
    g.recordLabel = r.recordHint;
    g.groupHint = r.groupHint;
    g.numberingGroupField = r.grouping.codedField;
    g.groupCounts = r.grouping.showCounts;
    g.browseMode = browseMode;
    return g;
}

} // namespace vek
