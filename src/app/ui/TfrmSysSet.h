#pragma once

#include "platform/AppContext.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace vek {

// "系统设置": seven pages over the settings file (its own instance) and the library's
// title. Every control is bound to one key; defaults come from the shared table.
class TfrmSysSet : public QDialog {
    Q_OBJECT
public:
    TfrmSysSet(AppContext &ctx, const QString &programDir, QWidget *parent = nullptr);

    // Writes every key the dialog shows and the library title; false (after a message)
    // when the settings file or the library could not be written.
    bool save();
    QString appTitle() const;

    void accept() override;

private:
    struct Binding {
        enum class Kind { Check, Spin, Text, Color, Font } kind;
        QWidget *widget;
        QString section;
        QString key;
    };

    QWidget *pageSystem();
    QWidget *pageBackground();
    QWidget *pageSplash();
    QWidget *pageForms();
    QWidget *pageGrids();
    QWidget *pageColors();
    QWidget *pageOther();

    QCheckBox *check(const QString &caption, const QString &section, const QString &key);
    QSpinBox *spin(const QString &section, const QString &key, int min, int max);
    QToolButton *color(const QString &caption, const QString &section, const QString &key);
    QLineEdit *text(const QString &section, const QString &key, bool readOnly = false);
    void load();
    QString storedPath(const QString &path) const;

    AppContext &m_ctx;
    QString m_programDir;
    QString m_userSection;
    QTabWidget *m_tabs;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_backPicture = nullptr;
    QLabel *m_backPreview = nullptr;
    QLineEdit *m_music = nullptr;
    QLineEdit *m_splashFile = nullptr;
    QList<Binding> m_bindings;
};

} // namespace vek
