#pragma once
#include <QDateTime>

// The engine's only source of "now", so tests can pin the date and time.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;  // local time
};

class SystemClock : public Clock {
  public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
