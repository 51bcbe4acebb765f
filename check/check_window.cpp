// The check window's wiring: its controls to their handlers, the notes and
// units beside the boxes kept up to date as they are typed in. What the boxes
// mean is read by check_inputs; the layout, the settings, the units, the run
// and the saving each have a file of their own (check_layout.cpp and so on).
#include "check/check_window.h"

#include "check/check_text.h"
#include "check/note_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QFileDialog>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <map>
#include <utility>

namespace tarvix {

namespace {

constexpr int kProgressIntervalMs = 100;

// A plain top-level QWidget reaches a screen reader as a filler; the window
// is presented as a window (a frame to AT-SPI), as the calculator's is. Qt
// asks for each class of an object, the most derived first.
QAccessibleInterface* checkWindowInterface(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType() ||
        className != QLatin1StringView(CheckWindow::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

// A unit as a screen reader should say it: "in" read as a word means
// nothing.
QString spokenUnit(const QString& unit) {
    static const std::pair<const char*, const char*> kWords[] = {
        {"ft", QT_TRANSLATE_NOOP("tarvix::CheckWindow", "feet")},
        {"in", QT_TRANSLATE_NOOP("tarvix::CheckWindow", "inches")},
        {"m", QT_TRANSLATE_NOOP("tarvix::CheckWindow", "metres")},
        {"mm", QT_TRANSLATE_NOOP("tarvix::CheckWindow", "millimetres")},
        {"ohm", QT_TRANSLATE_NOOP("tarvix::CheckWindow", "ohms")}};
    for (const auto& [shown, spoken] : kWords) {
        if (unit == QLatin1StringView(shown)) {
            return CheckWindow::tr(spoken);
        }
    }
    return unit;
}

} // namespace

CheckWindow::CheckWindow(QSettings& settings, std::string engine, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_engine(std::move(engine)), m_run(m_engine) {
    // Qt keeps a factory once however often it is installed.
    QAccessible::installFactory(checkWindowInterface);
    setWindowTitle(tr("Tarvix Antenna Check"));
    m_askSavePath = [this](const QString& title, const QString& name, const QString& filters) {
        return QFileDialog::getSaveFileName(this, title, name, filters);
    };
    m_askOpenPath = [this](const QString& title, const QString& name, const QString& filters) {
        return QFileDialog::getOpenFileName(this, title, name, filters);
    };
    m_showMessage = [this](const QString& title, const QString& text) {
        QMessageBox::warning(this, title, text);
    };
    m_askPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(tr("Print the build sheet"));
        return dialog.exec() == QDialog::Accepted;
    };

    layOut();
    wireControls();
    // The first box takes the keys, not the design file's buttons above it.
    m_fields.at(CheckField::Freq).edit->setFocus();

    // Each restored box would check them all again: once, after, is enough.
    m_restoring = true;
    restoreSettings();
    m_restoring = false;
    shareTheWidth();
    m_unitsIndex = m_units->currentIndex();
    m_antennaWireByIndex = m_antennaWireBy->currentIndex();
    m_coilWireByIndex = m_coilWireBy->currentIndex();
    // Only from here on: the restored lengths are in their own units, and
    // the wires given as they were.
    connect(m_units, &QComboBox::currentIndexChanged, this, &CheckWindow::convertUnits);
    connect(m_antennaWireBy, &QComboBox::currentIndexChanged, this, [this](int index) {
        convertWire(m_antennaWireBy, CheckField::AntennaWire, true, m_antennaWireByIndex, index);
    });
    connect(m_coilWireBy, &QComboBox::currentIndexChanged, this, [this](int index) {
        convertWire(m_coilWireBy, CheckField::CoilWire, false, m_coilWireByIndex, index);
    });
    refresh();
}

void CheckWindow::wireControls() {
    connect(m_simulate, &QPushButton::clicked, this, &CheckWindow::simulate);
    connect(m_cancel, &QPushButton::clicked, this, &CheckWindow::cancel);
    connect(m_saveDeck, &QPushButton::clicked, this, &CheckWindow::saveDeck);
    connect(m_savePlot, &QPushButton::clicked, this, &CheckWindow::savePlot);
    connect(m_saveReport, &QPushButton::clicked, this, &CheckWindow::saveReport);
    connect(m_saveSheet, &QPushButton::clicked, this, &CheckWindow::saveSheet);
    connect(m_printSheet, &QPushButton::clicked, this, &CheckWindow::printSheet);
    connect(m_copyReport, &QPushButton::clicked, this, &CheckWindow::copyReport);
    connect(m_openDesign, &QPushButton::clicked, this, &CheckWindow::openDesign);
    connect(m_saveDesign, &QPushButton::clicked, this, &CheckWindow::saveDesign);
    for (QAbstractButton* toggle :
         std::initializer_list<QAbstractButton*>{m_overGround, m_insulated, m_atPitch, m_qGiven}) {
        connect(toggle, &QAbstractButton::toggled, this, &CheckWindow::refresh);
    }
    for (QComboBox* combo :
         {m_antennaWireBy, m_coilWireBy, m_former, m_units, m_ground, m_feedLine, m_mode}) {
        connect(combo, &QComboBox::currentIndexChanged, this, &CheckWindow::refresh);
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { bringIntoSight(now); });
    connect(&m_run, &SimulationRun::finished, this, &CheckWindow::runFinished);
    connect(&m_progressTimer, &QTimer::timeout, this, &CheckWindow::showProgress);
    m_progressTimer.setInterval(kProgressIntervalMs);
}

// The focus moves as the window's children are deleted, after this window
// has stopped being a CheckWindow: nothing of it may answer then.
CheckWindow::~CheckWindow() {
    disconnect(qApp, nullptr, this, nullptr);
}

CheckTexts CheckWindow::texts() const {
    CheckTexts texts;
    auto field = [this](CheckField f) { return text(m_fields.at(f).edit); };
    texts.freq = field(CheckField::Freq);
    texts.totalLength = field(CheckField::TotalLength);
    texts.centreToCoil = field(CheckField::CentreToCoil);
    texts.antennaWire = {static_cast<WireBy>(m_antennaWireBy->currentIndex()),
                         field(CheckField::AntennaWire)};
    texts.overGround = m_overGround->isChecked();
    texts.height = field(CheckField::Height);
    texts.endHeight = field(CheckField::EndHeight);
    texts.groundClass = m_ground->currentIndex();
    texts.insulated = m_insulated->isChecked();
    texts.insulation = field(CheckField::Insulation);
    texts.permittivity = field(CheckField::Permittivity);
    texts.formerDia = field(CheckField::FormerDia);
    texts.coilWire = {static_cast<WireBy>(m_coilWireBy->currentIndex()),
                      field(CheckField::CoilWire)};
    texts.closeWound = m_closeWound->isChecked();
    texts.pitch = field(CheckField::Pitch);
    texts.coilLength = field(CheckField::CoilLength);
    texts.givenTurns = field(CheckField::GivenTurns);
    texts.former = static_cast<CoilFormer>(m_former->currentIndex());
    texts.qGiven = m_qGiven->isChecked();
    texts.q = field(CheckField::Q);
    texts.z0 = field(CheckField::Z0);
    texts.feedLineType = m_feedLine->currentIndex();
    texts.feedLineLength = field(CheckField::FeedLineLength);
    texts.power = field(CheckField::Power);
    texts.mode = m_mode->currentIndex();
    texts.measured = field(CheckField::Measured);
    texts.measuredSwr = field(CheckField::MeasuredSwr);
    texts.measuredR = field(CheckField::MeasuredR);
    texts.units = m_units->currentIndex() == 1 ? Units::Metric : Units::FeetAndInches;
    const QString separator = QLocale().decimalPoint();
    texts.decimalSeparator = separator.size() == 1 ? separator.at(0).toLatin1() : '.';
    return texts;
}

QString CheckWindow::reportText() const {
    return m_shown ? qt(m_shown->text) : QString();
}

void CheckWindow::refresh() {
    if (m_restoring) {
        return;
    }
    updateUnits();
    m_fields.at(CheckField::Height).edit->setEnabled(m_overGround->isChecked());
    m_fields.at(CheckField::EndHeight).edit->setEnabled(m_overGround->isChecked());
    m_ground->setEnabled(m_overGround->isChecked());
    m_fields.at(CheckField::FeedLineLength).edit->setEnabled(m_feedLine->currentIndex() > 0);
    m_fields.at(CheckField::Insulation).edit->setEnabled(m_insulated->isChecked());
    m_fields.at(CheckField::Permittivity).edit->setEnabled(m_insulated->isChecked());
    m_fields.at(CheckField::Pitch).edit->setEnabled(m_atPitch->isChecked());
    m_fields.at(CheckField::Q).edit->setEnabled(m_qGiven->isChecked());

    const CheckTexts now = texts();
    const CheckRequest request = readCheckInputs(now);
    std::map<CheckField, std::pair<QStringList, bool>> notes;
    for (const FieldNote& note : request.notes) {
        auto& [lines, stops] = notes[note.field];
        lines.append(qt(note.text));
        stops = stops || note.stopsRun;
    }
    for (auto& [field, row] : m_fields) {
        const auto found = notes.find(field);
        if (found == notes.end()) {
            // What to type in the insulation's box, while nothing is noted
            // there.
            const bool hint = field == CheckField::Insulation && m_insulated->isChecked();
            row.note->setNote(hint ? qt(kInsulationHintText) : QString());
            row.note->setPalette(palette());
            continue;
        }
        row.note->setNote(found->second.first.join(QStringLiteral("; ")));
        // Warnings in the calculator's amber; what stops a run in red.
        // A palette, not a style sheet: the first style sheet costs the
        // window a tenth of its start.
        QPalette colours = row.note->palette();
        colours.setColor(QPalette::WindowText, found->second.second ? QColor(0xb0, 0x00, 0x20)
                                                                    : QColor(0x8a, 0x5a, 0x00));
        row.note->setPalette(colours);
    }
    describeFields();
    markStale(now);
    if (!m_run.running()) {
        m_simulate->setEnabled(!request.stop);
        if (request.stop) {
            setStatus(tr("Cannot simulate: %1: %2")
                          .arg(m_fields.at(request.stop->field).label, qt(request.stop->text)));
        } else if (m_status->property("stopShown").toBool() ||
                   (m_failedTexts && !(*m_failedTexts == now))) {
            // The reason no longer holds once the inputs have changed.
            setStatus(QString());
        }
        if (m_failedTexts && !(*m_failedTexts == now)) {
            m_failedTexts.reset();
        }
        m_status->setProperty("stopShown", request.stop.has_value());
    }
}

void CheckWindow::markStale(const CheckTexts& now) {
    const bool stale = m_shown && !(m_shown->texts == now);
    if (stale == m_shownStale) {
        return;
    }
    m_shownStale = stale;
    QPalette colours = palette();
    if (stale) {
        colours.setColor(QPalette::Text, colours.color(QPalette::Disabled, QPalette::Text));
    }
    m_results->setPalette(colours);
    m_plotFade->setEnabled(stale);
    if (m_shown) {
        const QString report = qt(m_shown->text);
        m_results->setPlainText(stale ? tr("Inputs changed since this result: Simulate again.") +
                                            QStringLiteral("\n\n") + report
                                      : report);
    }
}

// What a screen reader says on reaching a box, after its name: the unit
// beside it and the note, as a sighted user reads them on its row.
void CheckWindow::describeFields() {
    for (auto& [field, row] : m_fields) {
        QStringList parts;
        if (!row.unit->text().isEmpty()) {
            parts.append(tr("In %1").arg(spokenUnit(row.unit->text())));
        }
        if (!row.note->text().isEmpty()) {
            parts.append(row.note->text());
        }
        const QString description = parts.join(QStringLiteral(". "));
        if (row.edit->accessibleDescription() != description) {
            row.edit->setAccessibleDescription(description);
        }
    }
}

// The status line is named by what it says, so that a screen reader hears
// each new status as the line's name changes.
void CheckWindow::setStatus(const QString& text) {
    m_status->setText(text);
    m_status->setToolTip(text);
    m_status->setAccessibleName(text.isEmpty() ? tr("Status") : tr("Status: %1").arg(text));
}

// A run's end said aloud: the status is raised as an alert, which a screen
// reader speaks wherever the focus is.
void CheckWindow::announceStatus() {
    QAccessibleEvent alert(m_status, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CheckWindow::closeEvent(QCloseEvent* event) {
    m_run.cancel();
    storeSettings();
    QWidget::closeEvent(event);
}

} // namespace tarvix
