#pragma once

#include <QString>

namespace vek {

class Clock;
class TDModule;
struct AppContext;

// Kinds of operation-log entries (usys_log.类型).
namespace LogKind {
inline const QString ReLogin = QStringLiteral("重新登录");      // a re-login starts
inline const QString Enter = QStringLiteral("进入");            // login done, resource or dictionary opened
inline const QString Create = QStringLiteral("新建");           // a new data window is being created
inline const QString Exit = QStringLiteral("退出");             // a data form window closes
inline const QString Delete = QStringLiteral("删除");           // a tree node or dictionary entry deleted
inline const QString Define = QStringLiteral("定义");           // dictionary rows made for a resource
inline const QString CancelLogin = QStringLiteral("取消登录");  // the login dialog was cancelled
inline const QString ChangePassword = QStringLiteral("更改密码");
} // namespace LogKind

// Titles that some kinds carry in place of a resource title (usys_log.应用名称).
namespace LogTitle {
inline const QString Dictionary = QStringLiteral("数据字典");   // with Enter
inline const QString Failed = QStringLiteral("失败");           // with ChangePassword: old password wrong
inline const QString Succeeded = QStringLiteral("成功");        // with ChangePassword
// With Define: the resource title followed by "[数据字典]".
inline QString dictionaryDefined(const QString &title) { return title + QStringLiteral("[数据字典]"); }
} // namespace LogTitle

// Writer of the operation log, usys_log. Date and time are those of the moment of
// writing.
class OperationLog {
public:
    OperationLog(TDModule &db, const Clock &clock) : m_db(db), m_clock(clock) {}

    // Appends one entry. Throws DbError (also when usys_log is absent).
    void write(const QString &kind, const QString &title, const QString &userName);

    // The entry of a cancelled login: when the write fails and the schema says
    // usys_log is absent, the table is created and the entry written again. Any other
    // failure throws DbError.
    void writeCreatingTable(const QString &kind, const QString &title, const QString &userName);

private:
    TDModule &m_db;
    const Clock &m_clock;
};

// Appends an entry for the current user of ctx. Throws DbError.
void WriteLogEntry(AppContext &ctx, const QString &kind, const QString &title = {});

} // namespace vek
