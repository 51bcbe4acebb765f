// The monkey's expectations, checked after every event.
#include "expectations.h"

#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "calc/fault.h"
#include "ui/control_table.h"
#include "ui/frm_tarvix1.h"

#include <QWidget>

#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

namespace tarvix::test {

namespace {

using Field = std::pair<const char*, double>;

std::array<Field, 23> fieldsOf(const DesignRecord& r) {
    return {{
        {"freqMHz", r.freqMHz},
        {"totalLengthFt", r.totalLengthFt},
        {"maxTotalLengthFt", r.maxTotalLengthFt},
        {"centreToCoilFt", r.centreToCoilFt},
        {"maxCentreToCoilFt", r.maxCentreToCoilFt},
        {"antennaSwg", r.antennaSwg},
        {"antennaWireDiaIn", r.antennaWireDiaIn},
        {"innerSpanFt", r.innerSpanFt},
        {"outerSpanFt", r.outerSpanFt},
        {"scaleFactor", r.scaleFactor},
        {"innerLogTerm", r.innerLogTerm},
        {"innerFreqTerm", r.innerFreqTerm},
        {"outerLogTerm", r.outerLogTerm},
        {"outerFreqTerm", r.outerFreqTerm},
        {"inductanceUH", r.inductanceUH},
        {"coilFormerDiaIn", r.coilFormerDiaIn},
        {"coilLengthIn", r.coilLengthIn},
        {"coilSwg", r.coilSwg},
        {"coilWireDiaIn", r.coilWireDiaIn},
        {"coilRadiusIn", r.coilRadiusIn},
        {"turnCount", r.turnCount},
        {"revisedLengthIn", r.revisedLengthIn},
        {"passCounter", r.passCounter},
    }};
}
// The two single-precision limits each sit in a double's room, so a field
// left out of fieldsOf shows as a size mismatch.
static_assert(sizeof(std::array<double, 23>) == sizeof(DesignRecord),
              "fieldsOf must list every field of the record");

// Fields that no key, paste or gauge choice may change: all but the five
// inputs and the two limits their handlers derive.
bool isEntryField(const char* name) {
    const std::string field(name);
    return field == "freqMHz" || field == "totalLengthFt" || field == "maxTotalLengthFt" ||
           field == "centreToCoilFt" || field == "maxCentreToCoilFt" ||
           field == "coilFormerDiaIn" || field == "coilLengthIn";
}

QString number(double value) {
    return QString::fromStdString(numberText(value));
}

// The first field in which two records differ, exactly.
QString firstDifference(const DesignRecord& actual, const DesignRecord& expected,
                        bool entryFieldsToo) {
    const auto a = fieldsOf(actual);
    const auto e = fieldsOf(expected);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!entryFieldsToo && isEntryField(a[i].first)) {
            continue;
        }
        if (a[i].second != e[i].second) {
            return QStringLiteral("%1 is %2, expected %3")
                .arg(QString::fromLatin1(a[i].first), number(a[i].second), number(e[i].second));
        }
    }
    return {};
}

QStringList faultTexts() {
    QStringList texts;
    for (const FaultKind kind :
         {FaultKind::DivisionByZero, FaultKind::Overflow, FaultKind::InvalidArgument,
          FaultKind::TypeMismatch, FaultKind::CoilGaugeNotInTable}) {
        texts.append(QString::fromUtf8(faultText(kind)));
    }
    return texts;
}

bool anyFault(const QStringList& messages) {
    for (const QString& message : messages) {
        if (isFaultText(message)) {
            return true;
        }
    }
    return false;
}

const QString kTypeOnlyNumbers = QStringLiteral("Type only numbers");
const QString kFrequencyRange = QStringLiteral("Input HF range only (1.5 to 30MHz)");
const QString kFrequencyMissing = QStringLiteral("Input a value for frequency");

// A message that carries a number: the fixed text around it and the number,
// which must be a number text.
bool isNumberMessage(const QString& message, const QString& before, const QString& after) {
    if (!message.startsWith(before) || !message.endsWith(after) ||
        message.size() <= before.size() + after.size()) {
        return false;
    }
    const QString value = message.mid(before.size(), message.size() - before.size() - after.size());
    try {
        return numberText(strictParse(value.toStdString())) == value.toStdString();
    } catch (const Fault&) {
        return false;
    }
}

bool isKnownMessage(const QString& message) {
    const QString ft = QStringLiteral(" ft");
    return message == kTypeOnlyNumbers || message == kFrequencyRange ||
           message == kFrequencyMissing || faultTexts().contains(message) ||
           isNumberMessage(message, QStringLiteral("A ahould be larger than "), ft) ||
           isNumberMessage(message, QStringLiteral(" A should be smaller than  "), ft) ||
           isNumberMessage(message, QStringLiteral("B should be lower than "), ft);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

bool filled(const QString& text) {
    return !trim(utf8(text)).empty();
}

// Text whose number is beyond the double range cannot be stored.
bool storable(const QString& text) {
    try {
        static_cast<void>(lenientParse(utf8(text)));
        return true;
    } catch (const Fault&) {
        return false;
    }
}

// What an OK button asks of each of its boxes.
bool holdsValue(const QString& text) {
    return filled(text) && storable(text);
}

// Discards all output: the prediction only needs the record.
class NoOutput : public StepOutput {
public:
    void setInductanceText(const std::string&) override {}
    void setTurnsText(const std::string&) override {}
    void setRevisedLengthText(const std::string&) override {}
};

bool isNumericBox(const QString& name) {
    return name == QLatin1String("txtF") || name == QLatin1String("txtA") ||
           name == QLatin1String("txtB") || name == QLatin1String("txtD1") ||
           name == QLatin1String("txtB1");
}

bool isDiscardBox(const QString& name) {
    for (const char* box :
         {"txtFF", "txtAA", "txtBB", "txtSWG1", "txtDD1", "txtSWG2", "cmbSWG1", "cmbSWG2"}) {
        if (name == QLatin1String(box)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isFaultText(const QString& message) {
    return faultTexts().contains(message);
}

Expectations::Expectations(const frmTarvix1& window) : m_window(window) {}

void Expectations::beforeEvent() {
    m_recordBefore = m_window.record();
    m_before = snapshot(m_window);
}

bool Expectations::changed(const char* name) const {
    const QString key = QString::fromLatin1(name);
    return m_before.value(key).text != m_after.value(key).text;
}

QString Expectations::textNow(const char* name) const {
    return m_after.value(QString::fromLatin1(name)).text;
}

QString Expectations::afterEvent(const EventOutcome& outcome) {
    m_after = snapshot(m_window);
    for (QString broken : {checkRecordFinite(), checkClicks(outcome), checkEntryFields(outcome),
                           checkButtons(outcome), checkPanels(), checkMessages(outcome),
                           checkKeyAndPaste(outcome), checkNothingElseMoved(outcome)}) {
        if (!broken.isEmpty()) {
            return broken;
        }
    }
    return {};
}

QString Expectations::checkRecordFinite() const {
    for (const auto& [name, value] : fieldsOf(m_window.record())) {
        if (!std::isfinite(value)) {
            return QStringLiteral("record field %1 is not finite").arg(QString::fromLatin1(name));
        }
    }
    return {};
}

QString Expectations::checkClicks(const EventOutcome& outcome) {
    if (outcome.command1Clicks + outcome.command2Clicks == 0) {
        return {};
    }
    if (outcome.command1Clicks + outcome.command2Clicks > 1) {
        return QStringLiteral("one event clicked the OK buttons more than once");
    }
    const bool first = outcome.command1Clicks == 1;
    if (m_stage != (first ? Stage::Step1 : Stage::Step2)) {
        return QStringLiteral("an OK button of another step was clicked");
    }
    // The click runs the calculation on the record as it stood, with the
    // gauge list's text as it stood; a fault stops it where it occurs.
    DesignRecord predicted = m_recordBefore;
    NoOutput output;
    const QString gauge =
        m_before.value(first ? QStringLiteral("cmbSWG1") : QStringLiteral("cmbSWG2")).text;
    QString fault;
    try {
        if (first) {
            computeInductance(predicted, utf8(gauge), output);
        } else {
            computeWinding(predicted, utf8(gauge), output);
        }
    } catch (const Fault& error) {
        fault = QString::fromUtf8(error.what());
    }
    m_stage = first ? Stage::Step2 : Stage::Results;
    if (!fault.isEmpty() && !outcome.messages.contains(fault)) {
        return QStringLiteral("the calculation faulted (%1) but the user was not told").arg(fault);
    }
    if (const QString difference = firstDifference(m_window.record(), predicted, true);
        !difference.isEmpty()) {
        return QStringLiteral("after the click, %1").arg(difference);
    }
    // The winding passes replace the coil length.
    m_coilLengthIn = predicted.coilLengthIn;
    return {};
}

QString Expectations::checkEntryFields(const EventOutcome& outcome) {
    struct Input {
        const char* box;
        double* expected;
        double actual;
    };
    const DesignRecord& record = m_window.record();
    const std::array<Input, 5> inputs{{
        {"txtF", &m_freqMHz, record.freqMHz},
        {"txtA", &m_totalLengthFt, record.totalLengthFt},
        {"txtB", &m_centreToCoilFt, record.centreToCoilFt},
        {"txtD1", &m_coilFormerDiaIn, record.coilFormerDiaIn},
        {"txtB1", &m_coilLengthIn, record.coilLengthIn},
    }};
    for (const Input& input : inputs) {
        if (changed(input.box)) {
            try {
                *input.expected = lenientParse(utf8(textNow(input.box)));
            } catch (const Fault& error) {
                // The change handler met the same fault at its first step.
                if (!outcome.messages.contains(QString::fromUtf8(error.what()))) {
                    return QStringLiteral("%1 holds a number beyond range, no fault was reported")
                        .arg(QString::fromLatin1(input.box));
                }
            }
        }
        if (input.actual != *input.expected) {
            return QStringLiteral("the field of %1 is %2, its text \"%3\" reads %4")
                .arg(QString::fromLatin1(input.box), number(input.actual),
                     textNow(input.box).left(40), number(*input.expected));
        }
    }
    if (outcome.command1Clicks + outcome.command2Clicks == 0) {
        if (const QString difference = firstDifference(record, m_recordBefore, false);
            !difference.isEmpty()) {
            return QStringLiteral("without a click, %1").arg(difference);
        }
    }
    return {};
}

QString Expectations::checkButtons(const EventOutcome& outcome) {
    const bool fault = anyFault(outcome.messages);
    const auto unstorableChange = [this](std::initializer_list<const char*> boxes) {
        for (const char* box : boxes) {
            if (changed(box) && !storable(textNow(box))) {
                return true;
            }
        }
        return false;
    };
    // Validate runs at the end of the step-1 change handlers; a handler that
    // stopped at a fault, or txtA's at a blank frequency, leaves the button,
    // except that a number beyond range turns it off before the fault.
    if (unstorableChange({"txtF", "txtA", "txtB"})) {
        m_command1 = false;
    } else if ((changed("txtF") || changed("txtA") || changed("txtB")) && !fault &&
               !outcome.messages.contains(kFrequencyMissing)) {
        m_command1 = holdsValue(textNow("txtF")) && holdsValue(textNow("txtA")) &&
                     holdsValue(textNow("txtB"));
    }
    if (unstorableChange({"txtD1", "txtB1"})) {
        m_command2 = false;
    } else if ((changed("txtD1") || changed("txtB1") || changed("L")) && !fault) {
        // All three terms are evaluated; the strict parse of L would fault on
        // text that is no number, and then the handler would have reported it.
        try {
            const bool lNonZero = strictParse(utf8(textNow("L"))) != 0;
            m_command2 = holdsValue(textNow("txtD1")) && holdsValue(textNow("txtB1")) && lNonZero;
        } catch (const Fault& error) {
            return QStringLiteral("Validate1 meets \"%1\" in L (%2) but no fault was reported")
                .arg(textNow("L").left(40), QString::fromUtf8(error.what()));
        }
    }
    const bool enabled1 = m_after.value(QStringLiteral("Command1")).enabled;
    const bool enabled2 = m_after.value(QStringLiteral("Command2")).enabled;
    if (enabled1 != m_command1) {
        return QStringLiteral("Command1 is %1, Validate would leave it %2")
            .arg(enabled1 ? "enabled" : "disabled", m_command1 ? "enabled" : "disabled");
    }
    if (enabled2 != m_command2) {
        return QStringLiteral("Command2 is %1, Validate1 would leave it %2")
            .arg(enabled2 ? "enabled" : "disabled", m_command2 ? "enabled" : "disabled");
    }
    return {};
}

QString Expectations::checkPanels() const {
    const auto shown = [this](const char* panel) {
        return m_after.value(QString::fromLatin1(panel)).visible;
    };
    const bool step1 = m_stage == Stage::Step1;
    const bool step2 = m_stage == Stage::Step2;
    const bool results = m_stage == Stage::Results;
    if (!shown("Frame1") || !shown("Frame2") || shown("Frame3") != step1 ||
        shown("Frame4") != step2 || shown("Frame5") != results || shown("Frame6") != results) {
        return QStringLiteral("panels shown: 1:%1 2:%2 3:%3 4:%4 5:%5 6:%6 in step %7")
            .arg(shown("Frame1"))
            .arg(shown("Frame2"))
            .arg(shown("Frame3"))
            .arg(shown("Frame4"))
            .arg(shown("Frame5"))
            .arg(shown("Frame6"))
            .arg(static_cast<int>(m_stage) + 1);
    }
    return {};
}

QString Expectations::checkMessages(const EventOutcome& outcome) const {
    for (const QString& message : outcome.messages) {
        if (!isKnownMessage(message)) {
            return QStringLiteral("unexpected message \"%1\"").arg(message.left(80));
        }
    }
    const QString page =
        QString::fromLatin1(kAuthorPage.data(), static_cast<qsizetype>(kAuthorPage.size()));
    if (outcome.linkClicked) {
        if (outcome.urls.size() != 1 || outcome.urls.front() != QUrl(page)) {
            return QStringLiteral("the author link asked to open %1 pages, not %2 once")
                .arg(outcome.urls.size())
                .arg(page);
        }
        if (!outcome.messages.isEmpty()) {
            return QStringLiteral("the author link showed a message");
        }
    } else if (!outcome.urls.isEmpty()) {
        return QStringLiteral("a page was opened without a click on the author link");
    }
    return {};
}

QString Expectations::checkKeyAndPaste(const EventOutcome& outcome) const {
    if (outcome.target == nullptr) {
        return {};
    }
    const QString name = outcome.target->objectName();
    const QString before = m_before.value(name).text;
    const QString after = m_after.value(name).text;
    if (outcome.pasted && after != *outcome.pasted) {
        return QStringLiteral("%1 holds %2 characters after a paste of %3")
            .arg(name)
            .arg(after.size())
            .arg(outcome.pasted->size());
    }
    if (outcome.typed == nullptr || !outcome.typed->typesCharacter) {
        return {};
    }
    if (isNumericBox(name) && !outcome.typed->passesNumeric) {
        if (after != before || outcome.messages != QStringList{kTypeOnlyNumbers}) {
            return QStringLiteral("refused key %1 in %2: text \"%3\" -> \"%4\", messages [%5]")
                .arg(outcome.typed->label, name, before.left(40), after.left(40),
                     outcome.messages.join(QStringLiteral("; ")));
        }
    }
    if (isDiscardBox(name) && (after != before || !outcome.messages.isEmpty())) {
        return QStringLiteral("key %1 in %2, which discards every character: \"%3\" -> \"%4\"")
            .arg(outcome.typed->label, name, before.left(40), after.left(40));
    }
    return {};
}

QString Expectations::checkNothingElseMoved(const EventOutcome& outcome) const {
    if (outcome.command1Clicks + outcome.command2Clicks > 0) {
        return {};
    }
    const QString target = outcome.target != nullptr ? outcome.target->objectName() : QString();
    for (auto it = m_before.cbegin(); it != m_before.cend(); ++it) {
        const ControlState& before = it.value();
        const ControlState after = m_after.value(it.key());
        const bool isButton =
            it.key() == QLatin1String("Command1") || it.key() == QLatin1String("Command2");
        if (before.visible != after.visible || (!isButton && before.enabled != after.enabled) ||
            (it.key() != target && before.text != after.text)) {
            return QStringLiteral("%1 changed: \"%2\" -> \"%3\"")
                .arg(it.key(), before.text.left(40), after.text.left(40));
        }
    }
    return {};
}

} // namespace tarvix::test
