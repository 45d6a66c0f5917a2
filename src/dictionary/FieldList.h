#pragma once

#include <QString>
#include <QStringList>

namespace vek {

// The comma-joined field names of the record set a caller shows. An empty list, or
// exactly "*", admits every field; otherwise a field belongs to it when it equals one of
// the items (blanks around items ignored, letter case ignored).
class FieldList {
public:
    FieldList() = default;
    FieldList(const QString &commaList); // NOLINT: callers pass the list text as they hold it
    FieldList(const QStringList &names);

    bool admitsAll() const { return m_all; }
    bool contains(const QString &field) const { return m_all || indexOf(field) >= 0; }
    // The field as the list spells it (the record set's spelling), else field itself.
    QString spelling(const QString &field) const;
    const QStringList &names() const { return m_names; }

private:
    int indexOf(const QString &field) const;

    bool m_all = true;
    QStringList m_names;
};

} // namespace vek
