#include "TfrmRecord.h"

#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vek {

namespace {

constexpr int kPerColumn = 20;
constexpr int kColumnStep = 120;
constexpr int kRowStep = 22;

// A page of boxes in columns of twenty, placed as the list has always been laid out.
template <typename Toggle>
QWidget *boxPage(QWidget *parent, const QString &prefix, const QList<NamePickerModel::Entry> &entries,
                 Toggle toggle)
{
    auto *area = new QScrollArea(parent);
    auto *inner = new QWidget(area);
    int width = 0;
    for (int i = 0; i < entries.size(); ++i) {
        auto *box = new QCheckBox(entries.at(i).name, inner);
        box->setObjectName(prefix + entries.at(i).name);
        box->setChecked(entries.at(i).checked);
        box->setGeometry(8 + (i / kPerColumn) * kColumnStep, 8 + (i % kPerColumn) * kRowStep, kColumnStep - 4,
                         kRowStep);
        width = 8 + (i / kPerColumn + 1) * kColumnStep;
        QObject::connect(box, &QCheckBox::clicked, parent, [toggle, i](bool on) { toggle(i, on); });
    }
    inner->setMinimumSize(width, 16 + qMin(int(entries.size()), kPerColumn) * kRowStep);
    area->setWidget(inner);
    return area;
}

} // namespace

TfrmRecord::TfrmRecord(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx), m_model(ctx.db)
{
    setObjectName(QStringLiteral("TfrmRecord"));
    setWindowTitle(QStringLiteral("选择接收消息用户"));
    resize(520, 540);
}

bool TfrmRecord::load(const NameList &given)
{
    try {
        m_model.load(given);
    } catch (const DbError &e) {
        m_ctx.prompter.error(e.message());
        return false;
    }
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("pages"));
    QWidget *users = boxPage(this, QStringLiteral("user_"), m_model.users(),
                             [this](int i, bool on) { m_model.setUserChecked(i, on); });
    users->setObjectName(QStringLiteral("pageUsers"));
    QWidget *groups = boxPage(this, QStringLiteral("group_"), m_model.groups(),
                              [this](int i, bool on) { m_model.setGroupChecked(i, on); });
    groups->setObjectName(QStringLiteral("pageGroups"));
    tabs->addTab(users, QStringLiteral("用户"));
    tabs->addTab(groups, QStringLiteral("用户组"));
    layout->addWidget(tabs, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return true;
}

bool PickUsersAndGroups(AppContext &ctx, NameList &list, QWidget *parent)
{
    TfrmRecord dialog(ctx, parent);
    if (!dialog.load(list) || dialog.exec() != QDialog::Accepted)
        return false;
    list = dialog.names();
    return true;
}

} // namespace vek
