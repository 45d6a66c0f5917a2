#include "ModuleRegistry.h"

namespace vek {

ModuleRegistry &ModuleRegistry::instance()
{
    static ModuleRegistry registry;
    return registry;
}

const QStringList &ModuleRegistry::moduleTitles()
{
    static const QStringList titles = {QStringLiteral("考试成绩"), QStringLiteral("学生评语"), QStringLiteral("手机归属地"),
                                       QStringLiteral("课程表"),   QStringLiteral("菜谱安排"), QStringLiteral("一周工作安排"),
                                       QStringLiteral("设备检定提醒")};
    return titles;
}

QWidget *ModuleRegistry::create(const QString &title, AppContext &ctx, QWidget *parent) const
{
    auto it = m_factories.constFind(title);
    return it == m_factories.constEnd() ? nullptr : (*it)(ctx, parent);
}

} // namespace vek
