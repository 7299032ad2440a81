#pragma once
#include <QElapsedTimer>

// Paces the window events of a long loop: they run at most every few milliseconds. Running them
// (and the repaint they bring) after every row or line would cost more than the row itself.
class EventPacer {
  public:
    static constexpr qint64 EveryMs = 15;

    // True at the first call, then once the interval has passed since the last time it said so;
    // the caller then lets window events run, directly or through the progress display.
    bool Due() {
        if (sinceEvents_.isValid() && sinceEvents_.elapsed() < EveryMs) return false;
        sinceEvents_.start();
        return true;
    }

  private:
    QElapsedTimer sinceEvents_;
};
