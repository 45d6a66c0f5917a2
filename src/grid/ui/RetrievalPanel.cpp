#include "RetrievalPanel.h"

#include "TfrmBrowseFieldList.h"

#include "dictionary/FieldDictionary.h"
#include "grid/FindBar.h"
#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vek {

namespace {

constexpr int kBoxWidth = 130;
constexpr int kBoxHeight = 22;
constexpr int kLabelWidth = 100;
constexpr int kLabelGap = 10;
constexpr int kBrowseWidth = 48;
constexpr int kUpperLeft = 410;

int rowTop(int row)
{
    return row * 30 + 8;
}

bool isNumberKind(ColumnInfo::Kind k)
{
    return k == ColumnInfo::Kind::Integer || k == ColumnInfo::Kind::Float || k == ColumnInfo::Kind::Currency;
}

bool isDateKind(ColumnInfo::Kind k)
{
    return k == ColumnInfo::Kind::Date || k == ColumnInfo::Kind::DateTime;
}

// A number on its way to being typed ("-", "1.", ".5"): not refused while typing; the
// query refuses it if it stays incomplete.
bool isNumberBeingTyped(const QString &text)
{
    static const QRegularExpression partial(QStringLiteral("^[+-]?[0-9]*\\.?[0-9]*$"));
    return partial.match(text).hasMatch();
}

const QString kNotANumber = QStringLiteral("输入非法的数值！");

} // namespace

RetrievalPanel::RetrievalPanel(AppContext &ctx, const QString &table, const QString &title,
                               const ColumnList &columns, const QString &queryFields, const Condition &base,
                               QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_table(table), m_base(base), m_boxes(PlanRetrieval(columns, queryFields)),
      m_picker(new QCalendarWidget(this))
{
    setObjectName("RetrievalPanel");

    m_picker->setObjectName("datePicker");
    m_picker->setWindowFlags(Qt::Popup);
    m_picker->setGridVisible(true);
    m_picker->hide();
    connect(m_picker, &QCalendarWidget::clicked, this, &RetrievalPanel::pickDate);
    connect(m_picker, &QCalendarWidget::activated, this, &RetrievalPanel::pickDate);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName("retrievalScroll");
    scroll->setWidget(buildBoxes(title));
    scroll->setWidgetResizable(false);

    auto *query = new QPushButton(QStringLiteral("查询"), this);
    auto *clear = new QPushButton(QStringLiteral("清除"), this);
    auto *cancel = new QPushButton(QStringLiteral("取消查询"), this);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    query->setObjectName("queryButton");
    query->setDefault(true);
    clear->setObjectName("clearButton");
    cancel->setObjectName("cancelQueryButton");
    close->setObjectName("closeButton");
    connect(query, &QPushButton::clicked, this, &RetrievalPanel::runQuery);
    connect(clear, &QPushButton::clicked, this, &RetrievalPanel::clearBoxes);
    connect(cancel, &QPushButton::clicked, this, &RetrievalPanel::queryCancelled);
    connect(close, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT closeRequested();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {query, clear, cancel, close})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
}

QWidget *RetrievalPanel::buildBoxes(const QString &title)
{
    auto *content = new QWidget;
    content->setObjectName("retrievalBoxes");
    FieldDictionary dict(m_ctx.db);
    const DictionaryKey key(title, m_table);
    int rows = 0;
    for (int i = 0; i < m_boxes.size(); ++i) {
        const RetrievalBox &b = m_boxes[i];
        const QString fieldTitle = dict.GetGridTitle(key, b.field);
        const int top = rowTop(b.row);
        rows = qMax(rows, b.row + 1);
        addLabel(content, fieldTitle + ":", b.field, b.left, top);
        m_lower << addBox(content, b, b.left, false);
        if (b.browseButton) {
            auto *browseButton = new QPushButton(QStringLiteral("浏览"), content);
            browseButton->setObjectName("browse_" + b.field);
            browseButton->setGeometry(b.left + kBoxWidth + 2, top, kBrowseWidth, kBoxHeight);
            connect(browseButton, &QPushButton::clicked, this, [this, i, fieldTitle] { browse(i, fieldTitle); });
        }
        if (b.hasUpper) {
            addLabel(content, b.upperLabel, QString(), kUpperLeft, top);
            m_upper << addBox(content, b, kUpperLeft, true);
        } else {
            m_upper << nullptr;
        }
    }
    content->setFixedSize(kUpperLeft + kBoxWidth + kBrowseWidth + 12, rowTop(rows) + 8);
    return content;
}

void RetrievalPanel::addLabel(QWidget *content, const QString &text, const QString &field, int left, int top)
{
    auto *label = new QLabel(text, content);
    if (!field.isEmpty())
        label->setObjectName("label_" + field);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(left - kLabelGap - kLabelWidth, top, kLabelWidth, kBoxHeight);
}

QLineEdit *RetrievalPanel::addBox(QWidget *content, const RetrievalBox &b, int left, bool upper)
{
    auto *edit = new QLineEdit(content);
    edit->setObjectName((upper ? "upper_" : "box_") + b.field);
    edit->setToolTip(b.field);
    edit->setGeometry(left, rowTop(b.row), kBoxWidth, kBoxHeight);
    if (isNumberKind(b.kind)) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString &text) { checkNumber(edit, text); });
    } else if (isDateKind(b.kind)) {
        m_dateBoxes.insert(edit);
        edit->installEventFilter(this);
    }
    return edit;
}

QLineEdit *RetrievalPanel::box(const QString &field) const
{
    for (int i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i].field == field)
            return m_lower[i];
    }
    return nullptr;
}

QLineEdit *RetrievalPanel::upperBox(const QString &field) const
{
    for (int i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i].field == field)
            return m_upper[i];
    }
    return nullptr;
}

void RetrievalPanel::checkNumber(QLineEdit *edit, const QString &text)
{
    if (IsRetrievalNumber(text) || isNumberBeingTyped(text))
        return;
    edit->clear();
    m_ctx.prompter.warning(kNotANumber);
}

void RetrievalPanel::browse(int boxIndex, const QString &fieldTitle)
{
    QStringList values;
    try {
        values = DistinctValues(m_ctx.db, m_table, m_boxes[boxIndex].field, m_base);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return;
    }
    const std::optional<QString> chosen =
        m_browser ? m_browser(fieldTitle, values) : TfrmBrowseFieldList::browse(window(), fieldTitle, values);
    if (chosen)
        m_lower[boxIndex]->setText(*chosen);
}

bool RetrievalPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && event->type() == QEvent::FocusIn && m_dateBoxes.contains(edit)) {
        // Focus coming back from the calendar itself must not open it again.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            showPicker(edit);
    }
    return QWidget::eventFilter(watched, event);
}

void RetrievalPanel::showPicker(QLineEdit *target)
{
    m_dateTarget = target;
    const QDate typed = QDate::fromString(target->text().trimmed(), Qt::ISODate);
    m_picker->setSelectedDate(typed.isValid() ? typed : m_ctx.clock.today());
    m_picker->move(target->mapToGlobal(QPoint(0, target->height())));
    m_picker->show();
}

void RetrievalPanel::pickDate(const QDate &date)
{
    if (m_dateTarget && date.isValid())
        m_dateTarget->setText(date.toString(QStringLiteral("yyyy-MM-dd")));
    m_picker->hide();
}

std::optional<Condition> RetrievalPanel::condition()
{
    QList<RetrievalInput> inputs;
    for (int i = 0; i < m_boxes.size(); ++i)
        inputs << RetrievalInput{m_lower[i]->text(), m_upper[i] ? m_upper[i]->text() : QString()};
    try {
        return RetrievalCondition(m_ctx.db.dialect(), m_boxes, inputs);
    } catch (const DbError &e) {
        m_ctx.prompter.warning(e.message());
        return std::nullopt;
    }
}

void RetrievalPanel::clearBoxes()
{
    for (int i = 0; i < m_boxes.size(); ++i) {
        m_lower[i]->clear();
        if (m_upper[i])
            m_upper[i]->clear();
    }
}

void RetrievalPanel::runQuery()
{
    if (const std::optional<Condition> c = condition())
        Q_EMIT queryRequested(*c);
}

} // namespace vek
