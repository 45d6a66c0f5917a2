#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QComboBox;
class QPushButton;

namespace vek {

// "班级调整处理": asks which class the checked students move to. "确认" accepts with the
// chosen class (refused while there is none), "取消" rejects.
//
// objectNames: combo "classCombo", buttons "okButton", "cancelButton".
class TfrmClassAdjust : public QDialog {
    Q_OBJECT
public:
    explicit TfrmClassAdjust(const QStringList &classNames, QWidget *parent = nullptr);

    QString chosen() const;
    QComboBox *combo() const { return m_combo; }

    // Shows the dialog and waits: the chosen class, or nothing when cancelled.
    static std::optional<QString> choose(QWidget *parent, const QStringList &classNames);

private:
    QComboBox *m_combo;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace vek
