#include "PendingEdit.h"

#include "RecordRules.h"

#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "platform/RecordSet.h"
#include "security/Permissions.h"

namespace vek {

SettleResult SettlePendingEdit(RecordSet &rs, Prompter &prompter, SettleMode mode)
{
    if (rs.state() != RecordSet::State::Edit && rs.state() != RecordSet::State::Insert)
        return SettleResult::Nothing;
    if (!rs.isModified()) {
        rs.cancel();
        return SettleResult::Nothing;
    }
    if (mode == SettleMode::Ask) {
        const QString question = QStringLiteral("当前记录尚未保存，是否保存修改？\n"
                                                "是：保存修改    否：放弃修改    取消：返回继续编辑");
        switch (prompter.question(Prompter::systemCaption(), question, Prompter::Buttons::YesNoCancel,
                                  Prompter::Icon::Question)) {
        case Prompter::Answer::Yes:
            break;
        case Prompter::Answer::No:
            rs.cancel();
            return SettleResult::Discarded;
        default:
            return SettleResult::Stay;
        }
    }
    try {
        rs.post();
        return SettleResult::Posted;
    } catch (const RecordRefused &) {
        // The rule has shown its message; the input stays for the user to correct.
    } catch (const PermissionDenied &e) {
        prompter.error(e.text());
    } catch (const DbError &e) {
        prompter.error(QStringLiteral("记录保存失败:") + e.message());
    } catch (const std::exception &e) {
        prompter.error(QStringLiteral("记录保存失败:") + QString::fromUtf8(e.what()));
    }
    if (mode == SettleMode::Post
        && prompter.question(Prompter::systemCaption(), QStringLiteral("当前记录未能保存，是否放弃修改？"),
                             Prompter::Buttons::YesNo, Prompter::Icon::Question)
               == Prompter::Answer::Yes) {
        rs.cancel();
        return SettleResult::Discarded;
    }
    return SettleResult::Stay;
}

} // namespace vek
