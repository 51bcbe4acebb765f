// Builds the controls of frmTarvix1 from the control table.
#pragma once

#include <QIcon>
#include <QStringList>

class QWidget;

namespace tarvix {

// Creates every control of the table as a child of the window, at its place,
// with its text, font, tab order and initial state, and gives the window its
// name, caption, icon and client size. Returns the window.
QWidget& buildControls(QWidget& window);

// The eleven gauges the lists offer, ascending: the even gauges 10 to 30.
QStringList gaugeItems();

// The program's icon at every size the resources hold.
QIcon programIcon();

} // namespace tarvix
