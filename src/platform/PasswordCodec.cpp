#include "platform/PasswordCodec.h"

namespace vek {

namespace {
constexpr int kShift = 123;

QByteArray shifted(const QByteArray &in, int by)
{
    QByteArray out(in.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < in.size(); ++i)
        out[i] = char((static_cast<unsigned char>(in.at(i)) + by) & 0xFF);
    return out;
}
} // namespace

QByteArray shiftPasswordUp(const QByteArray &plain)
{
    return shifted(plain, kShift);
}

QByteArray shiftPasswordDown(const QByteArray &stored)
{
    return shifted(stored, 256 - kShift);
}

} // namespace vek
