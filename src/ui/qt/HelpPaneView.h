#pragma once
#include <QLabel>

class EngineHost;

// The instant-help pane below the options panel: a word-wrapped label that shows the model's
// help text where the model puts it.
class HelpPaneView : public QLabel {
    Q_OBJECT
  public:
    HelpPaneView(EngineHost& host, QWidget* parent);
    void Sync();

  private:
    EngineHost& host_;
};
