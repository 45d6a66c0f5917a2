#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace vek {

class RecordChoice;

// The record chooser ("选择"): a read-only grid over the rows of a RecordChoice, whole
// rows selected, every second row tinted. "选中" (or a double-click on a row) accepts the
// row the user is on; the caller then reads the choice's current record.
//
// objectNames: grid "recordGrid", label "hintLabel", button "chooseButton".
class TfrmDisplayRecord : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDisplayRecord(RecordChoice &choice, QWidget *parent = nullptr);

    QTableView *grid() const { return m_grid; }
    QPushButton *chooseButton() const { return m_choose; }

private:
    void choose();

    RecordChoice &m_choice;
    QTableView *m_grid;
    QLabel *m_hint;
    QPushButton *m_choose;
};

} // namespace vek
