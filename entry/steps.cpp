#include "entry/steps.h"

#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "calc/number_text.h"
#include "entry/report_faults.h"

namespace tarvix {

namespace {

// The calculations write their results into the boxes.
class BoxOutput : public StepOutput {
public:
    explicit BoxOutput(Form& form) : m_form(form) {}

    void setInductanceText(const std::string& text) override { m_form.setText(Box::L, text); }
    void setTurnsText(const std::string& text) override { m_form.setText(Box::txtN, text); }
    void setRevisedLengthText(const std::string& text) override {
        m_form.setText(Box::txtB2, text);
    }

private:
    Form& m_form;
};

} // namespace

void Command1_Click(Form& form, DesignRecord& record) {
    reportFaults(form, [&] {
        form.setPanelVisible(Panel::Frame3, false);
        form.setPanelVisible(Panel::Frame4, true);
        BoxOutput output(form);
        computeInductance(record, form.text(Box::cmbSWG1), output);
    });
}

void Command2_Click(Form& form, DesignRecord& record) {
    reportFaults(form, [&] {
        form.setPanelVisible(Panel::Frame4, false);
        form.setPanelVisible(Panel::Frame5, true);
        form.setPanelVisible(Panel::Frame6, true);
        form.setText(Box::txtFF, numberText(record.freqMHz));
        form.setText(Box::txtAA, numberText(record.totalLengthFt));
        form.setText(Box::txtBB, numberText(record.centreToCoilFt));
        form.setText(Box::txtSWG1, form.text(Box::cmbSWG1));
        form.setText(Box::txtDD1, numberText(record.coilFormerDiaIn));
        form.setText(Box::txtSWG2, form.text(Box::cmbSWG2));
        BoxOutput output(form);
        computeWinding(record, form.text(Box::cmbSWG2), output);
    });
}

std::optional<ChangeHandler> changeHandlerOf(Box box) {
    switch (box) {
    case Box::txtF:
        return &EntryHandlers::txtF_Change;
    case Box::txtA:
        return &EntryHandlers::txtA_Change;
    case Box::txtB:
        return &EntryHandlers::txtB_Change;
    case Box::txtD1:
        return &EntryHandlers::txtD1_Change;
    case Box::txtB1:
        return &EntryHandlers::txtB1_Change;
    case Box::L:
        return &EntryHandlers::L_Change;
    default:
        return std::nullopt;
    }
}

KeyFilter keyFilterOf(Box box) {
    switch (box) {
    case Box::txtF:
    case Box::txtA:
    case Box::txtB:
    case Box::txtD1:
    case Box::txtB1:
        return KeyFilter::Numeric;
    case Box::L:
    case Box::txtN:
    case Box::txtB2:
        return KeyFilter::None;
    default:
        return KeyFilter::Discard;
    }
}

} // namespace tarvix
