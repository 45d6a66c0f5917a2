#pragma once

#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QTemporaryDir>
#include <memory>

namespace vek::test {

// A fresh demo library in a temporary folder, with a settings file, a scripted prompter
// and a fixed clock: what window tests run the program's windows on.
struct DemoFixture {
    DemoFixture();
    QString libraryPath() const;

    QTemporaryDir dir;
    TDModule db;
    std::unique_ptr<IniFile> ini;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 11), QTime(9, 30, 0))};
    std::unique_ptr<AppContext> ctx;
};

} // namespace vek::test
