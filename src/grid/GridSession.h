#pragma once

#include "ClassificationTree.h"
#include "ColumnPlan.h"
#include "FooterValues.h"
#include "GridViewModel.h"
#include "RecordRules.h"
#include "SchoolMode.h"

#include "dictionary/DictionaryKey.h"
#include "platform/AppContext.h"
#include "platform/Condition.h"

#include <memory>
#include <optional>

namespace vek {

class FieldDictionary;

// What the shell hands to a grid window: the resource's catalog row, prepared.
struct GridResource {
    int id = 0;
    QString title;
    QString table;
    QString storedFilter;      // the standing filter, user and today as placeholders
    QVariantMap filterBinds;   // their values
    QString fieldList;         // select list; empty = every field
    bool formEditing = false;  // add/modify go through the data form
    QString afterSaveSql;
    QString afterSaveHint;
    QString queryFields;
    QString recordLabel;       // label before the record count, "记录数" when empty
    QString groupHint;         // root of the classification tree, "全部" when empty
    QString numberingGroupField;
    bool groupCounts = false;
    bool browseMode = false;   // a plain table of a library without catalog
};

// A field the find bar and the classification field list offer.
struct GridField {
    QString name;
    QString caption;
    ColumnInfo::Kind kind = ColumnInfo::Kind::Text;
};

// The widget-free state of one grid window: the resource, its standing condition (kept
// under every other filter), the lazy model, the record rules hung on the record set,
// the column plan, the classification and the footers. Windows stay thin over it.
class GridSession {
public:
    GridSession(AppContext &ctx, GridResource resource);
    ~GridSession();

    // Reads the standing filter (a filter that cannot be read stops here: the resource
    // is never shown unfiltered) and opens the record set. Throws DbError.
    void open();

    AppContext &context() { return m_ctx; }
    const GridResource &resource() const { return m_resource; }
    DictionaryKey dictionaryKey() const;
    GridViewModel &model() { return *m_model; }
    RecordSet &records() { return m_model->records(); }
    RecordRules &rules() { return *m_rules; }

    std::optional<QString> birthdayField() const { return m_birthdayField; }
    const SchoolSetup &school() const { return m_school; }
    bool specialMode() const { return m_birthdayField.has_value() || m_school.kind != SchoolKind::None; }

    // Conditions: the standing one, and what the find bar, the tree, the retrieval panel
    // or the birthday list put over it.
    const Condition &base() const { return m_base; }
    const Condition &extra() const { return m_extra; }
    Condition current() const { return m_base && m_extra; }
    // Requeries under base && extra, keeping the sort and the current record.
    void setFilter(const Condition &extra);

    // Rule set-up: the lists from the dictionary and the user's rights on the resource.
    void setUpRules();
    bool mayUpdate() const { return m_rules->mayUpdate(); }

    // Columns from the settings and the dictionary.
    const ColumnPlan &buildColumns();
    const ColumnPlan &plan() const { return m_plan; }

    // Fields of the find bar and the classification lists (auto numbers left out).
    const QList<GridField> &fields() const { return m_fields; }
    QString fieldOfCaption(const QString &caption) const;

    // Classification.
    ClassFields classFields() const;
    ClassNode buildClassTree(const ClassFields &f, bool countsOn);
    // Filters by the node and lets new records take its values.
    void selectClassNode(const ClassFields &f, const ClassNode &node);

    FooterResult footers();

private:
    void readFields();

    AppContext &m_ctx;
    GridResource m_resource;
    std::unique_ptr<GridViewModel> m_model;
    std::unique_ptr<RecordRules> m_rules;
    Condition m_base;
    Condition m_extra;
    std::optional<QString> m_birthdayField;
    SchoolSetup m_school;
    ColumnPlan m_plan;
    QList<GridField> m_fields;
};

} // namespace vek
