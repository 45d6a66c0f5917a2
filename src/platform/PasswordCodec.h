#pragma once

#include <QByteArray>

namespace vek {

// The reversible stored form of a password kept in the settings file: every byte is
// shifted up by 123 modulo 256. It hides the text from a casual look, nothing more;
// user passwords are hashed elsewhere.
QByteArray shiftPasswordUp(const QByteArray &plain);
QByteArray shiftPasswordDown(const QByteArray &stored);

} // namespace vek
