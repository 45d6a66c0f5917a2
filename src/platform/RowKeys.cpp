#include "RowKeys.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace vek {

bool RowKeys::integral(const QVariant &key, qint64 *out)
{
    switch (key.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
        *out = key.toLongLong();
        return true;
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        if (key.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return false;
        *out = key.toLongLong();
        return true;
    default:
        return false;
    }
}

void RowKeys::clear()
{
    m_integers = true;
    std::vector<qint64>().swap(m_ints);
    m_vars = QVariantList();
}

void RowKeys::reserve(qsizetype n)
{
    if (m_integers)
        m_ints.reserve(size_t(n));
    else
        m_vars.reserve(n);
}

QVariant RowKeys::value(qsizetype i) const
{
    if (i < 0 || i >= size())
        return {};
    return m_integers ? QVariant(qlonglong(m_ints[size_t(i)])) : m_vars.at(i);
}

void RowKeys::fillPositions(qsizetype n)
{
    clear();
    m_ints.resize(size_t(n));
    std::iota(m_ints.begin(), m_ints.end(), qint64(0));
}

void RowKeys::toVariants()
{
    m_vars.reserve(qsizetype(m_ints.size()) + 1);
    for (qint64 k : m_ints)
        m_vars.append(QVariant(qlonglong(k)));
    std::vector<qint64>().swap(m_ints);
    m_integers = false;
}

void RowKeys::append(const QVariant &key)
{
    qint64 n = 0;
    if (m_integers && integral(key, &n)) {
        m_ints.push_back(n);
        return;
    }
    if (m_integers)
        toVariants();
    m_vars.append(key);
}

void RowKeys::removeAt(qsizetype i)
{
    if (i < 0 || i >= size())
        return;
    if (m_integers)
        m_ints.erase(m_ints.begin() + i);
    else
        m_vars.removeAt(i);
}

bool RowKeys::matches(qsizetype i, const QVariant &key) const
{
    if (i < 0 || i >= size())
        return false;
    if (!m_integers)
        return m_vars.at(i) == key;
    qint64 n = 0;
    return integral(key, &n) && m_ints[size_t(i)] == n;
}

qsizetype RowKeys::indexOf(const QVariant &key) const
{
    if (!m_integers)
        return m_vars.indexOf(key);
    qint64 n = 0;
    if (!integral(key, &n))
        return -1;
    const auto it = std::find(m_ints.begin(), m_ints.end(), n);
    return it == m_ints.end() ? -1 : qsizetype(it - m_ints.begin());
}

} // namespace vek
