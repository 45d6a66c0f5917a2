#pragma once

#include <QDateTime>

namespace vek {

// Where the time comes from; date rules take it so that tests can fix the day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(const QDateTime &t) : m_t(t) {}
    QDateTime now() const override { return m_t; }
    void set(const QDateTime &t) { m_t = t; }
    void advanceSeconds(qint64 s) { m_t = m_t.addSecs(s); }

private:
    QDateTime m_t;
};

} // namespace vek
