#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QListWidget;
class QPushButton;

namespace vek {

// The value browser of the retrieval panel: a modal list of a field's values, titled
// "选择:" + the field's title, the first entry selected. "确认" or a double-click accepts
// the selected entry, "取消" rejects.
//
// objectNames: list "valueList", buttons "okButton", "cancelButton".
class TfrmBrowseFieldList : public QDialog {
    Q_OBJECT
public:
    TfrmBrowseFieldList(const QString &fieldTitle, const QStringList &values, QWidget *parent = nullptr);

    // The selected entry; empty when nothing is selected.
    QString chosen() const;
    QListWidget *list() const { return m_list; }

    // Shows the browser and waits: the chosen entry, or nothing when the user cancelled
    // or there was nothing to choose.
    static std::optional<QString> browse(QWidget *parent, const QString &fieldTitle, const QStringList &values);

private:
    void acceptChosen();

    QListWidget *m_list;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace vek
