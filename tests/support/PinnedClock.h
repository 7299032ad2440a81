#pragma once
#include "form/Clock.h"

// A clock that always answers the time it was given.
class PinnedClock : public Clock {
  public:
    explicit PinnedClock(QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(14, 30, 0))) : now_(now) {}
    QDateTime Now() const override { return now_; }
    void Set(QDateTime now) { now_ = now; }

  private:
    QDateTime now_;
};
