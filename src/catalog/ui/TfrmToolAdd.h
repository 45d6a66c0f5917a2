#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vek {

// The external resource dialog: a program, document, media file or web address.
class TfrmToolAdd : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New, Edit };

    explicit TfrmToolAdd(Mode mode, QWidget *parent = nullptr);

    // Edit: the values of the resource; its title cannot be changed.
    void setValues(const QString &title, const QString &address);
    QString title() const;
    QString address() const;

    // What "浏览..." does with the file chosen: fills the path and, when the title is
    // still empty, the file name without extension.
    void applyChosenFile(const QString &path);

public Q_SLOTS:
    void browse();

private:
    Mode m_mode;
    QLineEdit *m_title;
    QLineEdit *m_address;
};

} // namespace vek
