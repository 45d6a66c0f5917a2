#include "TfrmAppProperty.h"

#include "security/Permissions.h"

#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vek {

namespace {

const QString kCaption = QStringLiteral("应用窗体属性");

// Runs an action of the dialog; a refusal or a database failure is told to the user.
template <typename Action>
bool reported(Prompter &prompter, const QString &failure, Action action)
{
    try {
        action();
        return true;
    } catch (const PermissionDenied &e) {
        prompter.warning(e.text());
    } catch (const DbError &e) {
        prompter.error(failure + e.message());
    }
    return false;
}

QWidget *scrolled(QWidget *parent, QVBoxLayout *&rows)
{
    auto *area = new QScrollArea(parent);
    area->setWidgetResizable(true);
    auto *inner = new QWidget(area);
    rows = new QVBoxLayout(inner);
    rows->setContentsMargins(2, 2, 2, 2);
    rows->setSpacing(0);
    rows->addStretch(1);
    area->setWidget(inner);
    return area;
}

} // namespace

TfrmAppProperty::TfrmAppProperty(AppContext &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_model(ctx.db, ctx.user)
{
    setObjectName(QStringLiteral("TfrmAppProperty"));
    setWindowTitle(kCaption);
    setFixedSize(425, 402);

    auto *layout = new QVBoxLayout(this);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stack"));
    layout->addWidget(m_stack, 1);

    m_pages = new QTabWidget(m_stack);
    m_pages->setObjectName(QStringLiteral("pages"));
    auto *general = new QWidget(m_pages);
    general->setObjectName(QStringLiteral("pageGeneral"));
    m_pages->addTab(general, QStringLiteral("常规"));
    m_stack->addWidget(m_pages);

    m_fieldPanel = new QWidget(m_stack);
    m_fieldPanel->setObjectName(QStringLiteral("fieldPanel"));
    auto *panelLayout = new QVBoxLayout(m_fieldPanel);
    auto *header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("字段名称"), m_fieldPanel), 2);
    auto *readHead = new QLabel(QStringLiteral("读权限"), m_fieldPanel);
    readHead->setToolTip(QStringLiteral("是否显示字段内容"));
    auto *writeHead = new QLabel(QStringLiteral("写权限"), m_fieldPanel);
    writeHead->setToolTip(QStringLiteral("是否允许用户写字段"));
    header->addWidget(readHead, 1);
    header->addWidget(writeHead, 1);
    panelLayout->addLayout(header);
    panelLayout->addWidget(scrolled(m_fieldPanel, m_fieldRows), 1);
    m_stack->addWidget(m_fieldPanel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto button = [this, buttons](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    m_ok = button(QStringLiteral("确定"), "btnOk");
    m_cancel = button(QStringLiteral("取消"), "btnCancel");
    m_fieldOk = button(QStringLiteral("确定"), "btnFieldOk");
    m_fieldCancel = button(QStringLiteral("取消"), "btnFieldCancel");
    m_fieldOk->hide();
    m_fieldCancel->hide();
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TfrmAppProperty::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_fieldOk, &QPushButton::clicked, this, &TfrmAppProperty::confirmFieldRights);
    connect(m_fieldCancel, &QPushButton::clicked, this, &TfrmAppProperty::closeFieldRights);
}

TfrmAppProperty::~TfrmAppProperty() = default;

QString TfrmAppProperty::fieldRightsHint(const QString &userId)
{
    return userId + QStringLiteral(":共享字段读写设置");
}

bool TfrmAppProperty::load(int resourceId)
{
    if (!reported(m_ctx.prompter, {}, [&] { m_model.load(resourceId); }))
        return false;
    buildGeneralPage(m_pages->widget(0));
    if (m_model.accessPageAvailable())
        buildAccessPage();
    // Without the access page the dialog only informs: nothing to confirm.
    m_ok->setVisible(m_model.accessPageAvailable());
    return true;
}

void TfrmAppProperty::buildGeneralPage(QWidget *page)
{
    const AppPropertyGeneral &p = m_model.properties();
    auto *form = new QFormLayout(page);
    auto line = [&](const QString &label, const QString &text, const char *name) {
        auto *edit = new QLineEdit(text, page);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        auto *l = new QLabel(label, page);
        l->setObjectName(QStringLiteral("lbl") + QLatin1String(name).mid(3));
        form->addRow(l, edit);
    };
    line(QStringLiteral("窗体名称:"), p.title, "edtTitle");
    line(QStringLiteral("数据库DSN:"), p.databaseAlias, "edtDsn");
    line(p.tableLabel(), p.tableText(), "edtTable");
    line(QStringLiteral("创建时间:"), p.createDate, "edtCreateDate");
    line(QStringLiteral("创建者:"), p.createPerson, "edtCreatePerson");
    line(QStringLiteral("拥有者:"), p.owner, "edtOwner");
    line(QStringLiteral("说明:"), p.description, "edtDescription");
}

void TfrmAppProperty::buildAccessPage()
{
    m_accessPage = new QWidget(m_pages);
    m_accessPage->setObjectName(QStringLiteral("pageAccess"));
    auto *layout = new QVBoxLayout(m_accessPage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrolled(m_accessPage, m_userRows));
    m_pages->addTab(m_accessPage, QStringLiteral("访问控制"));

    const auto &users = m_model.users();
    for (int i = 0; i < users.size(); ++i) {
        const AppPropertyUser &u = users.at(i);
        auto *row = new QWidget(m_accessPage);
        row->setObjectName(QStringLiteral("userRow_") + u.userId);
        row->setFixedHeight(30);
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(2, 0, 2, 0);
        auto *name = new QLabel(u.userId, row);
        name->setObjectName(QStringLiteral("userId"));
        name->setMinimumWidth(70);
        h->addWidget(name);
        auto *role = new QLabel(u.roleLabel(), row);
        role->setObjectName(QStringLiteral("role"));
        role->hide();
        for (const RightBox &def : kRightBoxes) {
            auto *box = new QCheckBox(QString::fromUtf8(def.label), row);
            box->setObjectName(QLatin1String(def.name));
            h->addWidget(box);
            const Right right = def.right;
            connect(box, &QCheckBox::clicked, this, [this, i, right](bool on) {
                m_model.setRight(i, right, on);
                refreshUserRow(i);
            });
        }
        if (m_model.fieldRightsAvailable()) {
            auto *fields = new QToolButton(row);
            fields->setObjectName(QStringLiteral("fieldRights"));
            fields->setText(QStringLiteral("..."));
            fields->setToolTip(fieldRightsHint(u.userId));
            h->addWidget(fields);
            connect(fields, &QToolButton::clicked, this, [this, i] { openFieldRights(i); });
        }
        if (u.fixed) {
            // System users and the owner hold every right: shown, never edited.
            row->setStyleSheet(QStringLiteral("color: red;"));
            row->setEnabled(false);
        }
        m_userRows->insertWidget(m_userRows->count() - 1, row);
        m_userRowWidgets << row;
        refreshUserRow(i);
    }
}

void TfrmAppProperty::refreshUserRow(int row)
{
    const RightsRecord &r = m_model.users().at(row).rights;
    for (const RightBox &def : kRightBoxes) {
        if (auto *box = m_userRowWidgets.at(row)->findChild<QCheckBox *>(QLatin1String(def.name))) {
            const QSignalBlocker block(box);
            box->setChecked(r.get(def.right));
        }
    }
}

void TfrmAppProperty::openFieldRights(int row)
{
    const QString userId = m_model.users().at(row).userId;
    auto model = std::make_unique<FieldRightModel>(m_ctx.db, m_ctx.user);
    if (!reported(m_ctx.prompter, {}, [&] { model->load(m_model.properties().id, userId); }))
        return;
    m_fieldModel = std::move(model);
    const auto &fields = m_fieldModel->fields();
    for (int i = 0; i < fields.size(); ++i) {
        auto *r = new QWidget(m_fieldPanel);
        r->setObjectName(QStringLiteral("fieldRow_") + fields.at(i).fieldName);
        r->setFixedHeight(22);
        auto *h = new QHBoxLayout(r);
        h->setContentsMargins(2, 0, 2, 0);
        h->addWidget(new QLabel(fields.at(i).fieldName, r), 2);
        auto *read = new QCheckBox(QStringLiteral("允许读"), r);
        read->setObjectName(QStringLiteral("read"));
        read->setChecked(fields.at(i).read);
        auto *write = new QCheckBox(QStringLiteral("允许写"), r);
        write->setObjectName(QStringLiteral("write"));
        write->setChecked(fields.at(i).write);
        h->addWidget(read, 1);
        h->addWidget(write, 1);
        connect(read, &QCheckBox::clicked, this, [this, i](bool on) { m_fieldModel->setRead(i, on); });
        connect(write, &QCheckBox::clicked, this, [this, i](bool on) { m_fieldModel->setWrite(i, on); });
        m_fieldRows->insertWidget(m_fieldRows->count() - 1, r);
    }
    setWindowTitle(QStringLiteral("字段授权:") + fieldRightsHint(userId));
    m_ok->hide();
    m_cancel->hide();
    m_fieldOk->show();
    m_fieldCancel->show();
    m_stack->setCurrentWidget(m_fieldPanel);
}

void TfrmAppProperty::closeFieldRights()
{
    while (m_fieldRows->count() > 1) {
        QLayoutItem *item = m_fieldRows->takeAt(0);
        delete item->widget();
        delete item;
    }
    m_fieldModel.reset();
    setWindowTitle(kCaption);
    m_fieldOk->hide();
    m_fieldCancel->hide();
    m_ok->setVisible(m_model.accessPageAvailable());
    m_cancel->show();
    m_stack->setCurrentWidget(m_pages);
}

void TfrmAppProperty::confirmFieldRights()
{
    if (m_fieldModel
        && !reported(m_ctx.prompter, QStringLiteral("字段权限保存失败: "), [&] { m_fieldModel->save(); }))
        return; // the panel stays open with what was ticked
    closeFieldRights();
}

void TfrmAppProperty::confirm()
{
    if (reported(m_ctx.prompter, QStringLiteral("权限保存失败: "), [&] { m_model.save(); }))
        accept();
}

bool ShowResourceProperties(AppContext &ctx, int resourceId, QWidget *parent)
{
    TfrmAppProperty dialog(ctx, parent);
    if (!dialog.load(resourceId))
        return false;
    dialog.exec();
    return true;
}

} // namespace vek
