#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vek {

class GridSession;

// The find-and-filter bar: a field, a relation and a value; "筛选" toggles the filter
// on and off, "查找" moves to the next matching record, and typing pinyin initials in
// the value box of a text field narrows the records as the user types.
class FindBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit FindBarWidget(GridSession &session, QWidget *parent = nullptr);

    // Called before the bar requeries; false keeps everything as it is (a pending edit
    // the user did not give up).
    void setSettle(std::function<bool()> settle) { m_settle = std::move(settle); }
    void refillFields();

    bool takeCellValue() const;
    // "取表格值": the cell's field and text into the bar.
    void takeCell(const QString &field, const QString &text);

    void filter();
    void find();
    bool filterOn() const { return m_filterOn; }

Q_SIGNALS:
    void rowFound(int row);
    void filtered();

private:
    QString currentField() const;
    int currentKind() const;
    void valueEdited(const QString &text);
    bool settle();

    GridSession &m_session;
    std::function<bool()> m_settle;
    QComboBox *m_field;
    QComboBox *m_relation;
    QLineEdit *m_value;
    QCheckBox *m_take;
    QPushButton *m_filterButton;
    QPushButton *m_findButton;
    bool m_filterOn = false;
    QString m_distinctField;
    QStringList m_distinct;
};

} // namespace vek
