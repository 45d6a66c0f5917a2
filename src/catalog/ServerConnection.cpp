#include "ServerConnection.h"

#include "Catalog.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/PasswordCodec.h"

#include <QSettings>
#include <QStringEncoder>

namespace vek {

namespace {
const QString kSection = QStringLiteral("DATABASE");
}

ServerParams StartupServerParams(const IniFile &ini)
{
    ServerParams p = ServerParams::fromServerName(ini.value(kSection, "SERVERNAME", "localhost"));
    p.user = ini.value(kSection, "USERNAME", "sa");
    // An absent key means the plain default, not a stored form of it.
    p.password = ini.readStoredPassword(kSection, "PASSWORD", "908172");
    p.database = ini.value(kSection, "DATABASENAME", "yey");
    return p;
}

bool ConnectServerAtStartup(TDModule &db, const IniFile &ini, QString *error)
{
    db.state() = ShellState{};
    try {
        db.openServer(StartupServerParams(ini));
    } catch (const DbError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    db.state().sqlServerMode = true;
    return true;
}

bool RememberConnection(IniFile &ini, const ServerParams &params, int serverId, bool server)
{
    const QString serverName =
        params.port == 5432 ? params.host : QStringLiteral("%1:%2").arg(params.host).arg(params.port);
    bool ok = ini.setValue(kSection, "SERVERNAME", serverName);
    ok = ini.setValue(kSection, "DATABASENAME", params.database) && ok;
    ok = ini.setValue(kSection, "UserName", params.user) && ok;
    ok = ini.writeStoredPassword(kSection, "password", params.password) && ok;
    ok = ini.setInt(kSection, "ServerId", serverId) && ok;

    QSettings reg(QStringLiteral("VEK2000"), server ? QStringLiteral("SQLSERVER") : QStringLiteral("Access"));
    reg.setValue("SERVERNAME", serverName);
    reg.setValue("DATABASENAME", params.database);
    reg.setValue("username", params.user);
    QStringEncoder gbk("GB18030");
    const QByteArray plain = gbk(params.password);
    reg.setValue("password", QString::fromLatin1(shiftPasswordUp(plain)));
    return ok;
}

bool ConnectFromDialog(TDModule &db, IniFile &ini, const ConnectRequest &request, QString *error)
{
    auto fail = [&](const QString &text) {
        db.close();
        if (error)
            *error = text;
        return false;
    };
    try {
        switch (request.driver) {
        case ConnectDriver::Server:
            db.openServer(request.params);
            break;
        case ConnectDriver::LocalFile:
            db.openSqliteFile(request.params.database);
            break;
        case ConnectDriver::DbaseFolder:
        case ConnectDriver::OtherSource:
            return fail(QStringLiteral("这种数据源需要数据导入模块，当前版本不能直接连接。"));
        }
        if (request.driver == ConnectDriver::Server && request.establish)
            EstablishServerApplication(db);
    } catch (const DbError &e) {
        return fail(e.message());
    }
    const bool server = request.driver == ConnectDriver::Server;
    if (!RememberConnection(ini, request.params, int(request.driver), server))
        return fail(QStringLiteral("设置文件不能保存: ") + ini.lastError());
    db.state().sqlServerMode = server;
    return true;
}

EstablishResult EstablishServerApplication(TDModule &db)
{
    if (!CatalogAbsent(db))
        return EstablishResult::AlreadyPresent;
    CreateFullCatalog(db);
    return EstablishResult::Created;
}

} // namespace vek
