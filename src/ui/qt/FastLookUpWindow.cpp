#include "ui/qt/FastLookUpWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "form/FastLookUp.h"
#include "text/Latin1.h"

namespace {

constexpr int RefreshMs = 100;
constexpr int TwipsPerPixel = 15;
constexpr int IndicatorSize = 9;
constexpr int IndicatorGap = 3;
constexpr int IndicatorsPerRow = 20;

QColor ToQColor(Colour c) {
    return QColor(ColourRed(c), ColourGreen(c), ColourBlue(c));
}

const std::array<const char*, FastLookUp::CounterCount> CounterCaptions = {
    "Addresses", "Given out", "Busy workers", "Names found", "Not found", "Already known"};

}  // namespace

// One small square per worker, in rows of twenty.
class FastLookUpWindow::Indicators : public QWidget {
  public:
    Indicators(const FastLookUp& model, QWidget* parent) : QWidget(parent), model_(model) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override {
        const int count = std::max<int>(1, static_cast<int>(model_.Indicators.size()));
        const int rows = (count + IndicatorsPerRow - 1) / IndicatorsPerRow;
        const int step = IndicatorSize + IndicatorGap;
        return {IndicatorsPerRow * step - IndicatorGap, rows * step - IndicatorGap};
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int step = IndicatorSize + IndicatorGap;
        for (size_t k = 0; k < model_.Indicators.size(); ++k) {
            const int x = static_cast<int>(k % IndicatorsPerRow) * step;
            const int y = static_cast<int>(k / IndicatorsPerRow) * step;
            p.fillRect(x, y, IndicatorSize, IndicatorSize, ToQColor(model_.Indicators[k]));
            p.setPen(QColor(128, 128, 128));
            p.drawRect(x, y, IndicatorSize - 1, IndicatorSize - 1);
        }
    }

  private:
    const FastLookUp& model_;
};

// A block sliding along a thin track, moved on by every pass of the dispatcher.
class FastLookUpWindow::Activity : public QWidget {
  public:
    explicit Activity(const FastLookUp& model, QWidget* parent) : QWidget(parent), model_(model) {
        setFixedHeight(6);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(225, 225, 225));
        const int block = std::max(12, width() / 8);
        const int span = std::max(1, width() - block);
        const int pos = static_cast<int>(model_.LActivity * 7 % static_cast<unsigned>(2 * span));
        const int x = pos < span ? pos : 2 * span - pos;
        p.fillRect(x, 0, block, height(), QColor(70, 130, 200));
    }

  private:
    const FastLookUp& model_;
};

FastLookUpWindow::FastLookUpWindow(FastLookUp& model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint), model_(model) {
    setWindowTitle("Fast Lookup");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 10, 12, 10);
    outer->setSpacing(8);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < FastLookUp::CounterCount; ++i) {
        const int column = (i / 3) * 2;
        grid->addWidget(new QLabel(CounterCaptions[static_cast<size_t>(i)], this), i % 3, column);
        counters_[static_cast<size_t>(i)] = new QLabel("0", this);
        counters_[static_cast<size_t>(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counters_[static_cast<size_t>(i)]->setMinimumWidth(fontMetrics().horizontalAdvance("000000"));
        grid->addWidget(counters_[static_cast<size_t>(i)], i % 3, column + 1);
    }
    outer->addLayout(grid);

    recent_ = new QLabel(this);
    recent_->setTextFormat(Qt::PlainText);
    recent_->setMinimumWidth(1);
    recent_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    outer->addWidget(recent_);

    indicators_ = new Indicators(model_, this);
    outer->addWidget(indicators_, 0, Qt::AlignHCenter);
    activity_ = new Activity(model_, this);
    outer->addWidget(activity_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    quit_ = new QPushButton(this);
    buttons->addWidget(quit_);
    buttons->addStretch();
    outer->addLayout(buttons);
    connect(quit_, &QPushButton::clicked, this, [this] {
        model_.BQuit_Click();
        Refresh();
    });

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &FastLookUpWindow::Refresh);
    timer_->start(RefreshMs);
    Refresh();
}

void FastLookUpWindow::Refresh() {
    for (size_t i = 0; i < counters_.size(); ++i) counters_[i]->setText(QString::number(model_.LStatus[i]));
    const QString recent = Latin1(model_.LrecentIPs);
    recent_->setText(
        recent_->fontMetrics().elidedText(recent, Qt::ElideRight, std::max(1, recent_->width())));
    quit_->setText(Latin1(model_.BQuit.Caption));
    quit_->setEnabled(model_.BQuit.Enabled);
    indicators_->updateGeometry();
    indicators_->update();
    activity_->update();

    if (model_.Visible && !isVisible()) {
        if (model_.Left >= 0 && model_.Top >= 0)
            move(model_.Left / TwipsPerPixel, model_.Top / TwipsPerPixel);
        adjustSize();
        show();
        raise();
        quit_->setFocus();
    } else if (!model_.Visible && isVisible()) {
        hide();
    }
}
