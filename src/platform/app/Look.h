#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace quorvel::look {

// Colour 14868171 of the panels and strips: red 203, green 222, blue 226.
inline QColor panelColour() { return QColor(203, 222, 226); }

// "Segoe UI" 9 pt where the machine has it, a close sans-serif where it does not.
QFont uiFont();

// The Office 2003 look: blue-grey gradients, orange hot and pressed states.
QString styleSheet();

// Paints a widget's background in the panel colour rather than its parent's.
void paintAsPanel(QWidget* widget);

} // namespace quorvel::look
