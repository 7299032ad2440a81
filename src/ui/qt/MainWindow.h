#pragma once
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "form/Frontend.h"
#include "form/MainForm.h"
#include "ui/qt/EngineHost.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RecordGridView;
class OptionsPanelView;
class FastLookUpWindow;

// The main window: draws the form model and forwards clicks and edits to the engine's handlers.
// It is also the engine's Frontend for message boxes, events, text widths and the clipboard.
class MainWindow : public QWidget, public EngineHost, public Frontend {
    Q_OBJECT
  public:
    MainWindow(const Clock& clock, const std::string& programDir);
    ~MainWindow() override;

    // EngineHost
    MainForm& Form() override { return *form_; }
    void Dispatch(const std::function<void()>& handler) override;
    int ToPixelsX(int twips) const override;
    int ToPixelsY(int twips) const override;

    // Frontend
    MsgAnswer MsgBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                     std::string_view title) override;
    void DoEvents() override;
    void ShowWindow() override;
    int TextWidth(std::string_view text) override;
    void SetClipboardText(std::string_view text) override;
    void SetMousePointer(MousePointer pointer) override;
    MousePointer GetMousePointer() const override { return pointer_; }
    int TwipsPerPixelX() const override;
    int TwipsPerPixelY() const override;
    std::string ShowPopupMenu(const PopupMenu& menu, int x, int y) override;
    bool OpenFolder(const std::string& path) override;

    // Makes every widget agree with the form model.
    void Sync();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    QPushButton* AddButton(Button& model, const char* name, std::function<void()> onClick,
                           std::function<void()> onMouseMove = {});
    QLabel* AddLabel(Label& model, const char* name);
    void Place(QWidget* widget, const Control& model);
    void ReportGeometry();
    void Unload();
    void ConnectListMice();

    std::unique_ptr<MainForm> form_;
    std::vector<std::function<void()>> syncers_;
    std::vector<std::pair<std::string, QWidget*>> focusable_;
    std::vector<RecordGridView*> grids_;
    std::vector<QWidget*> segments_;
    QLineEdit* progressText_ = nullptr;
    QLineEdit* lookupAnswer_ = nullptr;
    QLineEdit* filterBox_ = nullptr;
    OptionsPanelView* options_ = nullptr;
    std::unique_ptr<FastLookUpWindow> fastLookUp_;
    std::unique_ptr<QObject> pressWatcher_;
    std::vector<std::pair<QObject*, std::function<void()>>> mouseMoves_;
    QTimer* syncTimer_ = nullptr;
    MousePointer pointer_ = MousePointer::Default;
    MainForm::Geometry applied_;
    std::string focusSeen_;
    bool syncing_ = false;
};
