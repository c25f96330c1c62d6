#include "platform/app/Look.h"

#include <QPalette>
#include <QWidget>

namespace quorvel::look {

QFont uiFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Noto Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(12);
    return font;
}

QString styleSheet()
{
    return QStringLiteral(R"(
QPushButton {
    border: 1px solid #7f9db9;
    border-radius: 3px;
    padding: 2px 8px;
    color: #000000;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.5 #f1f5fb, stop:1 #c3d3ea);
}
QPushButton:hover {
    border-color: #000080;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff4cc, stop:1 #ffd091);
}
QPushButton:pressed {
    border-color: #000080;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fe914e, stop:1 #ffd38e);
}
QPushButton:default { border: 1px solid #002d96; }
QPushButton:disabled {
    color: #8d8d8d;
    border-color: #b5c4d6;
    background: #eef2f7;
}
QStatusBar {
    color: #000000;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #d6e3f4, stop:1 #cbdae2);
    border-top: 1px solid #a5bcd8;
}
QStatusBar::item { border: none; }
QStackedWidget#cxPageControl1 {
    border: 1px solid #7f9db9;
    background: #f6f8fc;
}
QTreeView, QTableView {
    border: 1px solid #7f9db9;
    selection-background-color: #ffd091;
    selection-color: #000000;
}
QTreeView::item:hover { background: #fff4cc; }
QHeaderView::section {
    padding: 2px 4px;
    border: none;
    border-right: 1px solid #a5bcd8;
    border-bottom: 1px solid #a5bcd8;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f9fcfd, stop:1 #d3dbe9);
}
)");
}

void paintAsPanel(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, panelColour());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace quorvel::look
