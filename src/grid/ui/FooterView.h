#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>

class QHeaderView;
class QTableView;

namespace vek {

// The footer rows under a grid (sum, average, count), kept in step with the columns
// above: their widths, order and horizontal scrolling.
class FooterView : public QWidget {
    Q_OBJECT
public:
    explicit FooterView(QTableView *table, QWidget *parent = nullptr);

    // rows: one per footer row present; cells by logical column.
    void setRows(int rows);
    int rows() const { return m_rows; }
    void setCell(int row, int logicalColumn, const QString &text);
    QString cell(int row, int logicalColumn) const { return m_cells.value(key(row, logicalColumn)); }
    void clearCells();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static qint64 key(int row, int column) { return (qint64(row) << 32) | quint32(column); }
    int rowHeight() const;

    QTableView *m_table;
    int m_rows = 0;
    QHash<qint64, QString> m_cells;
};

} // namespace vek
