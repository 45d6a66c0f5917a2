#pragma once

#include "dictionary/FieldDictionary.h"
#include "platform/AppContext.h"
#include "platform/ColumnInfo.h"
#include "platform/Prompter.h"
#include "security/RightsRecord.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

namespace vek {

class Clock;
class RecordSet;
class TDModule;

// What the rules need of the resource a window shows (its usys_system row).
struct RuleResource {
    int id = 0;
    QString title;
    QString table;
    QString afterSaveSql;        // DDLSQL, empty = none
    QString afterSaveHint;       // DDLHint, empty = the default hint
    QString numberingGroupField; // first GroupText line when GroupCoding and one or two lines
};

// A record operation was refused by a rule. The user has already been told why, so a
// caller shows nothing more; the record set keeps the user's input.
class RecordRefused : public std::runtime_error {
public:
    explicit RecordRefused(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

// The record editing rules shared by grid windows and data forms: defaults, automatic
// numbers and classification values for new records, required / range / unique checks
// before a save, the resource's after-save statement, the delete question, and the
// user's rights on every write. Hang them on a RecordSet with attach(); the rules must
// outlive the hooks (detach() before destroying them).
class RecordRules {
public:
    RecordRules(TDModule &db, Prompter &prompter, const Clock &clock, const CurrentUser &user,
                RuleResource resource);
    RecordRules(const AppContext &ctx, RuleResource resource);

    // Builds the rule lists for the open record set rs and reads the user's rights.
    // Each list is built on its own: a failing lookup leaves only that list empty and
    // is reported by lastSetUpError(). Rights that cannot be read grant nothing.
    void setUp(const RecordSet &rs);
    QString lastSetUpError() const { return m_setUpError; }

    void attach(RecordSet &rs);
    void detach(RecordSet &rs);

    // Birthday and school modes switch the rules off; rights stay enforced.
    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }

    // The selected classification node's fields and values; a new record takes them.
    void setClassification(const QList<QPair<QString, QVariant>> &fieldValues) { m_classification = fieldValues; }

    // Multi-record deletes ask once themselves; while a QuietDelete lives the single
    // delete question is not asked.
    class QuietDelete {
    public:
        explicit QuietDelete(RecordRules &rules) : m_rules(rules) { ++m_rules.m_quietDeletes; }
        ~QuietDelete() { --m_rules.m_quietDeletes; }
        QuietDelete(const QuietDelete &) = delete;
        QuietDelete &operator=(const QuietDelete &) = delete;

    private:
        RecordRules &m_rules;
    };

    // Rights as read at setUp (all of them when rights are not in force).
    bool mayUpdate() const { return m_mayUpdate; }
    bool mayAdd() const { return m_mayUpdate && m_rights.add; }
    bool mayDelete() const { return m_mayUpdate && m_rights.remove; }
    RightsRecord rights() const { return m_rights; }
    // Shows the refusal and throws RecordRefused unless the user has the right; for
    // batch writes that bypass the hooks (multi-row delete, clear, school batches).
    void requireRight(Right right);

    // The hint shown after a successful after-save statement ("记录更新成功!" by default).
    QString afterSaveHint() const;

    // The rule lists, as built by setUp.
    const QList<FieldText> &defaults() const { return m_defaults; }
    const RequiredFields &required() const { return m_required; }
    const QStringList &uniqueFields() const { return m_unique; }
    const QStringList &autoAddFields() const { return m_autoAdd; }

    // The hooks; attach() installs them.
    void onBeforeInsert(RecordSet &rs);
    void onNewRecord(RecordSet &rs);
    void onBeforeEdit(RecordSet &rs);
    void onBeforePost(RecordSet &rs);
    void onAfterPost(RecordSet &rs);
    void onAfterCommit(RecordSet &rs);
    void onBeforeDelete(RecordSet &rs);

private:
    struct Range {
        QString field;
        double minValue = 0;
        double maxValue = 0;
    };

    [[noreturn]] void refuse(const QString &text, Prompter::Icon icon);
    void checkRequired(const RecordSet &rs);
    void checkRanges(const RecordSet &rs);
    void checkUnique(RecordSet &rs);
    void assign(RecordSet &rs, const QString &field, const QVariant &value);
    QVariant autoNumber(const RecordSet &rs, const ColumnInfo &column) const;
    bool runAfterSaveStatement(RecordSet &rs);

    TDModule &m_db;
    Prompter &m_prompter;
    const Clock &m_clock;
    CurrentUser m_user;
    RuleResource m_resource;

    bool m_enabled = true;
    int m_quietDeletes = 0;
    bool m_mayUpdate = false;
    RightsRecord m_rights;
    QString m_setUpError;

    ColumnList m_columns;
    QList<FieldText> m_defaults;
    RequiredFields m_required;
    QStringList m_unique;
    QStringList m_autoAdd;
    QList<Range> m_ranges;
    QMap<QString, QString> m_snapshot; // unique field (lower case) -> text when editing began
    QVariant m_groupValue;
    QList<QPair<QString, QVariant>> m_classification;
    bool m_afterSaveDone = false;
};

// Whether no row of table other than the one with key exceptKey (keyExpr is the key as
// SQL, RecordSet::keyExpression) holds value in field. Text compares ignoring letter
// case. Throws DbError.
bool IsValueUnique(TDModule &db, const QString &table, const QString &field, const QVariant &value,
                   const QVariant &exceptKey = {}, const QString &keyExpr = {});

// The highest value of field, among the rows whose groupField equals groupValue when a
// group field is given, as text (empty when there is none). Text columns count as
// numbers do: a longer text is higher ("10" above "9"). Throws DbError.
QString GetMaxValue(TDModule &db, const QString &table, const QString &field, const QString &groupField = {},
                    const QVariant &groupValue = {});

// The placeholders (":name" outside quotes and comments) of an after-save statement,
// in order of appearance, each name once.
QStringList AfterSaveParameterNames(const QString &statement);

} // namespace vek
