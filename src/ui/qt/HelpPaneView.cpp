#include "ui/qt/HelpPaneView.h"

#include "form/MainForm.h"
#include "text/Latin1.h"
#include "ui/qt/EngineHost.h"

HelpPaneView::HelpPaneView(EngineHost& host, QWidget* parent) : QLabel(parent), host_(host) {
    setObjectName("LHelp");
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMargin(6);
    setAutoFillBackground(true);
    QPalette p = palette();
    // Its own ground, so its own text colour too: a dark desktop theme's light text would not show.
    p.setColor(QPalette::Window, QColor(255, 255, 240));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    hide();
}

void HelpPaneView::Sync() {
    const Label& model = host_.Form().LHelp;
    const QString text = Latin1(model.Caption);
    if (text != this->text()) setText(text);
    setGeometry(host_.ToPixelsX(model.Left), host_.ToPixelsY(model.Top), host_.ToPixelsX(model.Width),
                host_.ToPixelsY(model.Height));
    setVisible(model.Visible);
    if (model.Visible) raise();
}
