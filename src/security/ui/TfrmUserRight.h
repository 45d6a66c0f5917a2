#pragma once

#include "security/UserRightModel.h"

#include <QDialog>

class QPushButton;
class QVBoxLayout;

namespace vek {

struct AppContext;

// "权限设置": one user's rights on every resource, for system users. The rules live in
// UserRightModel; this is its screen.
class TfrmUserRight : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUserRight(AppContext &ctx, QWidget *parent = nullptr);

    // Fills the dialog; false (after telling the user) when it may not or cannot open.
    bool load(const QString &userId);

    const UserRightModel &model() const { return m_model; }

private:
    void refreshRow(int row);
    void toggleEverything();
    void save();

    AppContext &m_ctx;
    UserRightModel m_model;
    QVBoxLayout *m_rows = nullptr;
    QList<QWidget *> m_rowWidgets;
    QPushButton *m_selectAll = nullptr;
    bool m_allSelected = false;
};

// Shows the rights of one user modally. False when the dialog could not open.
bool ShowUserRights(AppContext &ctx, const QString &userId, QWidget *parent = nullptr);

} // namespace vek
