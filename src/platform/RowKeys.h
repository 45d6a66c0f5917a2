#pragma once

#include <QList>
#include <QVariant>
#include <vector>

namespace vek {

// The keys of a record set, one per row in display order. Whole-number keys (SQLite's
// rowid, integer primary keys) are kept as plain numbers: a million of them take 8 MB
// instead of a QVariant each. The first key of another type (a text primary key) turns
// the store into a list of variants.
class RowKeys {
public:
    bool integers() const { return m_integers; }
    qsizetype size() const { return m_integers ? qsizetype(m_ints.size()) : m_vars.size(); }
    bool isEmpty() const { return size() == 0; }
    void clear();
    void reserve(qsizetype n);

    // The key of row i; a null QVariant out of range.
    QVariant value(qsizetype i) const;
    // Only while integers(): the key of row i, which must be in range.
    qint64 intAt(qsizetype i) const { return m_ints[size_t(i)]; }
    // Row numbers 0 .. n-1 as keys (rows read by position).
    void fillPositions(qsizetype n);

    void append(const QVariant &key);
    void appendInt(qint64 key) { m_integers ? m_ints.push_back(key) : m_vars.append(QVariant(key)); }
    RowKeys &operator<<(const QVariant &key)
    {
        append(key);
        return *this;
    }
    void removeAt(qsizetype i);

    // The first row holding key, or -1.
    qsizetype indexOf(const QVariant &key) const;
    // Whether row i holds key.
    bool matches(qsizetype i, const QVariant &key) const;

    // A whole-number key as a number; false for any other value.
    static bool integral(const QVariant &key, qint64 *out);

private:
    void toVariants();

    bool m_integers = true;
    std::vector<qint64> m_ints;
    QVariantList m_vars;
};

} // namespace vek
