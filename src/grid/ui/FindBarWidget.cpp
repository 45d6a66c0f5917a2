#include "FindBarWidget.h"

#include "grid/FindBar.h"
#include "grid/GridSession.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vek {

FindBarWidget::FindBarWidget(GridSession &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("FindBar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(new QLabel(QStringLiteral("查找字段"), this));
    m_field = new QComboBox(this);
    m_field->setObjectName(QStringLiteral("findField"));
    m_field->setMinimumWidth(110);
    row->addWidget(m_field);
    row->addWidget(new QLabel(QStringLiteral("关系"), this));
    m_relation = new QComboBox(this);
    m_relation->setObjectName(QStringLiteral("findRelation"));
    m_relation->addItems(FindRelationLabels());
    row->addWidget(m_relation);
    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("findValue"));
    m_value->setToolTip(QStringLiteral("中文内容可拼音字头输入，如人民日报可输入rmrb或rm?b"));
    m_value->setPlaceholderText(m_value->toolTip());
    m_value->setMinimumWidth(220);
    row->addWidget(m_value, 1);
    m_take = new QCheckBox(QStringLiteral("取表格值"), this);
    m_take->setObjectName(QStringLiteral("takeCellValue"));
    row->addWidget(m_take);
    m_filterButton = new QPushButton(QStringLiteral("筛选(&X)"), this);
    m_filterButton->setObjectName(QStringLiteral("filterButton"));
    m_filterButton->setCheckable(true);
    row->addWidget(m_filterButton);
    m_findButton = new QPushButton(QStringLiteral("查找(&S)"), this);
    m_findButton->setObjectName(QStringLiteral("findButton"));
    row->addWidget(m_findButton);

    connect(m_filterButton, &QPushButton::clicked, this, &FindBarWidget::filter);
    connect(m_findButton, &QPushButton::clicked, this, &FindBarWidget::find);
    connect(m_value, &QLineEdit::textEdited, this, &FindBarWidget::valueEdited);
    refillFields();
}

void FindBarWidget::refillFields()
{
    m_field->clear();
    for (const GridField &f : m_session.fields())
        m_field->addItem(f.caption, f.name);
    m_relation->setCurrentIndex(0);
}

QString FindBarWidget::currentField() const
{
    return m_field->currentData().toString();
}

int FindBarWidget::currentKind() const
{
    const int i = m_field->currentIndex();
    return i >= 0 && i < m_session.fields().size() ? int(m_session.fields().at(i).kind) : int(ColumnInfo::Kind::Text);
}

bool FindBarWidget::takeCellValue() const
{
    return m_take->isChecked();
}

void FindBarWidget::takeCell(const QString &field, const QString &text)
{
    const int i = m_field->findData(field);
    if (i >= 0)
        m_field->setCurrentIndex(i);
    m_value->setText(text);
}

bool FindBarWidget::settle()
{
    return !m_settle || m_settle();
}

void FindBarWidget::filter()
{
    Prompter &p = m_session.context().prompter;
    const auto kind = ColumnInfo::Kind(currentKind());
    if (m_filterOn) {
        if (!settle()) {
            m_filterButton->setChecked(true);
            return;
        }
        try {
            m_session.setFilter({});
        } catch (const DbError &e) {
            p.error(e.message());
        }
        m_filterOn = false;
        m_filterButton->setChecked(false);
        Q_EMIT filtered();
        return;
    }
    m_filterButton->setChecked(false);
    if (const auto bad = CheckFindValue(kind, m_value->text(), false)) {
        p.message(Prompter::systemCaption(), *bad, Prompter::Icon::Error);
        m_value->setFocus();
        return;
    }
    if (!settle())
        return;
    try {
        m_session.setFilter(FindBarFilter(m_session.context().db.dialect(), currentField(), kind,
                                          FindRelation(m_relation->currentIndex()), m_value->text()));
    } catch (const DbError &e) {
        p.error(e.message());
        return;
    }
    m_filterOn = true;
    m_filterButton->setChecked(true);
    Q_EMIT filtered();
}

void FindBarWidget::find()
{
    Prompter &p = m_session.context().prompter;
    const auto kind = ColumnInfo::Kind(currentKind());
    if (const auto bad = CheckFindValue(kind, m_value->text(), true)) {
        p.message(Prompter::systemCaption(), *bad, Prompter::Icon::Error);
        m_value->setFocus();
        return;
    }
    if (!settle())
        return;
    int row = -1;
    try {
        row = FindNextRow(m_session.context().db, m_session.records(), currentField(), kind,
                          FindRelation(m_relation->currentIndex()), m_value->text());
    } catch (const DbError &e) {
        p.error(e.message());
        return;
    }
    if (row < 0) {
        p.message(Prompter::systemCaption(), QStringLiteral("对不起，没找到你指定的记录!"), Prompter::Icon::Information);
        return;
    }
    Q_EMIT rowFound(row);
}

void FindBarWidget::valueEdited(const QString &text)
{
    const auto kind = ColumnInfo::Kind(currentKind());
    const bool textField = kind == ColumnInfo::Kind::Text || kind == ColumnInfo::Kind::Memo;
    if (!textField && !text.isEmpty())
        return;
    const QString field = currentField();
    if (field.isEmpty() || !settle())
        return;
    try {
        if (text.isEmpty()) {
            m_session.setFilter({});
        } else {
            if (field != m_distinctField) {
                m_distinct = DistinctValues(m_session.context().db, m_session.records().table(), field, m_session.base());
                m_distinctField = field;
            }
            m_session.setFilter(InitialsFilter(m_session.context().db.dialect(), field, m_distinct, text));
        }
    } catch (const DbError &e) {
        m_session.context().prompter.error(e.message());
        return;
    }
    m_filterOn = false;
    m_filterButton->setChecked(false);
    Q_EMIT filtered();
}

} // namespace vek
