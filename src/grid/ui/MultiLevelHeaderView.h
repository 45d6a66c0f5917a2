#pragma once

#include <QHeaderView>

namespace vek {

// Column titles in several levels: a "|" in a title splits it, and neighbouring columns
// that share the upper levels show them once, spanning all of them.
class MultiLevelHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit MultiLevelHeaderView(QWidget *parent = nullptr);

    void setCentered(bool on) { m_centered = on; }
    // Marks shown after the title of a sorted column.
    enum class Mark { None, Ascending, Descending };
    void setMark(int logical, Mark mark);
    Mark mark(int logical) const { return m_marks.value(logical, Mark::None); }
    void clearMarks();

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QStringList levels(int logical) const;
    int levelCount() const;
    int levelHeight() const;

    bool m_centered = false;
    QHash<int, Mark> m_marks;
};

} // namespace vek
