#include "LoginSession.h"

#include "OnlineState.h"
#include "OperationLog.h"

#include "platform/AppContext.h"

#include <exception>

namespace vek {

void LoginSession::beginRelogin(AppContext &ctx, bool libraryOpen)
{
    WriteLogEntry(ctx, LogKind::ReLogin);
    if (libraryOpen && ctx.user.loggedIn())
        MarkOffline(ctx);
}

void LoginSession::loginCompleted(AppContext &ctx)
{
    WriteLogEntry(ctx, LogKind::Enter);
    MarkOnline(ctx);
}

void LoginSession::programEnding(AppContext &ctx) noexcept
{
    if (!ctx.user.loggedIn())
        return;
    try {
        MarkOffline(ctx);
    } catch (const std::exception &) {
    }
}

bool LoginSession::canLock(const AppContext &ctx)
{
    return ctx.user.loggedIn() && !ctx.user.locked;
}

} // namespace vek
