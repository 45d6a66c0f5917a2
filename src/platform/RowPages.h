#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <vector>

namespace vek {

class Query;
class RowKeys;
class TDModule;

// Row values of a record set, read a page of rows at a time and kept for the pages used
// last, so memory follows what is on screen, not the size of the table.
class RowPages {
public:
    static constexpr int kPageRows = 64;
    // About a thousand rows: the screen, a scroll around it and a few places jumped to.
    static constexpr int kMaxPages = 16;

    static int pageStart(int row) { return row - row % kPageRows; }

    // The values of row, or nullptr when its page is not here.
    const QVariantList *find(int row);
    // Keeps rows read from position first (evicting the page used longest ago) and
    // returns the values of row, which must be one of them.
    const QVariantList &store(int first, QList<QVariantList> rows, int row);
    // Forgets the page holding row (it changed, or a row was added to it).
    void remove(int row);
    void clear() { m_pages.clear(); }

private:
    struct Page {
        int first = 0;
        QList<QVariantList> rows;
        quint64 used = 0;
    };
    std::vector<Page> m_pages;
    quint64 m_clock = 0;
};

// Rows first .. first+count-1 of a keyed set, in one query by their keys. A key no longer
// in the table (deleted elsewhere) gives a row of nulls, so the rows after it keep their
// places. table and keyExpr are SQL already quoted; selectList names the columns.
// reuse keeps the statement prepared last: screens read page after page with the same text.
QList<QVariantList> ReadRowsByKey(TDModule &db, const QString &table, const QString &selectList, const QString &keyExpr,
                                  const RowKeys &keys, int first, int count, int columns,
                                  std::unique_ptr<Query> *reuse = nullptr);

// The same for a set without row identity: select is the whole statement before LIMIT.
QList<QVariantList> ReadRowsByPosition(TDModule &db, const QString &select, const QVariantMap &binds, int first,
                                       int count, int columns);

} // namespace vek
