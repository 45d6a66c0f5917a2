#include "SchoolPanel.h"

#include "TfrmClassAdjust.h"

#include "dictionary/FieldDictionary.h"
#include "platform/AppContext.h"
#include "platform/Condition.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/RecordSet.h"
#include "platform/TDModule.h"
#include "security/Permissions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vek {

namespace {

const QString kCheckAll = QStringLiteral("全部选中");
const QString kClearAll = QStringLiteral("全部清除");

QString cellText(const QVariant &v, const ColumnInfo &c)
{
    if (v.isNull())
        return QString();
    if (c.kind == ColumnInfo::Kind::Date && v.canConvert<QDate>() && v.toDate().isValid())
        return v.toDate().toString(Qt::ISODate);
    return v.toString();
}

} // namespace

SchoolPanel::SchoolPanel(AppContext &ctx, const SchoolSetup &setup, const QString &table, const QString &title,
                         bool mayUpdate, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_setup(setup), m_table(table), m_title(title), m_mayUpdate(mayUpdate),
      m_list(new QTreeWidget(this)), m_count(new QLabel(this)), m_checkAll(new QPushButton(kCheckAll, this)),
      m_action(new QPushButton(setup.actionCaption, this)), m_close(new QPushButton(QStringLiteral("关闭"), this))
{
    setObjectName("SchoolPanel");
    m_list->setObjectName("studentList");
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_count->setObjectName("countLabel");
    m_checkAll->setObjectName("checkAllButton");
    m_action->setObjectName("actionButton");
    m_close->setObjectName("closeButton");

    connect(m_checkAll, &QPushButton::clicked, this, &SchoolPanel::toggleAll);
    connect(m_action, &QPushButton::clicked, this, &SchoolPanel::runAction);
    connect(m_close, &QPushButton::clicked, this, &SchoolPanel::closeRequested);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    buttons->addWidget(m_checkAll);
    buttons->addWidget(m_action);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    updateCount();
}

void SchoolPanel::showStudents(const Condition &where, const QString &className)
{
    m_className = className;
    m_list->clear();
    try {
        RecordSet rows(m_ctx.db);
        rows.open(m_table, {}, where.sql(), where.binds());
        m_keyExpr = rows.readOnly() ? QString() : rows.keyExpression();

        FieldDictionary dict(m_ctx.db);
        const DictionaryKey key(m_title, rows.table());
        ColumnList shown;
        QStringList titles;
        for (const ColumnInfo &c : rows.columns()) {
            if (c.name.compare(m_setup.statusField, Qt::CaseInsensitive) == 0)
                continue;
            shown << c;
            titles << (c.name.compare(m_setup.numberField, Qt::CaseInsensitive) == 0
                           ? c.name
                           : dict.GetGridTitle(key, c.name));
        }
        m_list->setColumnCount(int(shown.size()));
        m_list->setHeaderLabels(titles);

        QList<QTreeWidgetItem *> items;
        for (int r = 0; r < rows.rowCount(); ++r) {
            auto *item = new QTreeWidgetItem;
            for (int c = 0; c < shown.size(); ++c)
                item->setText(c, cellText(rows.valueAt(r, shown[c].name), shown[c]));
            item->setData(0, Qt::UserRole, rows.keyAt(r));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, m_setup.startChecked ? Qt::Checked : Qt::Unchecked);
            items << item;
        }
        m_list->addTopLevelItems(items);
    } catch (const DbError &e) {
        m_list->clear();
        m_ctx.prompter.error(e.message());
    }
    // Without row keys (a table without a primary key) a batch could not name its rows.
    m_action->setEnabled(!m_keyExpr.isEmpty());
    updateCount();
}

int SchoolPanel::studentCount() const
{
    return m_list->topLevelItemCount();
}

QVariantList SchoolPanel::checkedKeys() const
{
    QVariantList keys;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_list->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            keys << item->data(0, Qt::UserRole);
    }
    return keys;
}

void SchoolPanel::toggleAll()
{
    const bool check = m_checkAll->text() == kCheckAll;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setCheckState(0, check ? Qt::Checked : Qt::Unchecked);
    m_checkAll->setText(check ? kClearAll : kCheckAll);
}

void SchoolPanel::runAction()
{
    if (!m_mayUpdate) {
        m_ctx.prompter.error(Permissions::noRightsText());
        return;
    }
    if (m_keyExpr.isEmpty())
        return;
    if (m_setup.kind == SchoolKind::Graduate)
        graduate();
    else if (m_setup.kind == SchoolKind::ChangeClass || m_setup.kind == SchoolKind::Promote)
        changeClass();
}

void SchoolPanel::graduate()
{
    if (!m_ctx.prompter.confirm(GraduateConfirmText()))
        return;
    try {
        const int n = GraduateStudents(m_ctx.db, m_table, m_setup, checkedKeys(), m_keyExpr);
        removeChecked();
        Q_EMIT studentsChanged();
        m_ctx.prompter.info(GraduateDoneText(n));
    } catch (const DbError &e) {
        m_ctx.prompter.error(QStringLiteral("毕业处理失败，没有学生被修改: ") + e.message());
    }
}

void SchoolPanel::changeClass()
{
    QStringList names;
    try {
        names = SchoolClassNames(m_ctx.db, m_setup, m_className);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return;
    }
    const std::optional<QString> target =
        m_chooser ? m_chooser(names) : TfrmClassAdjust::choose(window(), names);
    if (!target || target->isEmpty())
        return;
    try {
        const int n = ChangeStudentsClass(m_ctx.db, m_table, m_setup, checkedKeys(), m_keyExpr, *target);
        removeChecked();
        Q_EMIT studentsChanged();
        m_ctx.prompter.info(ClassChangeDoneText(n));
    } catch (const DbError &e) {
        m_ctx.prompter.error(QStringLiteral("班级调整失败，没有学生被修改: ") + e.message());
    }
}

void SchoolPanel::removeChecked()
{
    for (int i = m_list->topLevelItemCount() - 1; i >= 0; --i) {
        if (m_list->topLevelItem(i)->checkState(0) == Qt::Checked)
            delete m_list->takeTopLevelItem(i);
    }
    updateCount();
}

void SchoolPanel::updateCount()
{
    m_count->setText(QStringLiteral("学生数:") + QString::number(studentCount()));
    Q_EMIT countChanged(studentCount());
}

} // namespace vek
