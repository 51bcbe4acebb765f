// What must hold after every event the monkey sends to the window:
// - no infinity or NaN in the design record;
// - each step-1 and step-2 field equals the lenient parse of its box's text as
//   of the box's last change, unless that parse overflowed (then the handler
//   stopped before storing, reported the fault, and the field kept its value);
//   the OK buttons' calculations change the record exactly as the calculation
//   functions do when run on the record as it was before the click;
// - Command1 and Command2 are enabled as Validate and Validate1 left them:
//   as the texts now say when the event's change handler ran to its end, as
//   before when it stopped at a fault (or, for txtA, at the blank frequency),
//   and disabled when a box of the step was left holding a number beyond
//   range;
// - only the panels of the current step are shown, the steps only go forward;
// - every message is one the program can give; a refused key leaves its box
//   as it was; a paste leaves exactly the pasted text in the box;
// - nothing but the event's own box and the two OK buttons changes, except on
//   the OK buttons' clicks; the author link opens the author's page, once per
//   click, and changes nothing.
#pragma once

#include "calc/design_record.h"
#include "monkey_keys.h"
#include "window_test_support.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QWidget;

namespace tarvix {
class frmTarvix1;
}

namespace tarvix::test {

// What happened during one event, as the monkey saw it.
struct EventOutcome {
    QStringList messages;
    int command1Clicks = 0;
    int command2Clicks = 0;
    QWidget* target = nullptr;        // the named control a key or paste went to
    const MonkeyKey* typed = nullptr; // the key, for a key event
    std::optional<QString> pasted;    // the new text, for a paste over the whole box
    QList<QUrl> urls;                 // what the desktop was asked to open
    bool linkClicked = false;
};

// True for the text of a calculation fault as the user is shown it.
bool isFaultText(const QString& message);

class Expectations {
public:
    explicit Expectations(const frmTarvix1& window);

    void beforeEvent();
    // The first expectation the event broke, or an empty text.
    QString afterEvent(const EventOutcome& outcome);

private:
    enum class Stage { Step1, Step2, Results };

    QString checkRecordFinite() const;
    QString checkClicks(const EventOutcome& outcome);
    QString checkEntryFields(const EventOutcome& outcome);
    QString checkButtons(const EventOutcome& outcome);
    QString checkPanels() const;
    QString checkMessages(const EventOutcome& outcome) const;
    QString checkKeyAndPaste(const EventOutcome& outcome) const;
    QString checkNothingElseMoved(const EventOutcome& outcome) const;

    bool changed(const char* name) const;
    QString textNow(const char* name) const;

    const frmTarvix1& m_window;
    Stage m_stage = Stage::Step1;
    // The lenient parse of each input box as of its last stored change.
    double m_freqMHz = 0;
    double m_totalLengthFt = 0;
    double m_centreToCoilFt = 0;
    double m_coilFormerDiaIn = 0;
    double m_coilLengthIn = 0;
    bool m_command1 = false;
    bool m_command2 = false;

    DesignRecord m_recordBefore;
    WindowState m_before;
    WindowState m_after;
};

} // namespace tarvix::test
