#pragma once

#include "security/AppPropertyModel.h"
#include "security/FieldRightModel.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QVBoxLayout;

namespace vek {

struct AppContext;

// "应用窗体属性": the general facts of a resource and, for system users and the owner of
// a table resource, the rights of every user on it ("访问控制") and their field rights.
// The rules live in AppPropertyModel and FieldRightModel; this is their screen.
class TfrmAppProperty : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAppProperty(AppContext &ctx, QWidget *parent = nullptr);
    ~TfrmAppProperty() override;

    // Fills the dialog; false (after telling the user) when it may not or cannot open.
    bool load(int resourceId);

    const AppPropertyModel &model() const { return m_model; }
    static QString fieldRightsHint(const QString &userId);

private:
    void buildGeneralPage(QWidget *page);
    void buildAccessPage();
    void refreshUserRow(int row);
    void openFieldRights(int row);
    void closeFieldRights();
    void confirm();
    void confirmFieldRights();

    AppContext &m_ctx;
    AppPropertyModel m_model;
    std::unique_ptr<FieldRightModel> m_fieldModel;

    QStackedWidget *m_stack = nullptr;
    QTabWidget *m_pages = nullptr;
    QWidget *m_accessPage = nullptr;
    QVBoxLayout *m_userRows = nullptr;
    QList<QWidget *> m_userRowWidgets;
    QWidget *m_fieldPanel = nullptr;
    QVBoxLayout *m_fieldRows = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_fieldOk = nullptr;
    QPushButton *m_fieldCancel = nullptr;
};

// Shows the properties of a resource modally. False when the dialog could not open.
bool ShowResourceProperties(AppContext &ctx, int resourceId, QWidget *parent = nullptr);

} // namespace vek
