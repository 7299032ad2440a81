#pragma once
#include <QFrame>
#include <functional>
#include <string>
#include <vector>

#include "form/Controls.h"

class EngineHost;
class HelpPaneView;
class QLineEdit;
struct MainForm;

// The options panel: one widget per control of the panel, placed at the model's geometry
// (relative to the panel), and the help pane below it on the parent window. Widgets only draw
// the model and report the user's actions to the engine's handlers; Sync() makes them agree with
// the model again without running any handler.
class OptionsPanelView : public QFrame {
    Q_OBJECT
  public:
    OptionsPanelView(EngineHost& host, QWidget* parent);

    void Sync();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

  private:
    struct Item {
        QWidget* widget;
        const Control* model;
        std::string name;     // the control's name, as the engine names the focus
        std::string helpKey;  // what the pointer over it explains; empty: nothing
        std::function<void()> sync;
        std::function<void(MainForm&)> lostFocus;
        std::function<void(MainForm&, int)> keyUp;
    };

    Item& AddField(TextBox& model, const char* name, const char* helpKey, void (*change)(MainForm&));
    void AddCheck(CheckBox& model, const char* name, const char* helpKey,
                  std::function<void(MainForm&)> click);
    void AddOption(OptionButton& model, const char* name, const char* helpKey,
                   std::function<void(MainForm&)> click);
    void AddLabel(Label& model, const char* name, const char* helpKey);
    void AddButton(Button& model, const char* name, const char* helpKey,
                   std::function<void(MainForm&)> click);
    Item& Register(Item item);
    void Run(const std::function<void(MainForm&)>& handler);
    void ShowHelp(const std::string& key);
    Item* Find(QObject* widget);
    void FollowModelFocus();

    EngineHost& host_;
    HelpPaneView* help_;
    std::vector<Item> items_;
    std::string focusSeen_;
    QObject* enterPressedIn_ = nullptr;
};
