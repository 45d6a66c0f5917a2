#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace vek {

class IniFile;
class Prompter;

// "分组显示": chooses up to three classification fields by caption. Opening it turns the
// classification tree on (ClassDisplay) and pre-selects the stored ClassField,
// ClassField1 and ClassField2 of the resource's section. "确定" stores the choice, a field
// repeated at a lower level dropped, then hides and emits accepted(); "取消" hides.
// A settings file that cannot be written is reported and the dialog stays open.
//
// objectNames: combos "classCombo0", "classCombo1", "classCombo2"; buttons "okButton",
// "cancelButton".
class TfrmClassDialog : public QDialog {
    Q_OBJECT
public:
    TfrmClassDialog(IniFile &ini, Prompter &prompter, const QString &section, const QStringList &captions,
                    QWidget *parent = nullptr);

    // New field captions (the field list changed); the stored choice is shown again.
    void setCaptions(const QStringList &captions);
    QComboBox *combo(int level) const { return m_combos.value(level); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loadChoice();
    void store();

    IniFile &m_ini;
    Prompter &m_prompter;
    QString m_section;
    QList<QComboBox *> m_combos;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace vek
