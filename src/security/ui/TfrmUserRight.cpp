#include "TfrmUserRight.h"

#include "security/Permissions.h"

#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vek {

TfrmUserRight::TfrmUserRight(AppContext &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_model(ctx.db, ctx.user)
{
    setObjectName(QStringLiteral("TfrmUserRight"));
    setWindowTitle(QStringLiteral("权限设置"));
    resize(680, 457);
}

bool TfrmUserRight::load(const QString &userId)
{
    try {
        m_model.load(userId);
    } catch (const PermissionDenied &e) {
        m_ctx.prompter.warning(e.text());
        return false;
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return false;
    }

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("当前用户"), this));
    auto *user = new QLabel(m_model.userId(), this);
    user->setObjectName(QStringLiteral("lblUser"));
    top->addWidget(user);
    top->addStretch(1);
    layout->addLayout(top);

    auto *area = new QScrollArea(this);
    area->setWidgetResizable(true);
    auto *inner = new QWidget(area);
    m_rows = new QVBoxLayout(inner);
    m_rows->setSpacing(0);
    m_rows->addStretch(1);
    area->setWidget(inner);
    layout->addWidget(area, 1);

    const auto &resources = m_model.resources();
    for (int i = 0; i < resources.size(); ++i) {
        const UserRightEntry &e = resources.at(i);
        auto *row = new QWidget(inner);
        row->setObjectName(QStringLiteral("resRow_%1").arg(e.resourceId));
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(2, 0, 2, 0);
        auto *all = new QCheckBox(row);
        all->setObjectName(QStringLiteral("all"));
        h->addWidget(all);
        auto *title = new QLabel(e.title, row);
        title->setObjectName(QStringLiteral("title"));
        title->setMinimumWidth(200);
        if (e.shared) {
            title->setStyleSheet(QStringLiteral("color: blue;"));
            title->setToolTip(QStringLiteral("共享窗体"));
        }
        h->addWidget(title, 1);
        connect(all, &QCheckBox::clicked, this, [this, i](bool on) {
            m_model.setAll(i, on);
            refreshRow(i);
        });
        for (const RightBox &def : kRightBoxes) {
            auto *box = new QCheckBox(QString::fromUtf8(def.label), row);
            box->setObjectName(QLatin1String(def.name));
            h->addWidget(box);
            const Right right = def.right;
            connect(box, &QCheckBox::clicked, this, [this, i, right](bool on) {
                m_model.setRight(i, right, on);
                refreshRow(i);
            });
        }
        // Resources the user owns (or every one, for a system user) hold all rights.
        row->setEnabled(!e.fixed);
        m_rows->insertWidget(m_rows->count() - 1, row);
        m_rowWidgets << row;
        refreshRow(i);
    }

    auto *buttons = new QHBoxLayout;
    m_selectAll = new QPushButton(QStringLiteral("全选"), this);
    m_selectAll->setObjectName(QStringLiteral("btnSelectAll"));
    auto *saveButton = new QPushButton(QStringLiteral("保存"), this);
    saveButton->setObjectName(QStringLiteral("btnSave"));
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(m_selectAll);
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_selectAll, &QPushButton::clicked, this, &TfrmUserRight::toggleEverything);
    connect(saveButton, &QPushButton::clicked, this, &TfrmUserRight::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return true;
}

void TfrmUserRight::refreshRow(int row)
{
    const RightsRecord &r = m_model.resources().at(row).rights;
    QWidget *w = m_rowWidgets.at(row);
    for (const RightBox &def : kRightBoxes) {
        auto *box = w->findChild<QCheckBox *>(QLatin1String(def.name));
        const QSignalBlocker block(box);
        box->setChecked(r.get(def.right));
    }
    auto *all = w->findChild<QCheckBox *>(QStringLiteral("all"));
    const QSignalBlocker block(all);
    all->setChecked(r.allSet());
}

void TfrmUserRight::toggleEverything()
{
    m_allSelected = !m_allSelected;
    m_model.setEverything(m_allSelected);
    for (int i = 0; i < m_rowWidgets.size(); ++i)
        refreshRow(i);
    m_selectAll->setText(m_allSelected ? QStringLiteral("全清") : QStringLiteral("全选"));
}

void TfrmUserRight::save()
{
    try {
        m_model.save();
    } catch (const PermissionDenied &e) {
        m_ctx.prompter.warning(e.text());
        return;
    } catch (const DbError &e) {
        m_ctx.prompter.error(QStringLiteral("权限保存失败: ") + e.message());
        return;
    }
    m_ctx.prompter.info(QStringLiteral("用户") + m_model.userId() + QStringLiteral("权限设置保存完成!"));
    accept();
}

bool ShowUserRights(AppContext &ctx, const QString &userId, QWidget *parent)
{
    TfrmUserRight dialog(ctx, parent);
    if (!dialog.load(userId))
        return false;
    dialog.exec();
    return true;
}

} // namespace vek
