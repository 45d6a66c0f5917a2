#include "TfrmToolAdd.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace vek {

TfrmToolAdd::TfrmToolAdd(Mode mode, QWidget *parent) : QDialog(parent), m_mode(mode)
{
    setObjectName(QStringLiteral("TfrmToolAdd"));
    setWindowTitle(mode == Mode::New ? QStringLiteral("添加应用程序或网络资源") : QStringLiteral("修改应用程序或网络资源"));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("editTitle"));
    m_title->setMaxLength(50); // width of usys_system.AppTitle
    m_title->setReadOnly(mode == Mode::Edit);
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("editAddress"));
    m_address->setMaxLength(100); // width of usys_system.ExeFileName
    auto *browse = new QPushButton(QStringLiteral("浏览..."), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    auto *addressRow = new QHBoxLayout;
    addressRow->addWidget(m_address, 1);
    addressRow->addWidget(browse);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("名称:"), m_title);
    form->addRow(QStringLiteral("程序或地址:"), addressRow);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(420, sizeHint().height());

    connect(browse, &QPushButton::clicked, this, &TfrmToolAdd::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TfrmToolAdd::setValues(const QString &title, const QString &address)
{
    m_title->setText(title);
    m_address->setText(address);
}

QString TfrmToolAdd::title() const
{
    return m_title->text().trimmed();
}

QString TfrmToolAdd::address() const
{
    return m_address->text().trimmed();
}

void TfrmToolAdd::applyChosenFile(const QString &path)
{
    if (path.isEmpty())
        return;
    m_address->setText(QDir::toNativeSeparators(path));
    if (m_title->text().trimmed().isEmpty() && m_mode == Mode::New)
        m_title->setText(QFileInfo(path).completeBaseName());
}

void TfrmToolAdd::browse()
{
    applyChosenFile(QFileDialog::getOpenFileName(this, QStringLiteral("增加实用程序"), QFileInfo(address()).path()));
}

} // namespace vek
