#pragma once

#include "platform/AppContext.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vek {

// Built-in modules and functions are opened by title through this registry; each module
// registers its window when it is part of the program. A title without a window is
// reported as not available in this library.
class ModuleRegistry {
public:
    using Factory = std::function<QWidget *(AppContext &ctx, QWidget *parent)>;

    static ModuleRegistry &instance();

    // Titles of the built-in school modules.
    static const QStringList &moduleTitles();
    static bool isModuleTitle(const QString &title) { return moduleTitles().contains(title); }

    void add(const QString &title, Factory factory) { m_factories.insert(title, std::move(factory)); }
    bool has(const QString &title) const { return m_factories.contains(title); }
    // The window for title, or nullptr when none is registered.
    QWidget *create(const QString &title, AppContext &ctx, QWidget *parent) const;

private:
    QHash<QString, Factory> m_factories;
};

} // namespace vek
