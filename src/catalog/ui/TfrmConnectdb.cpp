#include "TfrmConnectdb.h"

#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

TfrmConnectdb::TfrmConnectdb(TDModule &db, IniFile &ini, Prompter &prompter, const Options &options, QWidget *parent)
    : QDialog(parent), m_db(db), m_ini(ini), m_prompter(prompter), m_options(options)
{
    setObjectName("TfrmConnectdb");
    setWindowTitle(QStringLiteral("用户登录"));
    m_driver = new QComboBox(this);
    m_driver->setObjectName("connectDriver");
    m_driver->addItems({QStringLiteral("SQL Server"), QStringLiteral("MS Access"), QStringLiteral("Dbase 文件"),
                        QStringLiteral("其他数据源...")});
    m_server = new QLineEdit(ini.value("DATABASE", "SERVERNAME"), this);
    m_server->setObjectName("connectServer");
    m_server->setPlaceholderText(QStringLiteral("主机名或 主机名:端口"));
    m_database = new QLineEdit(ini.value("DATABASE", "DATABASENAME"), this);
    m_database->setObjectName("connectDatabase");
    m_user = new QLineEdit(ini.value("DATABASE", "UserName"), this);
    m_user->setObjectName("connectUser");
    m_password = new QLineEdit(this);
    m_password->setObjectName("connectPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName("connectBrowse");
    m_browse->setFixedWidth(32);
    m_establish = new QCheckBox(QStringLiteral("建立数据库应用"), this);
    m_establish->setObjectName("connectEstablish");

    auto *dbRow = new QHBoxLayout;
    dbRow->addWidget(m_database, 1);
    dbRow->addWidget(m_browse);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("数据库类型"), m_driver);
    form->addRow(QStringLiteral("服务器"), m_server);
    form->addRow(QStringLiteral("数据库"), dbRow);
    form->addRow(QStringLiteral("用户名"), m_user);
    form->addRow(QStringLiteral("密码"), m_password);
    form->addRow(QString(), m_establish);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("connectOk");
    QPushButton *cancel = buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("connectCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmConnectdb::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TfrmConnectdb::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (options.browseMode) {
        m_driver->setCurrentIndex(qBound(0, ini.intValue("DATABASE", "ServerId", 0), 3));
    } else {
        m_driver->setCurrentIndex(0);
        m_driver->setEnabled(false);
    }
    connect(m_driver, &QComboBox::currentIndexChanged, this, &TfrmConnectdb::driverChanged);
    connect(m_browse, &QPushButton::clicked, this, &TfrmConnectdb::chooseFile);
    driverChanged();
    m_establish->setVisible(options.sqlServerSwitch && !options.browseMode);
    resize(420, height());
}

void TfrmConnectdb::driverChanged()
{
    const auto d = ConnectDriver(m_driver->currentIndex());
    m_browse->setVisible(d == ConnectDriver::LocalFile || d == ConnectDriver::DbaseFolder);
    m_establish->setVisible(m_options.sqlServerSwitch && d == ConnectDriver::Server);
    m_server->setEnabled(d == ConnectDriver::Server);
}

void TfrmConnectdb::chooseFile()
{
    const bool dbase = ConnectDriver(m_driver->currentIndex()) == ConnectDriver::DbaseFolder;
    QString selected = dbase ? QStringLiteral("Dbase(*.dbf)") : QStringLiteral("数据库文件(*.vek *.db *.sqlite)");
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择数据文件"), QString(),
                                                      QStringLiteral("数据库文件(*.vek *.db *.sqlite);;Dbase(*.dbf)"),
                                                      &selected);
    if (!file.isEmpty())
        m_database->setText(dbase ? QFileInfo(file).absolutePath() : file);
}

ConnectRequest TfrmConnectdb::request() const
{
    ConnectRequest r;
    r.driver = ConnectDriver(m_driver->currentIndex());
    r.params = ServerParams::fromServerName(m_server->text());
    r.params.database = m_database->text().trimmed();
    r.params.user = m_user->text().trimmed();
    r.params.password = m_password->text();
    r.establish = !m_establish->isHidden() && m_establish->isChecked();
    return r;
}

bool TfrmConnectdb::tryConnect()
{
    QString error;
    if (!ConnectFromDialog(m_db, m_ini, request(), &error)) {
        m_prompter.message(Prompter::systemCaption(), error, Prompter::Icon::Error);
        return false;
    }
    return true;
}

void TfrmConnectdb::accept()
{
    if (tryConnect())
        QDialog::accept();
}

} // namespace vek
