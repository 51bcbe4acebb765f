// Builds the controls of frmTarvix1 from the control table.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <string_view>

class QWidget;

namespace tarvix {

// Creates the controls of the table as children of the window, at their
// places, with their texts, fonts, tab order and initial states, and gives
// the window its name, caption, icon and client size. Returns the window.
// The controls inside the panels hidden at start are left for
// buildPanelControls: most windows never show them all.
QWidget& buildControls(QWidget& window);

// Creates the controls of one panel that are not there yet, from the same
// table, hidden with their panel; names them and puts them in the tab order.
// Whether it created any.
bool buildPanelControls(QWidget& window, std::string_view panel);

// The eleven gauges the lists offer, ascending: the even gauges 10 to 30.
QStringList gaugeItems();

// The program's icon: the 32-pixel bitmap compiled into the program.
QIcon programIcon();

// The control of that name within the window, or null.
template <class Widget> Widget* findControl(QWidget& window, std::string_view name) {
    return window.findChild<Widget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

} // namespace tarvix
