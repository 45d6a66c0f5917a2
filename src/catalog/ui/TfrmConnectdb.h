#pragma once

#include "catalog/ServerConnection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vek {

class IniFile;
class Prompter;

// "用户登录": the connection dialog. Fields come preset from section DATABASE of the
// settings file (the password stays empty).
class TfrmConnectdb : public QDialog {
    Q_OBJECT
public:
    struct Options {
        bool browseMode = false;      // the driver list is enabled
        bool sqlServerSwitch = false; // "建立数据库应用" may be offered
    };

    TfrmConnectdb(TDModule &db, IniFile &ini, Prompter &prompter, const Options &options, QWidget *parent = nullptr);

    ConnectRequest request() const;
    // "确定(&O)": true when connected; on failure the error is shown and the dialog stays.
    bool tryConnect();
    void accept() override;

private:
    void driverChanged();
    void chooseFile();

    TDModule &m_db;
    IniFile &m_ini;
    Prompter &m_prompter;
    Options m_options;
    QComboBox *m_driver;
    QLineEdit *m_server;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_browse;
    QCheckBox *m_establish;
};

} // namespace vek
