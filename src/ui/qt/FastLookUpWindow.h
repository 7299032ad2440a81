#pragma once
#include <QWidget>
#include <array>

struct FastLookUp;
class QLabel;
class QPushButton;
class QTimer;

// The concurrent lookup dispatcher's progress window. It draws the engine's FastLookUp model and
// follows it on a short timer (the dispatcher only changes plain data while it lets events run):
// shown and hidden with the model, six counters, the addresses being looked up, one coloured
// indicator per worker and a Cancel button that sets the model's cancel flag.
class FastLookUpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FastLookUpWindow(FastLookUp& model, QWidget* parent = nullptr);

    // Makes the window agree with the model now; the timer calls it every 100 ms.
    void Refresh();

  private:
    class Indicators;
    class Activity;

    FastLookUp& model_;
    std::array<QLabel*, 6> counters_{};
    QLabel* recent_;
    Indicators* indicators_;
    Activity* activity_;
    QPushButton* quit_;
    QTimer* timer_;
};
