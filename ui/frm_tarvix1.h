// The program's one window. It owns the design record, wires the events of
// its controls to the entry handlers and runs the two steps of a design.
//
// The class and its handlers keep the names the program has always used
// (frmTarvix1, Command1_Click, Label11_Click), against the usual naming
// pattern, so that each control's handler is found by the control's name.
#pragma once

#include "calc/design_record.h"
#include "entry/handlers.h"
#include "ui/message_box.h"
#include "ui/widget_form.h"

#include <QWidget>

#include <string_view>

namespace tarvix {

class frmTarvix1 : public QWidget {
    Q_OBJECT

public:
    // Messages go to the sink; the program's sink is a modal message box.
    explicit frmTarvix1(MessageSink messages = showMessageBox, QWidget* parent = nullptr);

    const DesignRecord& record() const { return m_record; }

    // The controls of the panels hidden at start are created when first
    // needed; this creates them all now, hidden as they are, for whatever
    // walks the whole window.
    void createAllControls();

private:
    // Creates a panel's controls if it has none yet, and wires them.
    void buildPanel(std::string_view panel);
    // Wires the events of the controls found inside `scope`.
    void wireEvents(QWidget& scope);

    // Step 1: switch to the step-2 panel and compute the inductance into L.
    void Command1_Click();
    // Step 2: show the results, fill the summary and compute the winding.
    void Command2_Click();
    // Opens the author's page in the default browser.
    void Label11_Click();
    // After a step: the focus leaves a control hidden with its panel.
    void moveFocusOffHiddenControl();

    DesignRecord m_record;
    WidgetForm m_form;
    EntryHandlers m_handlers;
};

} // namespace tarvix
