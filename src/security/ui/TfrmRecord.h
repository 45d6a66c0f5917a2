#pragma once

#include "security/NamePickerModel.h"

#include <QDialog>

namespace vek {

struct AppContext;

// "选择接收消息用户": ticks users and groups and hands back the name list.
class TfrmRecord : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRecord(AppContext &ctx, QWidget *parent = nullptr);

    // Fills the pages, ticking what the list names; false (after telling the user) on failure.
    bool load(const NameList &given);
    // The ticked names, valid after "确认".
    NameList names() const { return m_model.result(); }

private:
    AppContext &m_ctx;
    NamePickerModel m_model;
};

// Lets the user pick users and groups; on "确认" replaces list and returns true.
bool PickUsersAndGroups(AppContext &ctx, NameList &list, QWidget *parent = nullptr);

} // namespace vek
