#pragma once

#include "NameList.h"

#include <QList>
#include <QString>

namespace vek {

class TDModule;

// The user and group picker without its widgets: every user of usys_Users and every
// group of usys_usergroup, each ticked when the given list names it.
class NamePickerModel {
public:
    struct Entry {
        QString name;
        bool checked = false;
    };

    explicit NamePickerModel(TDModule &db) : m_db(db) {}

    // Throws DbError.
    void load(const NameList &given);

    const QList<Entry> &users() const { return m_users; }
    const QList<Entry> &groups() const { return m_groups; }
    void setUserChecked(int row, bool on);
    void setGroupChecked(int row, bool on);

    // The ticked users, then the ticked groups, in the order shown.
    NameList result() const;

private:
    TDModule &m_db;
    QList<Entry> m_users;
    QList<Entry> m_groups;
};

} // namespace vek
