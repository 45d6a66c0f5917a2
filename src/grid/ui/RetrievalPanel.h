#pragma once

#include "grid/RetrievalQuery.h"
#include "platform/Condition.h"

#include <QSet>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vek {

struct AppContext;

// The retrieval panel ("查询"): one input box per field of the plan, at the planned rows,
// with an upper-bound box for number and date ranges. Number boxes take only numbers,
// date boxes offer a calendar while they have the focus, text boxes a "浏览" button that
// picks one of the field's values under the standing filter.
//
// "查询" emits the condition of the filled boxes, every value bound (the window puts its
// standing filter in front of it); "清除" empties the boxes; "取消查询" emits
// queryCancelled; "关闭" hides the panel and emits closeRequested.
//
// objectNames: "RetrievalPanel"; per field f: "box_" + f, "upper_" + f, "browse_" + f,
// "label_" + f; the calendar "datePicker"; buttons "queryButton", "clearButton",
// "cancelQueryButton", "closeButton".
class RetrievalPanel : public QWidget {
    Q_OBJECT
public:
    // Shows the values of a field and returns the one chosen, or nothing.
    using ValueBrowser = std::function<std::optional<QString>(const QString &fieldTitle, const QStringList &values)>;

    // title: the resource title (dictionary key of the labels); base: the standing filter
    // the value browser lists under.
    RetrievalPanel(AppContext &ctx, const QString &table, const QString &title, const ColumnList &columns,
                   const QString &queryFields, const Condition &base, QWidget *parent = nullptr);

    void setBase(const Condition &base) { m_base = base; }
    void setValueBrowser(ValueBrowser browser) { m_browser = std::move(browser); }

    const QList<RetrievalBox> &boxes() const { return m_boxes; }
    QLineEdit *box(const QString &field) const;
    QLineEdit *upperBox(const QString &field) const;
    QCalendarWidget *datePicker() const { return m_picker; }

    // The condition of the filled boxes; nothing (after the message) when a box holds
    // what its field cannot take.
    std::optional<Condition> condition();
    void clearBoxes();

Q_SIGNALS:
    void queryRequested(const vek::Condition &condition);
    void queryCancelled();
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildBoxes(const QString &title);
    QLineEdit *addBox(QWidget *content, const RetrievalBox &b, int left, bool upper);
    void addLabel(QWidget *content, const QString &text, const QString &field, int left, int top);
    void checkNumber(QLineEdit *edit, const QString &text);
    void browse(int boxIndex, const QString &fieldTitle);
    void showPicker(QLineEdit *target);
    void pickDate(const QDate &date);
    void runQuery();

    AppContext &m_ctx;
    QString m_table;
    Condition m_base;
    QList<RetrievalBox> m_boxes;
    QList<QLineEdit *> m_lower;
    QList<QLineEdit *> m_upper; // nullptr where a box has no upper bound
    QSet<QLineEdit *> m_dateBoxes;
    QLineEdit *m_dateTarget = nullptr; // the date box the calendar writes to
    QCalendarWidget *m_picker;
    ValueBrowser m_browser;
};

} // namespace vek
