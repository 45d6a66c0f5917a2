#pragma once

namespace vek {

// The program: the options that work without a window, else the main window.
int RunProgram(int argc, char **argv);

} // namespace vek
