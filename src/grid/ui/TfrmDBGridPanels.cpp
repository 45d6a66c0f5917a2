// The grid window's side panels: classification dialog, retrieval panel, birthday list
// and school modes.
#include "TfrmDBGrid.h"

#include "BirthdayPanel.h"
#include "ClassificationPane.h"
#include "FooterView.h"
#include "RetrievalPanel.h"
#include "SchoolPanel.h"
#include "TfrmClassDialog.h"

#include "grid/BirthdayList.h"
#include "grid/RecordHint.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QAction>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace vek {

void TfrmDBGrid::showClassDialog()
{
    QStringList captions;
    for (const GridField &f : m_session->fields())
        captions << f.caption;
    auto *dialog = findChild<TfrmClassDialog *>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new TfrmClassDialog(m_ctx.ini, m_ctx.prompter, m_session->resource().title, captions, this);
        connect(dialog, &QDialog::accepted, this, [this] {
            if (!settleEdit())
                return;
            setUpClassification();
        });
    }
    dialog->show();
    dialog->raise();
}

void TfrmDBGrid::toggleRetrieval()
{
    if (!m_retrieval) {
        // Built on first use.
        const GridResource &r = m_session->resource();
        m_retrieval = new RetrievalPanel(m_ctx, r.table, r.title, m_session->records().columns(), r.queryFields,
                                         m_session->base(), this);
        static_cast<QVBoxLayout *>(layout())->insertWidget(2, m_retrieval);
        connect(m_retrieval, &RetrievalPanel::queryRequested, this, [this](const Condition &c) {
            if (!settleEdit())
                return;
            try {
                m_session->setFilter(c);
            } catch (const DbError &e) {
                m_ctx.prompter.error(e.message());
            }
            afterRequery();
        });
        connect(m_retrieval, &RetrievalPanel::queryCancelled, this, [this] {
            if (!settleEdit())
                return;
            m_session->setFilter({});
            afterRequery();
        });
        connect(m_retrieval, &RetrievalPanel::closeRequested, m_retrieval, &QWidget::hide);
        m_retrieval->setVisible(true);
        return;
    }
    m_retrieval->setVisible(!m_retrieval->isVisible());
}

void TfrmDBGrid::setUpBirthdayMode()
{
    m_toolBar->setVisible(false);
    m_birthday = new BirthdayPanel(this);
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, m_birthday);
    const QString field = *m_session->birthdayField();
    auto apply = [this, field](BirthdayChoice c) {
        if (!settleEdit())
            return;
        try {
            m_session->setFilter(BirthdayCondition(m_ctx.db.dialect(), field, c, m_ctx.clock.today()));
        } catch (const DbError &e) {
            m_ctx.prompter.error(e.message());
        }
        afterRequery();
    };
    connect(m_birthday, &BirthdayPanel::choiceChanged, this, apply);
    connect(m_birthday, &BirthdayPanel::closeRequested, action("actClose"), &QAction::trigger);
    apply(m_birthday->choice());
}

void TfrmDBGrid::setUpSchoolMode()
{
    const SchoolSetup &setup = m_session->school();
    const GridResource &r = m_session->resource();
    m_toolBar->setVisible(false);
    m_table->setVisible(false);
    m_footer->setVisible(false);
    // The student list keeps its own count.
    m_recordLabel->setVisible(false);
    m_sortLabel->setVisible(false);
    m_school = new SchoolPanel(m_ctx, setup, r.table, r.title, m_session->mayUpdate(), m_table->parentWidget());
    static_cast<QVBoxLayout *>(m_table->parentWidget()->layout())->insertWidget(0, m_school, 1);
    connect(m_school, &SchoolPanel::countChanged, this, [this](int n) {
        Q_EMIT statusText(3, RecordCountLabel(QStringLiteral("学生数"), n));
    });
    connect(m_school, &SchoolPanel::studentsChanged, this, [this] {
        try {
            m_classPane->rebuild();
        } catch (const DbError &) {
        }
    });
    connect(m_school, &SchoolPanel::closeRequested, action("actClose"), &QAction::trigger);

    m_classPane->setCaption(QStringLiteral("班级分组"));
    m_classPane->setFieldListVisible(false);
    try {
        m_classPane->build(ClassFields{setup.classField, {}, {}}, r.groupCounts);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
    }
    m_classPane->setVisible(true);
    m_splitter->setSizes({180, qMax(400, width() - 180)});
    connect(m_classPane, &ClassificationPane::nodeSelected, this, [this, setup] {
        const QList<QVariant> path = m_classPane->selectedPath();
        if (path.isEmpty()) {
            m_school->showStudents(Condition::never()); // the root lists nobody
            return;
        }
        m_school->showStudents(m_session->current(), path.first().toString());
    });
    m_school->showStudents(Condition::never());
}

} // namespace vek
