#pragma once

#include "grid/BirthdayList.h"

#include <QWidget>

class QButtonGroup;
class QPushButton;

namespace vek {

// The bar of a birthday list: the five spans ("今天生日" checked at start), "打印" and
// "关闭". Choosing a span emits choiceChanged; the window rebuilds its query from it.
//
// objectNames: "BirthdayPanel"; radio buttons "choice0" … "choice4" in the order of
// BirthdayChoice; buttons "printButton", "closeButton".
class BirthdayPanel : public QWidget {
    Q_OBJECT
public:
    explicit BirthdayPanel(QWidget *parent = nullptr);

    BirthdayChoice choice() const;

Q_SIGNALS:
    void choiceChanged(vek::BirthdayChoice choice);
    void printRequested();
    void closeRequested();

private:
    QButtonGroup *m_group;
    QPushButton *m_print;
    QPushButton *m_close;
};

} // namespace vek
