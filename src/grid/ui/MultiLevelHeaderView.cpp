#include "MultiLevelHeaderView.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace vek {

MultiLevelHeaderView::MultiLevelHeaderView(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(true);
    setDefaultAlignment(Qt::AlignCenter);
}

void MultiLevelHeaderView::setMark(int logical, Mark mark)
{
    m_marks.clear();
    if (mark != Mark::None)
        m_marks.insert(logical, mark);
    viewport()->update();
}

void MultiLevelHeaderView::clearMarks()
{
    m_marks.clear();
    viewport()->update();
}

QStringList MultiLevelHeaderView::levels(int logical) const
{
    if (!model())
        return {};
    const QString title = model()->headerData(logical, orientation(), Qt::DisplayRole).toString();
    return title.split(QLatin1Char('|'));
}

int MultiLevelHeaderView::levelCount() const
{
    int n = 1;
    for (int i = 0; model() && i < count(); ++i)
        n = qMax(n, int(levels(i).size()));
    return n;
}

int MultiLevelHeaderView::levelHeight() const
{
    return fontMetrics().height() + 8;
}

QSize MultiLevelHeaderView::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    s.setHeight(levelHeight() * levelCount());
    return s;
}

void MultiLevelHeaderView::paintSection(QPainter *painter, const QRect &rect, int logical) const
{
    const QStringList own = levels(logical);
    const int depth = levelCount();
    const int h = rect.height() / depth;
    const int visual = visualIndex(logical);
    auto samePrefix = [&](int otherVisual, int level) {
        const int other = logicalIndex(otherVisual);
        if (other < 0 || isSectionHidden(other))
            return false;
        const QStringList o = levels(other);
        if (o.size() <= level + 1 || own.size() <= level + 1)
            return false; // a last level never spans
        for (int i = 0; i <= level; ++i) {
            if (o.value(i) != own.value(i))
                return false;
        }
        return true;
    };
    for (int level = 0; level < depth; ++level) {
        const bool last = level >= own.size() - 1;
        QRect r(rect.left(), rect.top() + level * h, rect.width(), last ? rect.height() - level * h : h);
        if (!last) {
            // The first section of a run paints the spanning cell; the others leave it.
            if (visual > 0 && samePrefix(visual - 1, level))
                continue;
            int right = rect.right();
            for (int v = visual + 1; v < count() && samePrefix(v, level); ++v)
                right = sectionViewportPosition(logicalIndex(v)) + sectionSize(logicalIndex(v)) - 1;
            r.setRight(right);
        }
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = r;
        opt.section = logical;
        opt.textAlignment = m_centered || !last ? Qt::AlignCenter : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
        opt.text = own.value(level);
        if (last) {
            const Mark m = mark(logical);
            opt.sortIndicator = m == Mark::Ascending    ? QStyleOptionHeader::SortUp
                                : m == Mark::Descending ? QStyleOptionHeader::SortDown
                                                        : QStyleOptionHeader::None;
        }
        painter->save();
        style()->drawControl(QStyle::CE_Header, &opt, painter, this);
        painter->restore();
        if (last)
            break;
    }
}

} // namespace vek
