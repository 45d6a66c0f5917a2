#pragma once

#include <QString>

namespace vek {

class IniFile;
class Prompter;

// Rows generated into the demo table 成绩流水.
constexpr int DemoScoreRows = 100000;

// Builds the demo library at path: a new library (as "新建资源库" makes it) with the
// school tables and resources of the demo sources, and the generated table 成绩流水.
// Returns false, after reporting through the prompter, when anything failed; no
// half-made file is left behind.
bool MakeDemoLibrary(const QString &path, Prompter &prompter);

// The demo's settings that live in the settings file, not in the library: the calculated
// column 年龄 of 学生档案. Written only when that section has no calculated columns yet,
// so a user's own columns are kept. A failed write leaves ini.lastError() set.
void WriteDemoSettings(IniFile &ini);

} // namespace vek
