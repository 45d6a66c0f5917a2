#include "FooterView.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

namespace vek {

FooterView::FooterView(QTableView *table, QWidget *parent) : QWidget(parent), m_table(table)
{
    setObjectName(QStringLiteral("gridFooter"));
    QHeaderView *h = table->horizontalHeader();
    connect(h, &QHeaderView::sectionResized, this, qOverload<>(&QWidget::update));
    connect(h, &QHeaderView::sectionMoved, this, qOverload<>(&QWidget::update));
    connect(h, &QHeaderView::geometriesChanged, this, qOverload<>(&QWidget::update));
    connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    setVisible(false);
}

int FooterView::rowHeight() const
{
    return fontMetrics().height() + 6;
}

void FooterView::setRows(int rows)
{
    m_rows = rows;
    setVisible(rows > 0);
    setFixedHeight(rows * rowHeight() + 2);
    update();
}

void FooterView::setCell(int row, int logicalColumn, const QString &text)
{
    m_cells.insert(key(row, logicalColumn), text);
    update();
}

void FooterView::clearCells()
{
    m_cells.clear();
    update();
}

QSize FooterView::sizeHint() const
{
    return QSize(200, m_rows * rowHeight() + 2);
}

void FooterView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QHeaderView *h = m_table->horizontalHeader();
    // Columns start where the table's viewport starts (after the row numbers).
    const int origin = mapFromGlobal(m_table->viewport()->mapToGlobal(QPoint(0, 0))).x();
    p.setPen(palette().mid().color());
    for (int row = 0; row < m_rows; ++row) {
        const int top = 1 + row * rowHeight();
        for (int logical = 0; logical < h->count(); ++logical) {
            if (h->isSectionHidden(logical))
                continue;
            const int x = origin + h->sectionViewportPosition(logical);
            const QRect r(x, top, h->sectionSize(logical), rowHeight());
            if (r.right() < origin || r.left() > width())
                continue;
            p.setPen(palette().mid().color());
            p.drawRect(r.adjusted(0, 0, -1, -1));
            const QString text = cell(row, logical);
            if (!text.isEmpty()) {
                p.setPen(palette().text().color());
                p.drawText(r.adjusted(3, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, text);
            }
        }
    }
}

} // namespace vek
