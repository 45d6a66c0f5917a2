#pragma once

#include <QDialog>

namespace vek {

// The start picture: a borderless window of the given size showing the picture; closes on
// a double click or when its timer fires.
class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    TfrmSplash(const QString &picture, int width, int height, int milliseconds = 3000, QWidget *parent = nullptr);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

} // namespace vek
