#pragma once

#include <QString>

namespace vek {

class Prompter;

// Builds the demo library at path: a new library (as "新建资源库" makes it) with the
// school tables and resources of the demo sources. Returns false, after reporting
// through the prompter, when anything failed; no half-made file is left behind.
bool MakeDemoLibrary(const QString &path, Prompter &prompter);

} // namespace vek
